#include "pushfold/logic/situation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory_resource>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "framework/portable/scope.h"
#include "pushfold/logic/icm.h"

namespace kova::pushfold {

namespace {

// Probabilities come from user-typed percentages; anything outside 0..1
// would give negative branch weights.
double Clamp01(double v) { return v > 0 ? (v < 1 ? v : 1.0) : 0.0; }

std::string Format(const char* fmt, auto... args) {
  char buf[256];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

// The "00.00" picture: at least two integer digits and two decimals.
std::string Percent2(double v) {
  const double a = std::fabs(v);
  std::string s = Format("%05.2f", a);
  return (v < 0 && s != "00.00") ? "-" + s : s;
}

}  // namespace

// What repeats between the situations one thread values: every showdown of
// the same two action probabilities has the same ranges, so the same
// chances. Its entries live in blocks handed back whole, so that a thread
// ends at once however many it met.
struct TSituation::Memo {
  struct Key {
    std::uint64_t first = 0, second = 0;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return static_cast<std::size_t>(k.first * 0x9E3779B97F4A7C15ull ^ (k.second + (k.first >> 29)));
    }
  };
  std::pmr::monotonic_buffer_resource arena;
  std::pmr::unordered_map<Key, TEquity, KeyHash> showdowns{&arena};

  TEquity Showdown(double first, double second) {
    const Key key{std::bit_cast<std::uint64_t>(first), std::bit_cast<std::uint64_t>(second)};
    const auto found = showdowns.find(key);
    if (found != showdowns.end()) return found->second;
    const TEquity e = RangeVsRangeEquity(TopRange(first), TopRange(second));
    showdowns.emplace(key, e);
    return e;
  }
};

// The next hands valued so far, shared by the threads of one calculation:
// a table met again is answered from here instead of being played out
// again. Entries are kept until the calculation ends, as long as they fit
// under the ceiling; past it new ones are played out but not kept. The last
// hands of the look-ahead are kept by each thread apart (Context), in room
// counted against the same ceiling.
class TSituation::Cache {
 public:
  explicit Cache(std::size_t ceiling) : ceiling_(ceiling) {}

  bool Find(const TNextHandKey& key, HandValue& value) {
    Shard& shard = ShardOf(key);
    const std::lock_guard<std::mutex> lock(shard.lock);
    const auto found = shard.map.find(key);
    if (found == shard.map.end()) return false;
    value = found->second;
    reused_.fetch_add(1, std::memory_order_relaxed);
    return true;
  }

  void Keep(const TNextHandKey& key, const HandValue& value) {
    played_.fetch_add(1, std::memory_order_relaxed);
    // Reserve the room first, so that the threads together never pass the
    // ceiling.
    std::size_t used = bytes_.load(std::memory_order_relaxed);
    do {
      if (used + kEntryBytes > ceiling_) return;
    } while (!bytes_.compare_exchange_weak(used, used + kEntryBytes, std::memory_order_relaxed));
    Shard& shard = ShardOf(key);
    bool added = false;
    {
      const std::lock_guard<std::mutex> lock(shard.lock);
      added = shard.map.emplace(key, value).second;
    }
    if (!added) bytes_.fetch_sub(kEntryBytes, std::memory_order_relaxed);
  }

  // Room for `bytes` kept elsewhere, counted against the ceiling; false,
  // and nothing counted, when it does not fit.
  bool Reserve(std::size_t bytes) {
    std::size_t used = bytes_.load(std::memory_order_relaxed);
    do {
      if (used + bytes > ceiling_) return false;
    } while (!bytes_.compare_exchange_weak(used, used + bytes, std::memory_order_relaxed));
    return true;
  }

  // A hand met again before it was kept, or kept elsewhere.
  void NoteReused() { reused_.fetch_add(1, std::memory_order_relaxed); }
  // A hand played out and kept elsewhere.
  void NotePlayed() { played_.fetch_add(1, std::memory_order_relaxed); }

  TNextHandStats Stats() const {
    TNextHandStats s;
    s.Played = played_.load();
    s.Reused = reused_.load();
    // Nothing is dropped before the end: the peak is what is kept now.
    s.PeakBytes = bytes_.load();
    s.CeilingBytes = ceiling_;
    return s;
  }

  struct KeyHash {
    std::size_t operator()(const TNextHandKey& k) const {
      std::uint64_t h = 0xCBF29CE484222325ull;
      const auto mix = [&h](std::uint64_t v) {
        h ^= v;
        h *= 0x100000001B3ull;
        h ^= h >> 29;
      };
      mix(static_cast<std::uint32_t>(k.Depth) | std::uint64_t{static_cast<std::uint32_t>(k.Count)} << 32);
      mix(static_cast<std::uint32_t>(k.Hero) | std::uint64_t{static_cast<std::uint32_t>(k.Button)} << 32);
      mix(static_cast<std::uint32_t>(k.SmallBlindSeat) | std::uint64_t{static_cast<std::uint32_t>(k.BigBlindSeat)} << 32);
      mix(static_cast<std::uint32_t>(k.NextPlace));
      for (std::int32_t v : k.Place) mix(static_cast<std::uint32_t>(v));
      for (std::uint64_t v : k.Blinds) mix(v);
      for (int i = 0; i < k.Count && i < kMaxPlayers; ++i) {
        mix(static_cast<std::uint32_t>(k.Player[i]) | std::uint64_t{static_cast<std::uint32_t>(k.Seat[i])} << 32);
        mix(k.Stack[i]);
      }
      return static_cast<std::size_t>(h);
    }
  };
 private:
  // The entries live in blocks that are handed back whole: a calculation
  // cancelled with a full cache returns at once instead of freeing each
  // entry on its own.
  struct Shard {
    std::mutex lock;
    std::pmr::monotonic_buffer_resource arena;
    std::pmr::unordered_map<TNextHandKey, HandValue, KeyHash> map{&arena};
  };
  // The key, the value, the map's node and its share of the bucket array.
  static constexpr std::size_t kEntryBytes = sizeof(TNextHandKey) + sizeof(HandValue) + 4 * sizeof(void*);
  static constexpr std::size_t kShards = 64;

