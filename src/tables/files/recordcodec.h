// Byte layouts of the records that several data files share. Each Get reads
// a record from exactly its ByteSize bytes at p; each Put writes exactly
// those bytes.
#pragma once

#include <cstdint>

#include "tables/model/variables.h"

namespace kova::tables {

// TTitleSpec: Text 0-100, Operand1 101-141, Operand2 142-182, Operand3
// 183-223, Operator1 224-234, Operator2 235-245.
void GetTitleSpec(const uint8_t* p, TTitleSpec& t);
void PutTitleSpec(uint8_t* p, const TTitleSpec& t);

// TWindowSize: Name 0-40, padding 41-43, Width 44, Height 48.
void GetWindowSize(const uint8_t* p, TWindowSize& s);
void PutWindowSize(uint8_t* p, const TWindowSize& s);

// TSlotRec: eight int32 in field order.
void GetSlot(const uint8_t* p, TSlotRec& s);
void PutSlot(uint8_t* p, const TSlotRec& s);

// TScaleRef / TColourPoint: four int32 in field order (16 bytes).
void GetScaleRef(const uint8_t* p, TScaleRef& r);
void PutScaleRef(uint8_t* p, const TScaleRef& r);
void GetColourPoint(const uint8_t* p, TColourPoint& c);
void PutColourPoint(uint8_t* p, const TColourPoint& c);
// A colour as three bytes, red first.
inline TRGB GetRGB(const uint8_t* p) { return TRGB{p[0], p[1], p[2]}; }
inline void PutRGB(uint8_t* p, const TRGB& c) {
    p[0] = c.R;
    p[1] = c.G;
    p[2] = c.B;
}

// TMacroClick: Enabled, X, Y, XMin, YMin (int32 each).
void GetMacroClick(const uint8_t* p, TMacroClick& c);
void PutMacroClick(uint8_t* p, const TMacroClick& c);

// THotKeyBinding: SharedNumber 0-3, kept 4-51, Modifier 52-55, Key 56-59.
void GetHotKeyBinding(const uint8_t* p, THotKeyBinding& b);
void PutHotKeyBinding(uint8_t* p, const THotKeyBinding& b);

// TRoomHotKey: binding 0-59, ClickCount 60-63, eight clicks from 64.
void GetRoomHotKey(const uint8_t* p, TRoomHotKey& h);
void PutRoomHotKey(uint8_t* p, const TRoomHotKey& h);

// TEventMacro (328 bytes): see pokerrooms_file.h.
void GetEventMacro(const uint8_t* p, TEventMacro& e);
void PutEventMacro(uint8_t* p, const TEventMacro& e);

}  // namespace kova::tables
