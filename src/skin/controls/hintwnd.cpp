// The hint windows of the hint manager: measured around their text, placed
// and flipped on the monitor, painted into a picture whose alpha gives the
// shape and the shadow, and shown in a layered window (faded in), or on a
// copy of the screen where layered windows are missing.
#include <algorithm>

#include "framework/handles.h"
#include "skin/controls/hintmanager.h"
#include "skin/controls/portable/htmltext.h"
#include "skin/core/animations.h"
#include "skin/core/model/skindata.h"
#include "skin/core/paint/portable/gradient.h"
#include "skin/core/portable/bitmaps.h"
#include "skin/core/portable/utils.h"
#include "skin/core/dc/dcroutines.h"
#include "skin/core/paint/portable/skinitem.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinstate.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"

namespace kova::skin {

namespace {

// Mini-HTML text on a device context, one font made per change of font.
class TDCHtmlCanvas : public THtmlCanvas {
public:
    explicit TDCHtmlCanvas(HDC dc) : dc_(dc) {}
    ~TDCHtmlCanvas() override {
        if (old_) SelectObject(dc_, old_);
    }
    TDCHtmlCanvas(const TDCHtmlCanvas&) = delete;
    TDCHtmlCanvas& operator=(const TDCHtmlCanvas&) = delete;

    TSize TextExtent(const THtmlFont& f, const std::string& text) override {
        Use(f);
        SIZE s{};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &s);
        return TSize{s.cx, s.cy};
    }
    void TextOut(const THtmlFont& f, int x, int y, const std::string& text) override {
        if (!Draw) return;
        Use(f);
        SetTextColor(dc_, f.Color);
        SetBkMode(dc_, TRANSPARENT);
        ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    bool Draw = true;

private:
    void Use(const THtmlFont& f) {
        if (font_.Get() && f == current_) return;
        LOGFONTA lf{};
        lf.lfHeight = -MulDiv(f.Size, GetDeviceCaps(dc_, LOGPIXELSY), 72);
        lf.lfWeight = f.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = f.Italic;
        lf.lfUnderline = f.Underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, f.Name.c_str(), LF_FACESIZE);
        TGdiObject<HFONT> made(CreateFontIndirectA(&lf));
        HGDIOBJ prev = SelectObject(dc_, made.Get());
        if (!old_) old_ = prev;
        font_ = std::move(made);
        current_ = f;
    }
    HDC dc_;
    HGDIOBJ old_ = nullptr;
    TGdiObject<HFONT> font_;
    THtmlFont current_;
};

THtmlFont HtmlFontOf(TFont& font, HDC dc) {
    THtmlFont f;
    f.Name = font.Name();
    const int h = font.Height();
    f.Size = h < 0 ? MulDiv(-h, 72, GetDeviceCaps(dc, LOGPIXELSY)) : std::max(font.Size(), 1);
    f.Color = kova::ColorToRGB(font.Color());
    f.Bold = (font.Style() & fsBold) != 0;
    f.Italic = (font.Style() & fsItalic) != 0;
    f.Underline = (font.Style() & fsUnderline) != 0;
    return f;
}

TRect ToRect(const RECT& r) { return Rect(r.left, r.top, r.right, r.bottom); }

RECT MonitorOf(POINT p) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcMonitor;
}

void FadePause() {
    if (const auto& out = AnimationOutput().Sleep)
        out(kHintFadeStepMs);
    else
        ::Sleep(kHintFadeStepMs);
}

// The percent of the shadow's strength: the hint's own transparency blended
// with the shadow's.
int ShadowStrength(const TsHintKind& k) {
    return BlendPercent(std::max(k.Transparency, 0), std::clamp(k.ShadowTransparency, 0, 100));
}

}  // namespace

TsCustomHintWindow::TsCustomHintWindow(TComponent* AOwner, TsHintStyle style) : THintWindow(AOwner), style_(style) {}

TsCustomHintWindow::~TsCustomHintWindow() {
    if (frame_) frame_->Free();
}

void TsCustomHintWindow::CreateParams(TCreateParams& p) {
    THintWindow::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_BORDER);
    p.ExStyle |= WS_EX_TRANSPARENT;
}

void TsCustomHintWindow::HandleMessage(TMessage& m) {
    if (IsSkinCommand(m) && SkinSubCode(m.WParam) == scQueryBgInfo && m.LParam) {
        // Children of a frame shown in the hint stand on its picture.
        auto* info = reinterpret_cast<TsBackgroundInfo*>(m.LParam);
        info->BgType = 2;
        info->Bmp = &rendered_;
        info->Offset = TPoint{0, 0};
        m.Result = 1;
        return;
    }
    switch (m.Msg) {
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            m.Result = 1;
            return;
        default:
            THintWindow::HandleMessage(m);
    }
}

