#include "tables/overlays/hudtable.h"

#include "framework/handles.h"

#include <memory>
#include <utility>

#include "tables/model/enginelog.h"
#include "tables/overlays/frameform.h"

namespace kova::tables {

using namespace kova;

namespace {

// Field menu item -> the name of the label it shows or hides.
struct FieldName {
    const char* item;
    const char* label;
};
constexpr FieldName kFields[] = {
    {"Timer1", "Timer"},         {"Blinds1", "Blinds"},         {"TournamentID1", "IDTour"},
    {"Buyin1", "Buyin"},         {"Speed1", "Speed"},           {"Max1", "Max"},
    {"Players1", "Players"},     {"GameFormat1", "GameFormat"}, {"GameType1", "GameType"},
    {"TableID1", "IDTable"},     {"PlayedNow1", "PlayedNow"},   {"PlayedTotal1", "PlayedTotal"},
};

const char* LabelOfItem(const std::string& item) {
    for (const FieldName& f : kFields)
        if (item == f.item) return f.label;
    return nullptr;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT CursorNow() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

// The logo: a small dark square with a light rim, so it can be seen and
// clicked over any table.
void PaintLogo(TImage* image) {
    TBitmap bmp(32, 32);
    for (int y = 0; y < 32; ++y) {
        std::uint32_t* row = bmp.ScanLine(y);
        for (int x = 0; x < 32; ++x) {
            const bool rim = x < 2 || y < 2 || x > 29 || y > 29;
            const bool mark = (x >= 9 && x <= 12 && y >= 8 && y <= 23) || (x >= 13 && x - 13 == 15 - y && y >= 8 && y <= 15) ||
                              (x >= 13 && x - 13 == y - 16 && y >= 16 && y <= 23);
            row[x] = rim || mark ? 0xFFE0E0E0u : 0xFF202850u;
        }
    }
    image->Picture()->SetGraphic(&bmp);
}

// The panel as the table sees it. A panel closed or destroyed by other
// means (its owner window went) is forgotten, never freed twice.
class THUDOverlay : public TTableHUD {
public:
    explicit THUDOverlay(TPokerTable& table) {
        form_ = TCustomForm::Create<THUDTable>(nullptr);
        form_->OnDestroy = [this](TObject*) { form_ = nullptr; };
        form_->AttachToTable(&table);
    }
    ~THUDOverlay() override {
        if (!form_) return;
        form_->OnDestroy = nullptr;
        form_->Free();
    }
    void CreateMyLabel(const std::string& name, int32_t left, int32_t top, const std::string& caption,
                       const std::string& hint) override {
        if (form_) form_->CreateMyLabel(name, true, top, left, caption, hint);
    }
    void LoadLayout(const std::string& file) override {
        if (form_) form_->LoadLayout(file);
    }
    void UpdateMenus() override {
        if (form_) form_->UpdateMenus();
    }
    void FollowTable() override {
        if (form_) form_->FollowTable();
    }
    void SetLabelText(const std::string& name, const std::string& text) override {
        if (form_) form_->SetLabelText(form_->LabelNamed(name), text);
    }
    void SetLabelVisible(const std::string& name, bool visible) override {
        if (!form_) return;
        if (kova::TLabel* l = form_->LabelNamed(name)) l->SetVisible(visible);
    }
    std::string LabelText(const std::string& name) const override {
        kova::TLabel* l = form_ ? form_->LabelNamed(name) : nullptr;
        return l ? l->Caption() : std::string();
    }
    void UpdateRegion() override {
        if (form_) form_->UpdateRegion();
    }
    void SetShown(bool shown) override {
        if (!form_) return;
        if (shown)
            ShowWindow(form_->Handle(), SW_SHOWNOACTIVATE);
        else
            ShowWindow(form_->Handle(), SW_HIDE);
    }

private:
    THUDTable* form_ = nullptr;
};

}  // namespace

THUDTable::THUDTable(TComponent* owner) : TForm(owner) {
    BindField("LogoImage", LogoImage);
    BindField("PopupMenu1", PopupMenu1);
    BindField("PopupMenu2", PopupMenu2);
    BindField("Font1", Font1);
    BindField("Background1", Background1);
    BindField("Transparent1", Transparent1);
    BindField("AutoSize1", AutoSize1);
    BindField("Timer1", Timer1);
    BindField("Blinds1", Blinds1);
    BindField("TournamentID1", TournamentID1);
    BindField("Buyin1", Buyin1);
    BindField("Speed1", Speed1);
    BindField("Max1", Max1);
    BindField("Players1", Players1);
    BindField("GameFormat1", GameFormat1);
    BindField("GameType1", GameType1);
    BindField("TableID1", TableID1);
    BindField("PlayedNow1", PlayedNow1);
    BindField("PlayedTotal1", PlayedTotal1);
    BindField("LoadLayout1", LoadLayout1);
    BindField("SaveAs1", SaveAs1);
    BindField("SaveLayout1", SaveLayout1);
    BindField("FontDialog1", FontDialog1);
    BindField("ColorDialog1", ColorDialog1);
    BindField("OpenDialog1", OpenDialog1);
    BindField("SaveDialog1", SaveDialog1);

    RegisterMethod("LogoImageMouseDown", TMouseEvent([this](TObject*, TMouseButton b, TShiftState, int, int) {
                       if (b == mbRight) StartDrag();
                   }));
    RegisterMethod("LogoImageMouseMove", TMouseMoveEvent([this](TObject*, TShiftState, int, int) {
                       if (!dragging_) return;
                       const POINT p = CursorNow();
                       LogoImage->SetBounds(LogoImage->Left() + p.x - last_.x, LogoImage->Top() + p.y - last_.y,
                                            LogoImage->Width(), LogoImage->Height());
                       last_ = p;
                   }));
    RegisterMethod("LogoImageMouseUp", TMouseEvent([this](TObject*, TMouseButton b, TShiftState, int, int) {
                       if (b == mbRight) {
                           EndDrag();
                       } else if (b == mbLeft) {
                           const POINT p = CursorNow();
                           PopupMenu2->Popup(p.x + 20, p.y + 10);
                       }
                   }));
    auto onLabel = [this](void (*apply)(THUDTable&, TLabel&)) {
        return TNotifyEvent([this, apply](TObject*) {
            if (TLabel* l = MenuLabel()) apply(*this, *l);
        });
    };
    RegisterMethod("Font1Click", onLabel([](THUDTable& f, TLabel& l) {
                       f.FontDialog1->Font()->Assign(l.Font());
                       f.FontDialog1->SetTag(reinterpret_cast<intptr_t>(&l));
                       if (f.FontDialog1->Execute()) l.Font()->Assign(f.FontDialog1->Font());
                       f.FontDialog1->SetTag(0);
                       f.UpdateRegion();
                   }));
    RegisterMethod("FontDialog1Apply", TNotifyEvent([this](TObject*) {
                       if (auto* l = reinterpret_cast<TLabel*>(FontDialog1->Tag())) l->Font()->Assign(FontDialog1->Font());
                       UpdateRegion();
                   }));
    RegisterMethod("Background1Click", onLabel([](THUDTable& f, TLabel& l) {
                       f.ColorDialog1->SetColor(l.Color());
                       if (f.ColorDialog1->Execute()) l.SetColor(f.ColorDialog1->Color());
                   }));
    RegisterMethod("Transparent1Click", onLabel([](THUDTable& f, TLabel& l) {
                       f.Transparent1->SetChecked(!f.Transparent1->Checked());
                       l.SetTransparent(f.Transparent1->Checked());
                       f.Background1->SetEnabled(!f.Transparent1->Checked());
                       f.UpdateRegion();
                   }));
    RegisterMethod("AutoSize1Click", onLabel([](THUDTable& f, TLabel& l) {
                       f.AutoSize1->SetChecked(!f.AutoSize1->Checked());
                       l.SetAutoSize(f.AutoSize1->Checked());
                   }));
    RegisterMethod("FieldClick", TNotifyEvent([this](TObject* sender) {
                       if (auto* item = dynamic_cast<TMenuItem*>(sender)) ToggleField(item);
                   }));
    RegisterMethod("LoadLayout1Click", TNotifyEvent([this](TObject*) {
                       OpenDialog1->InitialDir = LayoutsFolder();
                       if (!OpenDialog1->Execute()) return;
                       LoadLayout(OpenDialog1->FileName);
                       UpdateMenus();
                       UpdateRegion();
                   }));
    RegisterMethod("SaveAs1Click", TNotifyEvent([this](TObject*) {
                       SaveDialog1->InitialDir = LayoutsFolder();
                       if (SaveDialog1->Execute()) SaveLayout(SaveDialog1->FileName);
                   }));
    RegisterMethod("SaveLayout1Click", TNotifyEvent([this](TObject*) {
                       if (table_ && !table_->LayoutFile.empty()) SaveLayout(table_->LayoutFile);
                   }));
    RegisterMethod("FormClose", TCloseEvent([](TObject*, TCloseAction& action) { action = caFree; }));
}

void THUDTable::CreateParams(TCreateParams& p) {
    TForm::CreateParams(p);
    p.Style |= WS_POPUP;
    p.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
}

TLabel* THUDTable::CreateMyLabel(const std::string& name, bool visible, int top, int left, const std::string& caption,
                                 const std::string& hint) {
    if (caption.empty()) return nullptr;
    auto* l = new TLabel(this);
    l->SetName(name);
    l->SetParent(this);
    l->SetAlignment(taCenter);
    l->SetLayout(tlCenter);
    l->SetAutoSize(true);
    l->SetTransparent(false);
    l->SetColor(clBlack);
    l->Font()->SetColor(clWhite);
    l->Font()->SetSize(12);
    l->Font()->SetStyle(fsBold);
    l->SetHint(hint);
    l->SetShowHint(true);
    l->SetCaption(caption);
    l->SetBounds(left, top, l->Width(), l->Height());
    l->SetVisible(visible);
    l->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { LabelMouseDown(s, b, sh, x, y); };
    l->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { LabelMouseMove(s, sh, x, y); };
    l->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { LabelMouseUp(s, b, sh, x, y); };
    UpdateRegion();
    return l;
}

TLabel* THUDTable::LabelNamed(const std::string& name) const { return dynamic_cast<TLabel*>(FindComponent(name)); }

void THUDTable::AttachToTable(TPokerTable* table) {
    table_ = table;
    tableWnd_ = table ? table->Window() : nullptr;
    if (LogoImage && !LogoImage->Picture()->Graphic()) PaintLogo(LogoImage);
    SetParentWindow(tableWnd_);
    RECT r{};
    if (tableWnd_) GetWindowRect(tableWnd_, &r);
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    HandleNeeded();
    UpdateRegion();
    // Shown without taking the focus from the table.
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    visible_ = true;
}

void THUDTable::SetLabelText(TLabel* label, const std::string& text) {
    if (!label) return;
    label->SetCaption(text);
    SIZE size{};
    {
        kova::TWindowDC screen(nullptr);
        kova::TSelection font(screen.Get(), label->Font()->Handle());
        GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    if (label->Width() < size.cx) {
        label->SetWidth(size.cx);
        UpdateRegion();
    }
}

void THUDTable::UpdateMenus() {
    for (const FieldName& f : kFields) {
        auto* item = dynamic_cast<TMenuItem*>(FindComponent(f.item));
        if (!item) continue;
        TLabel* l = LabelNamed(f.label);
        item->SetEnabled(l != nullptr);
        item->SetChecked(l && l->Visible());
    }
}

void THUDTable::UpdateRegion() {
    if (!HandleAllocated()) return;
    // The colour key is needed only under a transparent label; elsewhere
    // the region alone lets the table through. (A layered window over the
    // table can hide the table's pixels from screen reads on some systems,
    // the Fold button's among them.)
    bool keyed = false;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* l = dynamic_cast<TLabel*>(Controls(i));
        if (l && l->Visible() && l->Transparent()) keyed = true;
    }
    if (keyed != TransparentColor()) SetTransparentColor(keyed);
    kova::TGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        kova::TGdiObject<HRGN> r(CreateRectRgn(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()));
        CombineRgn(region.Get(), region.Get(), r.Get(), RGN_OR);
    }
    if (SetWindowRgn(Handle(), region.Get(), TRUE)) (void)region.Release();  // the window owns the region now
}

void THUDTable::FollowTable() {
    if (tableWnd_ && IsWindow(tableWnd_) && IsWindowVisible(tableWnd_)) {
        RECT table{}, mine{};
        GetWindowRect(tableWnd_, &table);
        GetWindowRect(Handle(), &mine);
        if (!SameRect(table, mine)) {
            SetWindowPos(Handle(), nullptr, table.left, table.top, table.right - table.left, table.bottom - table.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            StoreBounds(table.left, table.top, table.right - table.left, table.bottom - table.top);
        }
    }
    SetLabelText(LabelNamed("PlayedNow"), " " + std::to_string(SessionStats.LiveTables) + " ");
    SetLabelText(LabelNamed("PlayedTotal"), " " + std::to_string(SessionStats.TablesSeen) + " ");
}

TPanelLayout THUDTable::CurrentLayout() const {
    TPanelLayout layout;
    layout.Width = Width();
    layout.Height = Height();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        TLayoutControl lc;
        lc.Name = c->Name();
        lc.Visible = c->Visible();
        lc.Left = c->Left();
        lc.Top = c->Top();
        lc.Width = c->Width();
        lc.Height = c->Height();
        if (auto* l = dynamic_cast<TLabel*>(c)) {
            lc.IsLabel = true;
            lc.Transparent = l->Transparent();
            lc.BackColor = ColorToRGB(l->Color());
            lc.FontName = l->Font()->Name();
            lc.FontColor = ColorToRGB(l->Font()->Color());
            lc.FontSize = l->Font()->Size();
            lc.FontStyle = l->Font()->Style();
            lc.AutoSize = l->AutoSize();
        }
        layout.Controls.push_back(lc);
    }
    return layout;
}

void THUDTable::LoadLayout(const std::string& fileName) {
    TPanelLayout layout = CurrentLayout();
    LoadLayoutFile(fileName, layout);
    for (const TLayoutControl& lc : layout.Controls) {
        auto* c = dynamic_cast<TControl*>(FindComponent(lc.Name));
        if (!c) continue;
        auto* l = dynamic_cast<TLabel*>(c);
        if (l) {
            l->SetTransparent(lc.Transparent);
            l->SetColor(static_cast<TColor>(lc.BackColor));
            l->Font()->SetName(lc.FontName);
            l->Font()->SetColor(static_cast<TColor>(lc.FontColor));
            l->Font()->SetSize(lc.FontSize);
            l->Font()->SetStyle(lc.FontStyle);
            l->SetAutoSize(lc.AutoSize);
        }
        c->SetVisible(lc.Visible);
        c->SetBounds(lc.Left, lc.Top, lc.Width, lc.Height);
        if (l) SetLabelText(l, l->Caption());
    }
    UpdateRegion();
}

bool THUDTable::SaveLayout(const std::string& fileName) {
    std::string error;
    if (SaveLayoutFile(fileName, CurrentLayout(), error)) return true;
    EngineLogF("Layout not saved: %s", error.c_str());
    return false;
}

std::string THUDTable::LayoutsFolder() const {
    return (ProgramFolder.empty() ? std::string(".") : ProgramFolder) + "\\Layouts\\";
}

// ---- dragging and menus -------------------------------------------------------------

void THUDTable::StartDrag() {
    dragging_ = true;
    last_ = CursorNow();
    SetWindowRgn(Handle(), nullptr, TRUE);  // the whole panel while dragging
    RECT r{};
    GetWindowRect(Handle(), &r);
    ClipCursor(&r);
}

void THUDTable::EndDrag() {
    dragging_ = false;
    UpdateRegion();
    ClipCursor(nullptr);
}

void THUDTable::LabelMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) StartDrag();
}

