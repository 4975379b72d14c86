// The main form TKOVAForm1: the engine's start-up and shutdown, start,
// refresh and stop of a config, the scan timer, the settings controls that
// "startup.ini" and "user.ini" fill, and the notification-area icon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "mainwindow/app/hookloader.h"
#include "mainwindow/editors/autoplace/autoplacepage.h"
#include "mainwindow/editors/pokerroom/pokerroompage.h"
#include "mainwindow/mainform/autoreg.h"
#include "mainwindow/settings/commonsettings.h"
#include "skin/controls/hintmanager.h"
#include "skin/core/skinmanager.h"
#include "skin/forms/provider.h"
#include "tables/files/userini.h"
#include "tables/model/variables.h"

namespace kova::mainwindow {

inline constexpr char MainFormCaption[] = "KOVA  v3.26c";
inline constexpr char ApplicationTitle[] = "KOVA v3.26c";
// The version the About window shows; the captions above carry it too.
inline constexpr char ProgramVersion[] = "3.26c";
static_assert(std::string_view(MainFormCaption).ends_with(ProgramVersion) &&
              std::string_view(ApplicationTitle).ends_with(ProgramVersion));
inline constexpr char NoConfigFoundMessage[] = "Any config was not found. Go to AutoPlace page and Create New Config.";
inline constexpr char CreateConfigFirstMessage[] = "Please Create New Config first!";
inline constexpr UINT TrayIconMessage = WM_USER + 1;
inline constexpr char TrayTip[] = "Kovadesk";

class TKOVAForm1 : public TForm {
    KOVA_CLASS(TKOVAForm1, TForm)
public:
    explicit TKOVAForm1(TComponent* owner);
    ~TKOVAForm1() override;

    // The folder of the data files: beside the executable, unless a test
    // sets another before the form is created.
    static std::filesystem::path DataFolderOverride;
    // Set before the form is created, it starts with its skin manager off:
    // no skin is loaded, and the form and its controls keep the system's
    // look until the manager is switched on (the program's "/noskin"
    // switch, which the start-up benchmark times beside a skinned start).
    static bool SkinOffAtStart;
    std::filesystem::path DataFolder() const { return dataFolder_; }

    // ---- controls --------------------------------------------------------------
    TPageControl* PageControl1 = nullptr;
    TListBox* ConfigListBox = nullptr;
    TCheckListBox* PokerRoomListBox = nullptr;
    TListBox* GroupListBox = nullptr;
    TLabel* CurrentNameL = nullptr;
    TLabel* ConfigStatusL = nullptr;
    TButton* StartConfigBtn = nullptr;    // component "StartConfig"
    TButton* RefreshConfigBtn = nullptr;  // component "RefreshConfig"
    TButton* StopConfigBtn = nullptr;
    TMemo* LogMemo = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* TimerPS = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* Show1 = nullptr;
    TMenuItem* Close1 = nullptr;
    TComboBox* MonitorCombo = nullptr;
    // The program's skin manager: the default one, holding our internal skins.
    skin::TsSkinManager* sSkinManager1 = nullptr;
    // The main form's own skinning: frame, caption, title buttons, system
    // menu with the skins to choose from, and its controls' adapters.
    skin::TsSkinProvider* sSkinProvider1 = nullptr;
    // The program's hints: comic bubbles with a shadow, or the skin's own.
    skin::TsHintManager* sHintManager1 = nullptr;

    TEdit* ScanningPeriodEdit = nullptr;
    TEdit* ThicknessEdit = nullptr;
    TEdit* MouseActDelayEdit = nullptr;
    TEdit* DirectoryOngameHH = nullptr;
    TEdit* DirectoryPokerStarsHH = nullptr;
    TEdit* CurTourEdit = nullptr;
    TEdit* TotalTourEdit = nullptr;
    TEdit* MaxTourEdit = nullptr;
    TEdit* CloseTimeTourEdit = nullptr;
    TEdit* MaxWaitListEdit = nullptr;
    TEdit* CloseTimeCashEdit = nullptr;
    TEdit *CurTourEditFTP = nullptr, *TotalTourEditFTP = nullptr, *MaxTourEditFTP = nullptr, *MaxRegEditFTP = nullptr;
    TRadioGroup* RGPokerStarsN = nullptr;
    TRadioGroup* RGSNG = nullptr;

    TCheckBox *CommonTimeBankCB = nullptr, *CommonImBackCB = nullptr, *CommonInfoTabCB = nullptr,
              *CommonBetpotCB = nullptr, *JumpMouseCB = nullptr, *LBTNMouseActCB = nullptr, *AutoRunCB = nullptr,
              *MinimizeCB = nullptr, *AutoCloseCB = nullptr, *WithoutBuyInCB = nullptr, *SendToBottomCB = nullptr,
              *AutoCloseTourCB = nullptr, *ClickSNGtabCB = nullptr, *TimeBankTCB = nullptr, *ImBackTCB = nullptr,
              *InfoTabTCB = nullptr, *TimeBankCashCB = nullptr, *ImBackCashCB = nullptr, *InfoTabCashCB = nullptr,
              *YesWaitListCB = nullptr, *MaxWaitListCB = nullptr, *NoWaitListCB = nullptr, *OnlyPlayedCB = nullptr,
              *AutoCloseCashCB = nullptr, *TimerEnabledCB = nullptr, *CheckBoxHUD = nullptr, *CheckBoxSound = nullptr, *CheckBoxFrame = nullptr;
    TRadioButton* RadioBtnUnderMouse = nullptr;
    TRadioButton* RadioBtnActiveTable = nullptr;

