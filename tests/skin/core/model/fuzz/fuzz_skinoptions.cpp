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
    } catch (const std::exception&) {
    }
    return 0;
}
