#include "skin/SkinData.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WinControl.h"
#include "skin/QuickIni.h"
#include "skin/SkinManage.h"
#include "skin/SkinPaint.h"
#include "skin/SkinReader.h"
#include <cstring>

namespace {

// The control factories' default ClassName=kind lines, by kind.
const char* const DefaultSkin3rd[][2] = {
    {"scrollbar", "TVirtualStringTree,TVirtualDrawTree,TAdvPanelGroup,THTMLViewer,TDBCtrlGrid,"
                  "TImageEnMView,TImageEnView,TAdvMemo,TDBAdvMemo"},
    {"Panel", "TTBXDockablePanel,TControlBar,TTBDock,TTBToolbar,TLMDGROUPBOX,TLMDSIMPLEPANEL,"
              "TLMDDBCalendar,TLMDButtonPanel,TLMDLMDCalculator,TLMDHeaderPanel,"
              "TLMDTechnicalLine,TLMDLMDClock,TRzGroup,TLMDCalculator,TLMDTrackbar"},
    {"Combobox",
     "TComboboxex,TcxDBLookupComboBox,TcxDBComboBox,TcxDBDateEdit,TcxDBImageComboBox,"
     "TcxDBCalcEdit,TcxDBBlobEdit,TcxDBPopupEdit,TcxDBFontNameComboBox,TcxDBShellComboBox,"
     "TRxLookupEdit,TRxDBLookupCombo,TRzDateTimeEdit,TRzColorEdit,TRzDateTimePicker,"
     "TRzDBDateTimeEdit,TRzDbColorEdit,TRzDBDateTimePicker,TLMDListCombobox,"
     "TLMDCheckListCombobox,TLMDHeaderListCombobox,TLMDImageCombobox,TLMDColorCombobox,"
     "TLMDFontCombobox,TLMDFontSizeCombobox,TLMDFontSizeCombobox,TLMDPrinterCombobox,"
     "TLMDDriveCombobox,TLMDCalculatorComboBox,TLMDTrackBarComboBox,TLMDCalendarComboBox,"
     "TLMDTreeComboBox,TWWTempKeyCombo,TDBLookupCombobox,TWWDBCombobox,TWWDBCombobox,"
     "TWWDBLookupCombo,TWWKeyCombo,TWWDBDateTimePicker"},
    {"speedbutton", "TRxSpeedButton,TfrSpeedButton,TfrTBButton"},
    {"nil", "TAdvPageControl"},
    {"button", "TRzButton"},
    {"bitbtn", "TRzBitbtn,TRzMenuButton,TLMDButton,TcxButton"},
    {"checkgroup", "TRzCheckGroup,TLMDCheckGroup,TLMDDBCheckGroup"},
    {"radiogroup", "TRzRadioGroup,TRzDBRadioGroup,TLMDRADIOGROUP,TLMDDBRADIOGROUP,"
                   "TWWRADIOGROUP,TcxDBRadioGroup,TcxRadioGroup"},
    {"radiobutton", "TRzDBRadioButton,TLMDRadiobutton"},
    {"groupbox", "TLMDGroupBox"},
    {"checkbox", "TDBCheckboxEh,TDBCheckboxEh,TLMDCHECKBOX,TLMDDBCHECKBOX,TcxDBCheckBox,"
                 "TcxCheckBox"},
    {"Edit", "TRzButtonEdit,TLMDEDIT,TLMDMASKEDIT,TLMDBROWSEEDIT,TLMDEXTSPINEDIT,"
             "TLMDCALENDAREDIT,TLMDFILEOPENEDIT,TLMDFILESAVEEDIT,TLMDCOLOREDIT,TLMDDBEDIT,"
             "TLMDDBMASKEDIT,TLMDDBEXTSPINEDIT,TLMDDBSPINEDIT,TLMDDBEDITDBLookup,"
             "TLMDEDITDBLookup,TWWDBEDIT,TOVCPICTUREFIELD,TOVCDBPICTUREFIELD,TOVCSLIDEREDIT,"
             "TOVCDBSLIDEREDIT,TOVCSIMPLEFIELD,TOVCDBSIMPLEFIELD,TO32DBFLEXEDIT,"
             "TOVCNUMERICFIELD,TLMDCalculatorEdit,TOVCDBNUMERICFIELD"},
};

void ShowMessageBox(const std::string& text) {
    MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(Application->Title()).c_str(),
                MB_OK | MB_ICONWARNING);
}

} // namespace

