// The caption's mouse and the system commands of a skinned form: the
// handlers the form's message handler hands these messages to.
#pragma once

#include <windows.h>

#include "framework/controls.h"

namespace kova::skin {

class TsSkinProvider;

void CaptionHitTestMsg(TsSkinProvider& p, TMessage& m);
void NCMouseMove(TsSkinProvider& p, TMessage& m);
void NCButtonDown(TsSkinProvider& p, TMessage& m);
// WM_NCLBUTTONUP, and WM_LBUTTONUP while a title button or an outline
// drag holds the mouse.
void NCButtonUp(TsSkinProvider& p, TMessage& m);
void NCDoubleClick(TsSkinProvider& p, TMessage& m);
void SysCommand(TsSkinProvider& p, TMessage& m);
// WM_MOUSEMOVE: passed on; an outline drag follows the mouse.
void MouseMove(TsSkinProvider& p, TMessage& m);
// The mouse capture went elsewhere: a pressed button and an outline drag
// end without acting.
void CaptureLost(TsSkinProvider& p);

}  // namespace kova::skin
