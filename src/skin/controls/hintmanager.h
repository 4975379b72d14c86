// The hint manager: a component that puts its own hint windows in place of
// the application's (plain rectangles, comic bubbles, ellipses with a tail
// and thought balloons, with margins, bevel, gradient, transparency, a soft
// shadow and optional mini-HTML text), shown as per-pixel alpha pictures in
// layered windows and faded in. The application's show-hint handler stays:
// the manager's handler runs after it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/graphics.h"
#include "framework/hints.h"
#include "skin/controls/portable/hinttemplates.h"
#include "skin/controls/portable/hintshapes.h"

namespace kova::skin {

enum TsHintsPredefinitions {
    shSimply = 0, shGradient = 1, shTransparent = 2, shEllipse = 3, shBalloon = 4, shComicsGradient = 5,
    shComicsTransparent = 6, shStandard = 7, shNone = 8, shCustom = 9
};

// (HintStr, CanShow, HintInfo, Frame): a control handed back in Frame is
// shown in the next hint instead of the text and freed once painted; one
// handed back for a hint that is not shown is freed at once.
using TacShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& info, TWinControl*& frame)>;

class TsHintManager;

class TsHintKind : public TPersistent {
    KOVA_CLASS_PROPS(TsHintKind, TPersistent)
public:
    explicit TsHintKind(TsHintManager* owner);
    TsHintStyle Style() const { return style_; }
    // Stores and applies the style (the manager's window class).
    void SetStyle(TsHintStyle s);

    int Radius = 20;
    int BevelWidth = 1;
    int ExOffset = 32;
    int MarginH = 15, MarginV = 10;
    int MaxWidth = 200;
    TColor Color = 0xE1FFFF;
    TColor ColorBorderTop = 0xFFFFFF, ColorBorderBottom = 0x808080;
    int Transparency = 0;
    int GradientPercent = 0;
    std::string GradientData;
    int TexturePercent = 0;
    // Tiled over the background when TexturePercent is 1 or more.
    Bitmap32 Texture;
    int Bevel = 1;
    int ShadowBlur = 0, ShadowOffset = 0, ShadowTransparency = 0;
    TFont Font;

    bool ShadowEnabled() const;
    void SetShadowEnabled(bool v) { shadowEnabled_ = v; }
    // The shadow offset the sizes count with (0 without a shadow).
    int ShadowRoom() const { return ShadowEnabled() ? std::max(ShadowOffset, 0) : 0; }

private:
    static void DefineProps(TPropList& L);
    TsHintManager* owner_;
    TsHintStyle style_ = hsEllipse;
    bool shadowEnabled_ = false;
};

class TsHintManager : public TComponent {
    KOVA_CLASS_PROPS(TsHintManager, TComponent)
public:
    explicit TsHintManager(TComponent* AOwner);
    ~TsHintManager() override;
    void AfterConstruction();
    void Loaded() override;

    bool HTMLMode = false;
    TsHintsPredefinitions Predefinitions = shEllipse;
    int PauseHide() const { return pauseHide_; }
    void SetPauseHide(int ms);
    TacShowHintEvent OnShowHint;
    TsHintKind& HintKind() { return kind_; }
    TsMousePosition DefaultMousePos = mpLeftTop;
    bool Animated = true;
    std::string SkinSection = "HINT";
    bool UseSkinData() const { return useSkinData_; }
    void SetUseSkinData(bool v);

    // The hint point the show-hint hook stored ((-1, -1): none).
    POINT LastHintPos{-1, -1};
    // The work surface: measuring, the shadow, the screen under the hint.
    TBitmap HintBitmap;

    void ApplyStyle(TsHintStyle style);
    void ApplyPredefinitions();
    // Hints painted from the skin's section: this manager is the current
    // one, UseSkinData is set and the default skin manager's skin has the
    // section.
    bool SkinnedHints() const;

    // The frame waiting for the next hint, taken by the hint that shows it.
    TWinControl* TakePendingFrame();
    bool HasPendingFrame() const { return pendingFrame_ != nullptr; }

private:
    static void DefineProps(TPropList& L);
    void ShowHintHook(std::string& hintStr, bool& canShow, THintInfo& info);
    void FreePendingFrame();

    TsHintKind kind_{this};
    int pauseHide_ = 5000;
    bool useSkinData_ = false;
    TShowHintEvent chained_;
    TWinControl* pendingFrame_ = nullptr;
};

