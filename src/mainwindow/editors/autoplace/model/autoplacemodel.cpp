#include "mainwindow/editors/autoplace/model/autoplacemodel.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "tables/logic/titleexpr.h"

namespace kova::mainwindow::autoplace {

namespace t = kova::tables;

int32_t ParseNumber(std::string_view text, int32_t fallback) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return fallback;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return fallback;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return fallback;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return fallback;
    return static_cast<int32_t>(value);
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

void TComboState::Select(int32_t i) {
    if (i >= 0 && static_cast<size_t>(i) < Items.size()) {
        ItemIndex = i;
        Text = Items[static_cast<size_t>(i)];
    } else {
        ItemIndex = -1;
        Text.clear();
    }
}

void TComboState::SetText(std::string_view text) {
    Text = std::string(text);
    const auto item = std::find(Items.begin(), Items.end(), Text);
    ItemIndex = item == Items.end() ? -1 : static_cast<int32_t>(item - Items.begin());
}

void CopyConfig(const t::TPlaceConfig& source, t::TPlaceConfig& destination) {
    // Every member is a value (the slots a vector of their own), so the
    // copy shares nothing with the source.
    destination = source;
}

TAutoPlaceModel::TAutoPlaceModel(std::vector<t::TPlaceConfig>& configs, const std::vector<t::TPokerRoom>& rooms,
                                 t::TPlaceConfig& working, int32_t& selectedConfig)
    : SelectedConfig(selectedConfig), Working(working), configs_(configs), rooms_(rooms) {}

// ---- configs
// ------------------------------------------------------------------------

void TAutoPlaceModel::ShowConfig(int32_t index) {
    ConfigItems.clear();
    for (const t::TPlaceConfig& c : configs_) ConfigItems.push_back(c.Name);
    if (!configs_.empty()) {
        index = std::clamp<int32_t>(index, 0, static_cast<int32_t>(configs_.size()) - 1);
        SelectedConfig = index;
        CopyConfig(configs_[static_cast<size_t>(index)], Working);
        ConfigCaption = "Config: " + Quoted(Working.Name);
    } else {
        SelectedConfig = -1;
        Working = t::TPlaceConfig{};
        ConfigCaption = "Config: ";
    }
    ShowGroups(0);
}

bool TAutoPlaceModel::HasUnsavedConfig() const {
    return SelectedConfig >= 0 && static_cast<size_t>(SelectedConfig) >= configs_.size();
}

std::string TAutoPlaceModel::SaveNewConfigQuestion() const {
    if (!HasUnsavedConfig()) return {};
    return "Do you want to save config " + Quoted(Working.Name) + "?";
}

TOutcome TAutoPlaceModel::AnswerSaveNewConfig(TSaveAnswer answer) {
    TOutcome out;
    if (!HasUnsavedConfig()) return out;
    if (answer == TSaveAnswer::Cancel) {
        out.Cancelled = true;
        return out;
    }
    if (answer == TSaveAnswer::Yes) {
        StoreGroupEditor();
        configs_.emplace_back();
        CopyConfig(Working, configs_.back());
        out.WriteFile = true;
    }
    ShowConfig(0);
    return out;
}

TNameDialogSetup TAutoPlaceModel::CreateConfigDialog() const {
    TNameDialogSetup d;
    d.Caption = "Create New Config";
    d.NameLabel = "Config Name:";
    d.CloneLabel = "Clone From Config:";
    d.Name = "Config" + std::to_string(configs_.size() + 1);
    d.CloneItems = ConfigItems;
    return d;
}

void TAutoPlaceModel::CreateConfig(std::string_view name, int32_t cloneIndex) {
    // Only saved configs are clone sources: an unsaved one was asked about
    // (and saved or dropped) before the dialog opened.
    t::TPlaceConfig source;
    if (cloneIndex >= 0 && static_cast<size_t>(cloneIndex) < configs_.size())
        source = configs_[static_cast<size_t>(cloneIndex)];
    ConfigItems.clear();
    for (const t::TPlaceConfig& c : configs_) ConfigItems.push_back(c.Name);
    ConfigItems.emplace_back(name);
    SelectedConfig = static_cast<int32_t>(ConfigItems.size()) - 1;
    CopyConfig(source, Working);
    Working.Name = std::string(name);
    ConfigCaption = "Config: " + Quoted(Working.Name);
    ShowGroups(0);
}

void TAutoPlaceModel::SelectConfig(int32_t index) {
    if (index == SelectedConfig || index < 0) return;
    ShowConfig(index);
}

std::string TAutoPlaceModel::DeleteConfigQuestion() const {
    if (SelectedConfig < 0 || static_cast<size_t>(SelectedConfig) >= ConfigItems.size()) return {};
    return "Are you sure you want to delete config " + Quoted(ConfigItems[static_cast<size_t>(SelectedConfig)]) + "?";
}

TOutcome TAutoPlaceModel::DeleteConfig() {
    TOutcome out;
    if (SelectedConfig < 0) return out;
    if (!HasUnsavedConfig()) {
        configs_.erase(configs_.begin() + SelectedConfig);
        out.WriteFile = true;
    }
    ShowConfig(0);
    return out;
}

TOutcome TAutoPlaceModel::SaveConfig() {
    TOutcome out;
    if (SelectedConfig < 0) return out;
    StoreGroupEditor();
    if (HasUnsavedConfig()) {
        configs_.emplace_back();
        SelectedConfig = static_cast<int32_t>(configs_.size()) - 1;
    }
    CopyConfig(Working, configs_[static_cast<size_t>(SelectedConfig)]);
    out.WriteFile = true;
    return out;
}

// ---- groups
// ---------------------------------------------------------------------------

t::TGroupRec* TAutoPlaceModel::CurrentGroup() {
    if (SelectedGroup < 0 || static_cast<size_t>(SelectedGroup) >= Working.Groups.size()) return nullptr;
    return &Working.Groups[static_cast<size_t>(SelectedGroup)];
}

void TAutoPlaceModel::ShowGroups(int32_t index) {
    GroupItems.clear();
    for (const t::TGroupRec& g : Working.Groups) GroupItems.push_back(g.Name);
    if (Working.Groups.empty()) {
        GroupCaption = NoGroupCaption;
        SelectedGroup = -1;
        ShowGroupEditor();
        Editor.Enabled = false;
        return;
    }
    SelectedGroup = std::clamp<int32_t>(index, 0, static_cast<int32_t>(Working.Groups.size()) - 1);
    GroupCaption = "Group: " + Quoted(Working.Groups[static_cast<size_t>(SelectedGroup)].Name);
    Editor.Enabled = true;
    ShowGroupEditor();
}

TOutcome TAutoPlaceModel::CheckCanAddGroup() const {
    TOutcome out;
    if (ConfigItems.empty() || SelectedConfig < 0) out.Message = CreateConfigFirstText;
    return out;
}

TNameDialogSetup TAutoPlaceModel::CreateGroupDialog() const {
    TNameDialogSetup d;
    d.Caption = "Create New Group";
    d.NameLabel = "Group Name";
    d.CloneLabel = "Clone from Group";
    d.Name = "Group" + std::to_string(Working.Groups.size() + 1);
    d.CloneItems = GroupItems;
    return d;
}

void TAutoPlaceModel::AddGroup(std::string_view name, int32_t cloneIndex) {
    // The group being left keeps what was typed into the editor.
    StoreGroupEditor();
    const bool clone = cloneIndex >= 0 && static_cast<size_t>(cloneIndex) < Working.Groups.size();
    t::TGroupRec g;
    if (clone) {
        g = Working.Groups[static_cast<size_t>(cloneIndex)];
        g.AllowChange = 0;  // the config's switch, kept in its first group only
    } else {
        // A new group starts with the options every room's defaults tick, so
        // that it places tables also when no poker room is known yet.
        g.AutoPlace = g.AutoShift = g.AutoSize = g.AutoActivate = g.MouseActivate = g.ActivateSize = 1;
    }
    g.Name = std::string(name);
    Working.Groups.push_back(std::move(g));
    ShowGroups(static_cast<int32_t>(Working.Groups.size()) - 1);
    Editor.Enabled = true;
    if (!clone) ApplyRoomToGroupEditor(0);
}

std::string TAutoPlaceModel::DeleteGroupQuestion() const {
    if (SelectedGroup < 0 || static_cast<size_t>(SelectedGroup) >= Working.Groups.size()) return {};
    return "Are you sure you want to delete group " + Quoted(Working.Groups[static_cast<size_t>(SelectedGroup)].Name) +
           "?";
}

void TAutoPlaceModel::DeleteGroup() {
    if (!CurrentGroup()) return;
    Working.Groups.erase(Working.Groups.begin() + SelectedGroup);
    SelectedGroup = -1;  // nothing to store into: the group is gone
    ShowGroups(0);
}

void TAutoPlaceModel::SelectGroup(int32_t index) {
    if (index == SelectedGroup || index < 0 || static_cast<size_t>(index) >= Working.Groups.size()) return;
    StoreGroupEditor();
    ShowGroups(index);
}

int32_t TAutoPlaceModel::RoomIndexByName(std::string_view name) const {
    for (size_t i = 0; i < rooms_.size(); ++i) {
        const std::string n = rooms_[i].Name.Str();
        if (!n.empty() && n == name) return static_cast<int32_t>(i);
    }
    return 0;
}

void TAutoPlaceModel::ApplyRoomToGroupEditor(int32_t room) {
    const bool inRange = room >= 0 && static_cast<size_t>(room) < rooms_.size();
    const bool custom = inRange && rooms_[static_cast<size_t>(room)].Name.Str() == "Custom";
    Editor.Room.Clear();
    Editor.Title.Clear();
    Editor.Size1.Clear();
    Editor.Size2.Clear();
    if (!custom) Editor.Class.Clear();

    int32_t position = -1;
    for (size_t i = 0; i < rooms_.size(); ++i) {
        if (!rooms_[i].Listed && static_cast<int32_t>(i) != room) continue;
        if (static_cast<int32_t>(i) == room) position = static_cast<int32_t>(Editor.Room.Items.size());
        Editor.Room.Items.push_back(rooms_[i].Name.Str());
    }
    if (!inRange) return;

    const t::TPokerRoom& r = rooms_[static_cast<size_t>(room)];
    Editor.Class.Items.push_back(r.WindowClass.Str());
    for (const t::TTitleSpec& title : r.Titles)
        if (!title.Text.Empty()) Editor.Title.Items.push_back(title.Text.Str());
    for (const t::TWindowSize& size : r.Sizes)
        if (!size.Name.Empty()) {
            Editor.Size1.Items.push_back(size.Name.Str());
            Editor.Size2.Items.push_back(size.Name.Str());
        }
    Editor.Room.Select(position);
    // The smaller of the first two sizes is the normal one.
    if (r.Sizes[1].Height == 0) {
        Editor.Size1.Select(0);
        Editor.Size2.Select(0);
    } else if (r.Sizes[1].Height < r.Sizes[0].Height) {
        Editor.Size1.Select(1);
        Editor.Size2.Select(0);
    } else {
        Editor.Size1.Select(0);
        Editor.Size2.Select(1);
    }
    FillSize(Editor.Size1, Editor.X1, Editor.Y1);
    FillSize(Editor.Size2, Editor.X2, Editor.Y2);
    Editor.Title.Select(-1);
    Editor.Class.Select(0);
    for (TGroupOption o : {goAutoPlace, goAutoSize, goAutoActivate, goAutoShift, goMouseActivate, goActivateSize})
        Editor.Options[o] = true;
}

const t::TPokerRoom* TAutoPlaceModel::RoomOfCombo() const {
    if (Editor.Room.ItemIndex < 0 || rooms_.empty()) return nullptr;
    return &rooms_[static_cast<size_t>(RoomIndexByName(Editor.Room.Text))];
}

void TAutoPlaceModel::FillSize(const TComboState& combo, std::string& x, std::string& y) const {
    const t::TPokerRoom* room = RoomOfCombo();
    if (!room || combo.ItemIndex < 0 || static_cast<size_t>(combo.ItemIndex) >= room->Sizes.size()) return;
    const t::TWindowSize& size = room->Sizes[static_cast<size_t>(combo.ItemIndex)];
    if (size.Name.Empty()) return;
    x = std::to_string(size.Width);
    y = std::to_string(size.Height);
}

void TAutoPlaceModel::ChangeRoom(int32_t itemIndex) {
    Editor.Room.Select(itemIndex);
    const int32_t room = RoomIndexByName(Editor.Room.Text);
    if (t::TGroupRec* g = CurrentGroup()) g->RoomIndex = room;
    ApplyRoomToGroupEditor(room);
}

void TAutoPlaceModel::ChangeSize1(int32_t itemIndex) {
    Editor.Size1.Select(itemIndex);
    FillSize(Editor.Size1, Editor.X1, Editor.Y1);
}

void TAutoPlaceModel::ChangeSize2(int32_t itemIndex) {
    Editor.Size2.Select(itemIndex);
    FillSize(Editor.Size2, Editor.X2, Editor.Y2);
}

void TAutoPlaceModel::ShowGroupEditor() {
    t::TGroupRec* g = CurrentGroup();
    if (!g) {
        Editor.Room.Text.clear();
        Editor.Room.ItemIndex = -1;
        Editor.Title.Text.clear();
        Editor.Title.ItemIndex = -1;
        Editor.Class.Text.clear();
        Editor.Class.ItemIndex = -1;
        Editor.Options = {};
        for (TGroupOption o : {goAutoPlace, goAutoShift, goAutoSize, goAutoActivate, goMouseActivate, goActivateSize})
            Editor.Options[o] = true;
        Editor.Size1.Text.clear();
        Editor.Size2.Text.clear();
        Editor.X1.clear();
        Editor.Y1.clear();
        Editor.X2.clear();
        Editor.Y2.clear();
        for (TSlotRow& row : Editor.Rows) row = TSlotRow{};
        SelectedSlot = -1;
        return;
    }
    Editor.Options[goAllowChange] = Working.Groups[0].AllowChange != 0;
    g->RoomIndex = RoomIndexByName(g->RoomName.Str());
    ApplyRoomToGroupEditor(g->RoomIndex);
    // The group's own texts, not the room's defaults the room just chose.
    Editor.Title.Text = g->Title.Text.Str();
    Editor.Title.ItemIndex = -1;
    Editor.Class.SetText(g->ClassPattern);
    Editor.Options[goAutoPlace] = g->AutoPlace != 0;
    Editor.Options[goAutoSort] = g->AutoSort != 0;
    Editor.Options[goAutoShift] = g->AutoShift != 0;
    Editor.Options[goAutoSize] = g->AutoSize != 0;
    Editor.Options[goAutoActivate] = g->AutoActivate != 0;
    Editor.Options[goSharedSlot] = g->SharedSlot != 0;
    Editor.Options[goMouseActivate] = g->MouseActivate != 0;
    Editor.Options[goTOIStyle] = g->TOIStyle != 0;
    Editor.Options[goActivateSize] = g->ActivateSize != 0;
    Editor.Size1.SetText(g->Size1.Name.Str());
    Editor.Size2.SetText(g->Size2.Name.Str());
    Editor.X1 = std::to_string(g->Size1.Width);
    Editor.Y1 = std::to_string(g->Size1.Height);
    Editor.X2 = std::to_string(g->Size2.Width);
    Editor.Y2 = std::to_string(g->Size2.Height);
    const int32_t count = static_cast<int32_t>(g->Slots.size());
    for (int32_t n = 0; n < count; ++n) {
        AddSlotRow(n);
        const t::TSlotRec& s = g->Slots[static_cast<size_t>(n)];
        const int32_t values[8] = {s.Left, s.Top, s.Width, s.Height, s.ActLeft, s.ActTop, s.ActWidth, s.ActHeight};
        for (int k = 0; k < 8; ++k)
            Editor.Rows[static_cast<size_t>(n)].Text[static_cast<size_t>(k)] = std::to_string(values[k]);
    }
    for (size_t n = static_cast<size_t>(count); n < Editor.Rows.size(); ++n) Editor.Rows[n] = TSlotRow{};
    SelectedSlot = count - 1;
}

void TAutoPlaceModel::StoreGroupEditor() {
    t::TGroupRec* g = CurrentGroup();
    if (!g) return;
    Working.Groups[0].AllowChange = Editor.Options[goAllowChange] ? 1 : 0;
    g->RoomIndex = RoomIndexByName(Editor.Room.Text);
    g->RoomName = Editor.Room.Text;  // cut to the field
    g->Title.Text = Editor.Title.Text;
    t::DecodeTitle(g->Title);
    g->ClassPattern = Editor.Class.Text;
    g->AutoPlace = Editor.Options[goAutoPlace];
    g->AutoSort = Editor.Options[goAutoSort];
    g->AutoShift = Editor.Options[goAutoShift];
    g->AutoSize = Editor.Options[goAutoSize];
    g->AutoActivate = Editor.Options[goAutoActivate];
    g->SharedSlot = Editor.Options[goSharedSlot];
    g->MouseActivate = Editor.Options[goMouseActivate];
    g->TOIStyle = Editor.Options[goTOIStyle];
    g->ActivateSize = Editor.Options[goActivateSize];
    g->Size1.Name = Editor.Size1.Text;
    g->Size1.Width = ParseNumber(Editor.X1, 0);
    g->Size1.Height = ParseNumber(Editor.Y1, 0);
    g->Size2.Name = Editor.Size2.Text;
    g->Size2.Width = ParseNumber(Editor.X2, 0);
    g->Size2.Height = ParseNumber(Editor.Y2, 0);
    g->Slots.clear();
    for (const TSlotRow& row : Editor.Rows) {
        if (!row.Visible) continue;
        int32_t v[8];
        for (size_t k = 0; k < 8; ++k) v[k] = ParseNumber(row.Text[k], 0);
        g->Slots.push_back(t::TSlotRec{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
    }
}

// ---- slot rows
// --------------------------------------------------------------------------

int32_t TAutoPlaceModel::VisibleRowCount() const {
    return static_cast<int32_t>(
        std::count_if(Editor.Rows.begin(), Editor.Rows.end(), [](const TSlotRow& r) { return r.Visible; }));
}

void TAutoPlaceModel::AddSlotRow(int32_t n) {
    if (n < 0) return;
    if (static_cast<size_t>(n) >= Editor.Rows.size()) Editor.Rows.resize(static_cast<size_t>(n) + 1);
    TSlotRow& row = Editor.Rows[static_cast<size_t>(n)];
    row = TSlotRow{};
    row.Visible = true;
    row.Text[sfWidth] = Editor.X1;
    row.Text[sfHeight] = Editor.Y1;
    row.Text[sfActWidth] = Editor.X2;
    row.Text[sfActHeight] = Editor.Y2;
    SelectSlot(n);
}

void TAutoPlaceModel::SelectSlot(int32_t n) {
    if (n >= 0 && static_cast<size_t>(n) < Editor.Rows.size() && Editor.Rows[static_cast<size_t>(n)].Visible)
        SelectedSlot = n;
}

TOutcome TAutoPlaceModel::AddSlot() {
    TOutcome out;
    if (!CurrentGroup()) {
        out.Message = AddGroupFirstText;
        return out;
    }
    const int32_t last = VisibleRowCount() - 1;
    if (last + 1 >= MaxSlotRows) return out;
    const int32_t at = std::min(SelectedSlot, last) + 1;
    if (static_cast<size_t>(last) + 2 > Editor.Rows.size()) Editor.Rows.resize(static_cast<size_t>(last) + 2);
    for (int32_t i = last; i >= at; --i) {
        TSlotRow& below = Editor.Rows[static_cast<size_t>(i) + 1];
        below.Text = Editor.Rows[static_cast<size_t>(i)].Text;
        below.Visible = true;
    }
    AddSlotRow(at);
    return out;
}

TOutcome TAutoPlaceModel::DeleteSlot() {
    TOutcome out;
    if (!CurrentGroup()) {
        out.Message = AddGroupFirstText;
        return out;
    }
    const int32_t sel = SelectedSlot;
    if (sel < 0 || static_cast<size_t>(sel) >= Editor.Rows.size()) return out;
    for (size_t i = static_cast<size_t>(sel); i < Editor.Rows.size(); ++i) {
        if (i + 1 < Editor.Rows.size() && Editor.Rows[i + 1].Visible) {
            Editor.Rows[i].Text = Editor.Rows[i + 1].Text;
        } else {
            Editor.Rows[i] = TSlotRow{};
            break;
        }
    }
    // The row before the deleted one; deleting the first row selects the
    // row that moved into its place.
    SelectedSlot = -1;
    SelectSlot(sel > 0 ? sel - 1 : 0);
    return out;
}

TOutcome TAutoPlaceModel::CalcActivateSelectedSlot() {
    TOutcome out;
    if (SelectedSlot < 0) {
        out.Message = CreateSlotFirstText;
        return out;
    }
    CalcActivateSlot(SelectedSlot);
    return out;
}

void TAutoPlaceModel::CalcActivateSlot(int32_t n) {
    if (n < 0 || static_cast<size_t>(n) >= Editor.Rows.size()) return;
    TSlotRow& row = Editor.Rows[static_cast<size_t>(n)];
    const int32_t left = ParseNumber(row.Text[sfLeft], 0);
    const int32_t top = ParseNumber(row.Text[sfTop], 0);
    const int32_t width = ParseNumber(row.Text[sfWidth], 0);
    const int32_t height = ParseNumber(row.Text[sfHeight], 0);
    int32_t actWidth = width, actHeight = height;
    // An activate size left empty (or not a size) would make the activated
    // window vanish: the slot's own size stands in for it.
    const int32_t x2 = ParseNumber(Editor.X2, 0), y2 = ParseNumber(Editor.Y2, 0);
    if (Editor.Options[goActivateSize] && x2 > 0 && y2 > 0) {
        actWidth = x2;
        actHeight = y2;
    }
    const TRect normal{left, top,
                       static_cast<int32_t>(std::clamp<int64_t>(int64_t{left} + width, INT32_MIN, INT32_MAX)),
                       static_cast<int32_t>(std::clamp<int64_t>(int64_t{top} + height, INT32_MIN, INT32_MAX))};
    const TRect act = CenterRectInWorkArea(Monitors, normal, actWidth, actHeight);
    row.Text[sfActLeft] = std::to_string(act.Left);
    row.Text[sfActTop] = std::to_string(act.Top);
    row.Text[sfActWidth] = std::to_string(actWidth);
    row.Text[sfActHeight] = std::to_string(actHeight);
}

void TAutoPlaceModel::SetRowRect(int32_t s, int64_t left, int64_t top, int32_t w, int32_t h) {
    AddSlotRow(s);
    TSlotRow& row = Editor.Rows[static_cast<size_t>(s)];
    row.Text[sfLeft] = std::to_string(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
    row.Text[sfTop] = std::to_string(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
    row.Text[sfWidth] = std::to_string(w);
    row.Text[sfHeight] = std::to_string(h);
    CalcActivateSlot(s);
}

TOutcome TAutoPlaceModel::TileSlots() {
    TOutcome out;
    if (!CurrentGroup()) {
        out.Message = AddGroupFirstText;
        return out;
    }
    const int32_t nx = ParseNumber(Tile.TablesX, 3);
    const int32_t ny = ParseNumber(Tile.TablesY, 3);
    const int32_t w = ParseNumber(Editor.X1, 494);
    const int32_t h = ParseNumber(Editor.Y1, 374);
    const TRect work = WorkAreaOf(Monitors, Tile.Monitor);
    int32_t s = SelectedSlot + 1;
    for (int32_t r = 0; r < ny; ++r)
        for (int32_t c = 0; c < nx; ++c, ++s) {
            if (s >= MaxSlotRows) return out;
            SetRowRect(s, TilePosition(c, nx, w, work.Left, work.Right), TilePosition(r, ny, h, work.Top, work.Bottom),
                       w, h);
        }
    return out;
}

TOutcome TAutoPlaceModel::CascadeSlots() {
    TOutcome out;
    if (!CurrentGroup()) {
        out.Message = AddGroupFirstText;
        return out;
    }
    const int32_t count = ParseNumber(Tile.Tables, 10);
    const int32_t dx = ParseNumber(Tile.OffsetX, 40);
    const int32_t dy = ParseNumber(Tile.OffsetY, 40);
    const int32_t w = ParseNumber(Editor.X1, 494);
    const int32_t h = ParseNumber(Editor.Y1, 374);
    int32_t originX, originY, s;
    if (SelectedSlot >= 0) {
        const TSlotRow& first = Editor.Rows[static_cast<size_t>(SelectedSlot)];
        originX = ParseNumber(first.Text[sfLeft], 0);
        originY = ParseNumber(first.Text[sfTop], 0);
        s = SelectedSlot;
    } else {
        const TRect work = WorkAreaOf(Monitors, Tile.Monitor);
        originX = work.Left;
        originY = work.Top;
        s = 0;
        SetRowRect(0, originX, originY, w, h);
    }
    for (int32_t k = 1; k < count; ++k) {
        if (++s >= MaxSlotRows) break;
        SetRowRect(s, originX + int64_t{k} * dx, originY + int64_t{k} * dy, w, h);
    }
    return out;
}

// ---- a window picked with the grabber --------------------------------------------------

TOutcome TAutoPlaceModel::CreateNormalSizeSlot(int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t before = VisibleRowCount();
    TOutcome out = AddSlot();
    if (!out.Message.empty() || VisibleRowCount() == before) return out;
    TSlotRow& row = Editor.Rows[static_cast<size_t>(SelectedSlot)];
    row.Text[sfLeft] = std::to_string(left);
    row.Text[sfTop] = std::to_string(top);
    row.Text[sfWidth] = std::to_string(width);
    row.Text[sfHeight] = std::to_string(height);
    CalcActivateSlot(SelectedSlot);
    return out;
}

TOutcome TAutoPlaceModel::CreateActivateSizeSlot(int32_t left, int32_t top, int32_t width, int32_t height) {
    TOutcome out;
    if (SelectedSlot < 0 || static_cast<size_t>(SelectedSlot) >= Editor.Rows.size()) {
        out.Message = CreateSlotFirstText;
        return out;
    }
    TSlotRow& row = Editor.Rows[static_cast<size_t>(SelectedSlot)];
    row.Text[sfActLeft] = std::to_string(left);
    row.Text[sfActTop] = std::to_string(top);
    row.Text[sfActWidth] = std::to_string(width);
    row.Text[sfActHeight] = std::to_string(height);
    return out;
}

void TAutoPlaceModel::CopySizeToNormal(int32_t width, int32_t height) {
    Editor.X1 = std::to_string(width);
    Editor.Y1 = std::to_string(height);
}

void TAutoPlaceModel::CopySizeToActivate(int32_t width, int32_t height) {
    Editor.X2 = std::to_string(width);
    Editor.Y2 = std::to_string(height);
}

}  // namespace kova::mainwindow::autoplace
