#include "framework/graphics.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "framework/portable/bmpfile.h"

namespace kova {

COLORREF ColorToRGB(TColor c) {
    if (IsSysColor(c)) return GetSysColor(c & 0xFF);
    if (c == clNone || c == clDefault) return 0;
    return static_cast<COLORREF>(c) & 0xFFFFFF;
}

namespace {
int ScreenPPI() {
    static int ppi = [] {
        TWindowDC screen(nullptr);
        int v = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return v > 0 ? v : 96;
    }();
    return ppi;
}
}  // namespace

// --- font -----------------------------------------------------------------

TFont::TFont() : ppi_(ScreenPPI()) { height_ = -MulDiv(8, ppi_, 72); }

// A changed font, pen or brush is made anew on its next use. The old handle
// may still be selected into a canvas's DC or set on a window, and the
// system does not delete a selected object: it lives until the owner has
// been told (and has taken the new handle).
void TFont::Renew() {
    TGdiObject<HFONT> old = std::move(handle_);
    Changed();
}

void TFont::DefineProps(TPropList& L) {
    L.For<TFont>()
        .String("Name", &TFont::Name, &TFont::SetName)
        .Int("Size", &TFont::Size, &TFont::SetSize)
        .Int("Height", &TFont::Height, &TFont::SetHeight)
        .Color("Color", &TFont::Color, &TFont::SetColor)
        .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style, &TFont::SetStyle);
}

bool TFont::Assign(const TPersistent* source) {
    auto* f = dynamic_cast<const TFont*>(source);
    if (!f) return false;
    if (f == this) return true;
    name_ = f->name_;
    height_ = f->height_;
    color_ = f->color_;
    style_ = f->style_;
    Renew();
    return true;
}

void TFont::SetName(const std::string& v) {
    if (v == name_ || v.empty()) return;
    name_ = v;
    Renew();
}
int TFont::Size() const { return -MulDiv(height_, 72, ppi_); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ppi_, 72)); }
void TFont::SetHeight(int v) {
    if (v == height_) return;
    height_ = v;
    Renew();
}
void TFont::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Changed();
}
void TFont::SetStyle(TFontStyles s) {
    if (s == style_) return;
    style_ = s;
    Renew();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectA(&lf));
    }
    return handle_.Get();
}

void TFont::SetHandle(HFONT f) {
    LOGFONTA lf{};
    if (!f || !GetObjectA(f, sizeof lf, &lf)) return;
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    style_ = (lf.lfWeight >= FW_BOLD ? TFontStyles{fsBold} : 0u) | (lf.lfItalic ? TFontStyles{fsItalic} : 0u) |
             (lf.lfUnderline ? TFontStyles{fsUnderline} : 0u) | (lf.lfStrikeOut ? TFontStyles{fsStrikeOut} : 0u);
    Renew();
}

// --- pen and brush --------------------------------------------------------

void TPen::Renew() {
    TGdiObject<HPEN> old = std::move(handle_);
    Changed();
}
void TPen::DefineProps(TPropList& L) {
    L.For<TPen>()
        .Color("Color", &TPen::Color, &TPen::SetColor)
        .Int("Width", &TPen::Width, &TPen::SetWidth)
        .Enum("Style", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"},
              &TPen::Style, &TPen::SetStyle);
}
bool TPen::Assign(const TPersistent* source) {
    auto* p = dynamic_cast<const TPen*>(source);
    if (!p) return false;
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    Renew();
    return true;
}
void TPen::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    Renew();
}
void TPen::SetWidth(int w) {
    if (w == width_) return;
    width_ = w < 0 ? 0 : w;
    Renew();
}
void TPen::SetStyle(TPenStyle s) {
    if (s == style_) return;
    style_ = s;
    Renew();
}
HPEN TPen::Handle() {
    if (!handle_) {
        static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(kStyles[style_], width_, ColorToRGB(color_)));
    }
    return handle_.Get();
}

