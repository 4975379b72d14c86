// Combo boxes: the frame and field of the edit adapter, the drop-down
// button from the skin's "COMBOBTN" section with the skin's arrow (pressed
// while the list is down), and the drop-down list given its own adapter
// when it first shows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/controls/editwnd.h"

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

private:
    void MakeListAdapter(HWND list);
    void PaintButton(HDC dc);
    void RepaintButton();
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

// An item's text, read into a buffer of the length the combo reports
// (empty for CB_ERR).
std::string ComboItemText(HWND combo, int index);

std::unique_ptr<TacMainWnd> CreateComboBoxAdapter(HWND wnd, TsCommonData* data, TsSkinManager* manager,
                                                  const std::string& section);

}  // namespace kova::skin
