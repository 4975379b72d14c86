// The time of a skin change of the running main form under Wine: the
// skin loaded, applied to every skinned form and control, and every window
// of ours painted again, from the manager's SkinName set until no paint is
// pending. Two internal skins are switched in turn. Each change is timed
// twice in the same turns, side by side: with the skin-change fade the
// program has (its animation time comes on top), and without it (the work
// of the change alone). Prints each mode's median and worst in ms.
//
//   tools/testenv/wine-run build/win64/bin/kova_mainwindow_skinchangebench.exe [--runs N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "mainwindow/mainform/main.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinstate.h"

namespace fs = std::filesystem;
using namespace kova;

namespace {

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

BOOL CALLBACK CollectOurWindow(HWND w, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

// Runs the messages the change posted, then paints whatever of our windows
// is still invalid, until the change's animation is over.
void SettleChange() {
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

struct Mode {
    const char* name;
    bool fade;
    std::vector<double> ms;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 21;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));

    RegisterFrameworkClasses();
    // A scratch data folder: the form starts as on a first run.
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    const fs::path dir = fs::path(tmp) / ("kova-skinbench-" + std::to_string(GetCurrentProcessId()));
    std::error_code ec;
    fs::create_directories(dir, ec);
    mainwindow::TKOVAForm1::DataFolderOverride = dir.string();
    // The first run's "no config" box and any other would wait for a user.
    SetDialogResponder([](const TDialogRequest&) {
        TDialogAnswer a;
        a.result = mrOk;
        return a;
    });

    auto* form = TCustomForm::Create<mainwindow::TKOVAForm1>(Application());
    form->Show();
    SetForegroundWindow(form->Handle());
    for (int i = 0; i < 500 && !form->FirstActivationDone(); ++i) {
        Pump();
        Sleep(10);
    }
    SettleChange();
    skin::TsSkinManager* manager = form->sSkinManager1;
    std::vector<std::string> names, skins;
    std::string first;
    manager->GetSkinNames(names, skin::slAll, first);
    for (const std::string& n : names)
        if (n.find("(internal)") != std::string::npos) skins.push_back(n);
    if (skins.size() < 2) {
        std::fprintf(stderr, "skinchangebench: fewer than two internal skins\n");
        return 1;
    }
    skins.resize(2);
    auto& fade = manager->Model().AnimEffects.SkinChanging;
    const bool fadeWas = fade.Active;
    std::printf("skin change of the running main form (%s <-> %s), %d changes per mode, fade %u ms\n",
                skins[0].c_str(), skins[1].c_str(), runs, static_cast<unsigned>(fade.Time));

    Mode modes[] = {{"without the fade (load, apply, repaint)", false, {}}, {"with the program's fade", true, {}}};
    // A warm-up change in each mode first (the skins' first reading, the
    // first paints of each control), not counted.
    int next = 0;
    for (Mode& m : modes) {
        fade.Active = m.fade;
        manager->SetSkinName(skins[static_cast<std::size_t>(next++ % 2)]);
        SettleChange();
    }
    for (int r = 0; r < runs; ++r) {
        for (Mode& m : modes) {
            fade.Active = m.fade;
            const double start = Now();
            manager->SetSkinName(skins[static_cast<std::size_t>(next++ % 2)]);
            SettleChange();
            m.ms.push_back(Now() - start);
        }
    }
    fade.Active = fadeWas;
    for (const Mode& m : modes)
        std::printf("  %-42s median %7.1f ms   worst %7.1f ms\n", m.name, Median(m.ms),
                    *std::max_element(m.ms.begin(), m.ms.end()));

    form->Free();
    Pump();
    SetDialogResponder(nullptr);
    mainwindow::TKOVAForm1::DataFolderOverride.clear();
    fs::remove_all(dir, ec);
    return 0;
}
