#include "app/pages/StoreRun.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"

namespace {
// Repainting costs more than a file: the window follows at most this often.
constexpr DWORD ProgressInterval = 50;

TControl* FormOf(TControl* owner) {
    TControl* form = GetParentForm(owner);
    return form ? form : owner;
}
} // namespace

TProgressRun::TProgressRun(TControl* owner, const std::string& caption, size_t count)
    : FBusy({FormOf(owner)}), FProgress(nullptr), FCount(count), FShown(GetTickCount()) {
    FProgress.SetCaption(caption);
    FProgress.btnCancel->SetCaption("&Stop");
    FProgress.PassProgressBar->SetVisible(false);
    FProgress.FileProgressBar->SetMax(static_cast<int>(count));
    FProgress.OnCancel = [this](TObject*) { FStop = true; };
}

bool TProgressRun::Step(size_t done, const std::string& file) {
    if (GetTickCount() - FShown < ProgressInterval) return !FStop;
    FProgress.SetFileName(file);
    FProgress.FileProgressBar->SetPosition(static_cast<int>(done));
    FProgress.lblPass->SetCaption(IntToStr(static_cast<int>(done)) + " of " +
                                  IntToStr(static_cast<int>(FCount)));
    if (!FProgress.Visible()) FProgress.Show();
    Application->ProcessMessages();
    FShown = GetTickCount();
    return !FStop;
}

TStoreBatch StoreWithProgress(TRemovedFileStore& store, const std::vector<std::string>& files,
                              const std::string& description, TControl* owner) {
    TProgressRun run(owner, "Moving files into the store", files.size());
    return store.StoreFiles(files, description,
                            [&](size_t done) { return run.Step(done, files[done - 1]); });
}
