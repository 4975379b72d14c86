#include "tables/files/recordcodec.h"

#include "tables/files/byteio.h"

namespace kova::tables {

void GetTitleSpec(const uint8_t* p, TTitleSpec& t) {
    GetShort(p + 0, t.Text);
    GetShort(p + 101, t.Operand1);
    GetShort(p + 142, t.Operand2);
    GetShort(p + 183, t.Operand3);
    GetShort(p + 224, t.Operator1);
    GetShort(p + 235, t.Operator2);
}

void PutTitleSpec(uint8_t* p, const TTitleSpec& t) {
    PutShort(p + 0, t.Text);
    PutShort(p + 101, t.Operand1);
    PutShort(p + 142, t.Operand2);
    PutShort(p + 183, t.Operand3);
    PutShort(p + 224, t.Operator1);
    PutShort(p + 235, t.Operator2);
}

void GetWindowSize(const uint8_t* p, TWindowSize& s) {
    GetShort(p, s.Name);
    GetBytes(p + 41, s.Padding);
    s.Width = GetI32(p + 44);
    s.Height = GetI32(p + 48);
}

void PutWindowSize(uint8_t* p, const TWindowSize& s) {
    PutShort(p, s.Name);
    PutBytes(p + 41, s.Padding);
    PutI32(p + 44, s.Width);
    PutI32(p + 48, s.Height);
}

void GetSlot(const uint8_t* p, TSlotRec& s) {
    s.Left = GetI32(p + 0);
    s.Top = GetI32(p + 4);
    s.Width = GetI32(p + 8);
    s.Height = GetI32(p + 12);
    s.ActLeft = GetI32(p + 16);
    s.ActTop = GetI32(p + 20);
    s.ActWidth = GetI32(p + 24);
    s.ActHeight = GetI32(p + 28);
}

void PutSlot(uint8_t* p, const TSlotRec& s) {
    PutI32(p + 0, s.Left);
    PutI32(p + 4, s.Top);
    PutI32(p + 8, s.Width);
    PutI32(p + 12, s.Height);
    PutI32(p + 16, s.ActLeft);
    PutI32(p + 20, s.ActTop);
    PutI32(p + 24, s.ActWidth);
    PutI32(p + 28, s.ActHeight);
}

void GetScaleRef(const uint8_t* p, TScaleRef& r) {
    r.W = GetI32(p);
    r.H = GetI32(p + 4);
    r.WMin = GetI32(p + 8);
    r.HMin = GetI32(p + 12);
}

void PutScaleRef(uint8_t* p, const TScaleRef& r) {
    PutI32(p, r.W);
    PutI32(p + 4, r.H);
    PutI32(p + 8, r.WMin);
    PutI32(p + 12, r.HMin);
}

void GetColourPoint(const uint8_t* p, TColourPoint& c) {
    c.X = GetI32(p);
    c.Y = GetI32(p + 4);
    c.XMin = GetI32(p + 8);
    c.YMin = GetI32(p + 12);
}

void PutColourPoint(uint8_t* p, const TColourPoint& c) {
    PutI32(p, c.X);
    PutI32(p + 4, c.Y);
    PutI32(p + 8, c.XMin);
    PutI32(p + 12, c.YMin);
}

void GetMacroClick(const uint8_t* p, TMacroClick& c) {
    c.Enabled = GetI32(p);
    c.X = GetI32(p + 4);
    c.Y = GetI32(p + 8);
    c.XMin = GetI32(p + 12);
    c.YMin = GetI32(p + 16);
}

void PutMacroClick(uint8_t* p, const TMacroClick& c) {
    PutI32(p, c.Enabled);
    PutI32(p + 4, c.X);
    PutI32(p + 8, c.Y);
    PutI32(p + 12, c.XMin);
    PutI32(p + 16, c.YMin);
}

void GetHotKeyBinding(const uint8_t* p, THotKeyBinding& b) {
    b.SharedNumber = GetI32(p);
    GetBytes(p + 4, b.Kept4);
    b.Modifier = GetI32(p + 52);
    b.Key = GetI32(p + 56);
}

void PutHotKeyBinding(uint8_t* p, const THotKeyBinding& b) {
    PutI32(p, b.SharedNumber);
    PutBytes(p + 4, b.Kept4);
    PutI32(p + 52, b.Modifier);
    PutI32(p + 56, b.Key);
}

void GetRoomHotKey(const uint8_t* p, TRoomHotKey& h) {
    GetHotKeyBinding(p, h.Binding);
    h.ClickCount = GetI32(p + 60);
    for (std::size_t i = 0; i < h.Clicks.size(); ++i) GetMacroClick(p + 64 + i * TMacroClick::ByteSize, h.Clicks[i]);
}

void PutRoomHotKey(uint8_t* p, const TRoomHotKey& h) {
    PutHotKeyBinding(p, h.Binding);
    PutI32(p + 60, h.ClickCount);
    for (std::size_t i = 0; i < h.Clicks.size(); ++i) PutMacroClick(p + 64 + i * TMacroClick::ByteSize, h.Clicks[i]);
}

void GetEventMacro(const uint8_t* p, TEventMacro& e) {
    std::memcpy(e.KeptBytes.data(), p, TEventMacro::ByteSize);
    e.Enabled = p[41];
    e.OnTurn = p[42];
    e.OnColour = p[43];
    e.SameClick = p[44];
    e.OnlyActive = p[45];
    e.TurnDelayMin = GetF64(p + 64);
    e.ColourDelayMin = GetF64(p + 72);
    e.TurnDelayMax = GetF64(p + 80);
    e.ColourDelayMax = GetF64(p + 88);
    GetScaleRef(p + 112, e.ScaleRef);
    GetColourPoint(p + 128, e.Point);
    e.Colour = GetRGB(p + 144);
    e.Colour2 = GetRGB(p + 147);
    e.Tolerance = GetI32(p + 156);
    e.Tolerance2 = GetI32(p + 160);
    GetMacroClick(p + 168, e.Click);
}

void PutEventMacro(uint8_t* p, const TEventMacro& e) {
    std::memcpy(p, e.KeptBytes.data(), TEventMacro::ByteSize);
    p[41] = e.Enabled;
    p[42] = e.OnTurn;
    p[43] = e.OnColour;
    p[44] = e.SameClick;
    p[45] = e.OnlyActive;
    PutF64(p + 64, e.TurnDelayMin);
    PutF64(p + 72, e.ColourDelayMin);
    PutF64(p + 80, e.TurnDelayMax);
    PutF64(p + 88, e.ColourDelayMax);
    PutScaleRef(p + 112, e.ScaleRef);
    PutColourPoint(p + 128, e.Point);
    PutRGB(p + 144, e.Colour);
    PutRGB(p + 147, e.Colour2);
    PutI32(p + 156, e.Tolerance);
    PutI32(p + 160, e.Tolerance2);
    PutMacroClick(p + 168, e.Click);
}

}  // namespace kova::tables