  Shard& ShardOf(const TNextHandKey& key) { return shards_[KeyHash{}(key) % kShards]; }

  std::size_t ceiling_;
  std::array<Shard, kShards> shards_;
  std::atomic<std::size_t> bytes_{0};
  std::atomic<std::int64_t> played_{0};
  std::atomic<std::int64_t> reused_{0};
};

// What one thread values rows with.
struct TSituation::Context {
  Context(Memo& m, Cache& c, TSituationProgress* p) : memo(m), cache(c), progress(p) {
    // As many slots as the ceiling leaves room for, up to the full count.
    std::size_t slots = kRecentSlots;
    while (slots > 0 && !cache.Reserve(slots * sizeof(Recent))) slots /= 2;
    recent.resize(slots);
  }
  Memo& memo;
  Cache& cache;
  TSituationProgress* progress = nullptr;  // credited kRowTicks per row valued
  TIcmRows icm;  // the last hands' rows
  // The same by pair sums, in a look-ahead deep enough to want them.
  std::optional<TIcmRowsQuick> quick;
  // The last hands this thread valued lately, one per slot of their key's
  // hash. Almost every last hand is met once: in the shared cache they
  // would fill the room the deeper hands need, and each lookup there, far
  // away in memory and behind a lock, costs more than the few it finds
  // save. A last hand met again is often met soon after, near the same
  // branch, and then found here.
  struct Recent {
    TNextHandKey key;
    HandValue value;
    bool used = false;
  };
  static constexpr std::size_t kRecentSlots = std::size_t{1} << 10;
  std::vector<Recent> recent;  // a power of two long, or empty
  Recent* RecentSlot(const TNextHandKey& key) {
    return recent.empty() ? nullptr : &recent[Cache::KeyHash{}(key) & (recent.size() - 1)];
  }

  // A next hand being played out, where its value goes, and the next of its
  // rows to value.
  struct Frame {
    TSituation* hand = nullptr;  // one of `hands`
    TNextHandKey key;
    const TSituation* parent = nullptr;
    TPositionValues* target = nullptr;
    int branch = 0;
    int row = -1;
  };
  // The hands being played out, the first next hand at the bottom. Frames
  // and hands are kept from row to row: the millions of next hands a deep
  // look-ahead meets are seated into the few objects of one line of play
  // instead of each taking and giving back memory of its own, and a thread
  // stopped mid-way hands back as little as it holds.
  std::vector<Frame> frames;
  std::vector<std::unique_ptr<TSituation>> hands;  // one per frame depth
  TSituation& HandAt(std::size_t depth) {
    while (hands.size() <= depth) hands.emplace_back(new TSituation());
    return *hands[depth];
  }
};

namespace {
// A row handed to a thread counts as this many ticks of progress, credited
// as the rows of its next hand are valued: a row that plays out a deep
// look-ahead shows its progress long before it is done.
constexpr std::int64_t kRowTicks = 1000;
}  // namespace

// Plays out the look-ahead of a situation on several threads. Every row of
// a branch is valued on its own; when the situation has too few rows to keep
// the threads busy and to count the work in small steps, the next hands of
// its rows are opened and their rows shared out instead, level by level. Each value comes from the same code and
// the sums run in the same order as on one thread, so the results do not
// depend on the number of threads.
class TSituation::LookAhead {
 public:
  LookAhead(TSituation& top, Memo& memo, Cache& cache) : top_(top), memo_(memo), cache_(cache) {}

  // False when stopped by the cancel flag.
  bool Run() {
    int threads = ThreadCount(top_.options_.Threads);
    std::vector<Row> rows;
    AddRows(top_, rows);
    // Next hands opened here, parents before their children.
    std::vector<Opened> opened;
    // Where each level of opened hands starts in `opened`; a hand met twice
    // is opened once, the second row taking the first one's value.
    std::vector<std::size_t> levels;
    std::unordered_map<TNextHandKey, std::size_t, Cache::KeyHash> openedByKey;
    const std::size_t enough = std::max(static_cast<std::size_t>(threads) * kRowsPerThread, kRowsForProgress);
    while (rows.size() < enough) {
      std::vector<Row> deeper;
      bool any = false;
      levels.push_back(opened.size());
      for (const Row& r : rows) {
        TSituation& s = *r.owner;
        if (s.options_.Depth <= 0) {
          deeper.push_back(r);
          continue;
        }
        if (s.StopRequested()) return false;
        NextHandInputs in;
        if (!s.NextHandOf(s.RowStacks(r.branch, r.row), in, s.branches_[r.branch].Equity[r.row])) continue;
        Opened o{r, nullptr, s.KeyOf(in)};
        const auto [first, fresh] = openedByKey.emplace(o.key, opened.size());
        if (!fresh) {
          o.same = first->second;
          cache_.NoteReused();
        } else {
          TSituationOptions options = s.options_;
          options.Depth = s.options_.Depth - 1;
          o.next.reset(new TSituation(in, options));
          o.next->Prepare(memo_);
          AddRows(*o.next, deeper);
          any = true;
        }
        opened.push_back(std::move(o));
      }
      rows = std::move(deeper);
      if (!any) break;
    }
    // Starting threads costs more than a small look-ahead takes.
    if (Work(rows) < kWorkForThreads) threads = 1;
    if (TSituationProgress* progress = top_.options_.Progress) {
      progress->Done = 0;
      progress->Total = static_cast<std::int64_t>(rows.size()) * kRowTicks;
    }
    if (!ValueInParallel(rows, threads)) return false;
    // The deepest level first: a hand is valued once all its rows are.
    std::vector<HandValue> values(opened.size());
    std::size_t end = opened.size();
    for (auto level = levels.rbegin(); level != levels.rend(); ++level) {
      for (std::size_t i = *level; i < end; ++i) {
        Opened& o = opened[i];
        if (!o.next) continue;
        o.next->CombineShowdowns();
        values[i] = o.next->ValueOfHand();
        cache_.Keep(o.key, values[i]);
      }
      for (std::size_t i = *level; i < end; ++i) {
        const Opened& o = opened[i];
        const HandValue& v = values[o.next ? i : o.same];
        o.at.owner->branches_[o.at.branch].Equity[o.at.row] = o.at.owner->ValueFromNextHand(v);
      }
      end = *level;
    }
    top_.CombineShowdowns();
    return true;
  }

