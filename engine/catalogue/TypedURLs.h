#pragma once
// Renumbering of Internet Explorer's typed addresses after a clean: the values
// left (the kept ones) keep their order and become "url1", "url2", ... without gaps, and the keep
// list follows them to their new names.
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

// Below HKEY_CURRENT_USER.
inline constexpr const char* TypedURLsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

using TRenames = std::vector<std::pair<std::string, std::string>>; // old name, new name

// Renames every value of the open key to prefix + 1, 2, ... in the order of the numbers
// their names carry after the prefix ("url2" before "url10"), names without one last in
// enumeration order. Each value keeps its data and type, so a non-string value does not
// stop it.
TRenames RenumberValues(HKEY key, const std::string& prefix);
// Replaces each name of the list that was renamed by its new name.
void FollowRenames(std::vector<std::string>& names, const TRenames& renames);
