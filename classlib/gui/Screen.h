#pragma once
// TScreen: the forms in creation order and the desktop's size. One global instance,
// Screen. Main thread only.
#include "classlib/gui/Classes.h"
#include <vector>
#include <windows.h>

class TForm;

class TScreen : public TComponent {
public:
    TScreen() : TComponent(nullptr) {}
    [[nodiscard]] int FormCount() const { return static_cast<int>(FForms.size()); }
    [[nodiscard]] TForm* Forms(int index) const { return FForms.at(index); }
    [[nodiscard]] TForm* ActiveForm() const; // the form whose window is active, or nullptr
    [[nodiscard]] int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    [[nodiscard]] int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    [[nodiscard]] RECT WorkArea() const;

    void AddForm(TForm* form) { FForms.push_back(form); }
    void RemoveForm(TForm* form);

private:
    std::vector<TForm*> FForms;
};

extern TScreen* const Screen;
