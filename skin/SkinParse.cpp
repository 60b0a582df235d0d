// TSkinData::ParseSkin: the skin's ini sections and keys into elements and colours.
#include "skin/ImageUtils.h"
#include "skin/QuickIni.h"
#include "skin/SkinColours.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <algorithm>
#include <map>

namespace {

using TMemberGetter = std::function<std::string_view(const std::string&)>;

class TSkinParser {
public:
    TSkinParser(const TQuickIni& ini, const TMemberGetter& member, TSkinElements& e,
                TSkinColours& colours)
        : FIni(ini), FMember(member), E(e), C(colours) {}
    // False when the pictures would hold more than MaxSkinPixels.
    bool Run(std::vector<TColor>& indexed, std::array<TColor, 10>& custom);

private:
    int Int(const std::string& section, const std::string& key, int def) const {
        return FIni.ReadInteger(section, key, def);
    }
    std::string Str(const std::string& section, const std::string& key) const {
        return FIni.ReadString(section, key, "");
    }
    TColor Colour(const std::string& section, const std::string& key, TColor def) const {
        return SkinColorFromText(Str(section, key), def);
    }
    void LoadPicture(TBitmap& bitmap, const std::string& value);
    // Margins, "Trans" and "Tile"; a "Tile" above 1 tiles when tileAboveOne.
    void ReadMargins(TDataSkinObject& o, const std::string& section, bool tileAboveOne) const;
    void ReadColours(TDataSkinObject& o, const std::string& section) const;
    template <class T> std::unique_ptr<T> Element(const std::string& section);
    template <class T = TDataSkinBorder>
    std::unique_ptr<T> TwoImages(const std::string& section, const std::string& key2);
    void ReadBorders();
    void ReadColours();
    void ReadSysButtons();
    void ReadMDIButtons();
    void ReadButtons();
    void ReadTitle();
    void ReadProgressAndMenuBar();
    void ReadElements();
    void SetFrameCounts();
    void MakeComboPictures();
    void MakeToolbarBackground();

    const TQuickIni& FIni;
    const TMemberGetter& FMember;
    std::map<std::string, TBitmap> FDecoded; // each member decoded once, by lower-case name
    int64_t FPixelsLeft = TSkinData::MaxSkinPixels;
    std::vector<std::string> FSections;
    TSkinElements& E;
    TSkinColours& C;
};

void SetFrames(std::initializer_list<TDataSkinObject*> elements, int frames) {
    for (TDataSkinObject* o : elements)
        if (o) o->FrameCount = frames;
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// A "Tile" (or a border's stretch) value: 1 is on, 0 and below off.
bool TileValue(int value, bool aboveOne) {
    return value > 1 ? aboveOne : value == 1;
}

} // namespace

// Every picture an element holds counts against the skin's pixels, however many
// elements name the same member.
void TSkinParser::LoadPicture(TBitmap& bitmap, const std::string& value) {
    bitmap.SetSize(0, 0);
    if (FPixelsLeft < 0) return; // refused already
    const std::string name = value.substr(value.find_last_of("\\/:") + 1);
    if (name.size() <= 4 || name.compare(name.size() - 4, 4, ".bmp") != 0) return;
    auto [decoded, isNew] = FDecoded.try_emplace(AsciiLowerCase(name));
    if (isNew) LoadBitmapFromBytes(decoded->second, FMember(name));
    const int64_t pixels = int64_t(decoded->second.Width()) * decoded->second.Height();
    FPixelsLeft -= pixels;
    if (FPixelsLeft >= 0 && pixels > 0) bitmap.Assign(decoded->second);
}

void TSkinParser::ReadMargins(TDataSkinObject& o, const std::string& section,
                              bool tileAboveOne) const {
    o.LeftWidth = Int(section, "LeftWidth", 0);
    o.RightWidth = Int(section, "RightWidth", 0);
    o.TopHeight = Int(section, "TopHeight", 0);
    o.BottomHeight = Int(section, "BottomHeight", 0);
    o.Trans = Int(section, "Trans", 0) == 1;
    o.Tile = TileValue(Int(section, "Tile", 0), tileAboveOne);
}

void TSkinParser::ReadColours(TDataSkinObject& o, const std::string& section) const {
    o.NormalColour = Int(section, "NormalColour", -1);
    o.MouseOverColour = Int(section, "MouseOverColour", -1);
    o.PressedColour = Int(section, "PressedColour", -1);
    o.NormalColour2 = Colour(section, "NormalColour2", C.ButtonText);
    o.MouseOverColour2 = Colour(section, "MouseOverColour2", C.ButtonText);
    o.PressedColour2 = Colour(section, "PressedColour2", C.ButtonText);
}

// The element loader: absent when its "Image" key is empty.
template <class T> std::unique_ptr<T> TSkinParser::Element(const std::string& section) {
    std::string image = Str(section, "Image");
    if (image.empty()) return nullptr;
    auto o = std::make_unique<T>(section);
    ReadMargins(*o, section, false);
    ReadColours(*o, section);
    LoadPicture(o->Bitmap, image);
    return o;
}

template <class T>
std::unique_ptr<T> TSkinParser::TwoImages(const std::string& section, const std::string& key2) {
    auto o = Element<T>(section);
    if (o) LoadPicture(o->Bitmap2, Str(section, key2));
    return o;
}

void TSkinParser::ReadBorders() {
    static const char* const names[4] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        const std::string name = names[i], p = "Personality";
        auto& b = E.Borders[i];
        b = std::make_unique<TDataSkinBorder>(name);
        LoadPicture(b->Bitmap, Str(p, name));
        int first = Int(p, name + "TopHeight", 0), second = Int(p, name + "BotHeight", 0);
        if (i < 2)
            b->TopHeight = first, b->BottomHeight = second;
        else
            b->LeftWidth = first, b->RightWidth = second;
        b->FrameCount = std::max(1, Int(p, name + "Frame", 1));
        b->Tile = TileValue(Int(p, name + "Stretch", 1), true);
        b->Trans = Int(p, name + "Trans", 1) == 1;
    }
}

