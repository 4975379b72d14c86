#include "skin/controls/hintmanager.h"

#include <algorithm>

#include "framework/filestreams.h"
#include "framework/forms.h"
#include "framework/portable/formtext.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinstate.h"

namespace kova::skin {

namespace {

TsHintManager* currentManager = nullptr;

}  // namespace

void AssignScreenHintFont(TFont& font) {
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        font.SetName(ncm.lfStatusFont.lfFaceName);
        font.SetHeight(ncm.lfStatusFont.lfHeight);
    } else {
        font.SetName("Segoe UI");
        font.SetHeight(-12);
    }
}

namespace {

struct TPredefinition {
    TsHintsPredefinitions Kind;
    TsHintStyle Style;
    int BevelWidth, ExOffset, MarginH, MarginV, MaxWidth, Radius;  // -1: unchanged
    TColor Color;
    int Transparency;
    TColor ColorBorderTop, ColorBorderBottom;
    int Bevel, GradientPercent;
    const char* GradientData;
    int ShadowBlur, ShadowOffset, ShadowTransparency;
};

constexpr TColor kInfoBk = 0xFF000000u | 24;  // the system's info background colour

constexpr TPredefinition kPredefinitions[] = {
    {shSimply, hsSimply, 1, -1, 4, 2, 240, -1, kInfoBk, 0, 0, 0, 1, 0, "", 3, 6, 40},
    {shGradient, hsSimply, 1, -1, 6, 3, 240, -1, 11992314, 10, 0xFFFFFF, 32896, 1, 100,
     "167827;6865090;24;2;0;6865090;6865090;24;2;0;6865090;15400959;24;2;0;15400959;6865090;24;2;0;6865090;6865090;0;2;0",
     5, 6, 50},
    {shTransparent, hsSimply, 0, -1, 13, 5, 240, -1, 11992314, 20, 0xFFFFFF, 32896, 1, 0, "", 3, 10, 70},
    {shEllipse, hsEllipse, 1, 16, 6, 12, 240, -1, 12778748, 5, 32896, 0, 1, 100,
     "7728127;16777215;99;0;0;16777215;16777215;0;0;0", 4, 16, 75},
    {shBalloon, hsBalloon, 6, 18, 6, 6, 240, -1, 12778748, 10, 4227200, 4227200, 1, 0, "", 6, 8, 70},
    {shComicsGradient, hsComics, 1, 24, 15, 7, 180, 21, 0xFFB44F, 8, 0x400000, 0x400000, 1, 100,
     "16753188;16777215;99;0;0;16777215;16777215;0;0;0", 10, 7, 28},
    {shComicsTransparent, hsComics, 1, 19, 15, 8, 180, 13, 12778748, 10, 0, 0, 1, 0, "", 4, 7, 45},
};

}  // namespace

TsHintManager* CurrentHintManager() { return currentManager; }

// ------------------------------------------------------------- TsHintKind

TsHintKind::TsHintKind(TsHintManager* owner) : owner_(owner) {}

void TsHintKind::SetStyle(TsHintStyle s) {
    style_ = s;
    owner_->ApplyStyle(s);
}

bool TsHintKind::ShadowEnabled() const { return shadowEnabled_ && !owner_->SkinnedHints(); }

// ---------------------------------------------------------- TsHintManager

TsHintManager::TsHintManager(TComponent* AOwner) : TComponent(AOwner) {
    HintBitmap.SetSize(0, 0);
    TApplicationHints& app = ApplicationHints();
    app.HintPause = 300;
    app.HintShortPause = 200;
    // The application's own handler keeps running, ours after it.
    chained_ = app.OnShowHint;
    app.OnShowHint = [this](std::string& s, bool& canShow, THintInfo& info) { ShowHintHook(s, canShow, info); };
    AfterConstruction();
}

TsHintManager::~TsHintManager() {
    FreePendingFrame();
    TApplicationHints& app = ApplicationHints();
    if (currentManager == this) {
        currentManager = nullptr;
        app.SetHintWindowClass({});
    }
    app.OnShowHint = chained_;
}

void TsHintManager::AfterConstruction() {
    if (SkinSection.empty()) SkinSection = "HINT";
    ApplyStyle(kind_.Style());
}

void TsHintManager::Loaded() {
    TComponent::Loaded();
    ApplicationHints().HintHidePause = pauseHide_;
    if (SkinSection.empty()) SkinSection = "HINT";
    ApplyStyle(kind_.Style());
    ApplyPredefinitions();
}

void TsHintManager::SetPauseHide(int ms) {
    if (ms == pauseHide_) return;
    pauseHide_ = ms;
    ApplicationHints().HintHidePause = ms;
}

void TsHintManager::SetUseSkinData(bool v) {
    useSkinData_ = v;
    if (!v) {
        ApplyStyle(kind_.Style());
        ApplyPredefinitions();
    }
}

