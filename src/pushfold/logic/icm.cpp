#include "pushfold/logic/icm.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace kova::pushfold {

std::vector<double> ICMEquities(std::span<const double> stacks, std::span<const double> payouts) {
  const int n = static_cast<int>(stacks.size());
  if (n > kMaxIcmPlayers) return {};
  std::vector<double> equity(n, 0.0);
  double total = 0;
  for (double s : stacks) total += std::max(0.0, s);
  const int places = std::min<int>(static_cast<int>(payouts.size()), n);
  if (total <= 0 || places == 0) return equity;

  // prob[S]: chance that exactly the players of S took the first |S| places.
  // Only sets smaller than the paid places matter, so the work is bounded by
  // the number of such sets rather than the orderings of all players.
  const std::uint32_t full = std::uint32_t{1} << n;
  std::vector<double> prob(full, 0.0);
  std::vector<double> placedChips(full, 0.0);
  prob[0] = 1.0;
  for (std::uint32_t set = 0; set < full; ++set) {
    const int placed = std::popcount(set);
    if (placed >= places) continue;
    if (set != 0) {
      const std::uint32_t low = set & (~set + 1);
      placedChips[set] = placedChips[set ^ low] + std::max(0.0, stacks[std::countr_zero(low)]);
    }
    const double p = prob[set];
    if (p == 0) continue;
    const double left = total - placedChips[set];
    if (left <= 0) continue;
    for (int i = 0; i < n; ++i) {
      if (set & (std::uint32_t{1} << i) || !(stacks[i] > 0)) continue;
      const double next = p * stacks[i] / left;
      equity[i] += next * payouts[placed];
      if (placed + 1 < places) prob[set | (std::uint32_t{1} << i)] += next;
    }
  }
  return equity;
}

}  // namespace kova::pushfold
