// TFrameForm: a borderless window over a poker table that draws a coloured
// rectangle along the table's edges (green, amber, red for the turn alert's
// stages; nothing in state 0). Mouse input passes through it to the table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/forms.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

class TFrameForm : public kova::TForm {
    KOVA_CLASS(TFrameForm, kova::TForm)
public:
    explicit TFrameForm(kova::TComponent* owner);

    // Remembers the table window, becomes its owned window and shows.
    void AttachToTable(HWND table);
    // The colour state 0..3; follows the table when it moved.
    void SetState(int32_t state);

    int32_t CurrentState() const { return current_; }
    int32_t RequestedState() const { return requested_; }
    HWND Table() const { return table_; }
    // How many times the rectangle was drawn (tests see that nothing is
    // redrawn needlessly).
    int32_t DrawCount() const { return draws_; }
    uint32_t LastDrawnColour() const { return lastColour_; }

protected:
    void CreateParams(kova::TCreateParams& p) override;

private:
    void Draw(int32_t state);
    uint32_t Stroke(int32_t state);
    void ShapeToBand(const RECT& client, int32_t penWidth);
    SIZE bandSize_{-1, -1};
    int32_t bandPen_ = 0;
    HWND table_ = nullptr;
    int32_t current_ = 0;
    int32_t requested_ = 0;
    int32_t draws_ = 0;
    uint32_t lastColour_ = 0;
};

// The frame of a table (created and attached), as the scan's maker.
std::unique_ptr<TTableFrame> MakeFrameOverlay(TPokerTable& table);

}  // namespace kova::tables
