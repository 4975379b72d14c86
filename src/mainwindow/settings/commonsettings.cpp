#include "mainwindow/settings/commonsettings.h"

#include <string>

#include "mainwindow/dialogs/windowcapture.h"
#include "mainwindow/hotkeys/logic/keynames.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/settings/logic/settingsmodel.h"
#include "tables/engine/autoplace.h"
#include "tables/engine/pokertable.h"

namespace kova::mainwindow {

namespace t = kova::tables;
namespace st = settings;

namespace {

int32_t TagOf(TObject* sender) {
    auto* c = dynamic_cast<TComponent*>(sender);
    return c ? static_cast<int32_t>(c->Tag()) : 0;
}

void FillItems(TComboBox* combo, const std::vector<std::string>& items) {
    if (!combo || combo->Items()->Count() > 0) return;
    for (const std::string& item : items) combo->Items()->Add(item);
    combo->SetItemIndex(0);
}

// The panels and frames of every table, after their box changed. The scan
// makes what is missing on its next tick; what is switched off goes now.
void DropPanels() {
    for (const t::TOwnedTable& table : t::Tables)
        if (table) table->HUD.reset();
}
void DropFrames() {
    for (const t::TOwnedTable& table : t::Tables)
        if (table) table->Frame.reset();
}
void MakePanels() {
    for (const t::TOwnedTable& table : t::Tables)
        if (table && IsWindow(table->Window())) table->UpdateHUD();
}

}  // namespace

TCommonSettingsPage::TCommonSettingsPage(TKOVAForm1& form) : form_(form) {
    StartAutoRegistrations = [] {
        t::AutoRegistratorRunning = 1;
        t::FullTiltRegistratorRunning = 1;
    };
    StopAutoRegistrations = [] {
        t::AutoRegistratorRunning = 0;
        t::FullTiltRegistratorRunning = 0;
    };

    auto onSender = [&form](const char* name, void (TCommonSettingsPage::*handler)(TObject*), TCommonSettingsPage* page) {
        form.RegisterMethod(name, TNotifyEvent([page, handler](TObject* sender) { (page->*handler)(sender); }));
    };
    auto on = [&form](const char* name, void (TCommonSettingsPage::*handler)(), TCommonSettingsPage* page) {
        form.RegisterMethod(name, TNotifyEvent([page, handler](TObject*) { (page->*handler)(); }));
    };
    auto onKeyUp = [&form](const char* name, void (TCommonSettingsPage::*handler)(TObject*, WORD),
                           TCommonSettingsPage* page) {
        form.RegisterMethod(name, TKeyEvent([page, handler](TObject* sender, WORD& key, TShiftState) {
                                (page->*handler)(sender, key);
                            }));
    };
    onSender("ComboBox1Change", &TCommonSettingsPage::ComboBox1Change, this);
    onSender("ComboBox2Change", &TCommonSettingsPage::ComboBox2Change, this);
    onKeyUp("ComboBox2KeyUp", &TCommonSettingsPage::ComboBox2KeyUp, this);
    onSender("Combo1Change", &TCommonSettingsPage::Combo1Change, this);
    onSender("Combo2Change", &TCommonSettingsPage::Combo2Change, this);
    onKeyUp("Combo2KeyUp", &TCommonSettingsPage::Combo2KeyUp, this);
    onSender("ActioHKEdit1Change", &TCommonSettingsPage::ActioHKEdit1Change, this);
    on("CheckBoxHUDClick", &TCommonSettingsPage::CheckBoxHUDClick, this);
    on("CheckBoxSoundClick", &TCommonSettingsPage::CheckBoxSoundClick, this);
    on("CheckBoxFrameClick", &TCommonSettingsPage::CheckBoxFrameClick, this);
    on("HotKeyTargetClick", &TCommonSettingsPage::HotKeyTargetClick, this);
    on("EngineOptionChange", &TCommonSettingsPage::EngineOptionChange, this);
    on("ThicknessEditChange", &TCommonSettingsPage::ThicknessEditChange, this);

    form.BindMessage(WM_HOTKEY, [this](TMessage& m) { WMHotKey(m); });
}

TCommonSettingsPage::~TCommonSettingsPage() = default;

// ---- rows ----------------------------------------------------------------------------------

const std::vector<TCommonSettingsPage::TRow>& TCommonSettingsPage::Rows() {
    if (rowsFound_) return rows_;
    rowsFound_ = true;
    auto combo = [this](const std::string& name) { return dynamic_cast<TComboBox*>(form_.FindComponent(name)); };
    // Global row r: "ComboBox<2r-1>" (modifier) and "ComboBox<2r>" (key);
    // rows 9 and 10 appear a second time as ComboBox21..24 on the Full Tilt
    // page. Shared row r: "Combo<2r-1>", "Combo<2r>" and "ActioHKEdit<r>".
    auto addGlobal = [&](int32_t row, int32_t first) {
        TRow r{combo("ComboBox" + std::to_string(first)), combo("ComboBox" + std::to_string(first + 1)), nullptr,
               st::GlobalRowBinding(row)};
        if (r.Modifier || r.Key) rows_.push_back(r);
    };
    for (int32_t row = 1; row <= st::GlobalRowCount; ++row) addGlobal(row, 2 * row - 1);
    addGlobal(9, 21);
    addGlobal(10, 23);
    for (int32_t row = 1; row <= 8; ++row) {
        TRow r{combo("Combo" + std::to_string(2 * row - 1)), combo("Combo" + std::to_string(2 * row)),
               dynamic_cast<TEdit*>(form_.FindComponent("ActioHKEdit" + std::to_string(row))),
               st::SharedRowBinding(row)};
        if (r.Modifier || r.Key || r.Name) rows_.push_back(r);
    }
    FillCombos();
    return rows_;
}

void TCommonSettingsPage::FillCombos() {
    ++filling_;
    const std::vector<std::string> modifiers = st::ModifierItems();
    const std::vector<std::string> keys = st::KeyItems();
    for (const TRow& r : rows_) {
        FillItems(r.Modifier, modifiers);
        FillItems(r.Key, keys);
    }
    --filling_;
}

void TCommonSettingsPage::WhileFilling(const std::function<void()>& fill) {
    ++filling_;
    try {
        fill();
    } catch (...) {
        --filling_;
        throw;
    }
    --filling_;
}

void TCommonSettingsPage::ShowUserOptions() {
    WhileFilling([this] {
        const t::TUserOptions& o = t::UserOptions;
        form_.CheckBoxHUD->SetChecked(o.ShowHUD != 0);
        form_.CheckBoxSound->SetChecked(o.Sound != 0);
        form_.CheckBoxFrame->SetChecked(o.Frame != 0);
        form_.RadioBtnUnderMouse->SetChecked(o.UnderMouse != 0);
        form_.RadioBtnActiveTable->SetChecked(o.ActiveTable != 0);
        for (const TRow& r : Rows()) {
            t::THotKeyBinding& b = t::UserOptions.Bindings[static_cast<size_t>(r.Binding)];
            SelectKeyInCombo(r.Modifier, b.Modifier);
            SelectKeyInCombo(r.Key, b.Key);
            // A binding without a name of its own (a new one) keeps it so,
            // so that a file read and written again stays the same; its row
            // shows the row's first name.
            if (!r.Name) continue;
            const std::string name = st::BindingName(b);
            r.Name->SetText(name.empty() ? std::string(st::DefaultSharedName(r.Binding - 9)) : name);
        }
    });
}

void TCommonSettingsPage::ReadUserOptions() {
    t::TUserOptions& o = t::UserOptions;
    o.ShowHUD = form_.CheckBoxHUD->Checked() ? 1 : 0;
    o.Sound = form_.CheckBoxSound->Checked() ? 1 : 0;
    o.Frame = form_.CheckBoxFrame->Checked() ? 1 : 0;
    o.UnderMouse = form_.RadioBtnUnderMouse->Checked() ? 1 : 0;
    o.ActiveTable = form_.RadioBtnActiveTable->Checked() ? 1 : 0;
    (void)Rows();  // the rows' combos get their items
}

// ---- registration ----------------------------------------------------------------------

void TCommonSettingsPage::RegisterHotKeys() {
    for (int32_t n = 3; n <= kHotKeyCount; ++n) ReRegister(n);
}

bool TCommonSettingsPage::Registered(int32_t n) const {
    return hotKeys_ && hotKeysWindow_ == form_.Handle() && hotKeys_->Id(n) != 0;
}

void TCommonSettingsPage::ReleaseHotKeys() {
    if (!hotKeys_) return;
    for (int32_t n = 3; n <= kHotKeyCount; ++n) hotKeys_->Release(n);
}

void TCommonSettingsPage::ReRegister(int32_t n) {
    if (!st::IsSystemHotKey(n)) return;
    // The table belongs to the window the hotkeys are registered with; a
    // window made anew starts a new table (the old one releases its own).
    HWND window = form_.Handle();
    if (!hotKeys_ || hotKeysWindow_ != window) {
        hotKeys_ = std::make_unique<THotKeyTable>(window);
        hotKeysWindow_ = window;
    }
    const t::THotKeyBinding none;
    const t::THotKeyBinding& b = n <= st::GlobalRowCount ? t::UserOptions.Bindings[static_cast<size_t>(n - 1)] : none;
    hotKeys_->RegisterSlotHotKey(n, b);
}

// ---- row editors ---------------------------------------------------------------------------

void TCommonSettingsPage::ShowBindingElsewhere(TComboBox* edited) {
    const TRow* from = nullptr;
    for (const TRow& r : Rows())
        if (r.Modifier == edited || r.Key == edited) from = &r;
    if (!from) return;
    const t::THotKeyBinding& b = t::UserOptions.Bindings[static_cast<size_t>(from->Binding)];
    WhileFilling([&] {
        for (const TRow& r : Rows()) {
            if (&r == from || r.Binding != from->Binding) continue;
            SelectKeyInCombo(r.Modifier, b.Modifier);
            SelectKeyInCombo(r.Key, b.Key);
        }
    });
}

bool TCommonSettingsPage::UserEdit() {
    if (filling_ > 0) return false;
    edited_ = true;
    return true;
}

t::THotKeyBinding* TCommonSettingsPage::BindingOfGlobalRow(TObject* sender, int32_t& row) {
    row = TagOf(sender);
    const int32_t b = st::GlobalRowBinding(row);
    return b < 0 ? nullptr : &t::UserOptions.Bindings[static_cast<size_t>(b)];
}

t::THotKeyBinding* TCommonSettingsPage::BindingOfSharedRow(TObject* sender) {
    const int32_t b = st::SharedRowBinding(TagOf(sender));
    return b < 0 ? nullptr : &t::UserOptions.Bindings[static_cast<size_t>(b)];
}

void TCommonSettingsPage::ComboBox1Change(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    int32_t row = 0;
    t::THotKeyBinding* b = BindingOfGlobalRow(sender, row);
    if (!combo || !b || !UserEdit()) return;
    st::SetModifierFromText(*b, combo->Text());
    ShowBindingElsewhere(combo);
    if (row > 2) ReRegister(row);
}

void TCommonSettingsPage::ComboBox2Change(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    int32_t row = 0;
    t::THotKeyBinding* b = BindingOfGlobalRow(sender, row);
    if (!combo || !b || !UserEdit()) return;
    st::SetKeyFromText(*b, combo->Text());
    ShowBindingElsewhere(combo);
    if (row > 2) ReRegister(row);
}

void TCommonSettingsPage::ComboBox2KeyUp(TObject* sender, WORD key) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    int32_t row = 0;
    t::THotKeyBinding* b = BindingOfGlobalRow(sender, row);
    if (!combo || !b || !UserEdit()) return;
    const std::string name = st::SetKeyFromReleasedKey(*b, key);
    WhileFilling([&] { combo->SetText(name); });
    ShowBindingElsewhere(combo);
    if (row > 2) ReRegister(row);
}

