// The skin manager on real windows: the default manager and the thread
// hook, loading by name (packed file, internal skin), switching off and on,
// a failing change that leaves the old skin in force, the hot control, the
// skin editor's preview record and the application-window hook.
#include "skin/core/skinmanager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "framework/portable/formtext.h"
#include "framework/portable/props.h"
#include "skin/core/commondata.h"
#include "skin/core/dc/dcpaint.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/skincommands.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinnedforms.h"
#include "skin/core/sysutils.h"
#include "skin/forms/provider.h"
#include "handlecheck.h"

namespace kova::skin {
namespace {

namespace fs = std::filesystem;

// A scratch skin directory, removed afterwards.
class SkinDir {
public:
    SkinDir() {
        dir_ = fs::temp_directory_path() /
               ("kova-manager-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
    }
    ~SkinDir() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path() const { return dir_.string(); }
    void Write(const std::string& name, const std::vector<std::uint8_t>& data) const {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream f(dir_ / name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    }
    void WriteText(const std::string& name, const std::string& text) const {
        Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    // A folder skin's picture (its description may come from elsewhere).
    void WriteMaster(const std::string& folder) const {
        Bitmap32 master(8, 8);
        master.Fill(0xFF608040u);
        Write(folder + "/Master.bmp", EncodeBmp(master, false));
    }

private:
    fs::path dir_;
};

constexpr char kFolderSkinText[] = "[GLOBALINFO]\nVERSION=7.5\nMASTERBITMAP=Master.bmp\n[BUTTON]\nSTATES=2\n";

// Managers made by a test, freed in reverse order at its end.
class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override { handles_ = LiveHandleCounts(); }
    void TearDown() override {
        for (auto it = managers_.rbegin(); it != managers_.rend(); ++it) (*it)->Free();
        managers_.clear();
        EXPECT_EQ(DefaultManager, nullptr);
        EXPECT_EQ(test::TransientHandlesChanged(handles_), "");
    }
    THandleCounts handles_{};
    TsSkinManager* NewManager(bool withInternalSkins = true) {
        auto* m = new TsSkinManager(nullptr);
        if (withInternalSkins) AddInternalSkins(m->Model().InternalSkins);
        managers_.push_back(m);
        return m;
    }
    void FreeManager(TsSkinManager* m) {
        std::erase(managers_, m);
        m->Free();
    }

private:
    std::vector<TsSkinManager*> managers_;
};

// A form with a skin provider; it logs the skin sub-codes and paints it gets.
class SkinnedForm {
public:
    SkinnedForm() {
        form = TCustomForm::Create<TForm>(Application());
        form->SetBounds(50, 50, 300, 200);
        provider = new TsSkinProvider(form);
        saved_ = form->WindowProc;
        form->WindowProc = [this](TMessage& m) {
            if (IsSkinCommand(m)) subCodes.push_back(SkinSubCode(m.WParam));
            if (m.Msg == WM_PAINT) ++paints;
            saved_(m);
        };
        form->HandleNeeded();
    }
    ~SkinnedForm() {
        form->WindowProc = saved_;
        form->Free();
    }
    int Count(int subCode) const { return static_cast<int>(std::count(subCodes.begin(), subCodes.end(), subCode)); }

    TForm* form;
    TsSkinProvider* provider;
    std::vector<int> subCodes;
    int paints = 0;

private:
    TWndMethod saved_;
};

// Message boxes answered and kept.
class Boxes {
public:
    Boxes()
        : responder_([this](const TDialogRequest& r) {
              shown.push_back(r);
              TDialogAnswer a;
              a.result = mrOk;
              return a;
          }) {}
    std::vector<TDialogRequest> shown;

private:
    TScopedDialogResponder responder_;
};

// ------------------------------------------------------- default manager

TEST_F(ManagerTest, FirstManagerIsTheDefaultOneAndOnlyItHooksTheThread) {
    TsSkinManager* first = NewManager();
    first->SetActive(false);
    TsSkinManager* second = NewManager();
    EXPECT_TRUE(first->IsDefault());
    EXPECT_FALSE(second->IsDefault());
    EXPECT_EQ(DefaultManager, first);
    EXPECT_EQ(DefaultSkinModel(), &first->Model()) << "the painters' default skin follows the default manager";

    // A skin applied by the second manager never installs the hook.
    second->SetSkinName("Slate (internal)");
    EXPECT_TRUE(second->Model().SkinData().Active);
    EXPECT_FALSE(second->ThreadHookInstalled());
    second->InstallThreadHook();
    EXPECT_FALSE(second->ThreadHookInstalled());

    // The default manager installs it once its skin is applied ...
    first->SetActive(true);
    first->SetSkinName("Linen (internal)");
    EXPECT_TRUE(first->ThreadHookInstalled());
    // ... and the hook passes on what it sees: a new window still appears.
    HWND w = CreateWindowExA(0, "STATIC", "hooked", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    DestroyWindow(w);

    // Freed, it takes the hook and the default role with it.
    FreeManager(first);
    EXPECT_EQ(DefaultManager, nullptr);
    EXPECT_EQ(DefaultSkinModel(), nullptr);
    EXPECT_FALSE(second->ThreadHookInstalled());
    EXPECT_FALSE(second->IsDefault());

    // Made default by hand, it applies its skin and hooks the thread.
    second->SetIsDefault(true);
    EXPECT_TRUE(second->IsDefault());
    EXPECT_TRUE(second->ThreadHookInstalled());
}

TEST_F(ManagerTest, DefaultsOfANewManager) {
    TsSkinManager* m = NewManager(false);
    EXPECT_TRUE(m->Active());
    EXPECT_FALSE(m->ExtendedBorders());
    EXPECT_TRUE(m->SkinnedPopups());
    EXPECT_EQ(m->SkinDirectory(), "c:\\Skins");
    EXPECT_EQ(m->SkinningRules, srStdForms | srStdDialogs | srThirdParty);
    // Only the buttons' list has a default.
    EXPECT_EQ(m->ThirdParty.Lists[1], "TButton");
    EXPECT_EQ(m->ThirdPartyClasses(1), std::vector<std::string>{"TButton"});
    for (int kind : {0, 2, 19}) {
        EXPECT_TRUE(m->ThirdParty.Lists[static_cast<std::size_t>(kind)].empty()) << kind;
        EXPECT_TRUE(m->ThirdPartyClasses(kind).empty()) << kind;
    }
    // The published names reach their kinds (published order differs).
    EXPECT_TRUE(SetStrProp(m, "ThirdParty.ThirdComboBoxes", "TComboBox\r\n  TColorBox \r\n\r\n"));
    EXPECT_TRUE(SetStrProp(m, "ThirdParty.ThirdGridEh", " "));
    m->UpdateThirdPartyLists();
    EXPECT_EQ(m->ThirdPartyClasses(4), (std::vector<std::string>{"TComboBox", "TColorBox"}));
    EXPECT_TRUE(m->ThirdPartyClasses(11).empty()) << "a blank list stays blank";
}

// ------------------------------------------------------------ skin info

TEST_F(ManagerTest, SkinInfoAndVersionAreReadOnly) {
    SkinDir dir;
    dir.WriteMaster("Folder");
    dir.WriteText("Folder/Options.dat", kFolderSkinText);
    TsSkinManager* m = NewManager(false);
    m->SetActive(false);
    EXPECT_EQ(m->SkinInfo(), "N/A");
    m->SetSkinDirectory(dir.Path());
    m->SetSkinName("Folder");
    m->SetActive(true);
    EXPECT_EQ(m->SkinInfo(), "7.5");
    // Writing them through their properties changes nothing.
    EXPECT_EQ(GetStrProp(m, "Version"), "7.63");
    SetStrProp(m, "Version", "1.0");
    SetStrProp(m, "SkinInfo", "9.9");
    EXPECT_EQ(GetStrProp(m, "Version"), "7.63");
    EXPECT_EQ(GetStrProp(m, "SkinInfo"), "7.5");
    EXPECT_EQ(m->SkinName(), "Folder");
}

// ----------------------------------------------------------------- loading

TEST_F(ManagerTest, PackedFileNamedWithUpperCaseExtensionLoadsAndDropsIt) {
    SkinDir dir;
    dir.Write("Air.asz", InternalSkinData("Slate"));
    TsSkinManager* m = NewManager(false);
    m->SetSkinDirectory(dir.Path());
    SkinnedForm f;
    int before = 0, after = 0;
    m->OnBeforeChange = [&](TObject*) { ++before; };
    m->OnAfterChange = [&](TObject*) { ++after; };
    m->SetSkinName("Air.ASZ");
    EXPECT_EQ(m->SkinName(), "Air");
    EXPECT_TRUE(m->Model().IsPacked());
    EXPECT_GE(m->IndexOfSection("BUTTON"), 0);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(f.Count(scSkinApplied), 1) << "the skinned form was told once";
    EXPECT_FALSE(SkinChanging);
}

TEST_F(ManagerTest, InternalSkinByNameAndTheSkinListsWithIt) {
    SkinDir dir;
    dir.WriteMaster("Folder");
    dir.WriteText("Folder/Options.dat", kFolderSkinText);
    dir.Write("My.Skin.asz", InternalSkinData("Linen"));
    TsSkinManager* m = NewManager();
    m->SetSkinDirectory(dir.Path());
    m->SetSkinName("Slate (internal)");
    EXPECT_EQ(m->SkinName(), "Slate (internal)");
    EXPECT_TRUE(m->Model().SkinData().Active);
    std::vector<std::string> names;
    std::string first;
    m->GetSkinNames(names, slPackedFiles, first);
    EXPECT_EQ(names, (std::vector<std::string>{"Linen (internal)", "Slate (internal)", "My"}));
    EXPECT_EQ(first, "Linen (internal)");
    m->GetSkinNames(names, slAll, first);
    EXPECT_EQ(names.size(), 4u);
}

// A form description sets the manager's effects and animation settings.
TEST_F(ManagerTest, EffectsAndAnimationsFromAFormDescription) {
    RegisterSkinManagerClass();
    TComponent root(nullptr);
    ReadComponentText(&root,
                      "object Root: TComponent\n"
                      "  object Manager: TsSkinManager\n"
                      "    Effects.AllowGlowing = False\n"
                      "    Effects.AllowAeroBluring = False\n"
                      "    AnimEffects.FormShow.Time = 120\n"
                      "    AnimEffects.FormShow.Mode = atFading\n"
                      "    AnimEffects.DialogHide.Active = False\n"
                      "    AnimEffects.BlendOnMoving.Active = True\n"
                      "    AnimEffects.BlendOnMoving.BlendValue = 99\n"
                      "    AnimEffects.Buttons.Events = [beMouseEnter, beMouseUp]\n"
                      "    AnimEffects.SkinChanging.Time = 240\n"
                      "    Active = False\n"
                      "  end\n"
                      "end\n");
    ASSERT_EQ(root.ComponentCount(), 1);
    auto* m = dynamic_cast<TsSkinManager*>(root.Components(0));
    ASSERT_NE(m, nullptr);
    const TsSkinModel& model = m->Model();
    EXPECT_FALSE(model.Effects.AllowGlowing);
    EXPECT_FALSE(model.Effects.AllowAeroBluring);
    EXPECT_FALSE(m->AllowGlowing());
    EXPECT_EQ(model.AnimEffects.FormShow.Time, 120);
    EXPECT_EQ(model.AnimEffects.FormShow.Mode, TacAnimType::atFading);
    EXPECT_FALSE(model.AnimEffects.DialogHide.Active);
    EXPECT_TRUE(model.AnimEffects.DialogShow.Active) << "untouched settings keep their defaults";
    EXPECT_TRUE(model.AnimEffects.BlendOnMoving.Active);
    EXPECT_EQ(model.AnimEffects.BlendOnMoving.BlendValue, 99);
    EXPECT_EQ(model.AnimEffects.Buttons.Events, beMouseEnter | beMouseUp);
    EXPECT_EQ(model.AnimEffects.SkinChanging.Time, 240);
    EXPECT_EQ(GetOrdProp(m, "AnimEffects.Minimizing.Time"), 200);
}

// A form carries its own skins in its description: each item's name, its
// descriptive values and the packed file as hex data; the manager's skin
// name picks one of them when the form is read.
TEST_F(ManagerTest, InternalSkinsFromAFormDescription) {
    RegisterSkinManagerClass();
    auto hex = [](const std::vector<std::uint8_t>& bytes) {
        static const char digits[] = "0123456789ABCDEF";
        std::string out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % 32 == 0) out += "\n        ";
            out += digits[bytes[i] >> 4];
            out += digits[bytes[i] & 15];
        }
        return out;
    };
    Bitmap32 picture(3, 2);
    picture.Fill(0xFF204060u);
    TForm* form = TCustomForm::Create<TForm>(Application());
    ReadComponentText(form,
                      "object Form1: TForm\n"
                      "  Caption = 'Stored skins'\n"
                      "  object Manager: TsSkinManager\n"
                      "    InternalSkins = <\n"
                      "      item\n"
                      "        Name = 'Deep (internal)'\n"
                      "        MasterBitmap.Data = {" + hex(EncodeBmp(picture, false)) + "}\n"
                      "        Shadow1Color = clBlack\n"
                      "        Shadow1Offset = 2\n"
                      "        Shadow1Transparency = 40\n"
                      "        Version = 1.5\n"
                      "        Author = 'KOVA'\n"
                      "        Description = 'dark'\n"
                      "        Data = {" + hex(InternalSkinData("Slate")) + "}\n"
                      "      end\n"
                      "      item\n"
                      "        Name = 'Pale (internal)'\n"
                      "        Data = {" + hex(InternalSkinData("Linen")) + "}\n"
                      "      end>\n"
                      "    SkinName = 'Deep (internal)'\n"
                      "  end\n"
                      "end\n",
                      TFormReadMode::Strict);
    auto* m = dynamic_cast<TsSkinManager*>(form->FindComponent("Manager"));
    ASSERT_NE(m, nullptr);
    const TsStoredSkins& skins = m->Model().InternalSkins;
    ASSERT_EQ(skins.Count(), 2u);
    const TsStoredSkin& deep = skins.Items(0);
    EXPECT_EQ(deep.Name, "Deep (internal)");
    EXPECT_EQ(deep.Data, InternalSkinData("Slate"));
    EXPECT_EQ(deep.Shadow1Color, 0);
    EXPECT_EQ(deep.Shadow1Offset, 2);
    EXPECT_EQ(deep.Shadow1Blur, -1) << "what the item leaves out keeps its default";
    EXPECT_EQ(deep.Shadow1Transparency, 40);
    EXPECT_EQ(deep.BorderColor, 0xFF00FF);
    EXPECT_DOUBLE_EQ(deep.Version, 1.5);
    EXPECT_EQ(deep.Author, "KOVA");
    EXPECT_EQ(deep.Description, "dark");
    ASSERT_EQ(deep.MasterBitmap.Width(), 3);
    ASSERT_EQ(deep.MasterBitmap.Height(), 2);
    EXPECT_EQ(deep.MasterBitmap.At(2, 1) & 0xFFFFFFu, 0x204060u);
    EXPECT_EQ(skins.Items(1).Data, InternalSkinData("Linen"));
    EXPECT_EQ(skins.IndexOf("deep (internal)"), -1);

    // The named stored skin is the one in use, as when it comes built in,
    // and the description's skins are listed first, in its order.
    EXPECT_EQ(m->SkinName(), "Deep (internal)");
    EXPECT_TRUE(m->Model().SkinData().Active);
    std::vector<std::string> names;
    std::string first;
    m->GetSkinNames(names, slPackedFiles, first);
    EXPECT_EQ(names, (std::vector<std::string>{"Deep (internal)", "Pale (internal)"}));
    EXPECT_EQ(first, "Deep (internal)");
    TsSkinManager* builtIn = NewManager();
    builtIn->SetSkinName("Slate (internal)");
    EXPECT_EQ(m->Model().GlobalInfoColor(), builtIn->Model().GlobalInfoColor());
    m->SetSkinName("Pale (internal)");
    builtIn->SetSkinName("Linen (internal)");
    EXPECT_EQ(m->Model().GlobalInfoColor(), builtIn->Model().GlobalInfoColor());
    FreeManager(builtIn);
    form->Free();  // and with it the form's manager
}

TEST_F(ManagerTest, InternalSkinsAddedOrRemovedChangeTheSkinList) {
    TsSkinManager* m = NewManager();
    int changes = 0;
    m->OnSkinListChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, m);
        ++changes;
    };
    TsStoredSkin skin;
    skin.Name = "Extra (internal)";
    m->Model().InternalSkins.Add(skin);
    EXPECT_EQ(changes, 1);
    m->Model().InternalSkins.Delete(static_cast<std::size_t>(m->Model().InternalSkins.IndexOf("Extra (internal)")));
    EXPECT_EQ(changes, 2);
    m->Model().InternalSkins.Clear();
    EXPECT_EQ(changes, 3);
}

// Glow halos are asked for only where glow windows can be shown.
TEST_F(ManagerTest, GlowingNeedsTheSwitchAndGlowWindows) {
    TsSkinManager* m = NewManager();
    const bool saved = WowWithoutDwm;
    m->Model().Effects.AllowGlowing = true;
    EXPECT_EQ(m->AllowGlowing(), LayeredWindowsAvailable());
    WowWithoutDwm = true;
    EXPECT_FALSE(m->AllowGlowing()) << "no glow windows for a 32-bit program on 64-bit Windows without composition";
    WowWithoutDwm = saved;
    m->Model().Effects.AllowGlowing = false;
    EXPECT_FALSE(m->AllowGlowing());
}

TEST_F(ManagerTest, SwitchedOffRemovesTheSkinAndOnLoadsItAgain) {
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    SkinnedForm f;
    int changes = 0;
    m->OnAfterChange = [&](TObject*) { ++changes; };
    m->SetActive(false);
    EXPECT_EQ(m->SkinInfo(), "N/A");
    EXPECT_EQ(m->IndexOfSection("BUTTON"), -1);
    EXPECT_FALSE(m->ThreadHookInstalled());
    EXPECT_EQ(f.Count(scSkinRemoved), 1);
    // The name may change while off: only stored.
    m->SetSkinName("Slate (internal)");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(m->IndexOfSection("BUTTON"), -1);
    m->SetActive(true);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m->SkinName(), "Slate (internal)");
    EXPECT_GE(m->IndexOfSection("BUTTON"), 0);
    EXPECT_EQ(f.Count(scSkinApplied), 1);
    EXPECT_TRUE(m->ThreadHookInstalled());
}

