// How the skin engine's message box maps a dialog type and a button set onto
// the platform's message-box style bits. Window-free so that the mapping is
// tested everywhere; the box itself is in win32/msgbox.h.
#pragma once

#include <cstdint>
#include <string>

namespace kova::skin {

enum TMsgDlgType : int { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3 };

// Button set bits.
inline constexpr std::uint32_t mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                               mbIgnore = 64, mbHelp = 0x400;

// Platform values (the same numbers as the Windows headers).
inline constexpr std::uint32_t kMbOk = 0, kMbOkCancel = 1, kMbAbortRetryIgnore = 2, kMbYesNoCancel = 3,
                               kMbYesNo = 4, kMbRetryCancel = 5, kMbIconError = 0x10, kMbIconQuestion = 0x20,
                               kMbIconWarning = 0x30, kMbIconInformation = 0x40, kMbHelp = 0x4000;

std::uint32_t MsgBoxStyle(int dlgType, std::uint32_t buttons);
// "Warning", "Error", "Information", "Confirm"; empty for other types.
std::string MsgBoxDefaultCaption(int dlgType);

}  // namespace kova::skin
