#include "mainwindow/editors/pokerroom/roompagelinks.h"

#include <string>

#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/hotkeys/hotkeys.h"
#include "mainwindow/mainform/main.h"

namespace kova::mainwindow {

void ConnectRoomPage(TKOVAForm1& form, TPokerRoomPage& page) {
    page.OnOpenCapture = [&form](const std::vector<tables::TWindowSize>& sizes) {
        if (!WindowCapture) WindowCapture = TCustomForm::Create<TWindowCapture>(Application());
        WindowCapture->Open(sizes, form.Handle(), form.HookRunning());
    };
    page.CaptureVisible = [] { return WindowCapture && WindowCapture->Visible(); };
    page.CaptureResult = [] { return WindowCapture ? WindowCapture->Result() : pokerroom::TCaptureResult{}; };
    page.OnOpenGrabber = [&form] { form.OpenGrabber(1); };
    page.GrabberDetails = [] {
        if (!TGrabberForm || !TGrabberForm->Visible()) return std::array<std::string, 3>{};
        return std::array<std::string, 3>{TGrabberForm->ClassEdit->Text(), TGrabberForm->SizeXEdit->Text(),
                                          TGrabberForm->SizeYEdit->Text()};
    };
    page.OnLog = [&form](const std::string& line) { form.Log(line); };
}

}  // namespace kova::mainwindow