TEST_F(ManagerTest, SettingsThatReloadRepaintTheForms) {
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    SkinnedForm f;
    const auto generation = m->Model().Generation();
    m->SetHueOffset(40);
    EXPECT_GT(m->Model().Generation(), generation);
    EXPECT_EQ(f.Count(scBeforeRepaintAll), 1);
    EXPECT_EQ(f.Count(scRefresh), 1);
    // An update holds the repaint back until EndUpdate, which applies once.
    f.subCodes.clear();
    m->BeginUpdate();
    m->SetSaturation(20);
    m->SetSkinName("Slate (internal)");
    EXPECT_TRUE(f.subCodes.empty());
    m->EndUpdate(true, false);
    EXPECT_EQ(f.Count(scSkinApplied), 1);
    EXPECT_EQ(f.Count(scRefresh), 1);
    EXPECT_TRUE(m->Model().AnimEffects.SkinChanging.Active) << "animation switched off for that call only";
    // Common sections merge into the skin and reload it.
    m->SetCommonSections({"[MYSECTION]", "STATES = 1"});
    EXPECT_GE(m->IndexOfSection("MYSECTION"), 0);
}

// A corrupt packed file: the message is shown, the old skin stays whole and
// the forms are told of it again; forms frozen for the change are never
// left frozen, whichever way the change ends.
class FailingChange : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        dir.Write("Broken.asz", std::vector<std::uint8_t>{'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'i', 'n'});
        m = NewManager();
        m->SetSkinDirectory(dir.Path());
        m->SetExtendedBorders(true);
        m->SetSkinName("Linen (internal)");
        // Form skinning freezes the forms right after OnBeforeChange; the
        // stand-in marks the form as frozen the same way.
        m->OnBeforeChange = [this](TObject*) {
            f.provider->InAnimation = 1;
            f.provider->FormState |= kSkinChangeImage;
        };
    }
    void ExpectUnfrozen() {
        EXPECT_EQ(f.provider->InAnimation, 0);
        EXPECT_EQ(f.provider->FormState & (kSkinChangeImage | kRepaintLocked), 0u);
        EXPECT_FALSE(FormAnimating);
        EXPECT_FALSE(SkinChanging);
    }
    SkinDir dir;
    SkinnedForm f;
    TsSkinManager* m = nullptr;
};