void TsHintManager::ApplyStyle(TsHintStyle style) {
    TApplicationHints& app = ApplicationHints();
    auto use = [&](auto make) {
        currentManager = this;
        app.SetHintWindowClass(make);
    };
    switch (style) {
        case hsSimply:
            use([](TComponent* o) -> THintWindow* { return new TsSimplyHintWindow(o); });
            break;
        case hsComics:
            use([](TComponent* o) -> THintWindow* { return new TsComicsHintWindow(o); });
            break;
        case hsEllipse:
            use([](TComponent* o) -> THintWindow* { return new TsEllipseHintWindow(o); });
            break;
        case hsBalloon:
            use([](TComponent* o) -> THintWindow* { return new TsBalloonHintWindow(o); });
            break;
        case hsStandard:
            if (currentManager == this) currentManager = nullptr;
            app.SetHintWindowClass({});
            break;
        case hsNone:
            if (currentManager == this) currentManager = nullptr;
            app.SetHintWindowClass([](TComponent* o) -> THintWindow* { return new TsSimplyHintWindow(o); });
            break;
    }
}

void TsHintManager::ApplyPredefinitions() {
    if (Predefinitions == shCustom) return;
    if (Predefinitions == shStandard || Predefinitions == shNone) {
        kind_.SetStyle(Predefinitions == shStandard ? hsStandard : hsNone);
        return;
    }
    AssignScreenHintFont(kind_.Font);
    kind_.Font.SetStyle(0);
    kind_.Font.SetColor(0);
    for (const TPredefinition& p : kPredefinitions) {
        if (p.Kind != Predefinitions) continue;
        TsHintKind& k = kind_;
        k.BevelWidth = p.BevelWidth;
        if (p.ExOffset >= 0) k.ExOffset = p.ExOffset;
        k.MarginH = p.MarginH;
        k.MarginV = p.MarginV;
        k.MaxWidth = p.MaxWidth;
        if (p.Radius >= 0) k.Radius = p.Radius;
        k.Color = p.Color == kInfoBk ? kova::ColorToRGB(clInfoBk) : p.Color;
        k.Transparency = p.Transparency;
        k.ColorBorderTop = p.ColorBorderTop;
        k.ColorBorderBottom = p.ColorBorderBottom;
        k.Bevel = p.Bevel;
        k.GradientPercent = p.GradientPercent;
        k.GradientData = p.GradientData;
        k.ShadowBlur = p.ShadowBlur;
        k.ShadowOffset = p.ShadowOffset;
        k.ShadowTransparency = p.ShadowTransparency;
        k.SetShadowEnabled(true);
        k.SetStyle(p.Style);
    }
}

bool TsHintManager::SkinnedHints() const {
    if (currentManager != this || !useSkinData_ || SkinSection.empty()) return false;
    const TsSkinManager* skin = DefaultManager;
    return skin && skin->Active() && skin->IndexOfSection(SkinSection) >= 0;
}

void TsHintManager::FreePendingFrame() {
    if (!pendingFrame_) return;
    TWinControl* f = pendingFrame_;
    pendingFrame_ = nullptr;
    f->Free();
}

TWinControl* TsHintManager::TakePendingFrame() {
    TWinControl* f = pendingFrame_;
    pendingFrame_ = nullptr;
    return f;
}

void TsHintManager::ShowHintHook(std::string& hintStr, bool& canShow, THintInfo& info) {
    // A frame from an earlier hint that never showed is not carried over.
    FreePendingFrame();
    if (chained_) chained_(hintStr, canShow, info);
    LastHintPos = info.HintPos;
    if (!OnShowHint) return;
    const POINT before = info.HintPos;
    TWinControl* frame = nullptr;
    OnShowHint(hintStr, canShow, info, frame);
    if (info.HintPos.x != before.x && info.HintPos.y != before.y) LastHintPos = info.HintPos;
    if (!frame) return;
    const bool shown = canShow && !hintStr.empty() && currentManager == this && kind_.Style() != hsNone;
    if (shown)
        pendingFrame_ = frame;
    else
        frame->Free();
}

// ------------------------------------------------------------ descriptions