 private:
  // Enough rows per thread that one slow row does not leave the others idle
  // for long.
  static constexpr std::size_t kRowsPerThread = 8;
  // Enough rows that the share of them done moves in small steps however
  // deep the look-ahead; few enough that the hands opened for them take
  // little memory.
  static constexpr std::size_t kRowsForProgress = 1024;
  static constexpr int kMaxThreads = 64;
  // In ICM valuations, each well under a microsecond: a few milliseconds.
  static constexpr double kWorkForThreads = 8192;

  struct Row {
    TSituation* owner = nullptr;
    int branch = 0;
    int row = 0;
  };
  struct Opened {
    Row at;
    std::unique_ptr<TSituation> next;  // null: the same hand as opened[same]
    TNextHandKey key;
    std::size_t same = 0;
  };

  static int ThreadCount(int asked) {
    if (asked > 0) return std::min(asked, kMaxThreads);
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min<unsigned>(cores, kMaxThreads));
  }

  // About how many ICM valuations the rows stand for: a row valued d hands
  // ahead plays out about as many rows again in each of those hands.
  static double Work(const std::vector<Row>& rows) {
    double work = 0;
    const TSituation* owner = nullptr;
    double perRow = 0;
    for (const Row& r : rows) {
      if (r.owner != owner) {
        owner = r.owner;
        double ownerRows = 0;
        for (int b = 0; b < static_cast<int>(owner->branches_.size()); ++b) {
          ownerRows += owner->LastRow(b) - owner->FirstRow(b) + 1;
        }
        perRow = 1;
        // Any depth may be asked; past the threshold the figure adds nothing.
        for (int d = 0; d < owner->options_.Depth && perRow < kWorkForThreads; ++d) perRow *= ownerRows;
      }
      work += perRow;
    }
    return work;
  }

  static void AddRows(TSituation& s, std::vector<Row>& rows) {
    for (int b = 0; b < static_cast<int>(s.branches_.size()); ++b) {
      for (int row = s.FirstRow(b); row <= s.LastRow(b); ++row) rows.push_back({&s, b, row});
    }
  }

  // Every row valued, each thread taking the next one not yet taken; false
  // when stopped. Returns only when every thread has finished.
  bool ValueInParallel(const std::vector<Row>& rows, int threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&](Memo* shared) {
      try {
        Memo own;
        auto context = std::make_unique<Context>(shared ? *shared : own, cache_, top_.options_.Progress);
        if (top_.options_.Depth >= kQuickIcmDepth) context->quick.emplace();
        for (std::size_t i = next++; i < rows.size(); i = next++) {
          const Row& r = rows[i];
          if (stop.load(std::memory_order_relaxed) || r.owner->StopRequested() ||
              !r.owner->ValueRow(r.branch, r.row, *context)) {
            stop = true;
            return;
          }
        }
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
        stop = true;
      }
    };
    {
      const std::size_t count = std::min(static_cast<std::size_t>(threads), rows.size());
      std::vector<std::thread> helpers;
      helpers.reserve(count);
      // Every helper is joined however the rows end.
      const TScopeExit joiner([&helpers] {
        for (std::thread& t : helpers) t.join();
      });
      for (std::size_t t = 1; t < count; ++t) {
        try {
          helpers.emplace_back(work, nullptr);
        } catch (const std::system_error&) {
          break;  // the threads there are share the rows
        }
      }
      work(&memo_);
    }
    if (failure) std::rethrow_exception(failure);
    return !stop;
  }

  TSituation& top_;
  Memo& memo_;
  Cache& cache_;
};

TSituation::TSituation(const TTournamentInfo& tournament, const THH& hand, int heroIndex,
                       std::vector<TSeatInput> seats, const TSituationOptions& options)
    : tournament_(tournament), hand_(hand), heroIndex_(heroIndex), seats_(std::move(seats)), options_(options) {
  // Names play no part in the valuation; without them the copies of the
  // next hands allocate nothing.
  for (TPlayerInfo& p : hand_.Players) p.Name.clear();
  for (std::size_t i = 0; i < players_.size() && i < seats_.size(); ++i) {
    const TSeatInput& in = seats_[i];
    players_[i] = {in.Action, in.Open, in.Call, in.Model.get(), static_cast<std::int32_t>(i)};
  }
  Memo memo;
  Prepare(memo);
  if (!seated_ || branches_.empty()) {
    if (options_.Progress) options_.Progress->Total = 0;
    return;
  }
  if (options_.Depth <= 0) {
    // A few hundred ICM valuations: one unit of work.
    if (options_.Progress) options_.Progress->Total = 1;
    ValueAllRowsByIcm();
    if (options_.Progress) options_.Progress->Done = 1;
  } else {
    Cache cache(options_.CacheBytes);
    cancelled_ = !LookAhead(*this, memo, cache).Run();
    stats_ = cache.Stats();
  }
}

TSituation::TSituation(const NextHandInputs& in, const TSituationOptions& options)
    : tournament_(in.Tournament), hand_(in.Hand), heroIndex_(in.Hero), players_(in.Players), options_(options) {}

void TSituation::Renew(const NextHandInputs& in, const TSituationOptions& options) {
  // Everything from scratch but the room of the lists.
  std::vector<TBranch> branches = std::move(branches_);
  std::vector<std::array<double, 3>> chances = std::move(chances_);
  *this = TSituation(in, options);
  branches_ = std::move(branches);
  chances_ = std::move(chances);
}

void TSituation::Reseat(const NextHandInputs& in, const TSituationOptions& options, Memo& memo) {
  Renew(in, options);
  Prepare(memo);
}

