#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "mainwindow/editors/autoplace/model/autoplacemodel.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/model/shortstring.h"

namespace kova::mainwindow::pokerroom {

namespace t = kova::tables;
using autoplace::ParseNumber;
using autoplace::Quoted;

namespace {

constexpr const char* kOperators[] = {" and ", " or ", " and not "};

// The hotkey's name is a String[40] at the start of the editors' bytes.
using TNameBytes = t::TShortString<40>;
static_assert(TNameBytes::ByteSize <= sizeof(t::THotKeyBinding::Kept4));

std::string BindingName(const t::THotKeyBinding& b) {
    TNameBytes name;
    std::memcpy(name.Bytes.data(), b.Kept4.data(), TNameBytes::ByteSize);
    return name.Str();
}

void SetBindingName(t::THotKeyBinding& b, std::string_view text) {
    TNameBytes name;
    std::memcpy(name.Bytes.data(), b.Kept4.data(), TNameBytes::ByteSize);
    name.Assign(text);
    std::memcpy(b.Kept4.data(), name.Bytes.data(), TNameBytes::ByteSize);
}

std::string Num(int64_t v) { return std::to_string(v); }

// The shortest plain decimal that reads back as the same double: shown and
// stored again, the seconds keep every digit.
std::string Real(double v) {
    char buf[400];  // the longest fixed form of a double fits
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (r.ec != std::errc()) return "0";
    return std::string(buf, r.ptr);
}

double ParseReal(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return 0;
    return v;
}

uint8_t Byte(std::string_view s) { return static_cast<uint8_t>(std::clamp(ParseNumber(s, 0), 0, 255)); }

// Rows that count are the visible ones, always at the front.
template <class Row>
int32_t VisibleRows(const std::vector<Row>& rows) {
    int32_t n = 0;
    while (static_cast<size_t>(n) < rows.size() && rows[static_cast<size_t>(n)].Visible) ++n;
    return n;
}

// A new empty row after `selected` among the visible rows; returns its index.
template <class Row>
int32_t InsertRow(std::vector<Row>& rows, int32_t selected) {
    const int32_t n = VisibleRows(rows);
    const int32_t at = std::clamp(selected + 1, 0, n);
    if (rows.size() < static_cast<size_t>(n) + 1) rows.resize(static_cast<size_t>(n) + 1);
    for (int32_t k = n; k > at; --k) rows[static_cast<size_t>(k)] = rows[static_cast<size_t>(k - 1)];
    rows[static_cast<size_t>(at)] = Row{};
    rows[static_cast<size_t>(at)].Visible = true;
    return at;
}

// Removes the selected row (later ones move up); returns the new selection.
template <class Row>
int32_t RemoveRow(std::vector<Row>& rows, int32_t selected) {
    const int32_t n = VisibleRows(rows);
    if (selected < 0 || selected >= n) return selected;
    for (int32_t k = selected; k + 1 < n; ++k) rows[static_cast<size_t>(k)] = rows[static_cast<size_t>(k + 1)];
    rows[static_cast<size_t>(n - 1)] = Row{};
    rows[static_cast<size_t>(n - 1)].Visible = false;
    if (selected > 0) return selected - 1;
    return n > 1 ? 0 : -1;
}

}  // namespace

int32_t OperatorIndex(std::string_view text) {
    for (int32_t i = 0; i < 3; ++i)
        if (text == kOperators[i]) return i;
    return -1;
}

t::TTitleSpec BuildTitle(std::string_view phrase1, std::string_view operator1, std::string_view phrase2,
                         std::string_view operator2, std::string_view phrase3) {
    t::TTitleSpec title;
    title.Operand1 = phrase1;
    title.Operand2 = phrase2;
    title.Operand3 = phrase3;
    title.Operator1 = operator1;
    title.Operator2 = operator2;
    std::string text(phrase1);
    if (!phrase2.empty()) text += std::string(operator1) + std::string(phrase2);
    if (!phrase3.empty()) text += std::string(operator2) + std::string(phrase3);
    title.Text = text;
    return title;
}

std::string HotKeyName(const t::TRoomHotKey& key) { return BindingName(key.Binding); }
void SetHotKeyName(t::TRoomHotKey& key, std::string_view name) { SetBindingName(key.Binding, name); }

TCaptureOffsets CaptureOffsets(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight) {
    TCaptureOffsets o;
    o.X = (windowWidth - clientWidth) / 2;
    o.Y = windowHeight - clientHeight - o.X;
    return o;
}

t::TPoint ToReferenceSize(t::TPoint p, int32_t clientW, int32_t clientH, int32_t refW, int32_t refH) {
    if (clientW <= 0 || clientH <= 0 || refW <= 0 || refH <= 0 || (clientW == refW && clientH == refH)) return p;
    const auto scale = [](int32_t v, int32_t from, int32_t to) {
        return static_cast<int32_t>(std::lround(static_cast<double>(v) * to / from));
    };
    return t::TPoint{scale(p.X, clientW, refW), scale(p.Y, clientH, refH)};
}

// ---- import ---------------------------------------------------------------------------------

TRoomImport CheckRoomImport(std::span<const uint8_t> bytes, const std::string& fileName) {
    TRoomImport result;
    const auto refuse = [&](const std::string& why) {
        result.Rooms.clear();
        result.Message = "Can not import " + Quoted(fileName) + ": " + why;
        return result;
    };
    if (bytes.empty()) return refuse("the file is empty.");
    const bool old = t::IsOldPokerRoomsLayout(bytes);
    const size_t recordSize = old ? t::OldPokerRoomSize : t::TPokerRoom::ByteSize;
    const char* marker = old ? t::OldPokerRoomMarker : t::PokerRoomMarker;
    if (bytes.size() % recordSize != 0)
        return refuse("it is not a whole number of poker-room records (the file is cut or not a room file).");
    const size_t count = bytes.size() / recordSize;
    if (count > static_cast<size_t>(t::MaxPokerRoomsFileSize / t::TPokerRoom::ByteSize))
        return refuse("the file is too large.");
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = bytes.data() + i * recordSize;
        if (p[0] != 9 || std::memcmp(p + 1, marker, 9) != 0)
            return refuse("record " + std::to_string(i + 1) + " is not a poker room.");
    }
    t::DecodePokerRooms(bytes, result.Rooms);
    return result;
}

