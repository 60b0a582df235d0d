// The wipe-method dialogs driven in the running program by a seeded run of what a user
// does (new, edit, rename, delete, passes, OK, Cancel, Close, restart), checked after
// every step against a model: the list's rows, the ".mtd" files and the bindings in
// "options.ini". TW_METHODS_SEED replays a run.
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <commctrl.h>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>

namespace {

struct TModelPass {
    std::string Name;
    int Byte = 0;
};

struct TModelMethod {
    std::string File; // without folder
    std::string Name;
    std::vector<TModelPass> Passes;
};

// An ini file as the program writes it: section, then key, both lower case.
using TIni = std::map<std::string, std::map<std::string, std::string>>;

TIni ReadIni(const std::string& path) {
    TIni ini;
    std::istringstream in(FileExists(path) ? ReadFileToString(path) : "");
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 1 && line.front() == '[') {
            section = LowerCase(line.substr(1, line.find(']') - 1));
        } else if (size_t eq = line.find('='); eq != std::string::npos) {
            ini[section][LowerCase(line.substr(0, eq))] = line.substr(eq + 1);
        }
    }
    return ini;
}

const char* const EngineNames[] = {"WipeFiles", "WipeFolders", "WipeFreeSpace"};

class MethodDialogs : public TProgramTest {
protected:
    // --- the model -------------------------------------------------------------------
    std::vector<TModelMethod> Methods;         // in the list's order
    std::map<std::string, std::string> Bound;  // engine -> value in "Engines"
    std::map<std::string, std::string> Chosen; // engine -> file of its method, "" for none
    int Engine = 0;                            // the engine the dialog is open for
    std::mt19937 Random;
    int Counter = 0; // makes every name unique

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }
    bool Chance(int percent) { return Pick(100) < percent; }
    std::string Unique(const std::string& prefix) { return prefix + IntToStr(++Counter); }
    // The only names made outside ASCII here are ones the code page lacks.
    static bool Bindable(const TModelMethod& m) { return IsAscii(m.File); }
    int IndexOfFile(const std::string& file) const {
        for (size_t i = 0; i < Methods.size(); ++i)
            if (SameText(Methods[i].File, file)) return static_cast<int>(i);
        return -1;
    }
    std::string MethodsDir() const { return Program.Dir() + "Methods\\"; }

    // --- windows ---------------------------------------------------------------------
    HWND List = nullptr; // the methods dialog's list
    HWND Form = nullptr; // the methods dialog

    static bool Gone(HWND wnd) { return !IsWindow(wnd) || !IsWindowVisible(wnd); }
    static void WaitGone(HWND wnd) {
        ASSERT_TRUE(WaitFor([&] { return Gone(wnd); }));
    }
    static int SelectedRow(HWND list) {
        return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    }
    HWND Button(HWND form, const char* caption) { return FindChild(form, "TButton", caption); }

    // --- checks ----------------------------------------------------------------------
    std::vector<std::string> ModelNames() const {
        std::vector<std::string> names;
        for (const TModelMethod& m : Methods)
            names.push_back(m.Name);
        return names;
    }
    // What the files and "options.ini" hold, in the model's words; "" when they agree.
    std::string DiskDisagreement() const {
        std::vector<std::string> files, expected;
        const TStringList listed = ListFiles(MethodsDir(), "*");
        for (int i = 0; i < listed.Count(); ++i)
            files.push_back(LowerCase(listed[i]));
        for (const TModelMethod& m : Methods)
            expected.push_back(LowerCase(m.File));
        std::sort(files.begin(), files.end());
        std::sort(expected.begin(), expected.end());
        if (files != expected) return "the files of \"Methods\" differ";
        for (const TModelMethod& m : Methods) {
            TIni ini = ReadIni(MethodsDir() + m.File);
            std::string passes = ini["method"]["name"] + ":";
            const int count = StrToIntDef(ini["method"]["passes"], -1);
            for (int n = 1; n <= count; ++n) {
                auto& pass = ini["pass" + IntToStr(n)];
                passes += " " + pass["name"] + "=" + pass["bytepatternvalue"];
            }
            std::string wanted = m.Name + ":";
            for (const TModelPass& p : m.Passes)
                wanted += " " + p.Name + "=" + IntToStr(p.Byte);
            if (passes != wanted)
                return m.File + " holds \"" + passes + "\", not \"" + wanted + "\"";
        }
        TIni options = ReadIni(Program.Dir() + "options.ini");
        for (const char* engine : EngineNames) {
            const std::string value = options["engines"][LowerCase(engine)];
            if (value != Bound.at(engine))
                return std::string(engine) + " is bound to \"" + value + "\", not \"" +
                       Bound.at(engine) + "\"";
        }
        return "";
    }
    // The dialog's rows and the files agree with the model (the program may still be
    // finishing a handler: wait a little for it).
    void CheckAll() {
        ASSERT_TRUE(WaitFor([&] { return ListViewCaptions(List) == ModelNames(); }, 5000))
            << testing::PrintToString(ListViewCaptions(List)) << " listed, expected "
            << testing::PrintToString(ModelNames());
        ASSERT_TRUE(WaitFor([&] { return DiskDisagreement().empty(); }, 5000))
            << DiskDisagreement();
    }

    // --- the dialog ------------------------------------------------------------------
    // Opens the dialog with the Options button of the engine's page.
    void PressOptions(int engine) {
        if (engine == 2) {
            PostClick(Shown(Main, "TButton", "Free Space Clean "));
            HWND page =
                GetParent(Shown(Main, "TCheckBox", "Clean free space for the following drives:"));
            PostClick(FindChild(page, "TButton", "&Options"));
        } else {
            PostClick(Shown(Main, "TButton", "File Shredder          "));
            const char* group = engine == 0 ? " Shred Files " : " Shred Folders ";
            PostClick(Button(Shown(Main, "TGroupBox", group), "&Options"));
        }
        Form = Program.WaitForWindow("TfMethodsForm");
        ASSERT_NE(Form, nullptr);
        List = FindChild(Form, "TListView");
        Engine = engine;
    }
    // The engine's method is selected, else the first row.
    void CheckOpened() {
        CheckAll();
        int expected = Methods.empty() ? -1 : 0;
        if (int i = IndexOfFile(Chosen[EngineNames[Engine]]); i >= 0) expected = i;
        EXPECT_EQ(SelectedRow(List), expected)
            << "selected when opened for " << EngineNames[Engine];
    }
    void OpenDialog(int engine) {
        PressOptions(engine);
        CheckOpened();
    }
    void Select(int row) {
        ListViewSelect(List, row);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(Button(Form, "&Edit")) != FALSE; }));
    }

    // A session in the editor on a copy of the method; true when it ends with OK.
    bool EditInEditor(TModelMethod& copy, const char* caption, bool rename, std::string& log) {
        HWND editor = Program.WaitForWindow("TfEditMethod");
        EXPECT_NE(editor, nullptr);
        if (!editor) return false;
        EXPECT_EQ(WindowText(editor), caption);
        HWND passes = FindChild(editor, "TListView");
        HWND name = FindChild(editor, "TEdit");
        EXPECT_EQ(WindowText(name), copy.Name);
        int counter = static_cast<int>(copy.Passes.size()) + 1; // the next "passN"
        auto captions = [&] {
            std::vector<std::string> names;
            for (const TModelPass& p : copy.Passes)
                names.push_back(p.Name);
            return names;
        };
        EXPECT_TRUE(WaitFor([&] { return ListViewCaptions(passes) == captions(); }, 5000));
        if (rename) {
            copy.Name = Unique(Chance(30) ? "DoD 5220.22-M " : "Method ");
            SetText(name, copy.Name);
            log += ", named " + copy.Name;
        }
        for (int edits = Pick(5); edits > 0; --edits) {
            const int kind = copy.Passes.empty() ? 0 : Pick(5);
            const int j = copy.Passes.empty() ? 0 : Pick(static_cast<int>(copy.Passes.size()));
            if (kind > 0) ListViewSelect(passes, j);
            if (kind == 0) { // add a pass
                SendMessageA(FindChild(editor, "TBitBtn", "Add"), BM_CLICK, 0, 0);
                copy.Passes.push_back({"pass" + IntToStr(counter++), 0});
                log += ", add pass";
            } else if (kind == 1) { // rename a pass in the input box
                PostClick(FindChild(editor, "TBitBtn", "Edit"));
                HWND input = Program.WaitForWindow("TInputBoxForm");
                EXPECT_NE(input, nullptr);
                if (!input) return false;
                const std::string newName = Unique("p");
                SetText(FindChild(input, "TEdit"), newName);
                const bool ok = Chance(80);
                PostClick(Button(input, ok ? "OK" : "Cancel"));
                WaitGone(input);
                log += ", rename pass " + IntToStr(j + 1) + (ok ? " OK" : " Cancel");
                if (ok) copy.Passes[j].Name = newName;
            } else if (kind == 2) { // delete a pass after the question
                PostClick(FindChild(editor, "TBitBtn", "Delete"));
                HWND box = Box(copy.Passes[j].Name.c_str());
                const bool yes = Chance(75);
                Answer(box, yes ? IDYES : IDNO);
                log += ", delete pass " + IntToStr(j + 1) + (yes ? " Yes" : " No");
                if (yes) copy.Passes.erase(copy.Passes.begin() + j);
            } else { // the pass's byte pattern
                const int value = Pick(256);
                SetText(FindChild(editor, "TSpinEdit"), IntToStr(value));
                copy.Passes[j].Byte = value;
                log += ", pass " + IntToStr(j + 1) + " byte " + IntToStr(value);
            }
            EXPECT_TRUE(WaitFor([&] { return ListViewCaptions(passes) == captions(); }, 5000))
                << testing::PrintToString(ListViewCaptions(passes)) << " shown, expected "
                << testing::PrintToString(captions());
        }
        const bool ok = Chance(80);
        PostClick(Button(editor, ok ? "&OK" : "&Cancel"));
        WaitGone(editor);
        return ok;
    }

    // --- the user's actions ----------------------------------------------------------
    void NewMethod(std::string& log) {
        const int kind = Pick(10);
        std::string typed =
            kind < 3   ? Unique("DoD") + " 5220.22-M" // a dot, no ".mtd"
            : kind < 4 ? Unique("\xce\xa9mega")       // not in the code page
            : kind < 5 && !Methods.empty()
                ? ChangeFileExt(Methods[Pick(static_cast<int>(Methods.size()))].File, "")
                : Unique("m") + (Chance(30) ? ".mtd" : "");
        const bool outside = Chance(20);
        const std::string file = SameText(ExtractFileExt(typed), ".mtd") ? typed : typed + ".mtd";
        log += " \"" + typed + "\"" + (outside ? " outside" : "");
        PostClick(Button(Form, "&New"));
        HWND save = Box();
        ChooseInFileDialog(save, (outside ? Program.Dir() : MethodsDir()) + typed);
        WaitGone(save);
        if (outside) Answer(Box("can be saved only in"), IDOK);
        if (!IsAscii(typed)) {
            Answer(Box("options.ini"), IDOK);
            return;
        }
        const int existing = IndexOfFile(file);
        if (existing >= 0) {
            const bool yes = Chance(60);
            log += yes ? " replace" : " keep";
            Answer(Box("already exists"), yes ? IDYES : IDNO);
            if (!yes) return;
        }
        TModelMethod copy{file, "New method", {}};
        const bool ok = EditInEditor(copy, "New Method", true, log);
        log += ok ? ", OK" : ", Cancel";
        if (!ok) return;
        if (existing >= 0)
            Methods[existing] = copy;
        else
            Methods.push_back(copy);
    }

    void EditMethod(std::string& log) {
        const int i = Pick(static_cast<int>(Methods.size()));
        log += " " + Methods[i].Name;
        Select(i);
        PostClick(Button(Form, "&Edit"));
        TModelMethod copy = Methods[i];
        const bool ok = EditInEditor(copy, "Edit Method", Chance(50), log);
        log += ok ? ", OK" : ", Cancel";
        if (ok) Methods[i] = copy;
    }

    void DeleteMethod(std::string& log) {
        const int i = Pick(static_cast<int>(Methods.size()));
        log += " " + Methods[i].Name;
        Select(i);
        PostClick(Button(Form, "&Delete"));
        const bool yes = Chance(80);
        Answer(Box(Methods[i].Name.c_str()), yes ? IDYES : IDNO);
        log += yes ? " Yes" : " No";
        if (!yes) return;
        const std::string file = Methods[i].File;
        Methods.erase(Methods.begin() + i);
        // Engines bound to it take the first method that can be bound, or none.
        auto first = std::find_if(Methods.begin(), Methods.end(), Bindable);
        const std::string replacement = first == Methods.end() ? "" : first->File;
        bool rebound = false;
        for (const char* engine : EngineNames) {
            if (!SameText(Chosen[engine], file) && !SameText(Bound[engine], file)) continue;
            Chosen[engine] = Bound[engine] = replacement;
            rebound = true;
        }
        if (rebound) Answer(Box("The deleted method was chosen"), IDOK);
    }

    // Close binds the selected method; the close box binds nothing.
    void CloseDialog(std::string& log) {
        const bool byButton = Chance(70);
        if (byButton && !Methods.empty()) {
            auto unbindable = std::find_if_not(Methods.begin(), Methods.end(), Bindable);
            const int i = unbindable != Methods.end() && Chance(30)
                              ? static_cast<int>(unbindable - Methods.begin())
                              : Pick(static_cast<int>(Methods.size()));
            log += " " + Methods[i].Name;
            Select(i);
            PostClick(Button(Form, "&Close"));
            if (!Bindable(Methods[i])) {
                Answer(Box("options.ini"), IDOK);
                return;
            }
            Chosen[EngineNames[Engine]] = Bound[EngineNames[Engine]] = Methods[i].File;
        } else {
            log += " by the close box";
            PostMessageA(Form, WM_CLOSE, 0, 0);
        }
        WaitGone(Form);
        OpenDialog(Pick(3));
    }

    // At start an engine takes its bound method, or the first one when it has none.
    void Restart(std::string& log) {
        PostMessageA(Form, WM_CLOSE, 0, 0);
        WaitGone(Form);
        CloseProgram();
        ASSERT_EQ(DiskDisagreement(), "");
        // A method file copied in by hand, whose name cannot be bound.
        if (std::none_of(Methods.begin(), Methods.end(),
                         [](const auto& m) { return !Bindable(m); })) {
            const std::string name = Unique("Greek ");
            const std::string file = Unique("\xce\xa9mega") + ".mtd";
            WriteStringToFile(MethodsDir() + file,
                              "[Method]\r\nName=" + name +
                                  "\r\nPasses=1\r\n[Pass1]\r\nName=g\r\nBytePatternValue=0\r\n");
            Methods.push_back({file, name, {{"g", 0}}});
            log += " with " + name;
        }
        StartProgram();
        // The list's order is the folder's: the model takes it before the check.
        PressOptions(Pick(3));
        ASSERT_TRUE(
            WaitFor([&] { return ListViewCount(List) == static_cast<int>(Methods.size()); }));
        const std::vector<std::string> listed = ListViewCaptions(List);
        std::vector<TModelMethod> ordered;
        for (const std::string& name : listed)
            for (const TModelMethod& m : Methods)
                if (m.Name == name) ordered.push_back(m);
        ASSERT_EQ(ordered.size(), Methods.size()) << testing::PrintToString(listed);
        Methods = ordered;
        for (const char* e : EngineNames) {
            const int bound = IndexOfFile(Bound[e]);
            Chosen[e] = Bound[e].empty() ? (Methods.empty() ? "" : Methods[0].File)
                        : bound >= 0     ? Methods[bound].File
                                         : "";
        }
        CheckOpened();
    }
};