void TBrush::Renew() {
    TGdiObject<HBRUSH> old = std::move(handle_);
    Changed();
}
void TBrush::DefineProps(TPropList& L) {
    L.For<TBrush>()
        .Color("Color", &TBrush::Color, &TBrush::SetColor)
        .Enum("Style", {"bsSolid", "bsClear"}, &TBrush::Style, &TBrush::SetStyle);
}
bool TBrush::Assign(const TPersistent* source) {
    auto* b = dynamic_cast<const TBrush*>(source);
    if (!b) return false;
    color_ = b->color_;
    style_ = b->style_;
    Renew();
    return true;
}
void TBrush::SetColor(TColor c) {
    if (c == color_ && style_ == bsSolid) return;
    color_ = c;
    style_ = bsSolid;
    Renew();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (s == style_) return;
    style_ = s;
    Renew();
}
HBRUSH TBrush::Handle() {
    if (!handle_) {
        if (style_ == bsClear) {
            LOGBRUSH lb{BS_NULL, 0, 0};
            handle_.Reset(CreateBrushIndirect(&lb));
        } else {
            handle_.Reset(CreateSolidBrush(ColorToRGB(color_)));
        }
    }
    return handle_.Get();
}

// --- canvas ---------------------------------------------------------------

TCanvas::TCanvas() {
    // A changed tool is selected again before the next drawing call.
    pen_.OnChange = [this](TObject*) {
        if (dc_) RequirePen();
    };
    brush_.OnChange = [this](TObject*) {
        if (dc_) RequireBrush();
    };
    font_.OnChange = [this](TObject*) {
        if (dc_) RequireFont();
    };
}

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    if (!dc_) throw std::runtime_error("Canvas does not allow drawing");
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    Deselect();
    dc_ = dc;
    if (dc_) Select();
}

void TCanvas::Select() {
    penSel_ = TSelection(dc_, pen_.Handle());
    brushSel_ = TSelection(dc_, brush_.Handle());
    fontSel_ = TSelection(dc_, font_.Handle());
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::Deselect() {
    penSel_.Reset();
    brushSel_.Reset();
    fontSel_.Reset();
    dc_ = nullptr;
}

void TCanvas::RequirePen() { penSel_.Select(pen_.Handle()); }
void TCanvas::RequireBrush() {
    brushSel_.Select(brush_.Handle());
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}
void TCanvas::RequireFont() {
    fontSel_.Select(font_.Handle());
    SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }
void TCanvas::LineTo(int x, int y) { ::LineTo(Handle(), x, y); }
void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { ::Rectangle(Handle(), x1, y1, x2, y2); }
void TCanvas::FillRect(const RECT& r) { ::FillRect(Handle(), &r, brush_.Handle()); }
void TCanvas::FrameRect(const RECT& r) { ::FrameRect(Handle(), &r, brush_.Handle()); }
void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { ::Ellipse(Handle(), x1, y1, x2, y2); }
void TCanvas::TextOut(int x, int y, const std::string& text) {
    ::TextOutA(Handle(), x, y, text.c_str(), static_cast<int>(text.size()));
}
void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
    UINT opts = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
    ::ExtTextOutA(Handle(), x, y, opts, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}
SIZE TCanvas::TextExtent(const std::string& text) {
    SIZE s{0, 0};
    GetTextExtentPoint32A(Handle(), text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}
TColor TCanvas::Pixel(int x, int y) { return static_cast<TColor>(GetPixel(Handle(), x, y)); }
void TCanvas::SetPixel(int x, int y, TColor c) { ::SetPixel(Handle(), x, y, ColorToRGB(c)); }
void TCanvas::Draw(int x, int y, TGraphic* g) {
    if (!g || g->Empty()) return;
    RECT r{x, y, x + g->Width(), y + g->Height()};
    g->Draw(this, r);
}
void TCanvas::StretchDraw(const RECT& r, TGraphic* g) {
    if (g && !g->Empty()) g->Draw(this, r);
}
void TCanvas::CopyRect(const RECT& d, TCanvas* source, const RECT& s) {
    StretchBlt(Handle(), d.left, d.top, d.right - d.left, d.bottom - d.top, source->Handle(), s.left, s.top,
               s.right - s.left, s.bottom - s.top, SRCCOPY);
}

// --- graphic --------------------------------------------------------------

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}
void TGraphic::SaveToFile(const std::string& fileName) {
    TFileStream f(fileName, fmCreate);
    SaveToStream(f);
}

// --- bitmap ---------------------------------------------------------------

class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
    void Release() { SetHandle(nullptr); }

protected:
    void CreateHandle() override {
        HDC dc = owner_->CanvasDC();
        if (dc) SetHandle(dc);
    }

private:
    TBitmap* owner_;
};