// ---- rooms ------------------------------------------------------------------------------------

TPokerRoomModel::TPokerRoomModel(std::vector<t::TPokerRoom>& rooms, const t::TUserOptions& options)
    : rooms_(rooms), options_(options) {}

bool TPokerRoomModel::HasUnsavedRoom() const {
    return Selected >= 0 && static_cast<size_t>(Selected) >= rooms_.size();
}

void TPokerRoomModel::ShowRooms(int32_t index) {
    RoomItems.clear();
    RoomTicks.clear();
    for (const t::TPokerRoom& r : rooms_) {
        RoomItems.push_back(r.Name.Str());
        RoomTicks.push_back(r.Listed != 0);
    }
    if (!rooms_.empty()) {
        Selected = std::clamp<int32_t>(index, 0, static_cast<int32_t>(rooms_.size()) - 1);
        Working = rooms_[static_cast<size_t>(Selected)];
    } else {
        Selected = -1;
        Working = t::TPokerRoom{};
    }
    ShowRoomEditor();
}

void TPokerRoomModel::ShowRoomEditor() {
    ShowWindowType();
    ShowActivate();
    ShowHotKeys(1);
    ShowEventMacros(0);
}

void TPokerRoomModel::StoreRoomEditor() {
    StoreWindowType();
    StoreActivate();
    StoreHotKeyEditor();
    StoreEventMacro();
}

std::string TPokerRoomModel::SaveNewRoomQuestion() const {
    if (!HasUnsavedRoom()) return {};
    return "Do you want to save custom PokerRoom " + Quoted(Editor.Name) + "?";
}

TOutcome TPokerRoomModel::AnswerSaveNewRoom(bool yes) {
    TOutcome out;
    if (HasUnsavedRoom()) {
        if (!yes) return out;
        StoreRoomEditor();
        rooms_.push_back(Working);
        out.WriteFile = true;
    } else if (Selected >= 0) {
        StoreRoomEditor();
        rooms_[static_cast<size_t>(Selected)] = Working;
    }
    return out;
}

void TPokerRoomModel::SelectRoom(int32_t index) {
    if (index != Selected) ShowRooms(index);
}

void TPokerRoomModel::TickRoom(int32_t index, bool ticked) {
    if (index < 0) return;
    if (static_cast<size_t>(index) < rooms_.size()) rooms_[static_cast<size_t>(index)].Listed = ticked ? 1 : 0;
    if (static_cast<size_t>(index) < RoomTicks.size()) RoomTicks[static_cast<size_t>(index)] = ticked;
    if (index == Selected) Working.Listed = ticked ? 1 : 0;
}

std::string TPokerRoomModel::NewRoomName() const { return "CustomPokerRoom" + Num(static_cast<int64_t>(rooms_.size()) + 1); }