std::function<void(const std::string& text)> TSkinData::ShowSkinMessage = ShowMessageBox;

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), SkinControls(0x3FFFFF & ~(SkinKind(xcMenuItem) | SkinKind(xcFastReport))),
      FMenuImages(std::make_unique<TImageList>(nullptr)) {
    for (const auto& [kind, names] : DefaultSkin3rd)
        for (const std::string& name : SplitString(names, ','))
            Skin3rd.Add(name + "=" + kind);
    static const char* const borders[4] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; ++i)
        FElements.Borders[i] = std::make_unique<TDataSkinBorder>(borders[i]);
    FElements.Buttons = std::make_unique<TDataSkinButton>("Buttons");
    FElements.Title = std::make_unique<TDataSkinTitle>("Title");
    TGdiObject glyphs(LoadImageW(GetModuleHandleW(nullptr), L"SKINMENUGLYPHS", IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION));
    TBitmap strip;
    if (glyphs && strip.CopyFromHandle(static_cast<HBITMAP>(glyphs.Get())))
        FMenuImages->AddMasked(strip, clWhite);
}

TSkinData::~TSkinData() {
    if (TSkinManage* manager = SkinManager()) manager->RemoveSkinData(this);
}

void TSkinData::ReadSkinStream(std::string bytes) {
    uint32_t n = 0;
    if (bytes.size() >= 4) std::memcpy(&n, bytes.data(), 4);
    if (n < 1) return;
    if (n > bytes.size() - 4) {
        FSkinStream.clear();
        Refuse(SkinDamagedText);
        return;
    }
    bytes.resize(4 + size_t(n));
    bytes.erase(0, 4); // in place: a large stream is not held twice
    FSkinStream = std::move(bytes);
    LoadSkin();
}

std::string TSkinData::WriteSkinStream() const {
    uint32_t n = static_cast<uint32_t>(FSkinStream.size());
    return std::string(reinterpret_cast<const char*>(&n), 4) + FSkinStream;
}

bool TSkinData::Refuse(const std::string& message) {
    FNotReady = true;
    ShowSkinMessage(message);
    return false;
}

bool TSkinData::LoadSkin() {
    FNotReady = true;
    TSkinReader reader;
    return reader.LoadFromStream(FSkinStream) ? ParseMembers(reader) : Refuse(reader.Error());
}

bool TSkinData::LoadSkinPackage(std::string package) {
    FNotReady = true;
    TSkinReader reader;
    return reader.LoadPackage(std::move(package)) ? ParseMembers(reader) : Refuse(reader.Error());
}

bool TSkinData::ParseMembers(const TSkinReader& reader) {
    std::string iniName;
    const std::string_view iniText = reader.FindFile(".ini", iniName);
    if (!ParseParts(iniText, [&reader](const std::string& name) { return reader.GetFile(name); }))
        return Refuse(SkinDamagedText);
    return true;
}

bool TSkinData::LoadSkinParts(const std::string& iniText, const TSkinMembers& members) {
    return ParseParts(iniText, [&members](const std::string& name) {
        auto it = members.find(AsciiLowerCase(name));
        return it == members.end() ? std::string_view() : std::string_view(it->second);
    });
}

bool TSkinData::ParseParts(std::string_view iniText, const TMemberGetter& member) {
    FNotReady = true;
    TQuickIni ini;
    return !iniText.empty() && ini.LoadFromStream(iniText) && ParseSkin(ini, member);
}

