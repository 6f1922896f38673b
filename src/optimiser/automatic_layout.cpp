#include "optimiser/automatic_layout.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace trimora {

namespace {

constexpr int32_t kNoFit = 2147483647;

}  // namespace

// ---- generator ---------------------------------------------------------------------------

void LayoutRandom::Skip(uint64_t draws) {
    // s' = a*s + c applied n times is again an affine map; square it bit by bit.
    uint64_t accMult = 1, accPlus = 0;
    uint64_t curMult = kMultiplier, curPlus = 1;
    while (draws > 0) {
        if (draws & 1u) {
            accMult *= curMult;
            accPlus = accPlus * curMult + curPlus;
        }
        curPlus = (curMult + 1) * curPlus;
        curMult *= curMult;
        draws >>= 1;
    }
    state_ = accMult * state_ + accPlus;
}

LayoutRandom& DefaultLayoutRandom() {
    static LayoutRandom random;
    return random;
}

int CandidateCountForAutoparam(int autoparam) {
    if (autoparam <= 0) return 100;
    if (autoparam == 1) return 200;
    return 300;
}

int ProgressPosition(int candidate, int candidateCount) {
    const int step = candidateCount / 100;
    int position =
        step > 0
            ? candidate / step
            : static_cast<int>(static_cast<int64_t>(candidate) * 100 / std::max(candidateCount, 1));
    return std::clamp(position, 0, 99);
}

CandidateRecord ChooseBestCandidate(const CandidateRecord& best, const CandidateRecord& candidate) {
    if (candidate.sheetsUsed > best.sheetsUsed) return best;
    CandidateRecord next = best;
    if (candidate.lastSheetYield == next.lastSheetYield || candidate.cutMeasure < next.cutMeasure)
        next = candidate;
    if (candidate.lastSheetYield < next.lastSheetYield) next = candidate;
    return next;
}

// ---- free rectangles ---------------------------------------------------------------------

void FreeRectangles::Reset(int32_t sheetLength, int32_t sheetWidth) {
    rects_.clear();
    // A sheet without area still counts as one entry, but nothing can be placed in it.
    if (sheetLength > 0 && sheetWidth > 0) rects_.push_back({0, 0, sheetLength, sheetWidth});
    entryCount_ = 1;
    keptValid_ = turnValid_ = false;
}

void FreeRectangles::Assign(std::vector<FreeRect> rects, int64_t held) {
    rects.erase(std::remove_if(rects.begin(), rects.end(),
                               [](const FreeRect& r) { return r.x2 <= r.x1 || r.y2 <= r.y1; }),
                rects.end());
    rects_ = std::move(rects);
    entryCount_ = held;
    keptValid_ = turnValid_ = false;
}

namespace {

using Corner = FreeRectangles::Corner;

// Adds a corner to the first k corners of a stair of mutually undominated corners (in no
// particular order) and returns the new count.
inline size_t AddToStair(Corner* stair, size_t k, Corner c) {
    // One pass: drop the corners c covers; if a corner covers c, none was dropped (the
    // corners do not cover each other), so the stair is left as it was.
    size_t kept = 0;
    for (size_t i = 0; i < k; ++i) {
        const Corner s = stair[i];
        if (s.a >= c.a && s.b >= c.b) return k;
        if (c.a < s.a || c.b < s.b) stair[kept++] = s;
    }
    stair[kept++] = c;
    return kept;
}

inline bool Dominated(const Corner* stair, size_t k, int32_t a, int32_t b, int64_t area) {
    for (size_t i = 0; i < k; ++i)
        if (stair[i].a >= a && stair[i].b >= b && int64_t{stair[i].a} * stair[i].b >= area)
            return true;
    return false;
}

// True when another corner of the stair covers this one, so that removing a rectangle with
// this corner leaves the stair as it is.
inline bool StrictlyBelow(const Corner* stair, size_t k, int32_t a, int32_t b) {
    bool covered = false;
    for (size_t i = 0; i < k; ++i) {
        if (stair[i].a == a && stair[i].b == b) return false;
        covered = covered || (stair[i].a >= a && stair[i].b >= b);
    }
    return covered;
}

}  // namespace

