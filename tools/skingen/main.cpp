// skingen OUTDIR: paints the program's own skins. Every image the skins use
// is drawn here in code, so the art is reproducible and can be reviewed and
// changed like any other source: a light skin ("Linen") and a dark one
// ("Slate"), each written as a skin folder OUTDIR/<name> with "Options.dat"
// and "Master.bmp". The master bitmap holds every image with its grey
// transparency mask below it (black opaque, white transparent), so rounded
// corners and glyphs are smooth on any background.
//
// The folders are packed with skinpack and built into the program; a test
// runs this generator again and compares.
//
// It also draws the shared pictures of the skinning units into
// OUTDIR/images: five 48 x 16 strips of three 16 x 16 glyphs (normal, hot,
// pressed) for the buttons of skinned edits ("SF" folder, "SR" reload, "SD"
// date, "SE" more, "SC" calculator) and the shadows of extended borders
// ("acSHDA" active, "acSHDI" inactive), each a PNG with alpha, and the
// default image hint ("ACHINT").
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "framework/portable/numformat.h"
#include "skin/core/model/pictures.h"

namespace fs = std::filesystem;
using kova::Format;
using kova::skin::Bitmap32;

namespace {

// ------------------------------------------------------------------ colour

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // 0..1, straight alpha
};
Rgba Hex(std::uint32_t rgb, double a = 1) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, a};
}
Rgba Mix(const Rgba& x, const Rgba& y, double t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}
// The skin's colour values are 0x00BBGGRR.
std::string Colour(std::uint32_t rgb) {
    return std::to_string(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// --------------------------------------------------------------- painting

// A state image with straight alpha, painted with anti-aliased shapes.
class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h)) {}
    int W() const { return w_; }
    int H() const { return h_; }
    const Rgba& At(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }
    void Put(int x, int y, const Rgba& p) { px_[static_cast<std::size_t>(y * w_ + x)] = p; }

    // "Over" with coverage; the colour may vary by pixel.
    void Shade(const std::function<double(double, double)>& coverage, const std::function<Rgba(double, double)>& colour) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                const double cx = x + 0.5, cy = y + 0.5;
                const double c = std::clamp(coverage(cx, cy), 0.0, 1.0);
                if (c <= 0) continue;
                Rgba s = colour(cx, cy);
                s.a *= c;
                Rgba& d = px_[static_cast<std::size_t>(y * w_ + x)];
                const double a = s.a + d.a * (1 - s.a);
                if (a <= 0) continue;
                d.r = (s.r * s.a + d.r * d.a * (1 - s.a)) / a;
                d.g = (s.g * s.a + d.g * d.a * (1 - s.a)) / a;
                d.b = (s.b * s.a + d.b * d.a * (1 - s.a)) / a;
                d.a = a;
            }
    }

private:
    int w_, h_;
    std::vector<Rgba> px_;
};

