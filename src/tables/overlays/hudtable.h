// THUDTable: the information panel over a poker table. A borderless,
// colour-keyed window owned by the table window, whose only visible (and
// clickable) parts are its labels and its logo; the rest lets the table
// through. Labels can be dragged (Shift: resized), restyled through the
// label menu and hidden or shown through the logo's field menu; the
// arrangement is saved to and loaded from layout files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "tables/logic/hudlayout.h"
#include "tables/engine/pokertable.h"

namespace kova::tables {

class THUDTable : public kova::TForm {
    KOVA_CLASS(THUDTable, kova::TForm)
public:
    explicit THUDTable(kova::TComponent* owner);

    // A new label (none when the caption is empty).
    kova::TLabel* CreateMyLabel(const std::string& name, bool visible, int top, int left, const std::string& caption,
                                const std::string& hint = std::string());
    void AttachToTable(TPokerTable* table);
    void SetLabelText(kova::TLabel* label, const std::string& text);
    void UpdateMenus();
    void UpdateRegion();
    void FollowTable();
    void LoadLayout(const std::string& fileName);
    bool SaveLayout(const std::string& fileName);

    kova::TLabel* LabelNamed(const std::string& name) const;
    HWND TableWnd() const { return tableWnd_; }
    bool Dragging() const { return dragging_; }

    // From the description.
    kova::TImage* LogoImage = nullptr;
    kova::TPopupMenu* PopupMenu1 = nullptr;
    kova::TPopupMenu* PopupMenu2 = nullptr;
    kova::TMenuItem *Font1 = nullptr, *Background1 = nullptr, *Transparent1 = nullptr, *AutoSize1 = nullptr;
    kova::TMenuItem *Timer1 = nullptr, *Blinds1 = nullptr, *TournamentID1 = nullptr, *Buyin1 = nullptr,
                    *Speed1 = nullptr, *Max1 = nullptr, *Players1 = nullptr, *GameFormat1 = nullptr,
                    *GameType1 = nullptr, *TableID1 = nullptr, *PlayedNow1 = nullptr, *PlayedTotal1 = nullptr;
    kova::TMenuItem *LoadLayout1 = nullptr, *SaveAs1 = nullptr, *SaveLayout1 = nullptr;
    kova::TFontDialog* FontDialog1 = nullptr;
    kova::TColorDialog* ColorDialog1 = nullptr;
    kova::TOpenDialog* OpenDialog1 = nullptr;
    kova::TSaveDialog* SaveDialog1 = nullptr;

protected:
    void CreateParams(kova::TCreateParams& p) override;

private:
    void LabelMouseDown(kova::TObject* sender, kova::TMouseButton button, kova::TShiftState shift, int x, int y);
    void LabelMouseMove(kova::TObject* sender, kova::TShiftState shift, int x, int y);
    void LabelMouseUp(kova::TObject* sender, kova::TMouseButton button, kova::TShiftState shift, int x, int y);
    void StartDrag();
    void EndDrag();
    kova::TLabel* MenuLabel() const;
    void ToggleField(kova::TMenuItem* item);
    std::string LayoutsFolder() const;
    TPanelLayout CurrentLayout() const;

    TPokerTable* table_ = nullptr;
    HWND tableWnd_ = nullptr;
    bool dragging_ = false;
    POINT last_{};
};

// The panel of a table (created and attached), as the scan's maker.
std::unique_ptr<TTableHUD> MakeHUDOverlay(TPokerTable& table);

// Real panels and frames for the tables (THUDTable and TFrameForm): the
// main window calls it once at start.
void InstallTableOverlays();

}  // namespace kova::tables
