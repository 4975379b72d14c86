// Demo of the form framework: a form read from its description (TDemoForm.txt
// beside this file, compiled in as a resource), with a page control, edits,
// combo boxes, a check list box, a string grid, a memo and a scroll box whose
// rows are added at run time.
#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/grids.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"

#include <string>

using namespace kova;

class TDemoForm : public TForm {
    KOVA_CLASS(TDemoForm, TForm)
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner) {
        BindField("RowsBox", RowsBox);
        BindField("LogMemo", LogMemo);
        BindField("AddRowBtn", AddRowBtn);
        RegisterMethod("FormCreate", TNotifyEvent([this](TObject*) { FormCreate(); }));
        RegisterMethod("AddRowBtnClick", TNotifyEvent([this](TObject*) { AddRow(); }));
        RegisterMethod("Timer1Timer", TNotifyEvent([this](TObject*) {
            LogMemo->AppendLine("Tick " + std::to_string(++ticks_));
        }));
    }

    TScrollBox* RowsBox = nullptr;
    TMemo* LogMemo = nullptr;
    TButton* AddRowBtn = nullptr;

private:
    void FormCreate() {
        LogMemo->SetMaxLines(500);
        for (int i = 0; i < 8; ++i) AddRow();
        if (auto* opts = dynamic_cast<TCheckListBox*>(FindComponent("Options"))) {
            opts->SetChecked(0, true);
            opts->SetChecked(2, true);
        }
        if (auto* grid = dynamic_cast<TStringGrid*>(FindComponent("SlotGrid"))) {
            const char* heads[] = {"Slot", "Left", "Top", "Width", "Height"};
            for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, heads[c]);
            for (int r = 1; r < grid->RowCount(); ++r) {
                grid->SetCells(0, r, std::to_string(r));
                for (int c = 1; c < 5; ++c) grid->SetCells(c, r, std::to_string(r * 10 + c * 100));
            }
        }
        LogMemo->AppendLine("Demo started");
    }
    void AddRow() {
        int i = rows_++;
        const int top = 4 + i * 26 - RowsBox->VertScrollPos();
        auto* label = new TLabel(this);
        label->SetParent(RowsBox);
        label->SetCaption("Slot " + std::to_string(i + 1));
        label->SetBounds(6, top + 3, 50, 15);
        for (int k = 0; k < 4; ++k) {
            auto* e = new TEdit(this);
            e->SetParent(RowsBox);
            e->SetBounds(58 + k * 38, top, 35, 21);
            e->SetText(std::to_string((i + 1) * (k + 1) * 10));
        }
        RowsBox->UpdateScrollBars();
        LogMemo->AppendLine("Row " + std::to_string(i + 1) + " added");
    }
    int rows_ = 0;
    int ticks_ = 0;
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RegisterFrameworkClasses();
    Application()->SetTitle("KOVA framework demo");
    TDemoForm* form = nullptr;
    try {
        Application()->CreateForm(form);
        Application()->Run();
    } catch (const std::exception& e) {
        Application()->ShowException(e.what());
        return 1;
    }
    FinalizeApplication();
    return 0;
}
