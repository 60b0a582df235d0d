#include "classlib/gui/Animate.h"
#include "classlib/gui/BitBtn.h"
#include "classlib/gui/Bitmap.h"
#include "classlib/gui/FileCtrl.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/ImageList.h"
#include "classlib/gui/Label.h"
#include "classlib/gui/ListView.h"
#include "classlib/gui/ProgressBar.h"
#include "classlib/gui/SpeedButton.h"
#include "classlib/gui/Timer.h"
#include "support/PumpMessages.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

TEST(GuiGraphics, BitmapIsA32BitDibThatKeepsTheKeyColourExactly) {
    TBitmap bitmap;
    bitmap.SetSize(8, 4);
    ASSERT_FALSE(bitmap.Empty());
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap.Handle(), sizeof(dib), &dib), int(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    bitmap.Canvas().Brush().SetColor(clFuchsia);
    bitmap.Canvas().FillRect({0, 0, 8, 4});
    bitmap.Canvas().SetPixel(1, 2, 0x123456);
    GdiFlush();
    EXPECT_EQ(bitmap.ScanLine(0)[0], 0x00FF00FFu);
    EXPECT_EQ(bitmap.ScanLine(2)[1], 0x00563412u); // stored as 0x00RRGGBB
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 2), 0x123456);

    // Drawn on, the bitmap is still free to go into another DC (a bitmap fits in one).
    TMemoryDC other(CreateCompatibleDC(nullptr));
    HGDIOBJ previous = SelectObject(other.Get(), bitmap.Handle());
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(GetPixel(other.Get(), 1, 2), COLORREF(0x123456));
    SelectObject(other.Get(), previous);
    bitmap.Canvas().SetPixel(0, 0, clRed); // and drawn on again
    GdiFlush();
    EXPECT_EQ(bitmap.ScanLine(0)[0], 0x00FF0000u);

    TBitmap copy;
    copy.Assign(bitmap);
    EXPECT_EQ(copy.Width(), 8);
    EXPECT_EQ(copy.ScanLine(3)[7], 0x00FF00FFu);
    copy.SetSize(0, 5);
    EXPECT_TRUE(copy.Empty());
}

// GetGuiResources counts nothing under Wine: each handle is checked to be gone instead.
TEST(GuiGraphics, ControlsFreeTheirFontsBrushesAndDCs) {
    std::vector<HGDIOBJ> handles;
    HGDIOBJ replacedFont = nullptr;
    const long live = LiveGdiObjects;
    {
        TForm form(nullptr);
        auto button = new TBitBtn(&form);
        button->SetParent(&form);
        auto label = new TLabel(&form);
        label->SetParent(&form);
        label->SetCaption("measured");
        form.Show();
        form.Repaint();
        HWND buttonWnd = button->Handle();
        replacedFont = reinterpret_cast<HGDIOBJ>(SendMessageA(buttonWnd, WM_GETFONT, 0, 0));
        form.Font().SetStyle(fsBold); // the children take a new font
        handles = {reinterpret_cast<HGDIOBJ>(SendMessageA(buttonWnd, WM_GETFONT, 0, 0)),
                   reinterpret_cast<HGDIOBJ>(SendMessageA(form.Handle(), WM_CTLCOLORBTN, 0,
                                                          reinterpret_cast<LPARAM>(buttonWnd))),
                   label->Canvas().Font().Handle(), label->Canvas().Handle()};
        EXPECT_EQ(GetObjectType(replacedFont), 0u); // freed once the button had the new one
        EXPECT_EQ(GetObjectType(handles[0]), DWORD(OBJ_FONT));
        EXPECT_EQ(GetObjectType(handles[1]), DWORD(OBJ_BRUSH));
        EXPECT_EQ(GetObjectType(handles[3]), DWORD(OBJ_MEMDC));
        EXPECT_GE(LiveGdiObjects - live, 4);
        form.Hide();
    }
    for (HGDIOBJ handle : handles)
        EXPECT_EQ(GetObjectType(handle), 0u);
    EXPECT_EQ(LiveGdiObjects, live); // the library's own count: GetGuiResources is a stub
    TGdiObject region(CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(LiveGdiObjects, live + 1);
    DeleteObject(region.Release()); // released: no longer the library's
    EXPECT_EQ(LiveGdiObjects, live);
}

TEST(GuiGraphics, CanvasMeasuresTextInItsFont) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    int narrow = canvas.TextWidth("iiii");
    int wide = canvas.TextWidth("WWWW");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);
    canvas.Font().SetSize(24);
    EXPECT_GT(canvas.TextWidth("WWWW"), wide);
    EXPECT_GT(canvas.TextHeight("W"), 20);
    TCanvas plain;
    EXPECT_THROW(plain.TextWidth("x"), ECanvasError);
}

