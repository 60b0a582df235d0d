#include "engine/erasers/PostEraser.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include "classlib/base/XMLDoc.h"
#include "engine/Progress.h"
#include "engine/SharedRoutines.h"
#include "engine/settings/XMLValues.h"
#include <algorithm>

namespace {

const char* const AttributeNames[] = {"Type",      "FileName",  "RootKey", "Key",
                                      "ValueName", "ValueData", "BATLine"};

// 0 (no key) or a predefined root: any other number could name an open key handle.
HKEY RootKeyAttr(const TXMLNode& node) {
    const std::string text = RequiredAttribute(node, "RootKey");
    const int64_t number = StrToInt64(text);
    const HKEY root = PredefinedRootKey(number);
    if (!root && number != 0) throw EConvertError("unknown root key " + text);
    return root;
}

std::unique_ptr<TPostEraserItem> ItemFromNode(const TXMLNode& node) {
    auto item = std::make_unique<TPostEraserItem>();
    const int type = StrToInt(RequiredAttribute(node, "Type"));
    // A type outside the byte range stays unknown rather than wrapping onto a known one.
    item->Type = type >= 0 && type <= 255 ? static_cast<uint8_t>(type) : 0;
    item->FileName = RequiredAttribute(node, "FileName");
    item->RootKey = RootKeyAttr(node);
    item->Key = RequiredAttribute(node, "Key");
    item->ValueName = RequiredAttribute(node, "ValueName");
    item->ValueData = RequiredAttribute(node, "ValueData");
    item->BATLine = RequiredAttribute(node, "BATLine");
    return item;
}

void ItemToNode(const TPostEraserItem& item, TXMLNode node) {
    const std::string values[] = {IntToStr(item.Type),
                                  item.FileName,
                                  IntToStr(RootKeyToNumber(item.RootKey)),
                                  item.Key,
                                  item.ValueName,
                                  item.ValueData,
                                  item.BATLine};
    for (size_t i = 0; i < std::size(AttributeNames); ++i)
        node.SetAttribute(AttributeNames[i], values[i]);
}

// False when the file is still there to delete (held open): its read-only mark stays,
// as the attribute is cleared only through the handle that deletes it. A link is left
// in place with its target, as by the run that deferred the file. A folder can never
// be deleted so: it raises, to be logged once and dropped.
bool DeleteFileItem(const TPostEraserItem& item) {
    if (item.FileName.empty()) return true;
    const TSafeFileResult deleted = SafeDeleteFile(item.FileName, true);
    if (deleted.Done() || deleted.NotFound() || deleted.IsLink() || deleted.Unreachable())
        return true;
    if (DirectoryExists(item.FileName))
        throw Exception("\"" + item.FileName + "\" is a folder, never deleted as a file: dropped");
    return false;
}

void WriteValueItem(const TPostEraserItem& item) {
    TRegistry reg;
    reg.RootKey = item.RootKey;
    if (!reg.OpenKey(item.Key, false)) return;
    if (item.Type == ptWriteString)
        reg.WriteString(item.ValueName, item.ValueData);
    else
        reg.WriteInteger(item.ValueName, StrToInt(item.ValueData));
}

// A text file's code units: its bytes (after a UTF-8 byte-order mark), or after a
// UTF-16 byte-order mark the UTF-16 units of that order.
class TTextUnits {
public:
    explicit TTextUnits(const std::string& bytes) : FBytes(bytes) {
        if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
            FWidth = FStart = 2;
            FBigEndian = bytes[0] == '\xFE';
        } else if (bytes.starts_with("\xEF\xBB\xBF")) {
            FStart = 3;
        }
    }
    [[nodiscard]] size_t Count() const { return (FBytes.size() - FStart) / FWidth; }
    [[nodiscard]] size_t Offset(size_t i) const { return FStart + i * FWidth; }
    [[nodiscard]] unsigned At(size_t i) const {
        const auto byte = [&](size_t k) {
            return static_cast<unsigned>(static_cast<unsigned char>(FBytes[Offset(i) + k]));
        };
        if (FWidth == 1) return byte(0);
        return FBigEndian ? byte(0) << 8 | byte(1) : byte(1) << 8 | byte(0);
    }
    // The text as units of this file: its bytes, or UTF-16.
    [[nodiscard]] std::vector<unsigned> Units(const std::string& text) const {
        std::vector<unsigned> units;
        if (FWidth == 1) {
            for (const unsigned char c : text)
                units.push_back(c);
        } else {
            for (const wchar_t c : ToWide(text))
                units.push_back(c);
        }
        return units;
    }

private:
    const std::string& FBytes;
    size_t FWidth = 1, FStart = 0;
    bool FBigEndian = false;
};

