// Glow windows on a real desktop: size from the skin's glow image, styles
// that keep them out of the way, owner and z-order, slots.
#include "skin/core/glow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/win32_testing.h"
#include "skin/core/model/pictures.h"

namespace kova::skin {
namespace {

namespace fs = std::filesystem;

// A skin whose BUTTON has a 9 x 9 glow image with borders of 3.
class GlowSkin {
public:
    GlowSkin() {
        dir_ = fs::temp_directory_path() /
               ("kova-glow-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
        Bitmap32 master(16, 16);
        master.Fill(0xFF4080C0u);
        Write("Master.bmp", EncodeBmp(master, false));
        const std::string text =
            "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n[BUTTON]\nSTATES=2\n"
            "GLOW0=^0000,0000,0009,0009,0003,0003,0003,0003,1,0,0,0\n[EDIT]\nSTATES=2\n";
        Write("Options.dat", std::vector<std::uint8_t>(text.begin(), text.end()));
        Model.LoadFolder(dir_.string() + "\\");
    }
    ~GlowSkin() {
        ClearGlows();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    TsSkinModel Model;

private:
    void Write(const std::string& name, const std::vector<std::uint8_t>& data) const {
        std::ofstream f(dir_ / name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    fs::path dir_;
};

struct TopWindow {
    explicit TopWindow(DWORD exStyle = 0) {
        h = CreateWindowExA(exStyle, "STATIC", "glow parent", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    }
    ~TopWindow() { DestroyWindow(h); }
    HWND h;
};

TEST(Glow, WindowOfTheComputedSizeOutOfTheWay) {
    GlowSkin skin;
    TopWindow parent;
    ASSERT_NE(parent.h, nullptr);
    // An 80 x 30 control at (150, 150), fully visible, one border pixel inside.
    const int i = ShowGlow(skin.Model, RECT{150, 150, 230, 180}, RECT{0, 0, 80, 30}, "BUTTON", "GLOW", 1, parent.h);
    ASSERT_EQ(i, 0);
    const HWND h = GlowWindowOf(i);
    ASSERT_NE(h, nullptr);
    kova::test::PumpFor(50);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.right - r.left, 80 + 3 + 3 - 2);
    EXPECT_EQ(r.bottom - r.top, 30 + 3 + 3 - 2);
    EXPECT_EQ(r.left, 150 - 3 + 1);
    EXPECT_EQ(r.top, 150 - 3 + 1);
    const LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
    for (LONG_PTR bit : {LONG_PTR{WS_EX_LAYERED}, LONG_PTR{WS_EX_TRANSPARENT}, LONG_PTR{WS_EX_NOACTIVATE},
                         LONG_PTR{WS_EX_TOOLWINDOW}})
        EXPECT_NE(ex & bit, 0) << "style " << std::hex << ex << " lacks " << bit;
    EXPECT_EQ(GetWindow(h, GW_OWNER), parent.h) << "owned by the control's form";
    EXPECT_EQ(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(160, 160)), HTTRANSPARENT) << "clicks pass through";
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_NE(GetForegroundWindow(), h);
}

TEST(Glow, SlotsMissingImagesAndHalosWithoutArea) {
    GlowSkin skin;
    TopWindow parent;
    EXPECT_EQ(ShowGlow(skin.Model, RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, "EDIT", "GLOW", 0, parent.h), -1);
    EXPECT_EQ(GlowSlots(), 0u) << "no glow image: the list is unchanged";
    // A margin deeper than the borders around a tiny control: refused.
    EXPECT_EQ(ShowGlow(skin.Model, RECT{0, 0, 2, 2}, RECT{0, 0, 2, 2}, "BUTTON", "GLOW", 9, parent.h), -1);
    EXPECT_EQ(GlowSlots(), 0u);

    const int a = ShowGlow(skin.Model, RECT{120, 120, 150, 140}, RECT{0, 0, 30, 20}, "BUTTON", "GLOW", 0, parent.h);
    const int b = ShowGlow(skin.Model, RECT{160, 120, 190, 140}, RECT{0, 0, 30, 20}, "BUTTON", "GLOW", 0, parent.h);
    ASSERT_EQ(a, 0);
    ASSERT_EQ(b, 1);
    const HWND first = GlowWindowOf(a);
    HideGlow(a);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GlowSlots(), 2u);
    EXPECT_EQ(GlowWindowOf(a), nullptr);
    HideGlow(a);
    HideGlow(5);
    HideGlow(-1);
    EXPECT_NE(GlowWindowOf(b), nullptr);
    ClearGlows();
    EXPECT_EQ(GlowSlots(), 0u);
}

TEST(Glow, TopmostParentGivesATopmostGlow) {
    GlowSkin skin;
    TopWindow parent(WS_EX_TOPMOST);
    const int i = ShowGlow(skin.Model, RECT{150, 150, 200, 170}, RECT{0, 0, 50, 20}, "BUTTON", "GLOW", 0, parent.h);
    ASSERT_GE(i, 0);
    EXPECT_NE(GetWindowLongPtrA(GlowWindowOf(i), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

}  // namespace
}  // namespace kova::skin
