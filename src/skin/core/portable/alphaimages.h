// The window-free half of the alpha image list: how a PNG item becomes a
// 32-bit bitmap of a requested size (with a cache of the last size), the
// rule that gives alpha to pictures without it, and the geometry of one
// glyph in a strip of glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/portable/pixels.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

// When no pixel has a non-zero alpha, every pixel whose colour differs from
// the colour of the bottom-left pixel gets alpha 255 (the others stay
// transparent). True when it changed the bitmap.
bool MakeAlphaFromColours(Bitmap32& bitmap);
// When no pixel has a non-zero alpha, every pixel whose colour differs from
// the key colour gets alpha 255. True when it changed the bitmap.
bool MakeAlphaFromKeyColour(Bitmap32& bitmap, TColor keyColour);

// A copy at Width x Height: resampled on premultiplied colour (so that the
// colour of transparent pixels does not bleed into the edges), by the
// nearest pixel for sources below 2 x 2.
Bitmap32 ResizeWithAlpha(const Bitmap32& source, int width, int height);

// One glyph of a strip of NumGlyphs glyphs side by side in an image of the
// list's size. A NumGlyphs below 1 counts as 1 (the whole image is one
// glyph); State is limited to 0..NumGlyphs - 1. A width that is not a
// multiple of NumGlyphs leaves the remainder at the right unused.
struct TGlyphPart {
    TRect Source;  // in the image
    TSize Size;    // of the glyph: (width / NumGlyphs, height)
};
TGlyphPart GlyphPart(int listWidth, int listHeight, int numGlyphs, int state);

// The bytes of one PNG file and the bitmap last made from them.
class TPngImageSource {
public:
    TPngImageSource() = default;
    explicit TPngImageSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    void SetBytes(std::vector<std::uint8_t> bytes);
    bool Empty() const { return bytes_.empty(); }
    // The picture's size from its header; false when the bytes are no PNG
    // image the reader can describe.
    bool ReadSize(int& width, int& height) const;

    // A 32-bit bitmap of Width x Height: the picture decoded (given alpha
    // from its colours when it has none) and resampled when its size
    // differs. Asked again for the same size, a copy of the cached bitmap:
    // the picture is not decoded again. Empty when the bytes do not decode
    // or the size is below 1.
    Bitmap32 Bitmap(int width, int height);
    void DropCache() { cache_ = Bitmap32(); }
    // How often the bytes were decoded (tests see the cache work).
    int Decodes() const { return decodes_; }

private:
    std::vector<std::uint8_t> bytes_;
    Bitmap32 cache_;
    int decodes_ = 0;
};

// The picture's pixels with alpha: a 32-bit PNG keeps its own, others get
// alpha from their colours. Raises the reader's errors.
Bitmap32 DecodePngWithAlpha(const std::vector<std::uint8_t>& bytes);

}  // namespace kova::skin
