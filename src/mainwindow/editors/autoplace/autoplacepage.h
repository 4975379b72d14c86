// The AutoPlace page of the main form: a thin view over the editor model.
// Each handler reads what the user typed into the model, runs the model's
// action, asks its questions and shows its messages through the dialog
// seam, and shows the model again. Slot rows have controls only while they
// are in the scroll box's view: a few rows of controls made at run time,
// kept for the form's life and handed to whichever slots are scrolled into
// view; every slot's texts live in the model.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/editors/autoplace/createnewconfig.h"
#include "mainwindow/editors/autoplace/model/autoplacemodel.h"
#include "skin/controls/sedit.h"

namespace kova::mainwindow {

// The label of a slot row: a sunken static text that reports clicks.
class TSlotLabel : public TStaticText {
    KOVA_CLASS(TSlotLabel, TStaticText)
public:
    using TStaticText::TStaticText;

protected:
    void CreateParams(TCreateParams& p) override;
};

// A windowless mark at the bottom of the last slot row, left of the rows'
// labels: the scroll box sets its range from its children, and the rows
// out of view have none.
class TSlotRowsExtent : public TGraphicControl {
    KOVA_CLASS(TSlotRowsExtent, TGraphicControl)
public:
    using TGraphicControl::TGraphicControl;
};

class TAutoPlacePage {
public:
    // Registers the page's handlers and fields with `form`, whose
    // description then fills them. `writeConfigs` writes the configs' file.
    TAutoPlacePage(TForm& form, tables::TPlaceConfig& working, int32_t& selectedConfig,
                   std::function<void()> writeConfigs);

    autoplace::TAutoPlaceModel Model;

    // ---- controls of the form's description -------------------------------------
    TGroupBox* GroupBox1 = nullptr;
    TGroupBox* ConfigGroupBox = nullptr;
    TComboBox *ComboBoxType = nullptr, *ComboBoxTitle = nullptr, *ComboBoxClass = nullptr;
    TComboBox *ComboBoxSize1 = nullptr, *ComboBoxSize2 = nullptr;
    TEdit *EditX1 = nullptr, *EditY1 = nullptr, *EditX2 = nullptr, *EditY2 = nullptr;
    std::array<TCheckBox*, autoplace::GroupOptionCount> OptionBoxes{};
    TScrollBox* ScrollBox1 = nullptr;
    TEdit *EditTileX = nullptr, *EditTileY = nullptr, *EditTables = nullptr;
    TEdit *EditOffSetX = nullptr, *EditOffSetY = nullptr;
    TButton *AutoPlaceCreateNewConfig = nullptr, *AutoPlaceSaveConfig = nullptr, *AutoPlaceDeleteConfig = nullptr;
    TButton *AddNewGroup = nullptr, *DeleteGroup = nullptr, *AddSlot = nullptr, *DeleteSlot = nullptr;
    TButton *CalcActivateSlot = nullptr, *ButtonTileSlots = nullptr, *ButtonCascadeSlot = nullptr;
    TButton* GrabberBtn = nullptr;
    // Bound by the form itself; found by name once the form is loaded.
    TListBox* ConfigListBox = nullptr;
    TListBox* GroupListBox = nullptr;
    TComboBox* MonitorCombo = nullptr;

    struct TRowControls {
        TSlotLabel* Label = nullptr;
        std::array<skin::TsEdit*, 8> Edits{};
        int32_t Slot = -1;  // the slot shown, -1 when hidden
    };
    // Controls for the rows in view, in slot order from the first row in
    // view (so the tab order runs down the rows); made on demand, never
    // freed before the form.
    std::vector<TRowControls> Rows;
    TSlotRowsExtent* RowsExtent = nullptr;
    // The controls showing slot `n`, or null while it is out of view.
    TRowControls* RowOf(int32_t n);


    // ---- routines the form uses -----------------------------------------------------
    void ShowConfig(int32_t index);
    void StoreGroupEditor();
    // The main page control turned to another page (this one or not): what
    // was typed into the group editor is stored, and on this page the
    // editor is shown again from the poker rooms as they are now.
    void PageChanged(bool autoPlacePage);

    // ---- handlers -----------------------------------------------------------------------
    void AutoPlaceCreateNewConfigClick();
    void ConfigListBoxClick();
    void AutoPlaceDeleteConfigClick();
    void AutoPlaceSaveConfigClick();
    void AddNewGroupClick();
    void DeleteGroupClick();
    void GroupListBoxClick();
    void ComboBoxTypeChange();
    void ComboBoxSize1Change();
    void ComboBoxSize2Change();
    void AddSlotClick();
    void DeleteSlotClick();
    void CalcActivateSlotClick();
    void ButtonTileSlotsClick();
    void ButtonCascadeSlotClick();
    void GrabberBtnClick();
    void SlotRowClick(TObject* sender);

    // Opens the window details grabber for these editors (set by the form).
    std::function<void()> OnOpenGrabber;
    // Runs an action of the grabber on the model between reading and
    // showing the page, and shows its message.
    void ApplyPicked(const std::function<autoplace::TOutcome(autoplace::TAutoPlaceModel&)>& action);

private:
    void FindFormControls();
    // The controls' texts into the model, and the model into the controls.
    void ReadView();
    void ShowView();
    void ShowRows();
    // The controls of the n-th row in view, made where `slot` is shown.
    void MakeRow(size_t n, int slot);
    // What is typed into the rows in view, into the model's rows.
    void ReadRows();
    // The scroll box moved: the rows now in view get the controls, the
    // typed texts kept, and the focus stays with its slot while in view.
    void RowsScrolled();
    // Asks the save question for an unsaved config; false when the user
    // cancelled (the asking action stops).
    bool AskSaveNewConfig();
    void Finish(const autoplace::TOutcome& outcome);

    TForm& form_;
    std::function<void()> writeConfigs_;
};

}  // namespace kova::mainwindow
