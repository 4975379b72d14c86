#include "skin/core/portable/alphaimages.h"

#include <algorithm>
#include <exception>

#include "framework/portable/streams.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

namespace {

bool AnyAlpha(const Bitmap32& bitmap) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            if (row[x] >> 24) return true;
    }
    return false;
}

// Opaque wherever the colour bits differ from `key` (a pixel word).
bool AlphaWhereNot(Bitmap32& bitmap, std::uint32_t key) {
    if (bitmap.Empty() || AnyAlpha(bitmap)) return false;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            if (!SameColourBits(row[x], key)) row[x] |= 0xFF000000u;
    }
    return true;
}

void Premultiply(Bitmap32& b) {
    for (int y = 0; y < b.Height(); ++y) {
        std::uint32_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint32_t p = row[x], a = p >> 24;
            auto ch = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255 << shift; };
            row[x] = (a << 24) | ch(16) | ch(8) | ch(0);
        }
    }
}
void Unpremultiply(Bitmap32& b) {
    for (int y = 0; y < b.Height(); ++y) {
        std::uint32_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            const std::uint32_t p = row[x], a = p >> 24;
            if (a == 0) {
                row[x] = 0;
                continue;
            }
            auto ch = [&](int shift) {
                return std::min<std::uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
            };
            row[x] = (a << 24) | ch(16) | ch(8) | ch(0);
        }
    }
}

}  // namespace

Bitmap32 ResizeWithAlpha(const Bitmap32& source, int width, int height) {
    if (source.Width() == width && source.Height() == height) return source.Clone();
    Bitmap32 out(width, height);
    if (source.Width() < 2 || source.Height() < 2) {
        // Too small for the filter: nearest pixel.
        StretchRect(out, Rect(0, 0, width, height), source, Rect(0, 0, source.Width(), source.Height()));
        return out;
    }
    Bitmap32 work = source.Clone();
    Premultiply(work);
    ResampleBitmap(work, width, height, rfTriangle, out);
    Unpremultiply(out);
    return out;
}

bool MakeAlphaFromColours(Bitmap32& bitmap) {
    if (bitmap.Empty()) return false;
    return AlphaWhereNot(bitmap, bitmap.At(0, bitmap.Height() - 1));
}

bool MakeAlphaFromKeyColour(Bitmap32& bitmap, TColor keyColour) {
    return AlphaWhereNot(bitmap, ColorToPixel(keyColour));
}

TGlyphPart GlyphPart(int listWidth, int listHeight, int numGlyphs, int state) {
    const int count = std::max(numGlyphs, 1);
    const int width = std::max(listWidth, 0) / count;
    const int height = std::max(listHeight, 0);
    const int index = std::clamp(state, 0, count - 1);
    TGlyphPart part;
    part.Source = Rect(index * width, 0, (index + 1) * width, height);
    part.Size = {width, height};
    return part;
}

Bitmap32 DecodePngWithAlpha(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream in(bytes);
    TPNGGraphic png;
    png.LoadFromStream(in);
    Bitmap32 pixels = png.ToBitmap32();
    if (png.BitsPerPixel() != 32) {
        // Made 32-bit from a picture without alpha: the colours decide.
        for (int y = 0; y < pixels.Height(); ++y) {
            std::uint32_t* row = pixels.ScanLine(y);
            for (int x = 0; x < pixels.Width(); ++x) row[x] &= 0xFFFFFFu;
        }
    }
    MakeAlphaFromColours(pixels);
    return pixels;
}

void TPngImageSource::SetBytes(std::vector<std::uint8_t> bytes) {
    bytes_ = std::move(bytes);
    DropCache();
}

bool TPngImageSource::ReadSize(int& width, int& height) const {
    TMemoryStream in(bytes_);
    TPNGGraphic png;
    try {
        if (!png.ReadPNGHeader(in)) return false;
    } catch (const std::exception&) {
        return false;
    }
    width = static_cast<int>(png.HeaderInfo().Width);
    height = static_cast<int>(png.HeaderInfo().Height);
    return true;
}

Bitmap32 TPngImageSource::Bitmap(int width, int height) {
    if (width < 1 || height < 1 || bytes_.empty()) return {};
    if (cache_.Width() == width && cache_.Height() == height) return cache_.Clone();
    DropCache();
    ++decodes_;
    Bitmap32 decoded;
    try {
        decoded = DecodePngWithAlpha(bytes_);
    } catch (const std::exception&) {
        return {};
    }
    if (decoded.Empty()) return {};
    cache_ = ResizeWithAlpha(decoded, width, height);
    return cache_.Clone();
}

}  // namespace kova::skin
