#include "mainwindow/editors/pokerroom/pokerroompage.h"

#include <utility>

#include "framework/portable/safefile.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/hotkeys/hotkeys.h"
#include "mainwindow/hotkeys/logic/keynames.h"
#include "mainwindow/settings/logic/settingsmodel.h"
#include "tables/files/datafiles.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/logic/titleexpr.h"

namespace kova::mainwindow {

namespace pr = pokerroom;
namespace t = kova::tables;

namespace {

constexpr const char* kActivateEditNames[pr::ActivateFieldCount] = {
    "Size1ClientX", "Size1ClientY", "Size2ClientX", "Size2ClientY", "Size1CoordX", "Size1CoordY", "Size2CoordX",
    "Size2CoordY",  "Size1Red",     "Size1Green",   "Size1Blue",    "Size2Red",    "Size2Green",  "Size2Blue",
    "Size1Diff",    "Size2Diff",    "R11",          "R21",          "R31",         "R41"};

constexpr const char* kEventEditNames[pr::EventFieldCount] = {
    "TimeTypeEdit1", "TimeTypeEdit2", "ButtonTypeEdit1", "ButtonTypeEdit2", "Size1ClientXM", "Size1ClientYM",
    "Size2ClientXM", "Size2ClientYM", "Size1CoordXM",    "Size1CoordYM",    "Size2CoordXM",  "Size2CoordYM",
    "Size1RedM",     "Size1GreenM",   "Size1BlueM",      "Size2RedM",       "Size2GreenM",   "Size2BlueM",
    "Size1DiffM",    "Size2DiffM",    "Click0Edit",      "Click1Edit",      "Click2Edit",    "Click3Edit"};

constexpr const char* kSize2ControlNames[] = {"CopySize2Btn",  "Size2GroupBox",   "Size2GroupBoxM",
                                              "CopySize2WindowCaptureBtn", "CopySize2BtnM", "Click2GroupBoxM"};

constexpr int SizeRowTop = 4;
constexpr int ClickRowTop = 4;
constexpr int RowStep = 25;

void ShowList(TCustomListBox* list, const std::vector<std::string>& items, int32_t selected) {
    list->Items()->Clear();
    for (const std::string& item : items) list->Items()->Add(item);
    if (selected >= 0 && selected < list->Items()->Count()) list->SetItemIndex(selected);
}

void ShowCombo(TComboBox* combo, const std::vector<std::string>& items, const std::string& text) {
    combo->Items()->Clear();
    for (const std::string& item : items) combo->Items()->Add(item);
    combo->SetText(text);
}

bool Ask(const std::string& question) { return MessageDlg(question, mtConfirmation, mbYesNo) == mrYes; }

// The capture reminder of the Auto-Activate tab.
std::string CaptureFirstText(bool fold) {
    return fold ? " Please click \"Start Window Capture\" first.\r\nFind coordinates and color of Fold button.\r\n"
                  "          And then copy this data.         "
                : " Please click \"Start Window Capture\" first.\r\nFind coordinates of Flashed Seat of Player.\r\n"
                  "          And then copy this data.           ";
}

}  // namespace

TPokerRoomPage::TPokerRoomPage(TForm& form, std::function<void()> writeRooms)
    : Model(t::PokerRooms, t::UserOptions), form_(form), writeRooms_(std::move(writeRooms)) {
    form.BindField("PageControl3", PageControl3);
    form.BindField("TypeNameEdit", TypeNameEdit);
    form.BindField("WindowClassEdit", WindowClassEdit);
    form.BindField("ParentTypeComboBox", ParentTypeComboBox);
    form.BindField("WindowTitleListBox", WindowTitleListBox);
    form.BindField("ScrollBox2", ScrollBox2);
    form.BindField("FoldRadioButton", FoldRadioButton);
    form.BindField("SeatRadioButton", SeatRadioButton);
    form.BindField("ProportionalCheckBox", ProportionalCheckBox);
    form.BindField("HotKeyRoomLabel", HotKeyRoomLabel);
    form.BindField("HotKeyListBox", HotKeyListBox);
    form.BindField("GlobalHotKeyCB", GlobalHotKeyCB);
    form.BindField("ActionHotKeyCB", ActionHotKeyCB);
    form.BindField("LocalHKMod", LocalHKMod);
    form.BindField("LocalHKKey", LocalHKKey);
    form.BindField("MacrosGroupBox", MacrosGroupBox);
    form.BindField("ScrollBox3", ScrollBox3);
    form.BindField("CopySize2WindowCaptureBtn", CopySize2WindowCaptureBtn);
    form.BindField("EventMacrosRoomLabel", EventMacrosRoomLabel);
    form.BindField("EventMacrosListBox", EventMacrosListBox);
    form.BindField("TimeTypeRB", TimeTypeRB);
    form.BindField("ButtonTypeRB", ButtonTypeRB);
    form.BindField("OnlyAutoActCB", OnlyAutoActCB);
    form.BindField("SameClickCB", SameClickCB);

    const auto on = [&form, this](const char* name, void (TPokerRoomPage::*handler)()) {
        form.RegisterNotify(name, this, handler);
    };
    on("PokerRoomListBoxClick", &TPokerRoomPage::PokerRoomListBoxClick);
    on("PokerRoomListBoxClickCheck", &TPokerRoomPage::PokerRoomListBoxClickCheck);
    on("CustomCreateNewBtnClick", &TPokerRoomPage::CustomCreateNewBtnClick);
    on("CustomDeleteBtnClick", &TPokerRoomPage::CustomDeleteBtnClick);
    on("CustomSaveBtnClick", &TPokerRoomPage::CustomSaveBtnClick);
    on("UpPokerRoomClick", &TPokerRoomPage::UpPokerRoomClick);
    on("DownPokerRoomClick", &TPokerRoomPage::DownPokerRoomClick);
    on("EditPokerRoomBtnClick", &TPokerRoomPage::EditPokerRoomBtnClick);
    on("ExportPokerRoomBtnClick", &TPokerRoomPage::ExportPokerRoomBtnClick);
    on("ImportPokerRoomBtnClick", &TPokerRoomPage::ImportPokerRoomBtnClick);
    on("TypeNameEditChange", &TPokerRoomPage::TypeNameEditChange);
    on("CustomCopyClassClick", &TPokerRoomPage::CustomCopyClassClick);
    on("CustomCopySizeClick", &TPokerRoomPage::CustomCopySizeClick);
    on("WindowTitleListBoxClick", &TPokerRoomPage::WindowTitleListBoxClick);
    on("AddWindowTitleBtnClick", &TPokerRoomPage::AddWindowTitleBtnClick);
    on("EditWindowTitleBtnClick", &TPokerRoomPage::EditWindowTitleBtnClick);
    on("DeleteWindowTitleBtnClick", &TPokerRoomPage::DeleteWindowTitleBtnClick);
    on("AddWindowSizeBtnClick", &TPokerRoomPage::AddWindowSizeBtnClick);
    on("DeleteWindowSizeBtnClick", &TPokerRoomPage::DeleteWindowSizeBtnClick);
    on("FoldRadioButtonClick", &TPokerRoomPage::FoldRadioButtonClick);
    on("SeatRadioButtonClick", &TPokerRoomPage::SeatRadioButtonClick);
    on("ProportionalCheckBoxClick", &TPokerRoomPage::ProportionalCheckBoxClick);
    on("WindowCaptureBtnClick", &TPokerRoomPage::WindowCaptureBtnClick);
    on("CopySize1BtnClick", &TPokerRoomPage::CopySize1BtnClick);
    on("CopySize2BtnClick", &TPokerRoomPage::CopySize2BtnClick);
    for (int c = 0; c < 4; ++c) {
        const std::string name = "CB1" + std::to_string(c + 2) + "Click";
        form.RegisterMethod(name, TNotifyEvent([this, c](TObject*) { CommonBoxClick(c); }));
    }
    on("HotKeyListBoxClick", &TPokerRoomPage::HotKeyListBoxClick);
    on("AddNewHotKeyBtnClick", &TPokerRoomPage::AddNewHotKeyBtnClick);
    on("DeleteHotKeyBtnClick", &TPokerRoomPage::DeleteHotKeyBtnClick);
    on("GlobalHotKeyCBClick", &TPokerRoomPage::GlobalHotKeyCBClick);
    on("ActionHotKeyCBChange", &TPokerRoomPage::ActionHotKeyCBChange);
    form.RegisterMethod("LocalHKKeyKeyUp", TKeyEvent([this](TObject*, WORD& key, TShiftState) { LocalHKKeyKeyUp(key); }));
    on("AddClickBtnClick", &TPokerRoomPage::AddClickBtnClick);
    on("DeleteClickBtnClick", &TPokerRoomPage::DeleteClickBtnClick);
    on("ClickWindowCaptureBtnClick", &TPokerRoomPage::ClickWindowCaptureBtnClick);
    on("CopySize1WindowCaptureBtnClick", &TPokerRoomPage::CopySize1WindowCaptureBtnClick);
    on("CopySize2WindowCaptureBtnClick", &TPokerRoomPage::CopySize2WindowCaptureBtnClick);
    on("EventMacrosListBoxClick", &TPokerRoomPage::EventMacrosListBoxClick);
    on("EventMacrosListBoxClickCheck", &TPokerRoomPage::EventMacrosListBoxClickCheck);
    on("WindowCaptureBtnMClick", &TPokerRoomPage::WindowCaptureBtnMClick);
    on("CopySize1BtnMClick", &TPokerRoomPage::CopySize1BtnMClick);
    on("CopySize2BtnMClick", &TPokerRoomPage::CopySize2BtnMClick);
}

void TPokerRoomPage::FindControls() {
    if (PokerRoomListBox) return;
    PokerRoomListBox = dynamic_cast<TCheckListBox*>(form_.FindComponent("PokerRoomListBox"));
    for (int f = 0; f < pr::ActivateFieldCount; ++f)
        ActivateEdits[static_cast<size_t>(f)] = dynamic_cast<TEdit*>(form_.FindComponent(kActivateEditNames[f]));
    for (int f = 0; f < pr::EventFieldCount; ++f)
        EventEdits[static_cast<size_t>(f)] = dynamic_cast<TEdit*>(form_.FindComponent(kEventEditNames[f]));
    for (size_t r = 0; r < 5; ++r)
        for (size_t c = 0; c < 4; ++c)
            ReactionBoxes[r][c] =
                dynamic_cast<TCheckBox*>(form_.FindComponent("CB" + std::to_string(r + 1) + std::to_string(c + 2)));
    for (const char* name : kSize2ControlNames)
        if (auto* c = dynamic_cast<TControl*>(form_.FindComponent(name))) Size2Controls.push_back(c);
    ExportSaveDialog = new TSaveDialog(&form_);
    ImportOpenDialog = new TOpenDialog(&form_);
    for (TOpenDialog* d : {static_cast<TOpenDialog*>(ExportSaveDialog), ImportOpenDialog}) {
        d->DefaultExt = "*.kov";
        d->Filter = "KOVA PokerRoom Format|*.kov";
    }
    // The lists of the Common Settings rows: every key the key names know,
    // letters and digits included, so that a stored key is shown as itself.
    LocalHKMod->Items()->Clear();
    for (const std::string& item : settings::ModifierItems()) LocalHKMod->Items()->Add(item);
    LocalHKKey->Items()->Clear();
    for (const std::string& item : settings::KeyItems()) LocalHKKey->Items()->Add(item);
}

TExportPokerRoomForm* TPokerRoomPage::ChooserForm() {
    if (!chooser_) chooser_ = TCustomForm::Create<TExportPokerRoomForm>(&form_);
    return chooser_;
}

// ---- model and view ----------------------------------------------------------------------

void TPokerRoomPage::ReadView() {
    FindControls();
    pr::TRoomEditor& e = Model.Editor;
    e.Name = TypeNameEdit->Text();
    e.Type = ParentTypeComboBox->ItemIndex() < 0 ? 0 : ParentTypeComboBox->ItemIndex();
    e.WindowClass = WindowClassEdit->Text();
    for (size_t n = 0; n < SizeRows.size() && n < e.SizeRows.size(); ++n) {
        pr::TSizeRow& row = e.SizeRows[n];
        if (!row.Visible) continue;
        row.Name = SizeRows[n].Edits[0]->Text();
        row.Width = SizeRows[n].Edits[1]->Text();
        row.Height = SizeRows[n].Edits[2]->Text();
    }
    pr::TActivateEditor& a = e.Activate;
    for (size_t f = 0; f < a.Text.size(); ++f) a.Text[f] = ActivateEdits[f]->Text();
    a.Fold = FoldRadioButton->Checked();
    a.Seat = SeatRadioButton->Checked();
    a.Proportional = ProportionalCheckBox->Checked();
    for (size_t r = 0; r < 5; ++r)
        for (size_t c = 0; c < 4; ++c) a.Boxes[r][c] = ReactionBoxes[r][c]->Checked();
    pr::THotKeyEditor& h = e.HotKeys;
    h.Action = ActionHotKeyCB->Text();
    h.Global = GlobalHotKeyCB->Checked();
    h.Modifier = KeyCodeOf(LocalHKMod->Text());
    h.Key = KeyCodeOf(LocalHKKey->Text());
    for (size_t n = 0; n < ClickRows.size() && n < h.Rows.size(); ++n) {
        pr::TClickRow& row = h.Rows[n];
        if (!row.Visible) continue;
        for (size_t k = 0; k < 4; ++k) row.Text[k] = ClickRows[n].Edits[k]->Text();
        row.Enabled = ClickRows[n].Box->Checked();
    }
    pr::TEventEditor& ev = e.Events;
    for (size_t f = 0; f < ev.Text.size(); ++f) ev.Text[f] = EventEdits[f]->Text();
    ev.TimeType = !ButtonTypeRB->Checked();
    ev.OnlyActive = OnlyAutoActCB->Checked();
    ev.SameClick = SameClickCB->Checked();
    for (int i = 0; i < 4 && i < EventMacrosListBox->Items()->Count(); ++i)
        ev.Enabled[static_cast<size_t>(i)] = EventMacrosListBox->Checked(i);
}

void TPokerRoomPage::ShowView() {
    FindControls();
    showing_ = true;
    ShowList(PokerRoomListBox, Model.RoomItems, Model.Selected);
    for (size_t i = 0; i < Model.RoomTicks.size(); ++i)
        PokerRoomListBox->SetChecked(static_cast<int>(i), Model.RoomTicks[i]);
    const pr::TRoomEditor& e = Model.Editor;
    TypeNameEdit->SetText(e.Name);
    ParentTypeComboBox->SetItemIndex(e.Type);
    WindowClassEdit->SetText(e.WindowClass);
    ShowList(WindowTitleListBox, e.Titles, e.SelectedTitle);
    ShowSizeRows();
    const pr::TActivateEditor& a = e.Activate;
    for (size_t f = 0; f < a.Text.size(); ++f) ActivateEdits[f]->SetText(a.Text[f]);
    FoldRadioButton->SetChecked(a.Fold);
    SeatRadioButton->SetChecked(!a.Fold);
    ProportionalCheckBox->SetChecked(a.Proportional);
    for (size_t r = 0; r < 5; ++r)
        for (size_t c = 0; c < 4; ++c) ReactionBoxes[r][c]->SetChecked(a.Boxes[r][c]);
    for (int c = 0; c < 4; ++c) CommonBoxClick(c);
    const pr::THotKeyEditor& h = e.HotKeys;
    HotKeyRoomLabel->SetCaption(e.Name);
    ShowList(HotKeyListBox, h.Items, h.Selected);
    GlobalHotKeyCB->SetChecked(h.Global);
    ShowCombo(ActionHotKeyCB, h.ActionItems, h.Action);
    SelectKeyInCombo(LocalHKMod, h.Modifier);
    SelectKeyInCombo(LocalHKKey, h.Key);
    LocalHKMod->SetEnabled(!h.Global);
    LocalHKKey->SetEnabled(!h.Global);
    MacrosGroupBox->SetCaption(h.Caption);
    ShowClickRows();
    const pr::TEventEditor& ev = e.Events;
    EventMacrosRoomLabel->SetCaption(e.Name);
    for (int i = 0; i < 4 && i < EventMacrosListBox->Items()->Count(); ++i)
        EventMacrosListBox->SetChecked(i, ev.Enabled[static_cast<size_t>(i)]);
    EventMacrosListBox->SetItemIndex(ev.Selected);
    for (size_t f = 0; f < ev.Text.size(); ++f) EventEdits[f]->SetText(ev.Text[f]);
    TimeTypeRB->SetChecked(ev.TimeType);
    ButtonTypeRB->SetChecked(!ev.TimeType);
    OnlyAutoActCB->SetChecked(ev.OnlyActive);
    SameClickCB->SetChecked(ev.SameClick);
    EnableSize2();
    EnableColours();
    SetEditorTabsVisible(Model.EditorTabsVisible);
    showing_ = false;
}

void TPokerRoomPage::MakeSizeRow(size_t n) {
    TSizeRowControls row;
    const int top = SizeRowTop + RowStep * static_cast<int>(n) - ScrollBox2->VertScrollPos();
    constexpr int lefts[3] = {12, 204, 268}, widths[3] = {177, 49, 49};
    for (size_t k = 0; k < 3; ++k) {
        skin::TsEdit* edit = new skin::TsEdit(&form_);
        edit->SetName("WindowSize" + std::to_string(n) + std::to_string(k));
        edit->SetBounds(lefts[k], top, widths[k], 17);
        edit->SetParent(ScrollBox2);
        edit->SetTag(static_cast<std::intptr_t>(n));
        edit->OnClick = [this](TObject* sender) { RowClick(sender, false); };
        row.Edits[k] = edit;
    }
    SizeRows.push_back(row);
}

void TPokerRoomPage::ShowSizeRows() {
    const std::vector<pr::TSizeRow>& rows = Model.Editor.SizeRows;
    // The scroll range is set once, for all rows, when the hold goes.
    TScrollingWinControl::TAutoRangeHold hold(*ScrollBox2);
    while (SizeRows.size() < rows.size()) MakeSizeRow(SizeRows.size());
    for (size_t n = 0; n < SizeRows.size(); ++n) {
        const bool visible = n < rows.size() && rows[n].Visible;
        const std::string texts[3] = {visible ? rows[n].Name : "", visible ? rows[n].Width : "",
                                      visible ? rows[n].Height : ""};
        const bool selected = static_cast<int32_t>(n) == Model.Editor.SelectedSize;
        for (size_t k = 0; k < 3; ++k) {
            SizeRows[n].Edits[k]->SetText(texts[k]);
            SizeRows[n].Edits[k]->SetVisible(visible);
            SizeRows[n].Edits[k]->SetColor(selected ? clInfoBk : clWindow);
        }
    }
}

void TPokerRoomPage::MakeClickRow(size_t n) {
    TClickRowControls row;
    const int top = ClickRowTop + RowStep * static_cast<int>(n) - ScrollBox3->VertScrollPos();
    // Each control placed before it has a parent: its window is made where
    // it stays, not made and then moved.
    row.Label = new TStaticText(&form_);
    row.Label->SetName("Click" + std::to_string(n + 1));
    row.Label->SetBounds(8, top, 41, 17);
    row.Label->SetParent(ScrollBox3);
    row.Label->SetCaption("Click " + std::to_string(n + 1));
    row.Label->SetTag(static_cast<std::intptr_t>(n));
    row.Label->OnClick = [this](TObject* sender) { RowClick(sender, true); };
    for (size_t k = 0; k < 4; ++k) {
        skin::TsEdit* edit = new skin::TsEdit(&form_);
        edit->SetName("Click" + std::to_string(n) + std::to_string(k));
        edit->SetBounds(64 + 40 * static_cast<int>(k) + (k > 1 ? 8 : 0), top, 33, 17);
        edit->SetParent(ScrollBox3);
        edit->SetTag(static_cast<std::intptr_t>(n));
        edit->OnClick = [this](TObject* sender) { RowClick(sender, true); };
        row.Edits[k] = edit;
    }
    row.Box = new TCheckBox(&form_);
    row.Box->SetName("ClickCB" + std::to_string(n));
    row.Box->SetBounds(232, top, 15, 17);
    row.Box->SetParent(ScrollBox3);
    row.Box->SetChecked(true);
    row.Box->SetTag(static_cast<std::intptr_t>(n));
    ClickRows.push_back(row);
}

void TPokerRoomPage::ShowClickRows() {
    const std::vector<pr::TClickRow>& rows = Model.Editor.HotKeys.Rows;
    TScrollingWinControl::TAutoRangeHold hold(*ScrollBox3);
    while (ClickRows.size() < rows.size()) MakeClickRow(ClickRows.size());
    for (size_t n = 0; n < ClickRows.size(); ++n) {
        const bool visible = n < rows.size() && rows[n].Visible;
        const bool selected = static_cast<int32_t>(n) == Model.Editor.HotKeys.SelectedClick;
        TClickRowControls& row = ClickRows[n];
        for (size_t k = 0; k < 4; ++k) {
            row.Edits[k]->SetText(visible ? rows[n].Text[k] : "");
            row.Edits[k]->SetVisible(visible);
        }
        row.Box->SetChecked(visible ? rows[n].Enabled : true);
        row.Box->SetVisible(visible);
        row.Label->SetVisible(visible);
        row.Label->SetColor(selected ? clHighlight : clBtnFace);
        row.Label->Font()->SetColor(selected ? clWhite : clBlack);
        row.Label->Invalidate();
    }
}

void TPokerRoomPage::RowClick(TObject* sender, bool clickRow) {
    auto* control = dynamic_cast<TControl*>(sender);
    if (!control) return;
    ReadView();
    const auto row = static_cast<int32_t>(control->Tag());
    if (clickRow)
        Model.SelectClick(row);
    else
        Model.SelectSize(row);
    ShowView();
}

void TPokerRoomPage::EnableSize2() {
    const bool enabled = !ProportionalCheckBox->Checked();
    for (TControl* c : Size2Controls) c->SetEnabled(enabled);
}

void TPokerRoomPage::EnableColours() {
    const bool enabled = FoldRadioButton->Checked();
    for (int f = pr::afSize1Red; f <= pr::afSize2Blue; ++f) ActivateEdits[static_cast<size_t>(f)]->SetEnabled(enabled);
}

void TPokerRoomPage::SetEditorTabsVisible(bool visible) {
    for (int i = 1; i < PageControl3->PageCount(); ++i) PageControl3->Pages(i)->SetTabVisible(visible);
}

void TPokerRoomPage::Finish(const pr::TOutcome& outcome) {
    if (outcome.WriteFile && writeRooms_) writeRooms_();
    ShowView();
    if (!outcome.Message.empty()) ShowMessage(outcome.Message);
}

void TPokerRoomPage::AskSaveNewRoom() {
    const std::string question = Model.SaveNewRoomQuestion();
    const bool yes = question.empty() || Ask(question);
    const pr::TOutcome out = Model.AnswerSaveNewRoom(yes);
    if (out.WriteFile && writeRooms_) writeRooms_();
}

// ---- routines -----------------------------------------------------------------------------

void TPokerRoomPage::ShowRooms(int32_t index) {
    Model.ShowRooms(index);
    ShowView();
}

void TPokerRoomPage::StoreRoomEditor() {
    if (!TypeNameEdit) return;  // not loaded yet
    ReadView();
    Model.StoreRoomEditor();
}

void TPokerRoomPage::PageChanged(bool roomPage) {
    if (!roomPage || !PageControl3) return;
    Model.EditorTabsVisible = false;
    SetEditorTabsVisible(false);
    PageControl3->SetActivePageIndex(0);
}

// ---- rooms ----------------------------------------------------------------------------------

void TPokerRoomPage::PokerRoomListBoxClick() {
    FindControls();
    const int32_t index = PokerRoomListBox->ItemIndex();
    if (index < 0 || index == Model.Selected) return;
    ReadView();
    if (!t::PokerRooms.empty()) AskSaveNewRoom();
    Model.ShowRooms(index);
    ShowView();
}

void TPokerRoomPage::PokerRoomListBoxClickCheck() {
    FindControls();
    if (showing_) return;
    for (int i = 0; i < PokerRoomListBox->Items()->Count(); ++i) {
        const bool ticked = PokerRoomListBox->Checked(i);
        if (static_cast<size_t>(i) < Model.RoomTicks.size() && Model.RoomTicks[static_cast<size_t>(i)] != ticked)
            Model.TickRoom(i, ticked);
    }
}

void TPokerRoomPage::CustomCreateNewBtnClick() {
    ReadView();
    AskSaveNewRoom();
    Model.ShowRooms(Model.Selected);
    ShowView();
    TCreateNewConfig* dialog = NameDialogOf(form_);
    std::vector<std::string> clones;
    for (const t::TPokerRoom& r : t::PokerRooms) clones.push_back(r.Name.Str());
    dialog->Prepare({"Create New Custom Poker Room", "Name of Custom Poker Room", "Clone from Poker Room",
                     Model.NewRoomName(), clones});
    if (dialog->ShowModal() != mrOk) return;
    Model.CreateRoom(dialog->ConfigName->Text(), dialog->ComboBox1->ItemIndex());
    ShowView();
    PageControl3->SetActivePageIndex(1);
}

void TPokerRoomPage::CustomDeleteBtnClick() {
    ReadView();
    const std::string question = Model.DeleteRoomQuestion();
    if (question.empty() || !Ask(question)) return;
    Finish(Model.DeleteRoom());
}

void TPokerRoomPage::CustomSaveBtnClick() {
    ReadView();
    Finish(Model.SaveRoom());
}

void TPokerRoomPage::UpPokerRoomClick() {
    ReadView();
    if (Model.Selected < 1) return;
    AskSaveNewRoom();
    Model.MoveUp();
    ShowView();
}

void TPokerRoomPage::DownPokerRoomClick() {
    ReadView();
    if (Model.Selected < 0 || static_cast<size_t>(Model.Selected) + 1 >= t::PokerRooms.size()) return;
    AskSaveNewRoom();
    Model.MoveDown();
    ShowView();
}

void TPokerRoomPage::EditPokerRoomBtnClick() {
    ReadView();
    if (Model.Selected < 0 || !Ask(Model.EditRoomQuestion())) return;
    Model.EditorTabsVisible = true;
    SetEditorTabsVisible(true);
    PageControl3->SetActivePageIndex(1);
}

void TPokerRoomPage::TypeNameEditChange() {
    if (showing_ || !PokerRoomListBox) return;
    Model.RenameSelected(TypeNameEdit->Text());
    const int32_t i = Model.Selected;
    if (i >= 0 && i < PokerRoomListBox->Items()->Count()) {
        const bool ticked = PokerRoomListBox->Checked(i);
        showing_ = true;
        PokerRoomListBox->Items()->SetStrings(i, TypeNameEdit->Text());
        PokerRoomListBox->SetChecked(i, ticked);
        PokerRoomListBox->SetItemIndex(i);
        showing_ = false;
    }
}

// ---- export and import --------------------------------------------------------------------------

void TPokerRoomPage::ExportPokerRoomBtnClick() {
    TExportPokerRoomForm* chooser = ChooserForm();
    std::vector<std::string> names;
    for (const t::TPokerRoom& r : t::PokerRooms) names.push_back(r.Name.Str());
    chooser->Prepare("Export Poker Room", "Choose Poker Room what you want to export:", "Export", names);
    if (chooser->ShowModal() != mrOk) return;
    FindControls();
    if (!ExportSaveDialog->Execute()) return;
    const std::vector<bool> ticks = chooser->Ticks();
    std::vector<t::TPokerRoom> chosen;
    for (size_t i = 0; i < t::PokerRooms.size() && i < ticks.size(); ++i)
        if (ticks[i]) chosen.push_back(t::PokerRooms[i]);
    t::WriteDataFile(ExportSaveDialog->FileName, t::EncodePokerRooms(chosen));
}

void TPokerRoomPage::ImportPokerRoomBtnClick() {
    FindControls();
    if (ImportOpenDialog->Execute()) {
        const std::string file = ImportOpenDialog->FileName;
        const TFileReadResult read = SafeReadFile(file, t::MaxPokerRoomsFileSize);
        pr::TRoomImport in;
        if (read.Status != TFileReadStatus::Ok)
            in.Message = "Can not import \"" + file + "\": " + (read.Error.empty() ? "the file can not be read." : read.Error);
        else
            in = pr::CheckRoomImport(read.Bytes, file);
        if (!in.Message.empty()) {
            ShowMessage(in.Message);
        } else {
            TExportPokerRoomForm* chooser = ChooserForm();
            std::vector<std::string> names;
            for (const t::TPokerRoom& r : in.Rooms) names.push_back(r.Name.Str());
            chooser->Prepare("Import Poker Room", "Choose Poker Room what you want to import:", "Import", names);
            if (chooser->ShowModal() == mrOk) {
                const std::vector<bool> ticks = chooser->Ticks();
                for (size_t i = 0; i < in.Rooms.size() && i < ticks.size(); ++i)
                    if (ticks[i]) t::PokerRooms.push_back(in.Rooms[i]);
            }
        }
    }
    ShowRooms(0);
}

// ---- Window Type tab --------------------------------------------------------------------------------

int32_t TPokerRoomPage::OperatorIndex(const std::string& text) {
    if (OnLog) OnLog("Operand= " + text + " ");
    const int32_t i = pr::OperatorIndex(text);
    // A title split from typed text keeps its operators without blanks.
    return i >= 0 || text.empty() ? i : pr::OperatorIndex(" " + text + " ");
}

bool TPokerRoomPage::AskTitle(const t::TTitleSpec* shown, t::TTitleSpec& answer) {
    TAddWindowTitle* d = TitleDialogOf(form_);
    d->Prepare(Model.Editor.Titles);
    if (shown) {
        // A title that was never split shows its whole text as the first phrase.
        const bool split = !shown->Operand1.Empty() || !shown->Operand2.Empty() || !shown->Operand3.Empty();
        d->Phrase1ComBox->SetText(split ? shown->Operand1.Str() : shown->Text.Str());
        d->Phrase2ComBox->SetText(shown->Operand2.Str());
        d->Phrase3ComBox->SetText(shown->Operand3.Str());
        d->ComboBox1->SetItemIndex(std::max(OperatorIndex(shown->Operator1.Str()), 0));
        d->ComboBox2->SetItemIndex(std::max(OperatorIndex(shown->Operator2.Str()), 0));
    }
    if (d->ShowModal() != mrOk) return false;
    const settings::TTitleFields f = d->Fields();
    answer = pr::BuildTitle(f.Phrases[0], f.Operators[0], f.Phrases[1], f.Operators[1], f.Phrases[2]);
    // Nothing typed: no title (an empty one would not be kept).
    return !answer.Text.Empty();
}

void TPokerRoomPage::WindowTitleListBoxClick() {
    ReadView();
    Model.SelectTitle(WindowTitleListBox->ItemIndex());
}

void TPokerRoomPage::AddWindowTitleBtnClick() {
    ReadView();
    const pr::TOutcome check = Model.CheckCanAddTitle();
    if (!check.Message.empty()) {
        ShowMessage(check.Message);
        return;
    }
    t::TTitleSpec title;
    if (!AskTitle(nullptr, title)) return;
    Model.AddTitle(title);
    ShowView();
}

void TPokerRoomPage::EditWindowTitleBtnClick() {
    ReadView();
    const t::TTitleSpec* selected = Model.SelectedTitleSpec();
    if (!selected) return;
    const t::TTitleSpec shown = *selected;
    t::TTitleSpec title;
    if (!AskTitle(&shown, title)) return;
    Model.ReplaceTitle(title);
    ShowView();
}

void TPokerRoomPage::DeleteWindowTitleBtnClick() {
    ReadView();
    Model.DeleteTitle();
    ShowView();
}

void TPokerRoomPage::AddWindowSizeBtnClick() {
    ReadView();
    Finish(Model.AddSize());
}

void TPokerRoomPage::DeleteWindowSizeBtnClick() {
    ReadView();
    Model.DeleteSize();
    ShowView();
}

// What the grabber shows was picked by the user and is copied at once; a
// grabber opened here starts empty, and its own copy buttons fill the
// editor once the user picked a window.
void TPokerRoomPage::CustomCopyClassClick() {
    const std::array<std::string, 3> picked = GrabberDetails ? GrabberDetails() : std::array<std::string, 3>{};
    if (OnOpenGrabber) OnOpenGrabber();
    if (!picked[0].empty()) CopyGrabbedClass(picked[0]);
}

void TPokerRoomPage::CustomCopySizeClick() {
    const std::array<std::string, 3> picked = GrabberDetails ? GrabberDetails() : std::array<std::string, 3>{};
    if (OnOpenGrabber) OnOpenGrabber();
    if (!picked[1].empty() && !picked[2].empty()) CopyGrabbedSize(picked[1], picked[2]);
}

void TPokerRoomPage::CopyGrabbedClass(const std::string& windowClass) {
    FindControls();
    WindowClassEdit->SetText(windowClass);
}

void TPokerRoomPage::CopyGrabbedSize(const std::string& width, const std::string& height) {
    ReadView();
    Model.CopySizeFromGrabber(width, height);
    ShowView();
}

// ---- Auto-Activate tab ---------------------------------------------------------------------------------

void TPokerRoomPage::FoldRadioButtonClick() { EnableColours(); }
void TPokerRoomPage::SeatRadioButtonClick() { EnableColours(); }
void TPokerRoomPage::ProportionalCheckBoxClick() { EnableSize2(); }

void TPokerRoomPage::CommonBoxClick(int column) {
    FindControls();
    const bool enabled = ReactionBoxes[0][static_cast<size_t>(column)]->Checked();
    for (size_t r = 1; r < 5; ++r) ReactionBoxes[r][static_cast<size_t>(column)]->SetEnabled(enabled);
}

void TPokerRoomPage::WindowCaptureBtnClick() {
    ReadView();
    Model.StoreRoomEditor();
    if (OnOpenCapture) OnOpenCapture({Model.Working.Sizes.begin(), Model.Working.Sizes.end()});
}

void TPokerRoomPage::CopySizeBtn(int size) {
    ReadView();
    if (!CaptureVisible || !CaptureVisible()) {
        ShowMessage(CaptureFirstText(FoldRadioButton->Checked()));
        return;
    }
    Model.CopyCaptureToSize(size, CaptureResult());
    ShowView();
}

// ---- hotkey macros ------------------------------------------------------------------------------------------

void TPokerRoomPage::HotKeyListBoxClick() {
    ReadView();
    const int32_t index = HotKeyListBox->ItemIndex();
    if (index < 0) return;
    Model.SelectHotKey(index);
    ShowView();
}

void TPokerRoomPage::AddNewHotKeyBtnClick() {
    ReadView();
    Model.StoreHotKeyEditor();
    const pr::TOutcome check = Model.CheckCanAddHotKey();
    if (!check.Message.empty()) {
        ShowMessage(check.Message);
        return;
    }
    TCreateNewConfig* dialog = NameDialogOf(form_);
    dialog->Prepare({"Create New HotKey ", "Description of HotKey", "", Model.NewHotKeyName(), {}});
    if (dialog->ShowModal() != mrOk) return;
    Model.AddHotKey(dialog->ConfigName->Text());
    ShowView();
}

void TPokerRoomPage::DeleteHotKeyBtnClick() {
    ReadView();
    const std::string question = Model.DeleteHotKeyQuestion();
    if (question.empty() || !Ask(question)) return;
    Finish(Model.DeleteHotKey());
}

void TPokerRoomPage::GlobalHotKeyCBClick() {
    if (showing_) return;
    ReadView();
    Model.SetGlobal(GlobalHotKeyCB->Checked());
    ShowView();
}

void TPokerRoomPage::ActionHotKeyCBChange() {
    if (showing_ || !HotKeyListBox) return;
    Model.ChangeAction(ActionHotKeyCB->Text());
    const int32_t i = Model.Editor.HotKeys.Selected;
    if (i >= 0 && i < HotKeyListBox->Items()->Count()) {
        HotKeyListBox->Items()->SetStrings(i, Model.Editor.HotKeys.Action);
        HotKeyListBox->SetItemIndex(i);
    }
    MacrosGroupBox->SetCaption(Model.Editor.HotKeys.Caption);
}

void TPokerRoomPage::LocalHKKeyKeyUp(WORD key) {
    if (!LocalHKKey) return;
    LocalHKKey->SetText(KeyNameOf(key));
}

void TPokerRoomPage::AddClickBtnClick() {
    ReadView();
    Finish(Model.AddClick());
}

void TPokerRoomPage::DeleteClickBtnClick() {
    ReadView();
    Model.DeleteClick();
    ShowView();
}

void TPokerRoomPage::CopyClick(int size) {
    ReadView();
    if (Model.Editor.HotKeys.SelectedClick < 0) {
        ShowMessage(pr::AddClickFirstText);
        return;
    }
    if (!CaptureVisible || !CaptureVisible()) {
        WindowCaptureBtnClick();
        return;
    }
    Finish(Model.RecordClick(size, CaptureResult()));
}

// ---- event macros ---------------------------------------------------------------------------------------------

void TPokerRoomPage::EventMacrosListBoxClick() {
    ReadView();
    Model.SelectEventMacro(EventMacrosListBox->ItemIndex());
    ShowView();
}

void TPokerRoomPage::EventMacrosListBoxClickCheck() {
    if (showing_) return;
    FindControls();
    for (int i = 0; i < 4 && i < EventMacrosListBox->Items()->Count(); ++i)
        Model.TickEventMacro(i, EventMacrosListBox->Checked(i));
}

void TPokerRoomPage::WindowCaptureBtnMClick() {
    ReadView();
    ShowMessage(ButtonTypeRB->Checked()
                    ? "Find coordinates and color of defined button.\r\n          And then copy this data.           "
                    : "     Find coordinates of defined button.     \r\n          And then copy this data.           ");
    WindowCaptureBtnClick();
}

void TPokerRoomPage::CopyEventSize(int size) {
    ReadView();
    if (!CaptureVisible || !CaptureVisible()) {
        const bool button = ButtonTypeRB->Checked();
        if (size == 1)
            ShowMessage(button ? " Please click \"Start Window Capture\" first.  \r\nFind coordinates and color of defined "
                                 "button.\r\n          And then copy this data.           "
                               : " Please click \"Start Window Capture\" first. \r\n     Find coordinates of defined button  "
                                 "   \r\n          And then copy this data.          ");
        else
            ShowMessage(button ? "  Please click \"Start Window Capture\" first. \r\nFind coordinates and color of defined "
                                 "button.\r\n          And then copy this data.           "
                               : "Please click \"Start Window Capture\" first.\r\n    Find coordinates of defined button    "
                                 "\r\n          And then copy this data.        ");
        WindowCaptureBtnClick();
        return;
    }
    Model.CopyCaptureToEventSize(size, CaptureResult());
    ShowView();
}

}  // namespace kova::mainwindow
