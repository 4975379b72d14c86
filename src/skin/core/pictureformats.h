// PNG and JPEG pictures as graphics of the framework, so that a TPicture
// (an image control, a skin's picture) loads and draws them like bitmaps.
// Both decode into a 32-bit buffer; a PNG with an alpha channel is drawn
// blended over what the canvas shows, everything else opaque.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics.h"
#include "skin/core/portable/pixels.h"

namespace kova::skin {

class TSkinPicture : public TGraphic {
    KOVA_CLASS(TSkinPicture, TGraphic)
public:
    int Width() const override { return pixels_.Width(); }
    int Height() const override { return pixels_.Height(); }
    bool Assign(const TPersistent* source) override;
    // Pixels drawn into dest; with alpha, blended over what the canvas
    // shows there (colour and alpha stretched alike when the sizes differ).
    void Draw(TCanvas* canvas, const RECT& dest) override;
    // Writes the file's bytes as they were read.
    void SaveToStream(TStream& s) override;

    const Bitmap32& Pixels() const { return pixels_; }
    // True when the picture has an alpha channel of its own.
    bool HasAlpha() const { return alpha_; }

protected:
    void SetDecoded(Bitmap32 pixels, bool alpha, std::vector<std::uint8_t> bytes);
    static std::vector<std::uint8_t> ReadRest(TStream& s);

private:
    Bitmap32 pixels_;
    bool alpha_ = false;
    std::vector<std::uint8_t> bytes_;
};

// "png": any PNG image the skin engine's reader accepts; 32-bit images keep
// their alpha.
class TPNGPicture : public TSkinPicture {
    KOVA_CLASS(TPNGPicture, TSkinPicture)
public:
    void LoadFromStream(TStream& s) override;
};

// "jpg", "jpeg": baseline and progressive JPEG through libjpeg; opaque.
class TJPEGPicture : public TSkinPicture {
    KOVA_CLASS(TJPEGPicture, TSkinPicture)
public:
    void LoadFromStream(TStream& s) override;
};

// Registers both with TPicture (PNG as "Portable network graphics (skin
// engine)"); once, later calls do nothing. Done at program start by this
// unit itself; callers that must be sure before their first load call it.
void RegisterSkinPictureFormats();
// Removes them again (tests).
void UnregisterSkinPictureFormats();

}  // namespace kova::skin
