#pragma once
// The real main form in this process, driven as a user drives it: started
// over a scratch data folder, its controls found by name, buttons clicked,
// combo items picked, text typed, pages turned by a click on their tab,
// and closed and started again on the same files. Every box and modal form
// is answered through the dialog seam: the name dialog from a queue of
// answers, message boxes from a queue of results (Yes or OK when empty),
// other modal forms by a callback.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/stdctrls.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"

namespace kova::test {

// What the name dialog answers when it opens next.
struct NameAnswer {
    std::string name;  // empty: keep the proposed name
    int clone = -1;    // the clone item chosen (-1 none)
    int result = mrOk;
};

class MainFormTesting : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // ---- the data folder ----------------------------------------------------------
    std::string Path(const std::string& file) const { return dir_ + "\\" + file; }
    // A "user.ini" of the program's defaults: a program that read one saves
    // every data file when it closes.
    void WriteUserIni();

    // ---- the form -------------------------------------------------------------------
    // Installs the automatic skinning before the form is opened, as the
    // program does at its start: the manager's thread hook then skins every
    // form and system dialog without a provider. Undone when the test ends.
    void SkinLikeTheProgram();
    // Creates and shows the main form; returns once its first activation
    // (the settings files read) is done.
    mainwindow::TKOVAForm1* Open();
    // Closes the form as the user does (the program's close sequence saves
    // its files), then frees it.
    void CloseForm();
    // CloseForm, the engine as at a program start, Open on the same files.
    mainwindow::TKOVAForm1* Restart();
    mainwindow::TKOVAForm1* Form() const { return form_; }

    // A plain top-level window of our own (a poker client's window to pick
    // or to place), topmost at `bounds`; its class is registered on first
    // use. Destroyed with the test.
    HWND OpenWindow(const std::string& className, const std::string& title, const RECT& bounds);

    // ---- finding controls -------------------------------------------------------------
    // A component of the main form (made at run time or by its description);
    // the test fails when there is none of that name and class.
    template <class C = TWinControl>
    C* Find(const std::string& name) {
        return FindOn<C>(form_, name);
    }
    template <class C = TWinControl>
    static C* FindOn(TComponent* owner, const std::string& name) {
        C* c = owner ? dynamic_cast<C*>(owner->FindComponent(name)) : nullptr;
        EXPECT_NE(c, nullptr) << "no " << name;
        return c;
    }

    // ---- input as the system reports it ---------------------------------------------
    // The control's notification to its parent (BN_CLICKED, CBN_SELCHANGE ...).
    static void Notify(TWinControl* c, WORD code);
    static void Click(TWinControl* c);
    void Click(const std::string& button) { Click(Find<TWinControl>(button)); }
    // Replaces the whole text as typing over it does: the edit (a combo's
    // own edit) reports the change itself.
    static void Type(TWinControl* c, const std::string& text);
    void Type(const std::string& name, const std::string& text) { Type(Find<TWinControl>(name), text); }
    // Picks a combo item by its text or index, as a click in its list does.
    static void Choose(TComboBox* c, const std::string& item);
    static void Choose(TComboBox* c, int index);
    void Choose(const std::string& combo, const std::string& item) { Choose(Find<TComboBox>(combo), item); }
    // Selects a list item by index or text, as a click on it does.
    static void Select(TCustomListBox* list, int index);
    static void Select(TCustomListBox* list, const std::string& item);
    // A click on the box of a check list item.
    static void ToggleItem(TCheckListBox* list, int index);
    // Ticks or clears a check box with a click (none when it already is).
    static void Tick(TCheckBox* box, bool ticked);
    // A key let go while the control has the keyboard.
    static void ReleaseKey(TWinControl* c, WORD vk);
    // Turns the main page control to the sheet of that name by a click on
    // its tab; the sheet of another page control likewise.
    void ShowPage(const std::string& sheetName);
    static void ShowPage(TPageControl* pages, TTabSheet* sheet);

    // ---- answers ------------------------------------------------------------------------
    std::vector<NameAnswer> NameAnswers;  // the name dialog's next answers, in order
    // Each name dialog as it opened: caption|name label|clone label|name|clone items (joined by ",").
    std::vector<std::string> NameDialogs;
    std::vector<int> BoxAnswers;         // the next message boxes' results, in order
    std::vector<std::string> Messages;   // the text of every message box
    // Other modal forms (the default answer is Cancel).
    std::function<TDialogAnswer(TCustomForm*)> OnModalForm;
    // File, folder and popup requests (the default answer is Cancel).
    std::function<TDialogAnswer(const TDialogRequest&)> OnOtherDialog;

    std::string dir_;
    mainwindow::TKOVAForm1* form_ = nullptr;

private:
    TDialogAnswer Answer(const TDialogRequest& r);
    std::vector<HWND> windows_;
    bool autoSkinning_ = false;
    HOOKPROC savedHook_ = nullptr;
    std::function<void()> savedFree_;
};

}  // namespace kova::test
