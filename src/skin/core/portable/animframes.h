// The arithmetic of the show and hide animations, apart from any window:
// how many frames a time gives, the constant alpha of each frame and, in
// the aero mode, the rectangle the picture is stretched into. Also the
// nearest-pixel stretch that builds an aero frame from the source picture.
// Window-free.
#pragma once

#include <cstdint>

#include "framework/portable/pixelbuffer.h"

namespace kova::skin {

// Fixed period between two frames, milliseconds.
inline constexpr int kAnimFrameInterval = 12;

// Whole frame periods in an animation time (0: show at once / hide at once).
inline int AnimationSteps(std::uint16_t time) { return time / kAnimFrameInterval; }

struct AnimRectF {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One frame: its constant alpha and how the source reaches the frame
// picture. With Stretch the source is stretched into Dest (frame cleared to
// black first); with Copy it is copied 1:1; with neither the frame picture
// stays as the previous frame left it.
struct AnimFrame {
    std::uint8_t Alpha = 0;
    bool Stretch = false;
    bool Copy = false;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

enum class AnimDirection { Show, Hide };

class AnimFrameSequence {
public:
    // steps > 0. Show: alpha rises from 0 by maxAlpha / steps (dialogs:
    // maxAlpha / (steps + 1)); aero grows from three quarters of the size,
    // centred, to the whole. Hide: alpha falls from maxAlpha by
    // maxAlpha / steps; aero shrinks from the whole by the same amount.
    AnimFrameSequence(AnimDirection direction, int steps, std::uint8_t maxAlpha, bool aero, int width, int height,
                      bool dialog = false);

    int Steps() const { return steps_; }
    double AlphaStep() const { return alphaStep_; }
    // Frames 0 .. steps: steps + 1 of them.
    bool HasNext() const { return index_ <= steps_; }
    int Index() const { return index_; }
    AnimFrame Next();

private:
    AnimDirection direction_;
    int steps_;
    double maxAlpha_;
    bool aero_;
    double alpha_;
    double alphaStep_;
    double dx_ = 0, dy_ = 0;
    AnimRectF rect_;
    int index_ = 0;
};

// The source stretched into dest of the frame picture (nearest pixel);
// the rest of the frame is left as it is. Parts of dest outside the frame
// are cut.
void StretchPixels(const PixelBuffer32& source, PixelBuffer32& frame, int left, int top, int right, int bottom);
// The source copied 1:1 to the frame's top left corner, cut to both.
void CopyPixels(const PixelBuffer32& source, PixelBuffer32& frame);
// Sets the alpha byte of every pixel to 255.
void MakeOpaque(PixelBuffer32& pixels);

}  // namespace kova::skin
