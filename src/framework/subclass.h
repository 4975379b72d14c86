// Chaining a procedure into the message stream of a window that somebody
// else made: a native child of a system dialog, the edit inside a combo
// box, a popup-menu window, an MDI client, or a framework control whose
// owner lends its messages to another object (a skin provider, an adapter).
//
// A native window is subclassed through comctl32's own chain
// (SetWindowSubclass, DefSubclassProc, RemoveWindowSubclass): procedures
// leave it in any order without anything being left to call a freed
// procedure, and nothing written back over procedures chained after ours.
// A framework control is subclassed in its replaceable WindowProc, where
// Perform'd framework notifications arrive too and which outlives a
// re-created window; there the same rule is kept by the link itself: one
// that leaves while others are chained over it stays in their chain as a
// plain pass-through, and is skipped when the chain is next written.
//
// Whatever the kind, the handler sees every message first and passes on
// what it does not answer with CallPrevious. It may detach itself (or be
// destroyed) while one of its messages runs: it is not called again, and
// its data lives until that message is done. A native window's subclass
// ends by itself with WM_NCDESTROY (passed on first, by the handler or
// here); a control's when the control is destroyed. Exceptions thrown by
// a native window's handler end in the framework's barrier, as those of the
// framework's own windows do. Live subclasses are counted
// (THandleKind::Subclass).
#pragma once

#include "framework/controls.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace kova {

namespace subclass_detail {
struct TLink;
}

class TWindowSubclass {
public:
    using THandler = std::function<void(TMessage&)>;

    TWindowSubclass() = default;
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;
    TWindowSubclass(TWindowSubclass&& o) noexcept;
    TWindowSubclass& operator=(TWindowSubclass&& o) noexcept;

    // Chains the handler into a window's messages (detaching from whatever
    // this object held before). False when the window is gone or the chain
    // could not be extended.
    bool Attach(HWND wnd, THandler handler);
    // Chains the handler into a framework control's WindowProc.
    bool Attach(TControl* control, THandler handler);
    // Leaves the chain; nothing when not attached.
    void Detach();

    bool Attached() const;
    // The subclassed window (nullptr for a control or when detached).
    HWND Window() const;
    // The subclassed control (nullptr for a native window or when detached).
    TControl* Control() const;

    // Hands the message to the procedure below this one; its Result is
    // that procedure's answer. Only from within the handler.
    void CallPrevious(TMessage& m) const;
    LRESULT CallPrevious(UINT msg, WPARAM w, LPARAM l) const;

private:
    std::shared_ptr<subclass_detail::TLink> link_;
};

}  // namespace kova