TEST_F(MethodDialogs, ASeededRunOfEditsAgreesWithTheFilesAndBindingsEvenAfterRestarts) {
    const char* given = std::getenv("TW_METHODS_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 1207u;
    Random.seed(seed);
    SCOPED_TRACE("seed " + IntToStr(seed) + " (TW_METHODS_SEED=" + IntToStr(seed) + " replays it)");
    ForceDirectories(MethodsDir());
    for (const char* engine : EngineNames)
        Bound[engine] = Chosen[engine] = "";
    StartProgram();
    OpenDialog(0);
    for (int step = 1; step <= 200; ++step) {
        const int roll = Pick(100);
        const size_t count = Methods.size();
        std::string log = "step " + IntToStr(step) + ":";
        SCOPED_TRACE("step " + IntToStr(step));
        if (step % 50 == 0) {
            log += " restart";
            Restart(log);
        } else if (count < 2 || (count < 8 && roll < 30)) {
            log += " new";
            NewMethod(log);
        } else if (roll < 65) {
            log += " edit";
            EditMethod(log);
        } else if (roll < 85) {
            log += " delete";
            DeleteMethod(log);
        } else {
            log += " close";
            CloseDialog(log);
        }
        if (!HasFatalFailure()) CheckAll();
        if (HasFailure()) {
            ADD_FAILURE() << log;
            return;
        }
    }
    PostMessageA(Form, WM_CLOSE, 0, 0);
    CloseProgram();
}

} // namespace
