#include "mainwindow/dialogs/windowcapture.h"

#include <filesystem>

#include "framework/dialogs.h"
#include "framework/windowtext.h"
#include "framework/handles.h"
#include "framework/portable/streams.h"
#include "mainwindow/editors/autoplace/model/autoplacemodel.h"

namespace kova::mainwindow {

namespace {

constexpr char SelectCaption[] = "Click to Select Window";
constexpr char PickingCaption[] = "Select Window or Click to Cancel";
constexpr int PictureTop = 146;
constexpr int NarrowWidth = 784;

int32_t EditNumber(const TEdit* e) { return autoplace::ParseNumber(e->Text(), 0); }

// True when the window lies on the screen and nothing covers it (tested on
// a grid of points over its rectangle).
bool ShownWhole(HWND wnd, const RECT& r) {
    if (!IsWindowVisible(wnd) || IsIconic(wnd)) return false;
    const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
    if (r.left < vx || r.top < vy || r.right > vx + GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
        r.bottom > vy + GetSystemMetrics(SM_CYVIRTUALSCREEN))
        return false;
    constexpr int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        for (int j = 0; j <= steps; ++j) {
            const POINT p{r.left + (r.right - 1 - r.left) * i / steps, r.top + (r.bottom - 1 - r.top) * j / steps};
            HWND under = WindowFromPoint(p);
            if (!under || GetAncestor(under, GA_ROOT) != wnd) return false;
        }
    }
    return true;
}

// The work area of the monitor that holds the point (the nearest one).
RECT WorkAreaAt(int x, int y) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

}  // namespace

TWindowCapture::TWindowCapture(TComponent* owner) : TForm(owner) {
    BindField("SpeedButton1", SpeedButton1);
    BindField("Edit3", Edit3);
    BindField("Edit4", Edit4);
    BindField("SizeComboBox", SizeComboBox);
    BindField("SizeXEdit", SizeXEdit);
    BindField("SizeYEdit", SizeYEdit);
    BindField("SizeX2Edit", SizeX2Edit);
    BindField("SizeY2Edit", SizeY2Edit);
    BindField("SetSizeBtn", SetSizeBtn);
    BindField("CaptureWindowBtn", CaptureWindowBtn);
    BindField("GetColorBtn", GetColorBtn);
    BindField("Image1", Image1);
    BindField("CoordX", CoordX);
    BindField("CoordY", CoordY);
    BindField("Red1Edit", Red1Edit);
    BindField("Green1Edit", Green1Edit);
    BindField("Blue1Edit", Blue1Edit);
    BindField("Coord2X", Coord2X);
    BindField("Coord2Y", Coord2Y);
    BindField("Red2Edit", Red2Edit);
    BindField("Green2Edit", Green2Edit);
    BindField("Blue2Edit", Blue2Edit);
    const auto on = [this](const char* name, void (TWindowCapture::*handler)()) { RegisterNotify(name, this, handler); };
    on("SpeedButton1Click", &TWindowCapture::SpeedButton1Click);
    on("CaptureWindowBtnClick", &TWindowCapture::CaptureWindowBtnClick);
    on("SetSizeBtnClick", &TWindowCapture::SetSizeBtnClick);
    on("SizeComboBoxChange", &TWindowCapture::SizeComboBoxChange);
    on("GetColorBtnClick", &TWindowCapture::GetColorBtnClick);
    RegisterMethod("Image1MouseDown", TMouseEvent([this](TObject*, TMouseButton, TShiftState, int x, int y) {
                       Image1MouseDown(x, y);
                   }));
    RegisterMethod("Image1MouseMove",
                   TMouseMoveEvent([this](TObject*, TShiftState, int x, int y) { Image1MouseMove(x, y); }));
}

TWindowCapture::~TWindowCapture() {
    if (Picking) StopPicking();
    if (WindowCapture == this) WindowCapture = nullptr;
}

