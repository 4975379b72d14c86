// GDI wrappers: font, pen, brush, canvas, the 32-bit bitmap (a DIB section
// whose bits are viewed through PixelBuffer32), icon, picture and image
// list. Every GDI handle is owned by one object and released by it, through
// the guards of handles.h.
#pragma once

#include "framework/handles.h"
#include "framework/portable/colors.h"
#include "framework/portable/component.h"
#include "framework/portable/pixelbuffer.h"
#include "framework/portable/streams.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kova {

// The colour as an RGB value (system colours resolved).
COLORREF ColorToRGB(TColor c);

enum TFontStyle : std::uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint32_t;

// Base of the drawing tools: tells its owner when it changed.
class TGraphicsObject : public TPersistent {
    KOVA_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
};

class TFont : public TGraphicsObject {
    KOVA_CLASS_PROPS(TFont, TGraphicsObject)
public:
    TFont();
    bool Assign(const TPersistent* source) override;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    // Size in points; Height in pixels (negative: character height).
    int Size() const;
    void SetSize(int points);
    int Height() const { return height_; }
    void SetHeight(int v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    int PixelsPerInch() const { return ppi_; }
    // Created on first use; remade after a change.
    HFONT Handle();
    // Takes the description of a font handle (the handle stays the caller's).
    void SetHandle(HFONT f);

private:
    static void DefineProps(TPropList& L);
    void Renew();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int ppi_ = 96;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    TGdiObject<HFONT> handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TGraphicsObject {
    KOVA_CLASS_PROPS(TPen, TGraphicsObject)
public:
    bool Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    HPEN Handle();

private:
    static void DefineProps(TPropList& L);
    void Renew();
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TGdiObject<HPEN> handle_;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
    KOVA_CLASS_PROPS(TBrush, TGraphicsObject)
public:
    bool Assign(const TPersistent* source) override;
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    HBRUSH Handle();

private:
    static void DefineProps(TPropList& L);
    void Renew();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TGdiObject<HBRUSH> handle_;
};

// Drawing on a device context. The canvas selects its pen, brush and font
// into the DC while it holds it and restores the DC's originals when the
// DC is released.
class TCanvas : public TPersistent {
    KOVA_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle();
    // Lends a DC to the canvas (nullptr to return it). The caller owns it.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() { return &font_; }
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Ellipse(int x1, int y1, int x2, int y2);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& r, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);
    void Draw(int x, int y, class TGraphic* g);
    void StretchDraw(const RECT& r, class TGraphic* g);
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& src);

protected:
    // Subclasses create a DC on demand (bitmap canvas, control canvas).
    virtual void CreateHandle() {}
    void Select();
    void Deselect();
    HDC dc_ = nullptr;

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    TFont font_;
    TPen pen_;
    TBrush brush_;
    // After the tools: the DC lets go of them before they are deleted.
    TSelection penSel_, brushSel_, fontSel_;
};

// Lends a DC to a canvas for a scope (a paint handler's): the canvas gives
// it back, with the DC's own pen, brush and font selected again, however
// the scope ends.
class TCanvasLease {
public:
    TCanvasLease(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~TCanvasLease() { canvas_.SetHandle(nullptr); }
    TCanvasLease(const TCanvasLease&) = delete;
    TCanvasLease& operator=(const TCanvasLease&) = delete;

private:
    TCanvas& canvas_;
};

class TGraphic : public TPersistent {
    KOVA_CLASS(TGraphic, TPersistent)
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual void Draw(TCanvas* canvas, const RECT& dest) = 0;
    virtual void LoadFromStream(TStream& s) = 0;
    virtual void SaveToStream(TStream& s) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    TNotifyEvent OnChange;

protected:
    void Changed() {
        if (OnChange) OnChange(this);
    }
};

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether a bitmap's alpha bytes mean anything: pf32bit pictures are
// drawn with their alpha, pf24bit ones are opaque.
enum TPixelFormat { pf24bit, pf32bit };

// A 32-bit top-down DIB section. Pixels are blue, green, red, alpha.
class TBitmap : public TGraphic {
    KOVA_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    bool Assign(const TPersistent* source) override;

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }
    // Keeps the overlapping pixels; new pixels are 0.
    void SetSize(int width, int height);
    HBITMAP Handle() const { return bmp_.Get(); }
    // pf24bit until set, or until a file with an alpha channel is loaded.
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat f);
    // The pixels of the DIB section (GdiFlush first when GDI drew on it).
    PixelBuffer32& Pixels();
    std::uint32_t* ScanLine(int y) { return Pixels().ScanLine(y); }
    TCanvas* Canvas();

    void Draw(TCanvas* canvas, const RECT& dest) override;
    // The rest of the stream as a BMP file (the formats of ReadBmp,
    // framework/portable/bmpfile.h); EInvalidGraphic otherwise.
    void LoadFromStream(TStream& s) override;
    // Writes a 32-bit BMP file.
    void SaveToStream(TStream& s) override;

