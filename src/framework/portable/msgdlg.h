// What a message box asks: its type, its buttons, the modal results, and
// the platform's style bits that show them. Window-free so that the mapping
// is the same everywhere it is tested.
#pragma once

#include <cstdint>

namespace kova {

// Modal results (also the results of message boxes: the platform's IDOK ...).
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : std::uint32_t {
    mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32, mbIgnore = 64, mbHelp = 0x400
};
constexpr std::uint32_t mbYesNo = mbYes | mbNo, mbYesNoCancel = mbYes | mbNo | mbCancel, mbOKCancel = mbOK | mbCancel;

// The platform's values (the numbers of the Windows headers).
inline constexpr std::uint32_t kMbOk = 0, kMbOkCancel = 1, kMbAbortRetryIgnore = 2, kMbYesNoCancel = 3,
                               kMbYesNo = 4, kMbRetryCancel = 5, kMbIconError = 0x10, kMbIconQuestion = 0x20,
                               kMbIconWarning = 0x30, kMbIconInformation = 0x40, kMbHelp = 0x4000;

// Style bits of a box of that type with those buttons: OK (with Cancel:
// OK/Cancel) wins; then Abort or Ignore give Abort/Retry/Ignore; Yes or No
// give Yes/No, with Cancel Yes/No/Cancel; Retry gives Retry/Cancel; nothing
// of these a plain OK box. Help adds the help button; types outside the four
// known ones show no icon.
std::uint32_t MessageBoxStyle(int type, std::uint32_t buttons);

}  // namespace kova
