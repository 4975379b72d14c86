#pragma once
// What the main form's in-process benches under Wine share: the real main
// form over a scratch data folder (every box answered OK, since nobody is
// there to answer), opened skinned or with the skin off, and the wait until
// every window of ours is painted.
#include <filesystem>
#include <string>

#include "common/benchtiming.h"
#include "mainwindow/mainform/main.h"

namespace kova::bench {

// Runs the messages waiting in this thread's queue.
void Pump();

// Runs the posted messages, then paints whatever of our windows is still
// invalid, until no skin change and no form animation is running.
void Settle();

// The scratch data folder and the dialog seam for the bench's life.
class TMainFormBench {
public:
    explicit TMainFormBench(const std::string& tag);
    ~TMainFormBench();
    TMainFormBench(const TMainFormBench&) = delete;
    TMainFormBench& operator=(const TMainFormBench&) = delete;

    const std::filesystem::path& Folder() const { return dir_; }

    // Creates and shows the main form (with the skin off: as "/noskin"
    // starts it), in front, once its first activation is done and every
    // window is painted.
    mainwindow::TKOVAForm1* Open(bool skinned = true);
    // Frees the form Open made (none: nothing).
    void Close();

private:
    std::filesystem::path dir_;
    mainwindow::TKOVAForm1* form_ = nullptr;
};

}  // namespace kova::bench
