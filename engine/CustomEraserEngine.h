#pragma once
// Runs an ordered list of erasers, writing one progress line per step, adding up
// what was erased and honouring the cancel and simulation flags. Owns the
// next-start eraser to which undeletable files are deferred. Main thread only.
#include "classlib/base/WorkQueue.h"
#include "engine/erasers/PostEraser.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TEraser;

class TCustomEraserEngine {
public:
    TCustomEraserEngine() = default;
    virtual ~TCustomEraserEngine() = default;
    TCustomEraserEngine(const TCustomEraserEngine&) = delete;
    TCustomEraserEngine& operator=(const TCustomEraserEngine&) = delete;

    // One log line; Sender is the eraser the line is about, or nullptr. Main thread.
    std::function<void(TEraser* Sender, const std::string& Msg)> OnProgress;
    // Fired by Clean before its first line. Main thread.
    std::function<void(TCustomEraserEngine* Sender)> OnCleanStart;
    // Fired by Clean after its run, Running already cleared. Main thread.
    std::function<void(TCustomEraserEngine* Sender)> OnCleanEnd;
    // Lets the message loop process pending messages before every eraser and every
    // folder entry (the program binds Application.ProcessMessages); a Stop may arrive
    // from inside it. A run calls it first thing, then at most every PumpInterval
    // milliseconds (0: at every call): under Wine every look at the queue is a round
    // trip to the server, as dear as a third of a file's deletion.
    std::function<void()> OnProcessMessages;
    unsigned PumpInterval = 15;

    std::vector<TEraser*> Erasers; // run order; not owned (the subclass frees them)
    bool Running = false;
    bool Cancelled = false;
    int KeysErased = 0;
    int ValuesErased = 0;
    int FoldersErased = 0;
    int FilesErased = 0;
    int64_t BytesErased = 0; // 64 bits: a large run's summary stays true
    TPostEraser PostEraser;
    bool SimulationMode = false; // erasers count what they would erase, delete nothing

    void AddEraser(TEraser* Eraser);
    void DoProgress(TEraser* Sender, const std::string& Msg);
    void ProcessMessages();
    // Runs every enabled eraser in list order; an eraser's error ends that eraser only.
    void Execute();
    // Threads on which the erasers delete or check files while the main thread lists
    // and counts: under Wine each file is a few round trips to the server, and two
    // files in flight hide most of their wait. Made on first use.
    TWorkQueue& FileWorkers();

private:
    uint64_t FLastPump = 0; // tick count of the last pump; 0 before a run's first
    std::unique_ptr<TWorkQueue> FFileWorkers;
    void ResetCounters();
    void RunEraser(TEraser& Eraser);
};
