#include "skin/forms/titleitems.h"

#include <utility>

#include "skin/forms/provider.h"

namespace kova::skin {

int TitleIconSizeFor(int captionHeight) {
    if (captionHeight <= 8) return 1;
    if (captionHeight <= 16) return 8;
    return 16;
}

// ------------------------------------------------------------- title icon

TsTitleIcon::TsTitleIcon() : glyph_(std::make_unique<TBitmap>()) {}

void TsTitleIcon::DefineProps(TPropList& L) {
    L.For<TsTitleIcon>()
        .Object("Glyph", [](TsTitleIcon* t) -> TObject* { return t->Glyph(); },
                [](TsTitleIcon* t, TObject* v) { t->SetGlyph(dynamic_cast<TBitmap*>(v)); })
        .Int("Height", [](TsTitleIcon* t) { return t->Height; }, [](TsTitleIcon* t, int v) { t->Height = v; })
        .Int("Width", [](TsTitleIcon* t) { return t->Width; }, [](TsTitleIcon* t, int v) { t->Width = v; });
}

// ----------------------------------------------------------- title button

TsTitleButton::TsTitleButton(TsTitleButtons* collection)
    : collection_(collection), name_("TsTitleButton"), glyph_(std::make_unique<TBitmap>()) {}

TsTitleButton::~TsTitleButton() { HideHint(); }

void TsTitleButton::HideHint() {
    if (!HintWindow) return;
    THintWindow* w = HintWindow;
    HintWindow = nullptr;
    w->Free();
}

void TsTitleButton::ShowHint() {
    HideHint();
    if (Hint.empty()) return;
    HintWindow = new THintWindow(nullptr);
    RECT r = HintWindow->CalcHintRect(800, Hint);
    POINT cursor{};
    GetCursorPos(&cursor);
    OffsetRect(&r, cursor.x + 8, cursor.y + 16);
    r.bottom += 4;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;
    if (r.right > work.right) OffsetRect(&r, work.right - r.right, 0);
    if (r.bottom > work.bottom) OffsetRect(&r, 0, work.bottom - r.bottom);
    if (r.left < work.left) OffsetRect(&r, work.left - r.left, 0);
    if (r.top < work.top) OffsetRect(&r, 0, work.top - r.top);
    HintWindow->SetCaption(Hint);
    const HWND wnd = HintWindow->Handle();
    SetWindowPos(wnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    BOOL animation = FALSE, fade = FALSE;
    SystemParametersInfoA(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
    SystemParametersInfoA(SPI_GETTOOLTIPFADE, 0, &fade, 0);
    // Long hints come at once.
    if (Hint.size() < 100 && animation && fade && AnimateWindow(wnd, 200, AW_BLEND)) return;
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

void TsTitleButton::SetName(const std::string& value) {
    if (value != name_) name_ = value.empty() ? std::string("TsTitleButton") : value;
}

void TsTitleButton::SetGlyph(const TBitmap* value) {
    glyph_->Assign(value);
    CachedImage.reset();
}

void TsTitleButton::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    if (collection_ && collection_->Provider()) collection_->Provider()->RepaintNonClient();
}

bool TsTitleButton::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TsTitleButton*>(source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return true;
    Enabled = other->Enabled;
    SetGlyph(other->glyph_.get());
    Hint = other->Hint;
    name_ = other->name_;
    UseSkinData = other->UseSkinData;
    OnMouseDown = other->OnMouseDown;
    OnMouseUp = other->OnMouseUp;
    return true;
}

void TsTitleButton::DefineProps(TPropList& L) {
    L.For<TsTitleButton>()
        .Bool("UseSkinData", [](TsTitleButton* b) { return b->UseSkinData; },
              [](TsTitleButton* b, bool v) { b->UseSkinData = v; })
        .String("Name", &TsTitleButton::Name, &TsTitleButton::SetName)
        .Object("Glyph", [](TsTitleButton* b) -> TObject* { return b->Glyph(); },
                [](TsTitleButton* b, TObject* v) { b->SetGlyph(dynamic_cast<TBitmap*>(v)); })
        .Event("OnMouseUp", &TsTitleButton::OnMouseUp)
        .Event("OnMouseDown", &TsTitleButton::OnMouseDown)
        .Bool("Enabled", [](TsTitleButton* b) { return b->Enabled; }, [](TsTitleButton* b, bool v) { b->Enabled = v; })
        .String("Hint", [](TsTitleButton* b) { return b->Hint; },
                [](TsTitleButton* b, const std::string& v) { b->Hint = v; })
        .Bool("Visible", &TsTitleButton::Visible, &TsTitleButton::SetVisible);
}

// ---------------------------------------------------------- title buttons

TsTitleButtons::TsTitleButtons(TsSkinProvider* provider) : provider_(provider) {}

TsTitleButtons::~TsTitleButtons() {
    provider_ = nullptr;
    items_.clear();
}

TsTitleButton* TsTitleButtons::Add() {
    items_.push_back(std::make_unique<TsTitleButton>(this));
    return items_.back().get();
}

void TsTitleButtons::Delete(int index) { items_.erase(items_.begin() + index); }

void TsTitleButtons::Clear() { items_.clear(); }

bool TsTitleButtons::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TsTitleButtons*>(source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return true;
    std::vector<std::unique_ptr<TsTitleButton>> fresh;
    for (const auto& item : other->items_) {
        fresh.push_back(std::make_unique<TsTitleButton>(this));
        fresh.back()->Assign(item.get());
        fresh.back()->visible_ = item->visible_;
    }
    items_ = std::move(fresh);
    return true;
}

void TsTitleButtons::Read(std::size_t count, const TPropInfo::TFillItem& fill) {
    std::vector<std::unique_ptr<TsTitleButton>> fresh;
    for (std::size_t i = 0; i < count; ++i) {
        // Filled before the collection takes it: no repaint while reading.
        fresh.push_back(std::make_unique<TsTitleButton>());
        fill(fresh.back().get(), i);
    }
    for (auto& item : fresh) item->collection_ = this;
    items_ = std::move(fresh);
}

void TsTitleButtons::DefineProps(TPropList&) {}

// ------------------------------------------------------------ added title

TacAddedTitle::TacAddedTitle(TsSkinProvider* owner) : font_(std::make_unique<TFont>()), provider_(owner) {
    font_->SetColor(clNone);
}

TacAddedTitle::~TacAddedTitle() = default;

void TacAddedTitle::SetShowMainCaption(bool value) {
    if (value == showMainCaption_) return;
    showMainCaption_ = value;
    Changed();
}

void TacAddedTitle::SetText(const std::string& value) {
    if (value == text_) return;
    text_ = value;
    Changed();
}

void TacAddedTitle::SetFont(const TFont* value) {
    font_->Assign(value);
    Changed();
}

void TacAddedTitle::Changed() {
    if (provider_ && !provider_->IsLoading()) provider_->RepaintNonClient();
}

void TacAddedTitle::DefineProps(TPropList& L) {
    L.For<TacAddedTitle>()
        .Bool("ShowMainCaption", &TacAddedTitle::ShowMainCaption, &TacAddedTitle::SetShowMainCaption)
        .String("Text", &TacAddedTitle::Text, &TacAddedTitle::SetText)
        .Object("Font", [](TacAddedTitle* t) -> TObject* { return t->Font(); },
                [](TacAddedTitle* t, TObject* v) { t->SetFont(dynamic_cast<TFont*>(v)); });
}

}  // namespace kova::skin
