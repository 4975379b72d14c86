#include "skin/forms/captionmouse.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "framework/forms.h"
#include "framework/handles.h"
#include "skin/core/skinmanager.h"
#include "skin/forms/borderform.h"
#include "skin/forms/formhandler.h"
#include "skin/forms/formhelpers.h"
#include "skin/forms/mdiform.h"
#include "skin/forms/skinmenus.h"
#include "skin/forms/framepaint.h"
#include "skin/forms/provider.h"
#include "skin/forms/titlebuttons.h"

namespace kova::skin {

namespace {

// How long a click on the icon waits for the second click of a double
// click (which closes the form) before it shows the system menu.
constexpr DWORD kIconClickWaitMs = 200;

constexpr int kMDIClose = kMDICloseHit, kMDIRestore = kMDIRestoreHit, kMDIMin = kMDIMinHit,
              kUserButton = kUserButtonHit;

HWND Wnd(TsSkinProvider& p) { return p.Form->Handle(); }
bool Zoomed(TsSkinProvider& p) { return IsZoomed(Wnd(p)) != FALSE; }
bool Iconic(TsSkinProvider& p) { return IsIconic(Wnd(p)) != FALSE; }
bool MDIChild(TsSkinProvider& p) { return p.Form->FormStyle() == fsMDIChild; }
TsSkinManager* Manager(TsSkinProvider& p) { return p.SkinData->GetSkinManager(); }
bool SkinnedPopups(TsSkinProvider& p) { return Manager(p) && Manager(p)->SkinnedPopups(); }

TsTitleButton* UserButton(TsSkinProvider& p, int code) {
    const int i = code - kUserButton;
    TsTitleButtons* buttons = p.TitleButtons();
    if (i < 0 || !buttons || i >= buttons->Count() || !buttons->Items(i)->Visible()) return nullptr;
    return buttons->Items(i);
}

// The state of the button of a code (nothing for codes without a button).
void SetButtonState(TsSkinProvider& p, int code, int state) {
    if (TsCaptionButton* b = CaptionButtonOf(p, code))
        b->State = state;
    else if (TsTitleButton* u = UserButton(p, code)) {
        u->State = state;
        // A user button's hint while it is hot, never while pressed.
        if (state == 1)
            u->ShowHint();
        else
            u->HideHint();
    }
}

void RepaintButton(TsSkinProvider& p, int code) {
    if (code == 0 || !p.Form->HandleAllocated()) return;
    RepaintTitleButton(p, code);
}

bool SysMenuAllowsMax(TsSkinProvider& p) {
    if (!p.SystemMenu) return false;
    return p.SystemMenu->EnabledMax() || (Zoomed(p) && p.SystemMenu->EnabledRestore());
}

// ------------------------------------------------------------ outline drag

// The outline drag of rmBorder: one at a time for the whole program.
struct TBorderDrag {
    bool active = false;
    bool moving = false;
    // Started by the system's move or size command and the mouse not moved
    // since.
    bool notMoved = false;
    HWND wnd = nullptr;
    // The desktop's DC the outline is drawn on, its state saved.
    std::unique_ptr<TWindowDC> desktop;
    std::unique_ptr<TSavedDC> saved;
    POINT grab{};
    POINT last{};
    RECT outline{};
    int minWidth = 0, minHeight = 0;
    int code = 0;
    bool drawn = false;
} g_drag;

// A code of the coming drag remembered by the hit test (16 and 17).
int g_pendingResizeCode = 0;

void DrawDragFrame() {
    if (!g_drag.saved || !g_drag.saved->DC()) return;
    const RECT& r = g_drag.outline;
    const POINT pts[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1},
                          {r.left, r.top}};
    Polyline(g_drag.saved->DC(), pts, 5);
    g_drag.drawn = !g_drag.drawn;
}

bool OutlineWanted(TsSkinProvider& p) { return p.ResizeMode == rmBorder && p.Form->Enabled(); }

void BeginBorderDrag(TsSkinProvider& p, POINT at, bool moving, int code, bool fromCommand) {
    if (!OutlineWanted(p) || g_drag.active) return;
    g_drag = TBorderDrag{};
    g_drag.active = true;
    g_drag.moving = moving;
    g_drag.notMoved = fromCommand;
    g_drag.wnd = Wnd(p);
    g_drag.code = code;
    g_drag.grab = g_drag.last = at;
    GetWindowRect(Wnd(p), &g_drag.outline);
    // The framework's forms have no size constraints of their own: the
    // system's smallest window is the limit.
    g_drag.minWidth = GetSystemMetrics(SM_CXMINTRACK);
    g_drag.minHeight = GetSystemMetrics(SM_CYMINTRACK);
    g_drag.desktop = std::make_unique<TWindowDC>(GetDesktopWindow());
    if (const HDC dc = g_drag.desktop->Get()) {
        g_drag.saved = std::make_unique<TSavedDC>(dc);
        SetROP2(dc, R2_NOT);
        SelectObject(dc, GetStockObject(WHITE_PEN));
        DrawDragFrame();
    }
    SetCapture(Wnd(p));
}

// The drag's desktop DC given back and its state cleared; the outline
// erased when it shows.
void ReleaseDrag() {
    if (g_drag.drawn) DrawDragFrame();
    g_drag.saved.reset();
    g_drag.desktop.reset();
    g_drag = TBorderDrag{};
    g_pendingResizeCode = 0;
}

void FollowDrag(POINT at) {
    // A drag the system menu started holds the cursor where the command
    // found it: a move reported late (taking the mouse reports one) must
    // not become the grab point and shift the outline.
    g_drag.notMoved = false;
    if (at.x == g_drag.last.x && at.y == g_drag.last.y) return;
    if (g_drag.drawn) DrawDragFrame();
    RECT& r = g_drag.outline;
    if (g_drag.moving) {
        OffsetRect(&r, at.x - g_drag.last.x, at.y - g_drag.last.y);
    } else {
        const int dx = at.x - g_drag.last.x, dy = at.y - g_drag.last.y;
        const bool left = g_drag.code == HTLEFT || g_drag.code == HTTOPLEFT || g_drag.code == HTBOTTOMLEFT;
        const bool top = g_drag.code == HTTOP || g_drag.code == HTTOPLEFT || g_drag.code == HTTOPRIGHT;
        const bool right = !left && g_drag.code != HTTOP && g_drag.code != HTBOTTOM;
        const bool bottom = !top && g_drag.code != HTLEFT && g_drag.code != HTRIGHT;
        // The moved edge stops where the form would become smaller than
        // its minimum size.
        if (left) r.left = std::min(r.left + dx, r.right - g_drag.minWidth);
        if (right) r.right = std::max(r.right + dx, r.left + g_drag.minWidth);
        if (top) r.top = std::min(r.top + dy, r.bottom - g_drag.minHeight);
        if (bottom) r.bottom = std::max(r.bottom + dy, r.top + g_drag.minHeight);
    }
    g_drag.last = at;
    DrawDragFrame();
}

void EndBorderDrag(TsSkinProvider& p) {
    if (!g_drag.active) return;
    struct {
        bool moving;
        RECT outline;
    } const d{g_drag.moving, g_drag.outline};
    const bool moved = !g_drag.notMoved && (g_drag.last.x != g_drag.grab.x || g_drag.last.y != g_drag.grab.y);
    ReleaseDrag();
    if (GetCapture() == Wnd(p)) ReleaseCapture();
    if (!moved) return;
    // The outline is in screen coordinates; an MDI child's place is in its
    // parent's client coordinates.
    RECT r = d.outline;
    if (HWND parent = GetParent(Wnd(p)); parent && (GetWindowLongPtrA(Wnd(p), GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (d.moving) {
        RECT now;
        GetWindowRect(Wnd(p), &now);
        MoveWindow(Wnd(p), r.left, r.top, now.right - now.left, now.bottom - now.top, TRUE);
    } else {
        MoveWindow(Wnd(p), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

POINT CursorPoint() {
    POINT at;
    GetCursorPos(&at);
    return at;
}

// The system menu placed under the caption icon.
void ShowSysMenuUnderIcon(TsSkinProvider& p, bool higherWhenIconic) {
    const POINT origin = WindowOrigin(p);
    int x, y;
    if (MDIChild(p) && MDIProvider) {
        x = origin.x;
        y = origin.y + GetSysCaptionHeight(p.Form) + 4;
        if (Iconic(p)) y -= 16;
    } else {
        const int sysFrame = GetBorderWidth(Wnd(p), nullptr, false);
        const RECT icon = p.IconRect();
        x = origin.x + sysFrame;
        y = origin.y + p.FrameWidthNoExt(true) + (icon.bottom - icon.top) + (p.BorderForm ? 0 : sysFrame);
        if (higherWhenIconic && Iconic(p)) y -= 16;
    }
    p.ShowSysMenuAt(x, y);
}

}  // namespace

bool BorderDragging() { return g_drag.active; }

POINT WindowOrigin(TsSkinProvider& p) {
    RECT r;
    GetWindowRect(Wnd(p), &r);
    // With a border window the frame's parts (title buttons, icon) are laid
    // out in its coordinates, those of the cache it shows.
    if (TacBorderForm* border = p.BorderForm; border && border->AForm && border->AForm->HandleAllocated() &&
                                              !MDIChild(p))
        GetWindowRect(border->AForm->Handle(), &r);
    POINT at{r.left, r.top};
    if (MDIChild(p)) {
        POINT client{0, 0};
        ClientToScreen(Wnd(p), &client);
        const int b = GetBorderWidth(Wnd(p), p.BorderForm, true);
        at.x = client.x - b;
        at.y = client.y - b - (Iconic(p) ? 0 : p.CaptionHeight(true));
    }
    return at;
}

// ---------------------------------------------------------------- hit test

int TitleButtonAt(TsSkinProvider& p, POINT at) {
    if (p.BorderForm) return 0;
    return TitleButtonAtCache(p, at);
}

int TitleButtonAtCache(TsSkinProvider& p, POINT at) {
    if (!p.SystemMenu) p.PrepareForm();
    if (!p.SystemMenu) return 0;
    auto in = [&](const RECT& r) { return PtInRect(&r, at) != FALSE; };
    int n = 0;
    if (p.SysMenuHidden) {
        if (in(p.CloseButton.Rect)) return 1;
        n = 1;
        const bool max = p.SystemMenu->VisibleMax();
        if (max) {
            n = 2;
            if (in(p.MaxButton.Rect)) return 2;
        }
        if (p.SystemMenu->VisibleMin()) {
            n = max ? 3 : 2;
            if (in(p.MinButton.Rect)) return n;
        }
        if (p.Form->BorderIcons() & biHelp) {
            ++n;
            if (in(p.HelpButton.Rect)) return n;
        }
    }
    TsTitleButtons* users = p.TitleButtons();
    for (int k = 0; users && k < users->Count(); ++k)
        if (users->Items(k)->Visible() && in(users->Items(k)->Rect)) return n + k + 1;
    return 0;
}

namespace {

// The provider's size grip sizes the form from the bottom-right corner:
// right of and below the grip image's top-left corner, where the frame
// painter puts the image in the cache.
bool InSizeGrip(TsSkinProvider& p, POINT at) {
    TsSkinManager* manager = p.SkinData->GetSkinManager();
    if (!manager || !p.HasSizeGrip()) return false;
    const TsSkinModel& model = manager->Model();
    const int grip = model.ConstData().GripImage;
    if (!model.MaskIndexValid(grip)) return false;
    const TsMaskData& mask = model.Masks()[static_cast<std::size_t>(grip)];
    const RECT margins = p.GetExtBorderMargins();
    const int bw = GetBorderWidth(Wnd(p), p.BorderForm, true);
    int x = FormWidth(p) - ImageWidthOfMask(mask) - bw - margins.right - 1;
    int y = FormHeight(p) - ImageHeightOfMask(mask) - bw - margins.bottom - 1;
    if (p.BorderForm) {
        x -= ExtendedBorderDiff(p.BorderForm) + margins.left;
        y -= ExtendedTitleDiff(p.BorderForm) + margins.top;
    }
    return at.x >= x && at.y >= y;
}

}  // namespace

int FormHitTest(TsSkinProvider& p, POINT screen) {
    const HWND wnd = Wnd(p);
    const POINT origin = WindowOrigin(p);
    const POINT at{screen.x - origin.x, screen.y - origin.y};
    const int i = TitleButtonAt(p, at);
    TsSystemMenu* menu = p.SystemMenu;
    const bool iconic = Iconic(p);
    // The codes of the system buttons in the order TitleButtonAt numbers
    // them: close, maximise, minimise, help.
    int codes[4] = {0, 0, 0, 0};
    int count = 0;
    if (p.SysMenuHidden && menu) {
        codes[count++] = HTCLOSE;
        if (menu->VisibleMax())
            codes[count++] = menu->EnabledMax() || (menu->EnabledRestore() && !iconic) ? HTMAXBUTTON : HTCAPTION;
        if (menu->VisibleMin() || iconic)
            codes[count++] = iconic || menu->EnabledMin() ? HTMINBUTTON : HTCAPTION;
        if (p.Form->BorderIcons() & biHelp) codes[count++] = HTHELP;
    }
    if (i >= 1 && i <= count) return codes[i - 1];
    if (TsTitleButtons* users = p.TitleButtons(); i > count && i <= count + users->Count()) {
        if (users->Items(i - count - 1)->Enabled) return kUserButton + (i - count - 1);
    }
    // A maximised MDI child's buttons in the menu line.
    if (MenuLineMDIMaximized(p))
        for (const TsCaptionButton* mdi : {&p.MDICloseButton, &p.MDIRestoreButton, &p.MDIMinButton})
            if (PtInRect(&mdi->Rect, at)) return mdi->HitCode;
    const int width = WindowWidth(wnd), height = WindowHeight(wnd);
    const int b = GetBorderWidth(wnd, p.BorderForm, true);
    const int t = GetBorderWidth(wnd, nullptr, false);
    if (!Zoomed(p) && HasThickFrame(wnd) && !p.BorderForm) {
        int code = 0;
        if (at.y < t)
            code = HTTOP;
        else if (at.y > height - b)
            code = HTBOTTOM;
        if (at.x < b)
            code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
        else if (at.x > width - b)
            code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
        if (code) return code;
    }
    const int sysCaption = GetSysCaptionHeight(p.Form);
    const int frame = p.BorderForm ? 0 : b;
    const int menuBar = p.HasMenuBar();
    if (at.y >= 0 && at.y <= sysCaption + frame) {
        const int lo = t + sysCaption, hi = t + p.CaptionHeight(false) + menuBar;
        if (at.y >= std::min(lo, hi) && at.y <= std::max(lo, hi) && menuBar) return HTMENU;
        const RECT icon = p.IconRect();
        if (PtInRect(&icon, at)) return HTSYSMENU;
        return HTCAPTION;
    }
    const int rows = menuBar ? std::max(p.MenuLineCount, 1) : 0;
    if (menuBar && at.y <= sysCaption + frame + rows * menuBar) return HTMENU;
    if (InSizeGrip(p, at)) return HTBOTTOMRIGHT;
    return HTCLIENT;
}

// ------------------------------------------------------------ the messages

void CaptionHitTestMsg(TsSkinProvider& p, TMessage& m) {
    if (p.OnExtHitTest) {
        m.Result = 0;
        p.OnExtHitTest(m);
        if (m.Result != 0) return;
    }
    if (p.CaptionHeight(true) == 0 || !p.DrawNonClientArea) {
        p.CallOldWndProc(m);
        return;
    }
    const int code = FormHitTest(p, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    m.Result = code;
    if ((code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE) && MDIChild(p)) p.SetSysMenuStyle(true);
    switch (code) {
        case HTNOWHERE:
        case HTCLIENT:
        case HTCAPTION:
        case HTMENU:
        case HTLEFT:
        case HTRIGHT:
        case HTTOP:
        case HTTOPLEFT:
        case HTTOPRIGHT:
        case HTBOTTOM:
            // The system's own answer stands there (its moving and sizing).
            p.CallOldWndProc(m);
            break;
        default:
            break;
    }
    if (p.ResizeMode == rmBorder && g_pendingResizeCode == 0 && p.Form->Enabled() &&
        (code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT))
        g_pendingResizeCode = code;
}

void NCMouseMove(TsSkinProvider& p, TMessage& m) {
    if (TsSkinManager* manager = Manager(p)) manager->SetHotControl(Wnd(p));
    const int code = FormHitTest(p, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    m.WParam = static_cast<WPARAM>(code);
    const bool button = code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP ||
                        (code >= kMDIClose && code <= kMDIMin) || (code >= kUserButton && code <= kUserButton + 100);
    if (button) {
        // Wine can deliver a non-client move late, at a point the mouse has
        // since left (after a release over the client area): marking the
        // button hot then would leave it lit with the mouse elsewhere.
        POINT now{};
        if (GetCursorPos(&now) && FormHitTest(p, now) != code) {
            p.SetHotButton(0, true);
            return;
        }
        p.SetHotButton(code, true);
        return;
    }
    p.SetHotButton(0, true);
    p.CallOldWndProc(m);
}

void NCButtonDown(TsSkinProvider& p, TMessage& m) {
    if (!p.DrawNonClientArea) {
        if (m.WParam == HTSYSMENU) {
            p.SetHotButton(0, true);
            ButtonPressed = false;
            ShowSysMenuUnderIcon(p, false);
            return;
        }
        p.CallOldWndProc(m);
        return;
    }
    const int code = static_cast<int>(m.WParam);
    switch (code) {
        case HTMINBUTTON:
        case HTMAXBUTTON:
        case HTCLOSE:
        case HTHELP:
        case kMDIClose:
        case kMDIRestore:
        case kMDIMin:
            if (TsSkinProvider* child = MaximizedMDIChildProvider(p);
                (code == kMDIMin || code == kMDIRestore) && child && child->SystemMenu) {
                TsSystemMenu* menu = child->SystemMenu;
                if (!(code == kMDIMin ? menu->EnabledMin() : menu->EnabledRestore())) return;
            }
            p.PressButton(code);
            // The release comes to this window wherever the mouse goes, so
            // that a release outside the button ends the press.
            if (ButtonPressed) SetCapture(Wnd(p));
            return;
        case HTSYSMENU: {
            m.Result = 0;
            p.CallOldWndProc(m);
            if (m.Result != 0) return;
            p.SetHotButton(0, true);
            ButtonPressed = false;
            if (!SkinnedPopups(p)) {
                // A double click may still come (it closes the form): the
                // wait is bounded, and a form closing or a provider freed
                // meanwhile shows nothing.
                const HWND wnd = Wnd(p);
                // The provider is looked for before anything of it is read.
                const auto dropped = [&] {
                    return !ProviderStillOnForm(wnd, &p) || !IsWindowVisible(wnd) || p.SkinData->Updating;
                };
                WaitWithMessages(kIconClickWaitMs, dropped);
                if (dropped()) return;
            }
            ShowSysMenuUnderIcon(p, false);
            return;
        }
        case HTMENU:
            p.CallOldWndProc(m);
            return;
        default:
            break;
    }
    if (code >= kUserButton) {
        p.PressButton(code);
        if (ButtonPressed) SetCapture(Wnd(p));
        if (TsTitleButton* b = UserButton(p, code); b && b->OnMouseDown)
            b->OnMouseDown(b, mbLeft, 0, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        return;
    }
    if (Iconic(p)) {
        SendMessageA(Wnd(p), WM_SYSCOMMAND, SC_MOVE + 2, m.LParam);
        return;
    }
    p.SetHotButton(0, true);
    if (Zoomed(p)) {
        const POINT origin = WindowOrigin(p);
        const int y = GET_Y_LPARAM(m.LParam) - origin.y;
        if (y <= GetBorderWidth(Wnd(p), p.BorderForm, true) + p.CaptionHeight(true)) {
            if (!p.Form->Active()) SetFocus(Wnd(p));
            return;
        }
    }
    BOOL fullDrag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    if (fullDrag && OutlineWanted(p) && code != HTMENU) {
        const bool sizing = code >= HTLEFT && code <= HTBOTTOMRIGHT;
        BeginBorderDrag(p, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, !sizing, sizing ? code : 0, false);
        return;
    }
    p.CallOldWndProc(m);
}

void NCButtonUp(TsSkinProvider& p, TMessage& m) {
    const bool client = m.Msg == WM_LBUTTONUP;
    if (client && !ButtonPressed && !g_drag.active) {
        p.CallOldWndProc(m);
        return;
    }
    if (!p.DrawNonClientArea) {
        p.CallOldWndProc(m);
        return;
    }
    POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (client) ClientToScreen(Wnd(p), &screen);
    // The code under the release point (a release in the client area has
    // no hit code of its own while a title button holds the mouse). With a
    // border window the title buttons are its: the release the form holds
    // the mouse for is over that window.
    auto* border = static_cast<TacSkinBorderForm*>(p.BorderForm);
    const int code = !client ? static_cast<int>(m.WParam) : border ? border->HitTest(screen) : FormHitTest(p, screen);
    const int pressed = p.HotButton;
    const bool wasPressed = ButtonPressed;
    if (wasPressed && GetCapture() == Wnd(p)) ReleaseCapture();
    // A title button acts only when released over the button it was
    // pressed on.
    if (wasPressed && code != pressed) {
        ButtonPressed = false;
        SetButtonState(p, pressed, 0);
        p.SetHotButton(0, true);
        if (!client) p.CallOldWndProc(m);
        return;
    }
    const HWND wnd = Wnd(p);
    switch (code) {
        case HTCLOSE:
            if (!wasPressed) break;
            ButtonPressed = false;
            p.CloseButton.State = 0;
            SendMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            if (ProviderStillOnForm(wnd, &p)) {
                p.FreeButtonCaches();
                if (IsWindowVisible(wnd)) {
                    p.SkinData->BGChanged = true;
                    p.SetHotButton(0, false);
                }
            }
            return;
        case HTMAXBUTTON:
            if (!wasPressed) {
                p.SetHotButton(0, false);
                p.CallOldWndProc(m);
                return;
            }
            ButtonPressed = false;
            if (!SysMenuAllowsMax(p)) break;
            p.SetHotButton(0, false);
            if (Zoomed(p)) {
                if (MDIChild(p))
                    MaxChildProvider = nullptr;
                else
                    p.Form->SetWindowState(wsNormal);
                SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
                if (IsWindow(wnd)) p.Form->Repaint();
            } else {
                if (MDIChild(p)) MaxChildProvider = nullptr;
                SendMessageA(wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            }
            if (IsWindow(wnd) && p.SystemMenu) p.SystemMenu->RefreshItems(false);
            return;
        case HTMINBUTTON: {
            ButtonPressed = false;
            if (!wasPressed) break;
            const POINT origin = WindowOrigin(p);
            const POINT at{screen.x - origin.x, screen.y - origin.y};
            if (!PtInRect(&p.MinButton.Rect, at)) {
                if (!client) p.CallOldWndProc(m);
                return;
            }
            p.SetHotButton(0, false);
            if (Application()->MainForm() == p.Form) {
                p.Animating = true;
                SendMessageA(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                p.Animating = false;
            } else if (Iconic(p)) {
                SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            } else {
                p.FormState |= 0x100;
                SendMessageA(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                p.FormState &= ~0x100u;
            }
            p.SkinData->BGChanged = true;
            return;
        }
        case HTHELP:
            if (!wasPressed) break;
            ButtonPressed = false;
            SendMessageA(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
            p.SetHotButton(0, false);
            if (p.SystemMenu) p.SystemMenu->RefreshItems(false);
            return;
        case kMDIClose:
        case kMDIRestore:
        case kMDIMin:
            if (!wasPressed) break;
            ButtonPressed = false;
            // The main form's maximised child, however it was maximised
            // (its own button, the client's message, created so).
            if (TCustomForm* maximized = MaximizedMDIChild(p)) {
                const HWND child = maximized->Handle();
                const WPARAM cmd = code == kMDIClose ? SC_CLOSE : code == kMDIRestore ? SC_RESTORE : SC_MINIMIZE;
                SendMessageA(child, WM_SYSCOMMAND, cmd, 0);
            }
            if (IsWindow(wnd)) p.SetHotButton(0, false);
            return;
        default:
            if (code >= kUserButton) {
                TsTitleButton* b = UserButton(p, code);
                ButtonPressed = false;
                p.SetHotButton(0, false);
                if (wasPressed && b && b->OnMouseUp) {
                    POINT local = screen;
                    ScreenToClient(wnd, &local);
                    b->OnMouseUp(b, mbLeft, 0, local.x, local.y);
                }
                return;
            }
            break;
    }
    ButtonPressed = false;
    if (wasPressed) {
        SetButtonState(p, pressed, 0);
        p.SetHotButton(0, false);
    }
    if (Iconic(p) && MDIProvider && !client) {
        const POINT at = CursorPoint();
        p.ShowSysMenuAt(at.x, at.y);
        return;
    }
    if (g_drag.active && p.ResizeMode == rmBorder && p.Form->Enabled() && !Zoomed(p)) {
        EndBorderDrag(p);
        return;
    }
    p.CallOldWndProc(m);
}

void NCDoubleClick(TsSkinProvider& p, TMessage& m) {
    if (g_drag.active) EndBorderDrag(p);
    const HWND wnd = Wnd(p);
    switch (m.WParam) {
        case HTSYSMENU:
            if (!SkinnedPopups(p)) p.SkinData->Updating = true;
            p.Form->Close();
            return;
        case HTCAPTION: {
            TsSystemMenu* menu = p.SystemMenu;
            if (p.SysMenuHidden && menu && (menu->EnabledMax() || menu->EnabledRestore())) {
                SendMessageA(wnd, WM_SYSCOMMAND, Zoomed(p) || Iconic(p) ? SC_RESTORE : SC_MAXIMIZE, 0);
                if (IsWindow(wnd) && p.SystemMenu) p.SystemMenu->RefreshItems(false);
            } else if (Iconic(p)) {
                SendMessageA(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
                if (IsWindow(wnd) && p.SystemMenu) p.SystemMenu->RefreshItems(false);
            }
            m.WParam = 0;
            return;
        }
        default:
            p.CallOldWndProc(m);
    }
}

void MouseMove(TsSkinProvider& p, TMessage& m) {
    p.CallOldWndProc(m);
    if (TsSkinManager* manager = Manager(p)) manager->SetHotControl(Wnd(p));
    // A move over the client area means no title button is under the mouse;
    // a held press keeps its button until the release decides.
    if (!ButtonPressed) p.SetHotButton(0, true);
    // The outline follows the point the move reports: the cursor read
    // back now may still be an earlier one (under Wine it lags behind
    // the moves), and one such read against the grab point would pull the
    // edge to the smallest size and lose the way back.
    if (g_drag.active && g_drag.wnd == Wnd(p) && OutlineWanted(p)) {
        POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ClientToScreen(Wnd(p), &at);
        FollowDrag(at);
    }
}

void CaptureLost(TsSkinProvider& p) {
    if (g_drag.active && g_drag.wnd == Wnd(p)) ReleaseDrag();
    if (ButtonPressed) {
        ButtonPressed = false;
        SetButtonState(p, p.HotButton, 0);
        p.SetHotButton(0, true);
    }
}

// --------------------------------------------------------- system commands

void SysCommand(TsSkinProvider& p, TMessage& m) {
    const HWND wnd = Wnd(p);
    const WPARAM command = m.WParam & 0xFFF0;
    if (!MDIChild(p)) {
        if (m.WParam == SC_MOVE + 2) p.Form->Repaint();
    }
    if (OutlineWanted(p) && !g_drag.active && (m.WParam == SC_MOVE || m.WParam == SC_SIZE)) {
        BeginBorderDrag(p, CursorPoint(), m.WParam == SC_MOVE, 0, true);
        return;
    }
    if (MDIChild(p)) {
        const bool locked = Zoomed(p) && m.WParam != SC_MAXIMIZE;
        switch (command) {
            case SC_KEYMENU:
                return;
            case SC_MAXIMIZE:
                MaxChildProvider = &p;
                p.CallOldWndProc(m);
                RefreshMDIMainFrame(true);
                if (p.SystemMenu) p.SystemMenu->RefreshItems(true);
                return;
            default:
                p.CallOldWndProc(m);
                if (IsWindow(wnd) && p.SystemMenu && command != SC_CLOSE) p.SystemMenu->RefreshItems(true);
                if (locked || command == SC_MINIMIZE) RefreshMDIMainFrame(true);
                return;
        }
    }
    p.CallOldWndProc(m);
    if (!IsWindow(wnd)) return;
    if (p.Form->FormStyle() == fsMDIForm) {
        if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) p.InvalidateNonClient();
        return;
    }
    switch (command) {
        case SC_KEYMENU:
            if (LOWORD(m.LParam) == VK_SPACE && p.SysMenuHidden && p.HasBorder()) ShowSysMenuUnderIcon(p, true);
            break;
        case SC_MAXIMIZE:
        case SC_RESTORE:
            if (p.SystemMenu && p.SystemMenu->VisibleMax()) p.HotButton = HTMAXBUTTON;
            p.SetHotButton(0, true);
            if (command == SC_RESTORE) {
                p.SkinData->BGChanged = true;
                if (!p.HasBorder()) SetWindowRgn(wnd, nullptr, TRUE);
            }
            p.RegionChanged = true;
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
            break;
        case SC_MINIMIZE:
            if (p.SkinData->CacheBmp) p.SkinData->CacheBmp->SetSize(0, 0);
            break;
        default:
            break;
    }
    if (p.SystemMenu && (command == SC_MAXIMIZE || command == SC_RESTORE || command == SC_MINIMIZE))
        p.SystemMenu->RefreshItems(false);
}

// ------------------------------------------------------ provider operations

void TsSkinProvider::SetHotButton(int code, bool repaint) {
    if (!DrawNonClientArea || !Form || !Form->HandleAllocated()) return;
    if (code == HotButton || (HotButton == -1 && code == 0)) return;
    SetButtonState(*this, HotButton, 0);
    if (repaint) RepaintButton(*this, HotButton);
    HotButton = code;
    if (!ButtonPressed) {
        SetButtonState(*this, code, 1);
        if (repaint) RepaintButton(*this, code);
    }
}

void TsSkinProvider::PressButton(int code) {
    SetButtonState(*this, HotButton, 0);
    RepaintButton(*this, HotButton);
    HotButton = code;
    if (code == HTMAXBUTTON && !SysMenuAllowsMax(*this)) {
        HotButton = 0;
        return;
    }
    if (code == kMDIRestore && !(SystemMenu && SystemMenu->EnabledMax())) {
        HotButton = 0;
        return;
    }
    SetButtonState(*this, code, 2);
    ButtonPressed = true;
    RepaintButton(*this, code);
}

void TsSkinProvider::ShowSysMenuAt(int x, int y) {
    if (!SystemMenu) PrepareForm();
    if (!SystemMenu || !Form->HandleAllocated()) return;
    const HWND wnd = Form->Handle();
    if (SkinnedPopups(*this)) {
        SystemMenu->RefreshItems(SystemMenu->ExtraItemCount > 0);
        SystemMenu->RemoveSkinListItem();
        if (MakeSkinMenu) SystemMenu->AddSkinListItem();
        // Drawn like every skinned popup menu, with the commands' glyphs.
        if (TsSkinableMenus* painter = SkinableMenus(Manager())) painter->SetMenuSkinned(SystemMenu, painter->Active());
        SystemMenu->Popup(x, y);
        return;
    }
    HMENU menu = GetSystemMenu(wnd, FALSE);
    if (!menu) return;
    auto state = [](bool enabled) { return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED | MF_DISABLED); };
    const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
    // Hidden for the time of the change, so that the system draws nothing
    // of its own caption meanwhile.
    SetWindowLongPtrA(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    const bool sizeable = Form->BorderStyle() == bsSizeable || Form->BorderStyle() == bsSizeToolWin;
    EnableMenuItem(menu, SC_RESTORE, state(SystemMenu->EnabledRestore()));
    EnableMenuItem(menu, SC_MOVE, state(!Zoomed(*this) && !Iconic(*this)));
    EnableMenuItem(menu, SC_SIZE, state(sizeable && !Zoomed(*this)));
    EnableMenuItem(menu, SC_MINIMIZE, state(SystemMenu->VisibleMin() && SystemMenu->EnabledMin()));
    EnableMenuItem(menu, SC_MAXIMIZE, state(SystemMenu->VisibleMax() && SystemMenu->EnabledMax()));
    EnableMenuItem(menu, SC_CLOSE, state(SystemMenu->VisibleClose()));
    SetWindowLongPtrA(wnd, GWL_STYLE, GetWindowLongPtrA(wnd, GWL_STYLE) | WS_VISIBLE);
    const UINT cmd = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr));
    if (cmd && IsWindow(wnd)) PostMessageA(wnd, WM_SYSCOMMAND, cmd, 0);
}

}  // namespace kova::skin
