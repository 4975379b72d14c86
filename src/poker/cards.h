#pragma once
// Cards, starting-hand classes and the seven-card evaluator of the push/fold
// calculator. Kept apart from the rest of the calculator so that the equity
// generator can be built without the tables it produces.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kova::poker {

// A card is 0..51: rank index (0 = deuce .. 12 = ace) times 4 plus the suit.
constexpr int CardRank(int card) { return card >> 2; }
constexpr int CardSuit(int card) { return card & 3; }
constexpr int MakeCard(int rank, int suit) { return rank * 4 + suit; }

// A set of cards as a bit mask: bit suit * 16 + rank. Each suit's ranks form
// one 13-bit group so the evaluator reads them with a shift.
using CardMask = std::uint64_t;
constexpr CardMask CardBit(int card) {
  return CardMask{1} << (CardSuit(card) * 16 + CardRank(card));
}

// Value of the best five-card poker hand among 5 to 7 cards; a higher value
// is a better hand, equal values split. The category sits in bits 26 and up
// (0 high card .. 8 straight flush).
std::uint32_t EvaluateHand(CardMask cards);
constexpr int HandCategory(std::uint32_t value) { return static_cast<int>(value >> 26); }

// Starting-hand classes 0..168 on the 13 by 13 grid of the ranks
// "23456789TJQKA": first rank h / 13 + 1, second rank h % 13 + 1 (1-based);
// equal ranks are a pair, a higher second rank a suited hand, a higher first
// rank an offsuit hand.
constexpr int kHandClassCount = 169;
constexpr int kComboCount = 1326;
constexpr char kRankLetters[] = "23456789TJQKA";

constexpr int HandFirstRank(int hand) { return hand / 13 + 1; }
constexpr int HandSecondRank(int hand) { return hand % 13 + 1; }
constexpr bool HandIsPair(int hand) { return HandFirstRank(hand) == HandSecondRank(hand); }
constexpr bool HandIsSuited(int hand) { return HandSecondRank(hand) > HandFirstRank(hand); }
constexpr int HandCombos(int hand) { return HandIsPair(hand) ? 6 : (HandIsSuited(hand) ? 4 : 12); }

// The class of a pair, a suited or an offsuit hand from 1-based ranks.
constexpr int PairHand(int rank) { return (rank - 1) * 13 + (rank - 1); }
constexpr int SuitedHand(int high, int low) { return (low - 1) * 13 + (high - 1); }
constexpr int OffsuitHand(int high, int low) { return (high - 1) * 13 + (low - 1); }

// "AA", "AKs", "AKo".
std::string HandName(int hand);
// Reads "AA", "AKs", "AKo" (also "KAs", lower-case letters and "10" for ten);
// -1 when the text is not a hand class.
int ParseHandClass(std::string_view text);

struct HoleCards {
  int first = 0;
  int second = 0;
};
// Every card combination of a class (6, 4 or 12).
std::vector<HoleCards> HandComboList(int hand);
// The class of two distinct cards.
int HandClassOfCards(int card1, int card2);

// Showdown counts of one pair of hole cards over every five-card board from
// the 48 remaining cards.
struct ShowdownCounts {
  std::uint64_t win = 0;
  std::uint64_t tie = 0;
  std::uint64_t lose = 0;
};
ShowdownCounts CountShowdowns(HoleCards first, HoleCards second);

// The boards of five from 48 cards.
constexpr std::uint64_t kBoardsPerMatchup = 1712304;

// The card-compatible combination pairs of two classes, grouped by suit
// isomorphism: each group is one representative with the number of pairs
// that a suit permutation maps onto it. All members of a group have the same
// showdown counts, so only representatives need enumerating.
struct MatchupGroup {
  HoleCards first;
  HoleCards second;
  std::uint32_t multiplicity = 0;
};
std::vector<MatchupGroup> MatchupGroups(int handA, int handB);

// The number of combinations of class b that share no card with one fixed
// combination of class a (the same for every combination of a).
int CompatibleCombos(int handA, int handB);

}  // namespace kova::poker
