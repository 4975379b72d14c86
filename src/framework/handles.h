// Owners of GDI and USER handles: each guard releases what it holds when it
// goes out of scope, exceptions included, with the call that matches the
// one that made it (DeleteObject, ReleaseDC, DeleteDC, EndPaint,
// DestroyIcon, RestoreDC, UnhookWindowsHookEx, FreeLibrary ...). A
// selection guard puts the DC's previous object back.
// Guards cannot be copied; they can be moved.
//
// Every guard counts what it holds, per kind. The system's own count of a
// process's GDI and USER objects is not available everywhere (Wine answers
// 0), so these counts are how tests see that a piece of work leaves nothing
// behind. A count goes down only when the release call succeeds: an object
// that the system refused to delete (still selected into a DC, for one)
// stays counted, as it stays alive.
//
// Header only, so that code which must not link the framework (the skin's
// DC routines, tools) can use it; the counters are inline variables, one
// set for the whole program.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <utility>

namespace kova {

enum class THandleKind {
    Pen,
    Brush,
    Font,
    Bitmap,
    Region,
    WindowDC,       // GetDC or GetWindowDC / ReleaseDC
    MemoryDC,       // CreateCompatibleDC / DeleteDC
    Selection,      // an object selected into a DC, to be put back
    Paint,          // BeginPaint / EndPaint
    Icon,
    Menu,
    ImageList,
    WindowBinding,  // a framework object bound to its window
    SavedDC,        // SaveDC / RestoreDC
    Hook,           // SetWindowsHookEx / UnhookWindowsHookEx
    Module,         // LoadLibrary / FreeLibrary
    Subclass,       // a procedure chained into a window's messages
    Count
};

constexpr std::size_t kHandleKinds = static_cast<std::size_t>(THandleKind::Count);
using THandleCounts = std::array<long, kHandleKinds>;

namespace handles_detail {
// Relaxed atomics: a handful of cycles beside the system call each guard
// makes, and correct if a worker thread ever draws.
inline std::array<std::atomic<long>, kHandleKinds> live{};
inline void Add(THandleKind k, long n) {
    live[static_cast<std::size_t>(k)].fetch_add(n, std::memory_order_relaxed);
}
}  // namespace handles_detail

// Guards of the kind alive now.
inline long LiveHandles(THandleKind k) {
    return handles_detail::live[static_cast<std::size_t>(k)].load(std::memory_order_relaxed);
}
inline THandleCounts LiveHandleCounts() {
    THandleCounts c{};
    for (std::size_t i = 0; i < kHandleKinds; ++i) c[i] = handles_detail::live[i].load(std::memory_order_relaxed);
    return c;
}
inline const char* HandleKindName(THandleKind k) {
    static const char* const names[kHandleKinds] = {"pen",    "brush",     "font",   "bitmap", "region",
                                                    "window DC", "memory DC", "selection", "paint", "icon",
                                                    "menu",   "image list", "window binding", "saved DC",
                                                    "hook",   "module",    "subclass"};
    return names[static_cast<std::size_t>(k)];
}
// Bookkeeping for owners that are not guards (the window binding, the
// subclass): n is +1 or -1.
inline void CountHandle(THandleKind k, long n) { handles_detail::Add(k, n); }

// Unique ownership of one handle; Traits names the handle type, its kind
// and how it is released (true when the release succeeded).
template <class Traits>
class TOwnedHandle {
public:
    using Handle = typename Traits::Handle;