POINT TsCustomHintWindow::GetHintOrigin() {
    TsHintManager* m = CurrentHintManager();
    if (m && m->LastHintPos.x != -1) return m->LastHintPos;
    POINT p{};
    GetCursorPos(&p);
    return p;
}

POINT TsSimplyHintWindow::GetHintOrigin() {
    POINT p = TsCustomHintWindow::GetHintOrigin();
    TsHintManager* m = CurrentHintManager();
    if (!m || !m->SkinnedHints()) p.y += 16;
    return p;
}

THintGeometry TsCustomHintWindow::Geometry(TsHintManager& m) const {
    THintGeometry g;
    g.Style = style_;
    g.Width = width_;
    g.Height = height_;
    g.ShadowOffset = m.HintKind().ShadowRoom();
    g.Radius = m.HintKind().Radius;
    g.ExOffset = m.HintKind().ExOffset;
    g.MousePos = mousePos_;
    return g;
}

TsCustomHintWindow::TSkinParts TsCustomHintWindow::SkinParts(TsHintManager& m) const {
    TSkinParts parts;
    if (!m.SkinnedHints()) return parts;
    TsSkinModel& model = DefaultManager->Model();
    std::string name = m.SkinSection;
    parts.Section = model.IndexOfSection(name);
    if (parts.Section < 0) {
        name = "EDIT";
        parts.Section = model.IndexOfSection(name);
    }
    parts.Mask = model.IndexOfMaskExact(name, "BORDERSMASK");
    parts.Texture = model.IndexOfTexture(parts.Section, name, "PATTERN");
    if (model.MaskIndexValid(parts.Mask))
        parts.Borders = Rect(model.MaskMarginLeft(parts.Mask), model.MaskMarginTop(parts.Mask),
                             model.MaskMarginRight(parts.Mask), model.MaskMarginBottom(parts.Mask));
    return parts;
}

bool TsCustomHintWindow::SkinPictureOnly(TsHintManager& m) const {
    const TSkinParts parts = SkinParts(m);
    if (parts.Section < 0 || parts.Mask < 0) return false;
    return DefaultManager->Model().Sections()[static_cast<std::size_t>(parts.Section)].Transparency == 100;
}

void TsCustomHintWindow::PaintSkinnedImage(TsHintManager& m, Bitmap32& image) {
    const TSkinParts parts = SkinParts(m);
    TsParentImageInfo bg;
    if (screenCopy_ && screenCopy_->Width() == image.Width() && screenCopy_->Height() == image.Height()) {
        bg.Bmp = &screenCopy_->Pixels();
        bg.Ready = true;
    }
    PaintSkinItemSimple(image, DefaultManager->Model(), parts.Section, parts.Mask, parts.Texture, -1, bg, 0,
                        Rect(0, 0, image.Width(), image.Height()), TPoint{0, 0});
}

Bitmap32 TsCustomHintWindow::ShapeMask(TsHintManager& m) {
    const THintGeometry g = Geometry(m);
    if (!m.SkinnedHints()) return MakeHintShapeMask(g);
    Bitmap32 item(std::max(g.Width, 0), std::max(g.Height, 0));
    item.Fill(0xFFFF00FFu);
    PaintSkinnedImage(m, item);
    for (int y = 0; y < item.Height(); ++y)
        for (int x = 0; x < item.Width(); ++x)
            item.At(x, y) = IsKeyColour(item.At(x, y)) ? 0xFFFFFFFFu : 0xFF000000u;
    return item;
}

