// The per-form skin provider. Placed on a form (or made at run time by the
// automatic skinning), it chains itself into the form's messages (the
// framework's subclass: leaving takes nothing chained after it along),
// registers the form among the skinned forms so that skin changes reach
// it, answers the skin command message for the form and holds everything
// the form's skinned caption, frame and system menu are painted from: its
// published settings, the caption's data objects, the title-button states
// and the caches. A second provider on a form stays idle (`Inactive`).
// How a skinned form paints its caption and borders comes with the form's
// message handler; until then the painting operations do the plain thing
// (the form's own look), so nothing pretends to be skinned.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "skin/core/providerbase.h"
#include "skin/forms/sysmenu.h"
#include "skin/forms/titleitems.h"

namespace kova::skin {

// A provider on something that is not a form (construction fails quietly
// for the user: no message box of its own).
class EAbort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };
enum TacAnimEvent { aeShowing, aeHiding, aeSkinChanging };
using TacAfterAnimation = std::function<void(TacAnimEvent AnimType)>;
// The non-client hit test's message (answer in Result).
using TacNCHitTest = std::function<void(TMessage& Msg)>;
using TAddItemEvent = std::function<void(TComponent* Item, bool& CanBeAdded, std::string& SkinSection)>;

// The run-time state of one caption button the provider draws.
struct TsCaptionButton {
    // 0 normal, 1 hot, 2 pressed, -1 not shown.
    int State = 0;
    // Mask index of the button image in the skin (-1: none).
    int ImageIndex = -1;
    // In cache coordinates.
    RECT Rect{};
    bool HaveAlpha = false;
    // A large caption image (BICON...) rather than a small one (SICON...).
    bool BigImage = false;
    // The glow window shown while the button is hot (-1: none).
    int GlowID = -1;
    // The button's glow animation (made by the animations).
    std::unique_ptr<TObject> GlowAnim;
    // The hit code the button answers.
    int HitCode = 0;
};

// The text a skin editor's window has: a program started to preview for
// the editor announces its first form to that window.
inline constexpr const char* kSkinEditorWindowTitle = "KOVA skin editor";
// The message between the editor and the previewing form.
inline constexpr UINT kSkinEditorMessage = 0xA400;
// At most this many announcements are sent.
inline constexpr int kPreviewAnnouncements = 101;
// A form that answers kKeepRegionAnswer to kKeepRegionQuery keeps its own
// window region.
inline constexpr UINT kKeepRegionQuery = 0xBC4D;
inline constexpr WPARAM kKeepRegionAnswer = 0x41A2;

class TsSkinProvider : public TsSkinProviderBase {
    KOVA_CLASS_PROPS(TsSkinProvider, TsSkinProviderBase)
public:
    // The owner is the form to skin (EAbort otherwise). A form that already
    // has a provider keeps it and this one stays idle, unless the first was
    // made by the automatic skinning: that one is freed.
    explicit TsSkinProvider(TComponent* owner);
    ~TsSkinProvider() override;
    // The automatic skinning's provider: skins the form only at its first
    // hit test, non-client paint or showing.
    static TsSkinProvider* CreateDeferred(TComponent* owner);

    // ------------------------------------------------------ published
    TacAddedTitle* AddedTitle() const { return addedTitle_.get(); }
    bool AllowAnimation = true;
    bool AllowExtBorders() const { return allowExtBorders_; }
    void SetAllowExtBorders(bool value);
    bool AllowBlendOnMoving = true;
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    bool GetDrawNonClientArea() const { return DrawNonClientArea; }
    void SetDrawNonClientArea(bool value);
    TsGripMode GripMode = gmNone;
    bool MakeSkinMenu = false;
    const std::string& MenuLineSkin() const { return menuLineSkin_; }
    void SetMenuLineSkin(const std::string& value) { menuLineSkin_ = value; }
    TsResizeMode ResizeMode = rmStandard;
    bool ScreenSnap = false;
    int SnapBuffer = 10;
    bool ShowAppIcon() const { return showAppIcon_; }
    void SetShowAppIcon(bool value);
    TsTitleButtons* TitleButtons() const { return titleButtons_.get(); }
    void SetTitleButtons(const TsTitleButtons* value) { titleButtons_->Assign(value); }
    TsTitleIcon* TitleIcon() const { return titleIcon_.get(); }
    const std::string& TitleSkin() const { return titleSkin_; }
    void SetTitleSkin(const std::string& value);
    bool UseGlobalColor() const { return useGlobalColor_; }
    void SetUseGlobalColor(bool value);
    // OnAfterAnimation is the base's (the core's animations call it).
    TacNCHitTest OnExtHitTest;
    TAddItemEvent OnSkinItem;

