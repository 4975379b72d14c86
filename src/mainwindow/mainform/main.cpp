#include "mainwindow/mainform/main.h"

#include "tables/overlays/hudtable.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "framework/dialogs.h"
#include "mainwindow/app/starttrace.h"
#include "mainwindow/dialogs/smalldialogs.h"
#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/pokerroom/roompagelinks.h"
#include "mainwindow/hotkeys/hookinput.h"
#include "mainwindow/hotkeys/hotkeys.h"
#include "mainwindow/mainform/calculatorlink.h"
#include "pushfold/forms/calcform.h"
#include "skin/controls/spanel.h"
#include "skin/core/model/internalskins.h"
#include "tables/engine/autoplace.h"
#include "tables/files/calcfiles.h"
#include "tables/files/datafiles.h"
#include "tables/model/enginelog.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/engine/pokertable.h"

namespace kova::mainwindow {

namespace t = kova::tables;
namespace pf = kova::pushfold::forms;

TKOVAForm1* KOVAForm1 = nullptr;
std::filesystem::path TKOVAForm1::DataFolderOverride;
bool TKOVAForm1::SkinOffAtStart = false;
std::function<void(const std::string&)> TKOVAForm1::OnCloseSaveStep;

namespace {

std::filesystem::path ExecutableFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

// An integer from an edit's text; `fallback` when it is not a number.
int32_t EditInt(const TEdit& e, int32_t fallback) {
    const std::string s = e.Text();
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || end == s.c_str() || *end != '\0') return fallback;
    return static_cast<int32_t>(v);
}

double EditFloat(const TEdit& e, double fallback) {
    const std::string s = e.Text();
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || end == s.c_str() || *end != '\0') return fallback;
    return v;
}

// A stop hides every panel and frame, a refresh shows them again.
void ShowTableOverlays(bool shown) {
    for (size_t i = t::Tables.size(); i-- > 0;) {
        t::TPokerTable* table = t::Tables[i].get();
        if (!table) continue;
        if (table->HUD) table->HUD->SetShown(shown);
        if (table->Frame) table->Frame->SetShown(shown);
        if (!shown) table->HUDShown = 0;  // the next panel update fills it again
    }
}

// The options the scan reads from the main form's controls.
void CopyEngineOptions(t::TEngineOptions& o, const t::TStartupSettings& s, const TKOVAForm1& form) {
    const std::string frameThickness = form.ThicknessEdit->Text();
    o.LBtnMouseActivate = s.LBTNMouseActivated;
    o.MouseActDelay = static_cast<int32_t>(s.MouseDelay);
    o.OnlyPlayed = s.OnlyPlayed;
    o.JumpMouse = s.JumpMouse;
    o.EventTimeBank = s.CommonTimeBank;
    o.EventImBack = s.CommonImBack;
    o.EventInfoTab = s.CommonInfoTab;
    o.EventBetPot = s.CommonBetpot;
    o.FrameThickness = frameThickness;
    o.OngameHHDir = s.OngameHHDir;
    o.CurTourEditFTP = form.CurTourEditFTP->Text();
    o.TotalTourEditFTP = form.TotalTourEditFTP->Text();
    o.MaxTourEditFTP = form.MaxTourEditFTP->Text();
    auto& ps = o.PokerStars;
    ps.HHDir = s.PokerStarsHHDir;
    ps.TimerEnabled = s.TimerEnabled;
    ps.NewerClient = s.PS7 != 0;
    ps.SpinAndGo = s.SNG_Spin == 1;
    // The lobby reads its three edits with defaults of its own for text
    // that is not a number ("startup.ini" has others for missing keys).
    ps.KeepOpen = EditInt(*form.CurTourEdit, 8);
    ps.TotalTournaments = EditInt(*form.TotalTourEdit, 16);
    ps.LobbyRows = EditInt(*form.MaxTourEdit, 4);
    ps.ClickSNGTab = s.ClickSNGtab;
    ps.AutoClosePopups = s.AutoClosePopup;
    ps.WithoutBuyIn = s.WithoutBuyinDialog;
    ps.SendToBottom = s.SendToBottom;
    ps.YesWaitList = s.YesWaitList;
    ps.MaxWaitList = s.MaxWaitList;
    ps.MaxWaitListNum = s.MaxWaitListNum;
    ps.NoWaitList = s.NoWaitList;
    ps.AutoCloseTour = s.AutoCloseTour;
    ps.CloseTimeTour = s.CloseTimeTour;
    ps.AutoCloseCash = s.AutoCloseCash;
    ps.CloseTimeCash = s.CloseTimeCash;
    ps.TourTimeBank = s.PSTourTimeBank;
    ps.TourImBack = s.PSTourImBack;
    ps.TourInfoTab = s.PSTourInfoTab;
    ps.CashTimeBank = s.PSCashTimeBank;
    ps.CashImBack = s.PSCashImBack;
    ps.CashInfoTab = s.PSCashInfoTab;
}

