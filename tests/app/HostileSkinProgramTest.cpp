// The program with a damaged or hostile skin put into a copy of its exe: it starts,
// shows at most one message, keeps a frame a person can use, stays within 100 MB of
// its start with its own skin, and closes cleanly.
#include "ProgramRun.h"
#include "classlib/base/SysUtils.h"
#include "skin/SkinMessages.h"
#include "support/ExeSkin.h"
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <psapi.h>

namespace {

std::string OwnResource(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, info))
                 : std::string();
}

struct TStart {
    int Messages = 0;
    bool Skinned = false;
    bool NativeCaption = false;
    double PeakMB = 0;
    double Seconds = 0;
    bool Closed = false;
};

// Starts the program (with the given skin stream put in, unless empty), answers the
// messages it shows before its main window, waits for its skin where one is expected,
// then closes it.
TStart StartWith(const std::string& stream, bool skinExpected) {
    TStart result;
    TProgramRun program;
    if (!stream.empty() && !PutExeSkin(program.Dir() + "Tarnwhistle.exe", stream)) return result;
    const auto start = std::chrono::steady_clock::now();
    if (!program.Start()) return result;
    HWND main = nullptr;
    WaitFor([&] {
        if (HWND box = program.FindWindowOfClass("#32770")) {
            ++result.Messages;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitFor([&] { return !IsWindow(box); });
        }
        return (main = program.FindWindowOfClass("TfMain")) != nullptr || program.WaitForExit(0);
    });
    if (!main) return result;
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.Messages += program.FindWindowOfClass("#32770") != nullptr;
    auto skinned = [main] { return SendMessageA(main, WM_SKINQUERY, 0, 0) == 1; };
    result.Skinned = skinExpected ? WaitFor(skinned) : skinned();
    // A skinned frame takes the system menu from the native caption.
    const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    result.NativeCaption = (style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU);
    TKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.ProcessId()));
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(process.Get(), &counters, sizeof counters);
    result.PeakMB = counters.PeakWorkingSetSize / 1048576.0;
    PostMessageA(main, WM_CLOSE, 0, 0);
    result.Closed = program.WaitForExit() && program.ExitCode() == 0;
    return result;
}

} // namespace

TEST(HostileSkinProgram, StartsUsableAndBoundedWithEachDamagedSkin) {
    const TStart own = StartWith("", true);
    ASSERT_TRUE(own.Closed);
    EXPECT_EQ(own.Messages, 0);
    EXPECT_TRUE(own.Skinned);
    EXPECT_FALSE(own.NativeCaption);
    std::printf("own skin: %.2f s, peak %.1f MB\n", own.Seconds, own.PeakMB);
    // Refused with the one message, the program runs unskinned; an ini that names no
    // frame leaves the native one.
    for (const wchar_t* shape : {L"HOSTILE_NAMES", L"HOSTILE_INI", L"HOSTILE_SECTIONS",
                                 L"HOSTILE_PICTURES", L"HOSTILE_NOINI", L"HOSTILE_GARBAGE"}) {
        const std::string name = ToUtf8(shape);
        const std::string stream = OwnResource(shape);
        ASSERT_FALSE(stream.empty()) << name;
        const bool garbage = name == "HOSTILE_GARBAGE";
        const TStart hostile = StartWith(stream, garbage);
        std::printf("%s: %.2f s, peak %.1f MB\n", name.c_str(), hostile.Seconds, hostile.PeakMB);
        EXPECT_TRUE(hostile.Closed) << name;
        EXPECT_TRUE(hostile.NativeCaption) << name;
        EXPECT_LT(hostile.PeakMB, own.PeakMB + 100) << name;
        if (garbage) {
            EXPECT_EQ(hostile.Messages, 0);
            EXPECT_TRUE(hostile.Skinned);
        } else {
            EXPECT_EQ(hostile.Messages, 1) << name;
            EXPECT_FALSE(hostile.Skinned) << name;
        }
    }
}