    // --------------------------------------------------------- fields
    int TitleButtonMask = -1;
    // The transparent corner rectangles of the window region.
    std::vector<RECT> RegionRects;
    bool RegionChanged = true;
    int HotButton = 0;
    // The caption background behind the title buttons.
    std::unique_ptr<TBitmap> ButtonsBg;
    bool SysMenuHidden = false;
    int RedrawLock = 0;
    bool FirstSkinning = false;
    bool MenuSkinned = false;
    bool MenuWasOwnerDraw = false;
    // The caption painter's two cached images.
    std::unique_ptr<TBitmap> TempBmp;
    std::unique_ptr<TBitmap> CaptionBmp;
    RECT DragRect{};
    TsCaptionButton MinButton, MaxButton, CloseButton, HelpButton, MDIMinButton, MDIRestoreButton, MDICloseButton;
    int LastWidth = 0;
    int LastHeight = 0;
    int TitleIndex = -1;
    int CaptionIndex = -1;
    // The running minimise, restore or translucent-move animation.
    std::unique_ptr<TObject> AnimTimer;
    bool DeferredInit = false;
    bool Inactive = false;
    bool DwmAtCreate = false;
    bool MDILock = false;
    bool PaintSuspended = false;
    std::uint8_t ShowState = 0;
    bool Animating = false;
    bool AnimPending = false;
    // The window adapter of the form's own window (its scroll bars).
    std::unique_ptr<TObject> FormWndAdapter;
    // The adapter of the form's child controls.
    std::unique_ptr<TObject> Adapter;
    bool RegionLocked = false;
    bool FullRepaint = true;
    // The MDI client's adapter of an MDI main form.
    std::unique_ptr<TObject> MDIForm;
    bool FormActive = false;
    std::unique_ptr<TBitmap> WorkBmp;
    int MenuLineCount = -1;
    // Owned by the provider (a component it owns).
    TsSystemMenu* SystemMenu = nullptr;
    // Set while the region is being set (no second region meanwhile), and
    // while the form keeps its own region.
    bool RegionChanging = true;
    bool RegionKept = false;
    // The caption painter has painted the non-client cache once.
    bool NonClientPaintedOnce = false;
    // Controls' windows were made: their adaptation is posted to the form.
    bool AdaptPending = false;
    // The cover over the top of the form while it repaints under it.
    TForm* MenuCover = nullptr;

    // ----------------------------------------------- base operations
    void PaintNonClientCache() override;
    std::unique_ptr<TBitmap> MakeFormImage() override;
    void InitRegionRects() override;
    void UpdateRegion(bool repaint) override;
    HRGN MakeRegion(int dx, int dy) override;
    int ClientOffsetX() override;
    int ClientOffsetY() override;
    RECT GetExtBorderMargins() override;
    int CaptionHeight(bool checkSkin) override;
    // The minimise and restore animations (formanim.cpp).
    void StartMinimizing() override;
    bool StartRestoring() override;
    // The task-bar pictures (formhelpers.cpp).
    bool SetIconicThumbnail(HWND wnd, int maxWidth, int maxHeight) override;
    bool SetIconicLivePreview(HWND wnd) override;

