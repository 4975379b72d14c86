#include "skin/core/msgbox.h"

#include "framework/dialogs.h"
#include "skin/core/skinservices.h"

namespace kova::skin {

int ShowMsgBox(const std::string& msg, int dlgType, std::uint32_t buttons, int helpCtx) {
    return ShowMsgBoxAt(nullptr, msg, dlgType, -1, -1, helpCtx, buttons);
}

int ShowMsgBoxAt(const char* caption, const std::string& msg, int dlgType, int x, int y, int helpCtx,
                 std::uint32_t buttons) {
    TDialogRequest r;
    r.kind = TDialogKind::Message;
    r.caption = caption ? std::string(caption) : MsgBoxDefaultCaption(dlgType);
    r.text = msg;
    r.type = dlgType >= mtWarning && dlgType <= mtConfirmation ? static_cast<TMsgDlgType>(dlgType) : mtCustom;
    r.buttons = buttons;
    r.helpContext = helpCtx;
    DialogPosX = x;
    DialogPosY = y;
    if (MsgBoxApp().ModalStarted) MsgBoxApp().ModalStarted();
    // Reset the position and end the modal state even if the box throws.
    struct Restore {
        ~Restore() {
            if (MsgBoxApp().ModalFinished) MsgBoxApp().ModalFinished();
            DialogPosX = -1;
            DialogPosY = -1;
        }
    } restore;
    return ShowMessageRequest(r);
}

}  // namespace kova::skin