void TBitmap::FreeDC() {
    if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->Release();
    bmpSel_.Reset();
    memDC_.Reset();
}

HDC TBitmap::CanvasDC() {
    if (!bmp_) return nullptr;
    if (!memDC_) {
        memDC_ = TMemoryDC(nullptr);
        bmpSel_ = TSelection(memDC_.Get(), bmp_.Get());
    }
    return memDC_.Get();
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
    return canvas_.get();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == width_ && height == height_) return;
    TGdiObject<HBITMAP> nb;
    void* nbits = nullptr;
    if (width > 0 && height > 0) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        nb.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &nbits, nullptr, 0));
        if (!nb) throw EInvalidGraphic("Out of system resources creating a bitmap");
        GdiFlush();
        std::memset(nbits, 0, static_cast<size_t>(width) * height * 4);
        if (bits_) {
            GdiFlush();
            int w = std::min(width, width_), h = std::min(height, height_);
            for (int y = 0; y < h; ++y)
                std::memcpy(static_cast<std::uint8_t*>(nbits) + static_cast<size_t>(y) * width * 4,
                            static_cast<std::uint8_t*>(bits_) + static_cast<size_t>(y) * width_ * 4,
                            static_cast<size_t>(w) * 4);
        }
    }
    bool hadCanvas = canvas_ && canvas_->HandleAllocated();
    FreeDC();
    bmp_ = std::move(nb);
    bits_ = nbits;
    width_ = bmp_ ? width : 0;
    height_ = bmp_ ? height : 0;
    view_ = bits_ ? PixelBuffer32::View(bits_, width_, height_, static_cast<std::ptrdiff_t>(width_) * 4) : PixelBuffer32();
    if (hadCanvas && bmp_) Canvas()->Handle();
    Changed();
}

PixelBuffer32& TBitmap::Pixels() {
    GdiFlush();
    return view_;
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
    if (f == pixelFormat_) return;
    pixelFormat_ = f;
    Changed();
}

bool TBitmap::Assign(const TPersistent* source) {
    auto* b = dynamic_cast<const TBitmap*>(source);
    if (!b) return false;
    if (b == this) return true;
    SetSize(0, 0);
    SetSize(b->width_, b->height_);
    pixelFormat_ = b->pixelFormat_;
    if (bits_) {
        GdiFlush();
        std::memcpy(bits_, b->bits_, static_cast<size_t>(width_) * height_ * 4);
    }
    Changed();
    return true;
}

void TBitmap::Draw(TCanvas* canvas, const RECT& d) {
    HDC src = CanvasDC();
    if (!src) return;
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    StretchBlt(canvas->Handle(), d.left, d.top, d.right - d.left, d.bottom - d.top, src, 0, 0, width_, height_,
               SRCCOPY);
}

void TBitmap::LoadFromStream(TStream& s) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(s.Remaining(), 0)));
    if (!bytes.empty()) s.ReadBuffer(bytes.data(), bytes.size());
    TBmpImage image;
    try {
        image = ReadBmp(bytes.data(), bytes.size());
    } catch (const EBmpFormat& e) {
        throw EInvalidGraphic(e.what());
    }
    SetSize(0, 0);
    SetSize(image.Pixels.Width(), image.Pixels.Height());
    PixelBuffer32& px = Pixels();
    for (int y = 0; y < px.Height(); ++y)
        std::memcpy(px.ScanLine(y), image.Pixels.ScanLine(y), static_cast<std::size_t>(px.Width()) * 4);
    // A 32-bit file whose alpha bytes are all 0 was written without alpha.
    bool alpha = false;
    if (image.BitsPerPixel == 32)
        for (int y = 0; y < px.Height() && !alpha; ++y)
            for (int x = 0; x < px.Width() && !alpha; ++x) alpha = (px.At(x, y) >> 24) != 0;
    pixelFormat_ = alpha ? pf32bit : pf24bit;
    Changed();
}

void TBitmap::SaveToStream(TStream& s) {
    const std::vector<std::uint8_t> bytes = WriteBmp(Pixels(), true);
    s.WriteBuffer(bytes.data(), bytes.size());
}

// --- icon -----------------------------------------------------------------