void TCommonSettingsPage::Combo1Change(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    t::THotKeyBinding* b = BindingOfSharedRow(sender);
    if (!combo || !b || !UserEdit()) return;
    st::SetModifierFromText(*b, combo->Text());
}

void TCommonSettingsPage::Combo2Change(TObject* sender) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    t::THotKeyBinding* b = BindingOfSharedRow(sender);
    if (!combo || !b || !UserEdit()) return;
    st::SetKeyFromText(*b, combo->Text());
}

void TCommonSettingsPage::Combo2KeyUp(TObject* sender, WORD key) {
    auto* combo = dynamic_cast<TComboBox*>(sender);
    t::THotKeyBinding* b = BindingOfSharedRow(sender);
    if (!combo || !b || !UserEdit()) return;
    const std::string name = st::SetKeyFromReleasedKey(*b, key);
    WhileFilling([&] { combo->SetText(name); });
}

void TCommonSettingsPage::ActioHKEdit1Change(TObject* sender) {
    auto* edit = dynamic_cast<TEdit*>(sender);
    t::THotKeyBinding* b = BindingOfSharedRow(sender);
    if (!edit || !b || !UserEdit()) return;
    st::SetBindingName(*b, edit->Text());
}

// ---- options the engine reads ------------------------------------------------------------

