// The skinned menu bar: painted from the skin under the title, and driven from the
// keyboard as a native bar is, one open menu at a time.
#include "skin/SkinMenuBar.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/MainMenu.h"
#include "classlib/gui/Timer.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinManage.h"
#include "skin/SolidSkin.h"
#include "support/PopupMenus.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

HMENU Submenu(std::initializer_list<std::pair<const wchar_t*, HMENU>> items) {
    HMENU menu = CreatePopupMenu();
    UINT id = 100;
    for (auto [text, sub] : items)
        AppendMenuW(menu, sub ? MF_POPUP : MF_STRING, sub ? reinterpret_cast<UINT_PTR>(sub) : id++,
                    text);
    return menu;
}

// The type flags (MFT_*) of the item at that position.
UINT ItemType(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.fType;
}

int OpenMenus() {
    return static_cast<int>(ShownMenus().size());
}

// A key for the innermost open menu.
void Key(UINT key) {
    const std::vector<HWND> menus = ShownMenus();
    if (!menus.empty()) PostMessageW(menus.back(), WM_KEYDOWN, key, 0);
}

} // namespace

using SkinMenuBarPixels = TPixelTest;

TEST_F(SkinMenuBarPixels, TheBarIsPaintedAndTheArrowKeysMoveBetweenItsMenus) {
    TSkinData* data = ActiveSolidSkin(
        "[MenuItem]\nImage=i.bmp\nTrans=1\n[MenuBackground]\nImage=b.bmp\nBottomHeight=24\n",
        {{"i.bmp", MakeBmp(9, 9, std::vector<uint32_t>(5, solid::Key))},
         {"b.bmp", MakeBmpOf(9, 30, [](int, int y) { return y < 6 ? 0xD0E0C0 : 0x4060A0; })}});
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(Submenu(
                    {{L"&Open", nullptr}, {L"&Sub", Submenu({{L"&Inner", nullptr}})}, {L"A", 0}})),
                L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&Copy", nullptr}})),
                L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&About", nullptr}})),
                L"&Help");
    SetMenu(form->Handle(), bar);
    RECT client;
    GetClientRect(form->Handle(), &client);
    form->Show();
    HWND wnd = form->Handle();
    TSkinForm* skinned = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        skinned = SkinManager()->FindSkinForm(wnd);
        return skinned && skinned->Activated();
    }));
    TSkinMenu* menuBar = skinned->MenuBar();
    ASSERT_TRUE(menuBar);
    EXPECT_EQ(menuBar->Count(), 3);
    EXPECT_EQ(GetMenu(wnd), nullptr);
    RECT now;
    GetClientRect(wnd, &now);
    EXPECT_EQ(now.bottom, client.bottom);
    RECT window;
    GetWindowRect(wnd, &window);
    const int barY = solid::TitleHeight + skinned->Metrics().MenuBar / 2;
    EXPECT_EQ(WindowPixelSoon(wnd, window.right - window.left - 20, barY, solid::MenuBarActive),
              solid::MenuBarActive);

    // Each step runs once the menus have settled after the one before.
    std::vector<int> tracked, open;
    std::vector<uint32_t> pixels; // near the bottom of the menu on top
    auto note = [&] {
        tracked.push_back(menuBar->TrackedIndex());
        open.push_back(OpenMenus());
        RECT r{};
        GetWindowRect(ShownMenus().front(), &r); // each note has a menu open
        pixels.push_back(ScreenPixel(r.right - 6, r.bottom - 5));
    };
    const std::vector<std::function<void()>> steps = {
        [&] { note(), Key(VK_RIGHT); }, // File's first item is plain: on to Edit
        [&] { note(), Key(VK_LEFT); }, // back to File
        [&] { note(), Key(VK_DOWN); }, // File's "Sub"
        [&] { Key(VK_RIGHT); }, // opens the inner menu
        [&] { note(), Key(VK_LEFT); }, // closes only the inner menu
        [&] { note(), Key(VK_ESCAPE); }, [&] { Key(VK_ESCAPE); }};
    size_t step = 0;
    TTimer timer(nullptr);
    timer.SetInterval(200);
    timer.SetOnTimer([&](TObject*) {
        if (step < steps.size()) steps[step++]();
    });
    SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    timer.SetEnabled(false);
    EXPECT_EQ(tracked, (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(open, (std::vector<int>{1, 1, 1, 2, 1}));
    EXPECT_EQ(menuBar->TrackedIndex(), -1);
    EXPECT_EQ(OpenMenus(), 0);
    EXPECT_EQ(pixels[3], 0x4060A0u); // the inner menu's own frame, not the outer one's

    data->SetActive(false); // the window gets its menu back
    ASSERT_TRUE(PumpUntil([&] { return GetMenu(wnd) == bar; }));
    form.reset();
    delete data;
    FreeSkinManager();
}

namespace {

// Runs the steps one after another while a menu of the bar is open (each once the
// menus have settled after the one before), starting with the key's button.
void WhileDropped(HWND wnd, wchar_t key, const std::vector<std::function<void()>>& steps) {
    size_t step = 0;
    TTimer timer(nullptr);
    timer.SetInterval(200);
    timer.SetOnTimer([&](TObject*) {
        if (step < steps.size()) steps[step++]();
    });
    SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, key);
    timer.SetEnabled(false);
}

TSkinForm* SkinnedSoon(HWND wnd) {
    TSkinForm* skinned = nullptr;
    PumpUntil([&] {
        skinned = SkinManager()->FindSkinForm(wnd);
        return skinned && skinned->Activated();
    });
    return skinned;
}

// Pixels of one colour in a screen rectangle.
int Count(const RECT& r, uint32_t colour) {
    const TScreenShot shot(r);
    int n = 0;
    for (int x = 0; x < shot.Width(); ++x)
        for (int y = 0; y < shot.Height(); ++y)
            if (shot.At(x, y) == colour) ++n;
    return n;
}

} // namespace

