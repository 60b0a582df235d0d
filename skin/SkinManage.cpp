#include "skin/SkinManage.h"
#include "classlib/base/SysUtils.h"
#include "classlib/gui/Application.h"
#include "classlib/gui/Form.h"
#include "classlib/gui/Screen.h"
#include "classlib/gui/WindowText.h"
#include "skin/SkinData.h"
#include "skin/SkinFactory.h"
#include "skin/SkinMessages.h"
#include "skin/SkinReader.h"
#include <algorithm>

namespace {

// A form of the class library with this tag is never skinned, whatever DisableTag says.
constexpr int NeverSkinnedTag = 99;

// Freed when the program's static objects end, after its windows.
std::unique_ptr<TSkinManage> GlobalManager;

bool HasStyle(HWND wnd, int index, LONG_PTR bits) {
    return (GetWindowLongPtrW(wnd, index) & bits) != 0;
}

} // namespace

TSkinManage* SkinManager() {
    return GlobalManager.get();
}

TSkinManage& CreateSkinManager() {
    if (!GlobalManager) GlobalManager = std::make_unique<TSkinManage>();
    return *GlobalManager;
}

void FreeSkinManager() {
    GlobalManager.reset();
}

TSkinManage::TSkinManage()
    : FTimer(std::make_unique<TTimer>(nullptr)), FDropTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(250);
    FTimer->SetOnTimer([this](TObject*) { DoAction(); });
    FDropTimer->SetEnabled(false);
    FDropTimer->SetInterval(10);
    FDropTimer->SetOnTimer([this](TObject*) {
        FDropTimer->SetEnabled(false);
        DropDead();
    });
}

TSkinManage::~TSkinManage() {
    State = TManagerState::Destroying;
    Active = false;
    FTimer.reset();
    FDropTimer.reset();
    for (auto& form : FForms)
        form->Unskin();
    FForms.clear();
    for (auto& menu : FMenus)
        menu->Unhook();
    FMenus.clear();
    FHook.Reset();
    TForm::OnDressing = nullptr;
}

void TSkinManage::InstallHook() {
    if (!FHook)
        FHook.Reset(SetWindowsHookExW(WH_CBT, SkinCBTHookProc, nullptr, GetCurrentThreadId()));
    TForm::OnDressing = [](HWND wnd, bool controlsMade) {
        if (GlobalManager) GlobalManager->SkinBeforeShown(wnd, controlsMade);
    };
}

void TSkinManage::AddSkinData(TSkinData* data) {
    if (std::find(FData.begin(), FData.end(), data) != FData.end()) return;
    FData.push_back(data);
    if (!FMainData && data->SkinFormtype == sfMainform) FMainData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
    std::erase(FData, data);
    if (FMainData == data) FMainData = nullptr;
    if (FActionData == data) {
        FActionData = nullptr;
        FTimer->SetEnabled(false);
    }
    // A window skinned from it is given back before the data goes.
    std::erase_if(FForms, [data](const std::unique_ptr<TSkinForm>& form) {
        if (form->SkinData() != data) return false;
        form->Unskin();
        return true;
    });
    for (auto& menu : FMenus)
        if (menu->Data() == data) menu->Unhook();
    std::erase_if(FMenus,
                  [data](const std::unique_ptr<TSkinPopMenu>& m) { return m->Data() == data; });
}

LRESULT CALLBACK TSkinManage::SkinCBTHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (GlobalManager) {
        try {
            GlobalManager->HookCall(code, wParam, lParam);
        } catch (...) {
            Application->HandleException(nullptr);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TSkinManage::HookCall(int code, WPARAM wParam, LPARAM lParam) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && State == TManagerState::Waiting) State = TManagerState::Running;
    if (code < 0 || !Active) return;
    switch (code) {
    case HCBT_CREATEWND:
        return WindowCreated(wnd, *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs);
    case HCBT_DESTROYWND: return WindowDestroyed(wnd);
    case HCBT_ACTIVATE: SkinWindow(wnd); return;
    }
}