void TSkinParser::ReadColours() {
    const std::string s = "Colours";
    C.WindowText = Colour(s, "WindowText", SystemColor(COLOR_WINDOWTEXT));
    C.ButtonFace = Colour(s, "ButtonFace", SystemColor(COLOR_BTNFACE));
    C.Scrollbar = Colour(s, "Scrollbar", SystemColor(COLOR_SCROLLBAR));
    C.HilightText = Colour(s, "HilightText", SystemColor(COLOR_HIGHLIGHTTEXT));
    C.Hilight = Colour(s, "Hilight", SystemColor(COLOR_HIGHLIGHT));
    C.Menubar = Colour(s, "Menubar", C.ButtonFace);
    C.Menu = Colour(s, "Menu", SystemColor(COLOR_MENU));
    C.MenuText = Colour(s, "MenuText", SystemColor(COLOR_MENUTEXT));
    C.ButtonText = Colour(s, "ButtonText", SystemColor(COLOR_BTNTEXT));
    C.ButtonHilight = Colour(s, "ButtonHilight", SystemColor(COLOR_BTNHIGHLIGHT));
    C.Buttonlight = Colour(s, "Buttonlight", SystemColor(COLOR_BTNHIGHLIGHT));
    C.ButtonShadow = Colour(s, "ButtonShadow", SystemColor(COLOR_BTNSHADOW));
    C.ButtonDkShadow = Colour(s, "ButtonDkShadow", SystemColor(COLOR_3DDKSHADOW));
    C.MenuBarText = Colour(s, "MenuBarText", SystemColor(COLOR_MENUTEXT));
    C.TitleTextActive = Colour(s, "TitleTextActive", SystemColor(COLOR_CAPTIONTEXT));
    C.TitleTextNoActive = Colour(s, "TitleTextNoActive", SystemColor(COLOR_INACTIVECAPTIONTEXT));
}

void TSkinParser::ReadSysButtons() {
    E.SysButtons.clear();
    static const char* const notCaption[] = {"BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX",
                                             "BUTTON"};
    for (const std::string& section : FSections) {
        const std::string upper = UpperAscii(section);
        if (upper.rfind("BUTTON", 0) != 0 ||
            std::find(std::begin(notCaption), std::end(notCaption), upper) != std::end(notCaption))
            continue;
        const int action = Int(section, "Action", 0);
        if (action == -1 && Int(section, "Visibility", -1) != 0) continue;
        auto b = std::make_unique<TDataSkinSysButton>(section);
        b->Action = action;
        b->Align = Int(section, "Align", 0);
        b->Xcoord = Int(section, "Xcoord", 0);
        b->Ycoord = Int(section, "Ycoord", 0);
        b->Visibility = Int(section, "Visibility", 0);
        b->Visibility1 = Int(section, "Visibility1", action == -1 ? -1 : 0);
        b->CombineOp = Int(section, "CombineOp", -1);
        LoadPicture(b->Bitmap, Str(section, "ButtonImage"));
        const int frame = Int(section, "frame", 0);
        b->FrameCount = std::max(1, frame);
        if (frame == 0) {
            const TBitmap& p = b->Bitmap;
            b->FrameCount = 6;
            if (!p.Empty()) b->FrameCount = p.Width() <= 3.8 * p.Height() ? 3 : 6;
            if (action < 0) b->FrameCount = 6;
            if (action == 3 || action == 11) b->Bitmap.SetSize(0, 0);
        }
        E.SysButtons.push_back(std::move(b));
    }
}