void TWindowCapture::Open(const std::vector<tables::TWindowSize>& sizes, HWND captureWindow) {
    captureWindow_ = captureWindow;
    sizes_.clear();
    SizeComboBox->Items()->Clear();
    for (const tables::TWindowSize& s : sizes) {
        if (s.Name.Empty()) continue;
        sizes_.push_back(s);
        SizeComboBox->Items()->Add(s.Name.Str());
    }
    if (!sizes_.empty()) {
        SizeComboBox->SetItemIndex(0);
        SizeComboBoxChange();
    }
    // Not picking: the select button pressed and released once.
    SpeedButton1->SetDown(true);
    SpeedButton1Click();
    SpeedButton1->SetDown(false);
    SpeedButton1Click();
    Show();
    BringToFront();
}

std::string TWindowCapture::PicturePath() const {
    std::filesystem::path folder = tables::ProgramFolder;
    return (folder / CapturePictureName).string();
}

void TWindowCapture::StopPicking() {
    Picking = 0;
    SpeedButton1->SetDown(false);
    SpeedButton1->SetCaption(SelectCaption);
    if (captureWindow_ && GetCapture() == captureWindow_) ReleaseCapture();
}

void TWindowCapture::SpeedButton1Click() {
    if (SpeedButton1->Down()) {
        SpeedButton1->SetCaption(PickingCaption);
        Picking = 1;
        // The next press anywhere reaches the capturing window, not the
        // poker client under it; while a config runs the hook library
        // reports it as well.
        if (captureWindow_) SetCapture(captureWindow_);
    } else {
        StopPicking();
    }
}

void TWindowCapture::ShowSizes() {
    RECT w{}, c{};
    GetWindowRect(SelectedWindow, &w);
    GetClientRect(SelectedWindow, &c);
    SizeXEdit->SetText(std::to_string(w.right - w.left));
    SizeYEdit->SetText(std::to_string(w.bottom - w.top));
    SizeX2Edit->SetText(std::to_string(c.right));
    SizeY2Edit->SetText(std::to_string(c.bottom));
    Offsets = pokerroom::CaptureOffsets(w.right - w.left, w.bottom - w.top, c.right, c.bottom);
}

void TWindowCapture::EndWindowPick() {
    if (!Picking) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND under = WindowFromPoint(cursor);
    HWND root = under ? GetAncestor(under, GA_ROOT) : nullptr;
    if (root) {
        SelectedWindow = root;
        Edit3->SetText(WindowText(root));
        Edit4->SetText(WindowClassName(root));
        ShowSizes();
    }
    StopPicking();
}

