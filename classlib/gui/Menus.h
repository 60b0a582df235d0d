#pragma once
// TMenuItem and TPopupMenu: a popup menu built from items when it pops up. An item
// with the caption "-" is a separator; the default item shows in bold; a shortcut text
// shows right-aligned beside the caption; a checked item shows a check mark. Item
// images (ImageIndex into the popup's Images) are drawn by owner-drawn menus. Main
// thread only.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Messages.h"
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

class TImageList;
class TWindowSubclass;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    [[nodiscard]] const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption) { FCaption = caption; }
    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    [[nodiscard]] bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    // Shown with a check mark.
    [[nodiscard]] bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    // A hidden item is left out of the menu built from its parent.
    [[nodiscard]] bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    // The command id of the item in a main menu, unique in the program.
    [[nodiscard]] UINT Command() const { return FCommand; }
    // The submenu a main menu made of the item's children; nullptr before.
    [[nodiscard]] HMENU Handle() const { return FHandle; }
    [[nodiscard]] bool IsLine() const { return FCaption == "-"; }
    [[nodiscard]] const std::string& ShortCutText() const { return FShortCutText; }
    void SetShortCutText(const std::string& text) { FShortCutText = text; }
    [[nodiscard]] int ImageIndex() const { return FImageIndex; } // -1: none
    void SetImageIndex(int index) { FImageIndex = index; }

    // Sub-items, in menu order; each is freed by its owner component.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
    [[nodiscard]] TMenuItem* Items(int index) const { return FItems.at(index); }
    [[nodiscard]] TMenuItem* Parent() const { return FParent; }

    TNotifyEvent OnClick; // main thread
    virtual void Click();

private:
    friend class TPopupMenu;
    friend class TMainMenu;
    std::string FCaption;
    std::string FShortCutText;
    int FImageIndex = -1;
    bool FEnabled = true;
    bool FDefault = false;
    bool FChecked = false;
    bool FVisible = true;
    UINT FCommand;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    TMenuItem& Items() { return FItems; }
    // Shows the menu at the screen point, owned by the window (the application
    // window when nullptr), waits for the choice and clicks the chosen item.
    void Popup(int x, int y, HWND owner = nullptr);
    TNotifyEvent OnPopup; // before the menu shows; main thread
    // Off: a component that opens the menu by itself (a tray icon's click) leaves it.
    bool AutoPopup = true;
    // The component that opened the menu last (not owned).
    TComponent* PopupComponent = nullptr;
    TImageList* Images = nullptr; // not owned
    // Owner-drawn items (a skin paints them): measured and drawn by these handlers
    // while the menu is tracked. Main thread.
    bool OwnerDraw = false;
    std::function<void(TMenuItem* item, HDC dc, int& width, int& height)> OnMeasureItem;
    std::function<void(TMenuItem* item, HDC dc, const RECT& rect, bool selected)> OnDrawItem;

private:
    void OwnerMessage(TMessage& message);
    TMenuItem FItems;
    TWindowSubclass* FOwnerSubclass = nullptr; // the owner's, while tracked
};
