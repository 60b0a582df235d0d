#pragma once
// Shared ground of the wipe tests: a wipe-methods manager of its own in a temporary
// folder, installed as the global one for the test, and file helpers.
#include "classlib/gui/Application.h"
#include "engine/EraserFixture.h" // TTempFolder
#include "engine/wipe/WipeEngine.h"
#include "engine/wipe/WipeMethodsManager.h"
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <iterator>

class TWipeTestBase : public testing::Test {
protected:
    void SetUp() override {
        FSaved = std::exchange(WipeMethodsManager, std::make_unique<TWipeMethodsManager>());
        Manager().MethodsDir = (Dir / "Methods\\");
        Manager().OptionsFileName = (Dir / "options.ini");
        CreateDirectoryA(Manager().MethodsDir.c_str(), nullptr);
        Manager().WipeSlackSpace = false;
        Manager().WriteSignature = false;
        Manager().BufferSize = 4096;
    }
    void TearDown() override { WipeMethodsManager = std::move(FSaved); }

    static TWipeMethodsManager& Manager() { return *WipeMethodsManager; }

    // A loaded method of the given passes, saved as Methods\<file>.
    static TWipeMethod& AddMethod(const std::string& file, std::initializer_list<TPass> passes) {
        auto method = std::make_unique<TWipeMethod>();
        method->FileName = Manager().MethodsDir + file;
        for (const TPass& p : passes)
            method->Append(std::make_unique<TPass>(p));
        method->SaveToFile();
        Manager().Methods.push_back(std::move(method));
        return *Manager().Methods.back();
    }
    static TPass BytePass(uint8_t value) {
        TPass p;
        p.BytePatternValue = value;
        return p;
    }
    static TPass TextPass(const std::string& text) {
        TPass p;
        p.WipeWith = wwTextPattern;
        p.TextPatternValue = text;
        return p;
    }

    // Reads while the wipe holds the file open; "" when it cannot be opened.
    static std::string ReadAll(const std::string& path) {
        TFileHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        std::string data;
        char buffer[65536];
        DWORD n = 0;
        while (file && ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
            data.append(buffer, n);
        return data;
    }
    static void WriteAll(const std::string& path, const std::string& data) {
        WriteStringToFile(path, data);
    }
    TTempFolder Dir;

private:
    std::unique_ptr<TWipeMethodsManager> FSaved;
};

// An engine that runs a test's hook each time it lets the message loop run, and
// shows its progress at each of those times.
class THookedEngine : public TWipeEngine {
public:
    explicit THookedEngine(std::string name = "WipeFiles") : TWipeEngine(std::move(name)) {
        ProgressInterval = 0;
        OnProcessMessages = [] { Application->ProcessMessages(); };
    }
    std::function<void(THookedEngine&)> OnPump;
    // The errors of the last run, for failure messages.
    [[nodiscard]] std::string ErrorText() const {
        std::string text;
        for (const std::string& e : Errors)
            text += e + "\n";
        return text;
    }
    int Pumps = 0;

    // A hard link to the file, made once the run holds it open for writing (past the
    // check of its names): it shows what the wipe wrote after the file is gone.
    std::string LinkWhenOpened(const std::string& path, const std::string& link) {
        Links.emplace_back(path, link);
        return link;
    }
    std::vector<std::pair<std::string, std::string>> Links; // file, link still to make

    void Add(uint8_t kind, const std::string& path) {
        auto item = std::make_unique<TWipeItem>();
        item->Kind = kind;
        item->Path = path;
        AddItem(std::move(item));
    }

protected:
    void ProcessMessages() override {
        ++Pumps;
        TWipeEngine::ProcessMessages();
        std::erase_if(Links, [](const auto& link) {
            const TFileHandle probe(CreateFileW(ToWide(link.first).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                nullptr));
            return !probe && GetLastError() == ERROR_SHARING_VIOLATION &&
                   CreateHardLinkW(ToWide(link.second).c_str(), ToWide(link.first).c_str(),
                                   nullptr);
        });
        if (OnPump) OnPump(*this);
    }
};