// The screen's hint font (the system's status font).
void AssignScreenHintFont(TFont& font);

// Makes TsHintManager known to form descriptions.
void RegisterHintManagerClass();

// The manager whose style is in use (nullptr: none).
TsHintManager* CurrentHintManager();

// The hint windows of the four styles: one class, the style told apart.
class TsCustomHintWindow : public THintWindow {
    KOVA_CLASS(TsCustomHintWindow, THintWindow)
public:
    TsCustomHintWindow(TComponent* AOwner, TsHintStyle style);
    ~TsCustomHintWindow() override;

    RECT CalcHintRect(int maxWidth, const std::string& hint) override;
    void ActivateHint(RECT r, const std::string& hint) override;
    virtual POINT GetHintOrigin();

    TsHintStyle Style() const { return style_; }
    TsMousePosition MousePos() const { return mousePos_; }
    // Used only when both are non-zero.
    POINT PresetOrigin{0, 0};
    int ExtraW = 0, ExtraH = 0;

    // The picture of the hint before its alpha (background, text, border)
    // and the shape, at the window's size.
    Bitmap32 RenderHintImage(TsHintManager& m);
    THintGeometry Geometry(TsHintManager& m) const;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;
    void Paint() override;

private:
    // The skin's hint section, its border mask and texture (-1: none) and
    // the mask's border widths.
    struct TSkinParts {
        int Section = -1, Mask = -1, Texture = -1;
        TRect Borders;
    };
    TSkinParts SkinParts(TsHintManager& m) const;
    void PaintSkinnedImage(TsHintManager& m, Bitmap32& image);
    // White outside the hint, black inside: the skin item's key-colour
    // pixels or the style's shape.
    Bitmap32 ShapeMask(TsHintManager& m);
    // The skin's section has transparency 100 and a border mask: the
    // picture's own alpha is the hint's.
    bool SkinPictureOnly(TsHintManager& m) const;
    void PaintHintBackground(TsHintManager& m, Bitmap32& image, TRect r);
    void PaintHintContent(TsHintManager& m, TBitmap& image);
    void PaintHintBorder(TsHintManager& m, Bitmap32& image, const Bitmap32& mask);
    Bitmap32 ComposeLayeredImage(TsHintManager& m);
    // Only skinned hints cut their window to the shape (of `mask`).
    void CutToShape(TsHintManager& m, const Bitmap32& mask);
    bool Animated() const;
    void PaintFrame(TBitmap& image, TWinControl* frame, TRect body);

    TsHintStyle style_;
    TsMousePosition mousePos_ = mpLeftTop;
    TWinControl* frame_ = nullptr;
    std::unique_ptr<TBitmap> screenCopy_;
    // The last hint picture, the background children of a frame ask for.
    Bitmap32 rendered_;
};

class TsSimplyHintWindow : public TsCustomHintWindow {
    KOVA_CLASS(TsSimplyHintWindow, TsCustomHintWindow)
public:
    explicit TsSimplyHintWindow(TComponent* AOwner) : TsCustomHintWindow(AOwner, hsSimply) {}
    // 16 pixels below the point, under the cursor.
    POINT GetHintOrigin() override;
};
class TsComicsHintWindow : public TsCustomHintWindow {
    KOVA_CLASS(TsComicsHintWindow, TsCustomHintWindow)
public:
    explicit TsComicsHintWindow(TComponent* AOwner) : TsCustomHintWindow(AOwner, hsComics) {}
};
class TsEllipseHintWindow : public TsCustomHintWindow {
    KOVA_CLASS(TsEllipseHintWindow, TsCustomHintWindow)
public:
    explicit TsEllipseHintWindow(TComponent* AOwner) : TsCustomHintWindow(AOwner, hsEllipse) {}
};
class TsBalloonHintWindow : public TsCustomHintWindow {
    KOVA_CLASS(TsBalloonHintWindow, TsCustomHintWindow)
public:
    explicit TsBalloonHintWindow(TComponent* AOwner) : TsCustomHintWindow(AOwner, hsBalloon) {}
};

// The default image hint template, from our built-in picture "ACHINT"
// (made on first use, freed at program end).
TacHintTemplate& DefaultHintTemplate();

}  // namespace kova::skin
