// The AutoPlace page of the real main form under Wine building and showing
// 200 slot rows (a label and eight skinned edits each for the rows in the
// scroll box's view, the scroll range for all of them): the
// time from a click on a group of 200 slots in the group list until every
// window of ours is painted, skinned and with the skin off (as "/noskin"
// starts the program), side by side in the same turns. The rows are made
// once per form and kept, so each run opens a fresh main form on the
// AutoPlace page with a group of no slots selected; the first turn of each
// warms up and is not counted. Prints each one's median and worst in ms
// and the ratio of the medians.
//
//   tools/testenv/wine-run build/win64/bin/kova_mainwindow_autoplacebench.exe [--runs N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/comctrls.h"
#include "mainwindow/mainform/formbench.h"
#include "mainwindow/mainform/testfiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"

using namespace kova;
using namespace kova::bench;

namespace {

constexpr int kRows = 200;

struct Mode {
    const char* name;
    bool skinned;
    std::vector<double> ms;
};

TTabSheet* SheetOf(TWinControl* c) {
    for (; c; c = c->Parent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(c)) return sheet;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = RunsArg(argc, argv, 7);
    TMainFormBench bench("autoplacebench");
    test::TestGroupData none{"No slots", "Bench table", "*", {}};
    test::TestGroupData many{"200 slots", "Bench table", "*", {}};
    for (int i = 0; i < kRows; ++i) many.slots.push_back({10 * (i % 40), 10 * (i / 40), 400, 300});
    test::WriteFile((bench.Folder() / tables::PlaceConfigFileName).string(),
                    test::PlaceConfigFile({{"Bench", {none, many}}}, 0));
    test::WriteFile((bench.Folder() / tables::PokerRoomsFileName).string(),
                    test::PokerRoomRecord("Test Room", "KovaBenchTable"));

    Mode modes[] = {{"skinned", true, {}}, {"skin off", false, {}}};
    for (int run = 0; run <= runs; ++run) {
        // Each turn is led by the other mode: what one form leaves behind
        // (Wine tidying up after 1,800 windows) falls on both alike.
        for (int k = 0; k < 2; ++k) {
            Mode& m = modes[(k + run) % 2];
            mainwindow::TKOVAForm1* form = bench.Open(m.skinned);
            mainwindow::TAutoPlacePage& page = form->AutoPlace();
            TTabSheet* sheet = SheetOf(page.GroupListBox);
            if (!sheet || page.GroupListBox->Items()->Count() < 2 || !page.Rows.empty()) {
                std::fprintf(stderr, "autoplacebench: the page does not show the bench's config\n");
                return 1;
            }
            form->PageControl1->SetActivePage(sheet);
            Settle();
            const double start = NowMs();
            page.GroupListBox->SetItemIndex(1);
            page.GroupListBoxClick();
            Settle();
            const double ms = NowMs() - start;
            // The rows in view have controls; the scroll range covers all.
            SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
            GetScrollInfo(page.ScrollBox1->Handle(), SB_VERT, &si);
            if (page.Model.VisibleRowCount() != kRows || page.Rows.empty() || !page.RowOf(0) ||
                si.nMax + 1 < 76 + 20 * (kRows - 1) + 17) {
                std::fprintf(stderr, "autoplacebench: the page shows no %d rows\n", kRows);
                return 1;
            }
            std::fprintf(stderr, "%s %s: %.1f ms (%zu rows of controls)\n", run > 0 ? "run" : "warm-up", m.name, ms,
                         page.Rows.size());
            if (run > 0) m.ms.push_back(ms);
            bench.Close();
        }
    }
    std::printf("the AutoPlace page building and showing %d slot rows under Wine, %d runs each, in turn\n", kRows,
                runs);
    for (const Mode& m : modes)
        std::printf("  %-10s median %7.1f ms   worst %7.1f ms\n", m.name, Median(m.ms), Worst(m.ms));
    std::printf("  skinned / skin off: %.2f\n", Median(modes[0].ms) / std::max(Median(modes[1].ms), 0.001));
    return 0;
}
