#pragma once
// The next-start eraser: work a cleaning run could not finish while Windows runs
// (files in use, registry values to set back, a line added to a start-up file).
// The run saves it in "posterase.dat" and registers a run-once value; the program
// started with "/cleanup" loads the file and carries the items out. Main thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

// Values of TPostEraserItem::Type; a file may hold others, which do nothing.
enum TPostEraseType : uint8_t {
    ptDeleteFile = 1,   // FileName (may be empty: nothing to do)
    ptWriteString = 2,  // RootKey\Key, ValueName = ValueData
    ptWriteInteger = 3, // RootKey\Key, ValueName = ValueData as a decimal integer
    ptRemoveLine = 4,   // the first line of FileName equal to BATLine, ignoring case
};

struct TPostEraserItem {
    uint8_t Type = 0;
    std::string FileName;
    HKEY RootKey = nullptr; // types 2 and 3
    std::string Key;
    std::string ValueName;
    std::string ValueData;
    std::string BATLine;
    // Type 1 deferred by this run: the file's attributes before it was made
    // read-only, so that a dropped deletion can give them back. Not stored.
    DWORD Attributes = INVALID_FILE_ATTRIBUTES;
};

class TPostEraser {
public:
    TPostEraser(); // FileName = GetAppDir() + "posterase.dat"

    std::string FileName;
    // Lets the message loop process pending messages before each item, so that the
    // progress window paints (the program binds Application.ProcessMessages). Unset,
    // Execute pumps nothing. Main thread.
    std::function<void()> OnProcessMessages;

    // The eraser owns the item from then on.
    void Add(std::unique_ptr<TPostEraserItem> item);
    void Clear();
    [[nodiscard]] int Count() const { return static_cast<int>(FItems.size()); }
    [[nodiscard]] const TPostEraserItem& Items(int i) const { return *FItems.at(i); }

    // A missing file leaves the items as they are; a broken one keeps what was read
    // and is copied aside before anything replaces or deletes it (DamageNotice).
    void LoadFromFile();
    // After a load that met a damaged file: what to tell the user once, naming the copy
    // kept; "" when the file read whole or was missing.
    [[nodiscard]] const std::string& DamageNotice() const { return FDamageNotice; }
    // Replaces the file only once the new one is complete; errors are swallowed.
    void SaveToFile() const;
    // Call before saving: while this program's run-once value is registered, the file
    // holds work of an earlier run (an earlier program session) that no restart has
    // carried out yet. Once per eraser, its items go ahead of those in memory, so that
    // the save keeps them; later saves hold them already. Returns the load's
    // DamageNotice.
    [[nodiscard]] std::string KeepPendingItems();
    // HKLM Runonce "Tarnwhistle" = "\"<program path>\" /cleanup".
    void RegisterRunOnce() const;
    // Deletes the run-once value, then the file.
    void UnregisterRunOnce() const;
    // Carries out every item under a progress window; each failure is silent. Afterwards
    // the items hold only the files that could not be deleted (still held open), for
    // the caller to keep for the next start.
    void Execute();

private:
    std::vector<std::unique_ptr<TPostEraserItem>> FItems;
    bool FPendingItemsKept = false;
    std::string FDamageNotice;
};

// The run-once registration, shared with the tests.
inline constexpr const char* RunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
inline constexpr const char* RunOnceValue = "Tarnwhistle";
