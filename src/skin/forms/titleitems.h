// What an application gives a skinned caption through its provider: an
// icon picture in place of the form's icon, extra caption buttons, and a
// second caption text with its own font. Data and change notifications
// here; measuring, painting and the buttons' mouse handling belong to the
// provider's caption painting.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/hints.h"

namespace kova::skin {

class TsSkinProvider;

// The icon shown in the caption: Glyph (empty: the form's own icon) at
// Width x Height (0: the size the caption height gives, TitleIconSizeFor).
class TsTitleIcon : public TPersistent {
    KOVA_CLASS_PROPS(TsTitleIcon, TPersistent)
public:
    TsTitleIcon();
    TBitmap* Glyph() { return glyph_.get(); }
    void SetGlyph(const TBitmap* value) { glyph_->Assign(value); }
    int Height = 0;
    int Width = 0;

private:
    static void DefineProps(TPropList& L);
    std::unique_ptr<TBitmap> glyph_;
};

class TsTitleButtons;

// One extra caption button.
class TsTitleButton : public TPersistent {
    KOVA_CLASS_PROPS(TsTitleButton, TPersistent)
public:
    explicit TsTitleButton(TsTitleButtons* collection = nullptr);
    ~TsTitleButton() override;

    bool UseSkinData = true;
    const std::string& Name() const { return name_; }
    void SetName(const std::string& value);
    // The item's display name.
    const std::string& DisplayName() const { return name_; }
    TBitmap* Glyph() { return glyph_.get(); }
    // Copies the picture; any change of the glyph drops the cached image.
    void SetGlyph(const TBitmap* value);
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseDown;
    bool Enabled = true;
    std::string Hint;
    bool Visible() const { return visible_; }
    // A change repaints the provider's non-client area at once.
    void SetVisible(bool value);

    // Copies everything but Visible from another title button; false for
    // anything else (nothing copied).
    bool Assign(const TPersistent* source) override;

    // Run-time state the caption painter and the mouse handling keep:
    // 0 normal, 1 hot, 2 pressed; the skin image's mask index (-1: none);
    // the rectangle in cache coordinates; the cached image (any object the
    // painter keeps) and the hint window (shown while the mouse is over
    // the button).
    int State = 0;
    int ImageIndex = -1;
    RECT Rect{};
    std::unique_ptr<TObject> CachedImage;
    std::unique_ptr<TObject> Glow;
    THintWindow* HintWindow = nullptr;
    // Shows Hint (nothing when empty) beside the cursor; hides and frees it.
    void ShowHint();
    void HideHint();

    TsTitleButtons* Collection() const { return collection_; }

private:
    friend class TsTitleButtons;
    static void DefineProps(TPropList& L);
    TsTitleButtons* collection_ = nullptr;
    std::string name_;
    std::unique_ptr<TBitmap> glyph_;
    bool visible_ = true;
};

// The provider's extra caption buttons, in order.
class TsTitleButtons : public TPersistent {
    KOVA_CLASS_PROPS(TsTitleButtons, TPersistent)
public:
    explicit TsTitleButtons(TsSkinProvider* provider);
    ~TsTitleButtons() override;

    TsSkinProvider* Provider() const { return provider_; }
    // The owner the class library asks for: the provider.
    TsSkinProvider* GetOwner() const { return provider_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TsTitleButton* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TsTitleButton* Add();
    void Delete(int index);
    void Clear();
    // The items become copies of the other collection's.
    bool Assign(const TPersistent* source) override;
    // Replaces the items by `count` new ones, filled in order (a form
    // description's items); when filling throws the items stay as they were.
    void Read(std::size_t count, const TPropInfo::TFillItem& fill);

private:
    static void DefineProps(TPropList& L);
    TsSkinProvider* provider_;
    std::vector<std::unique_ptr<TsTitleButton>> items_;
};

// A second caption text. ShowMainCaption False hides the form's own text.
// Font starts without a colour (the skin's caption colour paints it).
class TacAddedTitle : public TPersistent {
    KOVA_CLASS_PROPS(TacAddedTitle, TPersistent)
public:
    explicit TacAddedTitle(TsSkinProvider* owner);
    ~TacAddedTitle() override;

    bool ShowMainCaption() const { return showMainCaption_; }
    void SetShowMainCaption(bool value);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    TFont* Font() { return font_.get(); }
    // Copied; always counts as a change.
    void SetFont(const TFont* value);
    TsSkinProvider* Provider() const { return provider_; }

private:
    static void DefineProps(TPropList& L);
    // Repaints the provider's non-client area unless it is loading.
    void Changed();
    bool showMainCaption_ = true;
    std::string text_;
    std::unique_ptr<TFont> font_;
    TsSkinProvider* provider_;
};

// The icon size a caption of that height shows (TsTitleIcon with 0 sizes).
int TitleIconSizeFor(int captionHeight);

}  // namespace kova::skin