TEST(GuiGraphics, MinimizeNameCutsFoldersFromTheFront) {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    TCanvas& c = bitmap.Canvas();
    const std::string path = "C:\\Program Files\\Tarnwhistle\\Data\\file.txt";
    auto fitting = [&](const std::string& text) {
        return MinimizeName(path, c, c.TextWidth(text));
    };
    EXPECT_EQ(fitting(path), path);
    EXPECT_EQ(fitting("C:\\...\\Tarnwhistle\\Data\\file.txt"),
              "C:\\...\\Tarnwhistle\\Data\\file.txt");
    EXPECT_EQ(fitting("C:\\...\\Data\\file.txt"), "C:\\...\\Data\\file.txt");
    EXPECT_EQ(fitting("C:\\...\\file.txt"), "C:\\...\\file.txt");
    EXPECT_EQ(fitting("...\\file.txt"), "...\\file.txt");
    EXPECT_EQ(MinimizeName(path, c, 1), "file.txt");           // too narrow for anything else
    EXPECT_EQ(MinimizeName("C:\\file.txt", c, 1), "file.txt"); // never "C:file.txt"
    EXPECT_EQ(MinimizeName("file.txt", c, 1), "file.txt");
    EXPECT_EQ(MinimizeName("\\\\server\\share\\dir\\a.txt", c, c.TextWidth("\\...\\dir\\a.txt")),
              "\\...\\dir\\a.txt");
}

TEST(GuiControls, LabelSizesToItsCaption) {
    TLabel label(nullptr);
    label.SetCaption("A");
    int small = label.Width();
    label.SetCaption("A much longer caption");
    EXPECT_GT(label.Width(), small);
    EXPECT_GT(label.Height(), 0);
    label.SetAutoSize(false);
    label.SetWidth(10);
    label.SetCaption("Again a much longer caption");
    EXPECT_EQ(label.Width(), 10);
}

TEST(GuiControls, ProgressBarKeepsItsPositionInRange) {
    TForm form(nullptr);
    auto bar = new TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetMax(1000);
    bar->SetPosition(10);
    HWND wnd = bar->Handle();
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETRANGE, FALSE, 0), 1000);
    bar->StepBy(25);
    EXPECT_EQ(bar->Position(), 35);
    EXPECT_EQ(SendMessageA(wnd, PBM_GETPOS, 0, 0), 35);
    bar->StepBy(5000);
    EXPECT_EQ(bar->Position(), 1000);
    bar->SetMax(0x7FFFFFFF);
    bar->SetPosition(0x7FFFFFF0);
    bar->StepBy(0x7FFFFFFF); // no overflow
    EXPECT_EQ(bar->Position(), 0x7FFFFFFF);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
}

TEST(GuiControls, DeleteFileAnimationFailsQuietlyWithoutTheClip) {
    TForm form(nullptr);
    auto animate = new TAnimate(&form);
    animate->SetParent(&form);
    animate->SetCommonAVI(aviDeleteFile);
    animate->SetStopFrame(24);
    animate->SetActive(true);
    EXPECT_NO_THROW(form.Show());
    char cls[32] = {};
    GetClassNameA(animate->Handle(), cls, sizeof(cls));
    EXPECT_STREQ(cls, "TAnimate");
    EXPECT_TRUE(animate->Active()); // whether the shell has the clip or not
    form.Hide();
}

TEST(GuiControls, TimerFiresWhileEnabled) {
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(5);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    timer.SetEnabled(false);
    int stopped = ticks;
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(ticks, stopped);
}

