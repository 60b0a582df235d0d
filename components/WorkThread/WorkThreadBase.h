#pragma once
// What threads and thread groups share: the events, the group they belong to, the
// update priority and the lock under which the main-thread events fire.
#include "classlib/gui/Classes.h"
#include <functional>
#include <mutex>

class TWorkExecuteThread;
class TWorkThreadGroup;
class TWorkThreadBase;

// Data is one pointer per run, passed by reference so that handlers can replace it.
using TWorkThreadDataNotifyEvent =
    std::function<void(TObject* sender, TWorkExecuteThread* thread, void*& data)>;
using TWorkThreadUpdateNotifyEvent =
    std::function<void(TObject* sender, TWorkExecuteThread* thread, void*& data, int percent)>;

class TWorkThreadBase : public TComponent {
public:
    explicit TWorkThreadBase(TComponent* owner) : TComponent(owner) {}

    TWorkThreadUpdateNotifyEvent OnUpdate;
    TWorkThreadDataNotifyEvent OnStart;
    TWorkThreadDataNotifyEvent OnTerminate;
    int UpdatePriority = 0;

    [[nodiscard]] TWorkThreadGroup* ThreadGroup() const { return FThreadGroup; }
    // Leaves the old group; joins the new one, and keeps it only when it accepts.
    void SetThreadGroup(TWorkThreadGroup* group);
    // The lock held while the main-thread events fire; OnExecute may take it too.
    [[nodiscard]] std::recursive_mutex& Lock() { return FLock; }

    [[nodiscard]] virtual bool IsRunning() const = 0;
    virtual void Start(void* data = nullptr) = 0;
    virtual void Stop() = 0;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;

protected:
    friend class TWorkThreadGroup;
    // Report every running thread below this member as started or ended to group.
    virtual void NotifyGroupStart(TWorkThreadGroup* group) = 0;
    virtual void NotifyGroupTerminate(TWorkThreadGroup* group) = 0;
    // Call from the most derived destructor.
    void LeaveGroup() { SetThreadGroup(nullptr); }

private:
    TWorkThreadGroup* FThreadGroup = nullptr;
    std::recursive_mutex FLock;
};