void TSkinManage::WindowCreated(HWND wnd, const CREATESTRUCTW& cs) {
    if (!(cs.style & WS_CHILD) && GetClassNameStr(wnd) == "#32768") return SkinPopupMenu(wnd);
    if (cs.dwExStyle & WS_EX_MDICHILD) return (void)SkinWindow(wnd);
    // A size grip is no control of the class library: skinned as on a bare window.
    if ((cs.style & SBS_SIZEGRIP) && AsciiLowerCase(GetClassNameStr(wnd)) == "scrollbar")
        if (TSkinForm* form = FindSkinForm(cs.hwndParent)) return SkinChildWindow(*form, wnd);
    if (cs.style & WS_CHILD) ControlCreated(GetAncestor(cs.hwndParent, GA_ROOT));
}

// A control made after its window was skinned (a page shown for the first time) is
// skinned by the window's next activation pass, asked for once.
void TSkinManage::ControlCreated(HWND root) {
    for (auto& form : FForms)
        if (form->Handle == root && form->Activated() && !form->Controls().Pending) {
            form->Controls().Pending = true;
            PostMessageW(root, WM_SKINACTIVATE, 0, 1000);
        }
}

void TSkinManage::WindowDestroyed(HWND wnd) {
    // The skinned window's object goes once the window is gone (it may be running
    // its window procedure now), not with the program.
    for (auto& form : FForms)
        if (form->Handle == wnd) FDropTimer->SetEnabled(true);
    auto it = std::find_if(FMenus.begin(), FMenus.end(),
                           [wnd](const auto& menu) { return menu->Handle() == wnd; });
    if (it != FMenus.end()) {
        (*it)->Unhook();
        FMenus.erase(it);
    }
    if (FMenus.empty()) MenuKind = TMenuKind::Popup;
}

void TSkinManage::DropDead() {
    std::erase_if(FForms, [this](const std::unique_ptr<TSkinForm>& form) {
        return !form->Busy() && (form->Dropped() || !IsWindow(form->Handle));
    });
}

TSkinForm* TSkinManage::FindSkinForm(HWND wnd) {
    DropDead();
    for (auto& form : FForms)
        if (form->Handle == wnd) return form.get();
    return nullptr;
}

// The checks of a window that may be skinned, after it is known to be new.
bool TSkinManage::MaySkin(HWND wnd, TWinControl* control) const {
    const std::string className = GetClassNameStr(wnd);
    const bool mdiChild = HasStyle(wnd, GWL_EXSTYLE, WS_EX_MDICHILD);
    if (!SkinAll && HasStyle(wnd, GWL_STYLE, WS_CHILD) && !mdiChild &&
        AsciiLowerCase(GetClassNameStr(GetParent(wnd))) != "mdiclient")
        return false;
    if (!control && className != "#32770" &&
        reinterpret_cast<HMODULE>(GetWindowLongPtrW(wnd, GWLP_HINSTANCE)) !=
            GetModuleHandleW(nullptr))
        return false;
    RECT r;
    GetWindowRect(wnd, &r);
    if ((r.right <= r.left || r.bottom <= r.top) && !mdiChild) return false;
    if (control && control->Tag() == NeverSkinnedTag) return false;
    if (className == "TApplication") return false;
    if (!FMainData) return true;
    if (!(FMainData->Options & SkinOption(xoPreview)) &&
        AsciiLowerCase(className).find("preview") != std::string::npos)
        return false;
    bool doSkin = true;
    FMainData->DoFormSkin(className, doSkin);
    return doSkin;
}

