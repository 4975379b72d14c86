#include "skin/core/paint/portable/textpaint.h"

#include <algorithm>
#include <cmath>

namespace kova::skin {

std::string CutTextToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& width) {
    std::string result = maxWidth >= 1 ? text : std::string();
    if (result.empty() || width(result) <= maxWidth) return result;
    while (!result.empty() && width(result + "...") > maxWidth) result.pop_back();
    if (!result.empty()) result += "...";
    return result;
}

std::vector<double> GaussianKernel(double deviation, double maxValue, int radius) {
    radius = std::max(radius, 0);
    std::vector<double> k(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int x = -radius; x <= radius; ++x) {
        const double v = std::exp(-(x * x) / (2 * deviation * deviation));
        k[static_cast<std::size_t>(x + radius)] = v;
        sum += v;
    }
    for (double& v : k) v = v * maxValue / sum;
    return k;
}

namespace {
// One line of `count` values `step` apart, blurred in place.
void BlurLine(std::uint8_t* line, int count, std::ptrdiff_t step, const std::vector<double>& k, std::vector<std::uint8_t>& tmp) {
    const int radius = static_cast<int>(k.size() / 2);
    tmp.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) tmp[static_cast<std::size_t>(i)] = line[i * step];
    for (int i = 0; i < count; ++i) {
        double sum = 0;
        for (int j = -radius; j <= radius; ++j) {
            const int at = std::clamp(i + j, 0, count - 1);
            sum += k[static_cast<std::size_t>(j + radius)] * tmp[static_cast<std::size_t>(at)];
        }
        line[i * step] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(sum / 255.0)), 0, 255));
    }
}
}  // namespace

void GaussianBlurBitmap(Bitmap8& plane, int radius) {
    if (plane.Width <= 0 || plane.Height <= 0 || radius < 1) return;
    if (plane.Bits.size() < static_cast<std::size_t>(plane.Width) * static_cast<std::size_t>(plane.Height)) return;
    const std::vector<double> k = GaussianKernel(1.0, 255, radius);
    std::vector<std::uint8_t> tmp;
    for (int y = 0; y < plane.Height; ++y)
        BlurLine(plane.Bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(plane.Width), plane.Width, 1, k, tmp);
    for (int x = 0; x < plane.Width; ++x) BlurLine(plane.Bits.data() + x, plane.Height, plane.Width, k, tmp);
}

void ApplyShadowPlane(Bitmap32& dest, const Bitmap8& plane, TPoint at, TColor colour) {
    const int kc[3] = {static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                       static_cast<int>(colour & 0xFF)};  // blue, green, red: pixel byte order
    for (int y = 0; y < plane.Height; ++y) {
        const int dy = at.Y + y;
        if (dy < 0 || dy >= dest.Height()) continue;
        std::uint32_t* row = dest.ScanLine(dy);
        for (int x = 0; x < plane.Width; ++x) {
            const int dx = at.X + x;
            const int m = plane.Bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(plane.Width) + static_cast<std::size_t>(x)];
            if (m == 255 || dx < 0 || dx >= dest.Width()) continue;
            std::uint32_t p = row[dx];
            for (int c = 0; c < 3; ++c) {
                const int d = static_cast<int>((p >> (8 * c)) & 0xFF);
                const int v = kc[c] + (d - kc[c]) * m / 255;
                p = (p & ~(0xFFu << (8 * c))) | (static_cast<std::uint32_t>(v & 0xFF) << (8 * c));
            }
            row[dx] = p;
        }
    }
}

void ApplyInk(Bitmap32& dest, const Bitmap32& ink, TPoint at, TColor colour) {
    const int kc[3] = {static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                       static_cast<int>(colour & 0xFF)};
    for (int y = 0; y < ink.Height(); ++y) {
        const int dy = at.Y + y;
        if (dy < 0 || dy >= dest.Height()) continue;
        const std::uint32_t* src = ink.ScanLine(y);
        std::uint32_t* row = dest.ScanLine(dy);
        for (int x = 0; x < ink.Width(); ++x) {
            const int dx = at.X + x;
            if (dx < 0 || dx >= dest.Width() || (src[x] & 0xFFFFFF) == 0xFFFFFF) continue;
            const int m = (static_cast<int>(src[x] & 0xFF) + static_cast<int>((src[x] >> 8) & 0xFF) +
                           static_cast<int>((src[x] >> 16) & 0xFF)) / 3;
            std::uint32_t p = row[dx];
            for (int c = 0; c < 3; ++c) {
                const int d = static_cast<int>((p >> (8 * c)) & 0xFF);
                const int v = ((d - kc[c]) * m + kc[c] * 256) >> 8;
                p = (p & ~(0xFFu << (8 * c))) | (static_cast<std::uint32_t>(v & 0xFF) << (8 * c));
            }
            row[dx] = p;
        }
    }
}

}  // namespace kova::skin
