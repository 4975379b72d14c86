// The menu line of a skinned form with a main menu: painted into the
// provider's cache right under the caption, with every visible top-level
// item drawn on it by the skinned menu painter.
#pragma once

#include <windows.h>

namespace kova::skin {

class TsSkinProvider;

// Whether the form shows a skinned menu line now.
bool MenuLineShown(TsSkinProvider& p);
// The menu line into the cache: its section over (ext.left, titleBottom)
// to the right margin, one row of the bar high per row plus one pixel, the
// provider's WorkBmp filled from it, then the items. Nothing here changes
// the form's menu (it is made owner-drawn outside any paint).
void PaintMenuLine(TsSkinProvider& p, int titleBottom, const RECT& ext, int bws, int state);

}  // namespace kova::skin