std::optional<TSituation::HandValue> TSituation::ValueAsLastHand(const NextHandInputs& in, const TSituationOptions& options,
                                                                 Memo& memo, TIcmRowsQuick& quick) {
  Renew(in, options);
  Seat();
  if (!quick.Reset(std::span<const double>(stack_.data() + 1, count_),
                   std::span<const double>(payouts_.data(), paidPlaces_))) {
    ListBranches(memo);
    return std::nullopt;
  }
  lean_ = {&quick, &memo, 0};
  ListBranches(memo);
  const int rows = lean_.rows;
  lean_ = {};
  HandValue v;
  v.Count = count_;
  for (int q = 1; q <= count_; ++q) v.Seat[q] = seat_[q];
  // Without a branch the hand is worth nothing to anyone, as its empty
  // branch table would say.
  if (rows > 0) quick.Sum(std::span<double>(v.Sum.data() + 1, count_));
  return v;
}

void TSituation::Prepare(Memo& memo) {
  Seat();
  ListBranches(memo);
}

void TSituation::Seat() {
  options_.Depth = std::max(options_.Depth, 0);
  // A place is valued while it is below the number of paid places, and the
  // record holds at most five shares.
  int places = static_cast<int>(std::ceil(tournament_.PaidPlaces));
  places = std::clamp(places, 1, kMaxPaidPlaces);
  paidPlaces_ = places;
  std::copy(tournament_.Payouts.begin(), tournament_.Payouts.begin() + places, payouts_.begin());
  SetBlindLevel();
  SeatPositions();
  PostBlinds();
}

void TSituation::SetBlindLevel() {
  const auto& levels = BlindStructure();
  if (hand_.HandTime > 0 && tournament_.LevelMinutes > 0) {
    // Level = the number of level durations begun since the start.
    double elapsed = tournament_.StartTime - hand_.HandTime - options_.ClockCorrectionDays;
    const double step = tournament_.LevelMinutes / 1440.0;
    int level = 0;
    while (elapsed < 0 && level <= kBlindLevelCount) {
      elapsed += step;
      ++level;
    }
    level_ = ClampBlindLevel(level);
    const TBlindLevel& l = levels[level_ - 1];
    hand_.SmallBlind = l.SmallBlind;
    hand_.BigBlind = l.BigBlind;
    hand_.Ante = l.Ante;
  } else {
    // The last level with the hand's big blind and ante; without one, the
    // level whose big blind is nearest (the later on a tie). The hand keeps
    // its own blinds.
    int found = 0;
    for (int i = 0; i < kBlindLevelCount; ++i) {
      if (levels[i].BigBlind == hand_.BigBlind && levels[i].Ante == hand_.Ante) found = i + 1;
    }
    if (found == 0) {
      double best = -1;
      for (int i = 0; i < kBlindLevelCount; ++i) {
        const double d = std::fabs(levels[i].BigBlind - hand_.BigBlind);
        if (best < 0 || d <= best) {
          best = d;
          found = i + 1;
        }
      }
    }
    level_ = ClampBlindLevel(found);
  }
  bigBlind_ = hand_.BigBlind;
  smallBlind_ = hand_.SmallBlindSeat != 0 ? hand_.SmallBlind : 0.0;
  ante_ = hand_.Ante;
}

void TSituation::SeatPositions() {
  count_ = std::clamp<int>(hand_.PlayerCount, 0, kMaxPlayers);
  int bb = -1;
  for (int i = 0; i < count_; ++i) {
    if (hand_.Players[i].Seat == hand_.BigBlindSeat) bb = i;
  }
  if (bb < 0) {
    // Nobody sits on the big blind: there is no hand to play.
    count_ = 0;
    return;
  }
  for (int r = 1; r <= count_; ++r) {
    const int e = ((bb - (r - 1)) % count_ + count_) % count_;
    const PlayerInput& in = players_[e];
    entry_[r] = e;
    seat_[r] = hand_.Players[e].Seat;
    startStack_[r] = hand_.Players[e].Stack;
    action_[r] = (in.Action == 0 || in.Action == 1) ? in.Action : -1;
    open_[r] = in.Open;
    call_[r] = in.Call;
    model_[r] = in.Model;
    if (e == heroIndex_) heroPosition_ = r;
  }
  seated_ = true;
}

void TSituation::PostBlinds() {
  pot_ = 0;
  for (int p = 1; p <= count_; ++p) stack_[p] = startStack_[p];
  const auto post = [&](int p, double amount) {
    if (stack_[p] <= amount) {
      pot_ += std::max(0.0, stack_[p]);
      stack_[p] = 0;
    } else {
      stack_[p] -= amount;
      pot_ += amount;
    }
  };
  if (ante_ > 0) {
    for (int p = 1; p <= count_; ++p) post(p, ante_);
  }
  if (count_ >= 1) post(1, bigBlind_);
  if (count_ >= 2) post(2, smallBlind_);
}

void TSituation::ListBranches(Memo& memo) {
  branches_.clear();
  chances_.clear();
  brokeCount_ = 0;
  for (int p = 1; p <= count_; ++p) {
    if (stack_[p] <= 0) ++brokeCount_;
  }
  if (!seated_ || count_ < 1 || brokeCount_ > 2) return;
  k_ = 0;
  flags_.fill(0);
  prob_.fill(0);
  allIn_.fill(0);
  if (lean_.quick) {
    BuildActionTree(count_, 1.0);
    return;
  }
  // At most every choice of none, one or two all-in players: one
  // allocation for the next hands of a deep look-ahead, met by the million.
  branches_.reserve(static_cast<std::size_t>(1 + count_ + count_ * (count_ - 1) / 2));
  BuildActionTree(count_, 1.0);
  chances_.resize(branches_.size());
  for (std::size_t i = 0; i < branches_.size(); ++i) {
    const TBranch& b = branches_[i];
    if (b.AllInCount < 2) continue;
    const TEquity e = memo.Showdown(b.Prob[b.AllIn[0]], b.Prob[b.AllIn[1]]);
    chances_[i] = {e.Win, e.Tie, e.Lose};
  }
}

double TSituation::ActionProbability(int p) const {
  const int level = ClampBlindLevel(level_);
  double prob = 0;
  if (k_ == 0) {
    prob = open_[p] != 0 ? open_[p] : (model_[p] ? model_[p]->At(level, 0, p) / 100.0 : 0.0);
    if (prob == 0) prob = 0.1;
  } else if (k_ == 1) {
    const int q = allIn_[1];
    prob = call_[p] != 0 ? call_[p] : (model_[p] ? model_[p]->At(level, q, p) / 100.0 : 0.0);
    if (prob == 0) prob = 0.05;
  }
  prob = Clamp01(prob);
  if (stack_[p] <= 0) prob = 1.0;
  if (p == 1 && k_ == 0) prob = 1.0;
  return prob;
}

