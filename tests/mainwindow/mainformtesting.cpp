#include "mainwindow/mainformtesting.h"

#include <commctrl.h>

#include <filesystem>
#include <set>
#include <system_error>

#include "mainwindow/dialogs/toolforms.h"
#include "mainwindow/editors/autoplace/createnewconfig.h"
#include "skin/core/skinservices.h"
#include "skin/forms/autohook.h"
#include "tables/files/userini.h"
#include "tables/model/engineservices.h"

namespace kova::test {

using mainwindow::TKOVAForm1;

void MainFormTesting::SetUp() {
    RegisterFrameworkClasses();
    dir_ = TempDir();
    TKOVAForm1::DataFolderOverride = dir_;
    tables::ResetEngine();
    SetDialogResponder([this](const TDialogRequest& r) { return Answer(r); });
}

void MainFormTesting::TearDown() {
    // The tool forms belong to the application (the program makes them at
    // start); those a test opened go with the test.
    if (mainwindow::TGrabberForm) mainwindow::TGrabberForm->Free();
    if (mainwindow::WindowCapture) mainwindow::WindowCapture->Free();
    if (form_) form_->Free();
    form_ = nullptr;
    for (HWND w : windows_) DestroyWindow(w);
    windows_.clear();
    SetDialogResponder(nullptr);
    TKOVAForm1::DataFolderOverride.clear();
    Application()->OnMinimize = nullptr;
    tables::ResetEngine();
    if (autoSkinning_) {
        // The manager went with the form, and its hook with what it made:
        // the services are as before the test.
        skin::FormSkinning().DialogHookProc = savedHook_;
        skin::FormSkinning().FreeDialogProviders = savedFree_;
        autoSkinning_ = false;
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void MainFormTesting::SkinLikeTheProgram() {
    savedHook_ = skin::FormSkinning().DialogHookProc;
    savedFree_ = skin::FormSkinning().FreeDialogProviders;
    skin::InstallAutoSkinning();
    autoSkinning_ = true;
}

void MainFormTesting::WriteUserIni() {
    tables::TUserOptions defaults;
    defaults.UnderMouse = 1;  // one of the two radio buttons is always on
    ASSERT_TRUE(tables::SaveUserIni(Path("user.ini"), defaults));
}

TKOVAForm1* MainFormTesting::Open() {
    form_ = TCustomForm::Create<TKOVAForm1>(Application());
    form_->Show();
    EXPECT_TRUE(WaitUntil([&] { return form_->FirstActivationDone(); }));
    return form_;
}

void MainFormTesting::CloseForm() {
    if (!form_) return;
    form_->Close();
    form_->Free();
    form_ = nullptr;
    PumpMessages();
}

TKOVAForm1* MainFormTesting::Restart() {
    CloseForm();
    if (mainwindow::TGrabberForm) mainwindow::TGrabberForm->Free();
    if (mainwindow::WindowCapture) mainwindow::WindowCapture->Free();
    tables::ResetEngine();
    return Open();
}

HWND MainFormTesting::OpenWindow(const std::string& className, const std::string& title, const RECT& bounds) {
    static std::set<std::string> registered;
    if (!registered.count(className)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className.c_str();
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        EXPECT_NE(RegisterClassExA(&wc), 0) << className;
        registered.insert(className);
    }
    HWND w = CreateWindowExA(WS_EX_TOPMOST, className.c_str(), title.c_str(), WS_POPUP | WS_VISIBLE, bounds.left,
                             bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr) << className;
    if (w) windows_.push_back(w);
    PumpMessages();
    return w;
}

// ---- input -------------------------------------------------------------------------------

void MainFormTesting::Notify(TWinControl* c, WORD code) {
    ASSERT_NE(c, nullptr);
    SendMessageA(GetParent(c->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c->Handle()), code),
                 reinterpret_cast<LPARAM>(c->Handle()));
}

void MainFormTesting::Click(TWinControl* c) {
    ASSERT_NE(c, nullptr);
    SendMessageA(c->Handle(), BM_CLICK, 0, 0);
}

void MainFormTesting::Type(TWinControl* c, const std::string& text) {
    ASSERT_NE(c, nullptr);
    // The edit itself (a combo's own edit) gets its whole text replaced, as
    // typing over a selection does: it reports the change, and a combo
    // lets go of its chosen item as for the user's typing.
    HWND edit = c->Handle();
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (dynamic_cast<TComboBox*>(c)) {
        const bool list = (GetWindowLongA(c->Handle(), GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
        ASSERT_TRUE(!list && GetComboBoxInfo(c->Handle(), &combo) && combo.hwndItem) << c->Name() << " takes no typing";
        edit = combo.hwndItem;
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(WindowText(c->Handle()), text) << c->Name();
}

void MainFormTesting::Choose(TComboBox* c, const std::string& item) {
    ASSERT_NE(c, nullptr);
    const LRESULT i = SendMessageA(c->Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_NE(i, CB_ERR) << "no item " << item << " in " << c->Name();
    Choose(c, static_cast<int>(i));
}

void MainFormTesting::Choose(TComboBox* c, int index) {
    ASSERT_NE(c, nullptr);
    ASSERT_NE(SendMessageA(c->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0), CB_ERR)
        << "no item " << index << " in " << c->Name();
    Notify(c, CBN_SELCHANGE);
}

void MainFormTesting::Select(TCustomListBox* list, int index) {
    ASSERT_NE(list, nullptr);
    ASSERT_NE(SendMessageA(list->Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0), LB_ERR)
        << "no item " << index << " in " << list->Name();
    Notify(list, LBN_SELCHANGE);
}

void MainFormTesting::Select(TCustomListBox* list, const std::string& item) {
    ASSERT_NE(list, nullptr);
    const LRESULT i = SendMessageA(list->Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_NE(i, LB_ERR) << "no item " << item << " in " << list->Name();
    Select(list, static_cast<int>(i));
}

void MainFormTesting::ToggleItem(TCheckListBox* list, int index) {
    ASSERT_NE(list, nullptr);
    SendMessageA(list->Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT r{};
    ASSERT_NE(SendMessageA(list->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)),
              LB_ERR);
    const LPARAM at = MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
}

void MainFormTesting::Tick(TCheckBox* box, bool ticked) {
    ASSERT_NE(box, nullptr);
    if (box->Checked() != ticked) Click(box);
    EXPECT_EQ(box->Checked(), ticked) << box->Name();
}

void MainFormTesting::ReleaseKey(TWinControl* c, WORD vk) {
    ASSERT_NE(c, nullptr);
    SendMessageA(c->Handle(), WM_KEYUP, vk, 0xC0000001);
}

void MainFormTesting::ShowPage(const std::string& sheetName) {
    ShowPage(form_->PageControl1, Find<TTabSheet>(sheetName));
}

void MainFormTesting::ShowPage(TPageControl* pages, TTabSheet* sheet) {
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(sheet, nullptr);
    const int tab = sheet->TabIndex();
    ASSERT_GE(tab, 0) << sheet->Name() << " has no tab shown";
    RECT r{};
    ASSERT_TRUE(TabCtrl_GetItemRect(pages->Handle(), tab, &r));
    // The tab control itself tells its parent of the change, as for a
    // user's click.
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(pages->ActivePage(), sheet) << sheet->Name();
}

// ---- answers -----------------------------------------------------------------------------------

TDialogAnswer MainFormTesting::Answer(const TDialogRequest& r) {
    TDialogAnswer a;
    switch (r.kind) {
        case TDialogKind::Message: {
            Messages.push_back(r.text);
            if (!BoxAnswers.empty()) {
                a.result = BoxAnswers.front();
                BoxAnswers.erase(BoxAnswers.begin());
            } else {
                a.result = (r.buttons & mbYes) ? mrYes : mrOk;
            }
            return a;
        }
        case TDialogKind::ModalForm: {
            auto* dialog = dynamic_cast<mainwindow::TCreateNewConfig*>(r.form);
            if (!dialog) return OnModalForm ? OnModalForm(r.form) : a;
            std::string items;
            for (int i = 0; i < dialog->ComboBox1->Items()->Count(); ++i)
                items += (i ? "," : "") + dialog->ComboBox1->Items()->Strings(i);
            NameDialogs.push_back(dialog->Caption() + "|" + dialog->Label1->Caption() + "|" +
                                  dialog->Label2->Caption() + "|" + dialog->ConfigName->Text() + "|" + items);
            if (NameAnswers.empty()) {
                ADD_FAILURE() << "the name dialog opened without an answer: " << NameDialogs.back();
                return a;
            }
            const NameAnswer n = NameAnswers.front();
            NameAnswers.erase(NameAnswers.begin());
            if (!n.name.empty()) Type(dialog->ConfigName, n.name);
            if (n.clone >= 0) Choose(dialog->ComboBox1, n.clone);
            a.result = n.result;
            return a;
        }
        default:
            return OnOtherDialog ? OnOtherDialog(r) : a;
    }
}

}  // namespace kova::test
