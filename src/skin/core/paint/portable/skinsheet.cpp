#include "skin/core/paint/portable/skinsheet.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "skin/core/paint/portable/skinitem.h"

namespace kova::skin {

namespace {

constexpr int kLabelWidth = 200, kHeaderHeight = 24;
constexpr int kCellWidth = 120, kCellHeight = 56, kGap = 8;
constexpr int kStates = 5;
const char* const kStateNames[kStates] = {"NORMAL", "HOT", "PRESSED", "DISABLED", "FOCUSED"};
constexpr std::uint32_t kInk = 0xFF202020u, kPaper = 0xFFF8F8F8u;

// Rows of three bits, top first.
struct Glyph {
    char c;
    std::uint8_t rows[5];
};
constexpr Glyph kFont[] = {
    {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}}, {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}},
    {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}},
    {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}}, {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}},
    {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}}, {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}},
    {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}}, {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}},
    {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}}, {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}},
    {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}}, {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}},
    {'2', {6, 1, 2, 4, 7}}, {'3', {6, 1, 2, 1, 6}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 6, 1, 6}},
    {'6', {3, 4, 7, 5, 7}}, {'7', {7, 1, 2, 2, 2}}, {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 6}},
    {'_', {0, 0, 0, 0, 7}}, {'-', {0, 0, 7, 0, 0}}, {'.', {0, 0, 0, 0, 2}}, {'(', {1, 2, 2, 2, 1}},
    {')', {4, 2, 2, 2, 4}},
};

void Checkerboard(Bitmap32& b, TRect r) {
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, b.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, b.Width()); ++x)
            b.At(x, y) = (((x - r.Left) / 8 + (y - r.Top) / 8) % 2 == 0) ? 0xFFFFFFFFu : 0xFFD0D0D0u;
}

}  // namespace

void DrawLabel(Bitmap32& dest, int x, int y, const std::string& text, std::uint32_t pixel, int scale) {
    for (char raw : text) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
        const Glyph* g = std::find_if(std::begin(kFont), std::end(kFont), [c](const Glyph& f) { return f.c == c; });
        if (g != std::end(kFont)) {
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col) {
                    if ((g->rows[row] & (4 >> col)) == 0) continue;
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx) {
                            const int px = x + col * scale + dx, py = y + row * scale + dy;
                            if (px >= 0 && py >= 0 && px < dest.Width() && py < dest.Height()) dest.At(px, py) = pixel;
                        }
                }
        }
        x += 4 * scale;
    }
}

Bitmap32 RenderSkinSheet(const TsSkinModel& skin) {
    const auto& sections = skin.Sections();
    const int rows = static_cast<int>(sections.size());
    const int width = kLabelWidth + kStates * (kCellWidth + kGap) + kGap;
    const int height = kHeaderHeight + rows * (kCellHeight + kGap) + kGap;
    Bitmap32 sheet(width, height);
    sheet.Fill(kPaper);
    for (int s = 0; s < kStates; ++s)
        DrawLabel(sheet, kLabelWidth + s * (kCellWidth + kGap), 8, kStateNames[s], kInk, 2);
    // What lies under every item: a checkerboard, so that transparency shows.
    Bitmap32 parent(width, height);
    Checkerboard(parent, {0, 0, width, height});
    const TsParentImageInfo bg{&parent, 0, 0, clFuchsia, true};
    for (int i = 0; i < rows; ++i) {
        const TsGeneralData& sec = sections[static_cast<std::size_t>(i)];
        const int top = kHeaderHeight + i * (kCellHeight + kGap);
        DrawLabel(sheet, kGap, top + kCellHeight / 2 - 5, sec.SectionName.substr(0, 23), kInk, 2);
        const int states = std::clamp(sec.States, 1, kStates);
        for (int s = 0; s < states; ++s) {
            const TRect cell{kLabelWidth + s * (kCellWidth + kGap), top, kLabelWidth + s * (kCellWidth + kGap) + kCellWidth,
                             top + kCellHeight};
            Checkerboard(sheet, cell);
            PaintSkinItem(sheet, skin, i, bg, s, cell, {0, 0});
        }
    }
    return sheet;
}

std::string PixelChecksum(const Bitmap32& bitmap) {
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            for (int k = 0; k < 4; ++k) {
                h ^= (row[x] >> (8 * k)) & 0xFF;
                h *= 1099511628211ull;
            }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

}  // namespace kova::skin
