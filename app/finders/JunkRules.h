#pragma once
// The junk finder's rules: a file is junk when a rule that is switched on says so by
// its lower-cased name and extension.
#include <string>
#include <vector>

struct TJunkRules {
    bool Temporary = true;                      // *.TMP; *._MP; *.~MP
    bool GeneralBackup = true;                  // *.OLD; *.PRV; *.NAV; *.1ST; *.BAK; *.SYD
    bool CommonBackup = true;                   // *.??~; *.~*; *~.*
    bool Log = true;                            // *.LOG
    bool ScanDisk = true;                       // CHKDSK.CHK; FILE*.CHK
    bool Unnecessary = true;                    // *.$$$; *.---; MSCREATE.DIR
    std::vector<std::string> IncludeExtensions; // the checked ".err" entries

    [[nodiscard]] bool IsJunk(const std::string& name) const;
};