void FreeRectangles::UpdateStairs() const {
    const size_t n = rects_.size();
    if (keptStair_.size() < n) keptStair_.resize(n);
    if (turnStair_.size() < n) turnStair_.resize(n);
    const bool kept = !keptValid_, turn = !turnValid_;
    size_t k = 0, t = 0;
    for (const FreeRect& r : rects_) {
        const int32_t dx = r.x2 - r.x1, dy = r.y2 - r.y1;
        if (kept) k = AddToStair(keptStair_.data(), k, {dx, dy});
        if (turn) t = AddToStair(turnStair_.data(), t, {std::min(dx, dy), std::max(dx, dy)});
    }
    if (kept) keptCount_ = k;
    if (turn) turnCount_ = t;
    keptValid_ = turnValid_ = true;
}

bool FreeRectangles::FitsKept(int32_t length, int32_t width, int64_t area) const {
    if (!keptValid_) UpdateStairs();
    return Dominated(keptStair_.data(), keptCount_, length, width, area);
}

bool FreeRectangles::FitsTurnable(int32_t shortSide, int32_t longSide, int64_t area) const {
    if (!turnValid_) UpdateStairs();
    return Dominated(turnStair_.data(), turnCount_, shortSide, longSide, area);
}

bool FreeRectangles::ScoreFreeRectangles(int32_t L, int32_t W, int32_t grain,
                                         RectangleFit& fit) const {
    if (L <= 0 || W <= 0) return false;
    const size_t n = rects_.size();
    int32_t best = kNoFit;
    int bestIndex = -1;
    int32_t bestRotated = 0;
    if (grain == 1) {
        for (size_t j = 0; j < n; ++j) {
            const FreeRect& r = rects_[j];
            const int32_t dx = r.x2 - r.x1, dy = r.y2 - r.y1;
            if (L <= dx && W <= dy) {
                const int32_t s = std::min(dy - W, dx - L);
                if (s < best) {
                    best = s;
                    bestIndex = static_cast<int>(j);
                }
            }
        }
    } else {
        for (size_t j = 0; j < n; ++j) {
            const FreeRect& r = rects_[j];
            const int32_t dx = r.x2 - r.x1, dy = r.y2 - r.y1;
            const bool normal = L <= dx && W <= dy;
            const bool turned = W <= dx && L <= dy;
            // The turned orientation wins only with a strictly smaller score.
            int32_t s = kNoFit;
            int32_t rotated = 0;
            if (normal) s = std::min(dy - W, dx - L);
            if (turned) {
                const int32_t t = std::min(dy - L, dx - W);
                if (t < s) {
                    s = t;
                    rotated = 1;
                }
            }
            if (s < best) {
                best = s;
                bestIndex = static_cast<int>(j);
                bestRotated = rotated;
            }
        }
    }
    if (bestIndex < 0) return false;
    fit.index = bestIndex;
    fit.rotated = bestRotated;
    fit.length = bestRotated ? W : L;
    fit.width = bestRotated ? L : W;
    fit.score = best;
    return true;
}

