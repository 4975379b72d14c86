#include "mainwindow/dialogs/toolforms.h"

namespace kova::mainwindow {

TAdvAutoReg* AdvAutoReg = nullptr;
TTOISettings* TOISettings = nullptr;
TTGrabberForm* TGrabberForm = nullptr;
TWindowCapture* WindowCapture = nullptr;

}  // namespace kova::mainwindow