unsigned LowerAscii(unsigned c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

bool SameLine(const TTextUnits& text, size_t start, size_t end,
              const std::vector<unsigned>& wanted) {
    if (end - start != wanted.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (LowerAscii(text.At(start + i)) != LowerAscii(wanted[i])) return false;
    return true;
}

// The bytes of the first line equal to `line`, ASCII letters compared without case,
// with its own line end (CR LF, LF or CR): {from, to}, from == to when none is.
std::pair<size_t, size_t> FindLine(const std::string& bytes, const std::string& line) {
    const TTextUnits text(bytes);
    const std::vector<unsigned> wanted = text.Units(line);
    const size_t count = text.Count();
    for (size_t start = 0; start < count;) {
        size_t end = start;
        while (end < count && text.At(end) != '\r' && text.At(end) != '\n')
            ++end;
        size_t next = std::min(end + 1, count);
        if (end < count && text.At(end) == '\r' && next < count && text.At(next) == '\n') ++next;
        if (SameLine(text, start, end, wanted)) return {text.Offset(start), text.Offset(next)};
        start = next;
    }
    return {0, 0};
}

// Changed in place through the checked handle: a link would pass the change to its
// target, other names (hard links) would take it too; both are refused. A file in
// which no line matches is not written at all.
void RemoveLineItem(const TPostEraserItem& item) {
    TSafeOpenedFile opened = SafeOpenForOverwrite(item.FileName, GENERIC_READ | GENERIC_WRITE);
    if (!opened.Result.Done()) throw Exception(item.FileName + ": " + opened.Result.Text());
    if (SafeNameCount(opened.Handle.Get()) != 1)
        throw Exception(item.FileName + ": the file has other names, left as it is");
    TFileStream file(item.FileName, std::move(opened.Handle));
    std::string bytes(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    const auto [from, to] = FindLine(bytes, item.BATLine);
    if (from == to) return;
    bytes.erase(from, to - from);
    file.Seek(0, soBeginning);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    file.SetSize(static_cast<int64_t>(bytes.size()));
}

// Each item's work is trapped on its own: a failure is silent. False only for a file
// that could not be deleted this time.
bool ExecuteItem(const TPostEraserItem& item) {
    try {
        switch (item.Type) {
        case ptDeleteFile: return DeleteFileItem(item);
        case ptWriteString:
        case ptWriteInteger: WriteValueItem(item); break;
        case ptRemoveLine: RemoveLineItem(item); break;
        default: break;
        }
    } catch (const std::exception&) {
        LogSwallowed("ExecuteItem");
    }
    return true;
}

// Quoted, so that a path with blanks still passes "/cleanup" as the first argument.
std::string RunOnceCommand() {
    // Built step by step: GCC 12 reports a false -Wrestrict for "literal" + temporary.
    std::string command = "\"";
    command += GetModuleFileNameStr();
    command += "\" /cleanup";
    return command;
}

// The run-once value holds this program's command.
bool RunOnceRegistered() {
    try {
        TRegistry reg(KEY_READ);
        reg.RootKey = HKEY_LOCAL_MACHINE;
        return reg.OpenKeyReadOnly(RunOnceKey) && reg.ValueExists(RunOnceValue) &&
               SameText(reg.ReadString(RunOnceValue), RunOnceCommand());
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TPostEraser::TPostEraser() : FileName(GetAppDir() + "posterase.dat") {}

void TPostEraser::Add(std::unique_ptr<TPostEraserItem> item) {
    FItems.push_back(std::move(item));
}

void TPostEraser::Clear() {
    FItems.clear();
}

void TPostEraser::LoadFromFile() {
    FDamageNotice.clear();
    if (!FileExists(FileName)) return;
    try {
        TXMLDocument doc;
        doc.LoadFromFile(FileName);
        const TXMLNode root = doc.DocumentElement();
        if (!root || root.NodeName() != "PostEraser")
            throw EXMLDocError("No \"PostEraser\" element");
        Clear();
        for (const TXMLNode& node : root.ChildNodes())
            Add(ItemFromNode(node));
    } catch (const std::exception&) {
        // A broken file ends the load; the items read so far stay.
        LogSwallowed("TPostEraser::LoadFromFile");
        const std::string copy = KeepDamagedCopy(FileName);
        FDamageNotice = "The file of work for the next start is damaged: what could be read "
                        "was kept";
        FDamageNotice += copy.empty() ? "." : ", and the file was kept as " + copy + ".";
    }
}

// The document replaces the file only once it is complete.
void TPostEraser::SaveToFile() const {
    try {
        TXMLDocument doc;
        TXMLNode root = doc.CreateDocumentElement("PostEraser");
        for (const auto& item : FItems)
            ItemToNode(*item, root.AddChild("Item"));
        doc.SaveToFile(FileName);
    } catch (const std::exception&) {
        LogSwallowed("TPostEraser::SaveToFile");
    }
}

std::string TPostEraser::KeepPendingItems() {
    if (FPendingItemsKept) return "";
    FPendingItemsKept = true;
    if (!RunOnceRegistered()) return "";
    TPostEraser pending;
    pending.FileName = FileName;
    pending.LoadFromFile();
    for (auto& item : FItems)
        pending.FItems.push_back(std::move(item));
    FItems = std::move(pending.FItems);
    return pending.DamageNotice();
}

void TPostEraser::RegisterRunOnce() const {
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (reg.OpenKey(RunOnceKey, false)) reg.WriteString(RunOnceValue, RunOnceCommand());
    } catch (const std::exception&) {
        LogSwallowed("TPostEraser::RegisterRunOnce");
    }
}

void TPostEraser::UnregisterRunOnce() const {
    try {
        TRegistry reg;
        reg.RootKey = HKEY_LOCAL_MACHINE;
        if (reg.OpenKey(RunOnceKey, false)) reg.DeleteValue(RunOnceValue);
    } catch (const std::exception&) {
        LogSwallowed("TPostEraser::UnregisterRunOnce");
    }
    SysDeleteFile(FileName);
}

void TPostEraser::Execute() {
    if (FItems.empty()) return;
    TfProgress progress(nullptr);
    progress.SetCaption("  Tarnwhistle - Finalize cleaning...");
    progress.SetFileName("Please wait.");
    progress.FileProgressBar->SetMax(Count() - 1);
    progress.SetHeight(progress.lblPass->Top()); // only the file line and the overall bar
    progress.Show();
    progress.Repaint();
    std::vector<bool> finished;
    for (const auto& item : FItems) {
        if (OnProcessMessages) OnProcessMessages();
        finished.push_back(ExecuteItem(*item));
        progress.StepBy(1);
    }
    size_t i = 0;
    std::erase_if(FItems, [&](const auto&) { return finished[i++]; });
    progress.Close();
}
