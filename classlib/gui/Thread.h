#pragma once
// The class library's thread: Execute runs on a new thread; OnTerminate runs on the
// main thread (the thread that started the program) through its message handling,
// while the worker waits, so the main thread must keep processing messages (wait
// with WaitWithMessages, never a plain wait, for a thread that may still end).
#include "classlib/base/Handle.h"
#include <atomic>
#include <exception>
#include <functional>
#include <windows.h>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread {
public:
    // Made suspended: Start runs Execute once the derived object exists (starting it
    // here could run Execute before the derived constructor has finished).
    TThread();
    // Requests termination and waits (processing messages) while the thread runs.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start() { Resume(); }
    void Resume();
    void Suspend();
    void Terminate() { FTerminated = true; }
    [[nodiscard]] bool Terminated() const { return FTerminated; }
    [[nodiscard]] bool Finished() const { return FFinished; }
    void SetPriority(TThreadPriority priority);
    [[nodiscard]] HANDLE Handle() const { return FHandle.Get(); }
    // Waits for the end of the thread, processing messages; its OnTerminate has run then.
    void WaitFor();

    // The object deletes itself (on the worker, after OnTerminate) when set.
    bool FreeOnTerminate = false;
    // Main thread. The thread is still alive meanwhile; do not delete it from here.
    std::function<void(TThread* sender)> OnTerminate;
    // What escaped Execute, if anything.
    std::exception_ptr FatalException;

protected:
    virtual void Execute() = 0;

private:
    static DWORD WINAPI ThreadProc(void* param);
    TKernelHandle FHandle;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FSuspended;
};

// Waits for the handle while dispatching posted, timer, paint and sent messages
// (keyboard and mouse input is dropped); WM_QUIT ends the wait and is posted again.
// timeout in milliseconds or INFINITE. Returns the wait's result (WAIT_OBJECT_0 when
// signalled, WAIT_TIMEOUT, WAIT_FAILED, or WAIT_OBJECT_0 + 1 when WM_QUIT ended it).
DWORD WaitWithMessages(HANDLE handle, DWORD timeout);

// Waits as WaitWithMessages until the thread has ended (a WM_QUIT does not end this
// wait). A TThread's OnTerminate has run by then. For a thread that frees itself, keep
// a duplicate of its handle from before it could end.
void WaitForThreadEnd(HANDLE thread);

// The id of the thread that started the program.
DWORD MainThreadID();
