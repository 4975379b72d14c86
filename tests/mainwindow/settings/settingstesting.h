#pragma once
// The main form in this process for the settings and small-dialog tests:
// a scratch data folder, every box and modal form answered through the
// dialog seam, and controls driven by the window messages a user's input
// makes.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/win32_testing.h"
#include "framework/dialogs.h"
#include "mainwindow/mainform/main.h"
#include "mainwindow/mainform/testfiles.h"
#include "tables/model/engineservices.h"

namespace kova::test {

class SettingsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterFrameworkClasses();
        dir_ = TempDir();
        mainwindow::TKOVAForm1::DataFolderOverride = dir_;
        mainwindow::TKOVAForm1::OnCloseSaveStep = [this](const std::string& f) { saved_.push_back(f); };
        tables::ResetEngine();
        SetDialogResponder([this](const TDialogRequest& r) {
            TDialogAnswer a;
            a.result = mrOk;
            if (r.kind == TDialogKind::ModalForm) {
                modalForms_.push_back(r.form);
                return onModal_ ? onModal_(r.form) : a;
            }
            messages_.push_back(r.text);
            return a;
        });
    }

    void TearDown() override {
        if (form_) form_->Free();
        SetDialogResponder(nullptr);
        mainwindow::TKOVAForm1::DataFolderOverride.clear();
        mainwindow::TKOVAForm1::OnCloseSaveStep = nullptr;
        tables::ResetEngine();
    }

    std::string Path(const std::string& name) const { return dir_ + "\\" + name; }

    mainwindow::TKOVAForm1* Open() {
        form_ = TCustomForm::Create<mainwindow::TKOVAForm1>(Application());
        form_->Show();
        EXPECT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
        return form_;
    }

    template <class C>
    C* Find(TComponent* owner, const std::string& name) {
        auto* c = dynamic_cast<C*>(owner->FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    // ---- input as the system reports it ---------------------------------------------
    static void Notify(TWinControl* c, WORD code) {
        SendMessageA(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), code),
                     reinterpret_cast<LPARAM>(c->Handle()));
    }
    static void Click(TWinControl* c) { SendMessageA(c->Handle(), BM_CLICK, 0, 0); }
    static void Type(TWinControl* c, const std::string& text) { SetWindowTextA(c->Handle(), text.c_str()); }
    // Picks an item of a drop-down list by its text, as a click in the list does.
    static void Choose(TComboBox* c, const std::string& item) {
        const LRESULT i = SendMessageA(c->Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str()));
        ASSERT_NE(i, CB_ERR) << item;
        SendMessageA(c->Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        Notify(c, CBN_SELCHANGE);
    }
    // A key let go while the combo has the keyboard.
    static void ReleaseKey(TWinControl* c, WORD vk) { SendMessageA(c->Handle(), WM_KEYUP, vk, 0xC0000001); }

    std::string dir_;
    mainwindow::TKOVAForm1* form_ = nullptr;
    std::vector<std::string> messages_;
    std::vector<std::string> saved_;
    std::vector<TCustomForm*> modalForms_;
    // Answers a modal form (the default answers OK without touching it).
    std::function<TDialogAnswer(TCustomForm*)> onModal_;
};

// Whether another window could take the combination now (it is free).
inline bool CombinationFree(UINT modifiers, UINT key) {
    HWND probe = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const bool free = RegisterHotKey(probe, 0x7001, modifiers, key) != FALSE;
    if (free) UnregisterHotKey(probe, 0x7001);
    DestroyWindow(probe);
    return free;
}

}  // namespace kova::test
