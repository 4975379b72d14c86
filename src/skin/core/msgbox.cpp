#include "skin/core/msgbox.h"

#include "skin/core/formsseam.h"

namespace kova::skin {

int MsgBoxPosX = -1;
int MsgBoxPosY = -1;

namespace {
MsgBoxShowFunc& ShowFunc() {
    static MsgBoxShowFunc f;
    return f;
}

void CALLBACK HelpCallback(LPHELPINFO info) {
    if (info == nullptr || info->dwContextId == 0) return;
    if (MsgBoxApp().ShowHelp) MsgBoxApp().ShowHelp(static_cast<DWORD>(info->dwContextId));
}
}  // namespace

FormSkinningServices& FormSkinning() {
    static FormSkinningServices s{[] { return false; }};
    return s;
}

MsgBoxApplication& MsgBoxApp() {
    static MsgBoxApplication a;
    return a;
}

void SetMsgBoxShowFunc(MsgBoxShowFunc f) { ShowFunc() = std::move(f); }

int ShowMsgBox(const std::string& msg, int dlgType, std::uint32_t buttons, int helpCtx) {
    return ShowMsgBoxAt(nullptr, msg, dlgType, -1, -1, helpCtx, buttons);
}

int ShowMsgBoxAt(const char* caption, const std::string& msg, int dlgType, int x, int y, int helpCtx,
                 std::uint32_t buttons) {
    const std::string title = caption ? std::string(caption) : MsgBoxDefaultCaption(dlgType);
    MSGBOXPARAMSA p{};
    p.cbSize = sizeof p;
    p.hwndOwner = MsgBoxApp().ApplicationWindow ? MsgBoxApp().ApplicationWindow() : nullptr;
    p.hInstance = GetModuleHandleA(nullptr);
    p.lpszText = msg.c_str();
    p.lpszCaption = title.c_str();
    p.dwStyle = MsgBoxStyle(dlgType, buttons);
    p.dwContextHelpId = static_cast<DWORD_PTR>(static_cast<unsigned>(helpCtx));
    p.lpfnMsgBoxCallback = HelpCallback;
    MsgBoxPosX = x;
    MsgBoxPosY = y;
    if (MsgBoxApp().ModalStarted) MsgBoxApp().ModalStarted();
    int result;
    // Reset the position and end the modal state even if the shower throws.
    struct Restore {
        ~Restore() {
            if (MsgBoxApp().ModalFinished) MsgBoxApp().ModalFinished();
            MsgBoxPosX = -1;
            MsgBoxPosY = -1;
        }
    } restore;
    if (ShowFunc())
        result = ShowFunc()(p);
    else
        result = MessageBoxIndirectA(&p);
    return result;
}

}  // namespace kova::skin