void TWindowCapture::CaptureSelectedWindow() {
    if (!SelectedWindow) {
        ShowMessage(SelectWindowFirstText);
        return;
    }
    if (!IsWindow(SelectedWindow)) {
        ShowMessage(SelectedWindowGoneText);
        return;
    }
    RECT w{};
    GetWindowRect(SelectedWindow, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    if (width <= 0 || height <= 0) return;
    {
        TBitmap picture(width, height);
        HDC dc = picture.Canvas()->Handle();
        // The window paints itself, frame and all, so that covered windows
        // are captured too.
        PrintWindow(SelectedWindow, dc, 0);
        if (ShownWhole(SelectedWindow, w)) {
            // Nothing covers it: its client area as the screen shows it
            // (some systems cannot hand a device context to a window of
            // another process, which then paints nothing of its own).
            RECT c{};
            GetClientRect(SelectedWindow, &c);
            const pokerroom::TCaptureOffsets o = pokerroom::CaptureOffsets(width, height, c.right, c.bottom);
            TWindowDC client(SelectedWindow);
            if (client) BitBlt(dc, o.X, o.Y, c.right, c.bottom, client.Get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
        try {
            TFileStream file(PicturePath(), fmCreate);
            picture.SaveToStream(file);
        } catch (const std::exception& e) {
            ShowMessage(e.what());
            return;
        }
    }
    Image1->Picture()->LoadFromFile(PicturePath());
    const int pw = Image1->Picture()->Width(), ph = Image1->Picture()->Height();
    const int clientWidth = pw < NarrowWidth + 1 ? NarrowWidth : pw;
    Image1->SetBounds(pw < NarrowWidth + 1 ? (NarrowWidth - pw) / 2 : 0, PictureTop, pw, ph);
    SetClientSize(clientWidth, ph + PictureTop);
    ShowSizes();
    // Keep the form inside the work area of its monitor.
    const RECT area = WorkAreaAt(Left(), Top());
    int left = Left(), top = Top();
    if (left + Width() > area.right) left = area.right - Width();
    if (left < area.left) left = area.left;
    if (top + Height() > area.bottom) top = area.bottom - Height();
    if (top < area.top) top = area.top;
    SetBounds(left, top, Width(), Height());
    Invalidate();
}

void TWindowCapture::SetClientSize(int width, int height) {
    // Measured on the window itself: the frame of a tool window is known
    // only to the system.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT c{};
        GetClientRect(Handle(), &c);
        if (c.right == width && c.bottom == height) break;
        SetBounds(Left(), Top(), Width() + width - c.right, Height() + height - c.bottom);
    }
}

void TWindowCapture::ShowPoint(int x, int y, TEdit* cx, TEdit* cy, TEdit* r, TEdit* g, TEdit* b) {
    cx->SetText(std::to_string(x - Offsets.X));
    cy->SetText(std::to_string(y - Offsets.Y));
    // The picture's pixels are stored blue, green, red.
    const uint32_t p = Image1->PixelAt(x, y);
    const TColor colour = static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
    SetColor(colour);
    r->SetText(std::to_string(colour & 0xFF));
    g->SetText(std::to_string((colour >> 8) & 0xFF));
    b->SetText(std::to_string((colour >> 16) & 0xFF));
}

void TWindowCapture::Image1MouseMove(int x, int y) { ShowPoint(x, y, CoordX, CoordY, Red1Edit, Green1Edit, Blue1Edit); }

void TWindowCapture::Image1MouseDown(int x, int y) {
    ShowPoint(x, y, Coord2X, Coord2Y, Red2Edit, Green2Edit, Blue2Edit);
}

void TWindowCapture::GetColorBtnClick() {
    const int x = EditNumber(Coord2X), y = EditNumber(Coord2Y);
    ShowPoint(Offsets.X + x, Offsets.Y + y, Coord2X, Coord2Y, Red2Edit, Green2Edit, Blue2Edit);
}

void TWindowCapture::SizeComboBoxChange() {
    const int i = SizeComboBox->ItemIndex();
    if (i < 0 || static_cast<size_t>(i) >= sizes_.size()) return;
    SizeXEdit->SetText(std::to_string(sizes_[static_cast<size_t>(i)].Width));
    SizeYEdit->SetText(std::to_string(sizes_[static_cast<size_t>(i)].Height));
    SizeX2Edit->SetText("");
    SizeY2Edit->SetText("");
}

void TWindowCapture::SetSizeBtnClick() {
    if (!SelectedWindow) {
        ShowMessage(SelectWindowFirstText);
        return;
    }
    if (!IsWindow(SelectedWindow)) {
        ShowMessage(SelectedWindowGoneText);
        return;
    }
    const int32_t width = EditNumber(SizeXEdit), height = EditNumber(SizeYEdit);
    if (width == 0 || height == 0) {
        for (TEdit* e : {SizeXEdit, SizeYEdit, SizeX2Edit, SizeY2Edit}) e->SetText("0");
        return;
    }
    SetWindowPos(SelectedWindow, HWND_NOTOPMOST, 0, 0, width, height, SWP_NOMOVE);
    ShowSizes();
}

pokerroom::TCaptureResult TWindowCapture::Result() const {
    return {SizeX2Edit->Text(), SizeY2Edit->Text(), Coord2X->Text(), Coord2Y->Text(),
            Red2Edit->Text(),   Green2Edit->Text(), Blue2Edit->Text()};
}

void CaptureHotKeyPressed() {
    if (WindowCapture && WindowCapture->Visible()) WindowCapture->CaptureSelectedWindow();
}

}  // namespace kova::mainwindow