// The last registered data that fits: the window's own, a dialog's, the main one, any.
TSkinData* TSkinManage::ChooseData(HWND wnd) const {
    auto last = [this](auto fits) -> TSkinData* {
        for (auto it = FData.rbegin(); it != FData.rend(); ++it)
            if (fits(*it)) return *it;
        return nullptr;
    };
    TSkinData* data = last([wnd](TSkinData* d) {
        auto owner = dynamic_cast<TWinControl*>(d->Owner());
        return d->SkinFormtype == sfOnlyThisForm && owner && owner->HandleIfAllocated() == wnd;
    });
    const std::string className = AsciiLowerCase(GetClassNameStr(wnd));
    if (!data && (className == "tmessageform" || className == "#32770"))
        data = last([](TSkinData* d) { return d->SkinFormtype == sfDialog; });
    if (!data) data = last([](TSkinData* d) { return d->SkinFormtype == sfMainform; });
    if (!data && !FData.empty()) data = FData.front();
    return data;
}

bool TSkinManage::SkinWindow(HWND wnd) {
    if (!Active || !IsWindow(wnd) || SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1) return false;
    if (FindSkinForm(wnd)) return false;
    TWinControl* control = TWinControl::FindControl(wnd);
    if (!control) {
        TWinControl* creating = TWinControl::CreationControl();
        if (creating && !creating->HandleAllocated()) control = creating;
    }
    if (!MaySkin(wnd, control)) return false;
    TSkinData* data = ChooseData(wnd);
    if (!data || !data->SkinReady()) return false;
    auto form = std::make_unique<TSkinForm>(nullptr);
    form->Handle = wnd;
    form->OwnerTag = OwnerTag;
    if (control)
        form->InitForm(data, control);
    else
        form->InitWindow(data);
    FForms.push_back(std::move(form));
    PostMessageW(wnd, WM_SKINACTIVATE, 0, 1000);
    return true;
}

void TSkinManage::SkinBeforeShown(HWND wnd, bool controlsMade) {
    TSkinForm* form = FindSkinForm(wnd);
    if (form ? !form->Activated() || !form->Controls().Pending
             : IsWindowVisible(wnd) || !SkinWindow(wnd))
        return;
    MSG posted; // the pass runs now instead of after the show
    PeekMessageW(&posted, wnd, WM_SKINACTIVATE, WM_SKINACTIVATE, PM_REMOVE);
    SendMessageW(wnd, WM_SKINACTIVATE, controlsMade ? 0 : SkinFrameOnly, 1000);
}

void TSkinManage::SkinPopupMenu(HWND wnd) {
    if (!Active || SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1) return;
    for (auto& menu : FMenus)
        if (menu->Handle() == wnd) return;
    TSkinData* data = ChooseData(wnd);
    if (!data || !data->SkinReady()) return;
    const TSkinControlTypes kinds = data->SkinControls;
    if ((MenuKind == TMenuKind::Popup && !(kinds & SkinKind(xcPopupMenu))) ||
        (MenuKind == TMenuKind::Main && !(kinds & (SkinKind(xcMainMenu) | SkinKind(xcMenuItem)))) ||
        (MenuKind == TMenuKind::System && !(kinds & SkinKind(xcSystemMenu))))
        return;
    auto menu = std::make_unique<TSkinPopMenu>();
    menu->Hook(wnd, data, nullptr);
    FMenus.push_back(std::move(menu));
}

void TSkinManage::SetMenuOwner(TObject* owner) {
    for (auto it = FMenus.rbegin(); it != FMenus.rend(); ++it)
        if (!(*it)->Owner) {
            (*it)->Owner = owner;
            return;
        }
}

TBitmap* TSkinManage::MenuPicture(HWND menu) const {
    for (auto& listed : FMenus)
        if (listed->Handle() == menu) return listed->Picture();
    return nullptr;
}

void TSkinManage::RequestAction(TSkinAction action, unsigned interval) {
    FAction = action;
    FTimer->SetInterval(interval);
    if (State != TManagerState::Waiting) return FTimer->SetEnabled(true);
    if (action == TSkinAction::SkinAll) Active = true;
    if (action == TSkinAction::UnskinAll) Active = false;
}

