#include "mainwindow/mainform/formbench.h"

#include <windows.h>

#include <system_error>
#include <vector>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "skin/core/skinstate.h"

namespace fs = std::filesystem;

namespace kova::bench {

namespace {

BOOL CALLBACK CollectOurWindow(HWND w, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

}  // namespace

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void Settle() {
    for (;;) {
        Pump();
        std::vector<HWND> windows;
        EnumWindows(CollectOurWindow, reinterpret_cast<LPARAM>(&windows));
        for (HWND w : windows) RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        if (skin::SkinState.SkinChanging == 0 && skin::SkinState.FormAnimating == 0 &&
            !skin::SkinState.SkinChangeAnimating)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    Pump();
}

TMainFormBench::TMainFormBench(const std::string& tag) {
    RegisterFrameworkClasses();
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    dir_ = fs::path(tmp) / ("kova-" + tag + "-" + std::to_string(GetCurrentProcessId()));
    std::error_code ec;
    fs::create_directories(dir_, ec);
    mainwindow::TKOVAForm1::DataFolderOverride = dir_.string();
    // The first run's "no config" box and any other would wait for a user.
    SetDialogResponder([](const TDialogRequest&) {
        TDialogAnswer a;
        a.result = mrOk;
        return a;
    });
}

TMainFormBench::~TMainFormBench() {
    Close();
    SetDialogResponder(nullptr);
    mainwindow::TKOVAForm1::DataFolderOverride.clear();
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

mainwindow::TKOVAForm1* TMainFormBench::Open(bool skinned) {
    Close();
    mainwindow::TKOVAForm1::SkinOffAtStart = !skinned;
    form_ = TCustomForm::Create<mainwindow::TKOVAForm1>(Application());
    mainwindow::TKOVAForm1::SkinOffAtStart = false;
    form_->Show();
    SetForegroundWindow(form_->Handle());
    for (int i = 0; i < 500 && !form_->FirstActivationDone(); ++i) {
        Pump();
        Sleep(10);
    }
    Settle();
    return form_;
}

void TMainFormBench::Close() {
    if (!form_) return;
    form_->Free();
    form_ = nullptr;
    Pump();
}

}  // namespace kova::bench
