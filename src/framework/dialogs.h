// Message boxes and modal dialogs, all through one seam: when a responder
// is installed (tests do), it answers every box, dialog, popup menu and
// modal form instead of the real window, so nothing waits on a user.
#pragma once

#include "framework/graphics.h"
#include "framework/portable/component.h"
#include "framework/portable/msgdlg.h"

#include <functional>
#include <string>

namespace kova {

class TMenuItem;
class TPopupMenu;
class TCustomForm;

enum class TDialogKind { Message, Color, Font, Open, Save, Folder, Popup, ModalForm };

struct TDialogRequest {
    TDialogKind kind = TDialogKind::Message;
    std::string caption;  // window caption / dialog title
    std::string text;     // message text
    TMsgDlgType type = mtCustom;
    std::uint32_t buttons = mbOK;
    int helpContext = 0;            // message: the help topic of the Help button
    TColor color = clBlack;         // colour dialog: current colour
    const TFont* font = nullptr;    // font dialog: current font
    std::string fileName, initialDir, filter, defaultExt;
    TPopupMenu* menu = nullptr;     // popup: the menu shown
    int x = 0, y = 0;               // popup: screen point
    TCustomForm* form = nullptr;    // modal form
};

struct TDialogAnswer {
    // False: show the real dialog after all (a modal form then runs its
    // loop; tests use it with a form that closes itself).
    bool handled = true;
    int result = mrCancel;          // mrOk / mrYes / mrNo / mrCancel ...
    TColor color = clBlack;         // colour dialog
    std::string fileName;           // open / save dialogs
    std::string folder;             // folder chooser
    TMenuItem* item = nullptr;      // popup: the chosen item (nullptr: none)
    std::string fontName;           // font dialog (empty name: unchanged)
    int fontSize = 0;
    TColor fontColor = clBlack;
    std::uint32_t fontStyle = 0;
};

using TDialogResponder = std::function<TDialogAnswer(const TDialogRequest&)>;
void SetDialogResponder(TDialogResponder responder);  // empty: real dialogs
bool HasDialogResponder();
// Asks the responder; nullopt-like: handled=false when none is installed.
TDialogAnswer AskDialogResponder(const TDialogRequest& r);

class TScopedDialogResponder {
public:
    explicit TScopedDialogResponder(TDialogResponder r) { SetDialogResponder(std::move(r)); }
    ~TScopedDialogResponder() { SetDialogResponder(nullptr); }
};

// The one way a message box is shown: the responder answers when one is
// installed, otherwise the platform's box with MessageBoxStyle of the
// request's type and buttons, owned by the active window. Returns the
// modal result of the button pressed (mrOk, mrYes, mrAbort ...).
int ShowMessageRequest(const TDialogRequest& request);
// A box with the buttons and the application's title; the result as above.
int MessageDlg(const std::string& text, TMsgDlgType type, std::uint32_t buttons);
// The plain modal message box (title: the application's title).
void ShowMessage(const std::string& text);
// Folder chooser; false (and dir unchanged) when cancelled.
bool SelectDirectory(const std::string& caption, std::string& dir);

class TCommonDialog : public TComponent {
    KOVA_CLASS(TCommonDialog, TComponent)
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;
};

class TColorDialog : public TCommonDialog {
    KOVA_CLASS_PROPS(TColorDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    bool Execute() override;

private:
    static void DefineProps(TPropList& L);
    TColor color_ = clBlack;
};

class TFontDialog : public TCommonDialog {
    KOVA_CLASS_PROPS(TFontDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    TFont* Font() { return &font_; }
    bool Execute() override;
    TNotifyEvent OnApply;

private:
    static void DefineProps(TPropList& L);
    TFont font_;
};

class TOpenDialog : public TCommonDialog {
    KOVA_CLASS_PROPS(TOpenDialog, TCommonDialog)
public:
    using TCommonDialog::TCommonDialog;
    std::string FileName, Filter, DefaultExt, InitialDir, Title;
    bool Execute() override;

protected:
    virtual bool IsSave() const { return false; }

private:
    static void DefineProps(TPropList& L);
};

class TSaveDialog : public TOpenDialog {
    KOVA_CLASS(TSaveDialog, TOpenDialog)
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

}  // namespace kova