RECT TsCustomHintWindow::CalcHintRect(int, const std::string& hint) {
    TsHintManager* m = CurrentHintManager();
    if (!m) return THintWindow::CalcHintRect(200, hint);
    TsHintKind& k = m->HintKind();
    ExtraW = ExtraH = 0;
    if (m->HasPendingFrame()) {
        TWinControl* f = m->TakePendingFrame();
        if (frame_) frame_->Free();
        frame_ = f;
        return RECT{0, 0, f->Width() + k.ShadowRoom(), f->Height() + k.ShadowRoom()};
    }
    TBitmap& work = m->HintBitmap;
    if (work.Width() < 1 || work.Height() < 1) work.SetSize(1, 1);
    TCanvas* c = work.Canvas();
    const bool skinned = m->SkinnedHints();
    TFont font;
    font.Assign(&k.Font);
    if (skinned) AssignScreenHintFont(font);
    c->Font()->Assign(&font);
    RECT r{0, 0, std::max(k.MaxWidth, 1), 0};
    if (m->HTMLMode) {
        TDCHtmlCanvas canvas(c->Handle());
        canvas.Draw = false;
        TsHtml html;
        html.Init(canvas, HtmlFontOf(font, c->Handle()), hint, ToRect(r));
        TRect out;
        html.Render(out);
        r = RECT{0, 0, out.Right, out.Bottom};
    } else {
        DrawTextA(c->Handle(), hint.c_str(), static_cast<int>(hint.size()), &r,
                  DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER | DT_VCENTER);
    }
    if (skinned) {
        // The skin's borders and 4 pixels each side around the text.
        const TRect b = SkinParts(*m).Borders;
        int w = r.right - r.left, h = r.bottom - r.top;
        if (style_ == hsEllipse || style_ == hsBalloon) w = std::max(w, kMinRoundHintWidth);
        return RECT{0, 0, w + b.Left + b.Right + 8, h + b.Top + b.Bottom + 8};
    }
    const THintFrameSize s = MeasureHintFrame(style_, TSize{r.right - r.left, r.bottom - r.top}, k.MarginH,
                                              k.MarginV, k.BevelWidth, k.ShadowRoom(), k.ExOffset);
    ExtraW = s.ExtraW;
    ExtraH = s.ExtraH;
    return RECT{0, 0, s.Width, s.Height};
}

void TsCustomHintWindow::PaintHintBackground(TsHintManager& m, Bitmap32& image, TRect r) {
    TsHintKind& k = m.HintKind();
    TsGradArray gradient;
    if (k.GradientPercent > 0) {
        gradient = ParseGradient(k.GradientData);
        if (gradient.empty()) k.GradientPercent = 0;
    }
    const bool textured = k.TexturePercent >= 1 && !k.Texture.Empty();
    if (textured)
        TileImage(image, r, k.Texture);
    else
        FillRect32(image, r, k.Color);
    if (k.GradientPercent > 0) {
        if (textured) {
            Bitmap32 temp(r.Right - r.Left, r.Bottom - r.Top);
            PaintGradient(temp, Rect(0, 0, temp.Width(), temp.Height()), gradient);
            MixBitmapRects(image, temp, ClampToByte(k.GradientPercent * 256 / 100),
                           Rect(0, 0, temp.Width(), temp.Height()), TPoint{r.Left, r.Top});
        } else {
            PaintGradient(image, r, gradient);
        }
    }
    const int p = k.GradientPercent + k.TexturePercent;
    if (p >= 1 && p <= 99)
        TintRect(image, r, p, k.Color);
    else if (p > 100 || p == 0)
        FillRect32(image, r, k.Color);
}

void TsCustomHintWindow::PaintFrame(TBitmap& image, TWinControl* frame, TRect body) {
    frame->SetVisible(false);
    frame->SetParent(this);
    frame->SetBounds(body.Left, body.Top, frame->Width(), frame->Height());
    TBitmap shot(frame->Width(), frame->Height());
    SendMessageA(frame->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()),
                 PRF_CLIENT | PRF_CHILDREN | PRF_NONCLIENT | PRF_ERASEBKGND);
    BitBlt(image.Canvas()->Handle(), body.Left, body.Top, shot.Width(), shot.Height(), shot.Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

void TsCustomHintWindow::PaintHintContent(TsHintManager& m, TBitmap& image) {
    TsHintKind& k = m.HintKind();
    TRect r = HintBodyRect(Geometry(m));
    if (frame_) {
        TWinControl* f = frame_;
        frame_ = nullptr;
        PaintFrame(image, f, r);
        // Painted once: the frame goes.
        f->Free();
        return;
    }
    TFont font;
    font.Assign(&k.Font);
    UINT flags = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    if (m.SkinnedHints()) {
        const TSkinParts parts = SkinParts(m);
        const TRect b = parts.Borders;
        r = Rect(b.Left + 4, b.Top + 4, width_ - b.Right - 4, height_ - b.Bottom - 4);
        AssignScreenHintFont(font);
        font.SetColor(static_cast<kova::TColor>(
            DefaultManager->Model().Sections()[static_cast<std::size_t>(parts.Section)].FontColors[0]));
        flags = DT_CENTER | DT_WORDBREAK | DT_NOCLIP;
    } else {
        const int dx = k.MarginH + k.BevelWidth + ExtraW / 2, dy = k.MarginV + k.BevelWidth + ExtraH / 2;
        r = Rect(r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy);
    }
    TCanvas* c = image.Canvas();
    c->Font()->Assign(&font);
    HDC dc = c->Handle();
    SetBkMode(dc, TRANSPARENT);
    const std::string text = Caption();
    if (m.HTMLMode) {
        TDCHtmlCanvas canvas(dc);
        TsHtml html;
        html.Init(canvas, HtmlFontOf(font, dc), text, r);
        TRect out;
        html.Render(out);
    } else {
        SetTextColor(dc, kova::ColorToRGB(font.Color()));
        RECT rr{r.Left, r.Top, r.Right, r.Bottom};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rr, flags);
    }
    GdiFlush();
}

