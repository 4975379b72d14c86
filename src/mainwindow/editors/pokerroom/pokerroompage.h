// The poker-room page of the main form: a thin view over the room editor
// model. Each handler reads what the user typed into the model, runs the
// model's action, asks its questions and shows its messages through the
// dialog seam, and shows the model again. Size rows and click rows are
// controls made at run time in their scroll boxes, kept and reused.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/editors/autoplace/createnewconfig.h"
#include "mainwindow/editors/pokerroom/exportpokerroomform.h"
#include "mainwindow/editors/pokerroom/model/pokerroommodel.h"
#include "skin/controls/sedit.h"

namespace kova::mainwindow {

class TPokerRoomPage {
public:
    // Registers the page's handlers and fields with `form`, whose
    // description then fills them. `writeRooms` writes the room file.
    TPokerRoomPage(TForm& form, std::function<void()> writeRooms);

    pokerroom::TPokerRoomModel Model;

    // ---- controls of the form's description --------------------------------------
    TCheckListBox* PokerRoomListBox = nullptr;
    TPageControl* PageControl3 = nullptr;
    TEdit *TypeNameEdit = nullptr, *WindowClassEdit = nullptr, *WindowTitleEdit = nullptr;
    TComboBox* ParentTypeComboBox = nullptr;
    TListBox* WindowTitleListBox = nullptr;
    TScrollBox* ScrollBox2 = nullptr;
    TRadioButton *FoldRadioButton = nullptr, *SeatRadioButton = nullptr;
    TCheckBox* ProportionalCheckBox = nullptr;
    std::array<TEdit*, pokerroom::ActivateFieldCount> ActivateEdits{};
    std::array<std::array<TCheckBox*, 4>, 5> ReactionBoxes{};
    TLabel* HotKeyRoomLabel = nullptr;
    TListBox* HotKeyListBox = nullptr;
    TCheckBox* GlobalHotKeyCB = nullptr;
    TComboBox *ActionHotKeyCB = nullptr, *LocalHKMod = nullptr, *LocalHKKey = nullptr;
    TGroupBox* MacrosGroupBox = nullptr;
    TScrollBox* ScrollBox3 = nullptr;
    TButton* CopySize2WindowCaptureBtn = nullptr;
    TLabel* EventMacrosRoomLabel = nullptr;
    TCheckListBox* EventMacrosListBox = nullptr;
    TRadioButton *TimeTypeRB = nullptr, *ButtonTypeRB = nullptr;
    TCheckBox *OnlyAutoActCB = nullptr, *SameClickCB = nullptr;
    std::array<TEdit*, pokerroom::EventFieldCount> EventEdits{};
    // The controls of window size 2, disabled while the room is proportional.
    std::vector<TControl*> Size2Controls;

    struct TSizeRowControls {
        std::array<skin::TsEdit*, 3> Edits{};
    };
    std::vector<TSizeRowControls> SizeRows;
    struct TClickRowControls {
        TStaticText* Label = nullptr;
        std::array<skin::TsEdit*, 4> Edits{};
        TCheckBox* Box = nullptr;
    };
    std::vector<TClickRowControls> ClickRows;

    // Made on first use, owned by the form.
    TCreateNewConfig* NameDialog();
    TExportPokerRoomForm* ChooserForm();

    // ---- routines the form uses ---------------------------------------------------
    void ShowRooms(int32_t index);
    void StoreRoomEditor();
    // The main page control turned to page `page`: the room page hides the
    // editing tabs of a room until the user asks to edit it.
    void PageChanged(bool roomPage);

    // Opens the window capture tool with the room's sizes (set by the form).
    std::function<void(const std::vector<tables::TWindowSize>&)> OnOpenCapture;
    // Opens the window details grabber and returns its class, width and
    // height texts (set by the form).
    std::function<void()> OnOpenGrabber;
    std::function<bool()> CaptureVisible;
    std::function<pokerroom::TCaptureResult()> CaptureResult;
    // Class, width and height from the grabber.
    std::function<std::array<std::string, 3>()> GrabberDetails;
    // Log lines (the title operator trace).
    std::function<void(const std::string&)> OnLog;

    // ---- handlers --------------------------------------------------------------------
    void PokerRoomListBoxClick();
    void PokerRoomListBoxClickCheck();
    void CustomCreateNewBtnClick();
    void CustomDeleteBtnClick();
    void CustomSaveBtnClick();
    void UpPokerRoomClick();
    void DownPokerRoomClick();
    void EditPokerRoomBtnClick();
    void ExportPokerRoomBtnClick();
    void ImportPokerRoomBtnClick();
    void TypeNameEditChange();
    void CustomCopyClassClick();
    void CustomCopySizeClick();
    void WindowTitleListBoxClick();
    void AddWindowTitleBtnClick();
    void EditWindowTitleBtnClick();
    void DeleteWindowTitleBtnClick();
    void AddWindowSizeBtnClick();
    void DeleteWindowSizeBtnClick();
    void FoldRadioButtonClick();
    void SeatRadioButtonClick();
    void ProportionalCheckBoxClick();
    void WindowCaptureBtnClick();
    void CopySize1BtnClick() { CopySizeBtn(1); }
    void CopySize2BtnClick() { CopySizeBtn(2); }
    void CommonBoxClick(int column);
    void HotKeyListBoxClick();
    void AddNewHotKeyBtnClick();
    void DeleteHotKeyBtnClick();
    void GlobalHotKeyCBClick();
    void ActionHotKeyCBChange();
    void AddClickBtnClick();
    void DeleteClickBtnClick();
    void ClickWindowCaptureBtnClick() { WindowCaptureBtnClick(); }
    void CopySize1WindowCaptureBtnClick() { CopyClick(1); }
    void CopySize2WindowCaptureBtnClick() { CopyClick(2); }
    void EventMacrosListBoxClick();
    void EventMacrosListBoxClickCheck();
    void WindowCaptureBtnMClick();
    void CopySize1BtnMClick() { CopyEventSize(1); }
    void CopySize2BtnMClick() { CopyEventSize(2); }
    void RowClick(TObject* sender, bool clickRow);

    // The file dialogs' answers: the export and import files.
    TSaveDialog* ExportSaveDialog = nullptr;
    TOpenDialog* ImportOpenDialog = nullptr;

private:
    void FindControls();
    void ReadView();
    void ShowView();
    void ShowSizeRows();
    void ShowClickRows();
    void MakeSizeRow(size_t n);
    void MakeClickRow(size_t n);
    void EnableSize2();
    void EnableColours();
    void AskSaveNewRoom();
    void Finish(const pokerroom::TOutcome& outcome);
    void CopySizeBtn(int size);
    void CopyClick(int size);
    void CopyEventSize(int size);
    tables::TTitleSpec TitleOfEdit() const;
    void SetEditorTabsVisible(bool visible);

    TForm& form_;
    std::function<void()> writeRooms_;
    TCreateNewConfig* nameDialog_ = nullptr;
    TExportPokerRoomForm* chooser_ = nullptr;
    bool showing_ = false;
};

}  // namespace kova::mainwindow