void FreeRectangles::PlaceAndSplit(const RectangleFit& fit, int preference) {
    const FreeRect r = rects_[fit.index];
    // What is left of the rectangle lies inside it, so a stair only changes when the
    // rectangle's corner is on it.
    const int32_t dx = r.x2 - r.x1, dy = r.y2 - r.y1;
    if (keptValid_) keptValid_ = StrictlyBelow(keptStair_.data(), keptCount_, dx, dy);
    if (turnValid_)
        turnValid_ =
            StrictlyBelow(turnStair_.data(), turnCount_, std::min(dx, dy), std::max(dx, dy));
    const int32_t X = r.x1 + fit.length, Y = r.y1 + fit.width;
    FreeRect& chosen = rects_[fit.index];
    if (X < r.x2 && Y < r.y2) {
        FreeRect added;
        if (preference == 0) {
            chosen = {X, r.y1, r.x2, r.y2};
            added = {r.x1, Y, X, r.y2};
        } else {
            chosen = {X, r.y1, r.x2, Y};
            added = {r.x1, Y, r.x2, r.y2};
        }
        rects_.push_back(added);
        ++entryCount_;
    } else if (X < r.x2) {
        chosen = {X, r.y1, r.x2, r.y2};
    } else if (Y < r.y2) {
        chosen = {r.x1, Y, r.x2, r.y2};
    } else {
        rects_.erase(rects_.begin() + fit.index);
    }
}

void FreeRectangles::MergeFreeRectangles() {
    if (entryCount_ <= 3) return;
    const size_t n = rects_.size();
    if (n < 2) return;
    // Stored rectangles are never empty, so an all-zero entry marks one merged away.
    const FreeRect gone{};
    bool merged = false;
    for (size_t i = 0; i + 1 < n; ++i) {
        const FreeRect a = rects_[i];
        if (a == gone) continue;
        for (size_t j = i + 1; j < n; ++j) {
            FreeRect& b = rects_[j];
            if ((a.y2 == b.y1 && a.x1 == b.x1 && a.x2 == b.x2) ||
                (a.x2 == b.x1 && a.y1 == b.y1 && a.y2 == b.y2)) {
                b = {a.x1, a.y1, b.x2, b.y2};
                rects_[i] = gone;
                merged = true;
                break;
            }
        }
    }
    if (merged) {
        rects_.erase(std::remove(rects_.begin(), rects_.end(), gone), rects_.end());
        keptValid_ = turnValid_ = false;
    }
}

int64_t FreeRectangles::CollectOffcuts(int32_t sheetNumber, std::vector<Offcut>& offcuts) const {
    if (entryCount_ <= 1) return 0;
    int64_t measure = 0;
    for (const FreeRect& r : rects_) {
        offcuts.push_back({sheetNumber, r.x1, r.y1, r.x2, r.y2});
        measure += static_cast<int64_t>(r.x2 - r.x1) + (r.y2 - r.y1);
    }
    return measure;
}

// ---- candidates --------------------------------------------------------------------------

namespace {

// One part row with a positive quantity. Its pieces are identical, so within a row they are
// always placed as a prefix: a pass places them in order until one does not fit.
struct RowRun {
    int32_t length = 0, width = 0, grain = 0, row = 0;
    int32_t count = 0;
    int64_t firstPiece = 0;
};

struct Problem {
    const std::vector<SheetInstance>& sheets;
    std::vector<RowRun> rows;
    int64_t pieceCount = 0;

    Problem(const std::vector<SheetInstance>& sheetList, const std::vector<PartInput>& parts)
        : sheets(sheetList) {
        for (const PartInput& p : parts) {
            if (p.quantity <= 0) continue;
            RowRun run;
            run.length = p.length;
            run.width = p.width;
            run.grain = p.grain == 1 ? 1 : 0;
            run.row = p.row;
            run.count = p.quantity;
            run.firstPiece = pieceCount;
            pieceCount += p.quantity;
            rows.push_back(run);
        }
    }
};

struct PiecePlace {
    int32_t sheet = 0, x1 = 0, y1 = 0, rotated = 0;
};

struct CandidateState {
    std::vector<PiecePlace> places;    // by piece; valid for the placed prefix of each row
    std::vector<int32_t> placedInRow;  // by row run
    std::vector<Offcut> offcuts;
    int64_t placedCount = 0;
    int32_t sheetsUsed = 0;
    double lastSheetYield = 0;
    int64_t cutMeasure = 0;
    uint64_t startDraw = 0;  // draws before this candidate that it was computed with

