// The main form's settings that reach the engine and the keyboard: the
// hotkey rows of the Common Settings page (global hotkeys 1..8 and the
// shared bindings 1..8 with their action names; the pages of the lobby
// auto-registration add rows 9 and 10 under the same names), the check
// boxes and radio buttons kept in "user.ini", the options the scan reads,
// and the system-wide hotkeys 3..11 with what WM_HOTKEY runs.
//
// Every edit lands at once where the engine reads it (the user options and
// the engine options), so a running config follows the controls; the panels
// and frames go or come back when their box changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "mainwindow/hotkeys/hotkeys.h"

namespace kova::mainwindow {

class TKOVAForm1;

class TCommonSettingsPage {
public:
    // Registers the page's handlers with the main form, whose description
    // binds them, and its WM_HOTKEY handler.
    explicit TCommonSettingsPage(TKOVAForm1& form);
    ~TCommonSettingsPage();
    TCommonSettingsPage(const TCommonSettingsPage&) = delete;
    TCommonSettingsPage& operator=(const TCommonSettingsPage&) = delete;

    // One hotkey row: its combos (the name edit only in shared rows) and the
    // binding it edits.
    struct TRow {
        TComboBox* Modifier = nullptr;
        TComboBox* Key = nullptr;
        TEdit* Name = nullptr;
        int32_t Binding = -1;
    };
    // The rows the form holds, found by name once it is read.
    const std::vector<TRow>& Rows();

    // The user options into the controls: the check boxes, the radio
    // buttons, bindings 0..17 in their rows and the shared bindings' names
    // (a binding without a name shows its row's first name).
    void ShowUserOptions();
    // The controls into the user options (also when "user.ini" was missing,
    // so that the engine reads what the user sees).
    void ReadUserOptions();

    // Hotkeys 3..11 from their bindings, in that order; each refusal says
    // "Wrong HotKey".
    void RegisterHotKeys();
    // Releases hotkeys 3..11.
    void ReleaseHotKeys();
    THotKeyTable& HotKeys() { return *hotKeys_; }  // once RegisterHotKeys ran
    // Whether hotkey n holds its id (RegisterHotKeys ran since the window was made).
    bool Registered(int32_t n) const;

    // Whether the user changed a setting this session.
    bool Edited() const { return edited_; }
    // Runs `fill`, whose changes to the controls are the program's, not
    // the user's: the handlers they set off change nothing.
    void WhileFilling(const std::function<void()>& fill);

    // ---- handlers (t = the sender's Tag) ------------------------------------------------
    void ComboBox1Change(TObject* sender);  // modifier of global row t
    void ComboBox2Change(TObject* sender);  // key of global row t
    void ComboBox2KeyUp(TObject* sender, WORD key);
    void Combo1Change(TObject* sender);  // modifier of shared row t
    void Combo2Change(TObject* sender);  // key of shared row t
    void Combo2KeyUp(TObject* sender, WORD key);
    void ActioHKEdit1Change(TObject* sender);  // name of shared row t
    void CheckBoxHUDClick();
    void CheckBoxSoundClick();
    void CheckBoxFrameClick();
    void HotKeyTargetClick();
    // A control the scan reads (jump mouse, mouse activation and its delay,
    // the event-macro boxes, only-played).
    void EngineOptionChange();
    void ThicknessEditChange();

    // WM_HOTKEY: the hotkey of the id runs (see RunHotKey).
    void WMHotKey(TMessage& m);
    // Runs global hotkey n as the user pressed it: 3..6, 9 and 10 only
    // while hotkeys are enabled.
    void RunHotKey(int32_t n);

    // Hotkeys 9 and 10 start and stop both lobby auto-registrations. The
    // registration pages, which show their status, may take these over.
    std::function<void()> StartAutoRegistrations;
    std::function<void()> StopAutoRegistrations;

private:
    // Runs an edit of the user's (not one made while controls are filled).
    bool UserEdit();
    tables::THotKeyBinding* BindingOfGlobalRow(TObject* sender, int32_t& row);
    tables::THotKeyBinding* BindingOfSharedRow(TObject* sender);
    void ReRegister(int32_t row);
    // After an edit in one row, the other rows of the same binding (hotkeys 9
    // and 10 have a row on each registration page) show it too.
    void ShowBindingElsewhere(TComboBox* edited);
    void FillCombos();

    TKOVAForm1& form_;
    std::unique_ptr<THotKeyTable> hotKeys_;
    HWND hotKeysWindow_ = nullptr;
    std::vector<TRow> rows_;
    bool rowsFound_ = false;
    int filling_ = 0;
    bool edited_ = false;
};

}  // namespace kova::mainwindow