TEST_F(FailingChange, CorruptPackedFileKeepsTheOldSkinAndTellsTheFormsAgain) {
    ASSERT_TRUE(m->ExtendedBorders()) << "layered windows exist: the change freezes the forms";
    const auto generation = m->Model().Generation();
    const auto sections = m->Model().Sections().size();
    const std::int32_t button = m->IndexOfSection("BUTTON");
    f.subCodes.clear();
    Boxes boxes;
    int after = 0;
    m->OnAfterChange = [&](TObject*) { ++after; };
    m->SetSkinName("Broken");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].type, mtError);
    EXPECT_NE(boxes.shown[0].text.find("not a packed skin"), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(m->SkinName(), "Linen (internal)");
    EXPECT_EQ(m->Model().Generation(), generation) << "the tables in force were not touched";
    EXPECT_EQ(m->Model().Sections().size(), sections);
    EXPECT_EQ(m->IndexOfSection("BUTTON"), button);
    EXPECT_TRUE(m->Model().SkinData().Active);
    EXPECT_EQ(f.Count(scSkinApplied), 1) << "the forms re-read the skin in force";
    EXPECT_EQ(after, 1);
    ExpectUnfrozen();
}

TEST_F(FailingChange, ALoadThatSwitchesTheSkinOffUnfreezesTheForms) {
    // No internal skins and no such skin: the manager switches itself off.
    m->Model().InternalSkins.Clear();
    m->SetSkinName("Nowhere");
    EXPECT_FALSE(m->Active());
    EXPECT_EQ(f.Count(scSkinRemoved), 1);
    ExpectUnfrozen();
}

