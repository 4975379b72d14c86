// Skinned labels: window-less labels that take their text colour from the
// skin (the section painting under them, else GLOBALINFO), may paint a skin
// section behind their text and draw a disabled text blended into the
// background; the effects label adds a blurred drop shadow, the web label
// opens a web or mail address.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/stdctrls.h"
#include "skin/controls/portable/labelshadow.h"
#include "skin/core/boundlabel.h"

namespace kova::skin {

class TsCustomLabel : public TLabel {
    KOVA_CLASS(TsCustomLabel, TLabel)
public:
    explicit TsCustomLabel(TComponent* owner);
    const std::string& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::string& value);
    std::function<void(TObject*)> OnMouseEnter, OnMouseLeave;
    // The font painting uses, its colour from the skin.
    virtual TFont* GetPaintFont();

protected:
    void Paint() override;
    void DrawLabelText(RECT& r, UINT flags) override;
    void HandleMessage(TMessage& m) override;
    // The section painting under the label, -1 outside painting.
    int SectionIndex = -1;
    // The label's text as DrawText takes it (a blank for an empty text
    // being measured).
    std::string PaintText(UINT flags) const;

private:
    std::string skinSection_;
};

class TsLabel : public TsCustomLabel {
    KOVA_CLASS(TsLabel, TsCustomLabel)
public:
    explicit TsLabel(TComponent* owner);
    bool UseSkinColor = true;
    TFont* GetPaintFont() override;

protected:
    void HandleMessage(TMessage& m) override;
};

enum TsShadowMode { smNone, smCustom, smSkin1 };
enum TsKindType { ktStandard, ktCustom, ktSkin };

class TsLabelFX;
class TsShadow : public TPersistent {
    KOVA_CLASS(TsShadow, TPersistent)
public:
    explicit TsShadow(TsLabelFX* owner) : owner_(owner) {}
    int BlurCount() const { return blurCount_; }
    void SetBlurCount(int v);
    int Distance() const { return distance_; }
    void SetDistance(int v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TsShadowMode Mode() const { return mode_; }
    void SetMode(TsShadowMode v);

private:
    void Changed();
    TsLabelFX* owner_;
    int blurCount_ = 4;
    int distance_ = 1;
    TColor color_ = 0;
    TsShadowMode mode_ = smSkin1;
};

class TsKind : public TPersistent {
    KOVA_CLASS(TsKind, TPersistent)
public:
    explicit TsKind(TsLabelFX* owner) : owner_(owner) {}
    TsKindType KindType() const { return kindType_; }
    void SetKindType(TsKindType v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);

private:
    TsLabelFX* owner_;
    TsKindType kindType_ = ktSkin;
    TColor color_ = clWhite;
};

class TsLabelFX : public TsCustomLabel {
    KOVA_CLASS(TsLabelFX, TsCustomLabel)
public:
    explicit TsLabelFX(TComponent* owner);
    TsShadow* Shadow() { return &shadow_; }
    TsKind* Kind() { return &kind_; }
    // The shadow's reach past the text, as last painted or measured.
    TShadowMargins Margins() const { return margins_; }

protected:
    void DrawLabelText(RECT& r, UINT flags) override;

private:
    TsShadow shadow_{this};
    TsKind kind_{this};
    TShadowMargins margins_;
    TShadowPlane plane_;
    bool rebuild_ = true;
};

class TsWebLabel : public TsLabel {
    KOVA_CLASS(TsWebLabel, TsLabel)
public:
    explicit TsWebLabel(TComponent* owner);
    std::string URL;
    int ShowMode = SW_SHOWDEFAULT;
    TFont* NormalFont() { return &normalFont_; }
    TFont* HoverFont() { return &hoverFont_; }
    void SetNormalFont(const TFont& f);
    TFont* GetPaintFont() override;
    bool Hovered() const { return hovered_; }
    // What a click opens through the shell; replaceable for tests.
    std::function<void(const std::string& url, int showMode)> Open;
    // The font a form description gave the label becomes its normal font.
    void Loaded() override;

protected:
    // Besides hovering and clicks: with ParentFont, a change of the
    // parent's font becomes the normal font, and the hover font takes its
    // name and size.
    void HandleMessage(TMessage& m) override;

private:
    TFont normalFont_, hoverFont_;
    bool hovered_ = false;
};

// The label a skinned control's bound label shows beside it: a skinned
// label (the skin's font colour, its disabled look) tied to its bound label.
class TsEditLabel : public TsLabel, public TBoundLabelLink {
    KOVA_CLASS(TsEditLabel, TsLabel)
public:
    TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel);
    bool LinkUseSkinColor() const override { return UseSkinColor; }
    void SetLinkUseSkinColor(bool value) override;
};

// Bound labels made from now on are TsEditLabels (the skinned controls that
// hold a bound label call it before they make one).
void UseSkinnedEditLabels();

// A plain label on a skinned form: transparent, in the skin's GLOBALINFO
// font colour. Nothing for a skinned label; in the components pass nothing
// for a label with Tag 98 either.
void AdaptPlainLabel(TLabel* label, bool componentsPass);

}  // namespace kova::skin
