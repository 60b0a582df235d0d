// Switches the main window's pages 500 times, with the window and its controls
// painted from the skin or natively, and prints the seconds it took (every page is
// shown once before, so its windows exist). scripts/bench-pages runs both in turn.
//   bench_page_switch switch skinned|native
#include "app/MainForm.h"
#include "bench/BenchSupport.h"
#include "classlib/gui/Application.h"
#include "skin/SkinManage.h"

namespace {

void Pump() {
    while (Application->ProcessMessage()) {
    }
}

double SwitchPages(const std::vector<std::string>& args) {
    const bool skinned = Arg(args, 0) == "skinned";
    auto main = new TfMain(Application);
    if (!skinned) main->SkinData->SetActive(false);
    main->Show();
    const double until = CounterSeconds() + 10;
    while (skinned && CounterSeconds() < until) {
        Pump();
        TSkinForm* form = SkinManager()->FindSkinForm(main->Handle());
        if (form && form->Activated()) break;
        Sleep(5);
    }
    const std::vector<TButton*> pages = main->NavigationButtons();
    auto visit = [&](TButton* page) {
        page->Click();
        Pump();
        RedrawWindow(main->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    for (TButton* page : pages)
        visit(page);
    const double seconds = Seconds([&] {
        for (int i = 0; i < 500; ++i)
            visit(pages[i % 8]);
    });
    delete main;
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    Application->Initialize();
    return RunSide(argc, argv, {{"switch", SwitchPages}},
                   "bench_page_switch switch skinned|native");
}