// Where a window goes so that the user can reach it: a rectangle that does
// not lie within the work area of the monitor nearest to it (one that went
// away, or a position typed by hand) is moved inside that work area, the
// whole window where it fits and its top-left corner always.
RECT OnWorkArea(const RECT& r) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return r;
    const RECT& work = mi.rcWork;
    const LONG width = r.right - r.left, height = r.bottom - r.top;
    const LONG left = std::max(work.left, std::min(r.left, work.right - width));
    const LONG top = std::max(work.top, std::min(r.top, work.bottom - height));
    return RECT{left, top, left + width, top + height};
}

std::string FloatText(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace

// ---- construction -------------------------------------------------------------

TKOVAForm1::TKOVAForm1(TComponent* owner) : TForm(owner) {
    StartMark("main form constructor");
    dataFolder_ = DataFolderOverride.empty() ? ExecutableFolder() : DataFolderOverride;
    autoPlace_ = std::make_unique<TAutoPlacePage>(*this, EditedConfig, SelectedConfig, [this] { SaveConfigs(); });
    autoPlace_->OnOpenGrabber = [this] { OpenGrabber(0); };
    rooms_ = std::make_unique<TPokerRoomPage>(*this, [this] { SavePokerRooms(); });
    ConnectRoomPage(*this, *rooms_);
    autoReg_ = std::make_unique<TAutoRegControls>(*this);
    settings_ = std::make_unique<TCommonSettingsPage>(*this);
    // Hotkeys 9 and 10 act through the registration pages' switches, so
    // their status texts follow.
    settings_->StartAutoRegistrations = [this] {
        autoReg_->StartAutoRegPokerStars();
        autoReg_->StartAutoRegFTP();
    };
    settings_->StopAutoRegistrations = [this] {
        autoReg_->StopAutoRegPokerStars();
        autoReg_->StopAutoRegFTP();
    };
    BindSmallDialogButtons(*this);

    BindField("PageControl1", PageControl1);
    BindField("ConfigListBox", ConfigListBox);
    BindField("PokerRoomListBox", PokerRoomListBox);
    BindField("GroupListBox", GroupListBox);
    BindField("CurrentNameL", CurrentNameL);
    BindField("ConfigStatusL", ConfigStatusL);
    BindField("StartConfig", StartConfigBtn);
    BindField("RefreshConfig", RefreshConfigBtn);
    BindField("StopConfigBtn", StopConfigBtn);
    BindField("LogMemo", LogMemo);
    BindField("Timer1", Timer1);
    BindField("TimerPS", TimerPS);
    BindField("PopupMenu1", PopupMenu1);
    BindField("Show1", Show1);
    BindField("Close1", Close1);
    BindField("MonitorCombo", MonitorCombo);
    skin::RegisterSkinManagerClass();
    BindField("sSkinManager1", sSkinManager1);
    skin::RegisterSkinProviderClass();
    BindField("sSkinProvider1", sSkinProvider1);
    skin::RegisterHintManagerClass();
    BindField("sHintManager1", sHintManager1);
    // The registration status panels keep the colour that tells running
    // from stopped on a skinned form.
    skin::RegisterPanelClass();
    BindField("ScanningPeriodEdit", ScanningPeriodEdit);
    BindField("ThicknessEdit", ThicknessEdit);
    BindField("MouseActDelayEdit", MouseActDelayEdit);
    BindField("DirectoryOngameHH", DirectoryOngameHH);
    BindField("DirectoryPokerStarsHH", DirectoryPokerStarsHH);
    BindField("CurTourEdit", CurTourEdit);
    BindField("TotalTourEdit", TotalTourEdit);
    BindField("MaxTourEdit", MaxTourEdit);
    BindField("CloseTimeTourEdit", CloseTimeTourEdit);
    BindField("MaxWaitListEdit", MaxWaitListEdit);
    BindField("CloseTimeCashEdit", CloseTimeCashEdit);
    BindField("CurTourEditFTP", CurTourEditFTP);
    BindField("TotalTourEditFTP", TotalTourEditFTP);
    BindField("MaxTourEditFTP", MaxTourEditFTP);
    BindField("MaxRegEditFTP", MaxRegEditFTP);
    BindField("TimerEnabledCB", TimerEnabledCB);
    BindField("RGPokerStarsN", RGPokerStarsN);
    BindField("RGSNG", RGSNG);
    BindField("CommonTimeBankCB", CommonTimeBankCB);
    BindField("CommonImBackCB", CommonImBackCB);
    BindField("CommonInfoTabCB", CommonInfoTabCB);
    BindField("CommonBetpotCB", CommonBetpotCB);
    BindField("JumpMouseCB", JumpMouseCB);
    BindField("LBTNMouseActCB", LBTNMouseActCB);
    BindField("AutoRunCB", AutoRunCB);
    BindField("MinimizeCB", MinimizeCB);
    BindField("AutoCloseCB", AutoCloseCB);
    BindField("WithoutBuyInCB", WithoutBuyInCB);
    BindField("SendToBottomCB", SendToBottomCB);
    BindField("AutoCloseTourCB", AutoCloseTourCB);
    BindField("ClickSNGtabCB", ClickSNGtabCB);
    BindField("TimeBankTCB", TimeBankTCB);
    BindField("ImBackTCB", ImBackTCB);
    BindField("InfoTabTCB", InfoTabTCB);
    BindField("TimeBankCashCB", TimeBankCashCB);
    BindField("ImBackCashCB", ImBackCashCB);
    BindField("InfoTabCashCB", InfoTabCashCB);
    BindField("YesWaitListCB", YesWaitListCB);
    BindField("MaxWaitListCB", MaxWaitListCB);
    BindField("NoWaitListCB", NoWaitListCB);
    BindField("OnlyPlayedCB", OnlyPlayedCB);
    BindField("AutoCloseCashCB", AutoCloseCashCB);
    BindField("CheckBoxHUD", CheckBoxHUD);
    BindField("CheckBoxSound", CheckBoxSound);
    BindField("CheckBoxFrame", CheckBoxFrame);
    BindField("RadioBtnUnderMouse", RadioBtnUnderMouse);
    BindField("RadioBtnActiveTable", RadioBtnActiveTable);

    RegisterMethod("FormCreate", TNotifyEvent([this](TObject*) { FormCreate(); }));
    RegisterMethod("FormShow", TNotifyEvent([this](TObject*) { FormShow(); }));
    RegisterMethod("FormActivate", TNotifyEvent([this](TObject*) { FormActivate(); }));
    RegisterMethod("FormClose", TCloseEvent([this](TObject*, TCloseAction&) { FormClose(); }));
    RegisterMethod("StartConfigClick", TNotifyEvent([this](TObject*) { StartConfig(); }));
    RegisterMethod("RefreshConfigClick", TNotifyEvent([this](TObject*) { RefreshConfig(); }));
    RegisterMethod("StopConfigBtnClick", TNotifyEvent([this](TObject*) { StopConfig(); }));
    RegisterMethod("Timer1Timer", TNotifyEvent([this](TObject*) { Timer1Timer(); }));
    RegisterMethod("PageControl1Change", TNotifyEvent([this](TObject*) { PageControl1Change(); }));
    RegisterMethod("ScanningPeriodEditChange", TNotifyEvent([this](TObject*) { ScanningPeriodEditChange(); }));
    RegisterMethod("DirOngameHHClick", TNotifyEvent([this](TObject*) { DirOngameHHClick(); }));
    RegisterMethod("DirPokerStarsHHClick", TNotifyEvent([this](TObject*) { DirPokerStarsHHClick(); }));
    RegisterMethod("TimerEnabledCBClick", TNotifyEvent([this](TObject*) { TimerEnabledCBClick(); }));
    RegisterMethod("Show1Click", TNotifyEvent([this](TObject*) { Show1Click(); }));
    RegisterMethod("Close1Click", TNotifyEvent([this](TObject*) { Close1Click(); }));

    BindMessage(WM_SYSCOMMAND, [this](TMessage& m) { WMSysCommand(m); });
    // While the grabber picks without the hook, the mouse is captured for
    // this window: the press that ends the picking arrives here.
    BindMessage(WM_LBUTTONDOWN, [this](TMessage& m) {
        if (TGrabberForm && TGrabberForm->Picking) TGrabberForm->EndGrabberPick();
        if (WindowCapture && WindowCapture->Picking) WindowCapture->EndWindowPick();
        Inherited(m);
    });
    BindMessage(hook::kKeyboardMessage, [this](TMessage& m) { HookKeyboardMessage(m); });
    BindMessage(hook::kMouseMessage, [this](TMessage& m) { HookMouseMessage(m); });
    BindMessage(TrayIconMessage, [this](TMessage& m) { TrayIconCallback(m); });
    // The first activation when the window never became active (another
    // program holds the foreground): the settings are read all the same.
    BindMessage(WM_APP + 0x101, [this](TMessage&) { FormActivate(); });
    StartMark("main form constructed");
}

void TKOVAForm1::Loaded() {
    StartMark("description read");
    // The description stores the skin's name, not the skins themselves:
    // they are built into the program. Loaded runs here before the
    // manager's own, which then loads the named skin.
    if (sSkinManager1 && sSkinManager1->Model().InternalSkins.Count() == 0)
        skin::AddInternalSkins(sSkinManager1->Model().InternalSkins);
    // Still being read, the manager only stores it: no skin is loaded.
    if (sSkinManager1 && SkinOffAtStart) sSkinManager1->SetActive(false);
    StartMark("internal skins added");
    TForm::Loaded();
    StartMark("form loaded (the skin loads next)");
}

TKOVAForm1::~TKOVAForm1() {
    if (TGrabberForm && TGrabberForm->Page == autoPlace_.get()) TGrabberForm->Page = nullptr;
    if (TGrabberForm && TGrabberForm->RoomPage == rooms_.get()) TGrabberForm->RoomPage = nullptr;
    if (trayIconShown_ && HandleAllocated()) TrayIcon(2, nullptr);
    StopHookIfRunning();
    if (KOVAForm1 == this) {
        KOVAForm1 = nullptr;
        // The tables' panels and frames are forms: they go while the
        // framework is still there, not with the program's globals.
        DeleteAllTour();
        pf::CloseAllCalculators();
        ConnectEngineSeams(nullptr);
        Application()->OnMinimize = nullptr;
    }
}

void ConnectEngineSeams(TKOVAForm1* form) {
    if (!form) {
        t::ResetEngineServices();
        return;
    }
    t::EngineServices.UserMessageSink = [](const std::string& text) { ShowMessage(text); };
    t::EngineServices.LogSink = [form](const std::string& line) { form->Log(line); };
    t::EngineServices.SyntheticInputSeam = [form](int flag) { form->Hook().SetData(flag); };
    t::EngineServices.WheelUpStep = [form](int32_t table) { form->MouseWheelUP(table); };
    t::EngineServices.WheelDownStep = [form](int32_t table) { form->MouseWheelDown(table); };
    t::EngineServices.MakeCalculator = [](t::TPokerTable& table) { return MakeTableCalculator(table); };
}

void TKOVAForm1::Log(const std::string& line) {
    LogMemo->AppendLine(line);
}

void DeleteAllTour() { t::FreeAllTables(); }

// ---- lifecycle ----------------------------------------------------------------

void TKOVAForm1::FormCreate() {
    StartMark("FormCreate");
    KOVAForm1 = this;
    std::error_code ec;
    // The engine as at the program's start: no tables, the scan paused.
    t::ResetEngineState();
    // Layouts and alert sounds live beside the program, like its data files.
    t::ProgramFolder = dataFolder_.string();
    t::InstallTableOverlays();
    firstShow_ = true;
    firstActivate_ = true;
    t::IPokerMainWanted = 1;
    t::PokerStarsLobbyWanted = 1;
    t::FullTiltLobbyWanted = 1;
    HookInputState = THookInputState{};

    std::filesystem::create_directories(dataFolder_ / "Layouts", ec);

    Application()->OnMinimize = [this](TObject*) {
        if (HandleAllocated()) PostMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    };

    hotkeysEnabled_ = true;
    UserIniState = t::TUserIniState::NotFound;

    LogMemo->SetMaxLines(1000);
    ConnectEngineSeams(this);
    StartMark("FormCreate done");
}

void TKOVAForm1::FillLists() {
    rooms_->ShowRooms(0);
    autoPlace_->ShowConfig(SelectedConfig);
    if (!EditedConfig.Name.empty()) CurrentNameL->SetCaption(EditedConfig.Name + ":");
}

void TKOVAForm1::FormShow() {
    if (!firstShow_) return;
    firstShow_ = false;
    StartMark("FormShow");
    t::LoadPokerRooms(dataFolder_ / t::PokerRoomsFileName, t::PokerRooms);
    t::LoadPlaceConfig(dataFolder_ / t::PlaceConfigFileName, t::PlaceConfigHeader, t::PlaceConfigs);

    MonitorCombo->Items()->Clear();
    const int monitors = Screen()->MonitorCount();
    for (int i = 1; i <= monitors; ++i) MonitorCombo->Items()->Add(std::to_string(i));
    if (monitors > 0) MonitorCombo->SetItemIndex(0);

    // The editors show the config that was active when the program ended.
    SelectedConfig = t::ActiveConfigIndex(t::PlaceConfigHeader, t::PlaceConfigs.size());
    FillLists();
    if (t::PlaceConfigs.empty()) ShowMessage(NoConfigFoundMessage);

    t::LoadModels(dataFolder_, t::OpponentModels);
    t::LoadRegPlayers(dataFolder_, t::RegPlayers);
    t::LoadStartDefaults(dataFolder_, t::StartDefaults);
    firstShowTime_ = t::EngineNow();

    if (firstActivate_ && HandleAllocated()) PostMessageA(Handle(), WM_APP + 0x101, 0, 0);
    StartMark("FormShow done");
}

void TKOVAForm1::FormActivate() {
    if (!firstActivate_ || firstShow_) return;
    firstActivate_ = false;
    StartMark("FormActivate");

    // The shown page is painted now, before the work below makes the other
    // pages' windows (about a second): the user sees the window whole at
    // once instead of a blank frame. Everything else keeps its order.
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    StartMark("main window painted");

    // Loaded once the window shows, not while it is made: nothing calls
    // the hook library before a config starts, here at the earliest.
    std::string error;
    if (!hook_.Load(dataFolder_, error)) Log(error);

    for (int page : {1, 3, 4})
        if (page < PageControl1->PageCount()) PageControl1->SetActivePageIndex(page);
    t::TStartupSettings settings = ReadStartupControls();
    t::LoadStartupIni(dataFolder_ / t::StartupIniFileName, settings);
    settings_->WhileFilling([&] { ApplyStartupSettings(settings); });

    UserIniState = t::LoadUserIni(dataFolder_ / t::UserIniFileName, t::UserOptions);
    if (UserIniState == t::TUserIniState::Loaded) {
        settings_->ShowUserOptions();
        settings_->RegisterHotKeys();
    } else {
        // Without the user's options the engine reads what the controls show.
        settings_->ReadUserOptions();
    }

    if (AutoRunCB->Checked()) StartConfig();
    StartMark("FormActivate done");
}

void TKOVAForm1::FormClose() {
    StopHookIfRunning();
    if (TGrabberForm) TGrabberForm->Close();
    // A first run saves too once the user changed a setting: there is no
    // file of the user's to keep, and the settings would be lost.
    const bool firstRunEdited = UserIniState == t::TUserIniState::NotFound && settings_->Edited();
    if (t::SaveOnClose(UserIniState) || firstRunEdited) {
        auto step = [](const char* name) {
            if (OnCloseSaveStep) OnCloseSaveStep(name);
        };
        settings_->ReadUserOptions();
        step(t::UserIniFileName);
        t::SaveUserIni(dataFolder_ / t::UserIniFileName, t::UserOptions);
        settings_->ReleaseHotKeys();
        step(t::StartupIniFileName);
        t::SaveStartupIni(dataFolder_ / t::StartupIniFileName, ReadStartupControls());
        step(t::PokerRoomsFileName);
        t::SavePokerRooms(dataFolder_ / t::PokerRoomsFileName, t::PokerRooms);
        step(t::PlaceConfigFileName);
        t::WritePlaceConfig(dataFolder_ / t::PlaceConfigFileName, t::PlaceConfigHeader, SelectedConfig,
                            t::PlaceConfigs);
    }
    settings_->ReleaseHotKeys();
    if (trayIconShown_) TrayIcon(2, nullptr);
    DeleteAllTour();
}

// ---- settings controls -------------------------------------------------------------

namespace {

// The "startup.ini" keys that are plain check boxes and whole-number edits,
// read from and written to the main form's controls by the same table.
struct CheckBoxKey {
    bool t::TStartupSettings::*field;
    TCheckBox* TKOVAForm1::*control;
};
struct NumberEditKey {
    int32_t t::TStartupSettings::*field;
    TEdit* TKOVAForm1::*control;
    int32_t fallback;  // for an empty or unreadable edit
};

constexpr CheckBoxKey kCheckBoxKeys[] = {
    {&t::TStartupSettings::CommonTimeBank, &TKOVAForm1::CommonTimeBankCB},
    {&t::TStartupSettings::CommonImBack, &TKOVAForm1::CommonImBackCB},
    {&t::TStartupSettings::CommonInfoTab, &TKOVAForm1::CommonInfoTabCB},
    {&t::TStartupSettings::CommonBetpot, &TKOVAForm1::CommonBetpotCB},
    {&t::TStartupSettings::JumpMouse, &TKOVAForm1::JumpMouseCB},
    {&t::TStartupSettings::LBTNMouseActivated, &TKOVAForm1::LBTNMouseActCB},
    {&t::TStartupSettings::AutoRun, &TKOVAForm1::AutoRunCB},
    {&t::TStartupSettings::MinimizeOnRun, &TKOVAForm1::MinimizeCB},
    {&t::TStartupSettings::AutoClosePopup, &TKOVAForm1::AutoCloseCB},
    {&t::TStartupSettings::WithoutBuyinDialog, &TKOVAForm1::WithoutBuyInCB},
    {&t::TStartupSettings::SendToBottom, &TKOVAForm1::SendToBottomCB},
    {&t::TStartupSettings::AutoCloseTour, &TKOVAForm1::AutoCloseTourCB},
    {&t::TStartupSettings::ClickSNGtab, &TKOVAForm1::ClickSNGtabCB},
    {&t::TStartupSettings::PSTourTimeBank, &TKOVAForm1::TimeBankTCB},
    {&t::TStartupSettings::PSTourImBack, &TKOVAForm1::ImBackTCB},
    {&t::TStartupSettings::PSTourInfoTab, &TKOVAForm1::InfoTabTCB},
    {&t::TStartupSettings::PSCashTimeBank, &TKOVAForm1::TimeBankCashCB},
    {&t::TStartupSettings::PSCashImBack, &TKOVAForm1::ImBackCashCB},
    {&t::TStartupSettings::PSCashInfoTab, &TKOVAForm1::InfoTabCashCB},
    {&t::TStartupSettings::YesWaitList, &TKOVAForm1::YesWaitListCB},
    {&t::TStartupSettings::MaxWaitList, &TKOVAForm1::MaxWaitListCB},
    {&t::TStartupSettings::NoWaitList, &TKOVAForm1::NoWaitListCB},
    {&t::TStartupSettings::OnlyPlayed, &TKOVAForm1::OnlyPlayedCB},
    {&t::TStartupSettings::AutoCloseCash, &TKOVAForm1::AutoCloseCashCB},
};

constexpr NumberEditKey kNumberEditKeys[] = {
    {&t::TStartupSettings::FrameThick, &TKOVAForm1::ThicknessEdit, 6},
    {&t::TStartupSettings::ScanningPeriod, &TKOVAForm1::ScanningPeriodEdit, 200},
    {&t::TStartupSettings::CurTournament, &TKOVAForm1::CurTourEdit, 8},
    {&t::TStartupSettings::TotalTournament, &TKOVAForm1::TotalTourEdit, 16},
    {&t::TStartupSettings::MaxTournament, &TKOVAForm1::MaxTourEdit, 1},
    {&t::TStartupSettings::CloseTimeTour, &TKOVAForm1::CloseTimeTourEdit, 2},
    {&t::TStartupSettings::MaxWaitListNum, &TKOVAForm1::MaxWaitListEdit, 8},
    {&t::TStartupSettings::CloseTimeCash, &TKOVAForm1::CloseTimeCashEdit, 10},
};

}  // namespace

t::TStartupSettings TKOVAForm1::ReadStartupControls() {
    t::TStartupSettings s;
    for (const CheckBoxKey& k : kCheckBoxKeys) s.*k.field = (this->*k.control)->Checked();
    for (const NumberEditKey& k : kNumberEditKeys) s.*k.field = EditInt(*(this->*k.control), k.fallback);
    s.Left = Left();
    s.Top = Top();
    s.ActivePage = PageControl1->ActivePageIndex();
    s.MouseDelay = EditFloat(*MouseActDelayEdit, 0);
    s.OngameHHDir = DirectoryOngameHH->Text();
    s.PokerStarsHHDir = DirectoryPokerStarsHH->Text();
    s.TimerEnabled = TimerEnabledCB->Checked();
    s.PS7 = RGPokerStarsN->ItemIndex();
    s.SNG_Spin = RGSNG->ItemIndex();
    return s;
}

void TKOVAForm1::ApplyStartupSettings(const t::TStartupSettings& s) {
    for (const CheckBoxKey& k : kCheckBoxKeys) (this->*k.control)->SetChecked(s.*k.field);
    for (const NumberEditKey& k : kNumberEditKeys) (this->*k.control)->SetText(std::to_string(s.*k.field));
    const RECT placed = OnWorkArea(RECT{s.Left, s.Top, s.Left + Width(), s.Top + Height()});
    SetBounds(placed.left, placed.top, Width(), Height());
    if (s.ActivePage >= 0 && s.ActivePage < PageControl1->PageCount()) PageControl1->SetActivePageIndex(s.ActivePage);
    if (s.ScanningPeriod > 0) Timer1->SetInterval(static_cast<unsigned>(s.ScanningPeriod));
    MouseActDelayEdit->SetText(FloatText(s.MouseDelay));
    DirectoryOngameHH->SetText(s.OngameHHDir);
    DirectoryPokerStarsHH->SetText(s.PokerStarsHHDir);
    TimerEnabledCB->SetChecked(s.TimerEnabled);
    TimerPS->SetEnabled(s.TimerEnabled);
    if (s.PS7 >= 0 && s.PS7 < RGPokerStarsN->Items()->Count()) RGPokerStarsN->SetItemIndex(s.PS7);
    if (s.SNG_Spin >= 0 && s.SNG_Spin < RGSNG->Items()->Count()) RGSNG->SetItemIndex(s.SNG_Spin);

    ApplyEngineOptions();
}

void TKOVAForm1::ApplyEngineOptions() {
    const t::TStartupSettings s = ReadStartupControls();
    CopyEngineOptions(t::EngineOptions, s, *this);
}

void TKOVAForm1::ScanningPeriodEditChange() {
    const int32_t period = EditInt(*ScanningPeriodEdit, 200);
    if (period > 0) Timer1->SetInterval(static_cast<unsigned>(period));
}

void TKOVAForm1::DirOngameHHClick() {
    std::string dir = DirectoryOngameHH->Text();
    if (!SelectDirectory("Choose Directory for Ongame HH", dir)) dir.clear();
    DirectoryOngameHH->SetText(dir);
    ApplyEngineOptions();  // the Ongame tables look there from their next tick
}

void TKOVAForm1::DirPokerStarsHHClick() {
    std::string dir = DirectoryPokerStarsHH->Text();
    if (!SelectDirectory("Choose Directory for PokerStars HH", dir)) dir.clear();
    DirectoryPokerStarsHH->SetText(dir);
    ApplyEngineOptions();  // the PokerStars tables look there from their next tick
}

void TKOVAForm1::TimerEnabledCBClick() {
    TimerPS->SetEnabled(TimerEnabledCB->Checked());
    ApplyEngineOptions();
}

// ---- start, refresh, stop -------------------------------------------------------------

std::string TKOVAForm1::RunningName() const {
    return t::RunningConfig.Name.empty() ? EditedConfig.Name : t::RunningConfig.Name;
}

void TKOVAForm1::ShowState(const std::string& status, TColor colour) {
    CurrentNameL->SetCaption(RunningName() + ":");
    CurrentNameL->Font()->SetColor(colour);
    CurrentNameL->Invalidate();
    ConfigStatusL->SetCaption(status);
    ConfigStatusL->Font()->SetColor(colour);
    ConfigStatusL->Invalidate();
    ConfigStatusL->Update();
}

void TKOVAForm1::StopSounds() { PlaySoundA(nullptr, nullptr, 0); }

void TKOVAForm1::StartHookIfNeeded() {
    if (hookRunning_) return;
    hook_.StartHook(Handle());
    hookRunning_ = true;
}

void TKOVAForm1::StopHookIfRunning() {
    if (!hookRunning_) return;
    hook_.StopHook();
    hookRunning_ = false;
}

bool TKOVAForm1::ValidateConfig() {
    if (EditedConfig.Groups.empty()) {
        ShowMessage("Config " + EditedConfig.Name + " does not have any group");
        return true;
    }
    for (const t::TGroupRec& g : EditedConfig.Groups) {
        if (g.Slots.empty()) {
            ShowMessage("Group " + g.Name + " does not have any slot");
            return true;
        }
    }
    t::RunningConfig = EditedConfig;
    return false;
}

// The common head of Start and Refresh, run once no scan is running: store
// the editor and validate. A config that ran until now is stopped when
// validation fails, so that the labels never claim a paused scan runs.
bool TKOVAForm1::PrepareStartOrRefresh() {
    StoreGroupEditor();
    if (!ValidateConfig()) return true;
    ShowTableOverlays(false);
    StopHookIfRunning();
    ShowState("Stopped", clWindowText);
    StopConfigBtn->SetEnabled(false);
    return false;
}

void TKOVAForm1::StartConfig() {
    if (ConfigListBox->Items()->Count() == 0) {
        ShowMessage(CreateConfigFirstMessage);
        return;
    }
    t::ScanPaused = 1;
    t::RunWhenScanIdle([this] {
        if (!PrepareStartOrRefresh()) return;
        ApplyEngineOptions();
        ShowState("Started", clWindowText);
        StopConfigBtn->SetEnabled(true);
        DeleteAllTour();
        t::IPokerMainWanted = 1;
        t::PokerStarsLobbyWanted = 1;
        t::ResortPending = 1;
        StartHookIfNeeded();
        ShowState("Running", clBlue);
        StopSounds();
        t::ScanPaused = 0;
        if (MinimizeCB->Checked()) Application()->Minimize();
    });
}

void TKOVAForm1::RefreshConfig() {
    if (ConfigListBox->Items()->Count() == 0) {
        ShowMessage(CreateConfigFirstMessage);
        return;
    }
    t::ScanPaused = 1;
    t::RunWhenScanIdle([this] {
        if (!PrepareStartOrRefresh()) return;
        ApplyEngineOptions();
        ShowTableOverlays(true);
        ShowState("Refreshed", clWindowText);
        StartHookIfNeeded();
        ShowState("Running", clBlue);
        StopConfigBtn->SetEnabled(true);
        StopSounds();
        t::ScanPaused = 0;
    });
}

void TKOVAForm1::StopConfig() {
    t::ScanPaused = 1;
    t::RunWhenScanIdle([this] {
        StoreGroupEditor();
        ShowTableOverlays(false);
        StopHookIfRunning();
        ShowState("Stopped", clWindowText);
        StopConfigBtn->SetEnabled(false);
        StopSounds();
    });
}

void TKOVAForm1::Timer1Timer() {
    // The lobby and table adapters read the pages' controls on every tick.
    if (!t::ScanPaused && !t::ScanBusy) ApplyEngineOptions();
    t::RunScan();
}

void TKOVAForm1::PageControl1Change() {
    const TTabSheet* active = PageControl1->ActivePage();
    const std::string page = active ? active->Name() : std::string();
    autoPlace_->PageChanged(page == "AutoPlaceSheet");
    rooms_->PageChanged(page == "PokerRoomSheet");
}

void TKOVAForm1::StoreGroupEditor() { autoPlace_->StoreGroupEditor(); }

void TKOVAForm1::OpenGrabber(int target) {
    if (!TGrabberForm) TGrabberForm = TCustomForm::Create<TTGrabberForm>(Application());
    TGrabberForm->Open(target, autoPlace_.get(), rooms_.get(), Handle(), hookRunning_);
}

void TKOVAForm1::SavePokerRooms() { t::SavePokerRooms(dataFolder_ / t::PokerRoomsFileName, t::PokerRooms); }

void TKOVAForm1::SaveConfigs() {
    t::SavePlaceConfig(dataFolder_, t::PlaceConfigHeader, SelectedConfig, t::PlaceConfigs, t::UserOptions, UserIniState,
                       ReadStartupControls());
}

// ---- notification area ------------------------------------------------------------------

BOOL TKOVAForm1::TrayIcon(int action, HICON icon) {
    DWORD message;
    switch (action) {
        case 1: message = NIM_ADD; break;
        case 2: message = NIM_DELETE; break;
        case 3: message = NIM_MODIFY; break;
        default: return FALSE;
    }
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = Handle();
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayIconMessage;
    data.hIcon = icon;
    lstrcpynA(data.szTip, TrayTip, sizeof data.szTip);
    const BOOL result = Shell_NotifyIconA(message, &data);
    if (action == 1) trayIconShown_ = true;
    if (action == 2) trayIconShown_ = false;
    return result;
}

void TKOVAForm1::WMSysCommand(TMessage& m) {
    if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
        // The small image of the program's icon: the notification area shows
        // it at that size. Shared, so never destroyed.
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
        if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        TrayIcon(1, icon);
        ShowWindow(Handle(), SW_HIDE);
        ShowWindow(Application()->Handle(), SW_HIDE);
        m.Result = 0;
        return;
    }
    Inherited(m);
}

void TKOVAForm1::TrayIconCallback(TMessage& m) {
    switch (m.LParam) {
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            TrayIcon(2, nullptr);
            ShowWindow(Application()->Handle(), SW_SHOW);
            ShowWindow(Handle(), SW_SHOW);
            // Minimised from the taskbar, the window is still iconic.
            if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
            break;
        case WM_RBUTTONUP: {
            SetForegroundWindow(Handle());
            POINT p{};
            GetCursorPos(&p);
            PopupMenu1->Popup(p.x, p.y);
            PostMessageA(Handle(), WM_NULL, 0, 0);
            break;
        }
        default:
            break;
    }
    m.Result = 0;
}

void TKOVAForm1::Show1Click() {
    TMessage m{TrayIconMessage, 0, WM_LBUTTONUP, 0};
    TrayIconCallback(m);
}

void TKOVAForm1::Close1Click() {
    TrayIcon(2, nullptr);
    Close();
}

}  // namespace kova::mainwindow