void TSkinManage::SkinForms() {
    Active = true;
    SkinAll = true;
    DropDead();
    for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TForm* form = Screen->Forms(i);
        HWND wnd = form->HandleIfAllocated();
        if (!wnd || !IsWindowVisible(wnd)) continue;
        if (HasStyle(wnd, GWL_STYLE, WS_CHILD) && !HasStyle(wnd, GWL_EXSTYLE, WS_EX_MDICHILD))
            continue;
        SkinWindow(wnd);
    }
    SkinAll = false;
}

void TSkinManage::UnskinAll() {
    Active = false;
    DropDead();
    for (auto& form : FForms) {
        form->Unskin();
        form->Repaint();
    }
    FForms.clear();
}

void TSkinManage::RefreshData() {
    for (auto& form : FForms)
        if (form->SkinData() == FActionData) form->FreeSysButtons();
}

// Caption buttons and metrics are loaded anew first, then each window applies the skin.
void TSkinManage::SkinChanged(const TSkinForm* only) {
    DropDead();
    std::vector<HWND> changed;
    for (auto& form : FForms)
        if (only ? form.get() == only : form->SkinData() == FActionData) {
            form->FreeSysButtons();
            form->LoadFrame();
            changed.push_back(form->Handle);
        }
    for (HWND wnd : changed)
        SendMessageW(wnd, WM_SKINCHANGED, 0, 0);
}

void TSkinManage::ForEachInRole(TMDIRole role, const std::function<void(TSkinForm&)>& action) {
    DropDead();
    for (auto& form : FForms)
        if (form->MDIRole() == role) action(*form);
}

void TSkinManage::SetMDIMaximized(bool value) {
    if (value == FMDIMaximized) return;
    FMDIMaximized = value;
    ForEachInRole(TMDIRole::Child, [value](TSkinForm& child) { child.MDIMaximizedChanged(value); });
    // The frames' menu bars show or hide the maximized child's buttons.
    ForEachInRole(TMDIRole::Frame,
                  [](TSkinForm& frame) { PostMessageW(frame.Handle, WM_SKINREPAINTFRAME, 0, 0); });
}

void TSkinManage::SetNativeMDIFrames(bool value) {
    if (value == FNativeFrames) return;
    FNativeFrames = value;
    ForEachInRole(TMDIRole::Child, [value](TSkinForm& child) { child.NativeFramesChanged(value); });
}

void TSkinManage::DoAction() {
    FTimer->SetEnabled(false);
    TSkinData* data = FActionData;
    if (!data) return;
    if (data->SkinFormtype == sfOnlyThisForm) {
        auto owner = dynamic_cast<TWinControl*>(data->Owner());
        HWND wnd = owner ? owner->HandleIfAllocated() : nullptr;
        TSkinForm* form = FindSkinForm(wnd);
        if (FAction == TSkinAction::SkinAll && wnd) SkinWindow(wnd);
        if (FAction == TSkinAction::UnskinAll && form) {
            form->Unskin();
            form->Repaint();
            std::erase_if(FForms, [form](const auto& f) { return f.get() == form; });
        }
        if (FAction == TSkinAction::Reapply && form) SkinChanged(form);
    } else if (FAction == TSkinAction::SkinAll)
        SkinForms();
    else if (FAction == TSkinAction::UnskinAll)
        UnskinAll();
    else if (FAction == TSkinAction::Reapply)
        SkinChanged(nullptr);
    else if (FAction == TSkinAction::DropDead)
        DropDead();
    FActionData = nullptr;
    data->DoSkinChanged();
}

TBitmap* TSkinManage::MainFormIcon(const TSkinData* data) const {
    for (TSkinData* other : FData)
        if (other != data && other->SkinFormtype == sfMainform && !other->SmallIcon().Empty())
            return &other->SmallIcon();
    return nullptr;
}