void TSituation::RecordBranch(double w) {
  if (lean_.quick) {
    AddLeanRows(w);
    return;
  }
  TBranch& b = branches_.emplace_back();
  b.Flags = flags_;
  b.Prob = prob_;
  b.Prob[0] = w;
  b.AllInCount = k_;
  b.AllIn[0] = k_ >= 1 ? allIn_[1] : 0;
  b.AllIn[1] = k_ >= 2 ? allIn_[2] : 0;
}

// What ValueOfLastHand adds for the branch RecordBranch would write down
// now, with the same figures in the same order.
void TSituation::AddLeanRows(double w) {
  ++lean_.rows;
  const auto chips = [&](const TPositionValues& stacks) { return std::span<const double>(stacks.data() + 1, count_); };
  if (k_ < 2) {
    TPositionValues stacks = stack_;
    stacks[k_ == 1 ? allIn_[1] : 1] += pot_;
    lean_.quick->Add(chips(stacks), w);
    return;
  }
  const TEquity e = lean_.memo->Showdown(prob_[allIn_[1]], prob_[allIn_[2]]);
  const std::array<double, 3> chances{e.Win, e.Tie, e.Lose};
  const Showdown showdown = ShowdownOf(allIn_[1], allIn_[2]);
  for (int outcome = 0; outcome < 3; ++outcome) {
    const double weight = w * chances[outcome];
    if (weight != 0) lean_.quick->Add(chips(StacksAfter(showdown, outcome)), weight);
  }
}

void TSituation::BuildActionTree(int p, double w) {
  const double push = action_[p] == 0 ? 0.0 : ActionProbability(p);

  // All-in. The players all-in from the blinds are already among the k
  // all-in players of the path, so a showdown has at most two all-in
  // players counting them once.
  k_ += 1;
  flags_[p] = 1;
  prob_[p] = push;
  allIn_[k_] = p;
  double w2 = w * push;
  // A third all-in player ends the path: nothing below it is recorded.
  if (p > 1 && w2 > 0 && k_ <= 2) {
    BuildActionTree(p - 1, w2);
  } else if (p == 1 && w2 > 0 && k_ <= 2) {
    RecordBranch(w2);
  }
  allIn_[k_] = 0;
  k_ -= 1;
  flags_[p] = 0;

  // Fold.
  const double fold = action_[p] == 1 ? 0.0 : 1.0 - push;
  prob_[p] = fold;
  w2 = w * fold;
  if (p > 1 && w2 > 0) {
    BuildActionTree(p - 1, w2);
  } else if (p == 1 && w2 > 0 && k_ <= 2) {
    RecordBranch(w2);
  }
  prob_[p] = 0;
}

// A branch without a showdown has one set of stacks to value, row 0: the
// only all-in player, or the big blind when everybody folded, takes the pot.
// A showdown has three, rows 1..3, one per outcome.
int TSituation::FirstRow(int branch) const { return branches_[branch].AllInCount < 2 ? 0 : 1; }
int TSituation::LastRow(int branch) const { return branches_[branch].AllInCount < 2 ? 0 : 3; }

TPositionValues TSituation::RowStacks(int branch, int row) const {
  const TBranch& b = branches_[branch];
  if (b.AllInCount < 2) {
    const int winner = b.AllInCount == 1 ? b.AllIn[0] : 1;
    TPositionValues stacks = stack_;
    stacks[winner] += pot_;
    return stacks;
  }
  return ShowdownStacks(b.AllIn[0], b.AllIn[1], row - 1);
}

// The stacks of one row valued by ICM, or by the hands that follow; false
// when stopped. The hands that follow are played out depth first on a stack
// of their own rather than by recursion, however deep the look-ahead.
bool TSituation::ValueRow(int branch, int row, Context& context) {
  std::int64_t credited = 0;
  const auto credit = [&](std::int64_t ticks) {
    if (context.progress && ticks > credited) {
      context.progress->Done.fetch_add(ticks - credited, std::memory_order_relaxed);
      credited = ticks;
    }
  };
  if (options_.Depth <= 0) {
    branches_[branch].Equity[row] = ICMOfPositions(RowStacks(branch, row));
    credit(kRowTicks);
    return true;
  }
  // Rows of the first next hand: all of them and those valued.
  int firstRows = 0;
  int firstDone = 0;
  using Frame = Context::Frame;
  std::vector<Frame>& frames = context.frames;
  frames.clear();  // what a stopped row left
  // Settles the row at once, or puts its next hand on the stack.
  const auto open = [&](TSituation& owner, int b, int r) {
    TPositionValues& target = owner.branches_[b].Equity[r];
    NextHandInputs in;
    if (!owner.NextHandOf(owner.RowStacks(b, r), in, target)) return;
    Frame f;
    f.key = owner.KeyOf(in);
    if (f.key.Depth <= 0) {
      const Context::Recent* slot = context.RecentSlot(f.key);
      if (slot && slot->used && slot->key == f.key) {
        context.cache.NoteReused();
        target = owner.ValueFromNextHand(slot->value);
        return;
      }
    } else {
      HandValue known;
      if (context.cache.Find(f.key, known)) {
        target = owner.ValueFromNextHand(known);
        return;
      }
    }
    TSituationOptions options = owner.options_;
    options.Depth = owner.options_.Depth - 1;
    TSituation& hand = context.HandAt(frames.size());
    if (f.key.Depth <= 0 && context.quick) {
      // A last hand by pair sums needs no branch table.
      if (const std::optional<HandValue> value = hand.ValueAsLastHand(in, options, context.memo, *context.quick)) {
        if (Context::Recent* slot = context.RecentSlot(f.key)) *slot = {f.key, *value, true};
        context.cache.NotePlayed();
        target = owner.ValueFromNextHand(*value);
        return;
      }
    } else {
      hand.Reseat(in, options, context.memo);
    }
    f.hand = &hand;
    f.parent = &owner;
    f.target = &target;
    frames.push_back(std::move(f));
  };
  open(*this, branch, row);
  if (!frames.empty()) {
    const TSituation& first = *frames.front().hand;
    for (int b = 0; b < static_cast<int>(first.branches_.size()); ++b) firstRows += first.LastRow(b) - first.FirstRow(b) + 1;
  }
  while (!frames.empty()) {
    if (StopRequested()) return false;
    Frame& f = frames.back();
    TSituation& s = *f.hand;
    if (frames.size() == 1 && f.row >= 0) credit(++firstDone * kRowTicks / (firstRows + 1));
    // The next row of this hand.
    if (f.row < 0 || f.row >= s.LastRow(f.branch)) {
      if (f.row >= 0) ++f.branch;
      f.row = f.branch < static_cast<int>(s.branches_.size()) ? s.FirstRow(f.branch) : -1;
    } else {
      ++f.row;
    }
    std::optional<HandValue> summed;
    if (f.row >= 0) {
      if (s.options_.Depth <= 0) {
        // The last hand: all its rows at once, sharing what their ICM has
        // in common.
        if (context.quick) summed = s.ValueOfLastHand(*context.quick);
        if (!summed) s.ValueRowsByIcm(context.icm);
        f.row = -1;
        f.branch = static_cast<int>(s.branches_.size());
      } else {
        open(s, f.branch, f.row);  // may move the frames
        continue;
      }
    }
    // Every row valued.
    if (!summed) {
      s.CombineShowdowns();
      summed = s.ValueOfHand();
    }
    const HandValue value = *summed;
    if (f.key.Depth <= 0) {
      if (Context::Recent* slot = context.RecentSlot(f.key)) *slot = {f.key, value, true};
      context.cache.NotePlayed();
    } else {
      context.cache.Keep(f.key, value);
    }
    *f.target = f.parent->ValueFromNextHand(value);
    frames.pop_back();
  }
  credit(kRowTicks);
  return true;
}

