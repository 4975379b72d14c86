// What the painting benchmarks share: the median of many timed runs, and
// the skin they paint (the built-in light skin, its form given a gradient
// as well, so that a form exercises the masked border and the gradient).
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "skin/core/model/internalskins.h"
#include "skin/core/model/skinmodel.h"

namespace kova::skin::bench {

// `settle` runs after each call, inside the timing (e.g. GdiFlush, so that
// batched GDI work is counted where it was asked for).
inline double MedianMs(int runs, const std::function<void()>& f, const std::function<void()>& settle = {}) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto a = std::chrono::steady_clock::now();
        f();
        if (settle) settle();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

inline void LoadBenchSkin(TsSkinModel& skin) {
    skin.SetCommonSections({"[FORM]", "GRADIENTDATA=15528436;14410728;60;0;0;14410728;13358813;40;0;0",
                            "GRADIENTPERCENT=100"});
    skin.LoadStoredData(InternalSkinData("Linen"));
}

}  // namespace kova::skin::bench