TEST_F(FailingChange, AnExceptionOnTheWayStillUnfreezesTheForms) {
    m->OnAfterChange = [](TObject*) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(m->SetSkinName("Slate (internal)"), std::runtime_error);
    EXPECT_EQ(m->SkinName(), "Slate (internal)");
    ExpectUnfrozen();
}

// ------------------------------------------------------------- hot control

// Plain windows that log the skin sub-codes they receive, in order.
std::vector<std::pair<HWND, int>> g_hotLog;
LRESULT CALLBACK HotLogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == SkinCommandMessage) g_hotLog.emplace_back(w, SkinSubCode(wp));
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(ManagerTest, HotControlLeavesTheOldOneBeforeEnteringTheNew) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HotLogProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KovaHotLogWindow";
    RegisterClassA(&wc);
    HWND a = CreateWindowExA(0, wc.lpszClassName, "A", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, wc.lpszClassName, "B", WS_POPUP, 30, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(a && b);
    TsSkinManager* m = NewManager(false);
    g_hotLog.clear();
    m->SetHotControl(a);
    m->SetHotControl(b);
    const std::size_t moves = g_hotLog.size();
    m->SetHotControl(b);  // moving within B
    EXPECT_EQ(g_hotLog.size(), moves) << "nothing when the mouse stays in B";
    m->SetHotControl(nullptr);
    const std::vector<std::pair<HWND, int>> expected{
        {a, scHotEnter}, {a, scHotLeave}, {b, scHotEnter}, {b, scHotLeave}};
    EXPECT_EQ(g_hotLog, expected);
    EXPECT_EQ(m->HotControl(), nullptr);
    DestroyWindow(a);
    DestroyWindow(b);
}

