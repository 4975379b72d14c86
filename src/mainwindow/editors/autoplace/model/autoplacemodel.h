// The AutoPlace page's editors without windows: the list of configs, the
// working copy of the selected config, its groups, the group editor's
// texts and the slot rows, and the Tile and Cascade generators.
//
// The page is a view over this: it copies the texts the user typed into
// Editor before an action and shows Editor, the lists and the captions
// after it. Questions and messages are returned, never shown: the view
// asks them and hands the answer back. The configs change only when the
// user saves; every action that changed them returns WriteFile so that the
// view writes the placement-config file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/editors/autoplace/model/tilelayout.h"
#include "tables/model/variables.h"

namespace kova::mainwindow::autoplace {

inline constexpr char CreateConfigFirstText[] = "Please Create New Config first!";
inline constexpr char AddGroupFirstText[] = "Please Add New Group first!";
inline constexpr char CreateSlotFirstText[] = "Please create any slot first!";
inline constexpr char NoGroupCaption[] = "Create New Group First!: ";

// Slot rows the generators and the Add button make at most: a typed 1000 x
// 1000 tile would otherwise build a million edits.
inline constexpr int32_t MaxSlotRows = 200;

// The number typed in an edit: optional blanks before it, an optional sign,
// decimal digits, nothing after; anything else, or a number outside int32,
// gives `fallback`.
int32_t ParseNumber(std::string_view text, int32_t fallback);

// Text between double-quote characters, as confirmations and captions name
// their items.
std::string Quoted(std::string_view name);

// A combo box: its items, the chosen item (-1 none) and its text.
struct TComboState {
    std::vector<std::string> Items;
    int32_t ItemIndex = -1;
    std::string Text;

    void Clear() { *this = {}; }
    void Select(int32_t i);  // item i, or no item with an empty text when i is out
                             // of range
    // A text of the user's: the item that reads the same is the chosen one,
    // else no item is (the view shows a chosen item before the text).
    void SetText(std::string_view text);
};

// The eight edits of a slot row: Left, Top, Width, Height, ActLeft, ActTop,
// ActWidth, ActHeight. A row is part of the group while it is visible; a
// hidden row's texts are empty.
enum TSlotField : int { sfLeft, sfTop, sfWidth, sfHeight, sfActLeft, sfActTop, sfActWidth, sfActHeight };
struct TSlotRow {
    std::array<std::string, 8> Text;
    bool Visible = false;
};

// The group options in the editor's order.
enum TGroupOption : int {
    goAutoPlace,
    goAutoSort,
    goAutoShift,
    goAutoSize,
    goAutoActivate,
    goSharedSlot,
    goMouseActivate,
    goTOIStyle,
    goActivateSize,
    goAllowChange,  // kept in the config's first group only
    GroupOptionCount
};

// Everything the group editor shows.
struct TGroupEditor {
    TComboState Room;
    TComboState Title;
    TComboState Class;
    TComboState Size1;  // normal size (items shared with Size2)
    TComboState Size2;  // activate size
    std::string X1, Y1, X2, Y2;
    std::array<bool, GroupOptionCount> Options{};
    // Built rows, kept and reused; the visible ones are the group's slots.
    std::vector<TSlotRow> Rows;
    bool Enabled = false;
};

// The fields of the Tile and Cascade generators as typed.
struct TTileFields {
    std::string TablesX = "3", TablesY = "3";
    std::string Tables = "10", OffsetX = "40", OffsetY = "40";
    int32_t Monitor = 0;  // index of the chosen monitor
};

// The name dialog as a caller prepares it; the answer is the typed name and
// the chosen clone source (-1 none).
struct TNameDialogSetup {
    std::string Caption, NameLabel, CloneLabel, Name;
    std::vector<std::string> CloneItems;
};

// What an action asks of the view besides showing the model.
struct TOutcome {
    std::string Message;     // to be shown, empty for none
    bool WriteFile = false;  // the configs changed: write "PlaceConfig.cnfg"
    bool Cancelled = false;  // the user cancelled: the action that asked stops
};

enum class TSaveAnswer { Yes, No, Cancel };

class TAutoPlaceModel {
public:
    // The model edits `configs` (the program's list) and reads `rooms`; the
    // working copy and the selected config's index live with the caller
    // (the main form starts and stops what they hold).
    TAutoPlaceModel(std::vector<tables::TPlaceConfig>& configs, const std::vector<tables::TPokerRoom>& rooms,
                    tables::TPlaceConfig& working, int32_t& selectedConfig);

