#include "classlib/gui/Thread.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/WindowObjects.h"

namespace {
constexpr UINT WM_THREADTERMINATE = WM_USER + 1;
const DWORD GMainThreadID = GetCurrentThreadId();

LRESULT CALLBACK NotifyWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_THREADTERMINATE) return DefWindowProcW(wnd, msg, wParam, lParam);
    auto* thread = reinterpret_cast<TThread*>(lParam);
    try {
        if (thread->OnTerminate) thread->OnTerminate(thread);
    } catch (...) {
        Application->HandleException(nullptr);
    }
    return 0;
}

// A message-only window of the main thread, created while the program starts, to
// which workers send their termination notification. The object only names the
// window as the library's.
class TThreadNotifyWindow : public TObject {
public:
    TThreadNotifyWindow() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = NotifyWndProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TThreadNotifyWindow";
        RegisterClassW(&cls);
        TWindowCreation creation(*this, "TThreadNotifyWindow", [](TObject&, HWND) {});
        Handle = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 cls.hInstance, nullptr);
        WindowObject(Handle);
    }
    ~TThreadNotifyWindow() override { SetWindowObject(Handle, nullptr); }
    HWND Handle;
};
const TThreadNotifyWindow GNotifyObject;
const HWND GNotifyWindow = GNotifyObject.Handle;

constexpr int Priorities[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                              THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                              THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                              THREAD_PRIORITY_TIME_CRITICAL};

bool IsInputMessage(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= 0x108) || (msg >= WM_MOUSEFIRST && msg <= 0x20A);
}

// False when WM_QUIT arrived (it is posted again for the caller's loop).
bool DispatchPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (IsInputMessage(msg.message)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}
} // namespace

DWORD MainThreadID() {
    return GMainThreadID;
}

DWORD WaitWithMessages(HANDLE handle, DWORD timeout) {
    TKernelHandle duplicate;
    if (handle == GetCurrentThread() || handle == GetCurrentProcess()) {
        DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), duplicate.Out(),
                        SYNCHRONIZE, FALSE, 0);
        handle = duplicate.Get();
    }
    constexpr DWORD WakeMask = QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE;
    for (;;) {
        const DWORD start = GetTickCount();
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, timeout, WakeMask);
        if (result != WAIT_OBJECT_0 + 1) return result;
        if (!DispatchPending()) return result;
        if (timeout != INFINITE) {
            const DWORD elapsed = GetTickCount() - start;
            timeout = elapsed >= timeout ? 0 : timeout - elapsed;
        }
    }
}

TThread::TThread() : FSuspended(true) {
    DWORD id = 0;
    FHandle.Reset(CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id));
}

TThread::~TThread() {
    if (!FHandle || GetCurrentThreadId() == GetThreadId(FHandle.Get())) return;
    if (FFinished) {
        WaitFor(); // only the thread's last instructions remain
        return;
    }
    Terminate();
    if (FSuspended) {
        OnTerminate = nullptr; // never started: nobody awaits its end
        DWORD count;
        do
            count = ResumeThread(FHandle.Get());
        while (count > 1 && count != static_cast<DWORD>(-1));
        FSuspended = false;
    }
    WaitFor();
}

DWORD WINAPI TThread::ThreadProc(void* param) {
    auto* thread = static_cast<TThread*>(param);
    try {
        if (!thread->FTerminated) thread->Execute();
    } catch (...) {
        thread->FatalException = std::current_exception();
    }
    thread->FFinished = true;
    SendMessageW(GNotifyWindow, WM_THREADTERMINATE, 0, reinterpret_cast<LPARAM>(thread));
    if (thread->FreeOnTerminate) delete thread;
    return 0;
}

void TThread::Resume() {
    if (ResumeThread(FHandle.Get()) == 1) FSuspended = false;
}

void TThread::Suspend() {
    if (SuspendThread(FHandle.Get()) != static_cast<DWORD>(-1)) FSuspended = true;
}

void TThread::SetPriority(TThreadPriority priority) {
    SetThreadPriority(FHandle.Get(), Priorities[priority]);
}

void TThread::WaitFor() {
    WaitForThreadEnd(FHandle.Get());
}

void WaitForThreadEnd(HANDLE thread) {
    for (;;) {
        const DWORD result = WaitWithMessages(thread, INFINITE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) return;
    }
}
