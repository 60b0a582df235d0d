#pragma once
// TMemo: a multi-line edit (superclassed "EDIT") whose lines can be added and read
// one by one. Main thread only.
#include "classlib/gui/WinControl.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);

    [[nodiscard]] bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    [[nodiscard]] TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);

    // The lines, as separated by CR LF in the text.
    [[nodiscard]] int LineCount() const;
    [[nodiscard]] std::string Line(int index) const;
    void AddLine(const std::string& line);  // a new last line, scrolled into view
    void Clear() { SetText(""); }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;

private:
    bool FReadOnly = false;
    TScrollStyle FScrollBars = ssNone;
};
