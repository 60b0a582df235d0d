#pragma once
// Storing a selection of the finders' files under a progress window.
#include "app/finders/RemovedFileStore.h"
#include "classlib/gui/Controls.h"

// StoreFiles under a progress window whose Stop ends the batch after the current
// file; the window that holds `owner` takes no input until the batch has ended.
TStoreBatch StoreWithProgress(TRemovedFileStore& store, const std::vector<std::string>& files,
                              const std::string& description, TControl* owner);
