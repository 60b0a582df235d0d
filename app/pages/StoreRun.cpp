#include "app/pages/StoreRun.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/BusyScope.h"
#include "classlib/gui/Form.h"
#include "engine/Progress.h"

namespace {
// A batch shorter than this shows no window; then it follows at most this often, as
// repainting costs more than a move.
constexpr DWORD ProgressInterval = 50;
} // namespace

TStoreBatch StoreWithProgress(TRemovedFileStore& store, const std::vector<std::string>& files,
                              const std::string& description, TControl* owner) {
    TControl* form = GetParentForm(owner);
    TBusyScope busy({form ? form : owner});
    TfProgress progress(nullptr);
    progress.SetCaption("Moving files into the store");
    progress.btnCancel->SetCaption("&Stop");
    progress.PassProgressBar->SetVisible(false);
    progress.FileProgressBar->SetMax(static_cast<int>(files.size()));
    bool stop = false;
    progress.OnCancel = [&stop](TObject*) { stop = true; };
    DWORD shown = GetTickCount();
    return store.StoreFiles(files, description, [&](size_t done) {
        if (GetTickCount() - shown < ProgressInterval) return !stop;
        progress.SetFileName(files[done - 1]);
        progress.FileProgressBar->SetPosition(static_cast<int>(done));
        progress.lblPass->SetCaption(IntToStr(static_cast<int>(done)) + " of " +
                                     IntToStr(static_cast<int>(files.size())));
        if (!progress.Visible()) progress.Show();
        Application->ProcessMessages();
        shown = GetTickCount();
        return !stop;
    });
}
