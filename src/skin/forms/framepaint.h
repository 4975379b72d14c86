// How a skinned form's frame is painted: its whole window image outside the
// client controls (border, caption, icon, caption text, added title, title
// buttons) is composed into one 32-bit picture, the cache of the provider's
// skin record, by TsSkinProvider::PaintNonClientCache; the form's message
// handling then copies rectangles of it to the window. These are the
// geometry and the pieces of that composition the handler and the title
// buttons share.
#pragma once

#include <windows.h>

namespace kova::skin {

class TsSkinProvider;

// The width of the cache picture: the form's width (the window rectangle's
// for an iconic form that is not the main form) plus the extended margins.
int FormWidth(TsSkinProvider& p);
// The height of the cache picture (an iconic form that is not the main
// form: its border, caption and 2 more rows).
int FormHeight(TsSkinProvider& p);
// The cache is missing or no longer the form's size.
bool CacheSizeChanged(TsSkinProvider& p);
// The frame strips (caption with menu line, left, bottom, right) copied
// from the cache into the window DC, the cache composed first when it is
// stale or no longer the form's size: what a non-client paint shows.
void PaintFrameStrips(TsSkinProvider& p, HDC dc);
// The clean caption strip right of the caption text, kept so that one
// title button can be repainted without composing the cache again; and put
// back under the buttons before they are laid out.
void CopyButtonsBg(TsSkinProvider& p, bool whole);
void RestoreButtonsBg(TsSkinProvider& p);

}  // namespace kova::skin