    CandidateRecord Record(int index) const {
        return {sheetsUsed, lastSheetYield, index, cutMeasure};
    }
};

// Finds, in row order, the next row with unplaced pieces that fits the free rectangles. Each
// node holds the smallest sides and the smallest area of the rows below it, separately for
// pieces that keep their grain and for turnable ones (sides as short and long side): when
// no free rectangle is that large, no row below fits, and the whole range is skipped.
class RowTree {
public:
    explicit RowTree(const std::vector<RowRun>& rows) {
        size_ = 1;
        while (size_ < static_cast<int>(rows.size())) size_ *= 2;
        initial_.assign(2 * size_, Node{});
        for (size_t i = 0; i < rows.size(); ++i) {
            const RowRun& r = rows[i];
            if (r.length <= 0 || r.width <= 0) continue;  // never fits
            Node& leaf = initial_[size_ + i];
            const int64_t area = int64_t{r.length} * r.width;
            if (r.grain == 1) {
                leaf.keptL = r.length;
                leaf.keptW = r.width;
                leaf.keptArea = area;
            } else {
                leaf.turnS = std::min(r.length, r.width);
                leaf.turnG = std::max(r.length, r.width);
                leaf.turnArea = area;
            }
        }
        for (int n = size_ - 1; n >= 1; --n)
            initial_[n] = Join(initial_[2 * n], initial_[2 * n + 1]);
    }

    void Reset() { nodes_ = initial_; }

    void Remove(int row) {
        int n = size_ + row;
        nodes_[n] = Node{};
        // Above a node that did not change, nothing changes.
        for (n /= 2; n >= 1; n /= 2) {
            const Node joined = Join(nodes_[2 * n], nodes_[2 * n + 1]);
            if (joined == nodes_[n]) break;
            nodes_[n] = joined;
        }
    }

    // First row at or after pos that fits, or -1. The search starts at the leaf and climbs
    // only as far as needed, since the next fitting row is usually near.
    int FindFrom(int pos, const FreeRectangles& free) const {
        if (pos >= size_) return -1;
        int n = size_ + pos;
        if (MightFit(nodes_[n], free)) return pos;  // a leaf's test is exact
        for (;;) {
            while (n & 1) n >>= 1;  // up while a right child
            if (n == 0) return -1;
            ++n;  // the subtree just right of everything seen
            if (!MightFit(nodes_[n], free)) continue;
            while (n < size_) {
                if (MightFit(nodes_[2 * n], free))
                    n = 2 * n;
                else if (MightFit(nodes_[2 * n + 1], free))
                    n = 2 * n + 1;
                else
                    break;  // the node's minimum fitted but none of its rows does
            }
            if (n >= size_) return n - size_;
        }
    }

private:
    static constexpr int32_t kNone = kNoFit;
    struct Node {
        int32_t keptL = kNone, keptW = kNone, turnS = kNone, turnG = kNone;
        int64_t keptArea = 0, turnArea = 0;
        bool operator==(const Node&) const = default;
    };

    static Node Join(const Node& x, const Node& y) {
        Node n;
        n.keptL = std::min(x.keptL, y.keptL);
        n.keptW = std::min(x.keptW, y.keptW);
        n.turnS = std::min(x.turnS, y.turnS);
        n.turnG = std::min(x.turnG, y.turnG);
        // An absent side has area 0; take the smaller area of those present.
        n.keptArea = x.keptL == kNone   ? y.keptArea
                     : y.keptL == kNone ? x.keptArea
                                        : std::min(x.keptArea, y.keptArea);
        n.turnArea = x.turnS == kNone   ? y.turnArea
                     : y.turnS == kNone ? x.turnArea
                                        : std::min(x.turnArea, y.turnArea);
        return n;
    }

