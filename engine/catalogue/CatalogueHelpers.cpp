#include "engine/catalogue/CatalogueHelpers.h"
#include "classlib/base/SysUtils.h"
#include "engine/SharedRoutines.h"

std::string SpecialSubfolder(int csidl, const std::string& relative) {
    const std::string folder = SpecialFolder(csidl);
    return folder.empty() ? "" : IncludeTrailingPathDelimiter(folder) + relative;
}

bool IsOfficeDocument(const std::string& target) {
    const std::string ext = LowerCase(ExtractFileExt(target));
    return ext == ".doc" || ext == ".xls" || ext == ".mdb" || ext == ".ppt";
}
