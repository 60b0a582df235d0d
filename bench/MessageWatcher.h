#pragma once
// A watcher on a thread of its own that sends a window WM_NULL every 5 ms and keeps the
// longest time one waited for its answer: how long the window's thread left its
// messages waiting.
#include "bench/BenchSupport.h"
#include "classlib/base/Handle.h"
#include "classlib/gui/Application.h"
#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

class TMessageWatcher {
public:
    // window(): the window to watch (asked on the watcher's thread), nullptr while
    // there is none yet.
    explicit TMessageWatcher(std::function<HWND()> window)
        : FWindow(std::move(window)), FEnded(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          FThread([this] { Watch(); }) {}
    ~TMessageWatcher() { Stop(); }
    TMessageWatcher(const TMessageWatcher&) = delete;
    TMessageWatcher& operator=(const TMessageWatcher&) = delete;

    // Ends the watch and returns the longest wait in seconds. The watcher's last
    // message is answered here, not left to its time-out.
    double Stop() {
        FDone = true;
        HANDLE end = FEnded.Get();
        while (MsgWaitForMultipleObjects(1, &end, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            Application->ProcessMessages();
        if (FThread.joinable()) FThread.join();
        return FLongest;
    }

private:
    void Watch() {
        while (!FDone) {
            if (HWND window = FWindow()) {
                const double start = CounterSeconds();
                DWORD_PTR result = 0;
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                FLongest = std::max(FLongest, CounterSeconds() - start);
            }
            Sleep(5);
        }
        SetEvent(FEnded.Get());
    }

    std::function<HWND()> FWindow;
    TKernelHandle FEnded;
    std::atomic<bool> FDone{false};
    double FLongest = 0;
    std::thread FThread; // last: it starts once the rest is made
};
