// The AutoPlace page of the main form: a thin view over the editor model.
// Each handler reads what the user typed into the model, runs the model's
// action, asks its questions and shows its messages through the dialog
// seam, and shows the model again. Slot rows are controls made at run time
// in the group editor's scroll box, kept for the form's life and reused.
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
    };
    std::vector<TRowControls> Rows;  // made on demand, never freed before the form

    // The name dialog, made on first use and owned by the form.
    TCreateNewConfig* NameDialog();

    // ---- routines the form uses -----------------------------------------------------
    void ShowConfig(int32_t index);
    void StoreGroupEditor();

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
    void MakeRow(size_t n);
    // Asks the save question for an unsaved config; false when the user
    // cancelled (the asking action stops).
    bool AskSaveNewConfig();
    void Finish(const autoplace::TOutcome& outcome);

    TForm& form_;
    std::function<void()> writeConfigs_;
    TCreateNewConfig* nameDialog_ = nullptr;
};

}  // namespace kova::mainwindow