void TPokerRoomModel::CreateRoom(std::string_view name, int32_t cloneIndex) {
    // Items past the saved rooms (an unsaved one the user declined) go.
    RoomItems.resize(std::min(RoomItems.size(), rooms_.size()));
    RoomTicks.resize(RoomItems.size());
    if (cloneIndex >= 0 && static_cast<size_t>(cloneIndex) < rooms_.size()) {
        Working = rooms_[static_cast<size_t>(cloneIndex)];
    } else {
        // A room made from nothing starts with the tolerances the editor
        // gives an empty edit.
        Working = t::TPokerRoom{};
        Working.Tolerance = Working.Tolerance2 = 5;
        for (t::TEventMacro& m : Working.EventMacros) m.Tolerance = m.Tolerance2 = 10;
    }
    Working.Name = name;
    Working.Listed = 1;
    RoomItems.push_back(Working.Name.Str());
    RoomTicks.push_back(true);
    Selected = static_cast<int32_t>(RoomItems.size()) - 1;
    ShowRoomEditor();
    EditorTabsVisible = true;
}

std::string TPokerRoomModel::DeleteRoomQuestion() const {
    if (Selected < 0) return {};
    return "Are you sure you want to delete custom PokerRoom " + Quoted(Editor.Name) + "?";
}

TOutcome TPokerRoomModel::DeleteRoom() {
    TOutcome out;
    if (Selected >= 0 && static_cast<size_t>(Selected) < rooms_.size()) {
        rooms_.erase(rooms_.begin() + Selected);
        out.WriteFile = true;
    }
    ShowRooms(0);
    return out;
}

TOutcome TPokerRoomModel::SaveRoom() {
    TOutcome out;
    if (Selected < 0) return out;
    StoreRoomEditor();
    if (HasUnsavedRoom()) {
        rooms_.push_back(Working);
        Selected = static_cast<int32_t>(rooms_.size()) - 1;
    } else {
        rooms_[static_cast<size_t>(Selected)] = Working;
    }
    out.WriteFile = true;
    return out;
}

bool TPokerRoomModel::MoveUp() {
    const int32_t i = Selected;
    if (i < 1 || static_cast<size_t>(i) >= rooms_.size()) return false;
    std::swap(rooms_[static_cast<size_t>(i - 1)], rooms_[static_cast<size_t>(i)]);
    ShowRooms(i - 1);
    return true;
}

bool TPokerRoomModel::MoveDown() {
    const int32_t i = Selected;
    if (i < 0 || static_cast<size_t>(i) + 1 >= rooms_.size()) return false;
    std::swap(rooms_[static_cast<size_t>(i)], rooms_[static_cast<size_t>(i + 1)]);
    ShowRooms(i + 1);
    return true;
}

std::string TPokerRoomModel::EditRoomQuestion() const {
    return "Are you sure you want to edit Poker Poom " + Quoted(Editor.Name) +
           "?\r\nWe recomend clone new Poker Room from this one and then edit this new Poker Room.";
}

void TPokerRoomModel::RenameSelected(std::string_view name) {
    Editor.Name = name;
    if (Selected >= 0 && static_cast<size_t>(Selected) < RoomItems.size())
        RoomItems[static_cast<size_t>(Selected)] = std::string(name);
}

// ---- Window Type tab ----------------------------------------------------------------------------

void TPokerRoomModel::ShowWindowType() {
    Editor.Name = Working.Name.Str();
    Editor.Type = Working.RoomType >= 0 && Working.RoomType < BaseTypeCount ? Working.RoomType : 0;
    Editor.WindowClass = Working.WindowClass.Str();
    Editor.Titles.clear();
    titleSpecs_.clear();
    for (const t::TTitleSpec& title : Working.Titles) {
        if (title.Text.Empty()) continue;
        Editor.Titles.push_back(title.Text.Str());
        titleSpecs_.push_back(title);
    }
    Editor.SelectedTitle = static_cast<int32_t>(Editor.Titles.size()) - 1;
    size_t shown = 0;
    for (const t::TWindowSize& s : Working.Sizes) {
        if (s.Name.Empty()) continue;
        if (Editor.SizeRows.size() <= shown) Editor.SizeRows.resize(shown + 1);
        Editor.SizeRows[shown] = TSizeRow{s.Name.Str(), Num(s.Width), Num(s.Height), true};
        ++shown;
    }
    for (size_t k = shown; k < Editor.SizeRows.size(); ++k) Editor.SizeRows[k] = TSizeRow{};
    Editor.SelectedSize = -1;
}

void TPokerRoomModel::StoreWindowType() {
    Working.Name = Editor.Name;
    Working.RoomType = std::clamp(Editor.Type, 0, BaseTypeCount - 1);
    Working.WindowClass = Editor.WindowClass;
    for (size_t k = 0; k < Working.Titles.size(); ++k) {
        t::TTitleSpec& title = Working.Titles[k];
        if (k < Editor.Titles.size() && !Editor.Titles[k].empty()) {
            if (k < titleSpecs_.size()) title = titleSpecs_[k];
            title.Text = Editor.Titles[k];
        } else {
            title = t::TTitleSpec{};
        }
    }
    for (size_t k = 0; k < Working.Sizes.size(); ++k) {
        t::TWindowSize& size = Working.Sizes[k];
        const TSizeRow* row = k < Editor.SizeRows.size() ? &Editor.SizeRows[k] : nullptr;
        if (row && row->Visible && !row->Name.empty()) {
            size.Name = row->Name;
            size.Width = ParseNumber(row->Width, 0);
            size.Height = ParseNumber(row->Height, 0);
        } else {
            size.Name = "";
            size.Width = size.Height = 0;
        }
    }
    if (Selected >= 0 && static_cast<size_t>(Selected) < RoomTicks.size())
        Working.Listed = RoomTicks[static_cast<size_t>(Selected)] ? 1 : 0;
}