TEST_F(SkinMenuBarPixels, DroppedItemsAreDrawnFromTheSkinWithTextsShortcutsAndCheckMarks) {
    const uint32_t normal = 0xD0E0C0, selected = 0x4060A0;
    auto data = new TSkinData(Application);
    data->SetActive(true);
    LoadSolidSkin(
        *data, "[MenuItem]\nImage=menuitem.bmp\n",
        {{"menuitem.bmp", MakeBmp(10, 10, {normal, 0x111111, 0x222222, selected, 0x333333})}});
    data->Loaded();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING | MF_CHECKED, 100, L"&Open");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, 101, L"&Close\tCtrl+W");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    SetMenu(form->Handle(), bar);
    form->Show();
    HWND wnd = form->Handle();
    ASSERT_TRUE(SkinnedSoon(wnd));

    int ownerDrawn = 0, checkInk = 0, plainCheckInk = 0, textInk = 0, shortcutInk = 0;
    uint32_t first = 0, last = 0;
    WhileDropped(wnd, 'f',
                 {[&] {
                      RECT item[3]{};
                      for (int i = 0; i < 3; ++i) {
                          if (ItemType(file, i) & MFT_OWNERDRAW) ++ownerDrawn;
                          GetMenuItemRect(wnd, file, i, &item[i]);
                      }
                      const int mid0 = (item[0].top + item[0].bottom) / 2;
                      const int mid2 = (item[2].top + item[2].bottom) / 2;
                      first = ScreenPixelSoon(item[0].right - 3, mid0, selected); // selected
                      last = ScreenPixel(item[2].right - 3, mid2);
                      const uint32_t mark = GetSysColor(COLOR_BTNTEXT);
                      const uint32_t markRgb =
                          ((mark & 0xFF) << 16) | (mark & 0xFF00) | ((mark >> 16) & 0xFF);
                      auto box = [](const RECT& r) {
                          return RECT{r.left + 1, r.top + 1, r.left + 19, r.bottom - 1};
                      };
                      checkInk = Count(box(item[0]), markRgb);
                      plainCheckInk = Count(box(item[2]), markRgb);
                      const RECT caption{item[2].left + 25, item[2].top + 2, item[2].left + 60,
                                         item[2].bottom - 2};
                      const RECT shortcut{item[2].right - 60, item[2].top + 2, item[2].right - 12,
                                          item[2].bottom - 2};
                      textInk = (caption.right - caption.left) * (caption.bottom - caption.top) -
                                Count(caption, normal);
                      shortcutInk =
                          (shortcut.right - shortcut.left) * (shortcut.bottom - shortcut.top) -
                          Count(shortcut, normal);
                  },
                  [&] { Key(VK_ESCAPE); }});
    EXPECT_EQ(ownerDrawn, 3);
    EXPECT_EQ(first, selected);
    EXPECT_EQ(last, normal);
    EXPECT_GT(checkInk, 5);
    EXPECT_EQ(plainCheckInk, 0);
    EXPECT_GT(textInk, 10);
    EXPECT_GT(shortcutInk, 10);

    data->SetActive(false); // the system draws the window's menus again
    ASSERT_TRUE(PumpUntil([&] { return GetMenu(wnd) == bar; }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(ItemType(file, i) & MFT_OWNERDRAW) << i;
    }
    form.reset();
    delete data;
    FreeSkinManager();
}

