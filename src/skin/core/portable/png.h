// PNG reading for the skin engine: the inflater wrapper, row unfiltering,
// the colour manager that turns file rows into bitmap rows, and the picture
// class that decodes a PNG stream into a device-independent bitmap layout
// (1, 4 or 8 bits per pixel with a palette, 24-bit BGR or 32-bit BGRA,
// top-down rows padded to 4 bytes). Window-free.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/portable/pixelbuffer.h"
#include "framework/portable/streams.h"

namespace kova::skin {

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EGraphicCompression : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EColorConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

enum class TColorScheme : std::uint8_t {
    csUnknown = 0, csIndexed = 1, csG = 2, csGA = 3, csRGB = 4, csRGBA = 5, csBGR = 6, csBGRA = 7
};

struct TPaletteEntry {
    std::uint8_t Red = 0, Green = 0, Blue = 0, Flags = 0;
    bool operator==(const TPaletteEntry&) const = default;
};

// Colour value 0x00BBGGRR; 0x1FFFFFFF is "no colour".
inline constexpr std::uint32_t kClNone = 0x1FFFFFFF;

// ---------------------------------------------------------------- inflater
class TLZ77Decoder {
public:
    TLZ77Decoder(int inflateFlush, bool resetEachCall);
    ~TLZ77Decoder();
    TLZ77Decoder(const TLZ77Decoder&) = delete;
    TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

    void StartDecoding();
    // Inflates from Source (PackedSize bytes) into Dest (UnpackedSize bytes)
    // and advances both pointers; nothing happens once LastResult is not 0.
    void DecodeBlock(const std::uint8_t*& source, std::uint8_t*& dest, std::uint32_t packedSize,
                     std::uint32_t unpackedSize);
    void FinishDecoding();
    std::uint32_t InputLeft() const;
    std::uint32_t OutputLeft() const;
    int LastResult() const { return lastResult_; }

private:
    struct State;
    std::unique_ptr<State> z_;
    int flush_;
    bool resetEachCall_;
    int lastResult_ = 0;
    bool started_ = false;
};

// ------------------------------------------------------------- unfiltering
std::uint8_t PaethPredictor(std::uint8_t a, std::uint8_t b, std::uint8_t c);
// Undoes a PNG row filter in place on `row` (RowBytes bytes, filter byte not
// included); `prior` is the previous unfiltered row (zeros for the first).
void UnfilterRow(int filterType, std::uint8_t* row, const std::uint8_t* prior, int bytesPerPixel,
                 std::size_t rowBytes);

// ------------------------------------------------------------ colour manager
class TColorManager {
public:
    TColorManager();

    void SetSourceBitsPerSample(std::uint8_t v);
    void SetTargetBitsPerSample(std::uint8_t v);
    void SetSourceSamplesPerPixel(std::uint8_t v);
    void SetTargetSamplesPerPixel(std::uint8_t v);
    void SetSourceColorScheme(TColorScheme v);
    void SetTargetColorScheme(TColorScheme v);
    void SetSourceOptions(std::uint8_t flags);   // bit 2: 16-bit samples big-endian
    void SetTargetOptions(std::uint8_t flags);   // bit 1: apply gamma

    std::uint8_t SourceBitsPerSample() const { return sourceBits_; }
    std::uint8_t TargetBitsPerSample() const { return targetBits_; }
    std::uint8_t SourceSamplesPerPixel() const { return sourceSamples_; }
    std::uint8_t TargetSamplesPerPixel() const { return targetSamples_; }
    TColorScheme SourceColorScheme() const { return sourceScheme_; }
    TColorScheme TargetColorScheme() const { return targetScheme_; }
    std::uint8_t SourceOptions() const { return sourceFlags_; }
    std::uint8_t TargetOptions() const { return targetFlags_; }
    bool GammaApplied() const { return (targetFlags_ & kApplyGamma) != 0; }

    static constexpr std::uint8_t kHasAlpha = 1;
    static constexpr std::uint8_t kApplyGamma = 2;
    static constexpr std::uint8_t kByteSwap = 4;

    void SetGammaValues(float imageGamma, float screenGamma);
    float ImageGamma() const { return imageGamma_; }
    float ScreenGamma() const { return screenGamma_; }
    const std::uint8_t* GammaMap() const { return gammaMap_; }

    enum class Side { Source, Target };
    TPixelFormat GetBitmapFormat(Side side) const;
    std::vector<TPaletteEntry> MakeGrayPalette(bool reverseRamp) const;
    // One plane of 8-bit triples, red, green, blue in turn (reversed with order).
    std::vector<TPaletteEntry> MakeColorPalette(const std::uint8_t* triples, int entryCount,
                                                bool order) const;
    // Converts one interleaved source row into Count target pixels.
    void ConvertRowPixels(const std::uint8_t* source, std::uint8_t* target, std::uint32_t count,
                          std::uint8_t passMask);

private:
    enum class Converter { None, Packed, Gray, RgbToBgr };
    void ChooseConverter();
    void ConvertPacked(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count, std::uint8_t mask) const;
    void ConvertGray(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count, std::uint8_t mask) const;
    void ConvertRgb(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count, std::uint8_t mask) const;