void TSituation::ValueAllRowsByIcm() {
  TIcmRows icm;
  ValueRowsByIcm(icm);
  CombineShowdowns();
}

// Every row of the hand differs from the stacks after the blinds only in
// the players who took part in its pot.
void TSituation::ValueRowsByIcm(TIcmRows& icm) {
  const std::span<const double> base(stack_.data() + 1, count_);
  const std::span<const double> prizes(payouts_.data(), paidPlaces_);
  const auto chips = [&](const TPositionValues& stacks) { return std::span<const double>(stacks.data() + 1, count_); };
  const auto into = [&](TPositionValues& out) {
    out = {};
    return std::span<double>(out.data() + 1, count_);
  };
  icm.Reset(base, prizes);
  for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
    TBranch& branch = branches_[b];
    if (LastRow(b) - FirstRow(b) + 1 == TIcmRows::kRowsAtOnce) {
      // The outcomes of a showdown change the same two stacks.
      const TPositionValues s1 = RowStacks(b, 1), s2 = RowStacks(b, 2), s3 = RowStacks(b, 3);
      icm.IntoRows({chips(s1), chips(s2), chips(s3)}, {into(branch.Equity[1]), into(branch.Equity[2]), into(branch.Equity[3])});
      continue;
    }
    for (int row = FirstRow(b); row <= LastRow(b); ++row) {
      const TPositionValues stacks = RowStacks(b, row);
      icm.Into(chips(stacks), into(branch.Equity[row]));
    }
  }
}

// As ValueRowsByIcm, CombineShowdowns and ValueOfHand in turn, but by
// pair sums and without writing the rows down: nobody reads the branch
// table of a last hand. Each row weighs in by its branch's weight times
// its outcome's chance; the sums run in another order than theirs.
std::optional<TSituation::HandValue> TSituation::ValueOfLastHand(TIcmRowsQuick& quick) const {
  if (!quick.Reset(std::span<const double>(stack_.data() + 1, count_),
                   std::span<const double>(payouts_.data(), paidPlaces_))) {
    return std::nullopt;
  }
  const auto chips = [&](const TPositionValues& stacks) { return std::span<const double>(stacks.data() + 1, count_); };
  for (int b = 0; b < static_cast<int>(branches_.size()); ++b) {
    const TBranch& branch = branches_[b];
    if (branch.AllInCount < 2) {
      quick.Add(chips(RowStacks(b, 0)), branch.Prob[0]);
      continue;
    }
    // The pots of the showdown once for its three outcomes; an outcome
    // that cannot happen adds nothing.
    const Showdown showdown = ShowdownOf(branch.AllIn[0], branch.AllIn[1]);
    for (int outcome = 0; outcome < 3; ++outcome) {
      const double weight = branch.Prob[0] * chances_[b][outcome];
      if (weight != 0) quick.Add(chips(StacksAfter(showdown, outcome)), weight);
    }
  }
  HandValue v;
  v.Count = count_;
  for (int q = 1; q <= count_; ++q) v.Seat[q] = seat_[q];
  quick.Sum(std::span<double>(v.Sum.data() + 1, count_));
  return v;
}

// Row 0 of a showdown: the outcomes weighed by their chances, added in the
// order of the outcomes.
void TSituation::CombineShowdowns() {
  for (std::size_t i = 0; i < branches_.size(); ++i) {
    TBranch& b = branches_[i];
    if (b.AllInCount < 2) continue;
    b.Equity[0].fill(0);
    for (int outcome = 0; outcome < 3; ++outcome) {
      for (int p = 1; p <= count_; ++p) b.Equity[0][p] += chances_[i][outcome] * b.Equity[outcome + 1][p];
    }
  }
}

