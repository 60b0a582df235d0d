// What the wipe-method dialogs accept as typed: text and file names that the method
// files, "options.ini" or the file system would change or refuse are refused at once,
// so that what the dialogs show is what the files hold.
#include "ShredderFixture.h"
#include "engine/SharedRoutines.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class MethodTexts : public ShredderPages {
protected:
    std::string MethodsDir() const { return Program.Dir() + "Methods\\"; }
    // The methods dialog, opened by the free-space page's Options.
    HWND OpenMethods() {
        PostClick(Shown(Main, "TButton", "Free Space Clean "));
        HWND page =
            GetParent(Shown(Main, "TCheckBox", "Clean free space for the following drives:"));
        PostClick(FindChild(page, "TButton", "&Options"));
        return Program.WaitForWindow("TfMethodsForm");
    }
    // New in the methods dialog, with that file chosen in the save dialog.
    void NewMethod(HWND methods, const std::string& file) {
        PostClick(FindChild(methods, "TButton", "&New"));
        HWND save = Box();
        ChooseInFileDialog(save, file);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(save) || !IsWindowVisible(save); })) << file;
    }
    // A character typed into a control, as the keyboard sends it.
    static void Type(HWND control, wchar_t c) { PostMessageW(control, WM_CHAR, c, 1); }
    // The box that refuses a character, owned by the editor; answered.
    void Refused(HWND editor) {
        HWND box = Box("cannot hold");
        EXPECT_EQ(GetWindow(box, GW_OWNER), editor);
        Answer(box, IDOK);
    }
    // The files of the methods folder, sorted.
    std::vector<std::string> MethodFiles() const {
        const TStringList listed = ListFiles(MethodsDir(), "*");
        std::vector<std::string> names;
        for (int i = 0; i < listed.Count(); ++i)
            names.push_back(listed[i]);
        std::sort(names.begin(), names.end());
        return names;
    }
    static constexpr wchar_t Omega = 0x03A9; // no code page of the test prefix holds it
};

TEST_F(MethodTexts, CharactersTheMethodFileCannotHoldAreRefusedAsTheyAreTyped) {
    ForceDirectories(MethodsDir());
    StartProgram();
    HWND methods = OpenMethods();
    ASSERT_NE(methods, nullptr);
    NewMethod(methods, MethodsDir() + "greek.mtd");
    HWND editor = Program.WaitForWindow("TfEditMethod");
    ASSERT_NE(editor, nullptr);
    HWND name = FindChild(editor, "TEdit");
    Type(name, Omega);
    Refused(editor);
    EXPECT_TRUE(WaitFor([&] { return WindowText(name) == "New method"; })) << WindowText(name);

    SendMessageA(FindChild(editor, "TBitBtn", "Add"), BM_CLICK, 0, 0);
    HWND passes = FindChild(editor, "TListView");
    ListViewSelect(passes, 0);
    HWND wipeWith = FindChild(editor, "TGroupBox", " Wipe Width ");
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(wipeWith) != FALSE; }));
    SendMessageA(FindChild(wipeWith, "TRadioButton", "Text Pattern"), BM_CLICK, 0, 0);
    HWND pattern = FindChild(wipeWith, "TMemo");
    Type(pattern, L'x');
    Type(pattern, Omega);
    Refused(editor);
    EXPECT_TRUE(WaitFor([&] { return WindowText(pattern) == "x"; })) << WindowText(pattern);

    PostClick(FindChild(editor, "TBitBtn", "Edit"));
    HWND input = Program.WaitForWindow("TInputBoxForm");
    ASSERT_NE(input, nullptr);
    SetText(FindChild(input, "TEdit"), "\xce\xa9pass");
    PostClick(FindChild(input, "TButton", "OK"));
    Refused(editor);
    EXPECT_EQ(ListViewCaptions(passes), std::vector<std::string>{"pass1"});

    PostClick(FindChild(editor, "TButton", "&OK"));
    HWND list = FindChild(methods, "TListView");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 1; }));
    const std::string mtd = MethodsDir() + "greek.mtd";
    EXPECT_EQ(IniValue(mtd, "Method", "Name"), "New method");
    EXPECT_EQ(ListViewCaptions(list), std::vector<std::string>{"New method"});
    EXPECT_EQ(IniValue(mtd, "Pass1", "Name"), "pass1");
    EXPECT_EQ(IniValue(mtd, "Pass1", "TextPatternValue"), "x");
    PostClick(FindChild(methods, "TButton", "&Close"));
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(methods); }));
    CloseProgram();
}

// A name with a leading blank and a name too long for the file system are refused
// before the editor opens; a method filed under a leading blank by hand is
// never bound in place of a deleted one.
TEST_F(MethodTexts, FileNamesThatCannotBeKeptAsTheyAreAreRefusedBeforeEditing) {
    WriteMethod();
    const std::string lead = MethodsDir() + " lead.mtd";
    WritePrivateProfileStringA("Method", "Name", "Lead", lead.c_str());
    WritePrivateProfileStringA("Method", "Passes", "1", lead.c_str());
    WritePrivateProfileStringA("Pass1", "BytePatternValue", "1", lead.c_str());
    StartProgram();
    HWND methods = OpenMethods();
    ASSERT_NE(methods, nullptr);
    HWND list = FindChild(methods, "TListView");
    ASSERT_TRUE(WaitFor([&] { return ListViewCount(list) == 2; }));
    const std::pair<std::string, const char*> names[] = {
        {MethodsDir() + " lead2.mtd", "options.ini"}};
    for (const auto& [file, words] : names) {
        NewMethod(methods, file);
        Answer(Box(words), IDOK);
        EXPECT_EQ(Program.FindWindowOfClass("TfEditMethod"), nullptr) << file;
    }
    EXPECT_EQ(MethodFiles(), (std::vector<std::string>{" lead.mtd", "zed.mtd"}));

    // "Zed" is bound and selected: deleting it binds no method rather than " lead.mtd".
    PostClick(FindChild(methods, "TButton", "&Delete"));
    Answer(Box("Zed"), IDYES);
    EXPECT_NE(MessageText().find("No method is chosen now"), std::string::npos);
    EXPECT_EQ(IniValue(Program.Dir() + "options.ini", "Engines", "WipeFreeSpace"), "");
    PostMessageA(methods, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(methods); }));
    CloseProgram();
}

} // namespace