void TCommonSettingsPage::CheckBoxHUDClick() {
    if (!UserEdit()) return;
    const bool on = form_.CheckBoxHUD->Checked();
    t::UserOptions.ShowHUD = on ? 1 : 0;
    t::RunWhenScanIdle([on] {
        if (!on)
            DropPanels();
        else if (!t::ScanPaused)
            MakePanels();  // a stopped config shows its panels again when it runs
    });
}

void TCommonSettingsPage::CheckBoxSoundClick() {
    if (!UserEdit()) return;
    t::UserOptions.Sound = form_.CheckBoxSound->Checked() ? 1 : 0;
    if (!t::UserOptions.Sound) t::StopAlertSound();
}

void TCommonSettingsPage::CheckBoxFrameClick() {
    if (!UserEdit()) return;
    t::UserOptions.Frame = form_.CheckBoxFrame->Checked() ? 1 : 0;
    // Switched on, the turn alert draws each frame on the next tick.
    if (!t::UserOptions.Frame) t::RunWhenScanIdle(DropFrames);
}

void TCommonSettingsPage::HotKeyTargetClick() {
    if (!UserEdit()) return;
    t::UserOptions.UnderMouse = form_.RadioBtnUnderMouse->Checked() ? 1 : 0;
    t::UserOptions.ActiveTable = form_.RadioBtnActiveTable->Checked() ? 1 : 0;
}