TOutcome TPokerRoomModel::CheckCanAddTitle() const {
    if (static_cast<int32_t>(Editor.Titles.size()) >= MaxTitles) return {TooManyTitlesText, false};
    return {};
}

void TPokerRoomModel::AddTitle(const t::TTitleSpec& title) {
    if (!CheckCanAddTitle().Message.empty()) return;
    Editor.Titles.push_back(title.Text.Str());
    titleSpecs_.push_back(title);
    Editor.SelectedTitle = static_cast<int32_t>(Editor.Titles.size()) - 1;
}

void TPokerRoomModel::ReplaceTitle(const t::TTitleSpec& title) {
    const int32_t i = Editor.SelectedTitle;
    if (i < 0 || static_cast<size_t>(i) >= Editor.Titles.size()) return;
    Editor.Titles[static_cast<size_t>(i)] = title.Text.Str();
    titleSpecs_.resize(Editor.Titles.size());
    titleSpecs_[static_cast<size_t>(i)] = title;
}

void TPokerRoomModel::DeleteTitle() {
    const int32_t i = Editor.SelectedTitle;
    if (i < 0 || static_cast<size_t>(i) >= Editor.Titles.size()) return;
    Editor.Titles.erase(Editor.Titles.begin() + i);
    if (static_cast<size_t>(i) < titleSpecs_.size()) titleSpecs_.erase(titleSpecs_.begin() + i);
    Editor.SelectedTitle = i > 0 ? i - 1 : (Editor.Titles.empty() ? -1 : 0);
}

void TPokerRoomModel::SelectTitle(int32_t index) {
    if (index >= -1 && index < static_cast<int32_t>(Editor.Titles.size())) Editor.SelectedTitle = index;
}

const t::TTitleSpec* TPokerRoomModel::SelectedTitleSpec() const {
    const int32_t i = Editor.SelectedTitle;
    if (i < 0 || static_cast<size_t>(i) >= titleSpecs_.size()) return nullptr;
    return &titleSpecs_[static_cast<size_t>(i)];
}

int32_t TPokerRoomModel::VisibleSizeRows() const { return VisibleRows(Editor.SizeRows); }

TOutcome TPokerRoomModel::AddSize() {
    if (VisibleSizeRows() >= MaxSizes || Editor.SelectedSize == MaxSizes - 1) return {TooManySizesText, false};
    Editor.SelectedSize = InsertRow(Editor.SizeRows, Editor.SelectedSize);
    return {};
}

void TPokerRoomModel::DeleteSize() { Editor.SelectedSize = RemoveRow(Editor.SizeRows, Editor.SelectedSize); }

void TPokerRoomModel::SelectSize(int32_t row) {
    if (row >= 0 && row < VisibleSizeRows()) Editor.SelectedSize = row;
}

void TPokerRoomModel::CopySizeFromGrabber(std::string_view width, std::string_view height) {
    const int32_t i = Editor.SelectedSize;
    if (i < 0 || i >= VisibleSizeRows()) return;
    Editor.SizeRows[static_cast<size_t>(i)].Width = std::string(width);
    Editor.SizeRows[static_cast<size_t>(i)].Height = std::string(height);
}

// ---- Auto-Activate tab ----------------------------------------------------------------------------

void TPokerRoomModel::ShowActivate() {
    TActivateEditor& a = Editor.Activate;
    const t::TPokerRoom& r = Working;
    const auto set = [&](TActivateField f, int64_t v) { a.Text[f] = Num(v); };
    set(afSize1ClientX, r.ScaleRef.W);
    set(afSize1ClientY, r.ScaleRef.H);
    set(afSize2ClientX, r.ScaleRef.WMin);
    set(afSize2ClientY, r.ScaleRef.HMin);
    set(afSize1CoordX, r.FoldPoint.X);
    set(afSize1CoordY, r.FoldPoint.Y);
    set(afSize2CoordX, r.FoldPoint.XMin);
    set(afSize2CoordY, r.FoldPoint.YMin);
    set(afSize1Red, r.FoldColour.R);
    set(afSize1Green, r.FoldColour.G);
    set(afSize1Blue, r.FoldColour.B);
    set(afSize2Red, r.FoldColour2.R);
    set(afSize2Green, r.FoldColour2.G);
    set(afSize2Blue, r.FoldColour2.B);
    set(afSize1Diff, r.Tolerance);
    set(afSize2Diff, r.Tolerance2);
    set(afR11, r.TotalTimeBank);
    set(afR21, r.AlertSteps[0].Delay);
    set(afR31, r.AlertSteps[1].Delay);
    set(afR41, r.AlertSteps[2].Delay);
    a.Seat = r.FlashedSeatActivation != 0 && r.FoldButtonActivation == 0;
    a.Fold = !a.Seat;
    a.Proportional = r.Proportional != 0;
    a.Boxes[0] = {r.CommonBringToTop != 0, r.CommonFlash != 0, r.CommonSound != 0, r.FrameOn != 0};
    for (size_t s = 0; s < 4; ++s) {
        const t::TTurnAlertStep& step = r.AlertSteps[s];
        a.Boxes[s + 1] = {step.BringToTop != 0, step.Flash != 0, step.Sound != 0, step.Frame != 0};
    }
}

