#include "mainwindow/mainform/autoreg.h"

#include "tables/model/variables.h"

namespace kova::mainwindow {

namespace {

constexpr TColor RunningColour = static_cast<TColor>(0x008000);  // RGB(0, 128, 0)
constexpr TColor StoppedColour = static_cast<TColor>(0x0000FF);  // RGB(255, 0, 0)

void ShowStatus(TPanel* status, bool running) {
    if (!status) return;
    status->SetCaption(running ? "Running" : "Stopped");
    status->SetColor(running ? RunningColour : StoppedColour);
    status->Invalidate();
}

}  // namespace

TAutoRegControls::TAutoRegControls(TForm& form) {
    form.BindField("StatusSNG", StatusSNG);
    form.BindField("StatusSNGFTP", StatusSNGFTP);
    form.RegisterMethod("StartSNGBtnClick", TNotifyEvent([this](TObject*) { StartAutoRegPokerStars(); }));
    form.RegisterMethod("StopSngBtnClick", TNotifyEvent([this](TObject*) { StopAutoRegPokerStars(); }));
    form.RegisterMethod("StartSNGBtnFTPClick", TNotifyEvent([this](TObject*) { StartAutoRegFTP(); }));
    form.RegisterMethod("StopSngBtnFTPClick", TNotifyEvent([this](TObject*) { StopAutoRegFTP(); }));
}

// The lobby adapters see the switch on their next tick.
void TAutoRegControls::StartAutoRegPokerStars() {
    tables::AutoRegistratorRunning = 1;
    ShowStatus(StatusSNG, true);
}

void TAutoRegControls::StopAutoRegPokerStars() {
    tables::AutoRegistratorRunning = 0;
    ShowStatus(StatusSNG, false);
}

void TAutoRegControls::StartAutoRegFTP() {
    tables::FullTiltRegistratorRunning = 1;
    ShowStatus(StatusSNGFTP, true);
}

void TAutoRegControls::StopAutoRegFTP() {
    tables::FullTiltRegistratorRunning = 0;
    ShowStatus(StatusSNGFTP, false);
}

}  // namespace kova::mainwindow
