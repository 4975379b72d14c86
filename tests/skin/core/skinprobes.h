// Stand-ins for the skinned controls in tests of the skin record and the
// control-tree routines: framework controls that own a skin record and
// pass every message to HandleControlMessage first, counting the skin
// commands they receive; and a small skin written to a folder whose
// sections have the transparencies and colours the tests need.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "skin/core/commondata.h"
#include "skin/core/model/pictures.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin::test {

struct Probe {
    Probe(TObject* owner, int code) : Data(owner, true) { Data.ControlCode = code; }
    TsCommonData Data;
    std::vector<int> Codes;      // sub-codes received, in order
    std::vector<UINT> Messages;  // every message received
    // Answers a message before the record does (true: handled).
    std::function<bool(TMessage&)> Intercept;
    int Count(int subCode) const { return static_cast<int>(std::count(Codes.begin(), Codes.end(), subCode)); }
    int CountMessage(UINT msg) const { return static_cast<int>(std::count(Messages.begin(), Messages.end(), msg)); }
    bool Handle(TMessage& m) {
        Messages.push_back(m.Msg);
        if (m.Msg == SkinCommandMessage) Codes.push_back(SkinSubCode(m.WParam));
        if (Intercept && Intercept(m)) return true;
        return HandleControlMessage(m, &Data);
    }
};

class ProbePanel : public TPanel {
    KOVA_CLASS(ProbePanel, TPanel)
public:
    explicit ProbePanel(TComponent* owner, int code = 51) : TPanel(owner), P(this, code) {}
    Probe P;
    void MarkDestroying() { Destroying(); }

protected:
    void WndProc(TMessage& m) override {
        if (!P.Handle(m)) TPanel::WndProc(m);
    }
};

class ProbeEdit : public TEdit {
    KOVA_CLASS(ProbeEdit, TEdit)
public:
    explicit ProbeEdit(TComponent* owner, int code = 2) : TEdit(owner), P(this, code) {}
    Probe P;

protected:
    void WndProc(TMessage& m) override {
        if (!P.Handle(m)) TEdit::WndProc(m);
    }
};

class ProbeGraphic : public TGraphicControl {
    KOVA_CLASS(ProbeGraphic, TGraphicControl)
public:
    explicit ProbeGraphic(TComponent* owner, int code = 92) : TGraphicControl(owner), P(this, code) {}
    Probe P;
    TColor Fill = 0x0000FF;  // painted over the whole control

protected:
    void WndProc(TMessage& m) override {
        if (!P.Handle(m)) TGraphicControl::WndProc(m);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(static_cast<kova::TColor>(Fill));
        RECT r{0, 0, Width(), Height()};
        Canvas()->FillRect(r);
    }
};

// The test skin: EDIT (colour 0xFFEEDD), PANEL (plain 0x808080), CLEAR
// (fully transparent), HALF (black, half transparent), WHITE, SHADED (a
// gradient). The other skin lists two more sections before these.
class TestSkin {
public:
    TestSkin() {
        dir_ = std::filesystem::temp_directory_path() /
               ("kova-record-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        Write(dir_ / "a", "");
        Write(dir_ / "b", "[AAFIRST]\nCOLOR=0\n[ABSECOND]\nCOLOR=0\n");
    }
    ~TestSkin() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TestSkin(const TestSkin&) = delete;
    TestSkin& operator=(const TestSkin&) = delete;
    void LoadInto(TsSkinManager& m) const { m.Model().LoadFolder((dir_ / "a").string() + "\\"); }
    void LoadOther(TsSkinManager& m) const { m.Model().LoadFolder((dir_ / "b").string() + "\\"); }

private:
    static void Write(const std::filesystem::path& dir, const std::string& first) {
        std::filesystem::create_directories(dir);
        Bitmap32 master(16, 16);
        master.Fill(0xFF4080C0u);
        const auto bmp = EncodeBmp(master, false);
        std::ofstream(dir / "Master.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        const std::string text = "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\nCOLOR=12632256\n" + first +
                                 "[EDIT]\nCOLOR=16772829\nFONTCOLOR=3551019\nSTATES=2\nHOTCOLOR=16772829\n"
                                 "[PANEL]\nCOLOR=8421504\nSTATES=1\n"
                                 "[CLEAR]\nCOLOR=255\nTRANSPARENCY=100\nSTATES=1\n"
                                 "[HALF]\nCOLOR=0\nTRANSPARENCY=50\nSTATES=1\n"
                                 "[WHITE]\nCOLOR=16777215\nSTATES=1\n"
                                 "[SHADED]\nCOLOR=8421504\nGRADIENTPERCENT=100\n"
                                 "GRADIENTDATA=8421504;16777215;100;0;0\nSTATES=1\n";
        std::ofstream(dir / "Options.dat", std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::path dir_;
};

// A test with a default manager holding the test skin and a framework form
// of class F at (left, top) of width by height.
template <class F, int left, int top, int width, int height>
class SkinnedFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = new TsSkinManager(nullptr);
        ASSERT_EQ(DefaultManager, manager);
        skin.LoadInto(*manager);
        form = TCustomForm::Create<F>(Application());
        form->SetBounds(left, top, width, height);
    }
    void TearDown() override {
        form->Free();
        manager->Free();
        FormAnimating = false;
    }
    TestSkin skin;
    TsSkinManager* manager = nullptr;
    F* form = nullptr;
};

}  // namespace kova::skin::test