void TPokerRoomModel::StoreActivate() {
    const TActivateEditor& a = Editor.Activate;
    t::TPokerRoom& r = Working;
    const auto num = [&](TActivateField f, int32_t fallback = 0) { return ParseNumber(a.Text[f], fallback); };
    r.ScaleRef = {num(afSize1ClientX), num(afSize1ClientY), num(afSize2ClientX), num(afSize2ClientY)};
    r.FoldPoint = {num(afSize1CoordX), num(afSize1CoordY), num(afSize2CoordX), num(afSize2CoordY)};
    r.FoldColour = {Byte(a.Text[afSize1Red]), Byte(a.Text[afSize1Green]), Byte(a.Text[afSize1Blue])};
    r.FoldColour2 = {Byte(a.Text[afSize2Red]), Byte(a.Text[afSize2Green]), Byte(a.Text[afSize2Blue])};
    r.Tolerance = num(afSize1Diff, 5);
    r.Tolerance2 = num(afSize2Diff, 5);
    r.TotalTimeBank = num(afR11);
    r.AlertSteps[0].Delay = num(afR21);
    r.AlertSteps[1].Delay = num(afR31);
    r.AlertSteps[2].Delay = num(afR41);
    r.FoldButtonActivation = a.Fold ? 1 : 0;
    r.FlashedSeatActivation = a.Fold ? 0 : 1;
    r.Proportional = a.Proportional ? 1 : 0;
    r.CommonBringToTop = a.Boxes[0][0];
    r.CommonFlash = a.Boxes[0][1];
    r.CommonSound = a.Boxes[0][2];
    r.FrameOn = a.Boxes[0][3];
    for (size_t s = 0; s < 4; ++s) {
        t::TTurnAlertStep& step = r.AlertSteps[s];
        step.BringToTop = a.Boxes[s + 1][0];
        step.Flash = a.Boxes[s + 1][1];
        step.Sound = a.Boxes[s + 1][2];
        step.Frame = a.Boxes[s + 1][3];
    }
}

void TPokerRoomModel::CopyCaptureToSize(int32_t size, const TCaptureResult& c) {
    TActivateEditor& a = Editor.Activate;
    if (size == 1) {
        a.Text[afSize1ClientX] = c.ClientX, a.Text[afSize1ClientY] = c.ClientY;
        a.Text[afSize1CoordX] = c.X, a.Text[afSize1CoordY] = c.Y;
        a.Text[afSize1Red] = c.Red, a.Text[afSize1Green] = c.Green, a.Text[afSize1Blue] = c.Blue;
    } else {
        a.Text[afSize2ClientX] = c.ClientX, a.Text[afSize2ClientY] = c.ClientY;
        a.Text[afSize2CoordX] = c.X, a.Text[afSize2CoordY] = c.Y;
        a.Text[afSize2Red] = c.Red, a.Text[afSize2Green] = c.Green, a.Text[afSize2Blue] = c.Blue;
    }
}

// ---- hotkey macros ------------------------------------------------------------------------------------

t::TRoomHotKey* TPokerRoomModel::SelectedHotKey() {
    const int32_t i = Editor.HotKeys.Selected;
    if (i < 0 || i >= std::min(Working.HotKeyCount, MaxHotKeys)) return nullptr;
    return &Working.HotKeys[static_cast<size_t>(i)];
}

void TPokerRoomModel::ShowHotKeys(int32_t n) {
    THotKeyEditor& h = Editor.HotKeys;
    const int32_t count = std::clamp(Working.HotKeyCount, 0, MaxHotKeys);
    h.Items.clear();
    for (int32_t k = 0; k < count; ++k) h.Items.push_back(HotKeyName(Working.HotKeys[static_cast<size_t>(k)]));
    n = std::min(n, count);
    h.Selected = n - 1;
    ShowHotKeyEditor();
}

