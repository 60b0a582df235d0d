#include "components/WorkThread/WorkThreadGroup.h"
#include "components/WorkThread/WorkThread.h"
#include <algorithm>

void TWorkThreadBase::SetThreadGroup(TWorkThreadGroup* group) {
    if (group == FThreadGroup) return;
    if (FThreadGroup) FThreadGroup->Leave(this);
    FThreadGroup = nullptr;
    if (group && group->Join(this)) FThreadGroup = group;
}

TWorkThreadGroup::~TWorkThreadGroup() {
    while (!FMembers.empty())
        FMembers.back()->SetThreadGroup(nullptr);
    LeaveGroup();
}

bool TWorkThreadGroup::IsRunning() const {
    return RunningCount() > 0;
}

int TWorkThreadGroup::RunningCount() const {
    std::lock_guard lock(const_cast<TWorkThreadGroup*>(this)->Lock());
    return FRunning;
}

bool TWorkThreadGroup::Join(TWorkThreadBase* member) {
    for (TWorkThreadBase* g = this; g; g = g->ThreadGroup())
        if (g == member) return false;
    member->NotifyGroupStart(this);
    std::lock_guard lock(Lock());
    FMembers.push_back(member);
    return true;
}

void TWorkThreadGroup::Leave(TWorkThreadBase* member) {
    member->NotifyGroupTerminate(this);
    std::lock_guard lock(Lock());
    std::erase(FMembers, member);
}

void TWorkThreadGroup::Start(void* data) {
    for (TWorkThreadBase* m : FMembers)
        m->Start(data);
}
void TWorkThreadGroup::Stop() {
    for (TWorkThreadBase* m : FMembers)
        m->Stop();
}
void TWorkThreadGroup::Suspend() {
    for (TWorkThreadBase* m : FMembers)
        m->Suspend();
}
void TWorkThreadGroup::Resume() {
    for (TWorkThreadBase* m : FMembers)
        m->Resume();
}
void TWorkThreadGroup::NotifyGroupStart(TWorkThreadGroup* group) {
    for (TWorkThreadBase* m : FMembers)
        m->NotifyGroupStart(group);
}
void TWorkThreadGroup::NotifyGroupTerminate(TWorkThreadGroup* group) {
    for (TWorkThreadBase* m : FMembers)
        m->NotifyGroupTerminate(group);
}

void TWorkThreadGroup::ThreadStarted(TWorkThread* thread, TWorkExecuteThread* worker, void*& data) {
    bool first;
    {
        std::lock_guard lock(Lock());
        first = FRunning++ == 0;
        if (OnThreadStart) OnThreadStart(thread, worker, data);
    }
    if (ThreadGroup()) ThreadGroup()->ThreadStarted(thread, worker, data);
    if (first && OnStart) OnStart(thread, worker, data);
}

void TWorkThreadGroup::ThreadEnded(TWorkThread* thread, TWorkExecuteThread* worker, void*& data) {
    bool last;
    {
        std::lock_guard lock(Lock());
        if (FRunning > 0) --FRunning;
        last = FRunning == 0;
    }
    if (OnThreadTerminate) OnThreadTerminate(thread, worker, data);
    if (ThreadGroup()) ThreadGroup()->ThreadEnded(thread, worker, data);
    if (last && OnTerminate) OnTerminate(thread, worker, data);
}

// The group's own OnUpdate speaks for the running member of highest update priority.
void TWorkThreadGroup::ThreadUpdate(TWorkThread* thread, TWorkExecuteThread* worker, void*& data,
                                    int percent, int updatePriority) {
    if (OnThreadUpdate) OnThreadUpdate(thread, worker, data, percent);
    if (!OnUpdate) return;
    const bool outranked = std::any_of(FMembers.begin(), FMembers.end(), [&](auto* m) {
        return m->IsRunning() && m->UpdatePriority > updatePriority;
    });
    if (!outranked) OnUpdate(thread, worker, data, percent);
}