void TCommonSettingsPage::EngineOptionChange() {
    if (!UserEdit()) return;
    form_.ApplyEngineOptions();
}

void TCommonSettingsPage::ThicknessEditChange() {
    if (!UserEdit()) return;
    const std::string before = t::EngineOptions.FrameThickness;
    form_.ApplyEngineOptions();
    // A frame is drawn with the pen it was made with: the next tick makes
    // the frames anew with the new one.
    if (t::EngineOptions.FrameThickness != before) t::RunWhenScanIdle(DropFrames);
}

// ---- WM_HOTKEY -------------------------------------------------------------------------------

void TCommonSettingsPage::WMHotKey(TMessage& m) {
    m.Result = 0;
    if (hotKeys_) RunHotKey(hotKeys_->HotKeyOfId(m.WParam));
}

void TCommonSettingsPage::RunHotKey(int32_t n) {
    if (!st::IsSystemHotKey(n)) return;
    if (!st::ActsWhileDisabled(n) && !form_.HotKeysEnabled()) return;
    switch (n) {
        case 3: t::RunWhenScanIdle(t::MinimizeAllTables); break;
        case 4: t::RunWhenScanIdle(t::RestoreAllTables); break;
        case 5: form_.StopConfig(); break;
        // Refresh waits for a running scan by itself: the busy flag is
        // cleared by every way out of a scan, so it is left alone here.
        case 6: form_.RefreshConfig(); break;
        case 7:
            form_.SetHotKeysEnabled(!form_.HotKeysEnabled());
            form_.Log(form_.HotKeysEnabled() ? "HotKeys Enabled" : "HotKeys Disabled");
            break;
        case 8:
            t::ForceRenumber = 1;
            t::ResortPending = 1;
            break;
        case 9:
            if (StartAutoRegistrations) StartAutoRegistrations();
            break;
        case 10:
            if (StopAutoRegistrations) StopAutoRegistrations();
            break;
        case kCaptureHotKey: CaptureHotKeyPressed(); break;
        default: break;
    }
}

}  // namespace kova::mainwindow
