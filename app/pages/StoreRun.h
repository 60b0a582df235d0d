#pragma once
// Runs over a selection of the finders' files under a progress window.
#include "app/finders/RemovedFileStore.h"
#include "classlib/gui/BusyScope.h"
#include "classlib/gui/Controls.h"
#include "engine/Progress.h"

// A progress window over count files whose Stop ends the run after the current file;
// the window that holds `owner` takes no input while it lives. A run shorter than
// 50 ms shows no window.
class TProgressRun {
public:
    TProgressRun(TControl* owner, const std::string& caption, size_t count);
    // After each file (done from 1): the window follows at most every 50 ms, and the
    // program answers its messages meanwhile. False once Stop was clicked.
    bool Step(size_t done, const std::string& file);

private:
    TBusyScope FBusy;
    TfProgress FProgress;
    size_t FCount;
    bool FStop = false;
    DWORD FShown;
};

// StoreFiles under a progress window.
TStoreBatch StoreWithProgress(TRemovedFileStore& store, const std::vector<std::string>& files,
                              const std::string& description, TControl* owner);