// A windowless control that logs the sub-codes it is sent and answers 37
// with its record, whose MouseAbove the test sets.
class HotGraphic : public TGraphicControl {
public:
    explicit HotGraphic(TComponent* owner) : TGraphicControl(owner), data(this, false) {
        saved_ = WindowProc;
        WindowProc = [this](TMessage& m) {
            if (IsSkinCommand(m)) {
                log.push_back(SkinSubCode(m.WParam));
                if (SkinSubCode(m.WParam) == scGetSkinData) {
                    m.Result = reinterpret_cast<LRESULT>(&data);
                    return;
                }
            }
            saved_(m);
        };
    }
    TsCommonData data;
    std::vector<int> log;

private:
    TWndMethod saved_;
};

TEST_F(ManagerTest, HotGraphicControlStaysWhileTheMouseIsAboveIt) {
    TsSkinManager* m = NewManager(false);
    auto* g = new HotGraphic(nullptr);
    m->SetHotGraphicControl(g);
    g->data.MouseAbove = true;
    m->SetHotGraphicControl(nullptr);
    EXPECT_EQ(m->HotGraphicControl(), g) << "the record says the mouse is still above it";
    g->data.MouseAbove = false;
    m->SetHotGraphicControl(nullptr);
    EXPECT_EQ(m->HotGraphicControl(), nullptr);
    EXPECT_EQ(g->log, (std::vector<int>{scGetSkinData, scGetSkinData, scHotLeave}));
    // A freed hot graphic control is forgotten.
    m->SetHotGraphicControl(g);
    g->Free();
    EXPECT_EQ(m->HotGraphicControl(), nullptr);
}

