#pragma once
// TSkinForm: one per skinned window, made by the skin manager. It routes the window's
// messages through SkinWndProc (answering WM_SKINQUERY), gives a form the skin's face
// colour and a bare window the skin's brush, and hands everything back on Unskin or
// when the window is destroyed. Main thread.
#include "classlib/gui/Classes.h"
#include "classlib/gui/Graphics.h"
#include "classlib/gui/WindowSubclass.h"
#include "skin/SkinControl.h"
#include <memory>

class TSkinData;
class TWinControl;

class TSkinForm : public TComponent {
public:
    explicit TSkinForm(TComponent* owner) : TComponent(owner) {}
    ~TSkinForm() override;

    // The window handle must be set before either is called.
    void InitForm(TSkinData* data, TWinControl* form);
    void InitWindow(TSkinData* data);
    void Unskin();
    void Repaint();
    void SkinChanged();

    HWND Handle = nullptr;
    int OwnerTag = 0;
    [[nodiscard]] TSkinData* SkinData() const { return FSkinData; }
    [[nodiscard]] TWinControl* Form() const { return FForm; }
    // The window is gone: the manager drops this object.
    [[nodiscard]] bool Dropped() const { return FDropped; }
    [[nodiscard]] bool Activated() const { return FActivated; }
    // The skinned controls of the window, made when it is activated.
    TSkinControls& Controls() { return FControls; }

private:
    void SkinWndProc(TMessage& message);
    void Detach();

    std::unique_ptr<TWindowSubclass> FSubclass;
    TSkinControls FControls;
    TSkinData* FSkinData = nullptr;
    TWinControl* FForm = nullptr;
    TColor FOldColor = clBtnFace;
    bool FActivated = false;
    bool FDropped = false;
};