TEST_F(SkinMenuBarPixels, ARightToLeftBarRunsFromTheRightAndSwapsTheArrowKeys) {
    TSkinData* data = ActiveSolidSkin();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    HWND wnd = form->Handle();
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&Open", nullptr}})),
                L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Submenu({{L"&Copy", nullptr}})),
                L"&Edit");
    SetMenu(wnd, bar);
    form->Show();
    TSkinForm* skinned = SkinnedSoon(wnd);
    ASSERT_TRUE(skinned);
    TSkinMenu* menuBar = skinned->MenuBar();
    ASSERT_TRUE(menuBar && menuBar->Count() == 2);
    RECT window;
    GetWindowRect(wnd, &window);
    const int width = window.right - window.left;
    EXPECT_GT(menuBar->Button(0).Rect.left, width / 2);
    EXPECT_LT(menuBar->Button(1).Rect.right, menuBar->Button(0).Rect.left + 1);

    std::vector<int> tracked;
    int dropRight = 0;
    WhileDropped(wnd, 'f',
                 {[&] {
                      const std::vector<HWND> menus = ShownMenus();
                      RECT r{};
                      if (!menus.empty()) GetWindowRect(menus[0], &r);
                      dropRight = r.right;
                      tracked.push_back(menuBar->TrackedIndex());
                      Key(VK_LEFT); // on to the next button, on its left
                  },
                  [&] {
                      tracked.push_back(menuBar->TrackedIndex());
                      Key(VK_RIGHT);
                  },
                  [&] {
                      tracked.push_back(menuBar->TrackedIndex());
                      Key(VK_ESCAPE);
                  },
                  [&] { Key(VK_ESCAPE); }});
    EXPECT_EQ(tracked, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(dropRight, window.left + menuBar->Button(0).Rect.right);

    form.reset();
    delete data;
    FreeSkinManager();
}

TEST_F(SkinMenuBarPixels, AFormsMainMenuGivesTheBarItsItemsAndDropsNoStraySeparators) {
    TSkinData* data = ActiveSolidSkin();
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(100, 100, 400, 300);
    auto menu = new TMainMenu(form.get());
    auto add = [&](TMenuItem& parent, const char* caption) {
        auto item = new TMenuItem(menu);
        item->SetCaption(caption);
        parent.Add(item);
        return item;
    };
    TMenuItem* file = add(menu->Items(), "&File");
    add(*add(menu->Items(), "&Edit"), "&Copy");
    std::vector<TMenuItem*> items;
    for (const char* caption : {"-", "&Open", "-", "-", "&Close", "-"})
        items.push_back(add(*file, caption));
    int opened = 0;
    items[1]->OnClick = [&](TObject*) { ++opened; };
    file->OnClick = [&](TObject*) { items[4]->SetCaption("Shut"); }; // before File drops
    SetMenu(form->Handle(), CreateMenu());
    form->Show();
    HWND wnd = form->Handle();
    TSkinForm* skinned = SkinnedSoon(wnd);
    ASSERT_TRUE(skinned && skinned->MenuBar());
    menu->AttachTo(*form); // the bar takes the new menu
    TSkinMenu& bar = *skinned->MenuBar();
    ASSERT_EQ(bar.Count(), 2);
    EXPECT_EQ(bar.Button(0).Item, file);
    EXPECT_EQ(bar.Button(0).Submenu, file->Handle());
    EXPECT_EQ(GetMenu(wnd), nullptr);

    // The types of the dropped menu's items: 's' a separator, 'i' an item.
    wchar_t last[8] = {};
    auto dropped = [&](UINT key) {
        std::string types;
        WhileDropped(wnd, 'f',
                     {[&] {
                          GetMenuStringW(file->Handle(), 2, last, 8, MF_BYPOSITION);
                          for (int i = 0; i < GetMenuItemCount(file->Handle()); ++i) {
                              types += (ItemType(file->Handle(), i) & MFT_SEPARATOR) ? 's' : 'i';
                          }
                          Key(key);
                      },
                      [&] { Key(VK_ESCAPE); }});
        return types;
    };
    EXPECT_EQ(dropped(VK_RETURN), "isi"); // Open chosen
    EXPECT_EQ(std::wstring(last), L"Shut");
    EXPECT_TRUE(PumpUntil([&] { return opened == 1; }));
    items[4]->SetVisible(false); // Close hidden: the separators before it trail
    EXPECT_EQ(dropped(VK_ESCAPE), "i");
    items[4]->SetVisible(true); // the last of the run shows again
    EXPECT_EQ(dropped(VK_ESCAPE), "isi");
    EXPECT_TRUE(items[3]->Visible());
    EXPECT_FALSE(items[2]->Visible());
    EXPECT_EQ(opened, 1);

    form.reset();
    delete data;
    FreeSkinManager();
}

TEST_F(SkinMenuBarPixels, MenuItemsAloneMakeTheMainMenusItemsOwnerDrawnUntilUnskinned) {
    TSkinData* data = ActiveSolidSkin();
    data->SkinControls = (data->SkinControls & ~SkinKind(xcMainMenu)) | SkinKind(xcMenuItem);
    auto form = std::make_unique<TForm>(Application);
    auto menu = new TMainMenu(form.get());
    auto file = new TMenuItem(menu);
    menu->Items().Add(file);
    file->Add(new TMenuItem(menu));
    menu->AttachTo(*form);
    form->Show();
    ASSERT_TRUE(SkinnedSoon(form->Handle()));
    EXPECT_EQ(ItemType(file->Handle(), 0), MFT_OWNERDRAW); // in the window's own bar
    data->SetActive(false);
    EXPECT_TRUE(PumpUntil([&] { return ItemType(file->Handle(), 0) == MFT_STRING; }));
    form.reset();
    delete data;
    FreeSkinManager();
}