TSituation::Pots TSituation::ShowdownPots(int a, int b) const {
  Pots r;
  const double sa = startStack_[a];
  const double sb = startStack_[b];
  if (ante_ <= 0) {
    r.Sa = sa;
    r.Sb = sb;
  } else {
    // Every position's ante counts, whatever the table size.
    const double aa = std::min(sa, ante_);
    for (int p = 1; p <= count_; ++p) r.Pot += std::min(startStack_[p], aa);
    if (aa < ante_) {
      for (int p = 1; p <= count_; ++p) r.Side += std::min(std::max(0.0, startStack_[p] - aa), ante_ - aa);
    }
    r.Sa = sa - std::min(sa, ante_);
    r.Sb = sb - std::min(sb, ante_);
  }
  const double ante = std::max(0.0, ante_);
  const auto blind = [&](int p, double amount) {
    if (a == p || b == p || p > count_) return;
    const double posted = std::min(std::max(0.0, startStack_[p] - ante), amount);
    r.Pot += std::min(r.Sa, posted);
    r.Side += std::max(0.0, posted - r.Sa);
  };
  blind(2, smallBlind_);
  blind(1, bigBlind_);
  return r;
}

TPositionValues TSituation::ShowdownStacks(int first, int second, int outcome) const {
  if (!Valid(first) || !Valid(second) || first == second) return stack_;
  return StacksAfter(ShowdownOf(first, second), outcome);
}

TSituation::Showdown TSituation::ShowdownOf(int first, int second) const {
  Showdown d;
  // The first all-in player counts as the longer stack on equal stacks.
  d.firstLonger = startStack_[first] >= startStack_[second];
  d.longer = d.firstLonger ? first : second;
  d.shorter = d.firstLonger ? second : first;
  d.pots = ShowdownPots(d.shorter, d.longer);
  return d;
}

TPositionValues TSituation::StacksAfter(const Showdown& d, int outcome) const {
  TPositionValues stacks = stack_;
  const Pots& r = d.pots;
  const bool longerWins = (outcome == 0 && d.firstLonger) || (outcome == 2 && !d.firstLonger);
  if (outcome == 1) {
    stacks[d.shorter] = r.Pot / 2.0 + r.Sa;
    stacks[d.longer] = r.Pot / 2.0 + r.Sb + r.Side;
  } else if (longerWins) {
    stacks[d.longer] = r.Sa + r.Sb + r.Pot + r.Side;
    stacks[d.shorter] = 0;
  } else {
    stacks[d.shorter] = 2 * r.Sa + r.Pot;
    stacks[d.longer] = r.Sb - r.Sa + r.Side;
  }
  return stacks;
}

TPositionValues TSituation::ICMOfPositions(const TPositionValues& stacks) const {
  // ICM takes the positions' stacks as one list, position 1 first.
  TPositionValues out{};
  const std::span<const double> chips(stacks.data() + 1, count_);
  const std::span<const double> prizes(payouts_.data(), paidPlaces_);
  ICMEquitiesInto(chips, prizes, std::span<double>(out.data() + 1, count_));
  return out;
}

bool TSituation::StopRequested() const {
  return options_.Cancel && options_.Cancel->load(std::memory_order_relaxed);
}

bool TSituation::NextHandOf(const TPositionValues& stacks, NextHandInputs& in, TPositionValues& settled) const {
  settled = {};
  // The next hand: these stacks, button and blinds moved on, the players who
  // busted placed.
  THH next = hand_;
  for (int p = 1; p <= count_; ++p) next.Players[entry_[p]].Stack = stacks[p];
  MoveButtonAndBlinds(next, tournament_.SeatCount);
  TTournamentInfo& tour = in.Tournament;
  tour = tournament_;
  AssignFinishingPlaces(tour.Places, next, hand_);

  const int heroSeat = heroIndex_ >= 0 && heroIndex_ < count_ ? hand_.Players[heroIndex_].Seat : 0;
  if (heroSeat >= 1 && heroSeat <= kMaxSeats && tour.Places.Place[heroSeat - 1] > 0) {
    const int half = tour.Places.PlayerCount / 2;
    // Everyone left in the top half is settled at the first share only when
    // the tournament pays that whole half the same (double or nothing);
    // otherwise those shares would add up to more than the prize pool.
    bool equalHalf = half >= 1 && half <= paidPlaces_;
    for (int k = 1; equalHalf && k < half; ++k) equalHalf = payouts_[k] == payouts_[0];
    if (tour.Places.NextPlace > half || !equalHalf) {
      settled = ICMOfPositions(stacks);
      return false;
    }
    for (int p = 1; p <= count_; ++p) {
      const int seat = seat_[p];
      const int place = seat >= 1 && seat <= kMaxSeats ? tour.Places.Place[seat - 1] : 0;
      settled[p] = (place >= 1 && place <= half) ? tournament_.Payouts[0] : 0.0;
    }
    return false;
  }

  // Play the next hand with the players who still have chips.
  THH& child = in.Hand;
  child = next;
  in.Players = {};
  in.Hero = -1;
  int n = 0;
  for (int i = 0; i < std::clamp<int>(next.PlayerCount, 0, kMaxPlayers); ++i) {
    if (!(next.Players[i].Stack > 0)) continue;
    child.Players[n] = next.Players[i];
    child.Action[n] = -1;
    in.Players[n] = players_[i];
    in.Players[n].Action = -1;
    if (i == heroIndex_) in.Hero = n;
    ++n;
  }
  child.PlayerCount = n;
  for (int i = n; i < kMaxPlayers; ++i) {
    child.Players[i] = TPlayerInfo{};
    child.Action[i] = -1;
  }
  return true;
}

TNextHandKey TSituation::KeyOf(const NextHandInputs& in) const {
  TNextHandKey k;
  k.Depth = options_.Depth - 1;
  k.Count = std::clamp<int>(in.Hand.PlayerCount, 0, kMaxPlayers);
  k.Hero = in.Hero;
  k.Button = in.Hand.Button;
  k.SmallBlindSeat = in.Hand.SmallBlindSeat;
  k.BigBlindSeat = in.Hand.BigBlindSeat;
  k.NextPlace = in.Tournament.Places.NextPlace;
  for (int s = 0; s < kMaxSeats; ++s) k.Place[s] = in.Tournament.Places.Place[s];
  k.Blinds = {std::bit_cast<std::uint64_t>(in.Hand.SmallBlind), std::bit_cast<std::uint64_t>(in.Hand.BigBlind),
              std::bit_cast<std::uint64_t>(in.Hand.Ante), std::bit_cast<std::uint64_t>(in.Hand.HandTime)};
  for (int i = 0; i < k.Count; ++i) {
    k.Player[i] = in.Players[i].Id;
    k.Seat[i] = in.Hand.Players[i].Seat;
    k.Stack[i] = std::bit_cast<std::uint64_t>(in.Hand.Players[i].Stack);
  }
  return k;
}

