#include "mainwindow/mainform/calculatorlink.h"

#include "pushfold/forms/calcform.h"
#include "tables/adapters/ongame/ongame.h"

namespace kova::mainwindow {

namespace pf = kova::pushfold::forms;
namespace t = kova::tables;

namespace {

// The adapter's own hand-history reading, as the calculator browses it:
// hand n read and parsed, the situation after it shown.
std::shared_ptr<pf::THandSource> OngameHandSource(t::TOngameTournament& table) {
    auto source = std::make_shared<pf::TCallbackHandSource>();
    source->Select = [&table](int n) { return table.ReadHistoryHand(n); };
    source->Parse = [&table](poker::THH& hand, poker::TTournamentInfo& tournament) {
        if (!table.ParseLoadedHand()) return false;
        hand = table.Hand.After;
        tournament = table.Tournament;
        return true;
    };
    source->Lines = [&table] { return table.HandLines; };
    return source;
}

// Lives as long as the table: the window is found by the table's key, so a
// calculator the user closed is simply made again by the next hand.
class TCalculatorLink : public t::TTableCalculator {
public:
    explicit TCalculatorLink(t::TPokerTable& table) : table_(table) {}
    // The table goes: so does its calculator, its calculation cancelled.
    ~TCalculatorLink() override { pf::CloseCalculator(&table_); }

    void ShowHand(const t::TCalculatorHand& hand) override {
        pf::TCalculatorRequest request;
        request.Table = &table_;
        if (auto* ongame = dynamic_cast<t::TOngameTournament*>(&table_)) request.Source = OngameHandSource(*ongame);
        request.Tournament = hand.Tournament;
        request.TypeName = hand.TableType;
        request.Hand = hand.Hand;
        request.HandNumber = hand.HandNumber;
        pf::ShowCalculator(request);
    }

    void SetShown(bool shown) override {
        // Shown again, the window comes with the next hand (ShowHand).
        if (pf::TForm2* form = Form(); form && !shown) form->Hide();
    }

    void RefreshModels() override {
        if (pf::TForm2* form = Form()) form->SelectDefaultModel();
    }

    bool Position(int32_t& left, int32_t& top) const override {
        pf::TForm2* form = Form();
        if (!form) return false;
        left = form->Left();
        top = form->Top();
        return true;
    }

    void MoveTo(int32_t left, int32_t top) override {
        if (pf::TForm2* form = Form()) form->SetBounds(left, top, form->Width(), form->Height());
    }

private:
    pf::TForm2* Form() const { return pf::CalculatorOf(&table_); }
    t::TPokerTable& table_;
};

}  // namespace

std::unique_ptr<t::TTableCalculator> MakeTableCalculator(t::TPokerTable& table) {
    return std::make_unique<TCalculatorLink>(table);
}

}  // namespace kova::mainwindow
