#pragma once
// Gathers threads and other groups so that they start and stop together and report
// as one: OnStart when the first member thread starts, OnTerminate when the last ends.
#include "components/WorkThread/WorkThreadBase.h"
#include <vector>

class TWorkThread;

class TWorkThreadGroup : public TWorkThreadBase {
public:
    explicit TWorkThreadGroup(TComponent* owner) : TWorkThreadBase(owner) {}
    ~TWorkThreadGroup() override; // every member leaves first

    // OnThreadStart fires under the group's lock; the others without it.
    TWorkThreadDataNotifyEvent OnThreadStart;
    TWorkThreadDataNotifyEvent OnThreadTerminate;
    TWorkThreadUpdateNotifyEvent OnThreadUpdate;

    [[nodiscard]] bool IsRunning() const override;
    [[nodiscard]] int RunningCount() const;
    // Applied to every direct member in order.
    void Start(void* data = nullptr) override;
    void Stop() override;
    void Suspend() override;
    void Resume() override;

protected:
    void NotifyGroupStart(TWorkThreadGroup* group) override;
    void NotifyGroupTerminate(TWorkThreadGroup* group) override;

private:
    friend class TWorkThread;
    friend class TWorkThreadBase;
    // Through SetThreadGroup. Refused (false) for the group itself and for any group
    // that contains it; running threads are reported as started or ended.
    bool Join(TWorkThreadBase* member);
    void Leave(TWorkThreadBase* member);
    void ThreadStarted(TWorkThread* thread, TWorkExecuteThread* worker, void*& data);
    void ThreadEnded(TWorkThread* thread, TWorkExecuteThread* worker, void*& data);
    void ThreadUpdate(TWorkThread* thread, TWorkExecuteThread* worker, void*& data, int percent,
                      int updatePriority);

    std::vector<TWorkThreadBase*> FMembers; // direct members, not owned
    int FRunning = 0;
};