    // ---- what the page shows ------------------------------------------------
    std::vector<std::string> ConfigItems;  // the saved configs, plus an unsaved new one
    int32_t& SelectedConfig;               // past the last saved config: a new, unsaved one
    std::string ConfigCaption = "Config: ";
    std::vector<std::string> GroupItems;
    int32_t SelectedGroup = -1;
    std::string GroupCaption = NoGroupCaption;
    int32_t SelectedSlot = -1;
    TGroupEditor Editor;
    TTileFields Tile;
    TMonitorList Monitors;  // the desktop's monitors, set by the view

    tables::TPlaceConfig& Working;  // the working copy of the selected config

    // ---- configs -------------------------------------------------------------
    void ShowConfig(int32_t index);
    bool HasUnsavedConfig() const;
    // "Do you want to save config "name"?" while the selected config is a
    // new, unsaved one; empty otherwise (then nothing is to be asked).
    std::string SaveNewConfigQuestion() const;
    // The answer to that question: Yes saves the new config, then (Yes or
    // No) the first config is shown; Cancel keeps everything as it is and
    // the action that asked stops. Does nothing while the selected config
    // is saved.
    TOutcome AnswerSaveNewConfig(TSaveAnswer answer);

    TNameDialogSetup CreateConfigDialog() const;
    void CreateConfig(std::string_view name, int32_t cloneIndex);
    // Selecting another list item; the view asks SaveNewConfigQuestion first
    // and hands its answer to AnswerSaveNewConfig.
    void SelectConfig(int32_t index);

    std::string DeleteConfigQuestion() const;  // empty without a selected item
    TOutcome DeleteConfig();                   // after Yes
    TOutcome SaveConfig();

    // ---- groups --------------------------------------------------------------
    void ShowGroups(int32_t index);
    // The dialog for a new group, or the message when there is no config.
    TOutcome CheckCanAddGroup() const;
    TNameDialogSetup CreateGroupDialog() const;
    // A new group named `name`: a copy of group `cloneIndex` (its options,
    // sizes and slots), or with -1 an empty group on the first room's
    // defaults.
    void AddGroup(std::string_view name, int32_t cloneIndex);
    std::string DeleteGroupQuestion() const;  // empty without a selected group
    void DeleteGroup();                       // after Yes
    void SelectGroup(int32_t index);
    // A new room chosen in the room combo (by its item index).
    void ChangeRoom(int32_t itemIndex);
    void ChangeSize1(int32_t itemIndex);
    void ChangeSize2(int32_t itemIndex);

    int32_t RoomIndexByName(std::string_view name) const;
    void ApplyRoomToGroupEditor(int32_t room);
    void ShowGroupEditor();
    void StoreGroupEditor();

    // ---- slot rows
    // -------------------------------------------------------------
    void AddSlotRow(int32_t n);
    void SelectSlot(int32_t n);
    TOutcome AddSlot();
    TOutcome DeleteSlot();
    TOutcome CalcActivateSelectedSlot();
    void CalcActivateSlot(int32_t n);
    TOutcome TileSlots();
    TOutcome CascadeSlots();
    int32_t VisibleRowCount() const;

    // ---- a window picked with the grabber -------------------------------------------
    // A new row after the selected one with the window's rectangle and its
    // activate rectangle.
    TOutcome CreateNormalSizeSlot(int32_t left, int32_t top, int32_t width, int32_t height);
    // The window's rectangle as the selected row's activate rectangle.
    TOutcome CreateActivateSizeSlot(int32_t left, int32_t top, int32_t width, int32_t height);
    void CopySizeToNormal(int32_t width, int32_t height);
    void CopySizeToActivate(int32_t width, int32_t height);

private:
    tables::TGroupRec* CurrentGroup();
    void FillSize(const TComboState& combo, std::string& x, std::string& y) const;
    const tables::TPokerRoom* RoomOfCombo() const;
    void SetRowRect(int32_t s, int64_t left, int64_t top, int32_t w, int32_t h);

    std::vector<tables::TPlaceConfig>& configs_;
    const std::vector<tables::TPokerRoom>& rooms_;
};

// A deep copy of a config: name, TOI block, every group with its own slots.
void CopyConfig(const tables::TPlaceConfig& source, tables::TPlaceConfig& destination);

}  // namespace kova::mainwindow::autoplace
