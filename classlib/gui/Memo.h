#pragma once
// TMemo: a multi-line edit. Its Lines read and change the control's text line by line
// (lines end with CR LF; the last one need not).
#include "classlib/gui/Edit.h"
#include <string>

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

class TMemoLines {
public:
    explicit TMemoLines(TMemo& memo) : FMemo(memo) {}
    [[nodiscard]] int Count() const;
    [[nodiscard]] std::string operator[](int index) const; // EListError when out of range
    void Add(const std::string& line);                     // appended at the end, the caret follows
    void Delete(int index);
    void Clear();
    [[nodiscard]] std::string Text() const;
    void SetText(const std::string& text);

private:
    TMemo& FMemo;
};

// Any memo: the class a skin tests controls for.
class TCustomMemo : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* owner);
    TMemoLines& Lines() { return FLines; }
    [[nodiscard]] TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    [[nodiscard]] bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    friend class TMemoLines;
    void AppendText(const std::string& text);

    TMemoLines FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
};
