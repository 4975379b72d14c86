// Colours as the framework stores them: 0x00BBGGRR, or a system colour as
// 0x80000000 | the system colour index. Window-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kova {

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index)); }
constexpr TColor clScrollBar = SysColor(0), clBackground = SysColor(1), clActiveCaption = SysColor(2),
                 clInactiveCaption = SysColor(3), clMenu = SysColor(4), clWindow = SysColor(5),
                 clWindowFrame = SysColor(6), clMenuText = SysColor(7), clWindowText = SysColor(8),
                 clCaptionText = SysColor(9), clActiveBorder = SysColor(10), clInactiveBorder = SysColor(11),
                 clAppWorkSpace = SysColor(12), clHighlight = SysColor(13), clHighlightText = SysColor(14),
                 clBtnFace = SysColor(15), clBtnShadow = SysColor(16), clGrayText = SysColor(17),
                 clBtnText = SysColor(18), clInactiveCaptionText = SysColor(19), clBtnHighlight = SysColor(20),
                 cl3DDkShadow = SysColor(21), cl3DLight = SysColor(22), clInfoText = SysColor(23),
                 clInfoBk = SysColor(24);

constexpr bool IsSysColor(TColor c) { return (static_cast<std::uint32_t>(c) & 0xFF000000u) == 0x80000000u; }
constexpr TColor RGBColor(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int ColorR(TColor c) { return c & 0xFF; }
constexpr int ColorG(TColor c) { return (c >> 8) & 0xFF; }
constexpr int ColorB(TColor c) { return (c >> 16) & 0xFF; }

// "clRed" <-> value; also accepts a number ("$00FF00", "255").
std::optional<TColor> IdentToColor(std::string_view ident);
std::string ColorToIdent(TColor c);

}  // namespace kova