// ---------------------------------------------------------- editor preview

std::vector<std::uint8_t> EditorRecord(std::uint32_t id, const std::string& name, const std::string& dir,
                                       const std::string& text) {
    std::vector<std::uint8_t> r(kEditorRecordSize, 0);
    std::memcpy(r.data(), &id, 4);
    std::memcpy(r.data() + kEditorNameOffset, name.data(), std::min(name.size(), kEditorNameSize));
    std::memcpy(r.data() + kEditorDirOffset, dir.data(), std::min(dir.size(), kEditorDirSize));
    std::memcpy(r.data() + kEditorTextOffset, text.data(), std::min(text.size(), kEditorTextSize));
    return r;
}

LRESULT ApplyRecord(TsSkinManager* m, std::vector<std::uint8_t> record, WPARAM w = 7, std::size_t size = 0) {
    COPYDATASTRUCT cds{};
    cds.cbData = static_cast<DWORD>(size ? size : record.size());
    record.resize(std::max(record.size(), std::size_t{cds.cbData}));
    cds.lpData = record.data();
    TMessage msg{WM_COPYDATA, w, reinterpret_cast<LPARAM>(&cds), 0};
    m->ApplyEditorCopyData(msg);
    return msg.Result;
}

TEST_F(ManagerTest, EditorRecordIsCheckedBeforeUse) {
    SkinDir dir;
    dir.WriteMaster("Edited");
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    const auto good = EditorRecord(kEditorRecordId, "Edited", dir.Path(), kFolderSkinText);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> record;
        WPARAM w;
        std::size_t size;
    };
    const Case cases[] = {
        {"another identifier", EditorRecord(0xA401, "Edited", dir.Path(), kFolderSkinText), 7, 0},
        {"another WParam", good, 6, 0},
        {"one byte short", good, 7, kEditorRecordSize - 1},
        {"one byte over", good, 7, kEditorRecordSize + 1},
        {"only the identifier", good, 7, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ApplyRecord(m, c.record, c.w, c.size), 0) << c.what;
        EXPECT_EQ(m->SkinName(), "Linen (internal)") << c.what;
        EXPECT_FALSE(SkinEdited) << c.what;
    }
}

