#pragma once
// A wipe method: a named, ordered list of overwrite passes kept in its own ".mtd"
// ini file of the "Methods" folder. Main thread only.
#include "engine/wipe/Pass.h"
#include <memory>
#include <string>
#include <vector>

class TWipeMethod {
public:
    int PassCounter = 1;  // number of the next default pass name
    std::string FileName; // full path of the ".mtd" file
    std::string Name = "New method";
    std::string Description = "New method Description";

    // Frees every pass and sets PassCounter back to 1.
    void Clear();
    [[nodiscard]] TPass& GetPass(int index) const {
        return *FPasses.at(static_cast<size_t>(index));
    }
    [[nodiscard]] int PassCount() const { return static_cast<int>(FPasses.size()); }
    // A new pass named "pass" + PassCounter, not yet in the list: Append it.
    [[nodiscard]] std::unique_ptr<TPass> AddPass();
    void Append(std::unique_ptr<TPass> pass) { FPasses.push_back(std::move(pass)); }
    // Frees the pass if it is in the list; otherwise does nothing.
    void DeletePass(const TPass* pass);
    // Copies name, description and passes; FileName stays.
    void Assign(const TWipeMethod& source);

    // Appends the passes of FileName to the list; missing values read as defaults.
    // False when the file is damaged: no section "Method", passes it does not hold, or
    // numbers that are not whole numbers in their range (read as defaults). Errors of
    // the file pass to the caller.
    bool LoadFromFile();
    // Writes into the existing file; sections of passes beyond the count stay.
    void SaveToFile() const;

private:
    std::vector<std::unique_ptr<TPass>> FPasses;
};
