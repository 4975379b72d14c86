#include "skin/core/alphaimagelist.h"

#include <algorithm>
#include <exception>

#include "framework/handles.h"
#include "framework/portable/streams.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/pngicons.h"
#include "skin/core/sysutils.h"

namespace kova::skin {

namespace {

// The 32-bit pixels of a bitmap handle, top-down, at its own size.
Bitmap32 ReadBitmapBits(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth < 1 || info.bmHeight < 1) return {};
    Bitmap32 out(info.bmWidth, info.bmHeight);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    TWindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), out.Line0(), &bi, DIB_RGB_COLORS) == 0)
        return {};
    return out;
}

bool HasAlpha(const Bitmap32& b) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.At(x, y) >> 24) return true;
    return false;
}

// An icon's picture with alpha: its own, or else from its mask (black
// opaque), or else from its colours.
Bitmap32 IconPixels(HICON icon) {
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return {};
    TGdiObject<HBITMAP> colour(ii.hbmColor), mask(ii.hbmMask);
    Bitmap32 pixels = ReadBitmapBits(colour.Get());
    if (pixels.Empty() || HasAlpha(pixels)) return pixels;
    const Bitmap32 maskBits = ReadBitmapBits(mask.Get());
    if (maskBits.Width() == pixels.Width() && maskBits.Height() >= pixels.Height()) {
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                if ((maskBits.At(x, y) & 0xFFFFFF) == 0) pixels.At(x, y) |= 0xFF000000u;
    }
    if (!HasAlpha(pixels)) MakeAlphaFromColours(pixels);
    return pixels;
}

}  // namespace

void TsImgListItem::Assign(const TsImgListItem& other) {
    ImageFormat = other.ImageFormat;
    PixelFormat = other.PixelFormat;
    SetImgData(other.ImgData());
}

TsImgListItem& TsImgListItems::Add() {
    items_.push_back(std::make_unique<TsImgListItem>());
    return *items_.back();
}