void TsCustomHintWindow::PaintHintBorder(TsHintManager& m, Bitmap32& image, const Bitmap32& mask) {
    TsHintKind& k = m.HintKind();
    if (k.BevelWidth <= 0) return;
    if (style_ == hsSimply) {
        const TRect b = HintBodyRect(Geometry(m));
        const int bw = k.BevelWidth;
        FillRect32(image, Rect(b.Left, b.Top, b.Right, b.Top + bw), k.ColorBorderTop);
        FillRect32(image, Rect(b.Left, b.Top, b.Left + bw, b.Bottom), k.ColorBorderTop);
        FillRect32(image, Rect(b.Left, b.Bottom - bw, b.Right, b.Bottom), k.ColorBorderBottom);
        FillRect32(image, Rect(b.Right - bw, b.Top + bw, b.Right, b.Bottom), k.ColorBorderBottom);
        return;
    }
    PaintHintOutline(image, mask, k.ColorBorderTop, k.ColorBorderBottom);
}

Bitmap32 TsCustomHintWindow::RenderHintImage(TsHintManager& m) {
    TsHintKind& k = m.HintKind();
    const THintGeometry g = Geometry(m);
    TBitmap image(std::max(g.Width, 1), std::max(g.Height, 1));
    if (m.SkinnedHints()) {
        PaintSkinnedImage(m, image.Pixels());
        PaintHintContent(m, image);
        rendered_ = image.Pixels().Clone();
        return image.Pixels().Clone();
    }
    PaintHintBackground(m, image.Pixels(), Rect(0, 0, g.Width - g.ShadowOffset, g.Height - g.ShadowOffset));
    PaintHintContent(m, image);
    const std::uint8_t ink =
        LayeredWindowsAvailable() ? 0 : ClampToByte(255 - 2 * std::clamp(k.Transparency, 0, 100) * 255 / 100);
    const Bitmap32 mask = MakeHintShapeMask(g, ink);
    Bitmap32 px = image.Pixels().Clone();
    PaintHintBorder(m, px, mask);
    rendered_ = px.Clone();
    return px;
}

void TsCustomHintWindow::CutToShape(TsHintManager& m, const Bitmap32& mask) {
    if (!m.SkinnedHints()) return;
    TGdiObject<HRGN> region = MakeRegionFromBitmap(mask, 0xFFFFFF);
    if (SetWindowRgn(Handle(), region.Get(), TRUE)) (void)region.Release();
}

Bitmap32 TsCustomHintWindow::ComposeLayeredImage(TsHintManager& m) {
    const THintGeometry g = Geometry(m);
    const Bitmap32 image = RenderHintImage(m);
    if (SkinPictureOnly(m)) return image;
    const Bitmap32 mask = ShapeMask(m);
    CutToShape(m, mask);
    Bitmap32 shadow(g.Width, g.Height);
    shadow.Fill(0xFFFFFFFFu);
    if (m.HintKind().ShadowEnabled()) PaintHintShadow(shadow, g, ShadowStrength(m.HintKind()), m.HintKind().ShadowBlur);
    return ComposeHintPicture(image, mask, shadow);
}