std::optional<TNextHandKey> TSituation::NextHandKey(int b, int row) const {
  if (options_.Depth <= 0 || b < 1 || b > BranchCount()) return std::nullopt;
  if (row < FirstRow(b - 1) || row > LastRow(b - 1)) return std::nullopt;
  NextHandInputs in;
  TPositionValues settled{};
  if (!NextHandOf(RowStacks(b - 1, row), in, settled)) return std::nullopt;
  return KeyOf(in);
}

// What each seat of this hand expects over its branches, in the order of
// the branches.
TSituation::HandValue TSituation::ValueOfHand() const {
  HandValue v;
  v.Count = count_;
  for (int q = 1; q <= count_; ++q) {
    v.Seat[q] = seat_[q];
    double sum = 0;
    for (const TBranch& br : branches_) sum += br.Prob[0] * br.Equity[0][q];
    v.Sum[q] = sum;
  }
  return v;
}

// Each position's equity is what its seat expects over the next hand's
// branches (0 for a seat no longer in it).
TPositionValues TSituation::ValueFromNextHand(const HandValue& next) const {
  TPositionValues out{};
  for (int p = 1; p <= count_; ++p) {
    int cp = 0;
    for (int q = 1; q <= next.Count; ++q) {
      if (next.Seat[q] == seat_[p]) cp = q;
    }
    if (cp != 0) out[p] = next.Sum[cp];
  }
  return out;
}

bool TSituation::ConsistentWithEarlierActions(const TBranch& b, int hero) const {
  for (int q = hero + 1; q <= count_; ++q) {
    if (b.Flags[q] != action_[q]) return false;
  }
  return true;
}

int TSituation::SolveHero(int hero) {
  if (!Valid(hero) || cancelled_) return 0;

  // Value of folding.
  double foldSum = 0;
  double foldWeight = 0;
  for (const TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero) || b.Flags[hero] != 0) continue;
    double w = 1;
    for (int q = 1; q < hero; ++q) w *= b.Prob[q];
    foldSum += w * b.Equity[0][hero];
    foldWeight += w;
  }
  if (foldWeight == 0) {
    ApplyHeroRange(hero, 0);
    return 0;
  }
  const double fold = foldSum / foldWeight;

  // Branches in which the hero pushes, with what each needs to value one hand.
  struct PushBranch {
    double weight = 0;
    const TBranch* branch = nullptr;
    THandRange other;
    bool heroFirst = false;
  };
  std::vector<PushBranch> pushes;
  double pushWeight = 0;
  for (const TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero) || b.Flags[hero] != 1) continue;
    PushBranch pb;
    pb.weight = 1;
    for (int q = 1; q <= hero; ++q) pb.weight *= b.Prob[q];
    pb.branch = &b;
    if (b.AllInCount == 2) {
      pb.heroFirst = b.AllIn[0] == hero;
      pb.other = TopRange(b.Prob[pb.heroFirst ? b.AllIn[1] : b.AllIn[0]]);
    }
    pushWeight += pb.weight;
    pushes.push_back(pb);
  }

  const THandRange& order = HandStrengthOrder();
  int result = kHandClassCount;
  for (int n = 1; n <= kHandClassCount; ++n) {
    THandRange mine;
    mine.Count = 1;
    mine.Entries[0] = order.Entries[n - 1];
    double value = 0;
    if (pushWeight > 0) {
      double sum = 0;
      for (const PushBranch& pb : pushes) {
        const TBranch& b = *pb.branch;
        double eq = b.Equity[0][hero];
        if (b.AllInCount == 2) {
          const TEquity e = pb.heroFirst ? RangeVsRangeEquity(mine, pb.other) : RangeVsRangeEquity(pb.other, mine);
          eq = e.Win * b.Equity[1][hero] + e.Tie * b.Equity[2][hero] + e.Lose * b.Equity[3][hero];
        }
        sum += pb.weight * eq;
      }
      value = sum / pushWeight;
    }
    // Every hand is tested, the last one too.
    if (!(fold + options_.Edge <= value)) {
      result = n - 1;
      break;
    }
  }
  ApplyHeroRange(hero, result);
  return result;
}

void TSituation::ApplyHeroRange(int hero, int hands) {
  const double share = RangeShare(hands);
  for (TBranch& b : branches_) {
    if (!ConsistentWithEarlierActions(b, hero)) continue;
    b.Prob[hero] = b.Flags[hero] ? share : 1.0 - share;
    double w = 1;
    for (int p = 1; p <= count_; ++p) w *= b.Prob[p];
    b.Prob[0] = w;
  }
}

std::vector<std::string> TSituation::PrintBranches() const {
  std::vector<std::string> lines;
  double total = 0;
  for (int i = 0; i < BranchCount(); ++i) {
    const TBranch& b = branches_[i];
    std::string flags;
    std::string probs;
    for (int p = count_; p >= 1; --p) {
      flags += std::to_string(b.Flags[p]) + "        ";
      probs += Percent2(b.Prob[p] * 100) + "  ";
    }
    lines.push_back(Format(" %d     %s  %2.2f ", i + 1, flags.c_str(), b.Prob[0] * 100));
    lines.push_back(Format("Prob: %s  ", probs.c_str()));
    for (int row = 0; row < 4; ++row) {
      std::string values;
      double sum = 0;
      for (int p = count_; p >= 1; --p) {
        values += Percent2(b.Equity[row][p] * 100) + "  ";
        sum += b.Equity[row][p] * 100;
      }
      lines.push_back(Format("ICM: %s %2.2f ", values.c_str(), sum));
    }
    total += b.Prob[0];
  }
  lines.push_back(Format(" %d %2.3f ", BranchCount(), total));
  return lines;
}

}  // namespace kova::pushfold