void THUDTable::LabelMouseMove(TObject* sender, TShiftState shift, int x, int y) {
    auto* l = dynamic_cast<TLabel*>(sender);
    if (!dragging_ || !l) return;
    const POINT p = CursorNow();
    if (shift & ssShift) {
        SetCursor(crSizeNWSE);
        l->SetBounds(l->Left(), l->Top(), x, y);
    } else {
        SetCursor(crSizeAll);
        l->SetBounds(l->Left() + p.x - last_.x, l->Top() + p.y - last_.y, l->Width(), l->Height());
    }
    last_ = p;
}

void THUDTable::LabelMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) {
        SetCursor(crDefault);
        EndDrag();
        return;
    }
    auto* l = dynamic_cast<TLabel*>(sender);
    if (button != mbRight || !l) return;
    Transparent1->SetChecked(l->Transparent());
    AutoSize1->SetChecked(l->AutoSize());
    Background1->SetEnabled(!l->Transparent());
    PopupMenu1->PopupComponent = l;
    const POINT p = CursorNow();
    PopupMenu1->Popup(p.x + 20, p.y + 10);
}

TLabel* THUDTable::MenuLabel() const { return PopupMenu1 ? dynamic_cast<TLabel*>(PopupMenu1->PopupComponent) : nullptr; }

void THUDTable::ToggleField(TMenuItem* item) {
    const char* name = LabelOfItem(item->Name());
    TLabel* l = name ? LabelNamed(name) : nullptr;
    if (!l || !item->Enabled()) return;
    item->SetChecked(!item->Checked());
    l->SetVisible(item->Checked());
    UpdateRegion();
}

std::unique_ptr<TTableHUD> MakeHUDOverlay(TPokerTable& table) { return std::make_unique<THUDOverlay>(table); }

// ---- installation ------------------------------------------------------------------------

void InstallTableOverlays() {
    EngineServices.MakeHUD = MakeHUDOverlay;
    EngineServices.MakeFrame = MakeFrameOverlay;
}

}  // namespace kova::tables
