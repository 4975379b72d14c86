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

#include <cstdio>
#include <string>
#include <vector>

#include "mainwindow/mainform/formbench.h"
#include "skin/core/skinmanager.h"

using namespace kova;
using namespace kova::bench;

namespace {

struct Mode {
    const char* name;
    bool fade;
    std::vector<double> ms;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = RunsArg(argc, argv, 21);
    TMainFormBench bench("skinbench");
    mainwindow::TKOVAForm1* form = bench.Open();
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
        Settle();
    }
    for (int r = 0; r < runs; ++r) {
        for (Mode& m : modes) {
            fade.Active = m.fade;
            const double start = NowMs();
            manager->SetSkinName(skins[static_cast<std::size_t>(next++ % 2)]);
            Settle();
            m.ms.push_back(NowMs() - start);
        }
    }
    fade.Active = fadeWas;
    for (const Mode& m : modes)
        std::printf("  %-42s median %7.1f ms   worst %7.1f ms\n", m.name, Median(m.ms), Worst(m.ms));
    return 0;
}
