// The caption a skinned control can show beside itself, and the label that
// shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/graphics.h"
#include "framework/stdctrls.h"
#include "skin/core/commondata.h"
#include "skin/core/portable/skinrecord.h"

namespace kova::skin {

class TsBoundLabel;

// What ties the label a bound label shows to the bound label: the label
// tells it when it goes (it is its parent's child and may be freed with
// the parent before the control that holds the bound label), and keeps the
// one setting of its look the bound label passes on. The skinned label
// classes carry it beside their label class.
class TBoundLabelLink {
public:
    TBoundLabelLink() = default;
    virtual ~TBoundLabelLink();
    TBoundLabelLink(const TBoundLabelLink&) = delete;
    TBoundLabelLink& operator=(const TBoundLabelLink&) = delete;
    TsBoundLabel* BoundLabel = nullptr;
    virtual bool LinkUseSkinColor() const = 0;
    virtual void SetLinkUseSkinColor(bool value) = 0;
};

// Makes the label of a bound label on `owner` (a label class that is also a
// TBoundLabelLink). The skinned controls fill it with their skinned edit
// label; until then a plain label is made.
using TBoundLabelMaker = std::function<TLabel*(TControl* owner, TsBoundLabel* boundLabel)>;
TBoundLabelMaker& BoundLabelMaker();

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
    bool UseSkinColor() const { return link_ ? link_->LinkUseSkinColor() : useSkinColor_; }
    void SetUseSkinColor(bool value);
    // The label while active (made by BoundLabelMaker), else null.
    TLabel* Label() const { return label_; }

    // Puts the label beside the control by Layout.
    void PlaceLabel();

private:
    friend class TBoundLabelLink;
    TControl* BoundControl() const;
    // Frees the label unless it is already gone.
    void FreeLabel();
    std::int32_t maxWidth_ = 0;
    std::string caption_;
    TsCaptionLayout layout_ = sclLeft;
    TFont font_;
    std::int32_t indent_ = 0;
    bool active_ = false;
    TLabel* label_ = nullptr;
    TBoundLabelLink* link_ = nullptr;
    bool useSkinColor_ = true;
    TsCommonData* owner_ = nullptr;
};

}  // namespace kova::skin