void TsImgListItems::Delete(int index) {
    if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

TsAlphaImageList::TsAlphaImageList(TComponent* owner) : TImageList(owner) {}

void TsAlphaImageList::SetBkColor(std::uint32_t colour) {
    bkColor_ = colour;
    ImageList_SetBkColor(Handle(), colour == kClNone ? CLR_NONE : ColorToRGB(colour));
}

bool TsAlphaImageList::Assign(const TPersistent* source) {
    if (source == this) return true;
    if (!source) {
        Clear();
        items_.Clear();
        generated_ = false;
        return true;
    }
    auto* other = dynamic_cast<const TsAlphaImageList*>(source);
    if (!other) return TImageList::Assign(source);
    auto& from = const_cast<TsAlphaImageList&>(*other);
    SetSize(from.Width(), from.Height());
    Clear();  // the platform list is made anew, of the new size
    bkColor_ = from.bkColor_;
    ImageList_SetBkColor(Handle(), bkColor_ == kClNone ? CLR_NONE : ColorToRGB(bkColor_));
    CopyImagesFrom(from);
    return true;
}

void TsAlphaImageList::CopyImagesFrom(TsAlphaImageList& source) {
    if (storeSources_ && source.items_.Count() > 0) {
        items_.Clear();
        for (int i = 0; i < source.items_.Count(); ++i) items_.Add().Assign(source.items_[i]);
        GenerateImages();
        return;
    }
    // The source kept no files: its platform images are taken as they are.
    Clear();
    items_.Clear();
    for (int i = 0; i < source.Count(); ++i) {
        TIconHandle icon(ImageList_GetIcon(source.Handle(), i, ILD_TRANSPARENT));
        if (icon) ImageList_AddIcon(Handle(), icon.Get());
    }
}

void TsAlphaImageList::Loaded() {
    TImageList::Loaded();
    Handle();
    if (!generated_) GenerateImages();
}

void TsAlphaImageList::GenerateImages() {
    BeginUpdate();
    Clear();
    HIMAGELIST list = Handle();
    for (int i = 0; i < items_.Count(); ++i) {
        TsImgListItem& item = items_[i];
        TIconHandle icon;
        try {
            TMemoryStream in(item.ImgData());
            if (item.ImageFormat == ifPNG) {
                TPNGGraphic png;
                png.LoadFromStream(in);
                item.OrigWidth = png.Width();
                item.OrigHeight = png.Height();
                icon = IsWindowsXPOrLater() ? MakeAlphaIcon(png, bkColor_) : MakeMaskIcon(png, false);
            } else {
                TIcon ico;
                ico.LoadFromStream(in);
                icon.Reset(CopyIcon(ico.Handle()));
                // The file's own size (the icon is made at it).
                const Bitmap32 pixels = IconPixels(icon.Get());
                item.OrigWidth = pixels.Width();
                item.OrigHeight = pixels.Height();
            }
        } catch (const std::exception&) {
            // A damaged file leaves an empty place, so that indexes still
            // match the items.
            icon.Reset();
        }
        if (!icon || ImageList_AddIcon(list, icon.Get()) < 0) {
            Bitmap32 empty;
            TGdiObject<HBITMAP> blank = CreateDib32(Width(), Height(), empty);
            ImageList_Add(list, blank.Get(), nullptr);
        }
    }
    if (items_.Count() > 0) {
        generated_ = true;
        if (!storeSources_) items_.Clear();
    }
    EndUpdate(false);
}

void TsAlphaImageList::EndUpdate(bool notify) {
    if (updating_ > 0) --updating_;
    if (notify && updating_ == 0) Change();
}

void TsAlphaImageList::Change() {
    if (updating_ > 0 || IsLoading()) return;
    if (storeSources_ && Count() < items_.Count()) {
        GenerateImages();
        return;
    }
    if (storeSources_) return;
    // Images added from outside without alpha: opaque except the key colour.
    for (int i = 0; i < Count(); ++i) {
        TIconHandle icon(ImageList_GetIcon(Handle(), i, ILD_NORMAL));
        ICONINFO ii{};
        if (!icon || !GetIconInfo(icon.Get(), &ii)) continue;
        TGdiObject<HBITMAP> colour(ii.hbmColor), mask(ii.hbmMask);
        Bitmap32 pixels = ReadBitmapBits(colour.Get());
        if (!MakeAlphaFromKeyColour(pixels, clFuchsia)) continue;
        Bitmap32 view;
        TGdiObject<HBITMAP> withAlpha = CreateDib32(pixels.Width(), pixels.Height(), view);
        if (!withAlpha) continue;
        for (int y = 0; y < pixels.Height(); ++y)
            std::copy_n(pixels.ScanLine(y), pixels.Width(), view.ScanLine(y));
        ImageList_Replace(Handle(), i, withAlpha.Get(), nullptr);
    }
}

bool TsAlphaImageList::KeptPng(int index) const {
    return storeSources_ && index >= 0 && index < items_.Count() && items_[index].ImageFormat == ifPNG &&
           !items_[index].ImgData().empty();
}

Bitmap32 TsAlphaImageList::GetBitmap32(int index, int width, int height) {
    if (index < 0 || width < 1 || height < 1) return {};
    if (KeptPng(index)) {
        Bitmap32 b = items_[index].Source().Bitmap(width, height);
        if (!b.Empty()) return b;
    }
    if (index >= Count()) return {};
    TIconHandle icon(ImageList_GetIcon(Handle(), index, ILD_TRANSPARENT));
    Bitmap32 pixels = IconPixels(icon.Get());
    if (pixels.Empty()) return {};
    return ResizeWithAlpha(pixels, width, height);
}

void TsAlphaImageList::DrawImage(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled) {
    if (!canvas || index < 0) return;
    if (KeptPng(index)) {
        const Bitmap32 image = GetBitmap32(index, Width(), Height());
        if (!image.Empty()) {
            const HDC dc = canvas->Handle();
            const RECT area{x, y, x + image.Width(), y + image.Height()};
            Bitmap32 under = ReadDCToBuffer(dc, area);
            CopyAlphaBitmap(Rect(0, 0, image.Width(), image.Height()), TPoint{}, under, &image, TsParentImageInfo{},
                            false, clNone, 0, false);
            CopyBufferToDC(dc, x, y, under, RECT{0, 0, under.Width(), under.Height()});
            return;
        }
    }
    if (index >= Count()) return;
    ImageList_DrawEx(Handle(), index, canvas->Handle(), x, y, Width(), Height(), CLR_NONE, CLR_NONE,
                     (style ? style : ILD_TRANSPARENT) | (enabled ? 0 : ILD_BLEND50));
}

void DrawImageListGlyph(TImageList* imageList, Bitmap32& dest, int x, int y, int numGlyphs, int state, int index,
                        int transparency, bool grayed, TSize& size) {
    if (!imageList) return;
    const TGlyphPart part = GlyphPart(imageList->Width(), imageList->Height(), numGlyphs, state);
    size = part.Size;
    if (index < 0 || part.Size.cx < 1 || part.Size.cy < 1) return;
    const TRect to = Rect(x, y, x + part.Size.cx, y + part.Size.cy);
    if (auto* alpha = dynamic_cast<TsAlphaImageList*>(imageList)) {
        const Bitmap32 image = alpha->GetBitmap32(index, alpha->Width(), alpha->Height());
        if (image.Empty()) return;
        CopyAlphaBitmap(to, TPoint{part.Source.Left, part.Source.Top}, dest, &image, TsParentImageInfo{}, false,
                        clNone, transparency, grayed);
        return;
    }
    if (index >= imageList->Count()) return;
    // The list draws itself onto a copy of the area under the glyph.
    Bitmap32 work;
    TGdiObject<HBITMAP> dib = CreateDib32(imageList->Width(), imageList->Height(), work);
    if (!dib) return;
    for (int j = 0; j < part.Size.cy; ++j)
        for (int i = 0; i < part.Size.cx; ++i) {
            const int dx = x + i, dy = y + j;
            if (dx >= 0 && dy >= 0 && dx < dest.Width() && dy < dest.Height())
                work.At(part.Source.Left + i, j) = dest.At(dx, dy);
        }
    {
        TMemoryDC memory(nullptr);
        TSelection selected(memory.Get(), dib.Get());
        ImageList_DrawEx(imageList->Handle(), index, memory.Get(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                         ILD_TRANSPARENT | (grayed ? ILD_BLEND50 : 0));
        GdiFlush();
    }
    for (int j = 0; j < part.Size.cy; ++j)
        for (int i = 0; i < part.Size.cx; ++i) {
            const int dx = x + i, dy = y + j;
            if (dx >= 0 && dy >= 0 && dx < dest.Width() && dy < dest.Height())
                dest.At(dx, dy) = (dest.At(dx, dy) & 0xFF000000u) | (work.At(part.Source.Left + i, j) & 0xFFFFFFu);
        }
}

int ScreenBitsPerPixel() {
    TWindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}

}  // namespace kova::skin