void TsHintKind::DefineProps(TPropList& L) {
    auto intProp = [&](const char* name, int TsHintKind::*field) {
        L.For<TsHintKind>().Int(
            name, [field](TsHintKind* k) { return k->*field; }, [field](TsHintKind* k, int v) { k->*field = v; });
    };
    auto colourProp = [&](const char* name, TColor TsHintKind::*field) {
        L.For<TsHintKind>().Color(
            name, [field](TsHintKind* k) { return static_cast<kova::TColor>(k->*field); },
            [field](TsHintKind* k, kova::TColor v) { k->*field = static_cast<TColor>(v); });
    };
    L.For<TsHintKind>().Enum(
        "Style", {"hsSimply", "hsComics", "hsEllipse", "hsBalloon", "hsStandard", "hsNone"},
        [](TsHintKind* k) { return k->Style(); }, [](TsHintKind* k, TsHintStyle v) { k->SetStyle(v); });
    intProp("Radius", &TsHintKind::Radius);
    intProp("BevelWidth", &TsHintKind::BevelWidth);
    intProp("ExOffset", &TsHintKind::ExOffset);
    intProp("MarginH", &TsHintKind::MarginH);
    intProp("MarginV", &TsHintKind::MarginV);
    intProp("MaxWidth", &TsHintKind::MaxWidth);
    colourProp("Color", &TsHintKind::Color);
    colourProp("ColorBorderTop", &TsHintKind::ColorBorderTop);
    colourProp("ColorBorderBottom", &TsHintKind::ColorBorderBottom);
    intProp("Transparency", &TsHintKind::Transparency);
    intProp("GradientPercent", &TsHintKind::GradientPercent);
    L.For<TsHintKind>().String(
        "GradientData", [](TsHintKind* k) { return k->GradientData; },
        [](TsHintKind* k, const std::string& v) { k->GradientData = v; });
    intProp("TexturePercent", &TsHintKind::TexturePercent);
    intProp("Bevel", &TsHintKind::Bevel);
    L.For<TsHintKind>().Bool(
        "ShadowEnabled", [](TsHintKind* k) { return k->ShadowEnabled(); },
        [](TsHintKind* k, bool v) { k->SetShadowEnabled(v); });
    intProp("ShadowBlur", &TsHintKind::ShadowBlur);
    intProp("ShadowOffset", &TsHintKind::ShadowOffset);
    intProp("ShadowTransparency", &TsHintKind::ShadowTransparency);
    // Kept in old descriptions; nothing uses them.
    L.For<TsHintKind>()
        .Color("ShadowColor", [](TsHintKind*) { return kova::TColor(0); }, [](TsHintKind*, kova::TColor) {})
        .Int("Blur", [](TsHintKind*) { return 0; }, [](TsHintKind*, int) {})
        .String("TextureFile", [](TsHintKind*) { return std::string(); }, [](TsHintKind*, const std::string&) {})
        .Object("Font", [](TsHintKind* k) -> TObject* { return &k->Font; });
}

void TsHintManager::DefineProps(TPropList& L) {
    L.For<TsHintManager>()
        .Bool("HTMLMode", [](TsHintManager* m) { return m->HTMLMode; }, [](TsHintManager* m, bool v) { m->HTMLMode = v; })
        .Enum("Predefinitions",
              {"shSimply", "shGradient", "shTransparent", "shEllipse", "shBalloon", "shComicsGradient",
               "shComicsTransparent", "shStandard", "shNone", "shCustom"},
              [](TsHintManager* m) { return m->Predefinitions; },
              [](TsHintManager* m, TsHintsPredefinitions v) { m->Predefinitions = v; })
        .Int("PauseHide", &TsHintManager::PauseHide, &TsHintManager::SetPauseHide)
        .Object("HintKind", [](TsHintManager* m) -> TObject* { return &m->HintKind(); })
        .Enum("DefaultMousePos", {"mpLeftTop", "mpLeftBottom", "mpRightTop", "mpRightBottom"},
              [](TsHintManager* m) { return m->DefaultMousePos; },
              [](TsHintManager* m, TsMousePosition v) { m->DefaultMousePos = v; })
        .Bool("Animated", [](TsHintManager* m) { return m->Animated; }, [](TsHintManager* m, bool v) { m->Animated = v; })
        .String("SkinSection", [](TsHintManager* m) { return m->SkinSection; },
                [](TsHintManager* m, const std::string& v) { m->SkinSection = v; })
        .Bool("UseSkinData", &TsHintManager::UseSkinData, &TsHintManager::SetUseSkinData);
}

void RegisterHintManagerClass() {
    if (!IsComponentClassRegistered(TsHintManager::StaticClass().name)) RegisterComponentClass<TsHintManager>();
}

// --------------------------------------------------------- default template

TacHintTemplate& DefaultHintTemplate() {
    static const std::unique_ptr<TacHintTemplate> t = [] {
        std::vector<std::uint8_t> bytes;
        try {
            TResourceStream in(GetModuleHandleA(nullptr), "ACHINT");
            bytes.resize(static_cast<std::size_t>(in.Size()));
            in.Read(bytes.data(), bytes.size());
        } catch (const std::exception&) {
            bytes.clear();
        }
        return MakeDefaultHintTemplate(bytes);
    }();
    return *t;
}

}  // namespace kova::skin
