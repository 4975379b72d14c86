#include "skin/controls/portable/smallgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "skin/core/portable/pixels.h"

namespace kova::skin {

namespace {
constexpr TRect Move(TRect r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
bool Inside(const TRect& r, TPoint p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
}  // namespace

int GlyphImageWidth(int bitmapWidth, int numGlyphs) { return bitmapWidth / std::max(numGlyphs, 1); }

TSpeedButtonLayout LayoutSpeedButton(const TSpeedButtonLayoutInput& in) {
    const bool glyph = in.GlyphWidth > 0 && in.GlyphHeight > 0;
    const bool caption = in.CaptionWidth > 0 && in.CaptionHeight > 0;
    const int gw = glyph ? in.GlyphWidth : 0, gh = glyph ? in.GlyphHeight : 0;
    const int cw = caption ? in.CaptionWidth : 0, ch = caption ? in.CaptionHeight : 0;
    const int gap = glyph && caption ? in.Spacing : 0;
    // The free room left when glyph, gap and caption stand side by side
    // (or one above the other), split evenly.
    const int cx = HalfUp(in.Width - gw - gap - cw);
    const int cy = HalfUp(in.Height - gh - gap - ch);
    const bool centred = in.Margin == -1;
    TSpeedButtonLayout out;
    if (glyph) {
        int x = 0, y = 0;
        switch (in.Layout) {
            case glGlyphLeft:
                x = centred ? cx : in.Margin;
                y = HalfUp(in.Height - gh);
                break;
            case glGlyphRight:
                x = in.Width - (centred ? cx : in.Margin) - gw;
                y = HalfUp(in.Height - gh);
                break;
            case glGlyphTop:
                x = HalfUp(in.Width - gw);
                y = centred ? cy : in.Margin;
                break;
            case glGlyphBottom:
                x = HalfUp(in.Width - gw);
                y = in.Height - (centred ? cy : in.Margin) - gh;
                break;
        }
        out.Glyph = {x, y, x + gw, y + gh};
    }
    if (caption) {
        int x = HalfUp(in.Width - cw), y = HalfUp(in.Height - ch);
        if (glyph) {
            switch (in.Layout) {
                case glGlyphLeft: x = out.Glyph.Right + in.Spacing; break;
                case glGlyphRight: x = out.Glyph.Left - in.Spacing - cw; break;
                case glGlyphTop: y = out.Glyph.Bottom + in.Spacing; break;
                case glGlyphBottom: y = out.Glyph.Top - in.Spacing - ch; break;
            }
        } else if (!centred) {
            switch (in.Layout) {
                case glGlyphLeft: x = in.Margin; break;
                case glGlyphRight: x = in.Width - in.Margin - cw; break;
                case glGlyphTop: y = in.Margin; break;
                case glGlyphBottom: y = in.Height - in.Margin - ch; break;
            }
        }
        out.Caption = {x, y, x + cw, y + ch};
    }
    if (in.Pressed) {
        if (glyph) out.Glyph = Move(out.Glyph, 1, 1);
        if (caption) out.Caption = Move(out.Caption, 1, 1);
    }
    return out;
}

int ToolButtonState(std::uint32_t state, bool pressedLook) {
    if (pressedLook || (state & (cdsSelected | cdsChecked)) != 0) return 2;
    if (state == 0 || state == cdsDisabled) return 0;
    return 1;
}

bool UseHotImages(int state, bool hasHotImages, int hotImageCount, int imageIndex) {
    return state != 0 && hasHotImages && hotImageCount > imageIndex;
}

TRect ToolButtonGlyphRect(const TToolGlyphInput& in) {
    int x = 0, y = 0;
    if (in.ListStyle) {
        x = 5;
        y = HalfUp(in.ButtonHeight - in.ImageHeight);
    } else {
        x = HalfUp(in.ButtonWidth - in.ImageWidth) + 1 - (in.DropDown ? 8 : 0);
        y = HalfUp(in.ButtonHeight - in.ImageHeight - (in.ShowCaptions ? in.TextHeight + 3 : 0));
    }
    TRect r{x, y, x + in.ImageWidth, y + in.ImageHeight};
    return in.State == 2 ? Move(r, 1, 1) : r;
}

TCaptionLines SplitToolButtonCaption(const std::string& text, int width,
                                     const std::function<int(const std::string&)>& widthOf) {
    if (widthOf(text) <= width) return {text, {}};
    for (std::size_t at = text.rfind(' '); at != std::string::npos && at > 0; at = text.rfind(' ', at - 1)) {
        const std::string first = text.substr(0, at);
        if (widthOf(first) <= width) return {first, text.substr(at + 1)};
    }
    return {text, {}};
}

TRect ToolButtonCaptionRect(const TToolCaptionInput& in) {
    const int bw = in.ButtonWidth - in.ArrowWidth;
    TRect r;
    if (in.ListStyle) {
        r = {in.HasImage ? in.ImageWidth + 6 : 1, 2, bw - 2, in.ButtonHeight - 2};
    } else {
        const int x = HalfUp(bw - in.TextWidth);
        const int gap = in.HasImage ? HalfUp(in.ButtonHeight - in.ImageHeight - in.TextHeight - 3)
                                    : HalfUp(in.ButtonHeight - in.TextHeight);
        const int y = in.HasImage ? in.ImageHeight + gap + 3 : gap;
        r = {x - 1, y, bw - x + 2, in.ButtonHeight - gap};
    }
    return in.State == 2 ? Move(r, 1, 1) : r;
}

int NextHotButton(const std::vector<TToolHitButton>& buttons, TPoint at, int current) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (!Inside(buttons[i].Rect, at)) continue;
        if (buttons[i].Separator) return -1;
        return buttons[i].Enabled ? static_cast<int>(i) : current;
    }
    return -1;
}

TSpinHalves SpinHalves(int width, int height, bool vertical, int leftOffset) {
    if (vertical)
        return {{leftOffset, 0, width, HalfUp(height)}, {leftOffset, height / 2, width, height}};
    return {{0, 0, HalfUp(width), height}, {width / 2, 0, width, height}};
}

void SpinHalfStates(const TSpinHalves& h, bool cursorInside, TPoint cursor, bool mouseDown, int& first, int& second) {
    first = second = 0;
    if (!cursorInside) return;
    const int s = mouseDown ? 2 : 1;
    if (Inside(h.First, cursor))
        first = s;
    else if (Inside(h.Second, cursor))
        second = s;
}

TTrackTicks TrackTickPositions(int channelStart, int channelLength, int thumbLength, int count) {
    TTrackTicks t;
    if (count <= 0) return t;
    t.Step = count > 1 ? static_cast<double>(channelLength - thumbLength) / (count - 1) : 0.0;
    const int first = channelStart + HalfUp(thumbLength);
    t.Positions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) t.Positions.push_back(static_cast<int>(std::lround(i * t.Step + first)));
    return t;
}

