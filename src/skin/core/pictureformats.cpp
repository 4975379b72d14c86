#include "skin/core/pictureformats.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/pictures.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

bool TSkinPicture::Assign(const TPersistent* source) {
    auto* p = dynamic_cast<const TSkinPicture*>(source);
    if (!p) return false;
    if (p == this) return true;
    SetDecoded(p->pixels_.Clone(), p->alpha_, p->bytes_);
    return true;
}

void TSkinPicture::SetDecoded(Bitmap32 pixels, bool alpha, std::vector<std::uint8_t> bytes) {
    pixels_ = std::move(pixels);
    alpha_ = alpha;
    bytes_ = std::move(bytes);
    Changed();
}

std::vector<std::uint8_t> TSkinPicture::ReadRest(TStream& s) {
    const std::int64_t n = s.Remaining();
    if (n <= 0 || n > (std::int64_t{256} << 20)) throw kova::EInvalidGraphic("Picture data is not valid");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
    s.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

void TSkinPicture::SaveToStream(TStream& s) {
    if (bytes_.empty()) throw kova::EInvalidGraphic("Picture has no stored image");
    s.WriteBuffer(bytes_.data(), bytes_.size());
}

void TSkinPicture::Draw(TCanvas* canvas, const RECT& dest) {
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (canvas == nullptr || w <= 0 || h <= 0 || pixels_.Empty()) return;
    HDC dc = canvas->Handle();
    const RECT whole{0, 0, pixels_.Width(), pixels_.Height()};
    if (!alpha_) {
        if (w == pixels_.Width() && h == pixels_.Height())
            CopyBufferToDC(dc, dest.left, dest.top, pixels_, whole);
        else
            StretchBufferToDC(dc, dest, pixels_, whole);
        return;
    }
    // What the canvas shows under the rectangle, the picture blended on it
    // by its alpha, and back.
    Bitmap32 work = ReadDCToBuffer(dc, dest);
    const Bitmap32* src = &pixels_;
    Bitmap32 stretched;
    if (w != pixels_.Width() || h != pixels_.Height()) {
        // One nearest-pixel mapping for colour and alpha alike.
        stretched = Bitmap32(w, h);
        StretchRect(stretched, {0, 0, w, h}, pixels_, {0, 0, pixels_.Width(), pixels_.Height()});
        src = &stretched;
    }
    CopyAlphaBitmap({0, 0, w, h}, {0, 0}, work, src, TsParentImageInfo{}, false, clNone, 0, false);
    CopyBufferToDC(dc, dest.left, dest.top, work, RECT{0, 0, w, h});
}

void TPNGPicture::LoadFromStream(TStream& s) {
    std::vector<std::uint8_t> bytes = ReadRest(s);
    TMemoryStream m(bytes);
    TPNGGraphic png;
    try {
        png.LoadFromStream(m);
    } catch (const std::runtime_error& e) {
        // The reader's own errors (image, zlib, stream) as the picture's.
        throw kova::EInvalidGraphic(e.what());
    }
    SetDecoded(png.ToBitmap32(), png.PixelFormat() == TPixelFormat::pf32bit, std::move(bytes));
}

void TJPEGPicture::LoadFromStream(TStream& s) {
    std::vector<std::uint8_t> bytes = ReadRest(s);
    TDecodedPicture decoded;
    try {
        decoded = DecodeJpeg(bytes);
    } catch (const EPictureError& e) {
        throw kova::EInvalidGraphic(e.what());
    }
    SetDecoded(std::move(decoded.Pixels), false, std::move(bytes));
}

namespace {
bool registered = false;
}  // namespace

void RegisterSkinPictureFormats() {
    if (registered) return;
    registered = true;
    TPicture::RegisterFileFormat({"png", "Portable network graphics (skin engine)", &TPNGPicture::StaticClass(),
                                  [](const std::uint8_t* d, std::size_t n) {
                                      static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
                                      return n >= 8 && std::equal(sig, sig + 8, d);
                                  },
                                  [] { return std::unique_ptr<TGraphic>(std::make_unique<TPNGPicture>()); }});
    auto jpeg = [](const std::string& ext) {
        return TPictureFormat{ext, "JPEG image", &TJPEGPicture::StaticClass(),
                              [](const std::uint8_t* d, std::size_t n) {
                                  return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF;
                              },
                              [] { return std::unique_ptr<TGraphic>(std::make_unique<TJPEGPicture>()); }};
    };
    TPicture::RegisterFileFormat(jpeg("jpg"));
    TPicture::RegisterFileFormat(jpeg("jpeg"));
}

void UnregisterSkinPictureFormats() {
    if (!registered) return;
    registered = false;
    TPicture::UnregisterGraphicClass(TPNGPicture::StaticClass());
    TPicture::UnregisterGraphicClass(TJPEGPicture::StaticClass());
}

namespace {
// The unit registers its formats when the program starts.
[[maybe_unused]] const bool startupRegistration = (RegisterSkinPictureFormats(), true);
}  // namespace

}  // namespace kova::skin