    // A row fits a rectangle only when both its sides and its area do; the node's smallest
    // sides and area bound every row below it.
    static bool MightFit(const Node& n, const FreeRectangles& free) {
        return (n.keptL != kNone && free.FitsKept(n.keptL, n.keptW, n.keptArea)) ||
               (n.turnS != kNone && free.FitsTurnable(n.turnS, n.turnG, n.turnArea));
    }

    int size_ = 1;
    std::vector<Node> initial_, nodes_;
};

class CandidateFiller {
public:
    explicit CandidateFiller(const Problem& problem) : problem_(problem), rowTree_(problem.rows) {}

    // Fills candidate c; draws one number from `random` per placement.
    void FillCandidate(int c, LayoutRandom& random, CandidateState& out) {
        const std::vector<RowRun>& rows = problem_.rows;
        out.places.resize(problem_.pieceCount);
        out.placedInRow.assign(rows.size(), 0);
        out.offcuts.clear();
        out.placedCount = 0;
        out.sheetsUsed = 0;
        out.lastSheetYield = 0;
        out.cutMeasure = 0;
        rowTree_.Reset();

        for (const SheetInstance& sheet : problem_.sheets) {
            if (out.placedCount == problem_.pieceCount) break;
            free_.Reset(sheet.length, sheet.width);
            int64_t usedArea = 0;
            bool placedInPass;
            do {
                // A pass offers every unplaced piece once, in order. The pieces of a row are
                // alike, so the row is offered again until it no longer fits; and rows that
                // fit nowhere are skipped by the tree, as their pieces would be refused.
                placedInPass = false;
                int pos = 0;
                int again = -1;  // the row just placed from, while it has pieces left
                for (;;) {
                    RectangleFit fit;
                    int idx = -1;
                    // The row just placed from is tried first by its own scan, which is
                    // cheaper than the tree's test after the free list has changed.
                    if (again >= 0 &&
                        free_.ScoreFreeRectangles(rows[again].length, rows[again].width,
                                                  rows[again].grain, fit)) {
                        idx = again;
                    } else {
                        idx = rowTree_.FindFrom(pos, free_);
                        if (idx < 0) break;
                        free_.ScoreFreeRectangles(rows[idx].length, rows[idx].width,
                                                  rows[idx].grain, fit);
                    }
                    const RowRun& row = rows[idx];
                    const FreeRect& r = free_.Rectangles()[fit.index];
                    int32_t& done = out.placedInRow[idx];
                    out.places[row.firstPiece + done] = {sheet.number, r.x1, r.y1, fit.rotated};
                    usedArea += static_cast<int64_t>(fit.length) * fit.width;
                    out.cutMeasure += static_cast<int64_t>(fit.length) + fit.width;
                    int preference = random.Next() % 10 > 5 ? 1 : 0;
                    if (c == 0) preference = 1;
                    if (c == 1) preference = 0;
                    free_.PlaceAndSplit(fit, preference);
                    ++out.placedCount;
                    placedInPass = true;
                    if (++done == row.count) {
                        rowTree_.Remove(idx);
                        again = -1;
                    } else {
                        again = idx;
                    }
                    pos = idx + 1;
                }
                free_.MergeFreeRectangles();
            } while (placedInPass);
            out.cutMeasure += free_.CollectOffcuts(sheet.number, out.offcuts);
            const int64_t hundredth = static_cast<int64_t>(sheet.length) * sheet.width / 100;
            out.lastSheetYield = hundredth > 0 ? static_cast<double>(usedArea) / hundredth : 0;
            out.sheetsUsed += 1;
        }
    }

private:
    const Problem& problem_;
    FreeRectangles free_;
    RowTree rowTree_;
};

AutomaticLayout ExtractLayout(const Problem& problem, const CandidateState& state,
                              const CandidateRecord& record) {
    AutomaticLayout layout;
    layout.chosen = record;
    layout.PlacedParts.reserve(state.placedCount);
    for (size_t i = 0; i < problem.rows.size(); ++i) {
        const RowRun& row = problem.rows[i];
        for (int32_t k = 0; k < state.placedInRow[i]; ++k) {
            const PiecePlace& p = state.places[row.firstPiece + k];
            const int32_t l = p.rotated ? row.width : row.length;
            const int32_t w = p.rotated ? row.length : row.width;
            layout.PlacedParts.push_back(
                {p.sheet, p.x1, p.y1, p.x1 + l, p.y1 + w, p.rotated, row.row});
        }
    }
    layout.Offcuts = state.offcuts;
    return layout;
}

// Keeps the best candidate so far and applies the choice rules as candidates arrive in order.
class BestKeeper {
public:
    // Returns the state to reuse: the loser of the comparison.
    std::unique_ptr<CandidateState> Offer(int c, std::unique_ptr<CandidateState> state) {
        const CandidateRecord record = state->Record(c);
        if (c == 0) best_ = {record.sheetsUsed, record.lastSheetYield, 0, 0};
        const CandidateRecord next = ChooseBestCandidate(best_, record);
        best_ = next;
        if (next.index == c) std::swap(state, state_);
        return state;
    }
    const CandidateRecord& Record() const { return best_; }
    const CandidateState& State() const { return *state_; }

private:
    CandidateRecord best_;
    std::unique_ptr<CandidateState> state_;
};

// Runs the candidates on several threads. A candidate's random numbers start after all draws
// of the candidates before it, which are known only when those are done; each candidate is
// therefore computed from an assumed start (the pieces placed by the last finished candidate,
// times the candidates in between) and recomputed when the assumption was wrong. Results are
// taken strictly in candidate order on the caller's thread.
class ParallelRun {
public:
    ParallelRun(const Problem& problem, int candidateCount, uint64_t baseState, int threads)
        : problem_(problem),
          count_(candidateCount),
          baseState_(baseState),
          threads_(threads),
          window_(2 * threads),
          finished_(candidateCount),
          lastPlaced_(problem.pieceCount) {}

