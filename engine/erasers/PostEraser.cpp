#include "engine/erasers/PostEraser.h"

#include "classlib/base/Exceptions.h"
#include "classlib/base/Registry.h"
#include "classlib/base/SafeFileOps.h"
#include "classlib/base/StringList.h"
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

bool SameAsciiText(const std::string& a, const std::string& b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

// False when the file is still there to delete (held open): its read-only mark stays,
// as the attribute is cleared only through the handle that deletes it. A link is left
// in place with its target, as by the run that deferred the file.
bool DeleteFileItem(const TPostEraserItem& item) {
    if (item.FileName.empty()) return true;
    const TSafeFileResult deleted = SafeDeleteFile(item.FileName, true);
    return deleted.Done() || deleted.NotFound() || deleted.IsLink() || deleted.Unreachable();
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

// Rewriting a link would write its target: it is left alone.
void RemoveLineItem(const TPostEraserItem& item) {
    if (SafeCheckNoLink(item.FileName).IsLink()) return;
    TStringList lines;
    lines.LoadFromFile(item.FileName);
    for (int i = 0; i < lines.Count(); ++i) {
        if (SameAsciiText(lines[i], item.BATLine)) {
            lines.Delete(i);
            break;
        }
    }
    lines.SaveToFile(item.FileName);
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
