#include "classlib/gui/FileCtrl.h"

namespace {

// "\a\b\" -> "\...\b\", "...\b\" -> "" ; drops the first folder of a directory part.
std::string CutFirstDirectory(std::string dir) {
    bool root = !dir.empty() && dir[0] == '\\';
    if (root) dir.erase(0, 1);
    if (dir.compare(0, 4, "...\\") == 0) dir.erase(0, 4);
    size_t slash = dir.find('\\');
    dir = slash == std::string::npos ? std::string() : "...\\" + dir.substr(slash + 1);
    return root && !dir.empty() ? "\\" + dir : dir;
}

} // namespace

std::string MinimizeName(const std::string& fileName, TCanvas& canvas, int maxWidth) {
    size_t slash = fileName.find_last_of('\\');
    std::string dir = slash == std::string::npos ? "" : fileName.substr(0, slash + 1);
    std::string name = fileName.substr(dir.size());
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    std::string result = fileName;
    while ((!dir.empty() || !drive.empty()) && canvas.TextWidth(result) > maxWidth) {
        if (dir == "\\...\\") {
            drive.clear();
            dir = "...\\";
        } else if (dir.empty() || dir == "\\") {
            drive.clear(); // a name straight under the root: no "C:name" in between
            dir.clear();
        } else {
            dir = CutFirstDirectory(dir);
        }
        result = drive + dir + name;
    }
    return result;
}
