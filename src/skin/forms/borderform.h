// The extended borders of a skinned form or system dialog: a second,
// borderless, layered tool window owned by the window it frames, lying
// just beneath it and larger by the skin's shadow margins, shows that
// window's whole skinned frame (shadow, border, caption, title buttons)
// with per-pixel alpha, straight from its owner's cache (the form's
// provider or the dialog's adapter). Its region has a hole where the
// client area is, so the window itself shows there. The mouse on it is
// hit-tested against the skinned frame and handed to the window; on the
// transparent shadow margin it goes through to whatever lies beneath.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/forms.h"
#include "skin/core/providerbase.h"

namespace kova::skin {

class TsSkinProvider;
class TsCommonData;
class TsSkinManager;
class TacDialogWnd;

// Provider state bits the border window and the animations share.
inline constexpr std::uint32_t kStateSizeAnimation = 0x1;
inline constexpr std::uint32_t kStateTranslucentMove = 0x80;
inline constexpr std::uint32_t kStateMinimizing = 0x100;
inline constexpr std::uint32_t kStateHiding = 0x200;
inline constexpr std::uint32_t kStateRestoring = 0x400;
inline constexpr std::uint32_t kStateVertStretched = 0x2000;
inline constexpr std::uint32_t kStateHorzStretched = 0x4000;
inline constexpr std::uint32_t kStateActivating = 0x8000;

// The hit codes of user title buttons start here (1000: the first).
inline constexpr int kUserButtonHitBase = 999;

class TacSkinBorderForm final : public TacBorderForm {
public:
    // Makes the border window (hidden); the first UpdateBorderWindow shows it.
    explicit TacSkinBorderForm(TsSkinProvider* owner);
    explicit TacSkinBorderForm(TacDialogWnd* owner);
    ~TacSkinBorderForm() override;

    // Exactly one of the two owns the border object.
    TsSkinProvider* Provider = nullptr;
    TacDialogWnd* Dialog = nullptr;
    TsCommonData* SkinData = nullptr;
    // Where a translucent move put the border window (-1: nowhere yet).
    POINT MovePos{-1, -1};
    // Set while the region is replaced for a pass-through: updates only move.
    bool ParentRgnChanging = false;
    bool Updating = false;
    // The region has the one-pixel pass-through hole.
    bool RgnChanged = false;

    void CreateBorderWindow() override;
    void UpdateBorderWindow(bool repaint, int alpha) override;
    // A region of the border window's size with the client area cut out
    // (the caller owns it); width and height, when given, are the owner's
    // coming size during a size change.
    HRGN MakeRegion(int width, int height) override;
    int TopOffset() override;
    void PaintOwnerCache() override;

    int LeftOffset() override;
    TForm* ReleaseWindow() override;
    // The owner's client area in border-window coordinates.
    RECT ClientRect(int width = 0, int height = 0);
    RECT ExtMargins();
    void RestoreRegion();
    // The non-client code of a screen point (-1: none).
    int HitTest(POINT screen);
    // The frame's bands (sizing, caption, menu line) under a screen point.
    int FrameHitTest(POINT screen);
    // 1-based index of the title button under a point in border-window
    // coordinates (0: none), numbered close, maximise, minimise, help,
    // then the user buttons.
    int TitleButtonAt(POINT at);
    // True on the transparent shadow margin (the hot button is cleared).
    bool PointInMargin(POINT at, bool screen);
    void FreeTitleGlows();
    // The border window's own messages.
    void BorderWndProc(TMessage& m);

private:
    HWND Wnd() const;
    // The owner's state bits (the provider's form state or the dialog's flags).
    std::uint32_t OwnerState() const;
    int OwnerCaptionHeight();
    RECT TitleIconRect();
    void SetHotTitleButton(int code);
    void DoubleClick(int code);
    // A translucent move's new position snapped to the work area's edges.
    void SnapMove(WINDOWPOS& wp);
    void PassThrough(POINT at);
    // The last left and width (or top and height) before a stretch to the
    // work area.
    int savedLeft_ = 0, savedWidth_ = 0, savedTop_ = 0, savedHeight_ = 0;
    // The screen point of the last hit test (the mouse message it began).
    POINT lastHit_{};
    bool lastHitValid_ = false;
    // The pass-through pixel (border-window coordinates; -1: none).
    POINT holeAt_{-1, -1};
};

// The form's frame paint with a border window: the border window is
// brought up to date (shown again when it is missing or hidden).
void BorderNCPaint(TsSkinProvider& p);
// The form moved, sized, hid or changed its place in the z-order: its
// border window follows.
void BorderPositionChanged(TsSkinProvider& p, const WINDOWPOS* wp);

// The border window's cursor for a hit code (nullptr: the window's own).
LPCSTR CursorForHitCode(int code);

// The extended border drawn into the cache: the shadow picture of the
// activation state in nine slices over the margins (the centre, the form,
// left as it is).
void PaintExtendedBorder(TsSkinProvider& p);
void PaintExtendedBorder(TsSkinManager* manager, bool active, TBitmap& cache);

}  // namespace kova::skin
