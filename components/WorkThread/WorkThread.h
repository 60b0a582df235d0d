#pragma once
// Runs one piece of work at a time on a worker thread. OnStart, OnUpdate and
// OnTerminate fire on the main thread holding Lock(); OnExecute fires on the worker
// without it.
#include "classlib/gui/Thread.h"
#include "classlib/gui/Timer.h"
#include "components/WorkThread/WorkThreadBase.h"
#include <atomic>

class TWorkThread;

class TWorkExecuteThread : public TThread {
public:
    TWorkExecuteThread(TWorkThread& owner, void* data);
    void* Data;
    std::atomic<int> Percent{0}; // set by the work to report progress

protected:
    void Execute() override;

private:
    TWorkThread& FOwner;
};

class TWorkThread : public TWorkThreadBase {
public:
    explicit TWorkThread(TComponent* owner);
    // With work running: asks it to end and waits, processing messages, until it has.
    ~TWorkThread() override;

    // Worker thread, without the lock.
    TWorkThreadDataNotifyEvent OnExecute;

    [[nodiscard]] unsigned RefreshInterval() const { return FTimer->Interval(); }
    void SetRefreshInterval(unsigned ms) { FTimer->SetInterval(ms); }
    [[nodiscard]] TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority priority); // applies at once to running work
    [[nodiscard]] bool UpdateEnabled() const { return FUpdateEnabled; }
    void SetUpdateEnabled(bool enabled);

    [[nodiscard]] bool IsRunning() const override { return FWorker != nullptr; }
    // Does nothing while work runs.
    void Start(void* data = nullptr) override;
    // Resumes the worker and sets its terminate request; the work is to look at it.
    void Stop() override;
    void Suspend() override;
    void Resume() override;

protected:
    void NotifyGroupStart(TWorkThreadGroup* group) override;
    void NotifyGroupTerminate(TWorkThreadGroup* group) override;

private:
    friend class TWorkExecuteThread;
    void DoExecute(TWorkExecuteThread* worker);
    void TimerTick();
    void ThreadTerminated(TWorkExecuteThread* worker);
    void ClearThread(TWorkExecuteThread* worker);

    TTimer* FTimer;                        // owned as a component
    TWorkExecuteThread* FWorker = nullptr; // frees itself when it ends
    TThreadPriority FPriority = tpNormal;
    bool FUpdateEnabled = true;
};
