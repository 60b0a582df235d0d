#pragma once
// Move-only owners of Win32 handles, one traits type per kind, and scope types
// for paired calls.
#include <atomic>
#include <objbase.h>
#include <utility>
#include <windows.h>

// GDI objects and memory DCs now held by the library's handle owners. The tests
// check it for leaks: GetGuiResources is a stub under Wine.
inline std::atomic<long> LiveGdiObjects{0};

template <class Traits> class THandle {
public:
    using Type = typename Traits::Type;
    THandle() = default;
    explicit THandle(Type h) : FHandle(h) { Count(h, 1); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    THandle(THandle&& o) noexcept : FHandle(std::exchange(o.FHandle, Traits::Empty())) {}
    THandle& operator=(THandle&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    ~THandle() { Reset(); }

    [[nodiscard]] Type Get() const { return FHandle; }
    [[nodiscard]] bool Valid() const { return FHandle != Traits::Empty(); }
    explicit operator bool() const { return Valid(); }
    // The handle leaves the owner (and the count): someone else frees it now.
    Type Release() {
        Count(FHandle, -1);
        return std::exchange(FHandle, Traits::Empty());
    }
    void Reset(Type h = Traits::Empty()) {
        if (Valid()) {
            Traits::Close(FHandle);
            Count(FHandle, -1);
        }
        FHandle = h;
        Count(h, 1);
    }
    // For APIs that fill in a handle: frees the old one first.
    Type* Out() {
        Reset();
        return &FHandle;
    }

private:
    static void Count(Type h, long delta) {
        if constexpr (requires { Traits::CountedGdi; })
            if (h != Traits::Empty()) LiveGdiObjects += delta;
    }

    Type FHandle = Traits::Empty();
};

// Kernel objects that signal failure with INVALID_HANDLE_VALUE (files, snapshots).
struct TFileHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
// Kernel objects that signal failure with NULL (processes, threads, events, mutexes).
struct TKernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct TFindHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct TRegKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
// One kind of GDI object, so that its owner gives the typed handle.
template <class H> struct TTypedGdiTraits {
    using Type = H;
    static constexpr bool CountedGdi = true;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
using TGdiObjectTraits = TTypedGdiTraits<HGDIOBJ>;
struct TDCTraits {
    using Type = HDC;
    static constexpr bool CountedGdi = true;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};
struct TIconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};
struct TMenuTraits {
    using Type = HMENU;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
struct TLibraryTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct THookTraits {
    using Type = HHOOK;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};

using TFileHandle = THandle<TFileHandleTraits>;
using TKernelHandle = THandle<TKernelHandleTraits>;
using TFindHandle = THandle<TFindHandleTraits>;
using TRegKey = THandle<TRegKeyTraits>;
using TGdiObject = THandle<TGdiObjectTraits>;
using TBrushHandle = THandle<TTypedGdiTraits<HBRUSH>>;
using TPenHandle = THandle<TTypedGdiTraits<HPEN>>;
using TFontHandle = THandle<TTypedGdiTraits<HFONT>>;
using TBitmapHandle = THandle<TTypedGdiTraits<HBITMAP>>;
using TRegionHandle = THandle<TTypedGdiTraits<HRGN>>;
using TMemoryDC = THandle<TDCTraits>;
using TIconHandle = THandle<TIconTraits>;
using TMenuHandle = THandle<TMenuTraits>;
using TLibraryHandle = THandle<TLibraryTraits>;
using THookHandle = THandle<THookTraits>;

// A window's DC from GetDC (the client area) or GetWindowDC (the whole window, frame
// included), released at the end of the scope.
template <HDC(WINAPI* Take)(HWND)> class TReleasedDC {
public:
    explicit TReleasedDC(HWND wnd) : FWnd(wnd), FDC(Take(wnd)) {}
    ~TReleasedDC() {
        if (FDC) ReleaseDC(FWnd, FDC);
    }
    TReleasedDC(const TReleasedDC&) = delete;
    TReleasedDC& operator=(const TReleasedDC&) = delete;
    [[nodiscard]] HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};
using TWindowDC = TReleasedDC<GetDC>;
using TWholeWindowDC = TReleasedDC<GetWindowDC>;

// BeginPaint/EndPaint.
class TPaintScope {
public:
    explicit TPaintScope(HWND wnd) : FWnd(wnd) { FDC = BeginPaint(wnd, &FPS); }
    ~TPaintScope() { EndPaint(FWnd, &FPS); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    [[nodiscard]] HDC Get() const { return FDC; }
    [[nodiscard]] const PAINTSTRUCT& Info() const { return FPS; }

private:
    HWND FWnd;
    PAINTSTRUCT FPS{};
    HDC FDC;
};

// SelectObject, selecting the previous object back at the end of the scope.
class TSelectScope {
public:
    TSelectScope(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(SelectObject(dc, obj)) {}
    ~TSelectScope() { SelectObject(FDC, FOld); }
    TSelectScope(const TSelectScope&) = delete;
    TSelectScope& operator=(const TSelectScope&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// SaveDC/RestoreDC: every change made to the DC in the scope is undone at its end.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
    ~TSavedDC() { RestoreDC(FDC, FSaved); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC FDC;
    int FSaved;
};

// CoInitialize/CoUninitialize (only when the initialisation succeeded).
class TCoInitScope {
public:
    TCoInitScope() : FResult(CoInitialize(nullptr)) {}
    ~TCoInitScope() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }
    TCoInitScope(const TCoInitScope&) = delete;
    TCoInitScope& operator=(const TCoInitScope&) = delete;

private:
    HRESULT FResult;
};

// Owner of one COM interface pointer.
template <class I> class TComPtr {
public:
    TComPtr() = default;
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& o) noexcept : FPtr(std::exchange(o.FPtr, nullptr)) {}
    TComPtr& operator=(TComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            FPtr = std::exchange(o.FPtr, nullptr);
        }
        return *this;
    }
    ~TComPtr() { Reset(); }
    I* operator->() const { return FPtr; }
    [[nodiscard]] I* Get() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    I** Out() {
        Reset();
        return &FPtr;
    }
    [[nodiscard]] I* Detach() {
        return std::exchange(FPtr, nullptr);
    } // the caller owns the reference
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset() {
        if (FPtr) {
            FPtr->Release();
            FPtr = nullptr;
        }
    }

private:
    I* FPtr = nullptr;
};