    // ---------------------------------------------------- life cycle
    void Loaded() override;
    void AfterConstruction();
    // The form's frame skinned with the active skin.
    void PrepareForm();
    void InitAfterLoad();
    // The adapter of the form's child controls, made and run over the form
    // when a skin is active.
    virtual void CreateCtrlAdapter();
    void UpdateBorderForm(bool enable);
    void UpdateMDIForm(bool enable);
    void SetSysMenuStyle(bool enable);
    void UpdateMenus(bool skinned);
    void RemoveAdapter();
    void BroadcastToAdapter(TMessage& m);
    void InvalidateNonClient();
    void FreeButtonCaches();
    int GetTitleIndex();
    // The section name of the caption ("FORMTITLE" without TitleSkin).
    std::string TitleSectionName() const;
    TColor FormColor();

    // A skin of this provider's manager was applied, removed or refreshed.
    void SkinApplied();
    void SkinRemoved();
    void SkinRefreshed();

    // ------------------------------------------------------ geometry
    bool HasBorder() const;
    bool HasMenuLine() const;
    int HasMenuBar() const;
    bool HasSizeGrip() const;
    bool IsBigTitleButtons() const;
    bool IsPaintSuspended() const { return PaintSuspended; }
    bool ShowsAppIcon() const;
    bool ExtBordersWanted() const;
    int TitleIconWidth();
    int TitleIconHeight();
    int FrameWidth(bool checkSkin);
    int FrameWidthNoExt(bool checkSkin);
    int MaxTitleDiff();
    // WM_GETMINMAXINFO: a maximised skinned form covers the work area with
    // its system frame outside it. Passed on in every case.
    void WMGetMinMaxInfo(TMessage& m);

    // ---------------------------------------------------- form helpers
    // The frame strips repainted (nothing while not visible or not drawn).
    void RepaintNonClient();
    // The cover over the top of the form (the whole form with full) that
    // shows what the screen shows while the form repaints under it.
    void ShowMenuCover(bool full);
    void HideMenuCover();
    // The size grip into the DC at the grip's place (only when the skin
    // has a grip image).
    void PaintSizeGrip(HDC dc);
    // The caption icon into the bitmap at IconRect.
    void PaintTitleIcon(TBitmap& bitmap);
    RECT IconRect();

    // ------------------------------------- caption mouse (captionmouse.cpp)
    // The title button of the code becomes the hot one (0: none).
    void SetHotButton(int code, bool repaint);
    // The title button of the code is held down.
    void PressButton(int code);
    // The form's system menu at a screen point.
    void ShowSysMenuAt(int x, int y);
    // The form's previous window procedure.
    void CallOldWndProc(TMessage& m) { formProc_.CallPrevious(m); }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Every message of the form passes here first.
    virtual void FormWindowProc(TMessage& m);

private:
    struct TDeferred {};
    TsSkinProvider(TComponent* owner, TDeferred);
    void Construct();
    static void DefineProps(TPropList& L);
    // A form shown for the first time in preview mode tells the editor.
    void AnnounceToSkinEditor();
    // The manager of this provider's skin record.
    TsSkinManager* Manager() const;
    bool Skinned() const;
    bool FormShowing() const;
    void FormColorFromSkin();

    TWindowSubclass formProc_;
    std::unique_ptr<TacAddedTitle> addedTitle_;
    std::unique_ptr<TsTitleButtons> titleButtons_;
    std::unique_ptr<TsTitleIcon> titleIcon_;
    bool allowExtBorders_ = true;
    TAlignment captionAlignment_ = taLeftJustify;
    std::string menuLineSkin_;
    bool showAppIcon_ = true;
    std::string titleSkin_;
    bool useGlobalColor_ = true;
    bool inCopyData_ = false;
    // A walk over the form's controls is posted for windows made inside it
    // later (controls shown for the first time).
    bool walkPosted_ = false;
};

// The provider of the application's MDI main form, the provider whose MDI
// child was last maximised or activated, a title button held down, an MDI
// child made while the active one was maximised.
extern TsSkinProvider* MDIProvider;
extern TsSkinProvider* MaxChildProvider;
extern bool ButtonPressed;
extern bool ChildCreatedMaximized;

// Registers the provider class and its stored properties for form
// descriptions.
void RegisterSkinProviderClass();

}  // namespace kova::skin