private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;
    HDC CanvasDC();
    void FreeDC();
    // Destroyed bottom up: the canvas lets go of the DC, the DC of the
    // bitmap, then the DC and the bitmap go.
    TGdiObject<HBITMAP> bmp_;
    void* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    TPixelFormat pixelFormat_ = pf24bit;
    PixelBuffer32 view_;
    TMemoryDC memDC_;
    TSelection bmpSel_;
    std::unique_ptr<TCanvas> canvas_;
};

class TIcon : public TGraphic {
    KOVA_CLASS(TIcon, TGraphic)
public:
    bool Assign(const TPersistent* source) override;
    int Width() const override;
    int Height() const override;
    void Draw(TCanvas* canvas, const RECT& dest) override;
    void LoadFromStream(TStream& s) override;
    void SaveToStream(TStream& s) override;
    HICON Handle() const { return icon_.Get(); }
    // Takes ownership of the icon handle.
    void SetHandle(HICON icon);
    // Loads an icon resource of the module (nothing when it is missing).
    bool LoadFromResourceName(HINSTANCE inst, const char* name);

private:
    TIconHandle icon_;
    std::vector<std::uint8_t> data_;
};

// A picture file format: the graphic class that reads it, its file
// extension (lower case, no dot) and a test of a file's first bytes.
struct TPictureFormat {
    std::string Extension;
    std::string Description;
    const TClassInfo* Class = nullptr;
    std::function<bool(const std::uint8_t* data, std::size_t size)> Matches;
    std::function<std::unique_ptr<TGraphic>()> Create;
};

// Holds one graphic for a TImage. Which graphic classes it can hold and
// read is the list of registered formats: bitmaps ("bmp") and icons ("ico")
// are built in; other units register theirs once at start.
class TPicture : public TPersistent {
    KOVA_CLASS(TPicture, TPersistent)
public:
    ~TPicture() override;
    TGraphic* Graphic() const { return graphic_.get(); }
    TBitmap* Bitmap();  // makes the picture a bitmap when it is not one
    // Copies g into a new graphic of its class (a class that is not
    // registered raises EInvalidGraphic); nullptr empties the picture.
    void SetGraphic(TGraphic* g);
    bool Assign(const TPersistent* source) override;
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // The format of the file's extension reads it; an extension no format
    // registered raises EInvalidGraphic.
    void LoadFromFile(const std::string& fileName);
    // Stored data, in the first registered format whose signature it has.
    void LoadFromData(const std::vector<std::uint8_t>& data);

    // Adds a format, or replaces the one of the same extension. Formats of
    // one class may have several extensions ("jpg", "jpeg").
    static void RegisterFileFormat(TPictureFormat format);
    // Removes every format of the class.
    static void UnregisterGraphicClass(const TClassInfo& cls);
    static const TPictureFormat* FormatOfExtension(const std::string& extension);
    static const TPictureFormat* FormatOfData(const std::vector<std::uint8_t>& data);
    static const TPictureFormat* FormatOfClass(const TClassInfo& cls);
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    std::unique_ptr<TGraphic> graphic_;
};

class TImageList : public TComponent {
    KOVA_CLASS_PROPS(TImageList, TComponent)
public:
    explicit TImageList(TComponent* owner);
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int w, int h);
    int Count() const;
    // 32-bit images with alpha; returns the index.
    int Add(TBitmap* image);
    int AddIcon(TIcon* icon);
    void Delete(int index);
    void Clear();
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    HIMAGELIST Handle();

private:
    static void DefineProps(TPropList& L);
    int width_ = 16, height_ = 16;
    TImageListHandle list_;
};

}  // namespace kova
