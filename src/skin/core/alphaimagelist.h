// An image list that keeps the PNG or icon files of its images and builds
// the platform image list from them, so that pictures with per-pixel alpha
// are drawn smoothly at any size; and the drawing of one glyph of any image
// list into a skinned control's bitmap.
//
// The items are not stored in form descriptions: the description reader
// has no syntax for collections, so a list that needs pictures is filled in
// code (the shared list of the skinning units from the program's
// resources).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics.h"
#include "skin/core/portable/alphaimages.h"
#include "skin/core/portable/png.h"

namespace kova::skin {

enum TsImageFormat { ifPNG = 0, ifICO = 1 };

// One image: the file's bytes and, for PNG files, the bitmap last made
// from them.
class TsImgListItem {
public:
    TsImageFormat ImageFormat = ifPNG;
    TPixelFormat PixelFormat = TPixelFormat::pf32bit;
    // The source size, filled when the images are generated.
    int OrigWidth = 0;
    int OrigHeight = 0;

    const std::vector<std::uint8_t>& ImgData() const { return source_.Bytes(); }
    void SetImgData(std::vector<std::uint8_t> bytes) { source_.SetBytes(std::move(bytes)); }
    // Format, pixel format and bytes (not the cache).
    void Assign(const TsImgListItem& other);
    TPngImageSource& Source() { return source_; }

private:
    TPngImageSource source_;
};

class TsImgListItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TsImgListItem& Add();
    TsImgListItem& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TsImgListItem& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    void Delete(int index);
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TsImgListItem>> items_;
};

class TsAlphaImageList : public TImageList {
    KOVA_CLASS(TsAlphaImageList, TImageList)
public:
    explicit TsAlphaImageList(TComponent* owner);

    TsImgListItems& Items() { return items_; }
    const TsImgListItems& Items() const { return items_; }

    // clNone: the platform list's own background colour.
    std::uint32_t BkColor() const { return bkColor_; }
    void SetBkColor(std::uint32_t colour);
    // Whether the item files are kept once the images are made (true at
    // creation); without them images are drawn from the platform list.
    bool StoreSources() const { return storeSources_; }
    void SetStoreSources(bool keep) { storeSources_ = keep; }
    bool Generated() const { return generated_; }

    // Another alpha image list's options, size, colour and images; other
    // sources are refused (false), nullptr empties the list.
    bool Assign(const TPersistent* source) override;
    void Loaded() override;

    // Clears the platform list and makes one image from each item.
    void GenerateImages();
    // Same-size platform images are redone when items outnumber them, and
    // images without alpha get it from the key colour (after the list was
    // changed from outside, through the inherited Add).
    void Change();
    void BeginUpdate() { ++updating_; }
    void EndUpdate(bool notify = true);

    // A new 32-bit bitmap of the image at Width x Height (empty for an index
    // outside the list). Kept PNG items answer from their cache when the
    // size was asked last time.
    Bitmap32 GetBitmap32(int index, int width, int height);
    // Draws the image at (X, Y) of the canvas in the list's size: kept PNG
    // images with per-pixel alpha over what the canvas shows (Style and
    // Enabled are not used for them), others as the platform list's
    // transparent image. Nothing for an index outside the list.
    void DrawImage(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled);

private:
    bool KeptPng(int index) const;
    void CopyImagesFrom(TsAlphaImageList& source);

    TsImgListItems items_;
    std::uint32_t bkColor_ = kClNone;
    bool storeSources_ = true;
    bool generated_ = false;
    int updating_ = 0;
};

// Draws glyph State of image Index of a strip of NumGlyphs glyphs into dest
// at (X, Y): an alpha image list's picture is blended by its alpha (less
// Transparency percent, in grey when Grayed); another list's image is drawn
// with the list's own drawing over the area it covers. Size receives the
// glyph's size. A NumGlyphs below 1 draws the whole image as one glyph.
// Nothing is drawn for an index outside the list.
void DrawImageListGlyph(TImageList* imageList, Bitmap32& dest, int x, int y, int numGlyphs, int state, int index,
                        int transparency, bool grayed, TSize& size);

// The colour depth of the screen.
int ScreenBitsPerPixel();

}  // namespace kova::skin
