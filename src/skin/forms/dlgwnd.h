// The adapter that gives a system dialog (class "#32770": message boxes,
// the common dialogs) the look of a skinned form: caption with icon, text
// and title buttons, borders with transparent corners, a skinned system
// menu and the client background behind the dialog's children. The
// children carry their own adapters (made by the automatic skinning); this
// one paints what belongs to the dialog itself, all of it composed into
// its skin record's cache first.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/handles.h"
#include "skin/controls/scrollwnd.h"
#include "skin/core/providerbase.h"
#include "skin/forms/sysmenu.h"

namespace kova::skin {

class TacProvider;
class TacDialogWnd;

// One title button of a dialog.
struct TacDialogTitleButton {
    // 0 normal, 1 hot, 2 pressed.
    int State = 0;
    // Mask index of the image in the skin (-1: none).
    int ImageIndex = -1;
    // In window coordinates.
    RECT Rect{};
    bool BigIcon = false;
    int HitCode = 0;
};

// The dialog's system menu: shown by the skinned caption in place of the
// window's own.
class TacSystemMenu : public TsCustomSysMenu {
    KOVA_CLASS(TacSystemMenu, TsCustomSysMenu)
public:
    explicit TacSystemMenu(TacDialogWnd* dialog);
    TacDialogWnd* Dialog = nullptr;
    TMenuItem* miRestore = nullptr;
    TMenuItem* miMove = nullptr;
    TMenuItem* miSize = nullptr;
    TMenuItem* miMinimize = nullptr;
    TMenuItem* miMaximize = nullptr;
    TMenuItem* miClose = nullptr;
    // Visibility and enabled state of each item from the dialog's styles.
    void UpdateItems();

    bool VisibleClose() override;
    bool VisibleMax() override { return false; }
    bool VisibleMin() override { return false; }
    bool EnabledMax() override { return false; }
    bool EnabledMin() override { return false; }
    bool EnabledRestore() override { return false; }

private:
    TMenuItem* NewItem(const std::string& caption, WPARAM command);
};

class TacDialogWnd : public TacDialogWndBase, public TacScrollWnd {
    KOVA_CLASS(TacDialogWnd, TacScrollWnd)
public:
    // The record is the dialog's own (section "DIALOG" normally).
    TacDialogWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    ~TacDialogWnd() override;

    int HotButton = 0;
    bool Active = true;
    bool SuppressClientPaint = false;
    int CaptionIndex = -1;
    bool ChildrenAdapted = false;
    TacDialogTitleButton MinButton, MaxButton, CloseButton, HelpButton;
    HICON IconHandle = nullptr;
    std::uint8_t Flags = 0;
    LONG Style = 0, ExStyle = 0;
    bool RegionInvalid = true;
    // 0 a modal frame (message boxes), 1 before initialisation, 2 a popup
    // without a caption, 3 ordinary and sizeable dialogs; 4 and 5 tool
    // windows.
    std::uint8_t BorderKind = 1;
    std::unique_ptr<TacSystemMenu> SystemMenu;
    TacProvider* Provider = nullptr;
    int TitleIndex = -1;
    std::string TitleSection;

    void WndProc(TMessage& m) override;
    // Styles, border kind, icon, buttons and caption font, once the
    // children are adapted; the system's own title buttons taken away.
    void InitDialog();
    void InitTitleButtons();
    void PaintNonClientCache() override;
    int ClientOffsetX() override;
    int ClientOffsetY() override;
    int CaptionHeight(bool checkSkin);
    // The system's frame width.
    int BorderWidth() const;
    // The frame width the cache paints: the skin's with extended borders.
    int FrameWidth();
    RECT GetExtBorderMargins() override;
    // The title icon's place in the cache.
    RECT IconRect();
    // With extended borders the frame, caption and shadow lie in a border
    // window beneath the dialog, which shows only its client area.
    void SetExtendedBorders(bool on);
    void UpdateRegion(bool redraw);
    // The hit code at a screen point inside the caption band, or the
    // system's answer `systemAnswer` outside it.
    LRESULT HitTest(POINT screen, LRESULT systemAnswer);
    void SetHotButton(int code, bool repaint);
    void SetPressedButton(int code);
    void ShowSystemMenu(int x, int y);
    // The brush answered to WM_CTLCOLORDLG: one per colour, kept while the
    // colour stays and freed with the adapter.
    HBRUSH BackgroundBrush();
    TacDialogTitleButton* ButtonOf(int hitCode);
    // The screen position the dialog is shown at: a message box centres
    // itself after it was made, so the position is held until it shows.
    void RequestPosition(POINT screen);
    // What a child is to paint under itself (sub-code 34): the dialog's
    // cache at the client area's place, or its colour.
    void BackgroundInfo(TsBackgroundInfo& info);
    bool HasStyle(LONG bits) const { return (Style & bits) == bits; }

private:
    bool ExtBordersWanted();
    TsCommonData* PrepareRecord(TsSkinManager* manager, const std::string& section);
    void PaintCaption(const TsSkinModel& model, int width);
    void PaintTitleButtons(const TsSkinModel& model, int width);
    void PaintFrame(HDC dc);
    void EraseBackground(TMessage& m);
    void NcButtonDown(TMessage& m);
    void NcButtonUp(TMessage& m);
    void Repaint();
    // Closing by Cancel or Yes with the manager's dialog-hide animation:
    // a snapshot window shows the dialog's picture over it until it is
    // hidden, then fades out (OK closes at once).
    void CoverForHiding();
    TGdiObject<HFONT> captionFont_;
    TGdiObject<HBRUSH> brush_;
    TColor brushColour_ = 0;
    bool pressed_ = false;
    bool positionRequested_ = false;
    POINT requestedPosition_{};
};

}  // namespace kova::skin
