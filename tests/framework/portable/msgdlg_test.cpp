#include "framework/portable/msgdlg.h"

#include <gtest/gtest.h>

namespace kova {
namespace {

TEST(MessageBoxStyle, ButtonsAndIcons) {
    const struct {
        int type;
        std::uint32_t buttons, style;
    } cases[] = {
        {mtConfirmation, mbYes | mbNo | mbCancel, 0x20 | 3},
        {mtConfirmation, mbYes | mbNo, 0x20 | 4},
        {mtConfirmation, mbYes | mbCancel, 0x20 | 3},  // Yes alone still asks Yes/No
        {mtWarning, mbOK | mbCancel, 0x30 | 1},
        {mtWarning, mbOK | mbYes, 0x30},               // OK wins
        {mtError, 0, 0x10},                            // no button: a plain OK box
        {mtInformation, mbOK | mbHelp, 0x40 | 0x4000},
        {mtError, mbAbort | mbRetry | mbIgnore, 0x10 | 2},
        {mtError, mbRetry | mbCancel, 0x10 | 5},
        {mtCustom, mbOK, 0},
        {7, mbOK, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MessageBoxStyle(c.type, c.buttons), c.style) << c.type << "/" << c.buttons;
}

}  // namespace
}  // namespace kova
