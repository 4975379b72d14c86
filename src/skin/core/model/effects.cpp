#include "skin/core/model/effects.h"

#include <algorithm>

namespace kova::skin {

void TacSkinEffects::DefineProps(TPropList& L) {
    L.For<TacSkinEffects>()
        .Bool("AllowAeroBluring", [](TacSkinEffects* e) { return e->AllowAeroBluring; },
              [](TacSkinEffects* e, bool v) { e->AllowAeroBluring = v; })
        .Bool("AllowGlowing", [](TacSkinEffects* e) { return e->AllowGlowing; },
              [](TacSkinEffects* e, bool v) { e->AllowGlowing = v; });
}

void TacFormAnimation::DefineProps(TPropList& L) {
    L.For<TacFormAnimation>()
        .Bool("Active", [](TacFormAnimation* a) { return a->Active; }, [](TacFormAnimation* a, bool v) { a->Active = v; })
        .Int("Time", [](TacFormAnimation* a) { return std::int64_t{a->Time}; },
             [](TacFormAnimation* a, std::int64_t v) { a->Time = static_cast<std::uint16_t>(std::clamp<std::int64_t>(v, 0, 65535)); })
        .Enum("Mode", {"atFading", "atAero"}, [](TacFormAnimation* a) { return static_cast<std::int64_t>(a->Mode); },
              [](TacFormAnimation* a, std::int64_t v) { a->Mode = v == 1 ? TacAnimType::atAero : TacAnimType::atFading; });
}

void TacBlendOnMoving::DefineProps(TPropList& L) {
    L.For<TacBlendOnMoving>().Int(
        "BlendValue", [](TacBlendOnMoving* b) { return std::int64_t{b->BlendValue}; },
        [](TacBlendOnMoving* b, std::int64_t v) { b->BlendValue = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255)); });
}

void TacBtnEffects::DefineProps(TPropList& L) {
    L.For<TacBtnEffects>().Set(
        "Events", {"beMouseEnter", "beMouseLeave", "beMouseDown", "beMouseUp"},
        [](TacBtnEffects* b) { return std::int64_t{b->Events}; },
        [](TacBtnEffects* b, std::int64_t v) { b->Events = static_cast<std::uint8_t>(v & 15); });
}

void TacAnimEffects::DefineProps(TPropList& L) {
    L.For<TacAnimEffects>()
        .Object("BlendOnMoving", [](TacAnimEffects* a) -> TObject* { return &a->BlendOnMoving; })
        .Object("Buttons", [](TacAnimEffects* a) -> TObject* { return &a->Buttons; })
        .Object("DialogShow", [](TacAnimEffects* a) -> TObject* { return &a->DialogShow; })
        .Object("FormShow", [](TacAnimEffects* a) -> TObject* { return &a->FormShow; })
        .Object("FormHide", [](TacAnimEffects* a) -> TObject* { return &a->FormHide; })
        .Object("DialogHide", [](TacAnimEffects* a) -> TObject* { return &a->DialogHide; })
        .Object("Minimizing", [](TacAnimEffects* a) -> TObject* { return &a->Minimizing; })
        .Object("PageChange", [](TacAnimEffects* a) -> TObject* { return &a->PageChange; })
        .Object("SkinChanging", [](TacAnimEffects* a) -> TObject* { return &a->SkinChanging; });
}

}  // namespace kova::skin
