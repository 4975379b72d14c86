#include "skin/core/skinsetup.h"

#include <map>
#include <memory>

#include "framework/filestreams.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/alphaimagelist.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/msgbox.h"
#include "skin/core/pictureformats.h"
#include "skin/core/sysutils.h"

namespace kova::skin {

namespace {

struct TSkinUnits {
    int starts = 0;
    std::map<int, std::string> texts;
    TSkinSharedDefaults defaults;
    bool fourDigitYear = false;
    TsAlphaImageList* glyphs = nullptr;  // a component: freed with Free
    std::string user32Text905, user32Text900;
    std::unique_ptr<TPNGPicture> activeShadow, inactiveShadow;
    OSVERSIONINFOA version{};
    bool ntFamily = false;
};

TSkinUnits& Units() {
    static TSkinUnits units;
    return units;
}

const std::string kEmpty;

std::string LoadText(HINSTANCE module, UINT id) {
    char buffer[1024];
    const int n = LoadStringA(module, id, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string ShortDateFormat() {
    char buffer[96] = {};
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer) : std::string();
}

std::unique_ptr<TPNGPicture> LoadShadow(const char* name) {
    try {
        TResourceStream stream(GetModuleHandleA(nullptr), name);
        auto picture = std::make_unique<TPNGPicture>();
        picture->LoadFromStream(stream);
        return picture;
    } catch (const std::exception&) {
        return nullptr;  // borders then go without the built-in shadow
    }
}

TsAlphaImageList* MakeGlyphList() {
    auto* list = new TsAlphaImageList(nullptr);
    list->SetSize(48, 16);
    for (const char* name : {"SF", "SR", "SD", "SE", "SC"}) {
        TsImgListItem& item = list->Items().Add();
        item.ImageFormat = ifPNG;
        item.PixelFormat = TPixelFormat::pf32bit;
        try {
            TResourceStream stream(GetModuleHandleA(nullptr), name);
            item.SetImgData(stream.Bytes());
        } catch (const EStreamError&) {
            // An empty place keeps the indexes of the others.
        }
    }
    list->GenerateImages();
    return list;
}

void Initialise(const std::vector<std::string>& params) {
    TSkinUnits& u = Units();
    InitSkinUtilities();

    u.version = {};
    u.version.dwOSVersionInfoSize = sizeof u.version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&u.version);
#pragma GCC diagnostic pop
    u.ntFamily = u.version.dwPlatformId == VER_PLATFORM_WIN32_NT;

    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (std::size_t i = 0; i < kSkinTextCount; ++i)
        u.texts[kSkinTexts[i].Id] = LoadText(module, static_cast<UINT>(kSkinTexts[i].Id));

    u.defaults = TSkinSharedDefaults{};
    u.defaults.ScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    u.fourDigitYear = ShortDateHasFourDigitYear(ShortDateFormat());

    RegisterSkinPictureFormats();
    // The shared glyphs are decoded on first use (SharedGlyphList): five
    // pictures the main window does not wait for.

    if (const TModuleHandle user32("User32"); user32) {
        u.user32Text905 = LoadText(user32.Get(), 905);
        u.user32Text900 = LoadText(user32.Get(), 900);
    }

    u.activeShadow = LoadShadow("acSHDA");
    u.inactiveShadow = LoadShadow("acSHDI");
    SetBuiltInExtBorderShadows(u.activeShadow ? u.activeShadow->Pixels().Clone() : Bitmap32(),
                               u.inactiveShadow ? u.inactiveShadow->Pixels().Clone() : Bitmap32());

    if (HasSwitch(params, "/acver")) ShowMsgBox(kSkinEngineVersionText, mtInformation, mbOK, 0);
}

void Finalise() {
    TSkinUnits& u = Units();
    u.texts.clear();
    u.user32Text905.clear();
    u.user32Text900.clear();
    if (u.glyphs) {
        TComponent* list = u.glyphs;
        u.glyphs = nullptr;
        list->Free();
    }
    u.activeShadow.reset();
    u.inactiveShadow.reset();
    SetBuiltInExtBorderShadows({}, {});
}

std::vector<std::string> ProgramParams() {
    std::vector<std::string> params;
    const int n = Application()->ParamCount();
    for (int i = 1; i <= n; ++i) params.push_back(Application()->ParamStr(i));
    return params;
}

}  // namespace

void StartSkinUnits() { StartSkinUnits(ProgramParams()); }

void StartSkinUnits(const std::vector<std::string>& params) {
    if (Units().starts++ == 0) Initialise(params);
}

void FinishSkinUnits() {
    TSkinUnits& u = Units();
    if (u.starts == 0) return;
    if (--u.starts == 0) Finalise();
}

int SkinUnitsStartCount() { return Units().starts; }
bool SkinUnitsStarted() { return Units().starts > 0; }

const std::string& SkinText(int id) {
    const auto& texts = Units().texts;
    const auto it = texts.find(id);
    return it == texts.end() ? kEmpty : it->second;
}

const TSkinSharedDefaults& SkinSharedDefaults() { return Units().defaults; }
bool FourDigitYear() { return Units().fourDigitYear; }
TsAlphaImageList* SharedGlyphList() {
    TSkinUnits& u = Units();
    if (!u.glyphs && u.starts > 0) u.glyphs = MakeGlyphList();
    return u.glyphs;
}
const std::string& User32Text905() { return Units().user32Text905; }
const std::string& User32Text900() { return Units().user32Text900; }
TPNGPicture* ActiveShadow() { return Units().activeShadow.get(); }
TPNGPicture* InactiveShadow() { return Units().inactiveShadow.get(); }
const OSVERSIONINFOA& OsVersion() { return Units().version; }
bool IsNTFamily() { return Units().ntFamily; }

}  // namespace kova::skin
