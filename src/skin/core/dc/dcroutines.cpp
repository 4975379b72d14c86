#include "skin/core/dc/dcroutines.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/core/portable/bitmaps.h"

namespace kova::skin {

TGdiObject<HBITMAP> CreateDib32(int width, int height, PixelBuffer32& pixels) {
    pixels = PixelBuffer32();
    if (width < 1 || height < 1) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TGdiObject<HBITMAP> bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bmp && bits) pixels = PixelBuffer32::View(bits, width, height, static_cast<std::ptrdiff_t>(width) * 4);
    return bmp;
}

namespace {
// Rows of an owning buffer are contiguous; a view may have any stride, so
// it goes through a copy.
bool DrawRows(HDC dc, const RECT& dest, const PixelBuffer32& src, RECT sr, bool stretch) {
    sr.left = std::max<LONG>(sr.left, 0);
    sr.top = std::max<LONG>(sr.top, 0);
    sr.right = std::min<LONG>(sr.right, src.Width());
    sr.bottom = std::min<LONG>(sr.bottom, src.Height());
    const int sw = sr.right - sr.left, sh = sr.bottom - sr.top;
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    if (sw <= 0 || sh <= 0 || (stretch && (dw <= 0 || dh <= 0))) return false;
    if (src.Stride() != static_cast<std::ptrdiff_t>(src.Width()) * 4) {
        const PixelBuffer32 copy = src.Clone();
        return DrawRows(dc, dest, copy, sr, stretch);
    }
    // The header describes only the rows wanted, starting at sr.top, so
    // that the source row is 0 under either reading of a top-down DIB's
    // origin.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = src.Width();
    bi.bmiHeader.biHeight = -sh;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const void* rows = src.ScanLine(sr.top);
    if (!stretch)
        return SetDIBitsToDevice(dc, dest.left, dest.top, static_cast<DWORD>(sw), static_cast<DWORD>(sh), sr.left, 0,
                                 0, static_cast<UINT>(sh), rows, &bi, DIB_RGB_COLORS) != 0;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    const bool ok = StretchDIBits(dc, dest.left, dest.top, dw, dh, sr.left, 0, sw, sh, rows, &bi, DIB_RGB_COLORS,
                                  SRCCOPY) != 0;
    if (oldMode) SetStretchBltMode(dc, oldMode);
    return ok;
}
}  // namespace

bool CopyBufferToDC(HDC dc, int x, int y, const PixelBuffer32& src, RECT srcRect) {
    // Parts of srcRect outside the buffer shift the destination with them.
    if (srcRect.left < 0) { x -= srcRect.left; srcRect.left = 0; }
    if (srcRect.top < 0) { y -= srcRect.top; srcRect.top = 0; }
    return DrawRows(dc, RECT{x, y, x, y}, src, srcRect, false);
}

bool StretchBufferToDC(HDC dc, const RECT& dest, const PixelBuffer32& src, RECT srcRect) {
    return DrawRows(dc, dest, src, srcRect, true);
}