    ~ParallelRun() { StopHelpers(); }

    uint64_t Run(BestKeeper& keeper, const CandidateProgress& progress) {
        for (int t = 1; t < threads_; ++t) helpers_.emplace_back([this] { HelperLoop(); });
        CandidateFiller filler(problem_);
        while (true) {
            std::unique_lock<std::mutex> lock(mutex_);
            if (commitIndex_ >= count_) break;
            if (failure_) std::rethrow_exception(failure_);
            if (finished_[commitIndex_]) {
                const int c = commitIndex_;
                std::unique_ptr<CandidateState> state = std::move(finished_[c]);
                const uint64_t draws = committedDraws_;
                lock.unlock();
                // Candidates 0 and 1 ignore the draws, so their start never matters.
                if (c >= 2 && state->startDraw != draws) Compute(filler, c, draws, *state);
                const int64_t placed = state->placedCount;
                std::unique_ptr<CandidateState> spare = keeper.Offer(c, std::move(state));
                lock.lock();
                if (spare) pool_.push_back(std::move(spare));
                committedDraws_ += static_cast<uint64_t>(placed);
                lastPlaced_ = placed;
                ++commitIndex_;
                lock.unlock();
                cv_.notify_all();
                if (progress) progress(c);
                continue;
            }
            if (CanClaim()) {
                ClaimAndCompute(filler, lock);
                continue;
            }
            cv_.wait(lock,
                     [&] { return failure_ || finished_[commitIndex_] != nullptr || CanClaim(); });
        }
        StopHelpers();
        return committedDraws_;
    }

private:
    bool CanClaim() const { return nextClaim_ < count_ && nextClaim_ < commitIndex_ + window_; }