void TIcon::SetHandle(HICON icon) {
    icon_.Reset(icon);
    data_.clear();
    Changed();
}
bool TIcon::Assign(const TPersistent* source) {
    auto* i = dynamic_cast<const TIcon*>(source);
    if (!i) return false;
    if (i == this) return true;
    SetHandle(i->icon_ ? CopyIcon(i->icon_.Get()) : nullptr);
    data_ = i->data_;
    return true;
}
int TIcon::Width() const { return icon_ ? GetSystemMetrics(SM_CXICON) : 0; }
int TIcon::Height() const { return icon_ ? GetSystemMetrics(SM_CYICON) : 0; }
void TIcon::Draw(TCanvas* canvas, const RECT& d) {
    if (icon_) DrawIconEx(canvas->Handle(), d.left, d.top, icon_.Get(), d.right - d.left, d.bottom - d.top, 0, nullptr, DI_NORMAL);
}
void TIcon::LoadFromStream(TStream& s) {
    std::int64_t n = s.Size() - s.Position();
    if (n < 6 + 16 || n > (16 << 20)) throw EInvalidGraphic("Icon image is not valid");
    std::vector<std::uint8_t> d(static_cast<size_t>(n));
    s.ReadBuffer(d.data(), d.size());
    if (d[0] != 0 || d[1] != 0 || d[2] != 1 || d[3] != 0) throw EInvalidGraphic("Icon image is not valid");
    int count = d[4] | (d[5] << 8);
    if (count < 1 || 6 + count * 16 > n) throw EInvalidGraphic("Icon image is not valid");
    // The first entry; its image must lie inside the data.
    const std::uint8_t* e = &d[6];
    std::uint32_t size = e[8] | (e[9] << 8) | (e[10] << 16) | (static_cast<std::uint32_t>(e[11]) << 24);
    std::uint32_t off = e[12] | (e[13] << 8) | (e[14] << 16) | (static_cast<std::uint32_t>(e[15]) << 24);
    if (off >= d.size() || size > d.size() - off) throw EInvalidGraphic("Icon image is not valid");
    HICON ic = CreateIconFromResourceEx(&d[off], size, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
    if (!ic) throw EInvalidGraphic("Icon image is not valid");
    SetHandle(ic);
    data_ = std::move(d);
}
void TIcon::SaveToStream(TStream& s) {
    if (data_.empty()) throw EInvalidGraphic("Icon has no stored image");
    s.WriteBuffer(data_.data(), data_.size());
}
bool TIcon::LoadFromResourceName(HINSTANCE inst, const char* name) {
    HICON ic = static_cast<HICON>(LoadImageA(inst, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!ic) return false;
    SetHandle(ic);
    return true;
}

// --- picture --------------------------------------------------------------

TPicture::~TPicture() = default;

namespace {
std::vector<TPictureFormat>& Formats() {
    static std::vector<TPictureFormat> formats = [] {
        std::vector<TPictureFormat> f;
        f.push_back({"bmp", "Bitmaps", &TBitmap::StaticClass(),
                     [](const std::uint8_t* d, std::size_t n) { return n >= 2 && d[0] == 'B' && d[1] == 'M'; },
                     [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmap>()); }});
        f.push_back({"ico", "Icons", &TIcon::StaticClass(),
                     [](const std::uint8_t* d, std::size_t n) {
                         return n >= 4 && d[0] == 0 && d[1] == 0 && d[2] == 1 && d[3] == 0;
                     },
                     [] { return std::unique_ptr<TGraphic>(std::make_unique<TIcon>()); }});
        return f;
    }();
    return formats;
}
std::string LowerExtension(std::string e) {
    if (!e.empty() && e[0] == '.') e.erase(0, 1);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e;
}
}  // namespace

void TPicture::RegisterFileFormat(TPictureFormat format) {
    format.Extension = LowerExtension(format.Extension);
    for (TPictureFormat& f : Formats())
        if (f.Extension == format.Extension) {
            f = std::move(format);
            return;
        }
    Formats().push_back(std::move(format));
}
void TPicture::UnregisterGraphicClass(const TClassInfo& cls) {
    auto& f = Formats();
    f.erase(std::remove_if(f.begin(), f.end(), [&](const TPictureFormat& x) { return x.Class == &cls; }), f.end());
}
const TPictureFormat* TPicture::FormatOfExtension(const std::string& extension) {
    const std::string e = LowerExtension(extension);
    for (const TPictureFormat& f : Formats())
        if (f.Extension == e) return &f;
    return nullptr;
}
const TPictureFormat* TPicture::FormatOfData(const std::vector<std::uint8_t>& data) {
    for (const TPictureFormat& f : Formats())
        if (f.Matches && f.Matches(data.data(), data.size())) return &f;
    return nullptr;
}
const TPictureFormat* TPicture::FormatOfClass(const TClassInfo& cls) {
    for (const TPictureFormat& f : Formats())
        if (f.Class == &cls) return &f;
    return nullptr;
}

TBitmap* TPicture::Bitmap() {
    auto* b = dynamic_cast<TBitmap*>(graphic_.get());
    if (!b) {
        graphic_ = std::make_unique<TBitmap>();
        b = static_cast<TBitmap*>(graphic_.get());
        b->OnChange = [this](TObject*) { Changed(); };
    }
    return b;
}
void TPicture::SetGraphic(TGraphic* g) {
    if (!g) {
        graphic_.reset();
    } else {
        const TPictureFormat* f = FormatOfClass(g->ClassInfo());
        if (!f || !f->Create) throw EInvalidGraphic("Unknown picture class " + g->ClassName());
        std::unique_ptr<TGraphic> copy = f->Create();
        copy->Assign(g);
        graphic_ = std::move(copy);
    }
    if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}
bool TPicture::Assign(const TPersistent* source) {
    if (auto* p = dynamic_cast<const TPicture*>(source)) {
        SetGraphic(p->graphic_.get());
        return true;
    }
    if (auto* g = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(const_cast<TGraphic*>(g));
        return true;
    }
    return false;
}
void TPicture::LoadFromFile(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t slash = fileName.find_last_of("\\/");
    const std::string ext =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : fileName.substr(dot + 1);
    const TPictureFormat* f = FormatOfExtension(ext);
    if (!f || !f->Create) throw EInvalidGraphic("Unknown picture file extension (." + LowerExtension(ext) + ")");
    TMemoryStream m;
    m.LoadFromFile(fileName);
    std::unique_ptr<TGraphic> g = f->Create();
    g->LoadFromStream(m);
    graphic_ = std::move(g);
    graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}
void TPicture::LoadFromData(const std::vector<std::uint8_t>& data) {
    const TPictureFormat* f = FormatOfData(data);
    if (!f || !f->Create) throw EInvalidGraphic("Unknown picture file format");
    TMemoryStream m(data);
    std::unique_ptr<TGraphic> g = f->Create();
    g->LoadFromStream(m);
    graphic_ = std::move(g);
    graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

// --- image list -----------------------------------------------------------

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}
void TImageList::DefineProps(TPropList& L) {
    L.For<TImageList>()
        .Int("Width", &TImageList::Width, [](TImageList* l, int w) { l->SetSize(w, l->Height()); })
        .Int("Height", &TImageList::Height, [](TImageList* l, int h) { l->SetSize(l->Width(), h); });
}
void TImageList::SetSize(int w, int h) {
    if (w == width_ && h == height_) return;
    width_ = std::max(1, w);
    height_ = std::max(1, h);
    Clear();
}
HIMAGELIST TImageList::Handle() {
    if (!list_) list_.Reset(ImageList_Create(width_, height_, ILC_COLOR32, 4, 4));
    return list_.Get();
}
int TImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.Get()) : 0; }
int TImageList::Add(TBitmap* image) {
    if (!image || image->Empty()) return -1;
    TBitmap copy;
    copy.Assign(image);
    HBITMAP bmp = copy.Handle();
    return ImageList_Add(Handle(), bmp, nullptr);
}
int TImageList::AddIcon(TIcon* icon) {
    if (!icon || !icon->Handle()) return -1;
    return ImageList_AddIcon(Handle(), icon->Handle());
}
void TImageList::Delete(int index) {
    if (list_) ImageList_Remove(list_.Get(), index);
}
void TImageList::Clear() { list_.Reset(); }
void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!list_ || index < 0 || index >= Count()) return;
    ImageList_DrawEx(list_.Get(), index, canvas->Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE,
                     enabled ? ILD_NORMAL : ILD_BLEND50);
}

}  // namespace kova
