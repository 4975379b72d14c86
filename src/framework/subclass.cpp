#include "framework/subclass.h"

#include "framework/handles.h"

#include <commctrl.h>

#include <exception>
#include <utility>

namespace kova {

namespace subclass_detail {

class TControlWatch;

struct TLink : std::enable_shared_from_this<TLink> {
    TWindowSubclass::THandler handler;
    // Still chained in and calling the handler.
    bool attached = false;
    // Native window: the window, and whether comctl32 still holds us; the
    // chain's reference keeps the link alive for as long as it can be
    // called. `master` is the window procedure comctl32 installed.
    HWND wnd = nullptr;
    bool inChain = false;
    std::shared_ptr<TLink> chainRef;
    LONG_PTR master = 0;
    // Calls of this link running now; comctl32's entry is removed only when
    // none is, so that no running call finds its chain changed under it.
    int depth = 0;
    // Whether the message being handled was passed on (per call).
    bool passed = false;
    // Framework control: the control, what its WindowProc was before us,
    // and the watch that tells when the control goes.
    TControl* control = nullptr;
    TWndMethod saved;
    std::unique_ptr<TControlWatch> watch;

    void Leave();
    void RemoveFromChain();
    void ControlGone();
};

// The link as the control's WindowProc: holds it alive for as long as any
// chain holds the procedure.
struct TThunk {
    std::shared_ptr<TLink> link;
    void operator()(TMessage& m) const {
        // The chain may be written while this runs (the handler detaching):
        // nothing of this object is used past this line.
        const std::shared_ptr<TLink> l = link;
        if (!l->attached || !l->handler) {
            if (l->saved) l->saved(m);
            return;
        }
        ++l->depth;
        struct TDepth {
            TLink& l;
            ~TDepth() { --l.depth; }
        } depth{*l};
        l->handler(m);
    }
};

// A component only for the free notification of the control.
class TControlWatch : public TComponent {
public:
    TControlWatch(TLink* link, TControl* control) : TComponent(nullptr), link_(link) { FreeNotification(control); }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && link_ && c == link_->control) link_->ControlGone();
    }

private:
    TLink* link_;
};

namespace {

// Skips links that have left: a chain written now holds only live ones.
TWndMethod SkipLeft(TWndMethod proc) {
    while (const TThunk* t = proc.target<TThunk>()) {
        if (t->link->attached) break;
        TWndMethod below = t->link->saved;
        proc = std::move(below);
    }
    return proc;
}

LRESULT CALLBACK NativeProc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
    // The owner may let go of the link while this call runs.
    const std::shared_ptr<TLink> link = reinterpret_cast<TLink*>(ref)->shared_from_this();
    TMessage m{msg, w, l, 0};
    const bool outerPassed = std::exchange(link->passed, false);
    ++link->depth;
    if (link->attached && link->handler) {
        try {
            link->handler(m);
        } catch (const std::exception& e) {
            HandleException(&e);
        } catch (...) {
            HandleException(nullptr);
        }
    } else {
        m.Result = DefSubclassProc(h, msg, w, l);
        link->passed = true;
    }
    --link->depth;
    if (msg == WM_NCDESTROY) {
        // The procedures below must see the window go, whatever the
        // handler did with the message.
        if (!link->passed) m.Result = DefSubclassProc(h, msg, w, l);
        // The window goes: whatever is on top of the chain no longer matters.
        link->master = GetWindowLongPtrA(h, GWLP_WNDPROC);
        link->Leave();
    }
    link->passed = outerPassed;
    if (link->depth == 0 && !link->attached) link->RemoveFromChain();
    return m.Result;
}

}  // namespace

void TLink::Leave() {
    if (!attached) return;
    attached = false;
    CountHandle(THandleKind::Subclass, -1);
    if (control) {
        TControl* c = std::exchange(control, nullptr);
        watch.reset();
        // On top of the chain: the chain goes back to what was below us.
        // Under other procedures: we stay their pass-through.
        if (const TThunk* t = c->WindowProc.target<TThunk>(); t && t->link.get() == this)
            c->WindowProc = SkipLeft(saved);
    }
    if (wnd && depth == 0) RemoveFromChain();
}

