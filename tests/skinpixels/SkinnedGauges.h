#pragma once
// The solid skin with one colour per frame of the tab, scroll-bar, header, progress,
// up-down and track-bar elements, and a shown form whose controls the factories skin.
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "skin/ScreenPixels.h"
#include "skin/SkinFactory.h"
#include "skin/SkinForm.h"
#include "skin/SolidSkin.h"
#include <memory>

namespace gauges {

constexpr uint32_t Tab[2] = {0x3060A0, 0x60A030}; // frame 1 a tab, frame 2 the selected one
constexpr uint32_t TabBorder = 0x904010;
constexpr uint32_t HorzTrack[4] = {0x405060, 0x405061, 0x405062, 0x405063};
constexpr uint32_t VertTrack[4] = {0x506070, 0x506071, 0x506072, 0x506073};
constexpr uint32_t HorzThumb[3] = {0x708090, 0x708091, 0x708092};
constexpr uint32_t VertThumb[3] = {0x8090A0, 0x8090A1, 0x8090A2};
constexpr uint32_t Header = 0xA0B0C0;
constexpr uint32_t ProgressEmpty = 0x20A0A0, ProgressFull = 0xA02020, Chunk = 0x2020A0;
constexpr uint32_t TrackThumb[5] = {0x11AA11, 0x22BB22, 0x33CC33, 0x44DD44, 0x55EE55};
constexpr int ProgressMargin = 4;

// Frame k (from 1) of the 23 arrows: a distinct colour each.
constexpr uint32_t Arrow(int frame) {
    return 0x0A0033u * static_cast<uint32_t>(frame) + 0x000300u;
}
// Up-down frame k (from 1): first button 1 to 4, second 5 to 8 (normal, pressed,
// disabled, hot).
constexpr uint32_t UpDown(int frame) {
    return 0x0C1800u * static_cast<uint32_t>(frame) + 0x000044u;
}

// Without arrows the skin has no "Scrollbar" element.
inline std::string Ini(int progressStyle, bool arrows) {
    std::string ini = arrows ? "[Scrollbar]\nImage=arrows.bmp\n" : "";
    ini += "[Tabs]\nImage=tabs.bmp\nBorder=tabborder.bmp\n[HorzScroll]\nImage=hscroll.bmp\n"
           "[VertScroll]\nImage=vscroll.bmp\n[HorzScrollThumb]\nImage=hthumb.bmp\nFrameCount=3\n"
           "[VertScrollThumb]\nImage=vthumb.bmp\nFrameCount=3\n[Headerbar]\nImage=header.bmp\n"
           "[UpDown.Vert]\nImage=updown.bmp\n[Trackbar.ThumbHorz]\nImage=trackthumb.bmp\n"
           "[Progress]\nBitmap=progress.bmp\nChunk=chunk.bmp\nLeftWidth=4\nRightWidth=4\nStyle=";
    ini += std::to_string(progressStyle);
    ini += "\n";
    return ini;
}

inline TSkinMembers Members() {
    std::vector<uint32_t> arrows, upDown;
    for (int k = 1; k <= 23; ++k)
        arrows.push_back(Arrow(k));
    for (int k = 1; k <= 8; ++k)
        upDown.push_back(UpDown(k));
    return {{"tabs.bmp", MakeBmp(12, 12, {Tab[0], Tab[1], 0x1, 0x2, 0x3})},
            {"tabborder.bmp", MakeBmp(12, 12, {TabBorder})},
            {"arrows.bmp", MakeBmp(16, 16, arrows)},
            {"hscroll.bmp", MakeBmp(8, 16, {std::begin(HorzTrack), std::end(HorzTrack)})},
            {"vscroll.bmp", MakeBmp(16, 8, {std::begin(VertTrack), std::end(VertTrack)})},
            {"hthumb.bmp", MakeBmp(8, 16, {std::begin(HorzThumb), std::end(HorzThumb)})},
            {"vthumb.bmp", MakeBmp(16, 8, {std::begin(VertThumb), std::end(VertThumb)})},
            {"header.bmp", MakeBmp(10, 10, {Header, 0x4, 0x5, 0x6, 0x7})},
            {"progress.bmp", MakeBmp(12, 8, {ProgressEmpty, ProgressFull})},
            {"chunk.bmp", MakeBmp(6, 8, {Chunk})},
            {"updown.bmp", MakeBmp(8, 8, upDown)},
            {"trackthumb.bmp", MakeBmp(6, 12, {std::begin(TrackThumb), std::end(TrackThumb)})}};
}

} // namespace gauges

// A form at (40, 40) on the virtual desktop whose controls get skinned by Skin().
class TSkinnedGaugeTest : public TPixelTest {
protected:
    void SetUp() override {
        TPixelTest::SetUp();
        Form = std::make_unique<TForm>(Application);
        Form->SetBounds(40, 40, 420, 320);
    }
    void TearDown() override {
        Skinned.reset();
        Form.reset();
        // No control of a later test is hot by chance.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    // A control of the form, at those bounds.
    template <class Control> Control* Add(int left, int top, int width, int height) {
        auto control = new Control(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    void Skin(int progressStyle = 0, bool arrows = true) {
        LoadSolidSkin(Data, gauges::Ini(progressStyle, arrows), gauges::Members());
        Form->Show();
        Skinned = std::make_unique<TSkinForm>(nullptr);
        Skinned->Handle = Form->Handle();
        Skinned->InitForm(&Data, Form.get());
        SkinAllControls(*Skinned, Form.get());
        SettleScreen();
    }
    // The screen colour at a client point of a window.
    static uint32_t At(HWND wnd, int x, int y) {
        POINT p{x, y};
        ClientToScreen(wnd, &p);
        return ScreenPixel(p.x, p.y);
    }
    // The colour there once it is the expected one, or what it still is after a while.
    static uint32_t Awaited(HWND wnd, int x, int y, uint32_t expected) {
        POINT p{x, y};
        ClientToScreen(wnd, &p);
        return ScreenPixelSoon(p.x, p.y, expected);
    }

    TSkinData Data{nullptr};
    std::unique_ptr<TForm> Form;
    std::unique_ptr<TSkinForm> Skinned;
};
