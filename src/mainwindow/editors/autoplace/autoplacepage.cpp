#include "mainwindow/editors/autoplace/autoplacepage.h"

#include <algorithm>
#include <utility>

#include "framework/dialogs.h"

namespace kova::mainwindow {

namespace ap = autoplace;
namespace t = kova::tables;

namespace {

constexpr int RowTop = 76;
constexpr int RowStep = 20;
constexpr int RowHeight = 17;

const char* const OptionBoxNames[ap::GroupOptionCount] = {
    "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",       "CheckBox5",
    "CheckBox6", "CheckBox7", "CheckBox8", "CheckBoxActSize", "CheckBoxAllowChange"};

void ShowCombo(TComboBox* combo, const ap::TComboState& state) {
    combo->Items()->Clear();
    for (const std::string& item : state.Items) combo->Items()->Add(item);
    if (state.ItemIndex >= 0)
        combo->SetItemIndex(state.ItemIndex);
    else
        combo->SetText(state.Text);
}

void ReadCombo(TComboBox* combo, ap::TComboState& state) {
    state.Text = combo->Text();
    state.ItemIndex = combo->ItemIndex();
}

void ShowList(TListBox* list, const std::vector<std::string>& items, int32_t selected) {
    list->Items()->Clear();
    for (const std::string& item : items) list->Items()->Add(item);
    if (selected >= 0 && selected < list->Items()->Count()) list->SetItemIndex(selected);
}

ap::TMonitorList DesktopMonitors() {
    ap::TMonitorList list;
    for (int i = 0; i < Screen()->MonitorCount(); ++i) {
        const TMonitor m = Screen()->Monitors(i);
        list.push_back({{m.BoundsRect.left, m.BoundsRect.top, m.BoundsRect.right, m.BoundsRect.bottom},
                        {m.WorkareaRect.left, m.WorkareaRect.top, m.WorkareaRect.right, m.WorkareaRect.bottom}});
    }
    return list;
}

}  // namespace

void TSlotLabel::CreateParams(TCreateParams& p) {
    TStaticText::CreateParams(p);
    p.Style |= SS_SUNKEN;
}

TAutoPlacePage::TAutoPlacePage(TForm& form, t::TPlaceConfig& working, int32_t& selectedConfig,
                               std::function<void()> writeConfigs)
    : Model(t::PlaceConfigs, t::PokerRooms, working, selectedConfig),
      form_(form),
      writeConfigs_(std::move(writeConfigs)) {
    form.BindField("GroupBox1", GroupBox1);
    form.BindField("ConfigGroupBox", ConfigGroupBox);
    form.BindField("ComboBoxType", ComboBoxType);
    form.BindField("ComboBoxTitle", ComboBoxTitle);
    form.BindField("ComboBoxClass", ComboBoxClass);
    form.BindField("ComboBoxSize1", ComboBoxSize1);
    form.BindField("ComboBoxSize2", ComboBoxSize2);
    form.BindField("EditX1", EditX1);
    form.BindField("EditY1", EditY1);
    form.BindField("EditX2", EditX2);
    form.BindField("EditY2", EditY2);
    for (int o = 0; o < ap::GroupOptionCount; ++o)
        form.BindField(OptionBoxNames[o], OptionBoxes[static_cast<size_t>(o)]);
    form.BindField("ScrollBox1", ScrollBox1);
    form.BindField("EditTileX", EditTileX);
    form.BindField("EditTileY", EditTileY);
    form.BindField("EditTables", EditTables);
    form.BindField("EditOffSetX", EditOffSetX);
    form.BindField("EditOffSetY", EditOffSetY);
    form.BindField("AutoPlaceCreateNewConfig", AutoPlaceCreateNewConfig);
    form.BindField("AutoPlaceSaveConfig", AutoPlaceSaveConfig);
    form.BindField("AutoPlaceDeleteConfig", AutoPlaceDeleteConfig);
    form.BindField("AddNewGroup", AddNewGroup);
    form.BindField("DeleteGroup", DeleteGroup);
    form.BindField("AddSlot", AddSlot);
    form.BindField("DeleteSlot", DeleteSlot);
    form.BindField("CalcActivateSlot", CalcActivateSlot);
    form.BindField("ButtonTileSlots", ButtonTileSlots);
    form.BindField("ButtonCascadeSlot", ButtonCascadeSlot);
    form.BindField("GrabberBtn", GrabberBtn);

    auto on = [&form](const char* name, void (TAutoPlacePage::*handler)(), TAutoPlacePage* page) {
        form.RegisterMethod(name, TNotifyEvent([page, handler](TObject*) { (page->*handler)(); }));
    };
    on("AutoPlaceCreateNewConfigClick", &TAutoPlacePage::AutoPlaceCreateNewConfigClick, this);
    on("ConfigListBoxClick", &TAutoPlacePage::ConfigListBoxClick, this);
    on("AutoPlaceDeleteConfigClick", &TAutoPlacePage::AutoPlaceDeleteConfigClick, this);
    on("AutoPlaceSaveConfigClick", &TAutoPlacePage::AutoPlaceSaveConfigClick, this);
    on("AddNewGroupClick", &TAutoPlacePage::AddNewGroupClick, this);
    on("DeleteGroupClick", &TAutoPlacePage::DeleteGroupClick, this);
    on("GroupListBoxClick", &TAutoPlacePage::GroupListBoxClick, this);
    on("ComboBoxTypeChange", &TAutoPlacePage::ComboBoxTypeChange, this);
    on("ComboBoxSize1Change", &TAutoPlacePage::ComboBoxSize1Change, this);
    on("ComboBoxSize2Change", &TAutoPlacePage::ComboBoxSize2Change, this);
    on("AddSlotClick", &TAutoPlacePage::AddSlotClick, this);
    on("DeleteSlotClick", &TAutoPlacePage::DeleteSlotClick, this);
    on("CalcActivateSlotClick", &TAutoPlacePage::CalcActivateSlotClick, this);
    on("ButtonTileSlotsClick", &TAutoPlacePage::ButtonTileSlotsClick, this);
    on("ButtonCascadeSlotClick", &TAutoPlacePage::ButtonCascadeSlotClick, this);
    on("GrabberBtnClick", &TAutoPlacePage::GrabberBtnClick, this);
}

void TAutoPlacePage::FindFormControls() {
    if (!ConfigListBox) ConfigListBox = dynamic_cast<TListBox*>(form_.FindComponent("ConfigListBox"));
    if (!GroupListBox) GroupListBox = dynamic_cast<TListBox*>(form_.FindComponent("GroupListBox"));
    if (!MonitorCombo) MonitorCombo = dynamic_cast<TComboBox*>(form_.FindComponent("MonitorCombo"));
}

// ---- model and view ------------------------------------------------------------------

void TAutoPlacePage::ReadView() {
    FindFormControls();
    ap::TGroupEditor& e = Model.Editor;
    ReadCombo(ComboBoxType, e.Room);
    ReadCombo(ComboBoxTitle, e.Title);
    ReadCombo(ComboBoxClass, e.Class);
    ReadCombo(ComboBoxSize1, e.Size1);
    ReadCombo(ComboBoxSize2, e.Size2);
    e.X1 = EditX1->Text();
    e.Y1 = EditY1->Text();
    e.X2 = EditX2->Text();
    e.Y2 = EditY2->Text();
    for (size_t o = 0; o < OptionBoxes.size(); ++o) e.Options[o] = OptionBoxes[o]->Checked();
    ReadRows();
    Model.Tile.TablesX = EditTileX->Text();
    Model.Tile.TablesY = EditTileY->Text();
    Model.Tile.Tables = EditTables->Text();
    Model.Tile.OffsetX = EditOffSetX->Text();
    Model.Tile.OffsetY = EditOffSetY->Text();
    Model.Tile.Monitor = MonitorCombo ? MonitorCombo->ItemIndex() : 0;
    Model.Monitors = DesktopMonitors();
}

void TAutoPlacePage::ShowView() {
    FindFormControls();
    ShowList(ConfigListBox, Model.ConfigItems, Model.SelectedConfig);
    ShowList(GroupListBox, Model.GroupItems, Model.SelectedGroup);
    GroupBox1->SetCaption(Model.ConfigCaption);
    ConfigGroupBox->SetCaption(Model.GroupCaption);
    const ap::TGroupEditor& e = Model.Editor;
    ShowCombo(ComboBoxType, e.Room);
    ShowCombo(ComboBoxTitle, e.Title);
    ShowCombo(ComboBoxClass, e.Class);
    ShowCombo(ComboBoxSize1, e.Size1);
    ShowCombo(ComboBoxSize2, e.Size2);
    EditX1->SetText(e.X1);
    EditY1->SetText(e.Y1);
    EditX2->SetText(e.X2);
    EditY2->SetText(e.Y2);
    for (size_t o = 0; o < OptionBoxes.size(); ++o) OptionBoxes[o]->SetChecked(e.Options[o]);
    ShowRows();
    ConfigGroupBox->SetEnabled(e.Enabled);
}

void TAutoPlacePage::MakeRow(size_t n, int slot) {
    TRowControls row;
    // Placed before it has a parent: its window is made where it stays,
    // not made and then moved (under Wine a move costs nearly as much).
    const int top = RowTop + RowStep * slot - ScrollBox1->VertScrollPos();
    row.Label = new TSlotLabel(&form_);
    row.Label->SetName("Slot" + std::to_string(n));
    row.Label->SetBounds(8, top, 41, RowHeight);
    row.Label->SetCaption("Slot " + std::to_string(slot));
    row.Label->SetParent(ScrollBox1);
    row.Label->OnClick = [this](TObject* sender) { SlotRowClick(sender); };
    for (size_t k = 0; k < 8; ++k) {
        skin::TsEdit* edit = new skin::TsEdit(&form_);
        edit->SetName("EditSlot" + std::to_string(n) + std::to_string(k));
        edit->SetBounds(60 + 40 * static_cast<int>(k) + (k > 3 ? 10 : 0), top, 33, RowHeight);
        edit->SetParent(ScrollBox1);
        edit->OnClick = [this](TObject* sender) { SlotRowClick(sender); };
        row.Edits[k] = edit;
    }
    Rows.push_back(row);
}

TAutoPlacePage::TRowControls* TAutoPlacePage::RowOf(int32_t n) {
    for (TRowControls& row : Rows)
        if (row.Slot >= 0 && row.Slot == n) return &row;
    return nullptr;
}

void TAutoPlacePage::ReadRows() {
    std::vector<ap::TSlotRow>& rows = Model.Editor.Rows;
    for (const TRowControls& row : Rows) {
        if (row.Slot < 0 || static_cast<size_t>(row.Slot) >= rows.size()) continue;
        for (size_t k = 0; k < 8; ++k) rows[static_cast<size_t>(row.Slot)].Text[k] = row.Edits[k]->Text();
    }
}

void TAutoPlacePage::ShowRows() {
    if (!RowsExtent) {
        RowsExtent = new TSlotRowsExtent(&form_);
        RowsExtent->SetVisible(false);
        RowsExtent->SetBounds(0, RowTop, 1, 1);
        RowsExtent->SetParent(ScrollBox1);
        ScrollBox1->OnScroll = [this](TObject*) { RowsScrolled(); };
    }
    const std::vector<ap::TSlotRow>& rows = Model.Editor.Rows;
    int count = 0;  // up to the last slot of the group
    for (size_t n = 0; n < rows.size(); ++n)
        if (rows[n].Visible) count = static_cast<int>(n) + 1;
    // The scroll range is set once, for all rows, when the hold goes.
    TScrollingWinControl::TAutoRangeHold hold(*ScrollBox1);
    const int scroll = ScrollBox1->VertScrollPos();
    RowsExtent->SetVisible(count > 0);
    if (count > 0) RowsExtent->SetBounds(0, RowTop + RowStep * (count - 1) + RowHeight - 1 - scroll, 1, 1);

    // The rows whose top or bottom is inside the box's client area.
    const int height = static_cast<int>(ScrollBox1->ClientRect().bottom);
    const int above = scroll - RowTop - RowHeight;  // rows ending at or above 0 are out
    const int below = scroll + height - 1 - RowTop;  // rows starting past it are out
    const int first = above < 0 ? 0 : above / RowStep + 1;
    const int last = below < 0 ? -1 : std::min(count - 1, below / RowStep);
    const size_t inView = last >= first ? static_cast<size_t>(last - first + 1) : 0;
    while (Rows.size() < inView) MakeRow(Rows.size(), first + static_cast<int>(Rows.size()));
    for (size_t i = 0; i < Rows.size(); ++i) {
        const int n = first + static_cast<int>(i);
        const bool visible = n <= last && rows[static_cast<size_t>(n)].Visible;
        TRowControls& row = Rows[i];
        row.Slot = visible ? n : -1;
        if (visible) {
            const int top = RowTop + RowStep * n - scroll;
            if (row.Label->Top() != top) {
                row.Label->SetBounds(row.Label->Left(), top, row.Label->Width(), row.Label->Height());
                for (skin::TsEdit* edit : row.Edits) edit->SetBounds(edit->Left(), top, edit->Width(), edit->Height());
            }
            const std::string caption = "Slot " + std::to_string(n);
            if (row.Label->Caption() != caption) row.Label->SetCaption(caption);
        }
        row.Label->SetTag(static_cast<std::intptr_t>(n));
        for (size_t k = 0; k < 8; ++k) {
            row.Edits[k]->SetTag(static_cast<std::intptr_t>(n));
            const std::string& text = visible ? rows[static_cast<size_t>(n)].Text[k] : std::string();
            if (row.Edits[k]->Text() != text) row.Edits[k]->SetText(text);
            row.Edits[k]->SetVisible(visible);
        }
        row.Label->SetVisible(visible);
        const bool selected = visible && n == Model.SelectedSlot;
        row.Label->SetColor(selected ? clHighlight : clBtnFace);
        row.Label->Font()->SetColor(selected ? clWhite : clBlack);
        row.Label->Invalidate();
    }
}

void TAutoPlacePage::RowsScrolled() {
    int32_t focusedSlot = -1;
    size_t focusedEdit = 0;
    for (const TRowControls& row : Rows)
        for (size_t k = 0; k < 8; ++k)
            if (row.Slot >= 0 && row.Edits[k]->Focused()) {
                focusedSlot = row.Slot;
                focusedEdit = k;
            }
    ReadRows();
    ShowRows();
    if (focusedSlot < 0) return;
    // The edit that had the focus now shows another slot: the focus goes
    // with its slot, or to the box while that slot is out of view.
    if (TRowControls* row = RowOf(focusedSlot)) {
        if (!row->Edits[focusedEdit]->Focused() && row->Edits[focusedEdit]->CanFocus())
            row->Edits[focusedEdit]->SetFocus();
    } else if (ScrollBox1->CanFocus()) {
        ScrollBox1->SetFocus();
    }
}

bool TAutoPlacePage::AskSaveNewConfig() {
    const std::string question = Model.SaveNewConfigQuestion();
    if (question.empty()) return true;
    const int answer = MessageDlg(question, mtConfirmation, mbYesNoCancel);
    const ap::TSaveAnswer a = answer == mrYes  ? ap::TSaveAnswer::Yes
                              : answer == mrNo ? ap::TSaveAnswer::No
                                               : ap::TSaveAnswer::Cancel;
    const ap::TOutcome out = Model.AnswerSaveNewConfig(a);
    if (out.WriteFile && writeConfigs_) writeConfigs_();
    return !out.Cancelled;
}

void TAutoPlacePage::Finish(const ap::TOutcome& outcome) {
    if (outcome.WriteFile && writeConfigs_) writeConfigs_();
    ShowView();
    if (!outcome.Message.empty()) ShowMessage(outcome.Message);
}

// ---- routines -------------------------------------------------------------------------------

void TAutoPlacePage::ShowConfig(int32_t index) {
    Model.ShowConfig(index);
    ShowView();
}

void TAutoPlacePage::StoreGroupEditor() {
    if (!ComboBoxType) return;  // not loaded yet
    ReadView();
    Model.StoreGroupEditor();
}

void TAutoPlacePage::PageChanged(bool autoPlacePage) {
    if (!ComboBoxType) return;  // not loaded yet
    StoreGroupEditor();
    if (!autoPlacePage) return;
    Model.ShowGroupEditor();
    ShowView();
}

// ---- configs --------------------------------------------------------------------------------

void TAutoPlacePage::AutoPlaceCreateNewConfigClick() {
    ReadView();
    if (!AskSaveNewConfig()) {
        ShowView();
        return;
    }
    ShowView();
    TCreateNewConfig* dialog = NameDialogOf(form_);
    dialog->Prepare(Model.CreateConfigDialog());
    if (dialog->ShowModal() != mrOk) return;
    const std::string name = dialog->ConfigName->Text();
    if (name.empty()) return;
    Model.CreateConfig(name, dialog->ComboBox1->ItemIndex());
    ShowView();
}

void TAutoPlacePage::ConfigListBoxClick() {
    const int32_t clicked = ConfigListBox->ItemIndex();
    if (clicked < 0 || clicked == Model.SelectedConfig) return;
    ReadView();
    if (!AskSaveNewConfig()) {
        ShowView();  // the list shows the config that stays selected
        return;
    }
    Model.ShowConfig(clicked);
    ShowView();
}

void TAutoPlacePage::AutoPlaceDeleteConfigClick() {
    ReadView();
    const std::string question = Model.DeleteConfigQuestion();
    if (question.empty()) return;
    if (MessageDlg(question, mtConfirmation, mbYesNo) != mrYes) return;
    Finish(Model.DeleteConfig());
}

void TAutoPlacePage::AutoPlaceSaveConfigClick() {
    ReadView();
    Finish(Model.SaveConfig());
}

// ---- groups --------------------------------------------------------------------------------

void TAutoPlacePage::AddNewGroupClick() {
    ReadView();
    const ap::TOutcome check = Model.CheckCanAddGroup();
    if (!check.Message.empty()) {
        ShowMessage(check.Message);
        return;
    }
    TCreateNewConfig* dialog = NameDialogOf(form_);
    dialog->Prepare(Model.CreateGroupDialog());
    if (dialog->ShowModal() != mrOk) return;
    const std::string name = dialog->ConfigName->Text();
    if (name.empty()) return;
    Model.AddGroup(name, dialog->ComboBox1->ItemIndex());
    ShowView();
}

void TAutoPlacePage::DeleteGroupClick() {
    ReadView();
    const std::string question = Model.DeleteGroupQuestion();
    if (question.empty()) return;
    if (MessageDlg(question, mtConfirmation, mbYesNo) != mrYes) return;
    Model.DeleteGroup();
    ShowView();
}

void TAutoPlacePage::GroupListBoxClick() {
    ReadView();
    Model.SelectGroup(GroupListBox->ItemIndex());
    ShowView();
}

void TAutoPlacePage::ComboBoxTypeChange() {
    ReadView();
    Model.ChangeRoom(ComboBoxType->ItemIndex());
    ShowView();
}

void TAutoPlacePage::ComboBoxSize1Change() {
    if (ComboBoxSize1->ItemIndex() < 0) return;  // a typed name keeps the typed sizes
    ReadView();
    Model.ChangeSize1(ComboBoxSize1->ItemIndex());
    ShowView();
}

void TAutoPlacePage::ComboBoxSize2Change() {
    if (ComboBoxSize2->ItemIndex() < 0) return;
    ReadView();
    Model.ChangeSize2(ComboBoxSize2->ItemIndex());
    ShowView();
}

// ---- slot rows -------------------------------------------------------------------------------

void TAutoPlacePage::AddSlotClick() {
    ReadView();
    Finish(Model.AddSlot());
}

void TAutoPlacePage::DeleteSlotClick() {
    ReadView();
    Finish(Model.DeleteSlot());
}

void TAutoPlacePage::CalcActivateSlotClick() {
    ReadView();
    Finish(Model.CalcActivateSelectedSlot());
}

void TAutoPlacePage::ButtonTileSlotsClick() {
    ReadView();
    Finish(Model.TileSlots());
}

void TAutoPlacePage::ButtonCascadeSlotClick() {
    ReadView();
    Finish(Model.CascadeSlots());
}

void TAutoPlacePage::GrabberBtnClick() {
    if (Model.SelectedGroup < 0) {
        ShowMessage(ap::AddGroupFirstText);
        return;
    }
    if (OnOpenGrabber) OnOpenGrabber();
}

void TAutoPlacePage::ApplyPicked(const std::function<ap::TOutcome(ap::TAutoPlaceModel&)>& action) {
    ReadView();
    Finish(action(Model));
}

void TAutoPlacePage::SlotRowClick(TObject* sender) {
    auto* control = dynamic_cast<TComponent*>(sender);
    if (!control) return;
    ReadView();
    Model.SelectSlot(static_cast<int32_t>(control->Tag()));
    ShowRows();
}

}  // namespace kova::mainwindow
