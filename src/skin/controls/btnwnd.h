// Adapters of the native button family and of statics: each paints its
// window's whole look from the skin into the record's cache and copies the
// cache to the window; the native painting is kept out. Push buttons show
// their section in the normal, hot (focused, under the mouse, the default
// button), pressed and disabled looks, bitmap buttons their glyph beside
// the caption; check boxes and radio buttons draw the skin's check glyphs;
// group boxes draw their frame below the caption and tell the caption's
// height (sub-code 27). Statics show their text or picture over the
// section, an edged one keeps its native interior inside the skin's frame,
// and link windows show their text underlined.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/stdctrls.h"
#include "skin/controls/adapters.h"

namespace kova::skin {

// The cache of an adapter's record, sized to its window.
class TacPaintedWnd : public TacMainWnd {
    KOVA_CLASS(TacPaintedWnd, TacMainWnd)
public:
    using TacMainWnd::TacMainWnd;
    void SetSkinParams() override;

protected:
    // Geometry read, the cache sized to the window; false for an empty
    // window or a record without a skin.
    bool BeginCache();
    Bitmap32& CachePixels() { return CommonData->CacheBmp->Pixels(); }
    TCanvas& CacheCanvas() { return *CommonData->CacheBmp->Canvas(); }
    // The cache onto the DC at 0,0.
    void CopyCache(HDC dc);
    // A disabled window's look: the cache faded 0.4 toward what lies under
    // it.
    void FadeDisabled(const TsParentImageInfo& bg);
    // The caption's text in the record's section.
    void DrawSectionText(const std::string& text, RECT r, UINT flags, bool hot, bool enabled);
    // The message passed on with the window's own redraw off.
    void PassFrozen(TMessage& m);
    void Redraw(UINT flags) { RedrawWindow(WindowHandle, nullptr, nullptr, flags); }
    // Sub-code 29/30 answered: the mouse entered / left.
    void HotEnter();
    void HotLeave();
};

// Push buttons (default section "BUTTON").
class TacBtnWnd : public TacPaintedWnd {
    KOVA_CLASS(TacBtnWnd, TacPaintedWnd)
public:
    TacBtnWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;
    // 2 pressed, 1 focused / hot / default button, else 0 (also disabled).
    int StateIndex() const;
    bool Pushed() const;

protected:
    virtual void DrawCaption(int state);
    virtual void DrawGlyph(int /*state*/) {}
    virtual SIZE GetGlyphSize() { return SIZE{0, 0}; }
    virtual RECT GetCaptionRect();
    virtual int GetMaxCaptionWidth();
    SIZE GetCaptionSize();
    virtual void PrepareCache();
    void Paint(HDC given);
    TGdiObject<HFONT> font_;
};

// Bitmap buttons: the framework's TBitBtn (its glyph strip placed by its
// Layout, Margin and Spacing) and native BS_BITMAP buttons (the bitmap two
// pixels left of the caption, vertically centred).
class TacBitBtnWnd : public TacBtnWnd {
    KOVA_CLASS(TacBitBtnWnd, TacBtnWnd)
public:
    using TacBtnWnd::TacBtnWnd;
    // Where the glyph lies in the window (empty without one).
    RECT GlyphRect();

protected:
    void DrawGlyph(int state) override;
    SIZE GetGlyphSize() override;
    RECT GetCaptionRect() override;
    int GetMaxCaptionWidth() override;

private:
    TBitBtn* Owner() const;
};

// Check boxes and radio buttons (default section "CHECKBOX").
class TacCheckBoxWnd : public TacPaintedWnd {
    KOVA_CLASS(TacCheckBoxWnd, TacPaintedWnd)
public:
    TacCheckBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;
    bool OwnerDrawn = false;
    // The GLOBALINFO image for the window's type and check state.
    int GlyphMaskIndex() const;
    SIZE GlyphSize() const;

private:
    void PrepareCache();
    void Paint(HDC given);
};

// Group boxes (default section "GROUPBOX").
class TacGroupBoxWnd : public TacPaintedWnd {
    KOVA_CLASS(TacGroupBoxWnd, TacPaintedWnd)
public:
    TacGroupBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;
    RECT CaptionRect();

private:
    void PrepareCache();
    void Paint(HDC given);
};

// Static texts: the parent's background and the section, the text over it.
class TacStaticWnd : public TacPaintedWnd {
    KOVA_CLASS(TacStaticWnd, TacPaintedWnd)
public:
    using TacPaintedWnd::TacPaintedWnd;
    void WndProc(TMessage& m) override;

protected:
    // The look painted into the DC (null: the window's own DC).
    virtual void PaintToDC(HDC given);
    virtual bool PaintContent();
    // The cache rebuilt from the parent's background and the section; false
    // when nothing can be painted.
    bool RebuildCache();
};

// Icon and bitmap statics with a static edge: the native static paints its
// interior, the skin's frame replaces its edge.
class TacEdgeWnd : public TacStaticWnd {
    KOVA_CLASS(TacEdgeWnd, TacStaticWnd)
public:
    using TacStaticWnd::TacStaticWnd;
    void WndProc(TMessage& m) override;

protected:
    void PaintToDC(HDC given) override;
};

// Icon and bitmap statics without an edge: the picture over the parent's
// background.
class TacIconWnd : public TacStaticWnd {
    KOVA_CLASS(TacIconWnd, TacStaticWnd)
public:
    TacIconWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    bool IsBitmap = false;
    // A copy of the static's bitmap, made at the first paint: the static
    // keeps owning its own.
    std::unique_ptr<TBitmap> Picture;

protected:
    bool PaintContent() override;

private:
    bool pictureRead_ = false;
    bool pictureAlpha_ = false;
};

// Link windows ("syslink"): the text underlined with its anchor tags left
// out, drawn on WM_ERASEBKGND.
class TacLinkWnd : public TacStaticWnd {
    KOVA_CLASS(TacLinkWnd, TacStaticWnd)
public:
    using TacStaticWnd::TacStaticWnd;
    void WndProc(TMessage& m) override;

protected:
    bool PaintContent() override;
};

// The static family's adapter for a "static" or link window, chosen by its
// class and style as native dialogs' children are: icon, bitmap and frame
// statics get the picture adapter (the edge one with WS_EX_STATICEDGE);
// owner-drawn statics, grey and white rectangles and simple statics none;
// any other static the text adapter. Push buttons, check boxes and group boxes are made with
// CreateAdapter of their class.
std::unique_ptr<TacMainWnd> CreateStaticAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                const std::string& section);

}  // namespace kova::skin