TTickSides TrackTickSides(int channelStartAcross, int channelEndAcross, int thumbThickness, int channelThickness,
                          int tickLength) {
    const int offset = HalfUp(thumbThickness - channelThickness) + 2;
    return {channelStartAcross - offset - tickLength, channelEndAcross + offset};
}

std::string PanelSectionForBevels(TPanelBevel outer, TPanelBevel inner, bool hasBorder) {
    switch (outer) {
        case pbLowered: return inner == pbRaised ? "GROUPBOX" : "PANEL_LOW";
        case pbRaised: return inner == pbLowered ? "GROUPBOX" : "PANEL";
        default: return hasBorder ? "PANEL_LOW" : "CHECKBOX";
    }
}

namespace {
const char* SectionOfOuterBevel(TPanelBevel b) {
    switch (b) {
        case pbNone: return "CHECKBOX";
        case pbLowered: return "PANEL_LOW";
        case pbRaised: return "PANEL";
        default: return nullptr;
    }
}
}  // namespace

std::string PanelSectionOnBevelChange(TPanelBevel oldOuter, const std::string& section, TPanelBevel newOuter) {
    const char* from = SectionOfOuterBevel(oldOuter);
    const char* to = SectionOfOuterBevel(newOuter);
    if (from == nullptr || to == nullptr || section != from) return section;
    return to;
}

TRect PanelCaptionRect(const TRect& client, int borderWidth, int bevelWidth, TPanelBevel outer, TPanelBevel inner) {
    const int inset = borderWidth + (outer != pbNone ? bevelWidth : 0) + (inner != pbNone ? bevelWidth : 0);
    return {client.Left + inset, client.Top + inset, client.Right - inset, client.Bottom - inset};
}

std::uint32_t PanelFillColor(std::uint32_t reference, std::uint32_t sectionColor, int transparency) {
    if (transparency <= 0) return sectionColor;
    if (transparency >= 100) return reference;
    return MixColors(reference, sectionColor, transparency / 100.0);
}

TRect StatusPanelTextRect(const TRect& panel) { return {panel.Left + 2, panel.Top, panel.Right - 4, panel.Bottom - 1}; }

const std::vector<std::string>& ExcludedWindowClasses() {
    static const std::vector<std::string> list = {"TApplication", "TfcPopup"};
    return list;
}

bool IsExcludedWindowClass(const char* className) {
    if (className == nullptr) return false;
    const auto& list = ExcludedWindowClasses();
    return std::binary_search(list.begin(), list.end(), std::string(className));
}

}  // namespace kova::skin
