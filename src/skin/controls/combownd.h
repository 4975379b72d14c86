// Combo boxes: the frame and field of the edit adapter, the drop-down
// button from the skin's "COMBOBTN" section with the skin's arrow (pressed
// while the list is down), and the drop-down list given its own adapter
// when it first shows.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/stdctrls.h"
#include "skin/controls/editwnd.h"
#include "skin/controls/listwnd.h"

namespace kova::skin {

// The drop-down list of a combo box (and the permanent list of a simple
// one): its frame from the skin (a rectangle in the section's colour and the
// skin's border colour), its scroll bars skinned.
class TacComboListWnd : public TacEditWnd {
    KOVA_CLASS(TacComboListWnd, TacEditWnd)
public:
    // Section "EDIT" when none is given. A drop-down list is widened by one
    // pixel after the adapter is made, so that it computes its frame anew.
    TacComboListWnd(HWND list, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;

    bool Tracking = false;
    // The permanent list of a simple combo (set before the adapter starts).
    bool SimpleCombo = false;
    RECT CreationRect{};

protected:
    void AttachTo(bool repaint) override;

private:
    void PrepareCache();
    // A simple combo's area below its list: what lies under the combo.
    void FillComboBelowList();
    bool inNcPaint_ = false;
};

class TacComboBoxWnd : public TacEditWnd {
    KOVA_CLASS(TacComboBoxWnd, TacEditWnd)
public:
    // Section "COMBOBOX" when none is given.
    TacComboBoxWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    ~TacComboBoxWnd() override;
    void WndProc(TMessage& m) override;

    // The drop-down button in window coordinates (zero width for a simple
    // combo).
    virtual RECT GetButtonRect();
    // 2 while the list is down, 1 focused or hot, else 0.
    int ButtonState();
    HWND ListHandle = nullptr;
    std::unique_ptr<TacComboListWnd> ListAdapter;

protected:
    // The list gets its adapter with the combo's, while it is still
    // hidden, so that it shows skinned the first time it drops.
    void AttachTo(bool repaint) override;
    // A drop-down style (style bit 2).
    virtual bool HasDropButton() const;

private:
    void MakeListAdapter(HWND list);
    void PaintButton(HDC dc);
    void RepaintButton();
    // The whole window repainted now (after a hot change or an item drawn).
    void RepaintOwned();
    void DropListAdapter();
    // The cache rebuilt for the window as it is (a simple combo: its edit
    // part only).
    void RebuildCache();
    // The selected item's text (else the window text) into the cache.
    void DrawSelectedText();
    bool IsSimple() const;
    bool inCtlColor_ = false;
    // The list's brush: one per colour, kept while the colour stays.
    TGdiObject<HBRUSH> listBrush_;
    COLORREF listBrushColour_ = 0;
};

// The variant for framework combo controls of other classes whose list is
// a child list box of the control: the list is not coloured through
// WM_CTLCOLORLISTBOX; each list box made inside the control gets an edit
// adapter of its own. A TComboBox of the simple style has no button.
class TacWWComboBoxWnd : public TacComboBoxWnd {
    KOVA_CLASS(TacWWComboBoxWnd, TacComboBoxWnd)
public:
    TacWWComboBoxWnd(TWinControl* control, TsCommonData* skinData, TsSkinManager* manager,
                     const std::string& section);
    ~TacWWComboBoxWnd() override;
    void WndProc(TMessage& m) override;
    bool HasButton = true;
    // The control's list boxes with their records and adapters.
    struct TListBoxItem {
        TCustomListBox* ListBox = nullptr;
        std::unique_ptr<TsCommonData> SkinData;
        std::unique_ptr<TacScrollWnd> Adapter;
    };
    std::vector<TListBoxItem> ListBoxes;

protected:
    bool HasDropButton() const override { return HasButton; }

private:
    void AdaptListBoxes();
};

// The adapter of grids that publish an "OptionsEh" set: the grid adapter,
// and on a themed system older than major version 6 the grid's
// "dghFixed3D" option is taken out while skinned and put back as it was.
class TacGridEhWnd : public TacGridWnd {
    KOVA_CLASS(TacGridEhWnd, TacGridWnd)
public:
    using TacGridWnd::TacGridWnd;
    // Leaves the window here, where the option is still put back.
    ~TacGridEhWnd() override;
    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    bool SavedFixed3D = false;

private:
    bool RulesApply() const;
};
// Whether the system is a themed one older than major version 6 (where
// the option's 3D titles fight the skin); replaceable for tests.
std::function<bool()>& GridEhOldThemedSystem();

// An item's text, read into a buffer of the length the combo reports
// (empty for CB_ERR).
std::string ComboItemText(HWND combo, int index);

std::unique_ptr<TacMainWnd> CreateComboBoxAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                  const std::string& section);
// The grid adapter with the OptionsEh rule, given the skin's colours at once.
std::unique_ptr<TacMainWnd> CreateGridEhAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                const std::string& section);
// Made from the control object, not its window.
std::unique_ptr<TacMainWnd> CreateWWComboBoxAdapter(TWinControl* control, TsCommonData* data, TsSkinManager* manager,
                                                    const std::string& section);

}  // namespace kova::skin