    TOwnedHandle() = default;
    // Takes ownership of h (nothing when it is null, as after a failed
    // creation).
    explicit TOwnedHandle(Handle h) : h_(h) {
        if (h_) handles_detail::Add(Traits::kKind, 1);
    }
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;
    TOwnedHandle(TOwnedHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    TOwnedHandle& operator=(TOwnedHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }

    Handle Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Releases the current handle and takes h (nothing when h is the
    // current handle).
    void Reset(Handle h = nullptr) {
        if (h == h_) return;
        Handle old = std::exchange(h_, h);
        if (h_) handles_detail::Add(Traits::kKind, 1);
        if (old && Traits::Close(old)) handles_detail::Add(Traits::kKind, -1);
    }
    // Gives the handle away (to a window that takes ownership, say).
    [[nodiscard]] Handle Release() {
        if (h_) handles_detail::Add(Traits::kKind, -1);
        return std::exchange(h_, nullptr);
    }

private:
    Handle h_ = nullptr;
};

// The traits of a handle of type H and kind K released by CloseFn (which
// answers nonzero when it succeeded).
template <class H, THandleKind K, auto CloseFn>
struct THandleTraits {
    using Handle = H;
    static constexpr THandleKind kKind = K;
    static bool Close(H h) { return CloseFn(h) != 0; }
};

template <class H>
struct TGdiTraits;
template <> struct TGdiTraits<HPEN> : THandleTraits<HPEN, THandleKind::Pen, &DeleteObject> {};
template <> struct TGdiTraits<HBRUSH> : THandleTraits<HBRUSH, THandleKind::Brush, &DeleteObject> {};
template <> struct TGdiTraits<HFONT> : THandleTraits<HFONT, THandleKind::Font, &DeleteObject> {};
template <> struct TGdiTraits<HBITMAP> : THandleTraits<HBITMAP, THandleKind::Bitmap, &DeleteObject> {};
template <> struct TGdiTraits<HRGN> : THandleTraits<HRGN, THandleKind::Region, &DeleteObject> {};

// A pen, brush, font, bitmap or region, deleted with DeleteObject.
template <class H>
using TGdiObject = TOwnedHandle<TGdiTraits<H>>;

using TIconHandle = TOwnedHandle<THandleTraits<HICON, THandleKind::Icon, &DestroyIcon>>;
using TMenuHandle = TOwnedHandle<THandleTraits<HMENU, THandleKind::Menu, &DestroyMenu>>;
using TImageListHandle = TOwnedHandle<THandleTraits<HIMAGELIST, THandleKind::ImageList, &ImageList_Destroy>>;

// A DC made with CreateCompatibleDC (compatible with the screen by default).
class TMemoryDC : public TOwnedHandle<THandleTraits<HDC, THandleKind::MemoryDC, &DeleteDC>> {
public:
    TMemoryDC() = default;
    explicit TMemoryDC(HDC compatibleWith) : TOwnedHandle(CreateCompatibleDC(compatibleWith)) {}
};

// A handle that is given back to what it was taken from (a window's DC to
// the window, a saved state to its DC): Traits names the source, the
// handle, its kind and the release call (true when it succeeded).
template <class Traits>
class TBoundHandle {
public:
    using Source = typename Traits::Source;
    using Handle = typename Traits::Handle;

    TBoundHandle() = default;
    TBoundHandle(Source source, Handle h) : source_(source), h_(h) {
        if (h_) handles_detail::Add(Traits::kKind, 1);
    }
    ~TBoundHandle() { Reset(); }
    TBoundHandle(const TBoundHandle&) = delete;
    TBoundHandle& operator=(const TBoundHandle&) = delete;
    TBoundHandle(TBoundHandle&& o) noexcept : source_(std::exchange(o.source_, Source{})), h_(std::exchange(o.h_, Handle{})) {}
    TBoundHandle& operator=(TBoundHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            source_ = std::exchange(o.source_, Source{});
            h_ = std::exchange(o.h_, Handle{});
        }
        return *this;
    }
    explicit operator bool() const { return h_ != Handle{}; }
    // Gives the handle back now.
    void Reset() {
        const Handle h = std::exchange(h_, Handle{});
        const Source source = std::exchange(source_, Source{});
        if (h != Handle{} && Traits::Close(source, h)) handles_detail::Add(Traits::kKind, -1);
    }

protected:
    Source source_{};
    Handle h_{};
};

// Which part of a window a window DC covers.
enum class TDCArea {
    Client,  // GetDC: the client area (null window: the screen)
    Window,  // GetWindowDC: the whole window, frame and caption included
};

// The traits of a handle of type H and kind K taken from a source of type
// S and given back by CloseFn(source, handle), nonzero when it succeeded.
template <class S, class H, THandleKind K, auto CloseFn>
struct TBoundHandleTraits {
    using Source = S;
    using Handle = H;
    static constexpr THandleKind kKind = K;
    static bool Close(S source, H h) { return CloseFn(source, h) != 0; }
};

// The DC of a window (GetDC or GetWindowDC), released with ReleaseDC.
// Non-client painting takes one on every WM_NCPAINT: a DC left unreleased
// there is one more per repaint.
class TWindowDC : public TBoundHandle<TBoundHandleTraits<HWND, HDC, THandleKind::WindowDC, &ReleaseDC>> {
public:
    TWindowDC() = default;
    explicit TWindowDC(HWND wnd, TDCArea area = TDCArea::Client)
        : TBoundHandle(wnd, area == TDCArea::Window ? GetWindowDC(wnd) : GetDC(wnd)) {}
    HDC Get() const { return h_; }
    HWND Window() const { return source_; }
};

// The DC a paint goes to: the caller's when it gave one (WM_PRINT, a
// WM_PAINT that carries a DC), else the window's own, held by own.
inline HDC GivenOrWindowDC(HDC given, HWND wnd, TDCArea area, TWindowDC& own) {
    if (given) return given;
    own = TWindowDC(wnd, area);
    return own.Get();
}

// SaveDC now, RestoreDC at the end: clipping, mapping and selected objects
// come back as they were, also when the painting in between throws.
class TSavedDC : public TBoundHandle<TBoundHandleTraits<HDC, int, THandleKind::SavedDC, &RestoreDC>> {
public:
    TSavedDC() = default;
    explicit TSavedDC(HDC dc) : TBoundHandle(dc, dc ? SaveDC(dc) : 0) {}
    // The DC while its state is held (nullptr otherwise).
    HDC DC() const { return h_ ? source_ : nullptr; }
    // Restores now (states saved after this one go with it).
    void Restore() { Reset(); }
};

// A hook of SetWindowsHookEx, removed with UnhookWindowsHookEx.
using THookHandle = TOwnedHandle<THandleTraits<HHOOK, THandleKind::Hook, &UnhookWindowsHookEx>>;

// A library loaded with LoadLibrary, freed with FreeLibrary. Entry points
// found in it are valid only while it is loaded.
class TModuleHandle : public TOwnedHandle<THandleTraits<HMODULE, THandleKind::Module, &FreeLibrary>> {
public:
    TModuleHandle() = default;
    // Loads the library; empty when it is not there.
    explicit TModuleHandle(const char* name) : TOwnedHandle(LoadLibraryA(name)) {}
    // The entry point of that name as a pointer of type F; nullptr when the
    // library or the entry point is missing.
    template <class F>
    F Proc(const char* name) const {
        if (!Get()) return nullptr;
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Get(), name)));
    }
};