    void Compute(CandidateFiller& filler, int c, uint64_t startDraw, CandidateState& state) {
        LayoutRandom random(baseState_);
        random.Skip(startDraw);
        filler.FillCandidate(c, random, state);
        state.startDraw = startDraw;
    }

    // Called with the lock held; returns with it held.
    void ClaimAndCompute(CandidateFiller& filler, std::unique_lock<std::mutex>& lock) {
        const int c = nextClaim_++;
        const uint64_t start =
            committedDraws_ + static_cast<uint64_t>(c - commitIndex_) * lastPlaced_;
        std::unique_ptr<CandidateState> state;
        if (!pool_.empty()) {
            state = std::move(pool_.back());
            pool_.pop_back();
        } else {
            state = std::make_unique<CandidateState>();
        }
        lock.unlock();
        Compute(filler, c, start, *state);
        lock.lock();
        finished_[c] = std::move(state);
        cv_.notify_all();
    }

    void HelperLoop() {
        try {
            CandidateFiller filler(problem_);
            std::unique_lock<std::mutex> lock(mutex_);
            while (true) {
                cv_.wait(lock, [&] { return stop_ || nextClaim_ >= count_ || CanClaim(); });
                if (stop_ || nextClaim_ >= count_) return;
                ClaimAndCompute(filler, lock);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex_);
            failure_ = std::current_exception();
            cv_.notify_all();
        }
    }

    void StopHelpers() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        cv_.notify_all();
        for (std::thread& t : helpers_)
            if (t.joinable()) t.join();
        helpers_.clear();
    }

    const Problem& problem_;
    const int count_;
    const uint64_t baseState_;
    const int threads_;
    const int window_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::vector<std::thread> helpers_;
    std::vector<std::unique_ptr<CandidateState>> finished_;
    std::vector<std::unique_ptr<CandidateState>> pool_;
    int nextClaim_ = 0;
    int commitIndex_ = 0;
    uint64_t committedDraws_ = 0;
    int64_t lastPlaced_;
    bool stop_ = false;
    std::exception_ptr failure_;
};

}  // namespace

AutomaticLayout ComputeAutomaticLayout(const std::vector<SheetInstance>& sheets,
                                       const std::vector<PartInput>& parts, int candidateCount,
                                       LayoutRandom& random, const CandidateProgress& progress,
                                       int threads) {
    const int count = std::max(candidateCount, 1);
    const Problem problem(sheets, parts);
    if (threads <= 0) {
        const unsigned cores = std::thread::hardware_concurrency();
        threads = cores >= 2 ? 2 : 1;
    }
    if (count < 3) threads = 1;

    BestKeeper keeper;
    if (threads == 1) {
        CandidateFiller filler(problem);
        auto state = std::make_unique<CandidateState>();
        for (int c = 0; c < count; ++c) {
            filler.FillCandidate(c, random, *state);
            state = keeper.Offer(c, std::move(state));
            if (!state) state = std::make_unique<CandidateState>();
            if (progress) progress(c);
        }
    } else {
        ParallelRun run(problem, count, random.State(), threads);
        random.Skip(run.Run(keeper, progress));
    }
    return ExtractLayout(problem, keeper.State(), keeper.Record());
}

void RunAutomaticLayout(OptimiserInput& input, RunResult& result, int candidateCount,
                        LayoutRandom& random, const CandidateProgress& progress) {
    AutomaticLayout layout = ComputeAutomaticLayout(input.SheetInstances, input.PartInputs,
                                                    candidateCount, random, progress);
    for (const PlacedPart& p : layout.PlacedParts) {
        const int64_t index = static_cast<int64_t>(p.row) - 1;
        if (index >= 0 && index < static_cast<int64_t>(input.PartWorks.size()))
            input.PartWorks[index].quantity -= 1;
    }
    result.PlacedParts = std::move(layout.PlacedParts);
    result.Offcuts = std::move(layout.Offcuts);
}

}  // namespace trimora
