#include "app/finders/JunkRules.h"
#include "app/finders/FoundFile.h"
#include "classlib/base/SysUtils.h"
#include <algorithm>
#include <initializer_list>

namespace {

bool OneOf(const std::string& s, std::initializer_list<const char*> list) {
    return std::any_of(list.begin(), list.end(), [&](const char* item) { return s == item; });
}

bool EndsWithTilde(const std::string& s) {
    return !s.empty() && s.back() == '~';
}

} // namespace

bool TJunkRules::IsJunk(const std::string& fileName) const {
    const std::string name = LowerCase(fileName);
    const std::string ext = LowerExtension(name);
    const std::string base = name.substr(0, name.size() - ext.size());
    return (Temporary && OneOf(ext, {".tmp", "._mp", ".~mp"})) ||
           (GeneralBackup && OneOf(ext, {".old", ".prv", ".nav", ".1st", ".bak", ".syd"})) ||
           (CommonBackup &&
            ((ext.size() > 1 && ext[1] == '~') || EndsWithTilde(name) || EndsWithTilde(base))) ||
           (Log && ext == ".log") ||
           (ScanDisk && (name == "chkdsk.chk" || (StartsText("file", name) && ext == ".chk"))) ||
           (Unnecessary && (OneOf(ext, {".$$$", ".---"}) || name == "mscreate.dir")) ||
           std::find(IncludeExtensions.begin(), IncludeExtensions.end(), ext) !=
               IncludeExtensions.end();
}
