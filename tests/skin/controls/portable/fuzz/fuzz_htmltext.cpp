// libFuzzer target: the mini-HTML hint text over arbitrary bytes, on a
// canvas that measures by the font and checks what it is asked to draw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/controls/portable/htmltext.h"

namespace {

class CheckingCanvas : public kova::skin::THtmlCanvas {
public:
    kova::skin::TSize TextExtent(const kova::skin::THtmlFont& f, const std::string& text) override {
        Check(f);
        return {static_cast<int>(text.size()) * f.Size, f.Size + 2};
    }
    void TextOut(const kova::skin::THtmlFont& f, int, int, const std::string& text) override {
        Check(f);
        if (text.empty()) std::abort();
        for (char c : text)
            if (c == '\r' || c == '\n') std::abort();
    }

private:
    static void Check(const kova::skin::THtmlFont& f) {
        if (f.Size < kova::skin::kHtmlMinFontSize || f.Size > kova::skin::kHtmlMaxFontSize) std::abort();
        if (f.Color > 0xFFFFFF) std::abort();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckingCanvas canvas;
    kova::skin::THtmlFont base;
    base.Size = 9;
    kova::skin::TsHtml html;
    html.Init(canvas, base, std::string(reinterpret_cast<const char*>(data), size), kova::skin::Rect(0, 0, 200, 0));
    kova::skin::TRect r;
    html.Render(r);
    if (r.Right < 0 || r.Bottom < 0) std::abort();
    return 0;
}