TEST(GuiControls, ImageListsShowInListViews) {
    TBitmap strip;
    strip.SetSize(32, 16);
    strip.Canvas().Brush().SetColor(clFuchsia);
    strip.Canvas().FillRect({0, 0, 32, 16});
    auto images = std::make_unique<TImageList>(nullptr);
    EXPECT_EQ(images->AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(images->Count(), 2);
    EXPECT_EQ(images->Width(), 16);

    TForm form(nullptr);
    auto list = new TListView(&form);
    list->SetParent(&form);
    list->AddColumn("Name", 100);
    list->SetSmallImages(images.get());
    auto item = list->AddItem();
    item->SetCaption("one");
    item->SetImageIndex(1);
    HWND wnd = list->Handle();
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              images->Handle());
    LVITEMA row{};
    row.mask = LVIF_IMAGE;
    ASSERT_TRUE(SendMessageA(wnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    EXPECT_EQ(row.iImage, 1);

    auto wrapper = std::make_unique<TImageList>(nullptr);
    wrapper->SetHandle(images->Handle(), true);
    wrapper.reset(); // a shared list is not freed
    EXPECT_EQ(images->Count(), 2);
    list->SetSmallImages(nullptr);
}

TEST(GuiControls, SpeedButtonsClickAndDrawTheirGlyphTransparently) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetColor(clWhite);
    auto button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 40, 30);
    button->SetFlat(true);
    button->Glyph().SetSize(16, 16);
    button->Glyph().Canvas().Brush().SetColor(clFuchsia);
    button->Glyph().Canvas().FillRect({0, 0, 16, 16});
    button->Glyph().Canvas().Brush().SetColor(clBlue);
    button->Glyph().Canvas().FillRect({6, 6, 10, 10});
    int clicks = 0;
    HWND captured = nullptr;
    // The mouse is free by the time the click runs: a box it opens must get it.
    button->OnClick = [&](TObject*) {
        ++clicks;
        captured = GetCapture();
    };
    form.Handle();
    SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(GetCapture(), form.Handle());
    SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(captured, nullptr);

    TBitmap shot;
    shot.SetSize(200, 100);
    form.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(shot.Canvas().Handle()));
    form.Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas().Handle()));
    GdiFlush();
    int blue = 0, magenta = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 10; x < 50; ++x) {
            uint32_t p = shot.ScanLine(y)[x] & 0xFFFFFF;
            blue += p == 0x0000FF;
            magenta += p == 0xFF00FF;
        }
    EXPECT_EQ(blue, 16);
    EXPECT_EQ(magenta, 0);
}

TEST(GuiControls, BitmapButtonsDrawGlyphAndCaption) {
    TForm form(nullptr);
    auto button = new TBitBtn(&form);
    button->SetParent(&form);
    button->SetBounds(10, 10, 90, 30);
    button->SetCaption("&Add");
    button->SetDefault(true);
    TBitmap& glyph = button->Glyph();
    glyph.SetSize(32, 16); // up and disabled
    glyph.Canvas().Brush().SetColor(clFuchsia);
    glyph.Canvas().FillRect({0, 0, 32, 16});
    glyph.Canvas().Brush().SetColor(clBlue);
    glyph.Canvas().FillRect({4, 4, 12, 12});
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect({20, 4, 28, 12});
    button->SetNumGlyphs(2);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    HWND wnd = button->Handle();
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    SendMessageA(wnd, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);

    auto count = [](TBitmap& shot, uint32_t colour) {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                n += (shot.ScanLine(y)[x] & 0xFFFFFF) == colour;
        return n;
    };
    TBitmap shot;
    shot.SetSize(90, 30);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = wnd;
    item.hDC = shot.Canvas().Handle();
    item.rcItem = {0, 0, 90, 30};
    button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(count(shot, 0x0000FF), 64); // the up glyph, its key colour left out
    EXPECT_EQ(count(shot, 0xFF00FF), 0);
    button->SetEnabled(false);
    item.itemState = ODS_DISABLED;
    button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(count(shot, 0xFF0000), 64); // the disabled glyph
}