void TPokerRoomModel::ShowHotKeyEditor() {
    THotKeyEditor& h = Editor.HotKeys;
    for (TClickRow& row : h.Rows) row = TClickRow{};
    h.ActionItems.clear();
    t::TRoomHotKey* key = SelectedHotKey();
    if (!key) {
        h.Action.clear();
        h.Global = false;
        h.Modifier = h.Key = 0;
        h.SelectedClick = -1;
        h.Caption = MacrosCaption;
        return;
    }
    const int32_t shared = key->Binding.SharedNumber;
    if (shared >= 1 && shared <= 10) {
        h.Global = true;
        for (int32_t s = 1; s <= 10; ++s) {
            const std::string name = BindingName(options_.Bindings[static_cast<size_t>(9 + s)]);
            if (!name.empty()) h.ActionItems.push_back(name);
        }
        h.Action = BindingName(options_.Bindings[static_cast<size_t>(9 + shared)]);
        SetHotKeyName(*key, h.Action);
        h.Items[static_cast<size_t>(h.Selected)] = h.Action;
    } else {
        h.Global = false;
        h.Action = HotKeyName(*key);
        h.Modifier = key->Binding.Modifier;
        h.Key = key->Binding.Key;
    }
    const int32_t clicks = std::clamp(key->ClickCount, 0, MaxClicks);
    if (h.Rows.size() < static_cast<size_t>(clicks)) h.Rows.resize(static_cast<size_t>(clicks));
    for (int32_t c = 0; c < clicks; ++c) {
        const t::TMacroClick& click = key->Clicks[static_cast<size_t>(c)];
        TClickRow& row = h.Rows[static_cast<size_t>(c)];
        row.Text = {Num(click.X), Num(click.Y), Num(click.XMin), Num(click.YMin)};
        row.Enabled = click.Enabled != 0;
        row.Visible = true;
    }
    h.SelectedClick = clicks - 1;
    h.Caption = std::string(" Macros for HotKey  ") + Quoted(h.Action);
}

void TPokerRoomModel::StoreHotKeyEditor() {
    const THotKeyEditor& h = Editor.HotKeys;
    t::TRoomHotKey* key = SelectedHotKey();
    if (!key) return;
    if (h.Global) {
        key->Binding.SharedNumber = SharedBindingByName(h.Action);
    } else {
        key->Binding.SharedNumber = 0;
        key->Binding.Modifier = h.Modifier;
        key->Binding.Key = h.Key;
    }
    SetHotKeyName(*key, h.Action);
    const int32_t clicks = std::clamp(key->ClickCount, 0, MaxClicks);
    for (int32_t c = 0; c < clicks && static_cast<size_t>(c) < h.Rows.size(); ++c) {
        const TClickRow& row = h.Rows[static_cast<size_t>(c)];
        t::TMacroClick& click = key->Clicks[static_cast<size_t>(c)];
        click.X = ParseNumber(row.Text[0], 0);
        click.Y = ParseNumber(row.Text[1], 0);
        click.XMin = ParseNumber(row.Text[2], 0);
        click.YMin = ParseNumber(row.Text[3], 0);
        click.Enabled = row.Enabled ? 1 : 0;
    }
}

int32_t TPokerRoomModel::SharedBindingByName(std::string_view name) const {
    for (int32_t s = 1; s <= 10; ++s) {
        const std::string shared = BindingName(options_.Bindings[static_cast<size_t>(9 + s)]);
        if (!shared.empty() && shared == name) return s;
    }
    return 0;
}

void TPokerRoomModel::SelectHotKey(int32_t index) {
    if (index == Editor.HotKeys.Selected) return;
    StoreHotKeyEditor();
    ShowHotKeys(index + 1);
}

TOutcome TPokerRoomModel::CheckCanAddHotKey() const {
    if (Working.HotKeyCount >= MaxHotKeys) return {TooManyHotKeysText, false};
    return {};
}

std::string TPokerRoomModel::NewHotKeyName() const {
    return "HotKey" + Num(static_cast<int64_t>(Editor.HotKeys.Items.size()) + 1);
}

void TPokerRoomModel::AddHotKey(std::string_view name) {
    if (!CheckCanAddHotKey().Message.empty()) return;
    const int32_t count = std::max(Working.HotKeyCount, 0);
    t::TRoomHotKey& key = Working.HotKeys[static_cast<size_t>(count)];
    key = t::TRoomHotKey{};
    SetHotKeyName(key, name);
    Working.HotKeyCount = count + 1;
    ShowHotKeys(count + 1);
}

std::string TPokerRoomModel::DeleteHotKeyQuestion() const {
    const THotKeyEditor& h = Editor.HotKeys;
    if (h.Selected < 0 || static_cast<size_t>(h.Selected) >= h.Items.size()) return {};
    return "Are you sure you want to delete HotKey " + Quoted(h.Items[static_cast<size_t>(h.Selected)]) + "?";
}

