// Switches and timings of the visual effects the skin manager carries:
// glow halos and glass blur, and the animations of forms, dialogs, pages,
// buttons and skin changes. Plain settings; the animations read them.
// Window-free.
#pragma once

#include <cstdint>
#include <functional>

namespace kova::skin {

enum class TacAnimType { atFading, atAero };

// What the platform offers for the glow windows; the skin manager fills it.
struct TacGlowSupport {
    bool LayeredWindows = false;   // layered glow windows can be shown
    bool DesignTime = false;
    bool WowWithoutDwm = false;    // 32-bit program on 64-bit Windows without composition
};

class TacSkinEffects {
public:
    bool AllowGlowing = true;
    bool AllowAeroBluring = true;
    // The stored switch, refused where the platform cannot show glow windows.
    bool GetAllowGlowing(const TacGlowSupport& support) const {
        return AllowGlowing && (support.LayeredWindows || support.DesignTime) && !support.WowWithoutDwm;
    }
};

struct TacFormAnimation {
    bool Active = true;
    std::uint16_t Time = 0;  // milliseconds
    TacAnimType Mode = TacAnimType::atAero;
};

struct TacBlendOnMoving : TacFormAnimation {
    std::uint8_t BlendValue = 170;
    TacBlendOnMoving() { Active = false, Time = 1000; }
};

enum TacBtnEvent : std::uint8_t { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };
struct TacBtnEffects {
    std::uint8_t Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
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

struct TacAnimEffects {
    TacBlendOnMoving BlendOnMoving;
    TacBtnEffects Buttons;
    TacDialogShow DialogShow;
    TacFormShow FormShow;
    TacFormHide FormHide;
    TacFormHide DialogHide;
    TacMinimizing Minimizing;
    TacPageChange PageChange;
    TacSkinChanging SkinChanging;
};

}  // namespace kova::skin