// Selects an object into a DC and selects the DC's previous object back at
// the end. Select() may switch to other objects of the same type meanwhile:
// what is put back is always the object found first. Declare the guard
// after the owner of what it selects, so that the DC lets go of the object
// before the object is deleted.
class TSelection {
public:
    TSelection() = default;
    TSelection(HDC dc, HGDIOBJ obj) {
        if (!dc || !obj) return;
        HGDIOBJ old = SelectObject(dc, obj);
        if (!old || old == HGDI_ERROR) return;
        dc_ = dc;
        old_ = old;
        handles_detail::Add(THandleKind::Selection, 1);
    }
    ~TSelection() { Reset(); }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;
    TSelection(TSelection&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    TSelection& operator=(TSelection&& o) noexcept {
        if (this != &o) {
            Reset();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC DC() const { return dc_; }
    void Select(HGDIOBJ obj) {
        if (dc_ && obj) SelectObject(dc_, obj);
    }
    // Puts the first object back now.
    void Reset() {
        HDC dc = std::exchange(dc_, nullptr);
        HGDIOBJ old = std::exchange(old_, nullptr);
        if (!dc) return;
        HGDIOBJ back = SelectObject(dc, old);
        if (back && back != HGDI_ERROR) handles_detail::Add(THandleKind::Selection, -1);
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// BeginPaint / EndPaint around the painting of a WM_PAINT message; EndPaint
// also when the painting throws, or the DC that BeginPaint lent would never
// be given back.
class TPaintGuard {
public:
    explicit TPaintGuard(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {
        if (dc_) handles_detail::Add(THandleKind::Paint, 1);
    }
    ~TPaintGuard() { End(); }
    TPaintGuard(const TPaintGuard&) = delete;
    TPaintGuard& operator=(const TPaintGuard&) = delete;
    TPaintGuard(TPaintGuard&& o) noexcept : wnd_(o.wnd_), ps_(o.ps_), dc_(std::exchange(o.dc_, nullptr)) {}
    TPaintGuard& operator=(TPaintGuard&& o) noexcept {
        if (this != &o) {
            End();
            wnd_ = o.wnd_;
            ps_ = o.ps_;
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    HDC DC() const { return dc_; }
    const PAINTSTRUCT& Struct() const { return ps_; }
    void End() {
        if (!std::exchange(dc_, nullptr)) return;
        EndPaint(wnd_, &ps_);
        handles_detail::Add(THandleKind::Paint, -1);
    }

private:
    HWND wnd_ = nullptr;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

}  // namespace kova