void TLink::RemoveFromChain() {
    if (!inChain) return;
    // Somebody replaced the window procedure over comctl32's without its
    // chain: leaving could make comctl32 write the original procedure back
    // over theirs. We stay a pass-through until the window goes.
    if (IsWindow(wnd) && GetWindowLongPtrA(wnd, GWLP_WNDPROC) != master) return;
    inChain = false;
    // Fails harmlessly for a window that is already gone.
    RemoveWindowSubclass(wnd, NativeProc, reinterpret_cast<UINT_PTR>(this));
    // Last: this may be the last reference.
    std::shared_ptr<TLink> ref = std::move(chainRef);
}

void TLink::ControlGone() {
    // The control's WindowProc is gone with it: nothing to write back.
    control = nullptr;
    if (attached) {
        attached = false;
        CountHandle(THandleKind::Subclass, -1);
    }
}

}  // namespace subclass_detail

using subclass_detail::TLink;

TWindowSubclass::~TWindowSubclass() { Detach(); }

TWindowSubclass::TWindowSubclass(TWindowSubclass&& o) noexcept : link_(std::move(o.link_)) {}

TWindowSubclass& TWindowSubclass::operator=(TWindowSubclass&& o) noexcept {
    if (this != &o) {
        Detach();
        link_ = std::move(o.link_);
    }
    return *this;
}

bool TWindowSubclass::Attach(HWND wnd, THandler handler) {
    Detach();
    link_.reset();
    if (!wnd || !IsWindow(wnd)) return false;
    auto link = std::make_shared<TLink>();
    link->handler = std::move(handler);
    link->wnd = wnd;
    const auto raw = reinterpret_cast<UINT_PTR>(link.get());
    if (!SetWindowSubclass(wnd, subclass_detail::NativeProc, raw, raw)) return false;
    link->inChain = true;
    link->chainRef = link;
    link->master = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
    link->attached = true;
    CountHandle(THandleKind::Subclass, 1);
    link_ = std::move(link);
    return true;
}

bool TWindowSubclass::Attach(TControl* control, THandler handler) {
    Detach();
    link_.reset();
    if (!control || control->IsDestroying()) return false;
    auto link = std::make_shared<TLink>();
    link->handler = std::move(handler);
    link->control = control;
    link->saved = subclass_detail::SkipLeft(control->WindowProc);
    link->watch = std::make_unique<subclass_detail::TControlWatch>(link.get(), control);
    control->WindowProc = subclass_detail::TThunk{link};
    link->attached = true;
    CountHandle(THandleKind::Subclass, 1);
    link_ = std::move(link);
    return true;
}

void TWindowSubclass::Detach() {
    // The link stays with this object: a handler that detached itself can
    // still pass the message it is handling on. A call running now keeps
    // its own reference until it is done.
    if (link_) link_->Leave();
}

bool TWindowSubclass::Attached() const { return link_ && link_->attached; }

HWND TWindowSubclass::Window() const { return Attached() ? link_->wnd : nullptr; }

TControl* TWindowSubclass::Control() const { return Attached() ? link_->control : nullptr; }

void TWindowSubclass::CallPrevious(TMessage& m) const {
    if (!link_) return;
    TLink& l = *link_;
    if (l.wnd) {
        // comctl32 knows the procedure below only inside a call.
        if (l.depth == 0 || !l.inChain) return;
        m.Result = DefSubclassProc(l.wnd, m.Msg, m.WParam, m.LParam);
        l.passed = true;
    } else if (l.saved) {
        l.saved(m);
    }
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM w, LPARAM l) const {
    TMessage m{msg, w, l, 0};
    CallPrevious(m);
    return m.Result;
}

}  // namespace kova
