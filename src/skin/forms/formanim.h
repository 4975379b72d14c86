// The animations of a skinned form's own: a title button fading in and
// out in a small layered window over the caption, the translucent move of
// a form dragged by its caption (with extended borders the border window
// carries the whole form while it moves), and where a minimised form
// shrinks to (its task-bar button, or the task bar's inner edge). Every
// frame goes through the animations' output (skin/core/skinservices.h),
// driven by window timers on the GUI thread.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "framework/forms.h"
#include "framework/graphics.h"
#include "skin/core/thdtimer.h"

namespace kova::skin {

class TsSkinProvider;
struct TsCaptionButton;

// ------------------------------------------------------------- the maths

// A transparency percentage or alpha value brought into 0..255 before it
// is used as alpha.
constexpr std::uint8_t ClampAlpha(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }
// The alpha of step s of a fade of `steps` steps: each step adds
// 255 div steps, at least 1 (more than 255 steps still fade).
constexpr std::uint8_t FadeStepAlpha(int step, int steps) {
    const int per = steps > 0 ? std::max(255 / steps, 1) : 255;
    return ClampAlpha(step * per);
}
// How much alpha a translucent move loses per 12 ms tick on its way down
// to blendValue over `time` ms: all at once for 12 ms or less; at least 1.
constexpr std::uint8_t MoveAlphaStep(int blendValue, int time) {
    const int span = 255 - ClampAlpha(blendValue);
    if (span <= 0) return 1;
    if (time <= 12) return ClampAlpha(span);
    const int step = static_cast<int>(span / (time / 12.0) + 0.5);
    return ClampAlpha(std::max(step, 1));
}

// --------------------------------------------------- title-button fades

// One title button fading toward its new state.
class TacSBAnimation : public TacThreadedTimer {
    KOVA_CLASS(TacSBAnimation, TacThreadedTimer)
public:
    TacSBAnimation(TsSkinProvider& provider, TsCaptionButton& button);
    ~TacSBAnimation() override;
    // Toward 0 (normal, fading out), 1 (hot) or 2 (pressed).
    void SetState(int newState, bool fadeIn);
    // A new target while it runs.
    void Retarget(int newState, int steps, bool fadeIn);
    int Step = 0;
    // -1 none, 0 normal, 1 hot, 2 pressed.
    int State = -1;
    bool FadeIn = true;
    // -1 once the rise is complete.
    int Steps = 10;
    TForm* AForm = nullptr;
    std::unique_ptr<TBitmap> Bmp;

protected:
    void DoTimer() override;

private:
    void Render();
    void ShowFrame(std::uint8_t alpha);
    void FreeWindow();
    bool CursorOverButton() const;
    TsSkinProvider& provider_;
    TsCaptionButton& button_;
};

// The title-button painter's call: hot fades in over 10 steps, pressed in
// one, normal fades out from where the fade reached.
void AnimateTitleButton(TsSkinProvider& provider, TsCaptionButton& button, int newState, int steps, bool fadeIn);
// Fades of title buttons are wanted for this provider.
bool TitleButtonFadesWanted(TsSkinProvider& provider);

// ------------------------------------------------------ translucent move

class TacMoveTimer : public TacThreadedTimer {
    KOVA_CLASS(TacMoveTimer, TacThreadedTimer)
public:
    explicit TacMoveTimer(TsSkinProvider& provider);
    std::uint8_t BlendValue = 255;
    std::uint8_t CurrentAlpha = 255;
    std::uint8_t AlphaStep = 1;

protected:
    void DoTimer() override;

private:
    TsSkinProvider& provider_;
};

// A left press on the caption of a form with extended borders while the
// manager's BlendOnMoving is active: the border window carries the form's
// whole picture, fades to the blend value and runs the move; the form
// follows where it was dropped. True when the move ran.
bool StartBlendOnMoving(TsSkinProvider& provider);
bool BlendOnMovingWanted(TsSkinProvider& provider);

// ------------------------------------------------- minimise and restore

// Shrinks the form's picture toward its task-bar button (or the task
// bar's edge) while fading it out, and grows it back on restoring; kept
// by the provider between the two.
class TacMinTimer : public TacThreadedTimer {
    KOVA_CLASS(TacMinTimer, TacThreadedTimer)
public:
    explicit TacMinTimer(TsSkinProvider& provider);
    ~TacMinTimer() override;
    // Start and target rectangles, centre and half-size steps, alpha.
    void Init();
    RECT StartRect{}, TargetRect{};
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    double DX = 0, DY = 0, DW = 0, DH = 0;
    double AlphaStep = 1;
    int CurrentAlpha = 255;
    int MaxAlpha = 255;
    int StepCount = 1;
    bool Restoring = false;
    bool Initialised = false;
    // The window the frames show in (the border window, not owned here).
    HWND AnimWnd = nullptr;
    std::unique_ptr<TBitmap> FormImage;
    std::unique_ptr<TBitmap> FrameBmp;

protected:
    void DoTimer() override;

private:
    void Frame();
    TsSkinProvider& provider_;
    bool busy_ = false;
};

// ------------------------------------------------------ minimise target

enum TTaskbarEdge { teLeft = 1, teTop = 2, teRight = 4, teBottom = 8 };

// The edge of the task bar (window rectangle t) a minimised form aims at.
int TaskbarEdge(const RECT& t);
// Where a form whose rectangle is `start` shrinks to: its task-bar button
// (looked up only without desktop composition), else the point on the
// task bar's inner edge level with the form's centre; an empty rectangle
// at (0, 0) without a task bar (tray nullptr).
RECT GetMinimizeTarget(HWND tray, const RECT& start, HWND appWindow);
RECT GetMinimizeTarget(const RECT& start, HWND appWindow);
// The screen rectangle of the task-bar button standing for appWindow, read
// from the shell's tool bar (empty when it cannot be found: no tool bar, no
// access, unreadable or implausible records).
RECT FindTaskbarButtonRect(HWND tray, HWND appWindow);

}  // namespace kova::skin