TOutcome TPokerRoomModel::DeleteHotKey() {
    TOutcome out;
    const int32_t i = Editor.HotKeys.Selected;
    const int32_t count = std::clamp(Working.HotKeyCount, 0, MaxHotKeys);
    if (i < 0 || i >= count) return out;
    for (int32_t k = i; k + 1 < MaxHotKeys; ++k)
        Working.HotKeys[static_cast<size_t>(k)] = Working.HotKeys[static_cast<size_t>(k + 1)];
    Working.HotKeys[MaxHotKeys - 1] = t::TRoomHotKey{};
    Working.HotKeyCount = count - 1;
    out.WriteFile = true;
    ShowHotKeys(1);
    return out;
}

void TPokerRoomModel::SetGlobal(bool global) {
    THotKeyEditor& h = Editor.HotKeys;
    h.Global = global;
    h.ActionItems.clear();
    h.Action.clear();
    if (!global) return;
    for (int32_t s = 1; s <= 10; ++s) {
        const std::string name = BindingName(options_.Bindings[static_cast<size_t>(9 + s)]);
        if (!name.empty()) h.ActionItems.push_back(name);
    }
    if (!h.ActionItems.empty()) h.Action = h.ActionItems[0];
}

void TPokerRoomModel::ChangeAction(std::string_view text) {
    THotKeyEditor& h = Editor.HotKeys;
    h.Action = text;
    if (h.Selected >= 0 && static_cast<size_t>(h.Selected) < h.Items.size())
        h.Items[static_cast<size_t>(h.Selected)] = h.Action;
    h.Caption = std::string(" Macros for HotKey  ") + Quoted(h.Action);
}

int32_t TPokerRoomModel::VisibleClickRows() const { return VisibleRows(Editor.HotKeys.Rows); }

TOutcome TPokerRoomModel::AddClick() {
    t::TRoomHotKey* key = SelectedHotKey();
    if (!key) return {};
    if (key->ClickCount >= MaxClicks) return {TooManyClicksText, false};
    THotKeyEditor& h = Editor.HotKeys;
    h.SelectedClick = InsertRow(h.Rows, h.SelectedClick);
    key->ClickCount = VisibleClickRows();
    return {};
}

void TPokerRoomModel::DeleteClick() {
    t::TRoomHotKey* key = SelectedHotKey();
    THotKeyEditor& h = Editor.HotKeys;
    if (!key || h.SelectedClick < 0 || h.SelectedClick >= VisibleClickRows()) return;
    h.SelectedClick = RemoveRow(h.Rows, h.SelectedClick);
    key->ClickCount = VisibleClickRows();
}

void TPokerRoomModel::SelectClick(int32_t row) {
    if (row >= 0 && row < VisibleClickRows()) Editor.HotKeys.SelectedClick = row;
}

TOutcome TPokerRoomModel::RecordClick(int32_t size, const TCaptureResult& capture) {
    THotKeyEditor& h = Editor.HotKeys;
    if (h.SelectedClick < 0 || h.SelectedClick >= VisibleClickRows()) return {AddClickFirstText, false};
    const TActivateEditor& a = Editor.Activate;
    const bool second = size == 2;
    const int32_t refW = ParseNumber(a.Text[second ? afSize2ClientX : afSize1ClientX], 0);
    const int32_t refH = ParseNumber(a.Text[second ? afSize2ClientY : afSize1ClientY], 0);
    const t::TPoint p =
        ToReferenceSize({ParseNumber(capture.X, 0), ParseNumber(capture.Y, 0)}, ParseNumber(capture.ClientX, 0),
                        ParseNumber(capture.ClientY, 0), refW, refH);
    TClickRow& row = h.Rows[static_cast<size_t>(h.SelectedClick)];
    row.Text[second ? 2 : 0] = Num(p.X);
    row.Text[second ? 3 : 1] = Num(p.Y);
    return {};
}

// ---- event macros ---------------------------------------------------------------------------------------

void TPokerRoomModel::ShowEventMacros(int32_t index) {
    TEventEditor& e = Editor.Events;
    for (size_t k = 0; k < 4; ++k) e.Enabled[k] = Working.EventMacros[k].Enabled != 0;
    e.Selected = std::clamp(index, 0, 3);
    ShowEventFields();
}

