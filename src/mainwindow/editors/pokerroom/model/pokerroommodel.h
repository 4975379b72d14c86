// The poker-room page's editors without windows: the room list, the
// working copy of the selected room, the Window Type tab (name, base type,
// class, titles, size rows), the Auto-Activate tab, the hotkey macros with
// their click rows and the event macros; the arithmetic of the window
// capture tool; the checks of an imported room file.
//
// As on the AutoPlace page, the view copies what the user typed into the
// editor states before an action and shows them after it; questions and
// messages are returned, never shown. The room list changes when the user
// switches rooms, saves, creates, deletes or reorders; actions after which
// the room file is to be written say so with WriteFile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tables/model/variables.h"

namespace kova::mainwindow::pokerroom {

inline constexpr char TooManyTitlesText[] = "You can not create more then 10 Window Titles";
inline constexpr char TooManySizesText[] = "You can not create more than 10 Window Sizes";
inline constexpr char TooManyClicksText[] = "You can not create more than 8 Click";
inline constexpr char TooManyHotKeysText[] = "You can not create more than 20 HotKeys";
inline constexpr char AddClickFirstText[] = "Please \"Add Click\" first to create some click!";
inline constexpr char MacrosCaption[] = " Macros for HotKey ";

inline constexpr int32_t MaxTitles = 10;
inline constexpr int32_t MaxSizes = 10;
inline constexpr int32_t MaxHotKeys = 20;
inline constexpr int32_t MaxClicks = 8;

// The base types of the type combo; the index is the room type.
inline constexpr const char* BaseTypeNames[] = {"Custom",     "PokerStars", "Ongame_Universal", "OngameCustom",
                                                "IPoker_SNG", "PartyPoker", "Rush_Poker"};
inline constexpr int32_t BaseTypeCount = 7;

inline constexpr const char* EventMacroNames[] = {"Auto Time Bank", "Auto \"I'm Back\"", "Auto Info Tab",
                                                  "Betpot (Auto click Key1)"};

// 0 " and ", 1 " or ", 2 " and not "; -1 for any other text.
int32_t OperatorIndex(std::string_view text);

// A title made in the title dialog: three phrases and the two operators as
// shown (with their blanks); the text joins the phrases that are not empty
// (cut to 100 characters).
tables::TTitleSpec BuildTitle(std::string_view phrase1, std::string_view operator1, std::string_view phrase2,
                              std::string_view operator2, std::string_view phrase3);

// The name of a room hotkey, kept in the editors' bytes of its binding.
std::string HotKeyName(const tables::TRoomHotKey& key);
void SetHotKeyName(tables::TRoomHotKey& key, std::string_view name);

// ---- the window capture tool's arithmetic -------------------------------------------

// Where the client area lies in a picture of the whole window: the borders
// left and right are equal, the rest of the height is above the client.
struct TCaptureOffsets {
    int32_t X = 0, Y = 0;
    bool operator==(const TCaptureOffsets&) const = default;
};
TCaptureOffsets CaptureOffsets(int32_t windowWidth, int32_t windowHeight, int32_t clientWidth, int32_t clientHeight);

// A point of a client area of clientW x clientH at the room's reference
// client size refW x refH (the size the room's points are given for);
// unchanged when either size is unknown (0) or the two are equal.
tables::TPoint ToReferenceSize(tables::TPoint p, int32_t clientW, int32_t clientH, int32_t refW, int32_t refH);

// What the capture tool hands to the editors: its client size, the chosen
// point in client coordinates and its colour, as texts.
struct TCaptureResult {
    std::string ClientX, ClientY, X, Y, Red, Green, Blue;
};

// ---- import -----------------------------------------------------------------------------

struct TRoomImport {
    std::vector<tables::TPokerRoom> Rooms;
    std::string Message;  // empty when the rooms can be offered
};
// Reads an exported room file: every record must carry the room marker
// (files of the older layout are converted); an empty, partial or foreign
// file gives no rooms and a message that names the file.
TRoomImport CheckRoomImport(std::span<const uint8_t> bytes, const std::string& fileName);

// ---- editor states ------------------------------------------------------------------------

// A size row of " Edit Window Sizes ": counts while visible.
struct TSizeRow {
    std::string Name, Width, Height;
    bool Visible = false;
};

// The numbers of the Auto-Activate tab, as typed.
enum TActivateField : int {
    afSize1ClientX, afSize1ClientY, afSize2ClientX, afSize2ClientY,
    afSize1CoordX, afSize1CoordY, afSize2CoordX, afSize2CoordY,
    afSize1Red, afSize1Green, afSize1Blue, afSize2Red, afSize2Green, afSize2Blue,
    afSize1Diff, afSize2Diff,
    afR11, afR21, afR31, afR41,
    ActivateFieldCount
};
// The reaction boxes: row 0 " Common " (CB12..CB15), rows 1-3 the phases
// (CB22.., CB32.., CB42..), row 4 the final phase (CB52..); columns Bring to
// top, Flash, Sound, Frame.
struct TActivateEditor {
    std::array<std::string, ActivateFieldCount> Text{};
    bool Fold = true, Seat = false, Proportional = false;
    std::array<std::array<bool, 4>, 5> Boxes{};
};

// A click row of a hotkey's macro: size-1 x, y, size-2 x, y.
struct TClickRow {
    std::array<std::string, 4> Text{};
    bool Enabled = true;
    bool Visible = false;
};

struct THotKeyEditor {
    std::vector<std::string> Items;   // the hotkeys' names
    int32_t Selected = -1;
    std::string Action;               // the action combo's text
    std::vector<std::string> ActionItems;
    bool Global = false;              // "Use Global HotKey"
    int32_t Modifier = 0, Key = 0;    // the local combos' key codes
    std::vector<TClickRow> Rows;      // built rows, reused
    int32_t SelectedClick = -1;
    std::string Caption = MacrosCaption;
};

enum TEventField : int {
    efTimeFrom, efTimeTo, efButtonFrom, efButtonTo,
    efSize1ClientX, efSize1ClientY, efSize2ClientX, efSize2ClientY,
    efSize1CoordX, efSize1CoordY, efSize2CoordX, efSize2CoordY,
    efSize1Red, efSize1Green, efSize1Blue, efSize2Red, efSize2Green, efSize2Blue,
    efSize1Diff, efSize2Diff,
    efClick0, efClick1, efClick2, efClick3,
    EventFieldCount
};
struct TEventEditor {
    std::array<bool, 4> Enabled{};
    int32_t Selected = 0;
    std::array<std::string, EventFieldCount> Text{};
    bool TimeType = true;   // else ButtonType
    bool OnlyActive = false, SameClick = false;
};

struct TRoomEditor {
    std::string Name;
    int32_t Type = 0;
    std::string WindowClass;
    std::vector<std::string> Titles;  // texts of the title list
    int32_t SelectedTitle = -1;
    std::vector<TSizeRow> SizeRows;   // built rows, reused
    int32_t SelectedSize = -1;
    TActivateEditor Activate;
    THotKeyEditor HotKeys;
    TEventEditor Events;
};

struct TOutcome {
    std::string Message;
    bool WriteFile = false;
};

class TPokerRoomModel {
public:
    // The model edits `rooms` (the program's list) and reads `options` (the
    // shared bindings of room hotkeys).
    TPokerRoomModel(std::vector<tables::TPokerRoom>& rooms, const tables::TUserOptions& options);