bool TSkinData::HasFrame() const {
    if (!SkinReady()) return false;
    for (const auto& border : FElements.Borders)
        if (border->Bitmap.Empty()) return false;
    for (const auto& button : FElements.SysButtons)
        if (button->Action == 0 && !button->Bitmap.Empty()) return true;
    return false;
}

void TSkinData::Loaded() {
    FLoading = false;
    TSkinManage& manager = CreateSkinManager();
    manager.AddSkinData(this);
    if (SkinFormtype != sfMainform) {
        manager.Active = true;
        if (manager.State == TManagerState::Waiting) manager.State = TManagerState::Running;
        if (auto form = dynamic_cast<TWinControl*>(Owner())) manager.SkinWindow(form->Handle());
        return;
    }
    manager.InstallHook();
    if (FActive) {
        if (!SkinReady())
            FActive = false;
        else
            RequestAction(TSkinAction::SkinAll);
    }
    if (SkinControls & SkinKind(xcMainMenu))
        SkinControls &= ~SkinKind(xcMenuItem);
    else
        SkinControls &= ~SkinKind(xcSystemMenu);
    MakeAppIcon();
}

void TSkinData::RequestAction(TSkinAction action) {
    TSkinManage* manager = SkinManager();
    if (!manager) return;
    manager->SetActionData(this);
    manager->RequestAction(action, 250);
}

void TSkinData::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (FLoading || (SkinFormtype != sfMainform && SkinFormtype != sfOnlyThisForm)) return;
    if (!value) return RequestAction(TSkinAction::UnskinAll);
    if (!SkinReady()) return;
    // Asked for after the start, the request counts as the first activation.
    if (TSkinManage* manager = SkinManager(); manager && manager->State == TManagerState::Waiting)
        manager->State = TManagerState::Running;
    RequestAction(TSkinAction::SkinAll);
}

void TSkinData::SetSkinFile(const std::string& fileName) {
    FNotReady = true;
    FSkinFile = fileName;
    if (!FileExists(fileName)) return;
    FSkinStream = ReadFileToString(fileName);
    LoadSkin();
    if (SkinFormtype == sfMainform && !SkinManager()) Loaded();
    TSkinManage* manager = SkinManager();
    if (!manager) return;
    // The windows skinned from this data let go of the elements just replaced, before
    // any of them paints again, and take the new ones when the skin is re-applied.
    manager->SetActionData(this);
    manager->RefreshData();
    if (manager->State == TManagerState::Running) manager->RequestAction(TSkinAction::Reapply, 250);
}

void TSkinData::DoFormSkin(const std::string& className, bool& doSkin) {
    if (OnFormSkin) return OnFormSkin(this, className, doSkin);
    if (className == "SysMonthCal32") doSkin = false;
    if ((SkinControls & SkinKind(xcFastReport)) && className.rfind("Tfr", 0) == 0) doSkin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::MakeAppIcon() {
    const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
    HWND app = Application->Handle();
    auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
    if (!icon) return;
    TIconHandle copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
    ICONINFO parts{};
    if (!copy || !GetIconInfo(copy.Get(), &parts)) return;
    TBitmapHandle colours(parts.hbmColor), mask(parts.hbmMask);
    TBitmap image, shape;
    if (!image.CopyFromHandle(colours.Get()) || !shape.CopyFromHandle(mask.Get()) ||
        image.Width() != w || image.Height() != h || shape.Height() != h)
        return;
    // Through the mask, not blended over the key: a half-transparent edge pixel keeps
    // its own colour, so no trace of the key shows around the icon.
    FSmallIcon.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            FSmallIcon.ScanLine(y)[x] =
                shape.ScanLine(y)[x] & 0xFFFFFF ? SkinKeyColor : image.ScanLine(y)[x] & 0xFFFFFF;
}

std::string ReadStoredSkinStream() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, L"SKINSTREAM", MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}

TWinControl* FindSkinControl(HWND wnd) {
    return wnd ? TWinControl::FindControl(wnd) : nullptr;
}

int SkinDrawText(HDC dc, const std::string& text, RECT& rect, UINT format) {
    std::wstring wide = ToWide(text);
    return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}
