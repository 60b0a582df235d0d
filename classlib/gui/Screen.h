#pragma once
// TScreen: the forms in creation order, the desktop's size and the cursor that every
// window of the program shows while it is not crDefault. One global instance,
// Screen. Main thread only.
#include "classlib/gui/Classes.h"
#include <vector>
#include <windows.h>

class TForm;

enum TCursor { crDefault, crHourGlass, crHandPoint };
HCURSOR CursorHandle(TCursor cursor); // the system cursor; nullptr for crDefault

class TScreen : public TComponent {
public:
    TScreen() : TComponent(nullptr) {}
    [[nodiscard]] int FormCount() const { return static_cast<int>(FForms.size()); }
    [[nodiscard]] TForm* Forms(int index) const { return FForms.at(index); }
    [[nodiscard]] TForm* ActiveForm() const; // the form whose window is active, or nullptr
    [[nodiscard]] int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    [[nodiscard]] int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    [[nodiscard]] RECT WorkArea() const;

    [[nodiscard]] TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor);

    void AddForm(TForm* form) { FForms.push_back(form); }
    void RemoveForm(TForm* form);
    // The application's activation of a form, not the system's: false when the form is
    // the one last activated, as when the user comes back to it from another program.
    bool ActivatesForm(TForm* form);
    void FormHidden(TForm* form); // shown again, it is activated anew

private:
    std::vector<TForm*> FForms;
    TForm* FLastActivated = nullptr;
    TCursor FCursor = crDefault;
};

extern TScreen* const Screen;