    // ---- what the page shows -------------------------------------------------
    std::vector<std::string> RoomItems;
    std::vector<bool> RoomTicks;
    int32_t Selected = -1;              // past the last room: a new, unsaved one
    tables::TPokerRoom Working;         // the working copy of the selected room
    TRoomEditor Editor;
    // Tabs 1-4 of the editor: shown for a room made here or after the user
    // confirmed to edit a predefined one, hidden when the page is entered.
    bool EditorTabsVisible = false;

    // ---- rooms -----------------------------------------------------------------
    void ShowRooms(int32_t index);
    void ShowRoomEditor();
    void StoreRoomEditor();
    bool HasUnsavedRoom() const;
    // "Do you want to save custom PokerRoom "name"?" for a new room, empty
    // otherwise; AnswerSaveNewRoom(yes) then saves it (WriteFile). For a
    // saved room AnswerSaveNewRoom stores the editor into it silently.
    std::string SaveNewRoomQuestion() const;
    TOutcome AnswerSaveNewRoom(bool yes);
    void SelectRoom(int32_t index);
    void TickRoom(int32_t index, bool ticked);
    std::string NewRoomName() const;  // "CustomPokerRoom" + (rooms + 1)
    // A new room cloned from room `cloneIndex` (-1: an empty room).
    void CreateRoom(std::string_view name, int32_t cloneIndex);
    std::string DeleteRoomQuestion() const;
    TOutcome DeleteRoom();
    TOutcome SaveRoom();
    bool MoveUp();    // after AnswerSaveNewRoom
    bool MoveDown();
    std::string EditRoomQuestion() const;
    void RenameSelected(std::string_view name);  // the list item follows the name edit