TEST_F(ManagerTest, EditorFieldsWithoutTerminatorEndAtTheFieldsEnd) {
    SkinDir dir;
    const std::string longName(kEditorNameSize, 'A');
    dir.WriteMaster(longName);
    TsSkinManager* m = NewManager(false);
    // The name fills its field without a terminator; the directory follows.
    auto record = EditorRecord(kEditorRecordId, longName, dir.Path(), kFolderSkinText);
    ASSERT_NE(record[kEditorNameOffset + kEditorNameSize - 1], 0);
    EXPECT_EQ(ApplyRecord(m, record), 1);
    EXPECT_EQ(m->SkinName(), longName);
    EXPECT_EQ(m->SkinInfo(), "7.5");
    // A text that fills its whole field is cut there too.
    std::string text(kEditorTextSize, ';');
    std::memcpy(text.data(), kFolderSkinText, std::strlen(kFolderSkinText));
    text[std::strlen(kFolderSkinText)] = '\n';
    EXPECT_EQ(ApplyRecord(m, EditorRecord(kEditorRecordId, longName, dir.Path(), text)), 1);
    EXPECT_EQ(m->SkinInfo(), "7.5");
    EXPECT_FALSE(m->Model().EditorText.has_value()) << "the editor text lives only for the call";
    SkinEdited = false;
}

