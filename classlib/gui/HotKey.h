#pragma once
// THotKey: the hot-key edit box (superclassed "msctls_hotkey32"), which shows a key
// combination and takes the one the user presses. Its value is a shortcut: the
// virtual-key code in the low bits, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 for none.
// A key pressed without a modifier is taken as Alt plus that key.
#include "classlib/gui/WinControl.h"
#include <functional>

class THotKey : public TWinControl {
public:
    explicit THotKey(TComponent* owner);

    [[nodiscard]] WORD HotKey() const;
    void SetHotKey(WORD value);
    // The box gains or loses the keyboard focus.
    std::function<void(TObject*sender)> OnEnter, OnExit;

protected:
    void WndProc(TMessage& message) override;
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;

private:
    WORD FHotKey = 0;
};
