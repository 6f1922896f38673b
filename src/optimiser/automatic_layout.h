// The automatic layout: a randomised greedy free-rectangle packer run as many candidates, of
// which the best is kept. Candidates differ only in how each used free rectangle is split,
// which is forced for the first two candidates and drawn from the generator for the others.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "optimiser/run_records.h"

namespace trimora {

// 64-bit linear congruential generator. One number is drawn for every placement of every
// candidate, so a run's layouts depend on where the sequence stands when it starts.
class LayoutRandom {
public:
    static constexpr uint64_t kStartState = 22695478;
    static constexpr uint64_t kMultiplier = 1486058704437ULL;  // 346 * 2^32 + 20021

    explicit LayoutRandom(uint64_t state = kStartState) : state_(state) {}

    // Bits 32..62 of the next state.
    int32_t Next() {
        state_ = state_ * kMultiplier + 1;
        return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFFu);
    }
    // Advances the state by `draws` draws in O(log draws).
    void Skip(uint64_t draws);
    uint64_t State() const { return state_; }

private:
    uint64_t state_;
};

// The generator the program uses: seeded once per process and never reseeded.
LayoutRandom& DefaultLayoutRandom();

// 100, 200 or 300 candidates for autoparam 0, 1 or 2 (values beyond are clamped).
int CandidateCountForAutoparam(int autoparam);
// Position 0..99 of the progress bar after candidate `candidate` of `candidateCount`.
int ProgressPosition(int candidate, int candidateCount);

// What the choice between candidates looks at.
struct CandidateRecord {
    int32_t sheetsUsed = 0;
    double lastSheetYield = 0;  // percent
    int index = 0;
    int64_t cutMeasure = 0;
};
// Applies the choice rules to one more candidate and returns the new best. The first best
// is candidate 0's sheets and yield with index 0 and cut measure 0; candidate 0 is then
// passed through this function like every other.
CandidateRecord ChooseBestCandidate(const CandidateRecord& best, const CandidateRecord& candidate);

// A free rectangle: x along the sheet length, y along its width.
struct FreeRect {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const FreeRect&, const FreeRect&) = default;
};

// Where a piece goes: the index of the rectangle, the piece's extent in the chosen
// orientation and that orientation.
struct RectangleFit {
    int index = -1;
    int32_t length = 0, width = 0;
    int32_t rotated = 0;
    int32_t score = 0;
};

// Free rectangles of the sheet being filled, in list order. Used-up entries are dropped
// from the storage, but the list remembers how many entries it has held, since the merge
// and the offcut collection depend on that count.
class FreeRectangles {
public:
    void Reset(int32_t sheetLength, int32_t sheetWidth);
    // Sets the list directly (empty rectangles are dropped); `held` is the entry count.
    void Assign(std::vector<FreeRect> rects, int64_t held);

    // Finds the rectangle with the lowest best-short-side score for a piece of prepared
    // length and width (lowest index on equal scores). False when it fits nowhere.
    bool ScoreFreeRectangles(int32_t length, int32_t width, int32_t grain, RectangleFit& fit) const;
    // Cuts the piece out of the fitted rectangle; preference 0 cuts first along the piece's
    // right edge, 1 first along its top edge.
    void PlaceAndSplit(const RectangleFit& fit, int preference);
    // One sweep joining each rectangle with the first later one that lies directly above
    // it with the same x-extent or directly right of it with the same y-extent.
    void MergeFreeRectangles();
    // Appends the remaining rectangles as offcuts of the sheet and returns the sum of their
    // widths and heights (their share of the cut measure).
    int64_t CollectOffcuts(int32_t sheetNumber, std::vector<Offcut>& offcuts) const;

    // Tests without a scoring scan: some rectangle is at least length x width (the piece
    // kept as it is), or at least shortSide x longSide in some orientation, and has at least
    // the given area (which a single piece's sides already imply).
    bool FitsKept(int32_t length, int32_t width, int64_t area = 0) const;
    bool FitsTurnable(int32_t shortSide, int32_t longSide, int64_t area = 0) const;

    // A rectangle's sides as (dx, dy), or as (short, long) for turnable pieces.
    struct Corner {
        int32_t a = 0, b = 0;
    };

    const std::vector<FreeRect>& Rectangles() const { return rects_; }
    // Entries the list has held on this sheet, used-up ones included.
    int64_t EntryCount() const { return entryCount_; }

private:
    void UpdateStairs() const;

    std::vector<FreeRect> rects_;
    int64_t entryCount_ = 0;
    // The maximal (dx, dy) and (short side, long side) pairs over the rectangles: the two fit
    // tests only need these few corners.
    mutable bool keptValid_ = false, turnValid_ = false;
    mutable std::vector<Corner> keptStair_, turnStair_;  // storage; the counts say what is valid
    mutable size_t keptCount_ = 0, turnCount_ = 0;
};

struct AutomaticLayout {
    std::vector<PlacedPart> PlacedParts;  // in piece order
    std::vector<Offcut> Offcuts;          // sheet by sheet, list order within a sheet
    CandidateRecord chosen;
};

// Called on the caller's thread after each candidate, in candidate order.
using CandidateProgress = std::function<void(int candidate)>;

// Runs `candidateCount` candidates over the sheets in order and the part rows expanded by
// their quantities in order, and returns the chosen one. The generator is advanced by one
// draw per placement of every candidate. `threads` 0 uses the machine's cores (at most 2);
// the result does not depend on it. A piece without area (a prepared side of 0 or less) is
// never placed; a grain flag other than 1 lets a piece turn.
AutomaticLayout ComputeAutomaticLayout(const std::vector<SheetInstance>& sheets,
                                       const std::vector<PartInput>& parts, int candidateCount,
                                       LayoutRandom& random, const CandidateProgress& progress = {},
                                       int threads = 0);

// The whole automatic step of a run: computes the layout from the prepared input, replaces
// the result records with it and lowers each placed piece's remaining quantity in PartWorks.
void RunAutomaticLayout(OptimiserInput& input, RunResult& result, int candidateCount,
                        LayoutRandom& random = DefaultLayoutRandom(),
                        const CandidateProgress& progress = {});

}  // namespace trimora
