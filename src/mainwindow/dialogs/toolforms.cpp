#include "mainwindow/dialogs/toolforms.h"

namespace kova::mainwindow {

TAdvAutoReg* AdvAutoReg = nullptr;
TTOISettings* TOISettings = nullptr;
TTGrabberForm* TGrabberForm = nullptr;
TWindowCapture* WindowCapture = nullptr;

namespace {
std::string Shell(const char* name, const char* cls, const char* caption, int w, int h) {
    return std::string("object ") + name + ": " + cls + "\nLeft = 200\nTop = 200\nWidth = " + std::to_string(w) +
           "\nHeight = " + std::to_string(h) + "\nCaption = '" + caption + "'\nBorderStyle = bsToolWindow\nend\n";
}
}  // namespace

std::string TAdvAutoReg::FormDescription() const {
    return Shell("AdvAutoReg", "TAdvAutoReg", "Auto-registration settings", 320, 240);
}
std::string TTOISettings::FormDescription() const {
    return Shell("TOISettings", "TTOISettings", "TOI settings", 320, 240);
}
std::string TTGrabberForm::FormDescription() const {
    return Shell("TGrabberForm", "TTGrabberForm", "Window details", 320, 200);
}
std::string TWindowCapture::FormDescription() const {
    return Shell("WindowCapture", "TWindowCapture", "Window capture", 320, 240);
}

}  // namespace kova::mainwindow
