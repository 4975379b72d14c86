// libFuzzer target: the options reader over arbitrary "Options.dat" text,
// with a small master bitmap and one picture file that entries may name.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "skin/core/model/pictures.h"
#include "skin/core/model/skinloader.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/paint/portable/glow.h"

namespace {

using namespace kova::skin;

class FuzzSource : public TSkinSource {
public:
    explicit FuzzSource(std::string text) : text_(std::move(text)) {
        Bitmap32 px(48, 40);
        px.Fill(0xFF808080u);
        px.At(0, 0) = 0xFFFF00FFu;
        picture_ = EncodeBmp(px, false);
    }
    std::optional<std::string> OptionsText() const override { return text_; }
    bool ReadPicture(const std::string&, std::vector<std::uint8_t>& out) const override {
        out = picture_;
        return true;
    }
    bool Packed() const override { return true; }

private:
    std::string text_;
    std::vector<std::uint8_t> picture_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSource source(std::string(reinterpret_cast<const char*>(data), size));
    TSkinLoadContext context;
    context.HueOffset = size % 3 == 0 ? 40 : 0;
    context.Saturation = size % 5 == 0 ? 30 : 0;
    try {
        TsSkinTables tables = LoadSkinTables(&source, context);
        // Every accepted entry lies inside its picture.
        for (const TsMaskData& m : tables.Masks) {
            const Bitmap32* pic = m.Image ? m.Image.get() : tables.MasterBitmap.get();
            if (!pic) __builtin_trap();
            const TRect& r = m.SourceRect;
            if (!(m.Image && r == TRect{}) &&
                (r.Left < 0 || r.Top < 0 || r.Right > pic->Width() || r.Bottom > pic->Height()))
                __builtin_trap();
            (void)ImageWidthOfMask(m);
            (void)ImageHeightOfMask(m);
        }
        // Every size is within its bound, and a glow of any section over a
        // control of the screen's size stays a screen-sized picture.
        const TsSkinData& d = tables.SkinData;
        for (std::int32_t v : {std::int32_t{d.BorderWidth}, std::int32_t{d.TitleHeight}, std::int32_t{d.MaxHeight},
                               std::int32_t{d.FormOffset}, std::int32_t{d.Shadow1Offset}, std::int32_t{d.Shadow1Blur},
                               std::int32_t{d.BISpacing}, std::int32_t{d.BICloseGlow}})
            if (v < -kMaxSkinPixels || v > kMaxSkinPixels) __builtin_trap();
        for (std::int32_t v : {std::int32_t{d.BICloseGlowMargin}, std::int32_t{d.BIMaxGlowMargin},
                               std::int32_t{d.BIMinGlowMargin}})
            if (v < -kMaxGlowMargin || v > kMaxGlowMargin) __builtin_trap();
        for (const TsGeneralData& s : tables.Sections) {
            if (s.GlowMargin < -kMaxGlowMargin || s.GlowMargin > kMaxGlowMargin) __builtin_trap();
            if (s.Glow < 0 || s.Glow > kMaxSkinPixels || s.States < 0 || s.States > kMaxSkinStates) __builtin_trap();
            for (const TsGenState& st : s.Props)
                if (st.Transparency < 0 || st.Transparency > 100 || st.GradientPercent < 0 ||
                    st.GradientPercent > 100 || st.ImagePercent < 0 || st.ImagePercent > 100)
                    __builtin_trap();
            const TGlowGeometry g =
                ComputeGlowGeometry({0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 8, 8, 8, 8, s.GlowMargin);
            if (g.Valid && (g.Width > 1920 + 16 + 2 * kMaxGlowMargin || g.Height > 1080 + 16 + 2 * kMaxGlowMargin))
                __builtin_trap();
        }
    } catch (const std::exception&) {
    }
    return 0;
}
