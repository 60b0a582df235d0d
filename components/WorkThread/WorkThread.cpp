#include "components/WorkThread/WorkThread.h"
#include "components/WorkThread/WorkThreadGroup.h"

TWorkExecuteThread::TWorkExecuteThread(TWorkThread& owner, void* data) : Data(data), FOwner(owner) {
    FreeOnTerminate = true;
    SetPriority(owner.Priority());
    OnTerminate = [&owner](TThread* t) {
        owner.ThreadTerminated(static_cast<TWorkExecuteThread*>(t));
    };
}

void TWorkExecuteThread::Execute() {
    FOwner.DoExecute(this);
}

TWorkThread::TWorkThread(TComponent* owner) : TWorkThreadBase(owner), FTimer(new TTimer(this)) {
    FTimer->SetName("UpdateTimer");
    FTimer->SetEnabled(false);
    FTimer->SetInterval(100);
    FTimer->SetOnTimer([this](TObject*) { TimerTick(); });
}

TWorkThread::~TWorkThread() {
    FTimer->SetEnabled(false);
    if (FWorker) {
        // Only forgets the worker (and tells the group): no OnTerminate while destroying.
        FWorker->OnTerminate = [this](TThread* t) {
            ClearThread(static_cast<TWorkExecuteThread*>(t));
        };
        TKernelHandle handle;
        DuplicateHandle(GetCurrentProcess(), FWorker->Handle(), GetCurrentProcess(), handle.Out(),
                        SYNCHRONIZE, FALSE, 0);
        Stop();
        WaitForThreadEnd(handle.Get());
    }
    LeaveGroup();
}

void TWorkThread::SetPriority(TThreadPriority priority) {
    FPriority = priority;
    if (FWorker) FWorker->SetPriority(priority);
}

void TWorkThread::SetUpdateEnabled(bool enabled) {
    if (enabled == FUpdateEnabled) return;
    FUpdateEnabled = enabled;
    FTimer->SetEnabled(enabled);
}

void TWorkThread::Start(void* data) {
    if (FWorker) return;
    FWorker = new TWorkExecuteThread(*this, data);
    NotifyGroupStart(ThreadGroup());
    if (OnStart) {
        std::lock_guard lock(Lock());
        OnStart(this, FWorker, FWorker->Data);
    }
    FWorker->Start();
    FTimer->SetEnabled(FUpdateEnabled);
}

void TWorkThread::Stop() {
    if (!FWorker) return;
    FWorker->Resume();
    FWorker->Terminate();
}

void TWorkThread::Suspend() {
    if (FWorker) FWorker->Suspend();
}

void TWorkThread::Resume() {
    if (FWorker) FWorker->Resume();
}

void TWorkThread::NotifyGroupStart(TWorkThreadGroup* group) {
    if (FWorker && group) group->ThreadStarted(this, FWorker, FWorker->Data);
}

void TWorkThread::NotifyGroupTerminate(TWorkThreadGroup* group) {
    if (FWorker && group) group->ThreadEnded(this, FWorker, FWorker->Data);
}

void TWorkThread::DoExecute(TWorkExecuteThread* worker) {
    if (OnExecute) OnExecute(this, worker, worker->Data);
}

void TWorkThread::TimerTick() {
    if (!FWorker) return;
    const int percent = FWorker->Percent;
    if (ThreadGroup())
        ThreadGroup()->ThreadUpdate(this, FWorker, FWorker->Data, percent, UpdatePriority);
    if (OnUpdate) {
        std::lock_guard lock(Lock());
        OnUpdate(this, FWorker, FWorker->Data, percent);
    }
}

// The worker is forgotten before the group hears of its end, so that the group counts
// it as ended.
void TWorkThread::ClearThread(TWorkExecuteThread* worker) {
    FWorker = nullptr;
    if (ThreadGroup()) ThreadGroup()->ThreadEnded(this, worker, worker->Data);
}

// Main thread, while the worker waits for this notification to return.
void TWorkThread::ThreadTerminated(TWorkExecuteThread* worker) {
    FTimer->SetEnabled(false);
    ClearThread(worker);
    if (OnTerminate) {
        std::lock_guard lock(Lock());
        OnTerminate(this, worker, worker->Data);
    }
    FTimer->SetEnabled(FUpdateEnabled);
}
