#include "skin/SkinForm.h"
#include "classlib/gui/WinControl.h"
#include "skin/SkinData.h"
#include "skin/SkinFactory.h"
#include "skin/SkinMenuItem.h"
#include "skin/SkinMessages.h"

TSkinForm::~TSkinForm() {
    Detach();
}

void TSkinForm::InitForm(TSkinData* data, TWinControl* form) {
    FForm = form;
    InitWindow(data);
    FOldColor = form->Color();
    form->SetColor(data->Colours().ButtonFace);
    if (data->SkinControls & SkinKind(xcPopupMenu)) SkinFormPopupMenus(form, data);
}

void TSkinForm::InitWindow(TSkinData* data) {
    if (FSubclass) return;
    FSkinData = data;
    FSubclass =
        std::make_unique<TWindowSubclass>(Handle, TWndMethod::Of<&TSkinForm::SkinWndProc>(this));
    InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinForm::Detach() {
    FControls.DestroyAll();
    FSubclass.reset();
}

void TSkinForm::Unskin() {
    Detach();
    if (!FForm || FDropped || FForm->Destroying()) return;
    FForm->SetColor(FOldColor);
    SkinFormPopupMenus(FForm, nullptr);
}

void TSkinForm::Repaint() {
    if (!IsWindow(Handle)) return;
    InvalidateRect(Handle, nullptr, TRUE);
    UpdateWindow(Handle);
}

void TSkinForm::SkinChanged() {
    if (FDropped) return;
    if (FForm) FForm->SetColor(FSkinData->Colours().ButtonFace);
    FControls.RefreshAll();
    Repaint();
}

void TSkinForm::SkinWndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SKINQUERY: message.Result = 1; return;
    case WM_SKINACTIVATE:
        FActivated = true;
        SkinWindowControls(*this);
        return;
    case WM_ERASEBKGND:
        if (FForm) break;
        RECT r;
        GetClientRect(Handle, &r);
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, FSkinData->ButtonFaceBrush());
        message.Result = 1;
        return;
    case WM_CTLCOLORSTATIC:
        if (FForm) break;
        FSubclass->CallPrevious(message);
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        message.Result = reinterpret_cast<LRESULT>(FSkinData->ButtonFaceBrush());
        return;
    case WM_NCDESTROY:
        FDropped = true;
        FSubclass->CallPrevious(message);
        return;
    }
    FSubclass->CallPrevious(message);
}