void TPokerRoomModel::ShowEventFields() {
    TEventEditor& e = Editor.Events;
    const t::TEventMacro& m = Working.EventMacros[static_cast<size_t>(e.Selected)];
    e.TimeType = m.OnTurn != 0 || m.OnColour == 0;
    e.OnlyActive = m.OnlyActive != 0;
    e.SameClick = m.SameClick != 0;
    auto& x = e.Text;
    x[efTimeFrom] = Real(m.TurnDelayMin), x[efTimeTo] = Real(m.TurnDelayMax);
    x[efButtonFrom] = Real(m.ColourDelayMin), x[efButtonTo] = Real(m.ColourDelayMax);
    x[efSize1ClientX] = Num(m.ScaleRef.W), x[efSize1ClientY] = Num(m.ScaleRef.H);
    x[efSize2ClientX] = Num(m.ScaleRef.WMin), x[efSize2ClientY] = Num(m.ScaleRef.HMin);
    x[efSize1CoordX] = Num(m.Point.X), x[efSize1CoordY] = Num(m.Point.Y);
    x[efSize2CoordX] = Num(m.Point.XMin), x[efSize2CoordY] = Num(m.Point.YMin);
    x[efSize1Red] = Num(m.Colour.R), x[efSize1Green] = Num(m.Colour.G), x[efSize1Blue] = Num(m.Colour.B);
    x[efSize2Red] = Num(m.Colour2.R), x[efSize2Green] = Num(m.Colour2.G), x[efSize2Blue] = Num(m.Colour2.B);
    x[efSize1Diff] = Num(m.Tolerance), x[efSize2Diff] = Num(m.Tolerance2);
    x[efClick0] = Num(m.Click.X), x[efClick1] = Num(m.Click.Y);
    x[efClick2] = Num(m.Click.XMin), x[efClick3] = Num(m.Click.YMin);
}

void TPokerRoomModel::StoreEventMacro() {
    const TEventEditor& e = Editor.Events;
    t::TEventMacro& m = Working.EventMacros[static_cast<size_t>(std::clamp(e.Selected, 0, 3))];
    const auto& x = e.Text;
    const auto num = [&](TEventField f, int32_t fallback = 0) { return ParseNumber(x[f], fallback); };
    m.Enabled = e.Enabled[static_cast<size_t>(std::clamp(e.Selected, 0, 3))] ? 1 : 0;
    m.OnTurn = e.TimeType ? 1 : 0;
    m.OnColour = e.TimeType ? 0 : 1;
    m.SameClick = e.SameClick ? 1 : 0;
    m.OnlyActive = e.OnlyActive ? 1 : 0;
    m.TurnDelayMin = ParseReal(x[efTimeFrom]);
    m.TurnDelayMax = ParseReal(x[efTimeTo]);
    m.ColourDelayMin = ParseReal(x[efButtonFrom]);
    m.ColourDelayMax = ParseReal(x[efButtonTo]);
    m.ScaleRef = {num(efSize1ClientX), num(efSize1ClientY), num(efSize2ClientX), num(efSize2ClientY)};
    m.Point = {num(efSize1CoordX), num(efSize1CoordY), num(efSize2CoordX), num(efSize2CoordY)};
    m.Colour = {Byte(x[efSize1Red]), Byte(x[efSize1Green]), Byte(x[efSize1Blue])};
    m.Colour2 = {Byte(x[efSize2Red]), Byte(x[efSize2Green]), Byte(x[efSize2Blue])};
    m.Tolerance = num(efSize1Diff, 10);
    m.Tolerance2 = num(efSize2Diff, 10);
    m.Click.X = num(efClick0), m.Click.Y = num(efClick1);
    m.Click.XMin = num(efClick2), m.Click.YMin = num(efClick3);
}

void TPokerRoomModel::SelectEventMacro(int32_t index) {
    if (index < 0 || index > 3 || index == Editor.Events.Selected) return;
    StoreEventMacro();
    Editor.Events.Selected = index;
    ShowEventFields();
}

void TPokerRoomModel::TickEventMacro(int32_t index, bool ticked) {
    if (index < 0 || index > 3) return;
    Editor.Events.Enabled[static_cast<size_t>(index)] = ticked;
    Working.EventMacros[static_cast<size_t>(index)].Enabled = ticked ? 1 : 0;
}

void TPokerRoomModel::CopyCaptureToEventSize(int32_t size, const TCaptureResult& c) {
    TEventEditor& e = Editor.Events;
    auto& x = e.Text;
    const bool second = size == 2;
    x[second ? efSize2ClientX : efSize1ClientX] = c.ClientX;
    x[second ? efSize2ClientY : efSize1ClientY] = c.ClientY;
    const bool clickToo = e.TimeType || e.SameClick;
    if (!e.TimeType) {
        x[second ? efSize2CoordX : efSize1CoordX] = c.X;
        x[second ? efSize2CoordY : efSize1CoordY] = c.Y;
        x[second ? efSize2Red : efSize1Red] = c.Red;
        x[second ? efSize2Green : efSize1Green] = c.Green;
        x[second ? efSize2Blue : efSize1Blue] = c.Blue;
    }
    if (clickToo) {
        x[second ? efClick2 : efClick0] = c.X;
        x[second ? efClick3 : efClick1] = c.Y;
    }
}

}  // namespace kova::mainwindow::pokerroom
