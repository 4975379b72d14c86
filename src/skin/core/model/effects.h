// Switches and timings of the visual effects the skin manager carries:
// glow halos and glass blur, and the animations of forms, dialogs, pages,
// buttons and skin changes. Plain settings the animations read, published
// so that form descriptions set them (the manager's "Effects" and
// "AnimEffects"). Window-free.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/portable/component.h"
#include "framework/portable/props.h"

namespace kova::skin {

enum class TacAnimType { atFading, atAero };

// What the platform offers for the glow windows; the skin manager fills it.
struct TacGlowSupport {
    bool LayeredWindows = false;   // layered glow windows can be shown
    bool DesignTime = false;
    bool WowWithoutDwm = false;    // 32-bit program on 64-bit Windows without composition
};

class TacSkinEffects : public TPersistent {
    KOVA_CLASS_PROPS(TacSkinEffects, TPersistent)
public:
    bool AllowGlowing = true;
    bool AllowAeroBluring = true;
    // The stored switch, refused where the platform cannot show glow windows.
    bool GetAllowGlowing(const TacGlowSupport& support) const {
        return AllowGlowing && (support.LayeredWindows || support.DesignTime) && !support.WowWithoutDwm;
    }

private:
    static void DefineProps(TPropList& L);
};

class TacFormAnimation : public TPersistent {
    KOVA_CLASS_PROPS(TacFormAnimation, TPersistent)
public:
    bool Active = true;
    std::uint16_t Time = 0;  // milliseconds
    TacAnimType Mode = TacAnimType::atAero;

private:
    static void DefineProps(TPropList& L);
};

class TacBlendOnMoving : public TacFormAnimation {
    KOVA_CLASS_PROPS(TacBlendOnMoving, TacFormAnimation)
public:
    std::uint8_t BlendValue = 170;
    TacBlendOnMoving() { Active = false, Time = 1000; }

private:
    static void DefineProps(TPropList& L);
};

enum TacBtnEvent : std::uint8_t { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };
class TacBtnEffects : public TPersistent {
    KOVA_CLASS_PROPS(TacBtnEffects, TPersistent)
public:
    std::uint8_t Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;

private:
    static void DefineProps(TPropList& L);
};

struct TacDialogShow : TacFormAnimation {};
struct TacFormShow : TacFormAnimation {};
struct TacFormHide : TacFormAnimation {};
struct TacMinimizing : TacFormAnimation {
    TacMinimizing() { Time = 200; }
};
struct TacPageChange : TacFormAnimation {};
struct TacSkinChanging : TacFormAnimation {
    TacSkinChanging() { Time = 100, Mode = TacAnimType::atFading; }
};

class TacAnimEffects : public TPersistent {
    KOVA_CLASS_PROPS(TacAnimEffects, TPersistent)
public:
    TacBlendOnMoving BlendOnMoving;
    TacBtnEffects Buttons;
    TacDialogShow DialogShow;
    TacFormShow FormShow;
    TacFormHide FormHide;
    TacFormHide DialogHide;
    TacMinimizing Minimizing;
    TacPageChange PageChange;
    TacSkinChanging SkinChanging;

private:
    static void DefineProps(TPropList& L);
};

}  // namespace kova::skin