PixelBuffer32 ReadDCToBuffer(HDC dc, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    PixelBuffer32 bits;
    TGdiObject<HBITMAP> bmp = CreateDib32(w, h, bits);
    if (!bmp) return PixelBuffer32(std::max(w, 0), std::max(h, 0));
    {
        TMemoryDC memory(dc);
        TSelection selected(memory.Get(), bmp.Get());
        BitBlt(memory.Get(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    return bits.Clone();
}

COLORREF ColorToRGB(std::uint32_t colour) {
    if ((colour & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0xFFFFFF;
}

void FillRectSolid(HDC dc, const RECT& r, std::uint32_t colour) {
    const int saved = SaveDC(dc);
    {
        TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(colour)));
        TSelection selected(dc, brush.Get());
        FillRect(dc, &r, brush.Get());
    }
    RestoreDC(dc, saved);
}

void FillBorderStrips(HDC dc, const RECT& r, int lw, int tw, int rw, int bw, std::uint32_t colour) {
    TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(colour)));
    const RECT strips[4] = {{r.left, r.top, r.right, r.top + tw},
                            {r.left, r.top + tw, r.left + lw, r.bottom},
                            {r.left + lw, r.bottom - bw, r.right, r.bottom},
                            {r.right - rw, r.top + tw, r.right, r.bottom - bw}};
    for (const RECT& s : strips)
        if (s.left < s.right && s.top < s.bottom) FillRect(dc, &s, brush.Get());
}

void CopyBorderStrips(HDC destDC, int x, int y, int width, int height, HDC sourceDC, int srcX, int srcY, int bw) {
    BitBlt(destDC, x, y, width, bw, sourceDC, srcX, srcY, SRCCOPY);                                       // top
    BitBlt(destDC, x + width - bw, y, bw, height, sourceDC, srcX + width - bw, srcY, SRCCOPY);            // right
    BitBlt(destDC, x, y, bw, height, sourceDC, srcX, srcY, SRCCOPY);                                       // left
    BitBlt(destDC, x, y + height - bw, width, bw, sourceDC, srcX, srcY + height - bw, SRCCOPY);           // bottom
}

void DrawBevelFrame(HDC dc, RECT r, int width, std::uint32_t lightColour, std::uint32_t darkColour) {
    TGdiObject<HPEN> light(CreatePen(PS_SOLID, 1, ColorToRGB(lightColour)));
    TGdiObject<HPEN> dark(CreatePen(PS_SOLID, 1, ColorToRGB(darkColour)));
    TSelection pen(dc, light.Get());
    for (int i = 0; i < width && r.right - r.left > 0 && r.bottom - r.top > 0; ++i) {
        pen.Select(light.Get());
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        pen.Select(dark.Get());
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left, r.bottom - 1);
        InflateRect(&r, -1, -1);
    }
}

void DrawFocusDots(HDC dc, const RECT& r, std::uint32_t colour1, std::uint32_t colour2) {
    const COLORREF c1 = ColorToRGB(colour1), c2 = ColorToRGB(colour2);
    int n = 0;
    auto dot = [&](int x, int y) {
        if (n++ % 3 == 0) SetPixel(dc, x, y, (n / 3) % 2 ? c2 : c1);
    };
    for (int x = r.left; x < r.right; ++x) dot(x, r.top);
    for (int y = r.top + 1; y < r.bottom; ++y) dot(r.right - 1, y);
    for (int x = r.right - 2; x >= r.left; --x) dot(x, r.bottom - 1);
    for (int y = r.bottom - 2; y > r.top; --y) dot(r.left, y);
}

TGdiObject<HRGN> MakeRegionFromBitmap(const PixelBuffer32& bitmap, std::uint32_t transparentColour) {
    // One region call for the whole bitmap: combining a region per run
    // costs a full region rebuild each time, which large shaped skins feel.
    const std::vector<TRect> runs = OpaqueRuns(bitmap, transparentColour);
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(runs.size());
    header.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header.rcBound = {0, 0, std::max(bitmap.Width(), 0), std::max(bitmap.Height(), 0)};
    std::memcpy(data.data(), &header, sizeof header);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RECT r{runs[i].Left, runs[i].Top, runs[i].Right, runs[i].Bottom};
        std::memcpy(data.data() + sizeof(RGNDATAHEADER) + i * sizeof(RECT), &r, sizeof r);
    }
    return TGdiObject<HRGN>(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                            reinterpret_cast<const RGNDATA*>(data.data())));
}

namespace {
struct CheckBoxBitmap {
    SIZE checkBox{0, 0};
    CheckBoxBitmap() {
        if (TGdiObject<HBITMAP> b(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759))); b) {
            BITMAP info{};
            if (GetObjectA(b.Get(), sizeof info, &info)) checkBox = {info.bmWidth / 4, info.bmHeight / 3};
        }
    }
};
}  // namespace

SIZE CheckBoxGlyphSize() {
    static const CheckBoxBitmap bitmap;
    return bitmap.checkBox;
}

}  // namespace kova::skin
