// Damaged ".mtd" method files and "options.ini" through their readers: missing or
// broken values read as defaults, every pass loaded yields its buffer, and what was
// read is saved so that it reads back the same.
#include "classlib/base/Exceptions.h"
#include "classlib/base/Streams.h"
#include "engine/wipe/WipeMethodsManager.h"
#include "support/DamagedInput.h"
#include "support/TempFolder.h"
#include <gtest/gtest.h>

namespace {

// Every field, one line per pass.
std::string Described(const TWipeMethod& m) {
    std::string s = m.Name + "|" + m.Description + "\n";
    for (int i = 0; i < m.PassCount(); ++i) {
        const TPass& p = m.GetPass(i);
        s += p.Name + "|" + std::to_string(p.CheckWipe) + "|" + std::to_string(p.WipeWith) + "|" +
             std::to_string(p.BytePatternValue) + "|" + p.TextPatternValue + "|" +
             std::to_string(p.RandomBytesValue1) + "|" + std::to_string(p.RandomBytesValue2) + "|" +
             std::to_string(p.RandomCharacterValue1) + "|" +
             std::to_string(p.RandomCharacterValue2) + "\n";
    }
    return s;
}

// The method as it reads back from a new file; the method takes what was read.
std::string SavedAndRead(TWipeMethod& method, const std::string& fileName) {
    method.FileName = fileName;
    method.SaveToFile();
    method.Clear();
    method.LoadFromFile();
    SysDeleteFile(fileName);
    return Described(method);
}

// The settings as they read back from a new file; the manager takes what was read.
std::string SavedAndRead(TWipeMethodsManager& manager, const std::string& fileName) {
    manager.OptionsFileName = fileName;
    manager.SaveSettings();
    manager.LoadSettings();
    SysDeleteFile(fileName);
    return std::to_string(manager.WipeSlackSpace) + std::to_string(manager.WriteSignature) +
           std::to_string(manager.ConfirmErrorOccur) + std::to_string(manager.BufferSize) + "|" +
           manager.Signature;
}

// Profile files are cached by name: each case has a file of its own.
std::string CaseFile(const TTempFolder& dir, uint32_t seed, const char* extension) {
    return dir / (std::to_string(seed) + extension);
}

} // namespace

TEST(WipeMethodDamaged, EveryDamagedMethodReadsAsDefaultsWhereDamaged) {
    TTempFolder dir;
    // Methods of one and of two passes: each key is read on its own, and costs.
    std::vector<std::string> seeds;
    for (const std::vector<int>& kinds :
         {std::vector<int>{wwTextPattern}, {wwRandomBytes, wwRandomCharacter}}) {
        TWipeMethod seed;
        seed.FileName = dir / ("seed" + std::to_string(kinds.size()) + ".mtd");
        seed.Name = "Some \"passes\"";
        seed.Description = "first line\r\nsecond #10 line";
        for (int kind : kinds) {
            auto pass = seed.AddPass();
            pass->WipeWith = static_cast<uint8_t>(kind);
            pass->BytePatternValue = 0xAA;
            pass->TextPatternValue = " \u00e9t\u00e9 ";
            pass->RandomBytesValue2 = 200;
            pass->RandomCharacterValue1 = 65;
            pass->RandomCharacterValue2 = 90;
            pass->CheckWipe = kind % 2;
            seed.Append(std::move(pass));
        }
        seed.SaveToFile();
        seeds.push_back(ReadFileToString(seed.FileName));
    }
    TDamagedRun run(".mtd", 4000000, 5000);
    run.Seeds = seeds;

    run.Run([&](const std::string& damaged, uint32_t caseSeed) {
        TWipeMethod method;
        method.FileName = CaseFile(dir, caseSeed, ".mtd");
        const std::string damagedFile = method.FileName;
        WriteCaseFile(method.FileName, damaged);
        method.LoadFromFile();
        EXPECT_LE(method.PassCount(), 1000);
        for (int i = 0; i < method.PassCount(); ++i) {
            const TPass& pass = method.GetPass(i);
            if (pass.HasData()) {
                EXPECT_EQ(pass.GetPassData(100).size(), 100u);
            } else if (pass.WipeWith == wwTextPattern) {
                EXPECT_THROW((void)pass.GetPassData(100), Exception);
            }
        }
        if (caseSeed % 100 == 0) {
            // Saved and read twice: texts outside the code page turn to "?" the first time.
            const std::string once = SavedAndRead(method, CaseFile(dir, caseSeed, ".1.mtd"));
            EXPECT_EQ(once, SavedAndRead(method, CaseFile(dir, caseSeed, ".2.mtd")));
        }
        SysDeleteFile(damagedFile);
    });
}

TEST(WipeMethodDamaged, EveryDamagedOptionsFileReadsAsDefaultsWhereDamaged) {
    TTempFolder dir;
    TWipeMethodsManager seed;
    seed.OptionsFileName = dir / "options.ini";
    seed.WriteSignature = true;
    seed.Signature = " signed \"here\" ";
    seed.BufferSize = 65536;
    seed.SaveSettings();
    TWipeEngine engine("WipeFiles");
    seed.Methods.push_back(std::make_unique<TWipeMethod>());
    seed.Methods.back()->FileName = seed.MethodsDir + "Quick.mtd";
    seed.SetEngineMethod(engine, seed.Methods.back().get());
    TDamagedRun run("options.ini", 5000000, 5000);
    run.Seeds = {ReadFileToString(seed.OptionsFileName)};

    run.Run([&](const std::string& damaged, uint32_t caseSeed) {
        TWipeMethodsManager manager;
        manager.OptionsFileName = CaseFile(dir, caseSeed, ".ini");
        const std::string damagedFile = manager.OptionsFileName;
        WriteCaseFile(damagedFile, damaged);
        manager.LoadSettings();
        manager.Methods.push_back(std::make_unique<TWipeMethod>());
        manager.Methods.back()->FileName = manager.MethodsDir + "Quick.mtd";
        TWipeEngine bound("WipeFiles");
        const TWipeMethod* method = manager.GetEngineMethod(bound);
        EXPECT_TRUE(!method || method == manager.Methods.back().get());
        if (caseSeed % 100 == 0) {
            const std::string once = SavedAndRead(manager, CaseFile(dir, caseSeed, ".1.ini"));
            EXPECT_EQ(once, SavedAndRead(manager, CaseFile(dir, caseSeed, ".2.ini")));
        }
        SysDeleteFile(damagedFile);
        if (!manager.DamageNotes.empty()) SysDeleteFile(damagedFile + ".damaged");
    });
}
