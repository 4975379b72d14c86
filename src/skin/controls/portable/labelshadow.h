// The drop shadow of an effects label, on buffers: the text is drawn white
// on black into a work picture, spread into a blur plane, and the shadow
// colour is mixed over what lies under the label by that plane.
// Window-free.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/core/portable/pixels.h"

namespace kova::skin {

// How far the shadow reaches past the text on each side: the left/top
// margin is never positive, the right/bottom one never negative.
struct TShadowMargins {
    int LeftTop = 0;
    int RightBottom = 0;
};
TShadowMargins ShadowMargins(int offset, int blur);

// The blur plane of a work picture: (width + 2) x (height + 2) bytes with a
// one-byte border. `blur` rounds: every byte under a lit (not black) pixel
// is set to 255, then every inner byte becomes the average of its four
// neighbours, row by row, in place. Kept between paints; grown when needed.
class TShadowPlane {
public:
    void Build(const Bitmap32& text, int blur);
    // The weight under pixel (x, y) of the work picture.
    std::uint8_t At(int x, int y) const { return bytes_[Index(x + 1, y + 1)]; }
    std::size_t Capacity() const { return bytes_.size(); }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * stride_ + x; }
    std::vector<std::uint8_t> bytes_;
    std::size_t stride_ = 0;
};

// The shadow mixed into dest (already holding what lies under the label
// when transparent) by the plane's weights: transparent, each channel
// becomes (channel x (255 - a) + shadow x a) / 255; opaque, the label's
// colour takes the channel's place. Colours are 0xBBGGRR.
void ComposeShadow(Bitmap32& dest, const TShadowPlane& plane, std::uint32_t shadowColour, bool transparent,
                   std::uint32_t labelColour);

}  // namespace kova::skin