    bool needsChoice_ = true;
    std::uint8_t sourceBits_ = 8, targetBits_ = 8;
    std::uint8_t sourceSamples_ = 3, targetSamples_ = 3;
    TColorScheme sourceScheme_ = TColorScheme::csRGB, targetScheme_ = TColorScheme::csBGR;
    std::uint8_t sourceFlags_ = 0, targetFlags_ = 0;
    float imageGamma_ = 1.0f, screenGamma_ = 2.2f;
    std::uint8_t gammaMap_[256] = {};
    Converter converter_ = Converter::None;
};

// ------------------------------------------------------------------ picture
struct THeaderInfo {
    static constexpr std::uint8_t ioBigEndian = 1;
    static constexpr std::uint8_t ioUseGamma = 2;
    std::uint8_t Options = 0;
    std::uint32_t Width = 0, Height = 0;
    TColorScheme ColorScheme = TColorScheme::csUnknown;
    std::uint8_t BitsPerSample = 0;
    std::uint8_t SamplesPerPixel = 0;
    std::uint8_t BitsPerPixel = 0;
    bool CompressionZLib = false;
    float FileGamma = 1.0f;
    bool Interlaced = false;
    bool HasAlpha = false;
    std::uint8_t FilterMode = 0;
    // Raw IHDR colour type, kept for the checks and the dump tool.
    std::uint8_t ColourType = 0;
};

// Implementation caps on top of the PNG standard's 2^31 - 1.
inline constexpr std::uint32_t kPngMaxDimension = 32768;
inline constexpr std::uint64_t kPngMaxPixels = 1ull << 26;  // 64 megapixels

class TPNGGraphic {
public:
    TPNGGraphic();
    ~TPNGGraphic();

    void LoadFromStream(TStream& stream);
    void Assign(const TPNGGraphic& source);
    // Reads the signature, IHDR and the gAMA scan only; false when the data
    // is no PNG image we can describe.
    bool ReadPNGHeader(TStream& stream);

    const THeaderInfo& HeaderInfo() const { return header_; }
    TColorManager& ColourConverter() { return colours_; }

    // The decoded image, laid out as a top-down DIB.
    int Width() const { return width_; }
    int Height() const { return height_; }
    TPixelFormat PixelFormat() const { return format_; }
    int BitsPerPixel() const;
    std::size_t RowBytes() const { return rowBytes_; }
    std::uint8_t* ScanLine(int y) { return bits_.data() + static_cast<std::size_t>(y) * rowBytes_; }
    const std::uint8_t* ScanLine(int y) const { return bits_.data() + static_cast<std::size_t>(y) * rowBytes_; }
    const std::vector<TPaletteEntry>& Palette() const { return palette_; }
    bool Transparent() const { return transparent_; }
    std::uint32_t TransparentColour() const { return transparentColour_; }
    std::uint32_t FillColour() const { return fillColour_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // 32-bit BGRA copy: colours after the palette; alpha from a 32-bit
    // picture, 255 for every other format; pixels the image data did not
    // reach (it ended early) are transparent black.
    PixelBuffer32 ToBitmap32() const;
    // The image data ended before the last row: the rows read are kept.
    bool Partial() const { return partial_; }
    // Whether the image data reached this pixel.
    bool PixelRead(int x, int y) const;

private:
    struct Loader;
    void Clear();
    void SetSize(int width, int height, TPixelFormat format);

    TColorManager colours_;
    THeaderInfo header_;
    int width_ = 0, height_ = 0;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    std::size_t rowBytes_ = 0;
    std::vector<std::uint8_t> bits_;
    std::vector<TPaletteEntry> palette_;
    bool transparent_ = false;
    std::uint32_t transparentColour_ = kClNone;
    std::uint32_t fillColour_ = 0xFFFFFF;
    // Where the image data ended: the pass (0 when not interlaced) and the
    // first row of it that was not read.
    bool partial_ = false;
    int partialPass_ = 0;
    std::uint32_t partialRow_ = 0;
};

// Premultiplies colour by alpha (channel * alpha / 255, rounded down) on a
// buffer at least 1 x 2; anything smaller is left alone.
void PremultiplyAlpha(PixelBuffer32& bitmap);
// White pixels with alpha 0 become 0 (black, alpha 0); buffers at least 1 x 2.
void ClearWhiteTransparent(PixelBuffer32& bitmap);

}  // namespace kova::skin
