// 200 resizes of the main window, each to a new size and fully painted (frame, client
// and every control), skinned or with the skin switched off, in seconds.
// scripts/bench-skin-resize runs both sides in turn in the Wine virtual desktop.
//   bench_skin_resize skinned | native
#include "app/MainForm.h"
#include "bench/BenchSupport.h"
#include "classlib/gui/Application.h"
#include "skin/SkinManage.h"
#include "skin/SkinMessages.h"
#include "tests/support/PumpMessages.h"
#include <memory>
#include <stdexcept>

namespace {

double Resizes(bool skinned) {
    auto form = std::make_unique<TfMain>(nullptr);
    if (!skinned) form->SkinData->SetActive(false);
    form->Show();
    HWND wnd = form->Handle();
    const bool ready = PumpUntil(
        [&] {
            const bool isSkinned = SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1;
            TSkinForm* skinForm = SkinManager() ? SkinManager()->FindSkinForm(wnd) : nullptr;
            return skinned ? isSkinned && skinForm && skinForm->Activated() : !isSkinned;
        },
        10000);
    PumpUntil([] { return false; }, 300); // the manager's timer has had its turn
    if (!ready || (SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1) != skinned)
        throw std::runtime_error("the main window is not in the state measured");
    RECT start;
    GetWindowRect(wnd, &start);
    const int w = start.right - start.left, h = start.bottom - start.top;
    return Seconds([&] {
        for (int i = 0; i < 200; ++i) {
            const int grow = (i % 20) * 4;
            SetWindowPos(wnd, nullptr, 0, 0, w + grow, h + grow,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            RedrawWindow(wnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            GdiFlush();
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    Application->Initialize();
    return RunSide(argc, argv,
                   {{"skinned", [](const std::vector<std::string>&) { return Resizes(true); }},
                    {"native", [](const std::vector<std::string>&) { return Resizes(false); }}},
                   "bench_skin_resize skinned | native");
}
