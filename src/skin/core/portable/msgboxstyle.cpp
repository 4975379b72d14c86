#include "skin/core/portable/msgboxstyle.h"

namespace kova::skin {

std::uint32_t MsgBoxStyle(int dlgType, std::uint32_t buttons) {
    std::uint32_t style = 0;
    switch (dlgType) {
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

std::string MsgBoxDefaultCaption(int dlgType) {
    switch (dlgType) {
        case mtWarning: return "Warning";
        case mtError: return "Error";
        case mtInformation: return "Information";
        case mtConfirmation: return "Confirm";
        default: return "";
    }
}

}  // namespace kova::skin
