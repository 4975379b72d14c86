// Image hint templates: four alpha pictures (one per corner of the hint at
// the cursor), each with nine-slice border widths, client margins and the
// way each edge is drawn, and a font. Templates live in a collection whose
// owner is told of every change. The pictures are kept premultiplied by
// their alpha, done once when a picture is set.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/portable/htmltext.h"
#include "skin/core/portable/skintypes.h"

namespace kova::skin {

enum TacBorderDrawMode { dmRepeat = 0, dmStretch = 1 };

class TacHintImage;
class TacHintTemplate;

// Top, Left, Bottom, Right (indexes 0..3). Setting one keeps it and its
// opposite inside the owner's picture.
class TacBordersSizes {
public:
    explicit TacBordersSizes(TacHintImage* owner) : owner_(owner) {}
    // A negative stored value reads as 0.
    int Get(int index) const;
    void Set(int index, int value);
    int Top() const { return Get(0); }
    int Left() const { return Get(1); }
    int Bottom() const { return Get(2); }
    int Right() const { return Get(3); }
    void SetTop(int v) { Set(0, v); }
    void SetLeft(int v) { Set(1, v); }
    void SetBottom(int v) { Set(2, v); }
    void SetRight(int v) { Set(3, v); }
    void Assign(const TacBordersSizes& source);

private:
    friend class TacHintImage;
    std::array<int, 4> values_{};
    TacHintImage* owner_;
};

// Top, Left, Bottom, Right, Center (indexes 0..4), all dmStretch at first.
class TacBorderDrawModes {
public:
    explicit TacBorderDrawModes(TacHintImage* owner) : owner_(owner) {}
    TacBorderDrawMode Get(int index) const { return index >= 0 && index < 5 ? modes_[index] : dmStretch; }
    void Set(int index, TacBorderDrawMode mode);
    void Assign(const TacBorderDrawModes& source);

private:
    std::array<TacBorderDrawMode, 5> modes_{dmStretch, dmStretch, dmStretch, dmStretch, dmStretch};
    TacHintImage* owner_;
};

class TacHintImage {
public:
    explicit TacHintImage(TacHintTemplate* owner) : owner_(owner) {}
    TacHintImage(const TacHintImage&) = delete;
    TacHintImage& operator=(const TacHintImage&) = delete;

    // A picture with straight alpha: premultiplied here, the borders and
    // margins fitted to its middle, the owner told.
    void SetImage(const PixelBuffer32& straight);
    // Reads a PNG picture (an empty or unreadable one leaves no picture).
    void LoadPng(const std::vector<std::uint8_t>& bytes);
    // The premultiplied picture.
    const PixelBuffer32& Image() const { return image_; }
    int ImageWidth() const { return image_.Empty() ? 0 : image_.Width(); }
    int ImageHeight() const { return image_.Empty() ? 0 : image_.Height(); }

    TacBordersSizes& BordersWidths() { return borders_; }
    const TacBordersSizes& BordersWidths() const { return borders_; }
    TacBordersSizes& ClientMargins() { return margins_; }
    const TacBordersSizes& ClientMargins() const { return margins_; }
    TacBorderDrawModes& BorderDrawModes() { return modes_; }
    const TacBorderDrawModes& BorderDrawModes() const { return modes_; }

    // Copies the picture as it is (already premultiplied: never a second
    // time), the margins, the draw modes and the borders.
    void Assign(const TacHintImage& source);

private:
    friend class TacBordersSizes;
    friend class TacBorderDrawModes;
    void Changed();

    TacHintTemplate* owner_;
    TacBordersSizes borders_{this};
    TacBordersSizes margins_{this};
    TacBorderDrawModes modes_{this};
    PixelBuffer32 image_;
};

// The collection of templates and its owner's change event.
class TacHintTemplates {
public:
    TacHintTemplate& Add();
    int Count() const { return static_cast<int>(items_.size()); }
    TacHintTemplate& operator[](int i) { return *items_.at(static_cast<std::size_t>(i)); }
    // The owner component: told of changes unless it is loading.
    std::function<void()> OnChange;
    bool Loading = false;

private:
    std::vector<std::unique_ptr<TacHintTemplate>> items_;
};

class TacHintTemplate {
public:
    // collection: the owner to tell, or none (the default template).
    explicit TacHintTemplate(TacHintTemplates* collection = nullptr) : collection_(collection) {}
    TacHintTemplate(const TacHintTemplate&) = delete;
    TacHintTemplate& operator=(const TacHintTemplate&) = delete;

    // 0 the default position (cursor at the left top), then left bottom,
    // right bottom, right top.
    TacHintImage& Image(int index) { return *images_.at(static_cast<std::size_t>(index)); }
    TacHintImage& ImageDefault() { return Image(0); }
    TacHintImage& ImgLeftBottom() { return Image(1); }
    TacHintImage& ImgRightBottom() { return Image(2); }
    TacHintImage& ImgRightTop() { return Image(3); }
    void SetImage(int index, const TacHintImage& source) { Image(index).Assign(source); }

    const THtmlFont& Font() const { return font_; }
    void SetFont(const THtmlFont& f);
    std::string Name;

    // The four pictures, the font and the name.
    void Assign(const TacHintTemplate& source);
    TacHintTemplates* Collection() const { return collection_; }

private:
    friend class TacHintImage;
    void Changed();

    TacHintTemplates* collection_;
    std::array<std::unique_ptr<TacHintImage>, 4> images_{
        std::make_unique<TacHintImage>(this), std::make_unique<TacHintImage>(this),
        std::make_unique<TacHintImage>(this), std::make_unique<TacHintImage>(this)};
    THtmlFont font_;
};

// The default template from our built-in picture (a 32 x 32 PNG): border
// widths Left 7, Top 7, Right 15, Bottom 15, client margins Left 11, Top 7,
// Right 15, Bottom 14, every edge stretched.
std::unique_ptr<TacHintTemplate> MakeDefaultHintTemplate(const std::vector<std::uint8_t>& png);

}  // namespace kova::skin
