// A framework frame on a skinned form: the child adaptation gives it its
// adapter, which paints it from its section, answers its children's
// questions for their background and lets go with the skin.
#include "skin/forms/frameadapter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/forms/provider.h"

namespace kova::skin::test {

namespace {

TsFrameAdapter* AdapterOf(TCustomFrame* frame) {
    for (int i = 0; i < frame->ComponentCount(); ++i)
        if (auto* a = dynamic_cast<TsFrameAdapter*>(frame->Components(i))) return a;
    return nullptr;
}

// What the frame prints, one pixel (0xRRGGBB).
std::uint32_t PrintedPixel(TCustomFrame* frame, int x, int y) {
    TBitmap picture(frame->Width(), frame->Height());
    picture.Pixels().Fill(0xFF00FF00u);
    SendMessageA(frame->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    return picture.Pixels().At(x, y) & 0xFFFFFFu;
}

std::uint32_t Pixel(TColor c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

class FrameAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = new TsSkinManager(nullptr);
        AddInternalSkins(manager->Model().InternalSkins);
        manager->SetSkinName("Linen (internal)");
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(120, 90, 360, 260);
        form->HandleNeeded();
        frame = new TFrame(form);
        frame->SetBounds(20, 20, 200, 120);
        frame->SetParent(form);
        form->Show();
        provider = new TsSkinProvider(form);
        provider->Loaded();
        kova::test::PumpMessages();
    }
    void TearDown() override {
        form->Free();
        manager->Free();
        ResetSkinServices();
    }
    TsSkinManager* manager = nullptr;
    TForm* form = nullptr;
    TCustomFrame* frame = nullptr;
    TsSkinProvider* provider = nullptr;
};

}  // namespace

TEST_F(FrameAdapterTest, AFrameOnASkinnedFormIsPaintedFromTheGroupBoxSection) {
    TsFrameAdapter* adapter = AdapterOf(frame);
    ASSERT_NE(adapter, nullptr);
    EXPECT_EQ(adapter->SkinData->SkinSection(), "GROUPBOX");
    EXPECT_EQ(SendSkinCommand(frame->Handle(), scQuerySupport, 0), 1);
    const TsSkinModel& model = manager->Model();
    const int section = model.IndexOfSection("GROUPBOX");
    ASSERT_GE(section, 0);
    const TColor colour = static_cast<TColor>(model.ColorToRGB(model.Sections()[static_cast<std::size_t>(section)].Color));
    // Inside the border: the section's colour; its children are told so.
    EXPECT_EQ(PrintedPixel(frame, 100, 60), Pixel(colour));
    EXPECT_EQ(static_cast<TColor>(SendSkinCommand(frame->Handle(), scQueryBgColor, 0xFF00FF)), colour & 0xFFFFFF);
    // Walked again, the frame keeps its one adapter.
    provider->CreateCtrlAdapter();
    int adapters = 0;
    for (int i = 0; i < frame->ComponentCount(); ++i) adapters += dynamic_cast<TsFrameAdapter*>(frame->Components(i)) != nullptr;
    EXPECT_EQ(adapters, 1);
}

// A frame's own popup menus are drawn from the skin while the manager's
// popups are: also for a frame the form does not own, which the form's own
// menu walk never reaches; a skin applied later asks again.
TEST_F(FrameAdapterTest, TheFramesOwnPopupMenusFollowTheSkin) {
    auto* lone = new TFrame(nullptr);
    lone->SetBounds(230, 20, 100, 100);
    lone->SetParent(form);
    auto* popup = new TPopupMenu(lone);
    auto* item = new TMenuItem(popup);
    item->SetCaption("Item");
    popup->Items()->Add(item);
    ASSERT_TRUE(manager->SkinnedPopups());
    provider->CreateCtrlAdapter();
    ASSERT_NE(AdapterOf(lone), nullptr);
    AdapterOf(lone)->Loaded();  // as when the frame is read from its description
    EXPECT_TRUE(popup->OwnerDraw) << "made skinned by the adapter";
    manager->SetSkinnedPopups(false);
    manager->SetSkinName("Slate (internal)");
    kova::test::PumpMessages();
    EXPECT_FALSE(popup->OwnerDraw) << "popups off: the next skin leaves it plain";
    manager->SetSkinnedPopups(true);
    manager->SetSkinName("Linen (internal)");
    kova::test::PumpMessages();
    EXPECT_TRUE(popup->OwnerDraw) << "popups on again with the next skin";
    lone->Free();
}

TEST_F(FrameAdapterTest, WithoutTheSkinTheFramePaintsItselfAndStillAnswersSupport) {
    ASSERT_NE(AdapterOf(frame), nullptr);
    frame->SetColor(RGB(10, 200, 30));
    manager->SetActive(false);
    kova::test::PumpMessages();
    EXPECT_EQ(SendSkinCommand(frame->Handle(), scQuerySupport, 0), 1);
    EXPECT_EQ(static_cast<TColor>(SendSkinCommand(frame->Handle(), scQueryBgColor, 0xFF00FF)),
              static_cast<TColor>(RGB(10, 200, 30)));
    EXPECT_EQ(PrintedPixel(frame, 100, 60), Pixel(RGB(10, 200, 30)));
}

// The children of an unskinned frame are told the colour the system shows
// for a system colour, not its number taken as a colour.
TEST_F(FrameAdapterTest, WithoutTheSkinTheChildrenAreToldWhatASystemColourShows) {
    ASSERT_NE(AdapterOf(frame), nullptr);
    manager->SetActive(false);
    kova::test::PumpMessages();
    for (auto [colour, index] : {std::pair{clBtnFace, COLOR_BTNFACE}, std::pair{clWindow, COLOR_WINDOW}}) {
        frame->SetColor(colour);
        EXPECT_EQ(static_cast<COLORREF>(SendSkinCommand(frame->Handle(), scQueryBgColor, 0xFF00FF)), GetSysColor(index))
            << "system colour " << index;
    }
}

// A skin of a form and a frame section whose transparency is the case's.
class FrameSkin {
public:
    explicit FrameSkin(int transparency) {
        dir_ = std::filesystem::temp_directory_path() /
               ("kova-frame-skin-" + std::to_string(transparency) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(dir_);
        Bitmap32 master(16, 16);
        master.Fill(0xFF808080u);
        const auto bmp = EncodeBmp(master, false);
        std::ofstream(dir_ / "Master.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        // The form 0x604020, the frame 0x80A0C0.
        const std::string text = "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\nCOLOR=12632256\n"
                                 "[FORM]\nCOLOR=6307872\nSTATES=1\n"
                                 "[GROUPBOX]\nCOLOR=8429760\nSTATES=1\nTRANSPARENCY=" +
                                 std::to_string(transparency) + "\n";
        std::ofstream(dir_ / "Options.dat", std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    ~FrameSkin() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    FrameSkin(const FrameSkin&) = delete;
    FrameSkin& operator=(const FrameSkin&) = delete;
    std::string Folder() const { return dir_.string() + "\\"; }

private:
    std::filesystem::path dir_;
};

// What a skinned frame tells its children their background is (sub-code
// 21): its section's colour when opaque, its parent's answer when fully
// transparent; a partly transparent section follows its parent's picture,
// so it has no one colour to tell.
TEST(FrameAdapter, TheChildrensBackgroundColourFollowsTheSectionsTransparency) {
    constexpr TColor kForm = 0x604020, kFrame = 0x80A0C0, kNone = 0xFF00FF;
    struct TCase {
        int Transparency;
        TColor Answer;
    };
    for (const TCase& c : {TCase{0, kFrame}, TCase{100, kForm}, TCase{40, kNone}}) {
        const FrameSkin skin(c.Transparency);
        auto* manager = new TsSkinManager(nullptr);
        manager->Model().LoadFolder(skin.Folder());
        ASSERT_GE(manager->Model().IndexOfSection("GROUPBOX"), 0) << c.Transparency;
        TForm* form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(120, 90, 300, 200);
        form->HandleNeeded();
        auto* frame = new TFrame(form);
        frame->SetBounds(20, 20, 160, 100);
        frame->SetParent(form);
        form->Show();
        auto* provider = new TsSkinProvider(form);
        provider->Loaded();
        // The form tells its children its colour, whatever its provider says.
        const TWndMethod inner = form->WindowProc;
        form->WindowProc = [inner](TMessage& m) {
            if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scQueryBgColor) {
                m.Result = static_cast<LRESULT>(kForm);
                return;
            }
            inner(m);
        };
        kova::test::PumpMessages();
        ASSERT_NE(AdapterOf(frame), nullptr) << c.Transparency;
        EXPECT_EQ(static_cast<TColor>(SendSkinCommand(frame->Handle(), scQueryBgColor, 0)), c.Answer) << c.Transparency;
        form->Free();
        manager->Free();
        ResetSkinServices();
    }
}

TEST(FrameAdapter, OnSomethingThatIsNotAFrameIsRefused) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    EXPECT_THROW(new TsFrameAdapter(form), EFrameAdapter);
    form->Free();
}

}  // namespace kova::skin::test