    // ---- Window Type tab ----------------------------------------------------------
    TOutcome CheckCanAddTitle() const;
    void AddTitle(const tables::TTitleSpec& title);
    void ReplaceTitle(const tables::TTitleSpec& title);  // the selected one
    void DeleteTitle();
    void SelectTitle(int32_t index);
    // The selected title with its operands, for the title dialog (null
    // without a selection).
    const tables::TTitleSpec* SelectedTitleSpec() const;
    TOutcome AddSize();
    void DeleteSize();
    void SelectSize(int32_t row);
    int32_t VisibleSizeRows() const;
    void CopySizeFromGrabber(std::string_view width, std::string_view height);

    // ---- Auto-Activate tab ----------------------------------------------------------
    // The capture tool's client size, point and colour into size 1 or 2.
    void CopyCaptureToSize(int32_t size, const TCaptureResult& capture);

    // ---- hotkey macros -------------------------------------------------------------------
    void ShowHotKeys(int32_t n);
    void ShowHotKeyEditor();
    void StoreHotKeyEditor();
    int32_t SharedBindingByName(std::string_view name) const;
    void SelectHotKey(int32_t index);
    // Refused with a message once the room holds 20 hotkeys.
    TOutcome CheckCanAddHotKey() const;
    std::string NewHotKeyName() const;
    void AddHotKey(std::string_view name);
    std::string DeleteHotKeyQuestion() const;
    TOutcome DeleteHotKey();
    void SetGlobal(bool global);
    void ChangeAction(std::string_view text);
    TOutcome AddClick();
    void DeleteClick();
    void SelectClick(int32_t row);
    int32_t VisibleClickRows() const;
    // The capture tool's point into the selected click row, for window size
    // 1 or 2, at the room's reference client size for that size.
    TOutcome RecordClick(int32_t size, const TCaptureResult& capture);

    // ---- event macros ---------------------------------------------------------------------
    void ShowEventMacros(int32_t index);
    void StoreEventMacro();
    void SelectEventMacro(int32_t index);
    void TickEventMacro(int32_t index, bool ticked);
    void CopyCaptureToEventSize(int32_t size, const TCaptureResult& capture);

private:
    void ShowWindowType();
    void StoreWindowType();
    void ShowActivate();
    void StoreActivate();
    void ShowEventFields();
    tables::TRoomHotKey* SelectedHotKey();

    std::vector<tables::TPokerRoom>& rooms_;
    const tables::TUserOptions& options_;
    std::vector<tables::TTitleSpec> titleSpecs_;  // beside Editor.Titles: their operands
};

}  // namespace kova::mainwindow::pokerroom
