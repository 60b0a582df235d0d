#pragma once
// A synthetic skin of one solid colour per frame, so that a pixel read from the screen
// names the frame that was drawn: borders with magenta (key colour) corners, caption
// buttons with four state frames, a menu bar. Colours are 0x00RRGGBB.
#include "SkinTestSupport.h"
#include "classlib/gui/Application.h"
#include "skin/SkinData.h"
#include "skin/SkinReader.h"
#include <cstdint>
#include <string>

namespace solid {

constexpr uint32_t Key = 0xFF00FF;
// Frame 1 (active) and frame 2 (inactive) of each border.
constexpr uint32_t LeftActive = 0x20C040, LeftInactive = 0x106020;
constexpr uint32_t RightActive = 0x2040C0, RightInactive = 0x102060;
constexpr uint32_t TopActive = 0xC04020, TopInactive = 0x602010;
constexpr uint32_t BottomActive = 0xC0C020, BottomInactive = 0x606010;
constexpr uint32_t MenuBarActive = 0xA0A0F0, MenuBarInactive = 0x5050A0;
constexpr uint32_t Face = 0xE0F0F0; // [Colours] ButtonFace
constexpr int LeftWidth = 6, TitleHeight = 22, RightWidth = 6, BottomHeight = 5;
constexpr int Corner = 3; // the magenta square in each outer top corner

// Caption buttons: frames 1 normal, 2 pressed, 3 hot, 4 inactive; ButtonWidth x
// ButtonHeight at (window width - X, ButtonTop).
struct TSolidButton {
    const char* Section;
    int Action, X, Visibility, Visibility1;
    uint32_t Frames[4];
};
constexpr TSolidButton Close{"ButtonClose", 0, 20, 0, 0, {0xE00000, 0x800000, 0xFF8080, 0x400000}};
constexpr TSolidButton Maximize{
    "ButtonMaximize", 1, 38, 6, 2, {0x00E000, 0x008000, 0x80FF80, 0x004000}};
constexpr TSolidButton Restore{
    "ButtonRestore", 1, 38, 6, 1, {0x00E0E0, 0x008080, 0x80FFFF, 0x004040}};
constexpr TSolidButton Minimize{
    "ButtonMinimize", 2, 56, 8, 0, {0x0000E0, 0x000080, 0x8080FF, 0x000040}};
constexpr int ButtonWidth = 16, ButtonHeight = 14, ButtonTop = 4;
// The system-menu button's own picture; the window's icon is drawn instead.
constexpr uint32_t SysMenuPicture = 0x808000;
constexpr int SysMenuX = 6, SysMenuY = 3;

// Built by appending: GCC 12 at -O3 misreads a chain of + here as an overlapping copy.
inline std::string ButtonIni(const TSolidButton& b) {
    std::string ini = "[";
    ini += b.Section;
    ini += "]\nAction=" + std::to_string(b.Action);
    ini += "\nAlign=1\nXcoord=" + std::to_string(b.X);
    ini += "\nYcoord=" + std::to_string(ButtonTop);
    ini += "\nVisibility=" + std::to_string(b.Visibility);
    ini += "\nVisibility1=" + std::to_string(b.Visibility1);
    ini += "\nframe=4\nButtonImage=";
    ini += b.Section;
    ini += ".bmp\n";
    return ini;
}

inline std::string Ini() {
    std::string ini = "[TitlebarSkin]\nSkinName=Solid\n[Personality]\n";
    for (const char* b : {"Left", "Right", "Top", "Bottom"}) {
        const std::string n = b;
        ini += n + "=" + n + ".bmp\n" + n + "TopHeight=4\n" + n + "BotHeight=4\n" + n +
               "Frame=2\n" + n + "Stretch=1\n" + n + "Trans=1\n";
    }
    ini += "menuBar=menubar.bmp\nTileMenu=1\nTileLeftMenu=0\nTileRightMenu=0\n"
           "ActiveTextR=255\nActiveTextG=255\nActiveTextB=255\n"
           "InActiveTextR=0\nInActiveTextG=0\nInActiveTextB=0\n"
           "[Colours]\nButtonFace=224 240 240\nMenubar=224 240 240\nMenu=255 255 255\n"
           "TitleTextActive=255 255 255\nTitleTextNoActive=0 0 0\n"
           "[ButtonSystemMenu]\nAction=3\nAlign=0\nXcoord=6\nYcoord=3\nframe=1\n"
           "ButtonImage=sysmenu.bmp\n";
    for (const TSolidButton* b : {&Close, &Maximize, &Restore, &Minimize})
        ini += ButtonIni(*b);
    return ini;
}

// Two frames of fw x fh side by side (or stacked), magenta squares in the given top
// corners of each frame.
inline std::string BorderBmp(int fw, int fh, bool stacked, uint32_t active, uint32_t inactive,
                             bool keyLeft, bool keyRight) {
    const int w = stacked ? fw : 2 * fw, h = stacked ? 2 * fh : fh;
    return MakeBmpOf(w, h, [=](int x, int y) {
        const bool second = stacked ? y >= fh : x >= fw;
        const int fx = stacked ? x : x % fw, fy = stacked ? y % fh : y;
        if (fy < Corner && ((keyLeft && fx < Corner) || (keyRight && fx >= fw - Corner)))
            return Key;
        return second ? inactive : active;
    });
}

inline TSkinMembers Members() {
    TSkinMembers m;
    m["left.bmp"] = BorderBmp(LeftWidth, 30, false, LeftActive, LeftInactive, true, false);
    m["right.bmp"] = BorderBmp(RightWidth, 30, false, RightActive, RightInactive, false, true);
    m["top.bmp"] = BorderBmp(30, TitleHeight, true, TopActive, TopInactive, false, false);
    m["bottom.bmp"] = BorderBmp(30, BottomHeight, true, BottomActive, BottomInactive, false, false);
    m["menubar.bmp"] = BorderBmp(30, 19, true, MenuBarActive, MenuBarInactive, false, false);
    m["sysmenu.bmp"] = MakeBmp(16, 16, {SysMenuPicture});
    for (const TSolidButton* b : {&Close, &Maximize, &Restore, &Minimize}) {
        const TSolidButton& s = *b;
        m[AsciiLowerCase(std::string(s.Section) + ".bmp")] = MakeBmp(
            ButtonWidth, ButtonHeight, {s.Frames[0], s.Frames[1], s.Frames[2], s.Frames[3]});
    }
    return m;
}

} // namespace solid

// Loads the solid skin into data, with further ini sections and members of a test's
// own (member names in lower case).
inline void LoadSolidSkin(TSkinData& data, const std::string& extraIni = "",
                          const TSkinMembers& extraMembers = {}) {
    TSkinMembers members = solid::Members();
    members.insert(extraMembers.begin(), extraMembers.end());
    data.LoadSkinParts(solid::Ini() + extraIni, members);
}

// New skin data, owned by the application, switched on and loaded with the solid skin.
inline TSkinData* ActiveSolidSkin(const std::string& ini = "", const TSkinMembers& members = {}) {
    auto data = new TSkinData(Application);
    data->SetActive(true);
    LoadSolidSkin(*data, ini, members);
    data->Loaded();
    return data;
}
