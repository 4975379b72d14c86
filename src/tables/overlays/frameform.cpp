#include "tables/overlays/frameform.h"

#include "framework/handles.h"
#include "tables/logic/turnlogic.h"

namespace kova::tables {

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The table's frame as the table sees it. A frame closed by other means
// (it frees itself) is forgotten, never freed twice.
class TFrameOverlay : public TTableFrame {
public:
    explicit TFrameOverlay(TPokerTable& table) {
        form_ = kova::TCustomForm::Create<TFrameForm>(nullptr);
        form_->OnDestroy = [this](kova::TObject*) { form_ = nullptr; };
        form_->AttachToTable(table.Window());
    }
    ~TFrameOverlay() override {
        if (!form_) return;
        form_->OnDestroy = nullptr;
        form_->Free();
    }
    void SetState(int32_t state) override {
        if (form_) form_->SetState(state);
    }
    void SetShown(bool shown) override {
        if (form_) ShowWindow(form_->Handle(), shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    }

private:
    TFrameForm* form_ = nullptr;
};

}  // namespace

std::unique_ptr<TTableFrame> MakeFrameOverlay(TPokerTable& table) { return std::make_unique<TFrameOverlay>(table); }

// The window is shaped to the band the pen draws in, or to nothing in state
// 0, rather than colour-keyed: a layered window over the table can hide the
// table's pixels from screen reads on some systems even where it is
// transparent, and the Fold button must stay readable.
TFrameForm::TFrameForm(kova::TComponent* owner) : kova::TForm(owner) {
    RegisterMethod("FormPaint", kova::TNotifyEvent([this](kova::TObject*) {
                       if (current_ != 0) Stroke(current_);
                   }));
    RegisterMethod("FormClose",
                   kova::TCloseEvent([](kova::TObject*, kova::TCloseAction& action) { action = kova::caFree; }));
}

void TFrameForm::CreateParams(kova::TCreateParams& p) {
    kova::TForm::CreateParams(p);
    p.Style |= WS_POPUP;
    // Clicks fall through to the table; the frame never takes the focus.
    p.ExStyle |= WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
}

void TFrameForm::AttachToTable(HWND table) {
    table_ = table;
    SetParentWindow(table);
    RECT r{};
    GetWindowRect(table, &r);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    HandleNeeded();
    RECT client{};
    GetClientRect(Handle(), &client);
    ShapeToBand(client, 0);
    // Shown without taking the focus from the table.
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    visible_ = true;
}

void TFrameForm::SetState(int32_t state) {
    if (state < 0 || state > 3) state = 0;
    RECT table{}, mine{};
    if (!table_ || !GetWindowRect(table_, &table)) return;
    GetWindowRect(Handle(), &mine);
    if (SameRect(table, mine)) {
        requested_ = state;
        if (state != current_) {
            Draw(state);
            current_ = state;
        }
        return;
    }
    Draw(0);
    SetWindowPos(Handle(), nullptr, table.left, table.top, table.right - table.left, table.bottom - table.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    StoreBounds(table.left, table.top, table.right - table.left, table.bottom - table.top);
    Draw(state);
    requested_ = state;
    if (state != current_) {
        Draw(state);
        current_ = state;
    }
}

// The window covers only the band the pen draws in (half the pen lies
// inside the edges): the table's own pixels inside, the Fold button among
// them, stay uncovered for whoever reads them from the screen.
void TFrameForm::ShapeToBand(const RECT& client, int32_t penWidth) {
    if (client.right == bandSize_.cx && client.bottom == bandSize_.cy && penWidth == bandPen_) return;
    bandSize_ = SIZE{client.right, client.bottom};
    bandPen_ = penWidth;
    const int32_t inset = penWidth / 2 + 1;
    kova::TGdiObject<HRGN> band(
        CreateRectRgn(0, 0, penWidth == 0 ? 0 : client.right, penWidth == 0 ? 0 : client.bottom));
    if (penWidth != 0 && client.right > 2 * inset && client.bottom > 2 * inset) {
        kova::TGdiObject<HRGN> inner(CreateRectRgn(inset, inset, client.right - inset, client.bottom - inset));
        CombineRgn(band.Get(), band.Get(), inner.Get(), RGN_DIFF);
    }
    if (SetWindowRgn(Handle(), band.Get(), TRUE)) (void)band.Release();  // the window owns the region now
}

void TFrameForm::Draw(int32_t state) {
    RECT r{};
    GetClientRect(Handle(), &r);
    ShapeToBand(r, state == 0 ? 0 : FramePenWidth(EngineOptions.FrameThickness));  // state 0: nothing shows
    lastColour_ = Stroke(state);
    ++draws_;
}

// The outline of the client rectangle: down the left edge, along the
// bottom, up the right edge and back along the top.
uint32_t TFrameForm::Stroke(int32_t state) {
    const uint32_t c = FrameStateColour(state);
    const COLORREF colour = c == InvalidColour ? kova::ColorToRGB(Color()) : static_cast<COLORREF>(c);
    HWND h = Handle();
    RECT r{};
    GetClientRect(h, &r);
    kova::TWindowDC dc(h);
    if (!dc) return colour;
    kova::TGdiObject<HPEN> pen(CreatePen(PS_SOLID, FramePenWidth(EngineOptions.FrameThickness), colour));
    kova::TSelection selected(dc.Get(), pen.Get());
    MoveToEx(dc.Get(), r.left, r.top, nullptr);
    LineTo(dc.Get(), r.left, r.bottom);
    LineTo(dc.Get(), r.right, r.bottom);
    LineTo(dc.Get(), r.right, r.top);
    LineTo(dc.Get(), r.left, r.top);
    return colour;
}

}  // namespace kova::tables
