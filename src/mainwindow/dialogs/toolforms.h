// The long-lived tool forms that the program creates after the main form.
// Their pages and handlers arrive with the tool dialogs; for now each is a
// hidden form with its caption (from its description beside this file), so
// that the start-up creates them in order.
#pragma once

#include "framework/forms.h"

namespace kova::mainwindow {

class TAdvAutoReg : public TForm {
    KOVA_CLASS(TAdvAutoReg, TForm)
public:
    using TForm::TForm;
};

class TTOISettings : public TForm {
    KOVA_CLASS(TTOISettings, TForm)
public:
    using TForm::TForm;
};

class TTGrabberForm : public TForm {
    KOVA_CLASS(TTGrabberForm, TForm)
public:
    using TForm::TForm;
};

class TWindowCapture : public TForm {
    KOVA_CLASS(TWindowCapture, TForm)
public:
    using TForm::TForm;
};

extern TAdvAutoReg* AdvAutoReg;
extern TTOISettings* TOISettings;
extern TTGrabberForm* TGrabberForm;
extern TWindowCapture* WindowCapture;

}  // namespace kova::mainwindow