// The editor sends its record to the form it previews into; the form's
// provider hands it to the manager, which switches to the edited skin.
TEST_F(ManagerTest, EditorPreviewThroughTheTargetForm) {
    SkinDir dir;
    dir.WriteMaster("Edited");
    // A packed copy of the same name: after a preview the folder wins.
    dir.Write("Edited.asz", InternalSkinData("Slate"));
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    SkinnedForm target;
    PreviewWindow = target.form->Handle();
    HWND editor = CreateWindowExA(0, "STATIC", "editor", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    auto record = EditorRecord(kEditorRecordId, "Edited", dir.Path(), kFolderSkinText);
    COPYDATASTRUCT cds{0, static_cast<DWORD>(record.size()), record.data()};
    const LRESULT answer =
        SendMessageA(target.form->Handle(), WM_COPYDATA, 7, reinterpret_cast<LPARAM>(&cds));
    PreviewWindow = nullptr;
    DestroyWindow(editor);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(SkinEdited);
    EXPECT_EQ(m->SkinName(), "Edited");
    EXPECT_EQ(m->SkinInfo(), "7.5") << "the editor's text, not the packed file";
    EXPECT_FALSE(m->Model().IsPacked());
    EXPECT_FALSE(m->UpdatePending());
    EXPECT_EQ(target.Count(scSkinApplied), 1);
    // Once edited, a name with a folder loads the folder's own description
    // instead of the packed file.
    dir.WriteText("Edited/Options.dat", kFolderSkinText);
    m->SetSkinName("Edited");
    EXPECT_FALSE(m->Model().IsPacked());
    SkinEdited = false;
}

// ---------------------------------------------------- application window

TEST_F(ManagerTest, ApplicationWindowMessages) {
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    // Popup-menu shapes: handled while popups are skinned, also without a window.
    for (UINT msg : {0xBCB3u, 0xBCB4u}) {
        TMessage popup{msg, 0, 0, 0};
        EXPECT_TRUE(m->ApplicationWindowHook(popup)) << msg;
    }
    m->SetSkinnedPopups(false);
    TMessage popup{0xBCB4, 0, 0, 0};
    EXPECT_FALSE(m->ApplicationWindowHook(popup));
    TMessage theme{WM_THEMECHANGED, 0, 0, 0};
    EXPECT_TRUE(m->ApplicationWindowHook(theme));
    // A system command on the application window is seen by the hook
    // through the framework; without a skinned main form it stays the
    // framework's.
    SendMessageA(Application()->Handle(), WM_SYSCOMMAND, SC_MOVE, 0);
    EXPECT_EQ(m->LastSysCommand(), 0);
    TMessage restore{WM_SYSCOMMAND, SC_RESTORE, 0, 0};
    EXPECT_FALSE(m->ApplicationWindowHook(restore));
    EXPECT_EQ(m->LastSysCommand(), 1);
    // Every screen form hears 0xB000 as sub-code 18.
    SkinnedForm f;
    SendMessageA(Application()->Handle(), 0xB000, 0, 0);
    EXPECT_EQ(f.Count(scScreenFormNotify), 1);
}

TEST_F(ManagerTest, TheHookLeavesTheApplicationWindowWithTheManager) {
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    SkinnedForm f;
    FreeManager(m);
    SendMessageA(Application()->Handle(), 0xB000, 0, 0);
    EXPECT_EQ(f.Count(scScreenFormNotify), 0);
}

// ------------------------------------------------- skin applied to controls

// A skinned windowed control that counts the skin sub-codes it receives
// and passes them to its skin record.
class CountingControl : public TCustomControl {
public:
    explicit CountingControl(TComponent* owner) : TCustomControl(owner), data(this, false) {
        saved_ = WindowProc;
        WindowProc = [this](TMessage& m) {
            if (IsSkinCommand(m)) {
                ++counts[SkinSubCode(m.WParam)];
                if (SkinSubCode(m.WParam) == scQuerySupport) {
                    m.Result = 1;
                    return;
                }
                if (HandleSkinCommand(m, &data)) return;
            }
            saved_(m);
        };
    }
    TsCommonData data;
    std::map<int, int> counts;

private:
    TWndMethod saved_;
};

TEST_F(ManagerTest, SkinAppliedReachesEveryControlOfASkinnedForm) {
    TsSkinManager* m = NewManager();
    m->SetActive(false);
    SkinnedForm f;
    std::vector<CountingControl*> controls;
    const char* const sections[] = {"button", "EDIT", "Panel"};
    for (int i = 0; i < 3; ++i) {
        auto* c = new CountingControl(f.form);
        c->SetBounds(10 + 60 * i, 10, 50, 30);
        c->SetParent(f.form);
        c->HandleNeeded();
        c->data.SetSkinSection(sections[i]);
        controls.push_back(c);
    }
    m->SetActive(true);
    m->SetSkinName("Linen (internal)");
    for (CountingControl* c : controls) {
        EXPECT_EQ(c->counts[scSkinApplied], 2) << "once per change";
        // The record read its section's place in the skin now in force.
        EXPECT_GE(c->data.SkinIndex, 0) << c->data.SkinSection();
        EXPECT_EQ(c->data.SkinIndex, m->IndexOfSection(c->data.SkinSection()));
        EXPECT_TRUE(c->data.IsSkinned(true));
    }
    EXPECT_EQ(controls[0]->data.SkinSection(), "BUTTON");
}

// The forms are locked during the change and repainted once when unlocked.
TEST_F(ManagerTest, SwitchingSkinsRepaintsEverySkinnedFormOnce) {
    TsSkinManager* m = NewManager();
    m->SetSkinName("Linen (internal)");
    SkinnedForm a, b;
    a.form->Show();
    b.form->Show();
    kova::test::PumpFor(100);
    a.paints = b.paints = 0;
    m->SetSkinName("Slate (internal)");
    kova::test::PumpFor(100);
    EXPECT_EQ(a.paints, 1);
    EXPECT_EQ(b.paints, 1);
}

}  // namespace
}  // namespace kova::skin