// Signed distance to a rounded rectangle (negative inside).
double RoundRectDistance(double x, double y, double l, double t, double r, double b, double radius) {
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    const double hx = (r - l) / 2 - radius, hy = (b - t) / 2 - radius;
    const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

auto RoundRect(double l, double t, double r, double b, double radius) {
    return [=](double x, double y) { return 0.5 - RoundRectDistance(x, y, l, t, r, b, radius); };
}

double SegmentDistance(double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 == 0 ? 0 : std::clamp(((x - x1) * dx + (y - y1) * dy) / len2, 0.0, 1.0);
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

// A stroked polyline of the given width.
auto Stroke(std::vector<std::pair<double, double>> points, double width) {
    return [points, width](double x, double y) {
        double d = 1e9;
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            d = std::min(d, SegmentDistance(x, y, points[i].first, points[i].second, points[i + 1].first,
                                            points[i + 1].second));
        return width / 2 + 0.5 - d;
    };
}

// A filled triangle, anti-aliased by 4 x 4 samples.
auto Triangle(double x1, double y1, double x2, double y2, double x3, double y3) {
    return [=](double x, double y) {
        int in = 0;
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx) {
                const double px = x - 0.5 + (sx + 0.5) / 4, py = y - 0.5 + (sy + 0.5) / 4;
                const double d1 = (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2);
                const double d2 = (px - x3) * (y2 - y3) - (x2 - x3) * (py - y3);
                const double d3 = (px - x1) * (y3 - y1) - (x3 - x1) * (py - y1);
                const bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
                if (!(neg && pos)) ++in;
            }
        return in / 16.0;
    };
}

auto Solid(Rgba c) {
    return [c](double, double) { return c; };
}
// Top-to-bottom gradient over [t, b].
auto Vertical(Rgba top, Rgba bottom, double t, double b) {
    return [=](double, double y) { return Mix(top, bottom, std::clamp((y - t) / std::max(b - t, 1.0), 0.0, 1.0)); };
}

// A bordered rounded box: border colour, then the face inset by one pixel.
void Box(Canvas& c, double inset, double radius, Rgba border, Rgba faceTop, Rgba faceBottom) {
    const double l = inset, t = inset, r = c.W() - inset, b = c.H() - inset;
    if (border.a > 0) c.Shade(RoundRect(l, t, r, b, radius), Solid(border));
    c.Shade(RoundRect(l + 1, t + 1, r - 1, b - 1, std::max(radius - 1, 0.0)), Vertical(faceTop, faceBottom, t, b));
}

// ------------------------------------------------------------------ skins

struct Palette {
    std::string name, description;
    std::uint32_t window, panel, text, textDim, border, borderStrong;
    std::uint32_t faceTop, faceBottom, hotTop, hotBottom, pressedTop, pressedBottom;
    std::uint32_t accent, accentText, edit, titleTop, titleBottom, titleInactive, titleText, titleTextInactive;
    std::uint32_t close, track, thumb, thumbHot, hint, hintText, menu;
};

const Palette kLinen = {
    "Linen", "Light and calm: warm paper, quiet borders, one blue accent",
    0xF4F1EC, 0xEFEBE5, 0x2B2F36, 0x8C8A86, 0xC9C3B9, 0x9E978C,
    0xFFFFFF, 0xF1EDE7, 0xFFFFFF, 0xE6EEF7, 0xDCE5EE, 0xE9EEF3,
    0x3C78B4, 0xFFFFFF, 0xFFFFFF, 0xE8E3DB, 0xDDD6CB, 0xEFEBE5, 0x2B2F36, 0x8C8A86,
    0xC9463D, 0xE6E1D9, 0xC2BBB0, 0xA89F92, 0xFFFBEA, 0x2B2F36, 0xFBFAF8};

const Palette kSlate = {
    "Slate", "Dark and calm: slate greys, soft contrast, one blue accent",
    0x23272E, 0x2A2F37, 0xD8DCE2, 0x7C828C, 0x3B414B, 0x555D69,
    0x3A404A, 0x31363F, 0x444B57, 0x3A414C, 0x2A2F37, 0x2E333C,
    0x5B9BD5, 0xFFFFFF, 0x1B1F25, 0x1D2127, 0x191C21, 0x262A31, 0xD8DCE2, 0x7C828C,
    0xC75450, 0x2B3038, 0x4A515D, 0x5D6573, 0x30353E, 0xE2E5EA, 0x2A2F37};

struct Element {
    std::string section, key;
    char format;               // '^' nine-slice, '@' glyph strip
    int w, h, columns;         // one state image
    int margins[4] = {0, 0, 0, 0};
    int drawMode = 0;
    std::function<void(Canvas&, int state)> paint;
    int x = 0, y = 0;          // place in the master bitmap
};

std::vector<Element> Elements(const Palette& p) {
    const Rgba border = Hex(p.border), strong = Hex(p.borderStrong), accent = Hex(p.accent), none{};
    const Rgba faceTop = Hex(p.faceTop), faceBottom = Hex(p.faceBottom), hotTop = Hex(p.hotTop),
               hotBottom = Hex(p.hotBottom), pressedTop = Hex(p.pressedTop), pressedBottom = Hex(p.pressedBottom);
    std::vector<Element> e;
    auto button = [=](Canvas& c, int s) {
        switch (s) {
            case 0: Box(c, 0, 4, border, faceTop, faceBottom); break;
            case 1: Box(c, 0, 4, accent, hotTop, hotBottom); break;
            case 2: Box(c, 0, 4, accent, pressedTop, pressedBottom); break;
            default: Box(c, 0, 4, Mix(border, Hex(p.window), 0.5), Hex(p.panel), Hex(p.panel)); break;
        }
    };
    e.push_back({"BUTTON", "BORDERSMASK", '^', 24, 24, 4, {6, 6, 6, 6}, 5, button});
    e.push_back({"EDIT", "BORDERSMASK", '^', 12, 12, 2, {3, 3, 3, 3}, 1, [=](Canvas& c, int s) {
        Box(c, 0, 3, s ? accent : border, Hex(p.edit), Hex(p.edit));
    }});
    e.push_back({"COMBOBTN", "BORDERSMASK", '^', 16, 16, 3, {4, 4, 4, 4}, 5, [=](Canvas& c, int s) {
        if (s) Box(c, 2, 3, none, s == 1 ? hotTop : pressedTop, s == 1 ? hotBottom : pressedBottom);
    }});
    auto arrow = [=](int dir) {
        return [=](Canvas& c, int s) {
            const Rgba col = s == 0 ? Hex(p.textDim) : Hex(p.text);
            const double cx = c.W() / 2.0, cy = c.H() / 2.0;
            switch (dir) {
                case 0: c.Shade(Triangle(cx - 4, cy + 2, cx + 4, cy + 2, cx, cy - 2.5), Solid(col)); break;   // up
                case 1: c.Shade(Triangle(cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 2.5), Solid(col)); break;   // down
                case 2: c.Shade(Triangle(cx + 2, cy - 4, cx + 2, cy + 4, cx - 2.5, cy), Solid(col)); break;   // left
                default: c.Shade(Triangle(cx - 2, cy - 4, cx - 2, cy + 4, cx + 2.5, cy), Solid(col)); break; // right
            }
        };
    };
    e.push_back({"COMBOBOX", "GLYPHMASK", '@', 12, 12, 3, {}, 0, arrow(1)});
    e.push_back({"PANEL_LOW", "BORDERSMASK", '^', 12, 12, 1, {3, 3, 3, 3}, 1, [=](Canvas& c, int) {
        c.Shade(RoundRect(0, 0, c.W(), c.H(), 3), Solid(border));
        c.Shade(RoundRect(1, 1, c.W() - 1, c.H() - 1, 2), Solid(Hex(p.panel)));
    }});
    e.push_back({"GROUPBOX", "BORDERSMASK", '^', 14, 14, 1, {5, 5, 5, 5}, 1, [=](Canvas& c, int) {
        c.Shade(RoundRect(0.5, 0.5, c.W() - 0.5, c.H() - 0.5, 4), Solid(border));
        c.Shade(RoundRect(1.5, 1.5, c.W() - 1.5, c.H() - 1.5, 3), Solid(Hex(p.window)));
    }});
    e.push_back({"PAGECONTROL", "BORDERSMASK", '^', 12, 12, 1, {3, 3, 3, 3}, 1, [=](Canvas& c, int) {
        c.Shade(RoundRect(0, 0, c.W(), c.H(), 2), Solid(border));
        c.Shade(RoundRect(1, 1, c.W() - 1, c.H() - 1, 1), Solid(Hex(p.panel)));
    }});
    // Tabs: normal, hot, selected; the selected one carries an accent line
    // on its outer edge. Drawn for the top and turned for the other sides.
    auto tab = [=](int side) {
        return [=](Canvas& c, int s) {
            const double W = c.W(), H = c.H();
            // In "top" coordinates: u across the tab, v from the outer edge.
            auto map = [=](double u0, double v0, double u1, double v1) {
                switch (side) {
                    case 0: return std::array<double, 4>{u0, v0, u1, v1};
                    case 1: return std::array<double, 4>{u0, H - v1, u1, H - v0};
                    case 2: return std::array<double, 4>{v0, u0, v1, u1};
                    default: return std::array<double, 4>{W - v1, u0, W - v0, u1};
                }
            };
            const double len = side < 2 ? W : H, depth = side < 2 ? H : W;
            const Rgba face = s == 2 ? Hex(p.panel) : s == 1 ? hotBottom : Hex(p.window);
            auto a = map(0, 0, len, depth + 4);
            c.Shade(RoundRect(a[0], a[1], a[2], a[3], 4), Solid(s == 2 ? border : Mix(border, Hex(p.window), 0.4)));
            auto f = map(1, 1, len - 1, depth + 4);
            c.Shade(RoundRect(f[0], f[1], f[2], f[3], 3), Solid(face));
            if (s == 2) {
                auto l = map(3, 1, len - 3, 3);
                c.Shade(RoundRect(l[0], l[1], l[2], l[3], 1), Solid(accent));
            }
        };
    };
    const char* tabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
    for (int side = 0; side < 4; ++side) {
        const bool across = side < 2;
        Element t{tabs[side], "BORDERSMASK", '^', across ? 24 : 20, across ? 20 : 24, 3, {5, 5, 5, 5}, 5, tab(side)};
        e.push_back(t);
    }
    // Scroll bars: a quiet track, a rounded thumb, flat arrow buttons.
    e.push_back({"SCROLLBAR1H", "BORDERSMASK", '^', 12, 12, 1, {3, 3, 3, 3}, 5, [=](Canvas& c, int) {
        c.Shade(RoundRect(0, 0, c.W(), c.H(), 0), Solid(Hex(p.track)));
    }});
    e.push_back({"SCROLLBAR1V", "BORDERSMASK", '^', 12, 12, 1, {3, 3, 3, 3}, 5, [=](Canvas& c, int) {
        c.Shade(RoundRect(0, 0, c.W(), c.H(), 0), Solid(Hex(p.track)));
    }});
    auto thumb = [=](bool horizontal) {
        return [=](Canvas& c, int s) {
            const Rgba col = Hex(s ? p.thumbHot : p.thumb);
            if (horizontal)
                c.Shade(RoundRect(1, 3, c.W() - 1, c.H() - 3, 3), Solid(col));
            else
                c.Shade(RoundRect(3, 1, c.W() - 3, c.H() - 1, 3), Solid(col));
        };
    };
    e.push_back({"SCROLLSLIDERH", "BORDERSMASK", '^', 16, 16, 3, {5, 5, 5, 5}, 5, thumb(true)});
    e.push_back({"SCROLLSLIDERV", "BORDERSMASK", '^', 16, 16, 3, {5, 5, 5, 5}, 5, thumb(false)});
    const char* buttons[4] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
    for (int i = 0; i < 4; ++i) {
        e.push_back({buttons[i], "BORDERSMASK", '^', 16, 16, 3, {4, 4, 4, 4}, 5, [=](Canvas& c, int s) {
            c.Shade(RoundRect(0, 0, c.W(), c.H(), 0), Solid(Hex(p.track)));
            if (s) c.Shade(RoundRect(2, 2, c.W() - 2, c.H() - 2, 3), Solid(Hex(s == 1 ? p.thumb : p.thumbHot)));
        }});
        e.push_back({buttons[i], "GLYPHMASK", '@', 10, 10, 3, {}, 0, arrow(i)});
    }
    // Menus, hints, the selection.
    e.push_back({"MENUITEM", "BORDERSMASK", '^', 16, 16, 2, {4, 4, 4, 4}, 5, [=](Canvas& c, int s) {
        if (s) c.Shade(RoundRect(1, 1, c.W() - 1, c.H() - 1, 3), Solid(accent));
    }});
    e.push_back({"HINT", "BORDERSMASK", '^', 12, 12, 1, {4, 4, 4, 4}, 5, [=](Canvas& c, int) {
        Box(c, 0, 4, strong, Hex(p.hint), Hex(p.hint));
    }});
    // Forms: a one-pixel frame around a window-coloured body, and the title
    // bar (active and inactive) with rounded top corners.
    e.push_back({"FORM", "BORDERSMASK", '^', 16, 16, 2, {4, 4, 4, 4}, 1, [=](Canvas& c, int s) {
        c.Shade(RoundRect(0, -8, c.W(), c.H(), 6), Solid(s == 0 ? strong : border));
        c.Shade(RoundRect(1, -8, c.W() - 1, c.H() - 1, 5), Solid(Hex(p.window)));
    }});
    e.push_back({"FORMTITLE", "BORDERSMASK", '^', 24, 28, 2, {8, 8, 8, 4}, 5, [=](Canvas& c, int s) {
        c.Shade(RoundRect(0, 0, c.W(), c.H() + 8, 6), Solid(s == 0 ? strong : border));
        if (s == 0)
            c.Shade(RoundRect(1, 1, c.W() - 1, c.H() + 8, 5), Vertical(Hex(p.titleTop), Hex(p.titleBottom), 0, c.H()));
        else
            c.Shade(RoundRect(1, 1, c.W() - 1, c.H() + 8, 5), Solid(Hex(p.titleInactive)));
    }});
    e.push_back({"TITLEBUTTON", "BORDERSMASK", '^', 16, 16, 3, {4, 4, 4, 4}, 5, [=](Canvas& c, int s) {
        if (s) c.Shade(RoundRect(1, 1, c.W() - 1, c.H() - 1, 4), Solid(s == 1 ? hotBottom : pressedTop));
    }});
    // Title icons: normal, hot, pressed. Close turns red under the mouse.
    auto icon = [=](int kind, double scale) {
        return [=](Canvas& c, int s) {
            const double W = c.W(), H = c.H(), m = 6 * scale, lw = 1.4 * scale;
            if (s > 0) {
                const Rgba back = kind == 0 ? Hex(p.close, s == 1 ? 1 : 0.8) : (s == 1 ? hotBottom : pressedTop);
                c.Shade(RoundRect(1, 1, W - 1, H - 1, 4 * scale), Solid(back));
            }
            const Rgba ink = kind == 0 && s > 0 ? Hex(0xFFFFFF) : Hex(p.titleText);
            switch (kind) {
                case 0:
                    c.Shade(Stroke({{m, m}, {W - m, H - m}}, lw), Solid(ink));
                    c.Shade(Stroke({{W - m, m}, {m, H - m}}, lw), Solid(ink));
                    break;
                case 1:
                    c.Shade(Stroke({{m, m}, {W - m, m}, {W - m, H - m}, {m, H - m}, {m, m}}, lw), Solid(ink));
                    c.Shade(Stroke({{m, m + 1}, {W - m, m + 1}}, lw), Solid(ink));
                    break;
                case 2: c.Shade(Stroke({{m, H - m}, {W - m, H - m}}, lw), Solid(ink)); break;
                case 3:
                    c.Shade(Stroke({{m + 2, m}, {W - m, m}, {W - m, H - m - 2}}, lw), Solid(ink));
                    c.Shade(Stroke({{m, m + 2}, {W - m - 2, m + 2}, {W - m - 2, H - m}, {m, H - m}, {m, m + 2}}, lw),
                            Solid(ink));
                    break;
                default: {
                    // A question mark: an arc, a stem and a dot.
                    std::vector<std::pair<double, double>> arc;
                    const double cx = W / 2, cy = H / 2 - 2 * scale, r = 3 * scale;
                    for (int i = 0; i <= 12; ++i) {
                        const double a = 3.3 - i * (4.3 / 12);
                        arc.push_back({cx + r * std::cos(a), cy - r * std::sin(a)});
                    }
                    arc.push_back({cx, cy + r + 1.5 * scale});
                    c.Shade(Stroke(arc, lw), Solid(ink));
                    c.Shade(RoundRect(cx - 1, H - m - 1, cx + 1, H - m + 1, 1), Solid(ink));
                }
            }
        };
    };
    const char* iconKeys[5] = {"CLOSE", "MAX", "MIN", "NORM", "HELP"};
    for (int k = 0; k < 5; ++k) {
        e.push_back({"GLOBALINFO", std::string("BICON") + iconKeys[k], '@', 26, 20, 3, {}, 0, icon(k, 1.0)});
        e.push_back({"GLOBALINFO", std::string("SICON") + iconKeys[k], '@', 18, 16, 3, {}, 0, icon(k, 0.7)});
    }
    // Check boxes and radio buttons: normal and hot.
    auto check = [=](int kind, double size) {
        return [=](Canvas& c, int s) {
            const double W = c.W(), H = c.H(), o = (W - size) / 2;
            const bool radio = kind >= 3;
            const int value = kind % 3;  // 0 checked, 1 unchecked, 2 grayed
            const double rad = radio ? size / 2 : 3;
            const Rgba edge = s ? accent : strong;
            c.Shade(RoundRect(o, o, o + size, o + size, rad), Solid(value == 0 && !radio ? accent : edge));
            const Rgba inner = value == 0 && !radio ? accent : Hex(p.edit);
            c.Shade(RoundRect(o + 1, o + 1, o + size - 1, o + size - 1, rad - 1), Solid(inner));
            if (value == 0 && !radio)
                c.Shade(Stroke({{o + size * 0.25, o + size * 0.52}, {o + size * 0.43, o + size * 0.7}, {o + size * 0.76, o + size * 0.3}},
                               size / 8),
                        Solid(Hex(p.accentText)));
            else if (value == 0)
                c.Shade(RoundRect(W / 2 - size * 0.22, H / 2 - size * 0.22, W / 2 + size * 0.22, H / 2 + size * 0.22,
                                  size * 0.22),
                        Solid(accent));
            else if (value == 2)
                c.Shade(RoundRect(o + size * 0.28, o + size * 0.28, o + size * 0.72, o + size * 0.72, radio ? size * 0.22 : 1),
                        Solid(Hex(p.textDim)));
        };
    };
    const char* checkKeys[6] = {"BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "RADIOCHECKED", "RADIOUNCHECKED", "RADIOGRAYED"};
    for (int k = 0; k < 6; ++k) e.push_back({"GLOBALINFO", checkKeys[k], '@', 16, 16, 2, {}, 0, check(k, 14)});
    const char* smallKeys[3] = {"SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};
    for (int k = 0; k < 3; ++k) e.push_back({"GLOBALINFO", smallKeys[k], '@', 12, 12, 2, {}, 0, check(k, 10)});
    e.push_back({"GLOBALINFO", "GRIPIMAGE", '@', 12, 12, 1, {}, 0, [=](Canvas& c, int) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j <= i; ++j) {
                const double x = 9 - 3.5 * j, y = 9 - 3.5 * (i - j);
                c.Shade(RoundRect(x - 1, y - 1, x + 1, y + 1, 1), Solid(Hex(p.textDim)));
            }
    }});
    return e;
}

// Shelf packing into a master bitmap of fixed width.
constexpr int kMasterWidth = 384;

int Place(std::vector<Element>& elements) {
    int x = 0, y = 0, shelf = 0;
    for (Element& el : elements) {
        const int w = el.w * el.columns, h = el.h * 2;
        if (x + w > kMasterWidth) {
            x = 0;
            y += shelf;
            shelf = 0;
        }
        el.x = x;
        el.y = y;
        x += w;
        shelf = std::max(shelf, h);
    }
    return y + shelf;
}

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

// One section of the description.
struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

std::string Write(const Palette& p, const fs::path& out) {
    std::vector<Element> elements = Elements(p);
    const int height = Place(elements);
    Bitmap32 master(kMasterWidth, height);
    master.Fill(0xFFFFFFFFu);  // unused area: white, fully transparent by its mask colour
    for (const Element& el : elements)
        for (int s = 0; s < el.columns; ++s) {
            Canvas c(el.w, el.h);
            el.paint(c, s);
            for (int y = 0; y < el.h; ++y)
                for (int x = 0; x < el.w; ++x) {
                    const Rgba& px = c.At(x, y);
                    const int mx = el.x + s * el.w + x;
                    master.At(mx, el.y + y) = 0xFF000000u | (std::uint32_t{Byte(px.r)} << 16) |
                                              (std::uint32_t{Byte(px.g)} << 8) | Byte(px.b);
                    const std::uint8_t m = static_cast<std::uint8_t>(255 - Byte(px.a));
                    master.At(mx, el.y + el.h + y) = 0xFF000000u | (std::uint32_t{m} * 0x010101u);
                }
        }

    std::vector<Section> sections;
    auto section = [&sections](const std::string& name) -> Section& {
        for (Section& s : sections)
            if (s.name == name) return s;
        sections.push_back({name, {}});
        return sections.back();
    };
    auto set = [&section](const std::string& name, const std::string& key, const std::string& value) {
        section(name).keys.emplace_back(key, value);
    };
    set("GLOBALINFO", "VERSION", "7.60");
    set("GLOBALINFO", "AUTHOR", "KOVA");
    set("GLOBALINFO", "DESCRIPTION", p.description);
    set("GLOBALINFO", "MASTERBITMAP", "Master.bmp");
    set("GLOBALINFO", "BORDERWIDTH", "4");
    set("GLOBALINFO", "TITLEHEIGHT", "28");
    set("GLOBALINFO", "FORMOFFSET", "4");
    set("GLOBALINFO", "BISPACE", "2");
    set("GLOBALINFO", "BIRIGHT", "6");
    set("GLOBALINFO", "BITOP", "4");
    set("GLOBALINFO", "BORDERCOLOR", Colour(p.borderStrong));
    set("GLOBALINFO", "SHADOW1COLOR", "0");
    set("GLOBALINFO", "COLOR", Colour(p.window));
    set("GLOBALINFO", "HOTCOLOR", Colour(p.edit));
    set("GLOBALINFO", "FONTCOLOR", Colour(p.text));
    auto colours = [&](const std::string& name, std::uint32_t colour, std::uint32_t font, int states = 1,
                       std::uint32_t hotColour = 0, std::uint32_t hotFont = 0) {
        set(name, "COLOR", Colour(colour));
        set(name, "FONTCOLOR", Colour(font));
        set(name, "STATES", std::to_string(states));
        if (states > 1) {
            set(name, "HOTCOLOR", Colour(hotColour));
            set(name, "HOTFONTCOLOR", Colour(hotFont));
        }
    };
    colours("FORM", p.window, p.text, 2, p.window, p.text);
    colours("FORMTITLE", p.titleTop, p.titleText, 2, p.titleInactive, p.titleTextInactive);
    set("FORMTITLE", "GRADIENTDATA", Colour(p.titleTop) + ";" + Colour(p.titleBottom) + ";100;0;0");
    set("FORMTITLE", "GRADIENTPERCENT", "100");
    set("DIALOG", "PARENTCLASS", "FORM");
    set("DIALOGTITLE", "PARENTCLASS", "FORMTITLE");
    colours("TITLEBUTTON", p.titleTop, p.titleText, 3, p.hotBottom, p.titleText);
    colours("BUTTON", p.faceBottom, p.text, 4, p.hotBottom, p.text);
    set("BUTTON", "SHOWFOCUS", "1");
    for (const char* child : {"TOOLBUTTON", "SPEEDBUTTON", "SPEEDBUTTON_SMALL", "BUTTON_HUGE", "COLHEADER", "UPDOWNBTN"})
        set(child, "PARENTCLASS", "BUTTON");
    colours("EDIT", p.edit, p.text, 2, p.edit, p.text);
    set("COMBOBOX", "PARENTCLASS", "EDIT");
    colours("COMBOBTN", p.edit, p.text, 3, p.hotBottom, p.text);
    colours("PANEL", p.window, p.text);
    colours("PANEL_LOW", p.panel, p.text);
    colours("GROUPBOX", p.window, p.text);
    colours("CHECKBOX", p.window, p.text, 2, p.window, p.text);
    set("RADIOBUTTON", "PARENTCLASS", "CHECKBOX");
    colours("PAGECONTROL", p.panel, p.text);
    colours("TABSHEET", p.panel, p.text);
    for (const char* t : {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"}) colours(t, p.window, p.textDim, 3, p.hotBottom, p.text);
    for (const char* s : {"SCROLLBAR1H", "SCROLLBAR1V"}) colours(s, p.track, p.text);
    set("SCROLLBAR2H", "PARENTCLASS", "SCROLLBAR1H");
    set("SCROLLBAR2V", "PARENTCLASS", "SCROLLBAR1V");
    for (const char* s : {"SCROLLSLIDERH", "SCROLLSLIDERV", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"})
        colours(s, p.thumb, p.text, 3, p.thumbHot, p.text);
    colours("MAINMENU", p.window, p.text);
    colours("MENUITEM", p.menu, p.text, 2, p.accent, p.accentText);
    colours("MENULINE", p.border, p.textDim);
    colours("HINT", p.hint, p.hintText);
    colours("SELECTION", p.accent, p.accentText, 2, p.accent, p.accentText);
    colours("TOOLBAR", p.window, p.text);
    colours("STATUSBAR", p.panel, p.textDim);
    colours("DIVIDER", p.border, p.text);
    for (const Element& el : elements) {
        const int r = el.x + el.w * el.columns, b = el.y + el.h * 2;
        std::string v;
        if (el.format == '^')
            v = Format("^%04d,%04d,%04d,%04d,%04d,%04d,%04d,%04d,%d,1,%d,0", el.x, el.y, r, b, el.margins[0],
                       el.margins[1], el.margins[2], el.margins[3], el.columns, el.drawMode);
        else
            v = Format("@%04d,%04d,%04d,%04d,%d,1", el.x, el.y, r, b, el.columns);
        set(el.section, el.key, v);
    }
    std::string text;
    for (const Section& s : sections) {
        text += "[" + s.name + "]\r\n";
        for (const auto& [k, v] : s.keys) text += k + "=" + v + "\r\n";
        text += "\r\n";
    }
    fs::create_directories(out);
    std::ofstream(out / "Options.dat", std::ios::binary) << text;
    const std::vector<std::uint8_t> bmp = kova::skin::EncodeBmp(master, false);
    std::ofstream(out / "Master.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    return p.name;
}

// ------------------------------------------------------ shared pictures

constexpr double kPi = 3.14159265358979323846;

// An arc of a circle (angles in radians, clockwise from the right, as the
// y axis points down) of the given stroke width.
auto Arc(double cx, double cy, double radius, double from, double to, double width) {
    return [=](double x, double y) {
        double a = std::atan2(y - cy, x - cx);
        if (a < from) a += 2 * kPi;
        if (a > to) return 0.0;
        return width / 2 + 0.5 - std::abs(std::hypot(x - cx, y - cy) - radius);
    };
}

auto Disc(double cx, double cy, double radius) {
    return [=](double x, double y) { return radius + 0.5 - std::hypot(x - cx, y - cy); };
}

// An outlined rounded rectangle (the stroke inside [l, r] x [t, b]).
auto Frame(double l, double t, double r, double b, double radius, double width) {
    return [=](double x, double y) {
        const double d = RoundRectDistance(x, y, l, t, r, b, radius);
        return std::min(0.5 - d, width + 0.5 + d);
    };
}

using Glyph = std::function<void(Canvas&, Rgba)>;

void Folder(Canvas& c, Rgba ink) {
    c.Shade(RoundRect(1.5, 3, 7.5, 6.5, 1), Solid(ink));
    c.Shade(Frame(1.5, 4.5, 14.5, 13.5, 1.5, 1.2), Solid(ink));
    c.Shade(RoundRect(2.5, 7, 13.5, 12.5, 0.5), Solid(Mix(ink, Hex(0xFFFFFF), 0.55)));
}

void Reload(Canvas& c, Rgba ink) {
    c.Shade(Arc(8, 8.5, 5, -0.35 * kPi, 1.45 * kPi, 1.6), Solid(ink));
    c.Shade(Triangle(9.2, 1.2, 14.2, 3.6, 9.6, 6.6), Solid(ink));
}

void Calendar(Canvas& c, Rgba ink) {
    c.Shade(Frame(1.5, 2.5, 14.5, 14.5, 1.5, 1.2), Solid(ink));
    c.Shade(RoundRect(1.5, 2.5, 14.5, 6, 1.5), Solid(ink));
    c.Shade(Stroke({{5, 1}, {5, 4}}, 1.4), Solid(ink));
    c.Shade(Stroke({{11, 1}, {11, 4}}, 1.4), Solid(ink));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            c.Shade(RoundRect(3.5 + col * 3.5, 7.5 + row * 3, 5.5 + col * 3.5, 9.5 + row * 3, 0.3), Solid(ink));
}

void More(Canvas& c, Rgba ink) {
    for (int i = 0; i < 3; ++i) c.Shade(Disc(3.5 + i * 4.5, 9.5, 1.4), Solid(ink));
}

void Calculator(Canvas& c, Rgba ink) {
    c.Shade(Frame(2.5, 1.5, 13.5, 14.5, 1.5, 1.2), Solid(ink));
    c.Shade(RoundRect(4.5, 3.5, 11.5, 6.5, 0.5), Solid(ink));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            c.Shade(RoundRect(4.5 + col * 2.5, 8 + row * 2, 5.8 + col * 2.5, 9.2 + row * 2, 0.2), Solid(ink));
}

// A soft shadow around an inner rounded rectangle, for nine-slice painting:
// the alpha falls from `depth` at the rectangle's edge to 0 at `blur`
// pixels out (smoothly, as a blurred edge does), and the inside is clear.
Canvas Shadow(int size, double blur, double depth, double offsetY) {
    Canvas c(size, size);
    const double inset = blur;
    c.Shade(
        [=](double x, double y) {
            const double d = RoundRectDistance(x, y - offsetY, inset, inset, size - inset, size - inset, 3);
            if (d <= -1) return 0.0;
            const double t = std::clamp(1 - std::max(d, 0.0) / blur, 0.0, 1.0);
            const double inside = std::clamp(-d, 0.0, 1.0);
            return t * t * (3 - 2 * t) * (1 - inside);
        },
        Solid(Hex(0x000000, depth)));
    return c;
}

// The default image hint: a 32 x 32 pale note with a dark edge, rounded,
// and its soft shadow to the right and below. Its nine slices are cut at 7
// (left, top) and 15 (right, bottom) pixels: the corners hold the rounding
// and the shadow, the middle stretches.
Canvas HintNote() {
    Canvas c(32, 32);
    c.Shade(
        [](double x, double y) {
            const double d = RoundRectDistance(x, y, 3, 3, 27, 27, 5);
            const double t = std::clamp(1 - std::max(d, 0.0) / 4.5, 0.0, 1.0);
            return t * t * (3 - 2 * t);
        },
        Solid(Hex(0x000000, 0.35)));
    c.Shade(RoundRect(0, 0, 25, 25, 5), Solid(Hex(0x5A5030)));
    c.Shade(RoundRect(1, 1, 24, 24, 4), Solid(Hex(0xFFF8D8)));
    return c;
}

void WritePng(const Canvas& c, const fs::path& file) {
    Bitmap32 px(c.W(), c.H());
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) {
            const Rgba& p = c.At(x, y);
            px.At(x, y) = (std::uint32_t{Byte(p.a)} << 24) | (std::uint32_t{Byte(p.r)} << 16) |
                          (std::uint32_t{Byte(p.g)} << 8) | Byte(p.b);
        }
    const std::vector<std::uint8_t> png = kova::skin::EncodePngRgba(px);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

void WriteSharedPictures(const fs::path& out) {
    fs::create_directories(out);
    // Normal, hot and pressed ink: quiet grey, the accent blue, deeper blue.
    const Rgba inks[3] = {Hex(0x4A5260), Hex(0x3C78B4), Hex(0x285A8C)};
    const std::pair<const char*, Glyph> strips[] = {
        {"SF", Folder}, {"SR", Reload}, {"SD", Calendar}, {"SE", More}, {"SC", Calculator}};
    for (const auto& [name, glyph] : strips) {
        Canvas strip(48, 16);
        for (int state = 0; state < 3; ++state) {
            Canvas one(16, 16);
            glyph(one, inks[state]);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) strip.Put(state * 16 + x, y, one.At(x, y));
        }
        WritePng(strip, out / (std::string(name) + ".png"));
    }
    WritePng(Shadow(40, 12, 0.45, 2), out / "acSHDA.png");
    WritePng(Shadow(40, 12, 0.22, 1), out / "acSHDI.png");
    WritePng(HintNote(), out / "ACHINT.png");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR\n");
        return 2;
    }
    for (const Palette* p : {&kLinen, &kSlate}) std::printf("%s\n", Write(*p, fs::path(argv[1]) / p->name).c_str());
    WriteSharedPictures(fs::path(argv[1]) / "images");
    std::printf("images\n");
    return 0;
}