void TsCustomHintWindow::ActivateHint(RECT r, const std::string& hint) {
    TsHintManager* m = CurrentHintManager();
    if (!m || m->HintKind().Style() == hsNone) {
        if (frame_) frame_->Free();
        frame_ = nullptr;
        return;
    }
    TsHintKind& k = m->HintKind();
    HWND wnd = Handle();
    const bool wasVisible = IsWindowVisible(wnd) != FALSE;
    // The system's drop shadow only under a skinned hint that has no alpha
    // picture of its own.
    const ULONG_PTR cls = GetClassLongPtrA(wnd, GCL_STYLE);
    const bool dropShadow = m->SkinnedHints() && LayeredWindowsAvailable() && !SkinPictureOnly(*m);
    const ULONG_PTR want = dropShadow ? (cls | CS_DROPSHADOW) : (cls & ~static_cast<ULONG_PTR>(CS_DROPSHADOW));
    if (want != cls) SetClassLongPtrA(wnd, GCL_STYLE, want);
    SetCaption(hint);
    POINT p = (PresetOrigin.x != 0 && PresetOrigin.y != 0) ? PresetOrigin : GetHintOrigin();
    const int w = r.right - r.left, h = r.bottom - r.top;
    POINT corner = p;
    if (IsBottomPosition(m->DefaultMousePos)) corner.y -= h;
    if (IsRightPosition(m->DefaultMousePos)) corner.x -= w;
    const THintPlacement place = PlaceHint(TPoint{p.x, p.y}, w, h, m->DefaultMousePos, style_, ToRect(MonitorOf(corner)));
    mousePos_ = place.MousePos;
    const TRect b = place.Bounds;
    StoreBounds(b.Left, b.Top, w, h);
    m->HintBitmap.SetSize(std::max(w, 1), std::max(h, 1));
    if (LayeredWindowsAvailable()) {
        SetWindowPos(wnd, HWND_TOPMOST, b.Left, b.Top, w, h, SWP_NOACTIVATE);
        const Bitmap32 body = ComposeLayeredImage(*m);
        TBitmap picture(std::max(w, 1), std::max(h, 1));
        for (int y = 0; y < body.Height(); ++y)
            std::copy_n(body.ScanLine(y), body.Width(), picture.Pixels().ScanLine(y));
        POINT pos{b.Left, b.Top};
        if (Animated() && !wasVisible) {
            UpdateLayeredBitmap(wnd, &picture, 0, &pos);
            ShowWindow(wnd, SW_SHOWNOACTIVATE);
            RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE);
            for (std::uint8_t alpha : HintFadeAlphas(k.Transparency)) {
                if (!IsWindow(wnd) || IsDestroying()) break;
                UpdateLayeredBitmap(wnd, &picture, alpha, &pos);
                FadePause();
            }
        } else {
            UpdateLayeredBitmap(wnd, &picture, HintAlpha(k.Transparency), &pos);
            ShowWindow(wnd, SW_SHOWNOACTIVATE);
        }
    } else {
        const TWindowDC screen(nullptr);
        if (!screen) {
            MessageBoxA(nullptr, "GDI error (out of resources)", nullptr, MB_OK | MB_ICONERROR);
            return;
        }
        if (!screenCopy_) screenCopy_ = std::make_unique<TBitmap>();
        screenCopy_->SetSize(std::max(w, 1), std::max(h, 1));
        BitBlt(screenCopy_->Canvas()->Handle(), 0, 0, w, h, screen.Get(), b.Left, b.Top, SRCCOPY);
        BitBlt(m->HintBitmap.Canvas()->Handle(), 0, 0, w, h, screenCopy_->Canvas()->Handle(), 0, 0, SRCCOPY);
        CutToShape(*m, ShapeMask(*m));
        SetWindowPos(wnd, HWND_TOPMOST, b.Left, b.Top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    m->LastHintPos.x = -1;
}

bool TsCustomHintWindow::Animated() const {
    TsHintManager* m = CurrentHintManager();
    return m && m->Animated;
}

void TsCustomHintWindow::Paint() {
    TsHintManager* m = CurrentHintManager();
    if (!m || LayeredWindowsAvailable()) return;
    const THintGeometry g = Geometry(*m);
    Bitmap32& under = m->HintBitmap.Pixels();
    if (under.Width() != g.Width || under.Height() != g.Height) return;
    if (m->HintKind().ShadowEnabled()) PaintHintShadow(under, g, ShadowStrength(m->HintKind()), m->HintKind().ShadowBlur);
    const Bitmap32 image = RenderHintImage(*m);
    const std::uint8_t ink = ClampToByte(255 - 2 * std::clamp(m->HintKind().Transparency, 0, 100) * 255 / 100);
    const Bitmap32 mask = m->SkinnedHints() ? ShapeMask(*m) : MakeHintShapeMask(g, ink);
    BlendBitmapsByMask(under, image, mask, Rect(0, 0, g.Width, g.Height));
    BitBlt(Canvas()->Handle(), 0, 0, g.Width, g.Height, m->HintBitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace kova::skin
