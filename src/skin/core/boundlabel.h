// The caption a skinned control can show beside itself, and the label that
// shows it.
#pragma once

#include <cstdint>
#include <string>

#include "framework/graphics.h"
#include "framework/stdctrls.h"
#include "skin/core/commondata.h"
#include "skin/core/portable/skinrecord.h"

namespace kova::skin {

class TsBoundLabel;

// The label a bound label shows beside its control. Skinning its look comes
// with the skinned controls; it keeps the one setting they need.
class TsEditLabel : public TLabel {
    KOVA_CLASS(TsEditLabel, TLabel)
public:
    TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel);
    // Tells its bound label it is gone (it is the parent's child and may
    // be freed with the parent before the control that holds the bound label).
    ~TsEditLabel() override;
    TsBoundLabel* BoundLabel = nullptr;
    bool UseSkinColor = true;
};

// A caption a skinned control can show beside itself. It lives no longer
// than its control (the control holds it), which owns the label.
class TsBoundLabel : public TPersistent {
    KOVA_CLASS(TsBoundLabel, TPersistent)
public:
    explicit TsBoundLabel(TsCommonData* owner);
    ~TsBoundLabel() override;
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;

    std::int32_t MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(std::int32_t value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TsCaptionLayout Layout() const { return layout_; }
    void SetLayout(TsCaptionLayout value);
    TFont* Font();
    void SetFont(TFont* value);
    std::int32_t Indent() const { return indent_; }
    void SetIndent(std::int32_t value);
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool UseSkinColor() const { return label_ ? label_->UseSkinColor : true; }
    void SetUseSkinColor(bool value);
    TsEditLabel* Label() const { return label_; }

    // Puts the label beside the control by Layout.
    void PlaceLabel();

private:
    friend class TsEditLabel;
    TControl* BoundControl() const;
    // Frees the label unless it is already gone.
    void FreeLabel();
    std::int32_t maxWidth_ = 0;
    std::string caption_;
    TsCaptionLayout layout_ = sclLeft;
    TFont font_;
    std::int32_t indent_ = 0;
    bool active_ = false;
    TsEditLabel* label_ = nullptr;
    TsCommonData* owner_ = nullptr;
};

}  // namespace kova::skin
