// Shows a shredding list of 2,000 files and prints the seconds it took, painted:
//   bench_shredder_list native <folder>  a plain list view with the same rows
//   bench_shredder_list open <folder>    the program's "File Shredding" page, filled
//                                        from the shredder and opened
//   bench_shredder_list refill <folder>  the open page filled again, as after Start
// scripts/bench-shredder-list runs the sides in turn on the same planted files.
#include "app/pages/FileShredderFrame.h"
#include "bench/BenchSupport.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "engine/EraserEngine.h"
#include <commctrl.h>

namespace {

const int ListFiles = 2000;

void Pump() {
    while (Application->ProcessMessage()) {
    }
}

// The files, planted once: long names in a deep folder, as a user's list has them.
std::vector<std::string> Files(const std::string& folder) {
    const std::string deep = folder + "\\application data\\working files\\of the week\\";
    ForceDirectories(deep);
    std::vector<std::string> files;
    for (int i = 0; i < ListFiles; ++i) {
        files.push_back(deep + "working file number " + IntToStr(i) + (i % 3 ? ".doc" : ".tmp"));
        if (!FileExists(files.back())) PlantFile(files.back(), 0);
    }
    return files;
}

double Native(const std::vector<std::string>& args) {
    const std::vector<std::string> files = Files(Arg(args, 0));
    return Seconds([&] {
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                      nullptr, nullptr, nullptr, nullptr);
        HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10,
                                    600, 400, window, nullptr, nullptr, nullptr);
        for (const wchar_t* caption : {L"Name", L"Path"}) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<wchar_t*>(caption);
            column.cx = 200;
            SendMessageW(list, LVM_INSERTCOLUMNW, caption[0] == 'P',
                         reinterpret_cast<LPARAM>(&column));
        }
        for (size_t i = 0; i < files.size(); ++i) {
            std::wstring name = ToWide(ExtractFileName(files[i]));
            std::wstring path = ToWide(ExtractFilePath(files[i]));
            LVITEMW row{};
            row.mask = LVIF_TEXT;
            row.iItem = static_cast<int>(i);
            row.pszText = name.data();
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
            row.iSubItem = 1;
            row.pszText = path.data();
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&row));
        }
        ShowWindow(window, SW_SHOW);
        Pump();
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        DestroyWindow(window);
    });
}

double ShowPage(const std::vector<std::string>& args, bool refill) {
    TEraserEngine engine;
    for (const std::string& file : Files(Arg(args, 0))) {
        auto item = std::make_unique<TWipeItem>();
        item->Path = file;
        engine.Shredder->WipeFiles.AddItem(std::move(item));
    }
    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 600);
    auto page = new TTFileShredder(&form);
    page->SetParent(&form);
    page->SetEngine(&engine);
    // As the main window does: the lists filled at the start, the page shown later.
    auto show = [&] {
        page->LoadLists();
        if (!form.Visible()) {
            form.Show();
            page->FirstShow();
        }
        Pump();
        RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    if (refill) show();
    const double seconds = Seconds(show);
    if (page->lvFiles->Count() != ListFiles) throw std::runtime_error("the list is not filled");
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    Application->Initialize();
    return RunSide(argc, argv,
                   {{"native", Native},
                    {"open", [](const auto& args) { return ShowPage(args, false); }},
                    {"refill", [](const auto& args) { return ShowPage(args, true); }}},
                   "bench_shredder_list native|open|refill <folder>");
}