    // ---- lifecycle ----------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();

    // ---- config start, refresh and stop ------------------------------------------
    void StartConfig();
    void RefreshConfig();
    void StopConfig();
    // True when the working copy is unusable (the message was shown); false
    // when it was copied into the running config.
    bool ValidateConfig();
    // The group editor's texts into the working copy.
    void StoreGroupEditor();
    // The AutoPlace page: the config, group and slot editors.
    TAutoPlacePage& AutoPlace() { return *autoPlace_; }
    // The poker-room page and the auto-registration switches.
    TPokerRoomPage& Rooms() { return *rooms_; }
    TAutoRegControls& AutoReg() { return *autoReg_; }
    void SavePokerRooms();
    // The hotkey rows, the settings the engine reads and WM_HOTKEY.
    TCommonSettingsPage& Settings() { return *settings_; }
    // Writes "PlaceConfig.cnfg" and the settings files, as the editors save.
    void SaveConfigs();
    // The window details grabber for the AutoPlace editors (0) or the room
    // editor (1); made when needed.
    void OpenGrabber(int target);
    void Timer1Timer();
    // The main page control turned to another page: the AutoPlace page
    // shows the group editor again with the rooms as the room page left
    // them; the room page hides its editing tabs.
    void PageControl1Change();
    void ScanningPeriodEditChange();
    void DirOngameHHClick();
    void DirPokerStarsHHClick();
    // "Timer Enabled": the PokerStars level clock.
    void TimerEnabledCBClick();

    // ---- hook-library input (mainwindow/hotkeys/hookinput.cpp) -------------------
    // WM_USER+0x64 and WM_USER+0x65 from the hook library.
    void HookKeyboardMessage(TMessage& m);
    void HookMouseMessage(TMessage& m);
    // Matches the current hook input against the bindings of its table.
    void MatchInputToHotKeys();
    // The next (previous) table after `index` comes forward: the next one
    // under the cursor, or simply the next with "Send to active table".
    void MouseWheelUP(int32_t index);
    void MouseWheelDown(int32_t index);

    // ---- notification area ----------------------------------------------------------
    // action 1 add, 2 delete, 3 modify; the Shell_NotifyIconA result (other
    // actions: FALSE).
    BOOL TrayIcon(int action, HICON icon);
    void WMSysCommand(TMessage& m);
    void TrayIconCallback(TMessage& m);
    void Show1Click();
    void Close1Click();
    bool TrayIconShown() const { return trayIconShown_; }
    bool FirstActivationDone() const { return !firstActivate_; }

    // ---- state ----------------------------------------------------------------------
    tables::TPlaceConfig EditedConfig;  // the working copy shown in the editors
    int32_t SelectedConfig = -1;
    tables::TUserIniState UserIniState = tables::TUserIniState::NotFound;
    bool HookRunning() const { return hookRunning_; }
    // Hotkeys 3..6, 9, 10 and the hook's bindings act only while enabled.
    bool HotKeysEnabled() const { return hotkeysEnabled_; }
    void SetHotKeysEnabled(bool enabled) { hotkeysEnabled_ = enabled; }
    THookLibrary& Hook() { return hook_; }

    // The settings controls as "startup.ini" keys, and back.
    tables::TStartupSettings ReadStartupControls();
    void ApplyStartupSettings(const tables::TStartupSettings& s);
    // Hands the options the scan reads over to the engine; every scan tick
    // does, so that an edit on a page counts from the next tick on.
    void ApplyEngineOptions();

    // Each data file written on close, in order (tests follow the order).
    static std::function<void(const std::string& fileName)> OnCloseSaveStep;

    void Log(const std::string& line);

protected:
    // Hands the program's internal skins to the skin manager before it
    // loads the skin its description names (none with SkinOffAtStart).
    void Loaded() override;

private:
    void ShowState(const std::string& status, TColor colour);
    bool PrepareStartOrRefresh();
    void StartHookIfNeeded();
    void StopHookIfRunning();
    void FillLists();
    void StopSounds();
    std::string RunningName() const;

    std::filesystem::path dataFolder_;
    std::unique_ptr<TAutoPlacePage> autoPlace_;
    std::unique_ptr<TPokerRoomPage> rooms_;
    std::unique_ptr<TAutoRegControls> autoReg_;
    std::unique_ptr<TCommonSettingsPage> settings_;
    THookLibrary hook_;
    bool hookRunning_ = false;
    bool firstShow_ = true;
    bool firstActivate_ = true;
    bool trayIconShown_ = false;
    bool hotkeysEnabled_ = true;
    double firstShowTime_ = 0;
};

// Frees every table and lobby adapter (and the queued actions naming them).
void DeleteAllTour();

// The main form and the tool forms, kept as the program's globals.
extern TKOVAForm1* KOVAForm1;

// Connects the engine's seams (user messages, log lines, synthetic input)
// to the main form; called by the form's creation. Null (the form's end)
// puts every engine service back to its default.
void ConnectEngineSeams(TKOVAForm1* form);

}  // namespace kova::mainwindow
