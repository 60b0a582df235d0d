#include "engine/wipe/WipeMethod.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/IniFiles.h"
#include "classlib/base/SysUtils.h"
#include "engine/wipe/CheckedIni.h"
#include "engine/wipe/ProfileText.h"
#include <algorithm>

namespace {

const char* const MethodSection = "Method";
// A broken "Passes" value must not make the reader build passes without end.
const int MaxPasses = 1000;

std::string PassSection(int number) {
    return "Pass" + IntToStr(number);
}

void SavePass(TIniFile& ini, const std::string& section, const TPass& pass) {
    ini.WriteString(section, "Name", EncodeProfileText(pass.Name));
    ini.WriteBool(section, "CheckWipe", pass.CheckWipe);
    ini.WriteInteger(section, "WipeWith", pass.WipeWith);
    ini.WriteInteger(section, "BytePatternValue", pass.BytePatternValue);
    ini.WriteString(section, "TextPatternValue", EncodeProfileText(pass.TextPatternValue));
    ini.WriteInteger(section, "RandomBytesValue1", pass.RandomBytesValue1);
    ini.WriteInteger(section, "RandomBytesValue2", pass.RandomBytesValue2);
    ini.WriteInteger(section, "RandomCharacterValue1", pass.RandomCharacterValue1);
    ini.WriteInteger(section, "RandomCharacterValue2", pass.RandomCharacterValue2);
}

// The highest N of the file's "PassN" sections: a damaged count must not add passes
// that the file does not hold (a missing section among them still reads as defaults).
int LastPassSection(const TIniFile& ini) {
    int last = 0;
    for (const std::string& section : ini.ReadSections()) {
        int n = 0;
        if (StartsText("Pass", section) && TryStrToInt(section.substr(4), n) &&
            SameText(PassSection(n), section))
            last = std::max(last, n);
    }
    return last;
}

// 8-bit fields keep the low 8 bits of what the file holds.
uint8_t ReadByte(TCheckedIni& ini, const std::string& section, const char* ident) {
    return static_cast<uint8_t>(ini.ReadInteger(section, ident, 0, 0, 255));
}

std::unique_ptr<TPass> LoadPass(TCheckedIni& ini, const std::string& section) {
    auto pass = std::make_unique<TPass>();
    pass->Name = DecodeProfileText(ini.Ini.ReadString(section, "Name", ""));
    pass->CheckWipe = ini.ReadBool(section, "CheckWipe", false);
    pass->WipeWith = ReadByte(ini, section, "WipeWith");
    pass->BytePatternValue = ReadByte(ini, section, "BytePatternValue");
    pass->TextPatternValue = DecodeProfileText(ini.Ini.ReadString(section, "TextPatternValue", ""));
    pass->RandomBytesValue1 = ReadByte(ini, section, "RandomBytesValue1");
    pass->RandomBytesValue2 = ReadByte(ini, section, "RandomBytesValue2");
    pass->RandomCharacterValue1 = ReadByte(ini, section, "RandomCharacterValue1");
    pass->RandomCharacterValue2 = ReadByte(ini, section, "RandomCharacterValue2");
    return pass;
}

} // namespace

void TWipeMethod::Clear() {
    FPasses.clear();
    PassCounter = 1;
}

std::unique_ptr<TPass> TWipeMethod::AddPass() {
    auto pass = std::make_unique<TPass>();
    pass->Name = "pass" + IntToStr(PassCounter++);
    return pass;
}

void TWipeMethod::DeletePass(const TPass* pass) {
    auto it = std::find_if(FPasses.begin(), FPasses.end(),
                           [pass](const std::unique_ptr<TPass>& p) { return p.get() == pass; });
    if (it != FPasses.end()) FPasses.erase(it);
}

void TWipeMethod::Assign(const TWipeMethod& source) {
    if (&source == this) return;
    Name = source.Name;
    Description = source.Description;
    Clear();
    for (int i = 0; i < source.PassCount(); ++i) {
        auto pass = AddPass();
        pass->Assign(source.GetPass(i));
        Append(std::move(pass));
    }
}

bool TWipeMethod::LoadFromFile() {
    TCheckedIni ini(FileName);
    // Every method file holds its section "Method".
    if (!ini.Ini.SectionExists(MethodSection)) ini.NoteDamage();
    Name = DecodeProfileText(ini.Ini.ReadString(MethodSection, "Name", ""));
    Description = DecodeProfileText(ini.Ini.ReadString(MethodSection, "Description", ""));
    const int passes = ini.ReadInteger(MethodSection, "Passes", 0, 0, MaxPasses);
    const int count = std::min(std::clamp(passes, 0, MaxPasses), LastPassSection(ini.Ini));
    if (count < passes) ini.NoteDamage();
    for (int n = 1; n <= count; ++n)
        Append(LoadPass(ini, PassSection(n)));
    return !ini.Damaged();
}

void TWipeMethod::SaveToFile() const {
    // The profile functions would put a file without a path in the Windows folder.
    if (FileName.empty()) throw Exception("The wipe method \"" + Name + "\" has no file");
    TIniFile ini(FileName);
    ini.WriteString(MethodSection, "Name", EncodeProfileText(Name));
    ini.WriteString(MethodSection, "Description", EncodeProfileText(Description));
    ini.WriteInteger(MethodSection, "Passes", PassCount());
    for (int i = 0; i < PassCount(); ++i)
        SavePass(ini, PassSection(i + 1), GetPass(i));
    ini.UpdateFile();
}
