#include "skin/core/portable/animframes.h"

#include <algorithm>
#include <cmath>

namespace kova::skin {

AnimFrameSequence::AnimFrameSequence(AnimDirection direction, int steps, std::uint8_t maxAlpha, bool aero,
                                     int width, int height, bool dialog)
    : direction_(direction), steps_(std::max(steps, 1)), maxAlpha_(maxAlpha), aero_(aero) {
    const double w = width, h = height;
    if (direction_ == AnimDirection::Show) {
        alpha_ = 0;
        alphaStep_ = maxAlpha_ / (dialog ? steps_ + 1 : steps_);
        if (aero_) {
            dx_ = w / (8.0 * steps_);
            dy_ = h / (8.0 * steps_);
            rect_ = {w / 8, h / 8, w - w / 8, h - h / 8};
        }
    } else {
        alpha_ = maxAlpha_;
        alphaStep_ = maxAlpha_ / steps_;
        if (aero_) {
            dx_ = -w / (8.0 * steps_);
            dy_ = -h / (8.0 * steps_);
            rect_ = {0, 0, w, h};
        }
    }
}

AnimFrame AnimFrameSequence::Next() {
    AnimFrame f;
    if (direction_ == AnimDirection::Show)
        alpha_ = std::min(maxAlpha_, alpha_ + alphaStep_);
    else
        alpha_ = std::max(0.0, alpha_ - alphaStep_);
    f.Alpha = static_cast<std::uint8_t>(std::lround(alpha_));
    if (aero_) {
        // Rounding noise may leave the last rectangle a hair outside the
        // picture: that frame is the whole picture, copied.
        constexpr double eps = 1e-9;
        if (rect_.Left >= -eps && rect_.Top >= -eps) {
            f.Stretch = true;
            f.Left = static_cast<int>(std::lround(rect_.Left));
            f.Top = static_cast<int>(std::lround(rect_.Top));
            f.Right = static_cast<int>(std::lround(rect_.Right));
            f.Bottom = static_cast<int>(std::lround(rect_.Bottom));
        } else {
            f.Copy = true;
        }
        const double ax = std::abs(dx_), ay = std::abs(dy_);
        const double gx = direction_ == AnimDirection::Show ? ax : -ax;
        const double gy = direction_ == AnimDirection::Show ? ay : -ay;
        rect_.Left -= gx;
        rect_.Top -= gy;
        rect_.Right += gx;
        rect_.Bottom += gy;
    } else {
        f.Copy = index_ == 0;
    }
    ++index_;
    return f;
}

void StretchPixels(const PixelBuffer32& source, PixelBuffer32& frame, int left, int top, int right, int bottom) {
    const int dw = right - left, dh = bottom - top;
    if (dw <= 0 || dh <= 0 || source.Empty() || frame.Empty()) return;
    const int y0 = std::max(top, 0), y1 = std::min(bottom, frame.Height());
    const int x0 = std::max(left, 0), x1 = std::min(right, frame.Width());
    for (int y = y0; y < y1; ++y) {
        const int sy = static_cast<int>((static_cast<long long>(y - top) * source.Height()) / dh);
        const std::uint32_t* s = source.ScanLine(sy);
        std::uint32_t* d = frame.ScanLine(y);
        for (int x = x0; x < x1; ++x)
            d[x] = s[static_cast<int>((static_cast<long long>(x - left) * source.Width()) / dw)];
    }
}

void CopyPixels(const PixelBuffer32& source, PixelBuffer32& frame) {
    const int w = std::min(source.Width(), frame.Width()), h = std::min(source.Height(), frame.Height());
    for (int y = 0; y < h; ++y) std::copy(source.ScanLine(y), source.ScanLine(y) + w, frame.ScanLine(y));
}

void MakeOpaque(PixelBuffer32& pixels) {
    for (int y = 0; y < pixels.Height(); ++y) {
        std::uint32_t* p = pixels.ScanLine(y);
        for (int x = 0; x < pixels.Width(); ++x) p[x] |= 0xFF000000u;
    }
}

}  // namespace kova::skin