void TSkinParser::ReadMDIButtons() {
    TBitmap controls;
    LoadPicture(controls, Str("MDICONTROLS", "Image"));
    const int w = controls.Width() / 12, h = controls.Height();
    for (int k = 0; k < 3; ++k) {
        auto b = std::make_unique<TDataSkinSysButton>("MDIControls");
        b->Action = 7 + k;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->FrameCount = 4;
        b->Xcoord = (3 - k) * (w + 4);
        if (w > 0) {
            b->Bitmap.SetSize(4 * w, h);
            BitBlt(b->Bitmap.Canvas().Handle(), 0, 0, 4 * w, h, controls.Canvas().Handle(),
                   4 * k * w, 0, SRCCOPY);
        }
        E.SysButtons.push_back(std::move(b));
    }
}

void TSkinParser::ReadButtons() {
    const std::string s = "Buttons";
    auto b = std::make_unique<TDataSkinButton>(s);
    LoadPicture(b->Bitmap, Str(s, "Bitmap"));
    LoadPicture(b->CheckBitmap, Str(s, "CheckButton"));
    LoadPicture(b->RadioBitmap, Str(s, "RadioButton"));
    ReadMargins(*b, s, false);
    ReadColours(*b, s);
    b->RadioFrames = Int(s, "RadioButtonFrame", 0);
    b->CheckFrames = Int(s, "CheckButtonFrame", 0);
    b->NormalColour2Given = !Str(s, "NormalColour2").empty();
    b->MouseOverColour2Given = !Str(s, "MouseOverColour2").empty();
    b->PressedColour2Given = !Str(s, "PressedColour2").empty();
    E.Buttons = std::move(b);
}

void TSkinParser::ReadTitle() {
    const std::string p = "Personality";
    auto t = std::make_unique<TDataSkinTitle>("Title");
    LoadPicture(t->Bitmap, Str(p, "TextBack"));
    t->LeftWidth = Int(p, "TextShift", 0);
    t->TopHeight = Int(p, "TextShiftVert", 0);
    t->RightWidth = Int(p, "TextRightClip", 0);
    t->TextAlignment = Int(p, "TextAlignment", 0);
    t->TextBackground = Int(p, "Textbackground", 0);
    t->TXTBackleft = Int(p, "TXTBackleft", 0);
    t->TXTBackRight = Int(p, "TXTBackRight", 0);
    t->FontHeight = Int("Fonts", "FontHeight", 14);
    auto rgb = [&](const std::string& key) {
        int r = Int(p, key + "R", -1), g = Int(p, key + "G", -1), b = Int(p, key + "B", -1);
        return r >= 0 && g >= 0 && b >= 0 ? TColor(RGB(r, g, b)) : clNone;
    };
    t->ActiveTextColor = rgb("ActiveText");
    t->InactiveTextColor = rgb("InActiveText");
    E.Title = std::move(t);
}

void TSkinParser::ReadProgressAndMenuBar() {
    const std::string s = "Progress";
    E.Progress.reset();
    if (std::string image = Str(s, "Bitmap"); !image.empty()) {
        auto o = std::make_unique<TDataSkinProgress>(s);
        ReadMargins(*o, s, true);
        if (Int(s, "Style", 0) == 1) o->Style = TProgressStyle::Chunks;
        LoadPicture(o->Bitmap, image);
        LoadPicture(o->Bitmap2, Str(s, "Chunk"));
        E.Progress = std::move(o);
    }
    const std::string p = "Personality";
    E.MenuBar.reset();
    if (std::string image = Str(p, "menuBar"); !image.empty()) {
        auto o = std::make_unique<TDataSkinObject>(p);
        o->Tile = TileValue(Int(p, "TileMenu", 1), true);
        o->LeftWidth = Int(p, "TileLeftMenu", 1);
        o->RightWidth = Int(p, "TileRightMenu", 1);
        LoadPicture(o->Bitmap, image);
        E.MenuBar = std::move(o);
    }
}

