#include "skin/core/portable/png.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace kova::skin {

namespace {

std::string Fmt(const char* format, const char* a, const char* b = nullptr) {
    std::string s(format);
    auto put = [&s](const char* v) {
        const std::size_t p = s.find("%s");
        if (p != std::string::npos) s.replace(p, 2, v);
    };
    put(a);
    if (b) put(b);
    return s;
}

[[noreturn]] void InvalidFormat() {
    throw EInvalidGraphic(Fmt("Cannot load image. Invalid or unexpected %s image format.", "PNG"));
}
[[noreturn]] void InvalidColourFormat() {
    throw EInvalidGraphic(Fmt("Invalid color format in %s file.", "PNG"));
}
[[noreturn]] void CrcError() {
    throw EInvalidGraphic(Fmt("Cannot load image. CRC error found in %s file.", "PNG"));
}
[[noreturn]] void LZ77Error() { throw EGraphicCompression("LZ77 decompression error."); }

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
std::uint8_t Reduce16(std::uint32_t v) { return static_cast<std::uint8_t>(v * 255u / 65535u); }

// Round to nearest with halves to even, as the FPU does by default.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

// ============================================================ TLZ77Decoder

struct TLZ77Decoder::State {
    z_stream rec{};
};

TLZ77Decoder::TLZ77Decoder(int inflateFlush, bool resetEachCall)
    : z_(std::make_unique<State>()), flush_(inflateFlush), resetEachCall_(resetEachCall) {}

TLZ77Decoder::~TLZ77Decoder() {
    if (started_) inflateEnd(&z_->rec);
}

void TLZ77Decoder::StartDecoding() {
    if (started_) inflateEnd(&z_->rec);
    z_->rec = z_stream{};
    lastResult_ = inflateInit(&z_->rec);
    if (lastResult_ < 0) LZ77Error();
    started_ = true;
}

void TLZ77Decoder::DecodeBlock(const std::uint8_t*& source, std::uint8_t*& dest, std::uint32_t packedSize,
                               std::uint32_t unpackedSize) {
    z_stream& zs = z_->rec;
    zs.next_in = const_cast<Bytef*>(source);
    zs.avail_in = packedSize;
    if (resetEachCall_) lastResult_ = inflateReset(&zs);
    if (lastResult_ == Z_OK) {
        zs.next_out = dest;
        zs.avail_out = unpackedSize;
        lastResult_ = inflate(&zs, flush_);
        source = zs.next_in;
        dest = zs.next_out;
    }
}

void TLZ77Decoder::FinishDecoding() {
    if (!started_) return;
    started_ = false;
    if (inflateEnd(&z_->rec) < 0) LZ77Error();
}

std::uint32_t TLZ77Decoder::InputLeft() const { return z_->rec.avail_in; }
std::uint32_t TLZ77Decoder::OutputLeft() const { return z_->rec.avail_out; }

// ============================================================= unfiltering

std::uint8_t PaethPredictor(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pc < pb ? c : b;
}

void UnfilterRow(int filterType, std::uint8_t* row, const std::uint8_t* prior, int bytesPerPixel,
                 std::size_t rowBytes) {
    const std::size_t bpp = static_cast<std::size_t>(std::max(bytesPerPixel, 1));
    const std::size_t lead = std::min(bpp, rowBytes);
    switch (filterType) {
        case 1:
            for (std::size_t i = bpp; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
            break;
        case 2:
            for (std::size_t i = 0; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
            break;
        case 3:
            for (std::size_t i = 0; i < lead; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
            for (std::size_t i = bpp; i < rowBytes; ++i)
                row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
            break;
        case 4:
            for (std::size_t i = 0; i < lead; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
            for (std::size_t i = bpp; i < rowBytes; ++i) {
                const int a = row[i - bpp], b = prior[i], c = prior[i - bpp];
                const int p = b - c, q = a - c;
                const int pa = std::abs(p), pb = std::abs(q), pc = std::abs(p + q);
                const int pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                row[i] = static_cast<std::uint8_t>(row[i] + pred);
            }
            break;
        default:
            break;  // 0 and unknown types leave the bytes as stored
    }
}

// =========================================================== TColorManager

TColorManager::TColorManager() { SetGammaValues(1.0f, 2.2f); }

void TColorManager::SetSourceBitsPerSample(std::uint8_t v) {
    if (v < 1 || v > 16)
        throw EColorConversionError("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
    if (v != sourceBits_) { sourceBits_ = v; needsChoice_ = true; }
}
void TColorManager::SetTargetBitsPerSample(std::uint8_t v) {
    if (v < 1 || v > 16)
        throw EColorConversionError("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
    if (v != targetBits_) { targetBits_ = v; needsChoice_ = true; }
}
void TColorManager::SetSourceSamplesPerPixel(std::uint8_t v) {
    if (v < 1 || v > 4)
        throw EColorConversionError("Sample count per pixel does not correspond to the given color scheme.");
    if (v != sourceSamples_) { sourceSamples_ = v; needsChoice_ = true; }
}
void TColorManager::SetTargetSamplesPerPixel(std::uint8_t v) {
    if (v < 1 || v > 4)
        throw EColorConversionError("Sample count per pixel does not correspond to the given color scheme.");
    if (v != targetSamples_) { targetSamples_ = v; needsChoice_ = true; }
}
void TColorManager::SetSourceColorScheme(TColorScheme v) {
    if (v != sourceScheme_) { sourceScheme_ = v; needsChoice_ = true; }
}
void TColorManager::SetTargetColorScheme(TColorScheme v) {
    if (v != targetScheme_) { targetScheme_ = v; needsChoice_ = true; }
}
void TColorManager::SetSourceOptions(std::uint8_t flags) {
    if (flags != sourceFlags_) { sourceFlags_ = flags; needsChoice_ = true; }
}
void TColorManager::SetTargetOptions(std::uint8_t flags) {
    if (flags != targetFlags_) { targetFlags_ = flags; needsChoice_ = true; }
}

void TColorManager::SetGammaValues(float imageGamma, float screenGamma) {
    imageGamma_ = imageGamma > 0 ? imageGamma : 1.0f;
    screenGamma_ = screenGamma > 0 ? screenGamma : 2.2f;
    const double g = 1.0 / (static_cast<double>(imageGamma_) * static_cast<double>(screenGamma_));
    const int sourceTop = sourceBits_ >= 8 ? 255 : (1 << targetBits_) - 1;
    const int targetTop = targetBits_ >= 8 ? 255 : (1 << targetBits_) - 1;
    // Most images share a handful of gamma values: keep the last tables.
    struct Cached {
        double g;
        int sourceTop, targetTop;
        std::uint8_t map[256];
    };
    thread_local Cached cache[4];
    thread_local int cacheCount = 0, cacheNext = 0;
    for (int c = 0; c < cacheCount; ++c) {
        if (cache[c].g == g && cache[c].sourceTop == sourceTop && cache[c].targetTop == targetTop) {
            std::memcpy(gammaMap_, cache[c].map, sizeof gammaMap_);
            return;
        }
    }
    std::memset(gammaMap_, 0, sizeof gammaMap_);
    for (int i = 0; i <= sourceTop && i < 256; ++i) {
        const int v = RoundEven(std::pow(static_cast<double>(i) / sourceTop, g) * targetTop);
        gammaMap_[i] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
    Cached& slot = cache[cacheNext];
    slot.g = g;
    slot.sourceTop = sourceTop;
    slot.targetTop = targetTop;
    std::memcpy(slot.map, gammaMap_, sizeof gammaMap_);
    cacheNext = (cacheNext + 1) % 4;
    cacheCount = std::min(cacheCount + 1, 4);
}

TPixelFormat TColorManager::GetBitmapFormat(Side side) const {
    const int samples = side == Side::Source ? sourceSamples_ : targetSamples_;
    const int bits = side == Side::Source ? sourceBits_ : targetBits_;
    switch (samples) {
        case 1:
            if (bits == 1) return TPixelFormat::pf1bit;
            if (bits >= 2 && bits <= 4) return TPixelFormat::pf4bit;
            if (bits >= 8 && bits <= 16) return TPixelFormat::pf8bit;
            return TPixelFormat::pfCustom;
        case 3:
            return bits <= 5 ? TPixelFormat::pf15bit : TPixelFormat::pf24bit;
        case 4:
            return bits >= 8 ? TPixelFormat::pf32bit : TPixelFormat::pfCustom;
        default:
            return TPixelFormat::pfCustom;
    }
}

std::vector<TPaletteEntry> TColorManager::MakeGrayPalette(bool reverseRamp) const {
    const int n = 1 << std::min(targetBits_ * targetSamples_, 8);
    const int step = n > 1 ? 255 / (n - 1) : 255;
    std::vector<TPaletteEntry> pal(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        int level = i * step;
        if (GammaApplied()) level = gammaMap_[std::min(level, 255)];
        const auto v = static_cast<std::uint8_t>(level);
        pal[static_cast<std::size_t>(reverseRamp ? n - 1 - i : i)] = TPaletteEntry{v, v, v, 0};
    }
    return pal;
}

std::vector<TPaletteEntry> TColorManager::MakeColorPalette(const std::uint8_t* triples, int entryCount,
                                                           bool order) const {
    const int n = std::clamp(entryCount, 0, 256);
    std::vector<TPaletteEntry> pal(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::uint8_t c[3] = {triples[3 * i], triples[3 * i + 1], triples[3 * i + 2]};
        if (order) std::swap(c[0], c[2]);
        if (GammaApplied())
            for (auto& v : c) v = gammaMap_[v];
        pal[static_cast<std::size_t>(i)] = TPaletteEntry{c[0], c[1], c[2], 0};
    }
    return pal;
}

void TColorManager::ChooseConverter() {
    converter_ = Converter::None;
    const bool sourcePaletteLike = sourceScheme_ == TColorScheme::csIndexed || sourceScheme_ == TColorScheme::csG ||
                                   sourceScheme_ == TColorScheme::csGA;
    const bool targetPaletteLike = targetScheme_ == TColorScheme::csIndexed || targetScheme_ == TColorScheme::csG;
    if (sourcePaletteLike != targetPaletteLike)
        throw EColorConversionError("Conversion between indexed and non-indexed pixel formats is not supported.");
    auto hasAlpha = [](TColorScheme s) {
        return s == TColorScheme::csGA || s == TColorScheme::csRGBA || s == TColorScheme::csBGRA;
    };
    sourceFlags_ = static_cast<std::uint8_t>((sourceFlags_ & ~kHasAlpha) | (hasAlpha(sourceScheme_) ? kHasAlpha : 0));
    targetFlags_ = static_cast<std::uint8_t>((targetFlags_ & ~kHasAlpha) | (hasAlpha(targetScheme_) ? kHasAlpha : 0));
    const bool any16 = sourceBits_ == 16 || targetBits_ == 16;
    // The packed converter handles whole-byte-aligned widths only.
    auto packable = [](unsigned b) { return b == 1 || b == 2 || b == 4 || b == 8; };
    switch (sourceScheme_) {
        case TColorScheme::csIndexed:
            if (!any16 && packable(sourceBits_) && packable(targetBits_)) converter_ = Converter::Packed;
            break;
        case TColorScheme::csG:
            if (!any16 && packable(sourceBits_) && packable(targetBits_))
                converter_ = Converter::Packed;
            else if ((sourceBits_ == 8 || sourceBits_ == 16) && (targetBits_ == 8 || targetBits_ == 16))
                converter_ = Converter::Gray;
            break;
        case TColorScheme::csGA:
            if ((sourceBits_ == 8 || sourceBits_ == 16) && (targetBits_ == 8 || targetBits_ == 16))
                converter_ = Converter::Gray;
            break;
        case TColorScheme::csRGB:
        case TColorScheme::csRGBA:
            if ((targetScheme_ == TColorScheme::csBGR || targetScheme_ == TColorScheme::csBGRA) &&
                (sourceBits_ == 8 || sourceBits_ == 16) && targetBits_ == 8)
                converter_ = Converter::RgbToBgr;
            break;
        default:
            break;
    }
    // The gray converter writes one byte per pixel.
    if (converter_ == Converter::Gray && targetBits_ != 8) converter_ = Converter::None;
    needsChoice_ = false;
}

void TColorManager::ConvertRowPixels(const std::uint8_t* source, std::uint8_t* target, std::uint32_t count,
                                     std::uint8_t passMask) {
    if (needsChoice_) ChooseConverter();
    switch (converter_) {
        case Converter::Packed: ConvertPacked(source, target, count, passMask); return;
        case Converter::Gray: ConvertGray(source, target, count, passMask); return;
        case Converter::RgbToBgr: ConvertRgb(source, target, count, passMask); return;
        case Converter::None: break;
    }
    needsChoice_ = true;
    throw EColorConversionError("Color conversion failed. Could not find a proper method.");
}

namespace {
inline bool MaskBit(std::uint8_t mask, std::uint32_t x) { return (mask >> (7 - (x & 7))) & 1; }
}  // namespace

void TColorManager::ConvertPacked(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count,
                                  std::uint8_t mask) const {
    const unsigned sb = sourceBits_, tb = targetBits_;
    if (sb == tb && mask == 0xFF) {
        std::memcpy(t, s, (static_cast<std::size_t>(count) * sb + 7) / 8);
        return;
    }
    const bool scale = sourceScheme_ == TColorScheme::csG && sb != tb;
    const unsigned smax = (1u << sb) - 1, tmax = (1u << tb) - 1;
    std::size_t sbit = 0;
    for (std::uint32_t x = 0; x < count; ++x) {
        if (!MaskBit(mask, x)) continue;
        const std::uint8_t sbyte = s[sbit >> 3];
        unsigned v = (sbyte >> (8 - sb - (sbit & 7))) & smax;
        sbit += sb;
        if (scale) v = v * tmax / smax;
        const std::size_t tbit = static_cast<std::size_t>(x) * tb;
        const unsigned shift = 8 - tb - static_cast<unsigned>(tbit & 7);
        std::uint8_t& tbyte = t[tbit >> 3];
        tbyte = static_cast<std::uint8_t>((tbyte & ~(tmax << shift)) | ((v & tmax) << shift));
    }
}

void TColorManager::ConvertGray(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count,
                                std::uint8_t mask) const {
    const bool wide = sourceBits_ == 16;
    const bool swap = (sourceFlags_ & kByteSwap) != 0;
    const std::size_t step = (wide ? 2u : 1u) * (sourceScheme_ == TColorScheme::csGA ? 2u : 1u);
    for (std::uint32_t x = 0; x < count; ++x) {
        if (!MaskBit(mask, x)) continue;
        if (wide) {
            const unsigned v = swap ? BigEndian16(s) : static_cast<unsigned>(s[0] | (s[1] << 8));
            t[x] = Reduce16(v);
        } else {
            t[x] = s[0];
        }
        s += step;
    }
}

void TColorManager::ConvertRgb(const std::uint8_t* s, std::uint8_t* t, std::uint32_t count,
                               std::uint8_t mask) const {
    const bool srcAlpha = sourceScheme_ == TColorScheme::csRGBA;
    const bool dstAlpha = targetScheme_ == TColorScheme::csBGRA;
    const bool wide = sourceBits_ == 16;
    const bool swap = (sourceFlags_ & kByteSwap) != 0;
    const bool gamma = GammaApplied();
    const std::size_t sstep = (srcAlpha ? 4u : 3u) * (wide ? 2u : 1u);
    const std::size_t tstep = dstAlpha ? 4u : 3u;
    auto comp = [&](const std::uint8_t* p) -> std::uint8_t {
        std::uint8_t v;
        if (wide)
            v = Reduce16(swap ? BigEndian16(p) : static_cast<unsigned>(p[0] | (p[1] << 8)));
        else
            v = p[0];
        return gamma ? gammaMap_[v] : v;
    };
    if (!wide && !gamma && mask == 0xFF) {
        // The common case, kept tight.
        if (srcAlpha && dstAlpha) {
            for (std::uint32_t x = 0; x < count; ++x, s += 4, t += 4) {
                t[0] = s[2]; t[1] = s[1]; t[2] = s[0]; t[3] = s[3];
            }
        } else {
            for (std::uint32_t x = 0; x < count; ++x, s += sstep, t += tstep) {
                t[0] = s[2]; t[1] = s[1]; t[2] = s[0];
            }
        }
        return;
    }
    const std::size_t sampleBytes = wide ? 2 : 1;
    for (std::uint32_t x = 0; x < count; ++x, t += tstep) {
        if (!MaskBit(mask, x)) continue;
        t[2] = comp(s);
        t[1] = comp(s + sampleBytes);
        t[0] = comp(s + 2 * sampleBytes);
        if (srcAlpha && dstAlpha) {
            const std::uint8_t* a = s + 3 * sampleBytes;
            t[3] = wide ? Reduce16(swap ? BigEndian16(a) : static_cast<unsigned>(a[0] | (a[1] << 8))) : a[0];
        }
        s += sstep;
    }
}

// ============================================================= TPNGGraphic

TPNGGraphic::TPNGGraphic() = default;
TPNGGraphic::~TPNGGraphic() = default;

int TPNGGraphic::BitsPerPixel() const {
    switch (format_) {
        case TPixelFormat::pf1bit: return 1;
        case TPixelFormat::pf4bit: return 4;
        case TPixelFormat::pf8bit: return 8;
        case TPixelFormat::pf24bit: return 24;
        case TPixelFormat::pf32bit: return 32;
        default: return 0;
    }
}

void TPNGGraphic::Clear() {
    width_ = height_ = 0;
    format_ = TPixelFormat::pfDevice;
    rowBytes_ = 0;
    bits_.clear();
    bits_.shrink_to_fit();
    palette_.clear();
    transparent_ = false;
    transparentColour_ = kClNone;
    partial_ = false;
    partialPass_ = 0;
    partialRow_ = 0;
}

void TPNGGraphic::SetSize(int width, int height, TPixelFormat format) {
    format_ = format;
    width_ = width;
    height_ = height;
    const std::size_t bpp = static_cast<std::size_t>(BitsPerPixel());
    rowBytes_ = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    bits_.assign(rowBytes_ * static_cast<std::size_t>(height), 0);
}

void TPNGGraphic::Assign(const TPNGGraphic& source) {
    if (&source == this) return;
    header_ = source.header_;
    width_ = source.width_;
    height_ = source.height_;
    format_ = source.format_;
    rowBytes_ = source.rowBytes_;
    bits_ = source.bits_;
    palette_ = source.palette_;
    transparent_ = source.transparent_;
    transparentColour_ = source.transparentColour_;
    fillColour_ = source.fillColour_;
    partial_ = source.partial_;
    partialPass_ = source.partialPass_;
    partialRow_ = source.partialRow_;
}

PixelBuffer32 TPNGGraphic::ToBitmap32() const {
    PixelBuffer32 out(width_, height_);
    auto pal = [this](unsigned index) -> std::uint32_t {
        if (index >= palette_.size()) return 0xFF000000u;
        const TPaletteEntry& e = palette_[index];
        return 0xFF000000u | (static_cast<std::uint32_t>(e.Red) << 16) |
               (static_cast<std::uint32_t>(e.Green) << 8) | e.Blue;
    };
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* s = ScanLine(y);
        std::uint32_t* d = out.ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            switch (format_) {
                case TPixelFormat::pf1bit: d[x] = pal((s[x >> 3] >> (7 - (x & 7))) & 1); break;
                case TPixelFormat::pf4bit: d[x] = pal((s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
                case TPixelFormat::pf8bit: d[x] = pal(s[x]); break;
                case TPixelFormat::pf24bit: {
                    const std::uint8_t* p = s + 3 * x;
                    d[x] = 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) |
                           (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
                case TPixelFormat::pf32bit: {
                    const std::uint8_t* p = s + 4 * x;
                    d[x] = (static_cast<std::uint32_t>(p[3]) << 24) | (static_cast<std::uint32_t>(p[2]) << 16) |
                           (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
                default: d[x] = 0xFF000000u; break;
            }
        }
    }
    if (partial_) {
        for (int y = 0; y < height_; ++y) {
            std::uint32_t* d = out.ScanLine(y);
            for (int x = 0; x < width_; ++x)
                if (!PixelRead(x, y)) d[x] = 0;
        }
    }
    return out;
}

bool TPNGGraphic::PixelRead(int x, int y) const {
    if (!partial_) return true;
    if (!header_.Interlaced) return static_cast<std::uint32_t>(y) < partialRow_;
    // The pass of each pixel of an 8 x 8 block (Adam7).
    static const std::uint8_t kPass[8][8] = {
        {0, 5, 3, 5, 1, 5, 3, 5}, {6, 6, 6, 6, 6, 6, 6, 6}, {4, 5, 4, 5, 4, 5, 4, 5}, {6, 6, 6, 6, 6, 6, 6, 6},
        {2, 5, 3, 5, 2, 5, 3, 5}, {6, 6, 6, 6, 6, 6, 6, 6}, {4, 5, 4, 5, 4, 5, 4, 5}, {6, 6, 6, 6, 6, 6, 6, 6}};
    const int pass = kPass[y & 7][x & 7];
    return pass < partialPass_ || (pass == partialPass_ && static_cast<std::uint32_t>(y) < partialRow_);
}

// ------------------------------------------------------------------ loader

struct TPNGGraphic::Loader {
    TPNGGraphic& pic;
    TStream& in;
    std::uint32_t currentLength = 0;
    std::uint8_t currentType[4] = {};
    std::uint32_t runningCRC = 0;
    std::vector<std::uint8_t> chunkData;
    std::uint32_t idatLeft = 0;
    const std::uint8_t* idatCursor = nullptr;
    int sourceBytesPerPixel = 1;
    bool formatReady = false;
    bool imageDone = false;
    std::unique_ptr<TLZ77Decoder> decoder;

    Loader(TPNGGraphic& p, TStream& s) : pic(p), in(s) {}

    bool Is(const char* type) const {
        for (int i = 0; i < 4; ++i)
            if ((currentType[i] & 0xDF) != (static_cast<std::uint8_t>(type[i]) & 0xDF)) return false;
        return true;
    }

    std::int64_t Remaining() {
        const std::int64_t size = in.Size();
        return size < 0 ? INT64_MAX : size - in.Position();
    }

    void ReadChunkHeader() {
        std::uint8_t h[8];
        in.ReadBuffer(h, 8);
        currentLength = BigEndian32(h);
        std::memcpy(currentType, h + 4, 4);
        // The standard's limit on chunk lengths; a length beyond the data
        // left is caught before anything is allocated for it.
        if (currentLength > 0x7FFFFFFFu) InvalidFormat();
        runningCRC = static_cast<std::uint32_t>(crc32(0L, currentType, 4));
    }

    void ReadChunkData() {
        if (static_cast<std::int64_t>(currentLength) + 4 > Remaining()) throw EReadError();
        chunkData.resize(currentLength);
        in.ReadBuffer(chunkData.data(), currentLength);
        std::uint8_t c[4];
        in.ReadBuffer(c, 4);
        runningCRC = static_cast<std::uint32_t>(crc32(runningCRC, chunkData.data(), currentLength));
        if (runningCRC != BigEndian32(c)) CrcError();
    }

    void SkipChunk() { in.Seek(static_cast<std::int64_t>(currentLength) + 4, soCurrent); }

    void FillHeader() {
        if (currentLength != 13) InvalidFormat();
        const std::uint8_t* d = chunkData.data();
        THeaderInfo& h = pic.header_;
        h.Width = BigEndian32(d);
        h.Height = BigEndian32(d + 4);
        h.BitsPerSample = d[8];
        h.ColourType = d[9];
        h.CompressionZLib = d[10] == 0;
        h.FilterMode = d[11];
        h.Interlaced = d[12] != 0;
        h.Options = THeaderInfo::ioBigEndian;
        switch (d[9]) {
            case 0: h.ColorScheme = TColorScheme::csG; h.SamplesPerPixel = 1; break;
            case 2: h.ColorScheme = TColorScheme::csRGB; h.SamplesPerPixel = 3; break;
            case 3: h.ColorScheme = TColorScheme::csIndexed; h.SamplesPerPixel = 1; break;
            case 4: h.ColorScheme = TColorScheme::csGA; h.SamplesPerPixel = 1; break;
            case 6: h.ColorScheme = TColorScheme::csRGBA; h.SamplesPerPixel = 4; break;
            default: h.ColorScheme = TColorScheme::csUnknown; h.SamplesPerPixel = 1; break;
        }
        h.BitsPerPixel = static_cast<std::uint8_t>(h.SamplesPerPixel * h.BitsPerSample);
        h.HasAlpha = h.ColorScheme == TColorScheme::csGA || h.ColorScheme == TColorScheme::csRGBA;
        // Width and height: non-zero, within the standard's 2^31 - 1 and our
        // own caps; filter method 0 and interlace methods 0 and 1 only.
        if (h.Width == 0 || h.Height == 0) InvalidFormat();
        if (h.Width > kPngMaxDimension || h.Height > kPngMaxDimension ||
            static_cast<std::uint64_t>(h.Width) * h.Height > kPngMaxPixels)
            InvalidFormat();
        if (h.FilterMode != 0 || d[12] > 1) InvalidFormat();
    }

    bool ReadHeader() {
        static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        pic.header_ = THeaderInfo{};
        pic.header_.FileGamma = 1.0f;
        std::uint8_t sig[8];
        if (in.Read(sig, 8) != 8 || std::memcmp(sig, kSignature, 8) != 0) return false;
        try {
            ReadChunkHeader();
        } catch (const EReadError&) {
            return false;
        }
        if (!Is("IHDR") || currentLength != 13) return false;
        ReadChunkData();  // a CRC error here is reported as such
        FillHeader();
        // Look ahead for the gamma; the end of the data simply ends the scan.
        try {
            for (;;) {
                ReadChunkHeader();
                if (Is("gAMA")) {
                    ReadChunkData();
                    if (currentLength >= 4) pic.header_.FileGamma = static_cast<float>(BigEndian32(chunkData.data()) / 100000.0);
                    break;
                }
                if (Is("IEND")) break;
                SkipChunk();
                if (Remaining() <= 0) break;
            }
        } catch (const EReadError&) {
        }
        return true;
    }

    std::size_t SetupPixelFormat(int colourType, int bitDepth) {
        TColorManager& cm = pic.colours_;
        auto depthIn = [bitDepth](std::initializer_list<int> ok) {
            return std::find(ok.begin(), ok.end(), bitDepth) != ok.end();
        };
        const auto depth = static_cast<std::uint8_t>(bitDepth);
        TPixelFormat format;
        std::size_t result;
        switch (colourType) {
            case 0:
                if (!depthIn({1, 2, 4, 8, 16})) InvalidColourFormat();
                cm.SetSourceColorScheme(TColorScheme::csG);
                cm.SetSourceSamplesPerPixel(1);
                cm.SetTargetColorScheme(TColorScheme::csG);
                cm.SetTargetSamplesPerPixel(1);
                cm.SetSourceBitsPerSample(depth);
                cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth == 16 ? 8 : depth);
                format = cm.GetBitmapFormat(TColorManager::Side::Target);
                pic.palette_ = cm.MakeGrayPalette(false);
                result = (static_cast<std::size_t>(depth) + 7) / 8;
                break;
            case 2:
                if (!depthIn({8, 16})) InvalidColourFormat();
                cm.SetSourceColorScheme(TColorScheme::csRGB);
                cm.SetSourceSamplesPerPixel(3);
                cm.SetTargetColorScheme(TColorScheme::csBGR);
                cm.SetTargetSamplesPerPixel(3);
                cm.SetSourceBitsPerSample(depth);
                cm.SetTargetBitsPerSample(8);
                format = TPixelFormat::pf24bit;
                pic.palette_.clear();
                result = 3u * depth / 8;
                break;
            case 3:
                if (!depthIn({1, 2, 4, 8})) InvalidColourFormat();
                cm.SetSourceColorScheme(TColorScheme::csIndexed);
                cm.SetSourceSamplesPerPixel(1);
                cm.SetTargetColorScheme(TColorScheme::csIndexed);
                cm.SetTargetSamplesPerPixel(1);
                cm.SetSourceBitsPerSample(depth);
                cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth);
                format = cm.GetBitmapFormat(TColorManager::Side::Target);
                result = 1;
                break;
            case 4:
                if (!depthIn({8, 16})) InvalidColourFormat();
                cm.SetSourceColorScheme(TColorScheme::csGA);
                cm.SetSourceSamplesPerPixel(1);
                cm.SetTargetColorScheme(TColorScheme::csIndexed);
                cm.SetTargetSamplesPerPixel(1);
                cm.SetSourceBitsPerSample(depth);
                cm.SetTargetBitsPerSample(8);
                format = TPixelFormat::pf8bit;
                pic.palette_ = cm.MakeGrayPalette(false);
                result = 2u * depth / 8;
                break;
            case 6:
                if (!depthIn({8, 16})) InvalidColourFormat();
                cm.SetSourceColorScheme(TColorScheme::csRGBA);
                cm.SetSourceSamplesPerPixel(4);
                cm.SetTargetColorScheme(TColorScheme::csBGRA);
                cm.SetTargetSamplesPerPixel(4);
                cm.SetSourceBitsPerSample(depth);
                cm.SetTargetBitsPerSample(8);
                format = TPixelFormat::pf32bit;
                pic.palette_.clear();
                result = 4u * depth / 8;
                break;
            default:
                InvalidColourFormat();
        }
        pic.format_ = format;
        formatReady = true;
        sourceBytesPerPixel = static_cast<int>(std::max<std::size_t>(result, 1));
        return result;
    }

    // Takes the current IDAT chunk's data and reads the next chunk's header.
    void TakeIDAT() {
        ReadChunkData();
        idatLeft = currentLength;
        idatCursor = chunkData.data();
        ReadChunkHeader();
    }

    // Fills the buffer from the image data; returns the bytes delivered
    // (fewer when the image data ends early).
    std::size_t ReadRowData(std::uint8_t* buffer, std::size_t count) {
        std::uint8_t* dest = buffer;
        std::size_t left = count;
        while (left > 0) {
            if (idatLeft == 0) {
                if (!Is("IDAT")) break;
                TakeIDAT();
                continue;
            }
            const std::uint8_t* src = idatCursor;
            decoder->DecodeBlock(src, dest, idatLeft, static_cast<std::uint32_t>(left));
            idatLeft -= static_cast<std::uint32_t>(src - idatCursor);
            idatCursor = src;
            left = count - static_cast<std::size_t>(dest - buffer);
            const int r = decoder->LastResult();
            if (r == Z_STREAM_END) {
                if (left > 0 || idatLeft > 0)
                    throw EInvalidGraphic(Fmt("Cannot load image. Extra compressed data found in %s file.", "PNG"));
                break;
            }
            if (r != Z_OK)
                throw EInvalidGraphic(Fmt("Cannot load image. Compression error found in %s file.", "PNG"));
        }
        return count - left;
    }

    void LoadImageData() {
        if (imageDone) InvalidFormat();  // image data must come in one run
        const THeaderInfo& h = pic.header_;
        if (!formatReady) SetupPixelFormat(h.ColourType, h.BitsPerSample);
        const int depth = h.BitsPerSample;
        const std::size_t groupBytes =
            static_cast<std::size_t>(depth == 16 ? sourceBytesPerPixel / 2 : sourceBytesPerPixel);
        auto rowBytesFor = [&](std::uint64_t w) -> std::size_t {
            return static_cast<std::size_t>(groupBytes * ((w * static_cast<std::uint64_t>(depth) + 7) / 8) + 1);
        };
        const std::size_t rowBytes = rowBytesFor(h.Width);

        // The image data cannot inflate more than about 1032:1; refuse data
        // that is plainly too short before making room for the image.
        const std::uint64_t rawBytes = static_cast<std::uint64_t>(rowBytes) * h.Height;
        const std::int64_t left = Remaining();
        if (left != INT64_MAX && static_cast<std::uint64_t>(left) * 1100u + 4096u < rawBytes) InvalidFormat();

        std::vector<std::uint8_t> current(rowBytes, 0), previous(rowBytes, 0);
        pic.SetSize(static_cast<int>(h.Width), static_cast<int>(h.Height), pic.format_);
        FillBitmap();
        if (pic.transparentColour_ != kClNone) pic.transparent_ = true;

        // Image data that ends early is no error: the rows read are kept and
        // the rest of the image stays transparent.
        auto readRow = [&](std::size_t bytes, int pass, std::uint32_t y) {
            if (ReadRowData(current.data(), bytes) != bytes) {
                pic.partial_ = true;
                pic.partialPass_ = pass;
                pic.partialRow_ = y;
                return false;
            }
            UnfilterRow(current[0], current.data() + 1, previous.data() + 1, sourceBytesPerPixel, bytes - 1);
            return true;
        };
        TColorManager& cm = pic.colours_;
        if (!h.Interlaced) {
            for (std::uint32_t y = 0; y < h.Height; ++y) {
                if (!readRow(rowBytes, 0, y)) break;
                cm.ConvertRowPixels(current.data() + 1, pic.ScanLine(static_cast<int>(y)), h.Width, 0xFF);
                std::swap(current, previous);
            }
        } else {
            static const std::uint32_t rowStart[7] = {0, 0, 4, 0, 2, 0, 1};
            static const std::uint32_t colStart[7] = {0, 4, 0, 2, 0, 1, 0};
            static const std::uint32_t rowStep[7] = {8, 8, 8, 4, 4, 2, 2};
            static const std::uint32_t colStep[7] = {8, 8, 4, 4, 2, 2, 1};
            static const std::uint8_t passMask[7] = {0x80, 0x08, 0x88, 0x22, 0xAA, 0x55, 0xFF};
            for (int pass = 0; pass < 7 && !pic.partial_; ++pass) {
                if (h.Width <= colStart[pass]) continue;
                const std::uint32_t passWidth = (h.Width + colStep[pass] - 1 - colStart[pass]) / colStep[pass];
                const std::size_t passBytes = rowBytesFor(passWidth);
                std::fill(previous.begin(), previous.end(), 0);
                for (std::uint32_t y = rowStart[pass]; y < h.Height; y += rowStep[pass]) {
                    if (!readRow(passBytes, pass, y)) break;
                    cm.ConvertRowPixels(current.data() + 1, pic.ScanLine(static_cast<int>(y)), h.Width,
                                        passMask[pass]);
                    std::swap(current, previous);
                }
            }
        }
        // Image data left over is still read and its CRC checked.
        while (Is("IDAT")) {
            ReadChunkData();
            ReadChunkHeader();
        }
        idatLeft = 0;
        imageDone = true;
    }

    void FillBitmap() {
        const std::uint32_t c = pic.fillColour_;
        const int bpp = pic.BitsPerPixel();
        if (bpp == 24 || bpp == 32) {
            const std::uint8_t b = static_cast<std::uint8_t>(c >> 16), g = static_cast<std::uint8_t>(c >> 8),
                               r = static_cast<std::uint8_t>(c);
            for (int y = 0; y < pic.height_; ++y) {
                std::uint8_t* p = pic.ScanLine(y);
                for (int x = 0; x < pic.width_; ++x, p += bpp / 8) {
                    p[0] = b; p[1] = g; p[2] = r;
                    if (bpp == 32) p[3] = 0;
                }
            }
        }
        // Palette bitmaps stay at index 0 until the rows overwrite them.
    }

    void Run() {
        const std::int64_t base = in.Position();
        if (!ReadHeader()) InvalidFormat();
        in.SetPosition(base + 8);
        pic.transparentColour_ = kClNone;
        pic.fillColour_ = 0xFFFFFF;
        ReadChunkHeader();
        ReadChunkData();
        TColorManager& cm = pic.colours_;
        cm.SetSourceOptions(static_cast<std::uint8_t>(cm.SourceOptions() | TColorManager::kByteSwap));
        if (!pic.header_.CompressionZLib)
            throw EInvalidGraphic(Fmt("Cannot load image. %s not supported for %s files.",
                                      "The compression scheme is", "PNG"));
        decoder = std::make_unique<TLZ77Decoder>(Z_PARTIAL_FLUSH, false);
        decoder->StartDecoding();
        bool headerPending = false;
        for (;;) {
            if (!headerPending) ReadChunkHeader();
            headerPending = false;
            if (Is("IDAT")) {
                LoadImageData();
                // The chunk after the image data goes to the skip rule.
                if (SkipOrEnd()) break;
                continue;
            }
            if (Is("PLTE")) {
                if (currentLength % 3 != 0)
                    throw EInvalidGraphic(Fmt("Cannot load image. Palette in %s file is invalid.", "PNG"));
                ReadChunkData();
                if (pic.header_.ColourType == 3) {
                    SetupPixelFormat(3, pic.header_.BitsPerSample);
                    pic.palette_ = cm.MakeColorPalette(chunkData.data(), static_cast<int>(currentLength / 3), false);
                }
            } else if (Is("gAMA")) {
                ReadChunkData();
                if (currentLength >= 4) {
                    const float g = static_cast<float>(BigEndian32(chunkData.data()) / 100000.0);
                    pic.header_.FileGamma = g;
                    cm.SetGammaValues(g, 2.2f);
                    cm.SetTargetOptions(static_cast<std::uint8_t>(cm.TargetOptions() | TColorManager::kApplyGamma));
                    pic.header_.Options |= THeaderInfo::ioUseGamma;
                }
            } else if (Is("bKGD")) {
                ReadChunkData();
                ReadBackground();
            } else if (Is("tRNS")) {
                ReadChunkData();
                ReadTransparency();
            } else if (SkipOrEnd()) {
                break;
            }
        }
        if (!imageDone) InvalidFormat();  // no image data at all
        decoder->FinishDecoding();
        decoder.reset();
    }

    // Skips the current chunk; true at IEND; a critical chunk we do not
    // know is refused.
    bool SkipOrEnd() {
        SkipChunk();
        if (Is("IEND")) return true;
        if ((currentType[0] & 0x20) == 0)
            throw EInvalidGraphic("Cannot load PNG image. Unexpected but critical chunk detected.");
        return false;
    }

    void ReadBackground() {
        const std::uint8_t* d = chunkData.data();
        const THeaderInfo& h = pic.header_;
        switch (h.ColourType) {
            case 2:
            case 6:
                if (currentLength < 6) return;
                if (h.BitsPerSample == 16)
                    pic.fillColour_ = Reduce16(BigEndian16(d)) | (Reduce16(BigEndian16(d + 2)) << 8) |
                                      (static_cast<std::uint32_t>(Reduce16(BigEndian16(d + 4))) << 16);
                else
                    pic.fillColour_ = d[1] | (d[3] << 8) | (static_cast<std::uint32_t>(d[5]) << 16);
                break;
            case 0:
            case 4:
                if (currentLength < 2) return;
                pic.fillColour_ = BigEndian16(d);
                break;
            case 3:
                if (currentLength < 1) return;
                pic.fillColour_ = d[0];
                break;
            default:
                break;
        }
    }

    void ReadTransparency() {
        const std::uint8_t* d = chunkData.data();
        const THeaderInfo& h = pic.header_;
        const int depth = h.BitsPerSample;
        auto to8 = [depth](std::uint32_t v) -> std::uint32_t {
            // Scaled to 8 bits the way the pixels are shown.
            if (depth == 16) return Reduce16(v);
            if (depth >= 8) return v & 0xFF;
            const std::uint32_t top = (1u << depth) - 1;
            return (v & top) * 255u / top;
        };
        if (h.ColourType == 0) {
            if (currentLength < 2) return;
            const std::uint32_t v = to8(BigEndian16(d));
            pic.transparentColour_ = v | (v << 8) | (v << 16);
        } else if (h.ColourType == 2) {
            if (currentLength < 6) return;
            pic.transparentColour_ =
                to8(BigEndian16(d)) | (to8(BigEndian16(d + 2)) << 8) | (to8(BigEndian16(d + 4)) << 16);
        }
        // Indexed images: the alpha values are read and not used; images
        // with an alpha channel ignore the chunk.
    }
};

bool TPNGGraphic::ReadPNGHeader(TStream& stream) {
    Loader l(*this, stream);
    try {
        return l.ReadHeader();
    } catch (const EInvalidGraphic&) {
        return false;
    } catch (const EReadError&) {
        return false;
    }
}

void TPNGGraphic::LoadFromStream(TStream& stream) {
    Clear();
    palette_.clear();
    colours_ = TColorManager();
    Loader l(*this, stream);
    l.Run();
}

// =============================================================== helpers

void PremultiplyAlpha(PixelBuffer32& bitmap) {
    if (bitmap.Width() < 1 || bitmap.Height() < 2) return;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const std::uint32_t c = p[x], a = c >> 24;
            const std::uint32_t r = ((c >> 16) & 0xFF) * a / 255, g = ((c >> 8) & 0xFF) * a / 255,
                                b = (c & 0xFF) * a / 255;
            p[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

void ClearWhiteTransparent(PixelBuffer32& bitmap) {
    if (bitmap.Width() < 1 || bitmap.Height() < 2) return;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint32_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x)
            if (p[x] == 0x00FFFFFFu) p[x] = 0;
    }
}

}  // namespace kova::skin
