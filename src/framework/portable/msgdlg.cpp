#include "framework/portable/msgdlg.h"

namespace kova {

std::uint32_t MessageBoxStyle(int type, std::uint32_t buttons) {
    std::uint32_t style = 0;
    switch (type) {
        case mtWarning: style = kMbIconWarning; break;
        case mtError: style = kMbIconError; break;
        case mtInformation: style = kMbIconInformation; break;
        case mtConfirmation: style = kMbIconQuestion; break;
        default: break;
    }
    if (buttons & mbOK)
        style |= (buttons & mbCancel) ? kMbOkCancel : kMbOk;
    else if (buttons & (mbAbort | mbIgnore))
        style |= kMbAbortRetryIgnore;
    else if (buttons & (mbYes | mbNo))
        style |= (buttons & mbCancel) ? kMbYesNoCancel : kMbYesNo;
    else if (buttons & mbRetry)
        style |= kMbRetryCancel;
    if (buttons & mbHelp) style |= kMbHelp;
    return style;
}

}  // namespace kova