void TSkinParser::ReadElements() {
    E.GroupBoxEdge = Element<TDataSkinObject>("GroupBoxEdge");
    E.GroupBox = Element<TDataSkinBoxLabel>("GroupBox");
    if (E.GroupBox) {
        E.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
        E.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
        E.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
    }
    E.Tabs = TwoImages("Tabs", "Border");
    E.StatusBarEdges = Element<TDataSkinObject>("StatusBarEdges");
    E.ToolBars = Element<TDataSkinObject>("ToolBars");
    E.ComboButton = TwoImages<TDataSkinComboButton>("ComboButton", "****");
    if (E.ComboButton) {
        const int style = Int("ComboButton", "Style", 0);
        if (style == 1) E.ComboButton->Style = TComboButtonStyle::Flat;
        if (style == 2) E.ComboButton->Style = TComboButtonStyle::Whole;
    }
    if (E.ComboButton && !E.ComboButton->Bitmap.Empty()) {
        E.ComboButton->Bitmap2.Assign(E.ComboButton->Bitmap);
        MirrorBitmap(E.ComboButton->Bitmap2);
    }
    E.SunkEdge = Element<TDataSkinObject>("SunkEdge");
    E.ExtraImages = Element<TDataSkinObject>("ExtraImages");
    E.Headerbar = Element<TDataSkinObject>("Headerbar");
    E.MenuItem = Element<TDataSkinObject>("MenuItem");
    E.MenuBackground = Element<TDataSkinObject>("MenuBackground");
    E.Scrollbar = Element<TDataSkinObject>("Scrollbar");
    E.HorzScroll = Element<TDataSkinObject>("HorzScroll");
    E.VertScroll = Element<TDataSkinObject>("VertScroll");
    E.HorzScrollThumb = Element<TDataSkinObject>("HorzScrollThumb");
    E.VertScrollThumb = Element<TDataSkinObject>("VertScrollThumb");
    static const char* const thumbs[6] = {"Trackbar.ThumbHorz", "Trackbar.ThumbVert",
                                          "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                                          "Trackbar.ThumbUp",   "Trackbar.ThumbDown"};
    for (int i = 0; i < 6; ++i)
        E.TrackbarThumbs[i] = Element<TDataSkinObject>(thumbs[i]);
    E.UpDownHorz = TwoImages("UpDown.Horz", "GlyphImage");
    E.UpDownVert = TwoImages("UpDown.Vert", "GlyphImage");
}

void TSkinParser::SetFrameCounts() {
    E.Buttons->FrameCount = 5;
    auto glyphFrames = [](const TBitmap& b, int given) {
        if (given > 0) return given;
        return std::max(4, b.Width() / (b.Height() < 16 ? 13 : 16));
    };
    E.Buttons->CheckFrames = glyphFrames(E.Buttons->CheckBitmap, E.Buttons->CheckFrames);
    E.Buttons->RadioFrames = glyphFrames(E.Buttons->RadioBitmap, E.Buttons->RadioFrames);
    SetFrames({E.Title.get(), E.Progress.get(), E.MenuBar.get(), E.GroupBoxEdge.get()}, 2);
    SetFrames(
        {E.ToolBars.get(), E.Tabs.get(), E.ExtraImages.get(), E.Headerbar.get(), E.MenuItem.get()},
        5);
    for (auto& o : E.TrackbarThumbs)
        SetFrames({o.get()}, 5);
    SetFrames({E.StatusBarEdges.get()}, 3);
    SetFrames({E.ComboButton.get(), E.SunkEdge.get(), E.HorzScroll.get(), E.VertScroll.get()}, 4);
    SetFrames({E.Scrollbar.get()}, 23);
    SetFrames({E.UpDownHorz.get(), E.UpDownVert.get()}, 8);
    SetFrames({E.GroupBox.get(), E.MenuBackground.get()}, 1);
    SetFrames({E.HorzScrollThumb.get()}, std::max(1, Int("HorzScrollThumb", "FrameCount", 3)));
    SetFrames({E.VertScrollThumb.get()}, std::max(1, Int("VertScrollThumb", "FrameCount", 3)));
}

// The combo box's pictures: the sunken edge with the button and arrow on it, one
// frame per state, for both the left-to-right and the mirrored layout.
void TSkinParser::MakeComboPictures() {
    if (!E.SunkEdge || !E.ComboButton) return;
    TDataSkinObject& sunk = *E.SunkEdge;
    TDataSkinComboButton& button = *E.ComboButton;
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2, frames = sunk.FrameCount;
    TBitmap work, strip;
    work.SetSize(50, 21);
    strip.SetSize(50 * frames, 21);
    HDC w = work.Canvas().Handle();
    TBrushHandle key(CreateSolidBrush(SkinKeyColor));
    const RECT whole{0, 0, 50, 21}, buttonArea{50 - b, 0, 50, 21}, text{2, 2, 49 - b, 18};
    RECT all{0, 0, strip.Width(), 21};
    FillRect(strip.Canvas().Handle(), &all, key.Get());
    for (int k = 1; k <= frames; ++k) {
        FillRect(w, &whole, key.Get());
        DrawSkinRect(w, whole, sunk.Bitmap, false, sunk.Tile, sunk.Trans, frames, k,
                     sunk.Margins());
        DrawSkinRect(w, buttonArea, button.Bitmap, false, button.Tile, true, button.FrameCount, k,
                     button.Margins());
        if (E.ExtraImages)
            DrawSkinFrameTransparent(w, buttonArea, E.ExtraImages->Bitmap,
                                     E.ExtraImages->FrameCount, k);
        FillRect(w, &text, key.Get());
        BitBlt(strip.Canvas().Handle(), 50 * (k - 1), 0, 50, 21, w, 0, 0, SRCCOPY);
    }
    button.Style = TComboButtonStyle::Whole;
    button.TopHeight = sunk.TopHeight;
    button.BottomHeight = sunk.BottomHeight;
    button.LeftWidth = 2;
    button.RightWidth = b + 2;
    button.Bitmap.Assign(strip);
    MirrorBitmap(strip);
    sunk.Bitmap.Assign(strip);
    sunk.LeftWidth = b + 2;
    sunk.RightWidth = 2;
}

void TSkinParser::MakeToolbarBackground() {
    TColor shade = C.ButtonFace;
    if (TBitmap& top = E.Borders[TSkinElements::bdTop]->Bitmap; !top.Empty()) {
        const int frames = E.Borders[TSkinElements::bdTop]->FrameCount;
        shade = top.Canvas().Pixel(top.Width() / 2, (top.Height() / frames) * 2 / 3);
    }
    if (!E.Toolbar) E.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    TBitmap& picture = E.Toolbar->Bitmap;
    picture.SetSize(10, 40);
    GradientFill(picture.Canvas().Handle(), RECT{0, 0, 10, 40},
                 MixColor(C.ButtonFace, clWhite, 150), MixColor(0x808080, shade, 150), 1);
    E.Toolbar->FrameCount = 1;
}

bool TSkinParser::Run(std::vector<TColor>& indexed, std::array<TColor, 10>& custom) {
    FSections = FIni.ReadSections();
    ReadBorders();
    ReadColours();
    ReadSysButtons();
    ReadMDIButtons();
    ReadButtons();
    ReadTitle();
    ReadProgressAndMenuBar();
    ReadElements();
    SetFrameCounts();
    MakeComboPictures();
    MakeToolbarBackground();
    indexed.clear();
    for (const std::string& section : FSections) {
        const std::string upper = UpperAscii(section);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
            indexed.push_back(Colour(section, "color", SystemColor(COLOR_WINDOWTEXT)));
    }
    for (int i = 0; i < 10; ++i)
        custom[i] = Colour("Customcolors", "Color" + std::to_string(i), clWhite);
    return FPixelsLeft >= 0;
}

// Parsed aside: a refused skin leaves the elements as they were.
bool TSkinData::ParseSkin(const TQuickIni& ini, const TMemberGetter& member) {
    TSkinElements elements;
    TSkinColours colours{};
    std::vector<TColor> indexed;
    std::array<TColor, 10> custom{};
    if (!TSkinParser(ini, member, elements, colours).Run(indexed, custom)) return false;
    FSkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
    FElements = std::move(elements);
    FColours = colours;
    FIndexedColours = std::move(indexed);
    FCustomColours = custom;
    FBrush.Reset(CreateSolidBrush(ColorToRGB(FColours.ButtonFace)));
    FNotReady = false;
    return true;
}
