#pragma once
// TSkinData: the component that carries a skin and its options. The program has one,
// SkinData, on the main window: it reads the packed skin (the "SkinStream" bytes),
// decodes and parses it into elements and colours, and once the window is built
// (Loaded) it creates the global skin manager, registers with it and asks it to skin
// every window. Painters only read it. Main thread.
#include "classlib/base/StringList.h"
#include "classlib/gui/Controls.h"
#include "classlib/gui/ImageList.h"
#include "skin/SkinElements.h"
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

enum class TSkinAction;

enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport
};
using TSkinControlTypes = unsigned; // bit n for the n-th kind
constexpr TSkinControlTypes SkinKind(TSkinControlType kind) {
    return 1u << kind;
}

enum TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK
};
using TSkinOptions = unsigned;
constexpr TSkinOptions SkinOption(TSkinOption option) {
    return 1u << option;
}

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// The skin's colours of section "Colours".
struct TSkinColours {
    TColor WindowText, ButtonFace, Scrollbar, HilightText, Hilight, Menubar, Menu, MenuText,
        ButtonText, ButtonHilight, Buttonlight, ButtonShadow, ButtonDkShadow, MenuBarText,
        TitleTextActive, TitleTextNoActive;
};

// The elements of a parsed skin; nullptr where the skin does not define one.
struct TSkinElements {
    enum TBorder { bdLeft, bdRight, bdTop, bdBottom };
    enum TThumb { tbHorz, tbVert, tbLeft, tbRight, tbUp, tbDown };
    std::array<std::unique_ptr<TDataSkinBorder>, 4> Borders;     // always present
    std::unique_ptr<TDataSkinButton> Buttons;                    // always present
    std::unique_ptr<TDataSkinTitle> Title;                       // always present
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons; // the skin's, then 3 MDI ones
    std::unique_ptr<TDataSkinProgress> Progress;
    std::unique_ptr<TDataSkinComboButton> ComboButton;
    std::unique_ptr<TDataSkinBorder> Tabs, UpDownHorz, UpDownVert;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> MenuBar, GroupBoxEdge, StatusBarEdges, ToolBars, SunkEdge,
        ExtraImages, Headerbar, MenuItem, MenuBackground, Scrollbar, HorzScroll, VertScroll,
        HorzScrollThumb, VertScrollThumb, Toolbar;
    std::array<std::unique_ptr<TDataSkinObject>, 6> TrackbarThumbs;
};

// A skin's members by lower-case name (the .bmp bytes), for loading without a package.
using TSkinMembers = std::map<std::string, std::string>;
class TQuickIni;
class TSkinReader;

class TSkinData : public TComponent {
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    [[nodiscard]] bool Active() const { return FActive; }
    void SetActive(bool value);
    int DisableTag = 99;
    TSkinControlTypes SkinControls;
    TSkinOptions Options = SkinOption(xoPreview);
    TStringList Skin3rd; // ClassName=kind lines for the control factories
    [[nodiscard]] const std::string& SkinFile() const { return FSkinFile; }
    void SetSkinFile(const std::string& fileName);
    [[nodiscard]] std::string SkinStore() const { return "(none)"; }
    TSkinFormType SkinFormtype = sfMainform;
    [[nodiscard]] std::string Version() const { return "3.24.07.11"; }
    bool MenuUpdate = true;
    bool MenuMerge = false;
    // Off: skinned windows leave their non-client area unpainted.
    bool FramePainting = true;

    std::function<void(TObject* sender, const std::string& name, bool& doSkin)> OnFormSkin;
    TNotifyEvent OnSkinChanged;
    std::function<void(TComponent* sender, TSkinData* data, TControl* form, TControl* control,
                       const std::string& controlClass, TComponent*& skinnedControl)>
        OnSkinControl;

    // The pixels a skin's pictures may hold together (ours hold under 60 thousand).
    static constexpr int64_t MaxSkinPixels = 4 << 20;

    // The "SkinStream" property: u32 length n, then n bytes of packed skin. Reading
    // decodes and parses it at once; a refused skin is reported with one message.
    void ReadSkinStream(std::string bytes);
    [[nodiscard]] std::string WriteSkinStream() const;
    // Decodes and parses the packed skin held; false (skin not ready) when refused.
    bool LoadSkin();
    // Parses a decoded package; false (skin not ready), with the one message, when the
    // package, its ini or its pictures are refused; a package without an ini is refused.
    bool LoadSkinPackage(std::string package);
    // Parses an ini text with its members, as LoadSkinPackage does but without a message.
    bool LoadSkinParts(const std::string& iniText, const TSkinMembers& members);
    // The skin draws whole frames: all four borders and a close button have pictures.
    // Without them a skinned window keeps its native frame.
    [[nodiscard]] bool HasFrame() const;
    // The owning window has been built: manager, hook and the first skin request.
    void Loaded();

    void DoFormSkin(const std::string& className, bool& doSkin);
    void DoSkinChanged();

    [[nodiscard]] bool SkinReady() const { return !FNotReady; }
    [[nodiscard]] const std::string& SkinName() const { return FSkinName; }
    [[nodiscard]] const TSkinElements& Elements() const { return FElements; }
    [[nodiscard]] const TSkinColours& Colours() const { return FColours; }
    [[nodiscard]] const std::vector<TColor>& IndexedColours() const { return FIndexedColours; }
    [[nodiscard]] const std::array<TColor, 10>& CustomColours() const { return FCustomColours; }
    [[nodiscard]] HBRUSH ButtonFaceBrush() const { return FBrush.Get(); }
    TBitmap& SmallIcon() { return FSmallIcon; }
    TImageList& MenuImages() { return *FMenuImages; } // restore, maximize, minimize, close
    void MakeAppIcon();

    // Shows a refused skin's message; tests replace it.
    static std::function<void(const std::string& text)> ShowSkinMessage;

private:
    using TMemberGetter = std::function<std::string_view(const std::string&)>;
    bool ParseSkin(const TQuickIni& ini, const TMemberGetter& member);
    bool ParseMembers(const TSkinReader& reader);
    bool ParseParts(std::string_view iniText, const TMemberGetter& member);
    bool Refuse(const std::string& message);
    void RequestAction(TSkinAction action);

    bool FActive = false;
    bool FLoading = true; // until Loaded: setting Active only stores it
    bool FNotReady = true;
    std::string FSkinFile;
    std::string FSkinStream; // the packed skin
    std::string FSkinName;
    TSkinElements FElements;
    TSkinColours FColours{};
    std::vector<TColor> FIndexedColours;
    std::array<TColor, 10> FCustomColours{};
    TBrushHandle FBrush;
    TBitmap FSmallIcon;
    std::unique_ptr<TImageList> FMenuImages;
};

// The stored "SkinStream" bytes: the exe's RCDATA resource SKINSTREAM (u32 length
// and packed skin); empty when the program has none.
std::string ReadStoredSkinStream();
// The class-library control of a window, or nullptr.
TWinControl* FindSkinControl(HWND wnd);
// Draws UTF-8 text with DrawTextW.
int SkinDrawText(HDC dc, const std::string& text, RECT& rect, UINT format);
