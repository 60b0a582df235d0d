#include "engine/CatalogueHelpers.h"
#include "classlib/base/Exceptions.h"
#include "classlib/base/Masks.h"
#include "engine/SharedRoutines.h"

bool IsOfficeDocument(const std::string& target) {
    const size_t dot = target.rfind('.');
    if (dot == std::string::npos) return false;
    std::string ext = target.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".doc" || ext == ".xls" || ext == ".mdb" || ext == ".ppt";
}

bool IsValidMask(const std::string& mask) {
    try {
        MatchesMask("", mask);
        return true;
    } catch (const EMaskException&) {
        return false;
    }
}
