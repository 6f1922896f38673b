// A plain, unoptimised implementation of the automatic layout: every candidate is kept, every
// pass walks every piece against every free-list entry, used-up entries stay in the list as
// zeros. It is slow on purpose; the benchmark and the tests hold the product to its results.
#pragma once

#include <cstdint>
#include <vector>

#include "optimiser/run_records.h"

namespace trimora::reference {

struct ReferenceLayout {
    std::vector<PlacedPart> placedParts;
    std::vector<Offcut> offcuts;
    int chosen = 0;
    int32_t sheetsUsed = 0;
    double lastSheetYield = 0;
    int64_t cutMeasure = 0;
    uint64_t randomState = 0;  // generator state after the run
};

namespace detail {

constexpr int32_t kNoFit = 2147483647;

struct Piece {
    int32_t length = 0, width = 0, grain = 0, row = 0;
    int32_t sheet = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0, orientation = 0;
};

struct FreeEntry {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t score = kNoFit;
    int32_t fitLength = 0, fitWidth = 0, fitOrientation = 0;
    bool AllZero() const { return x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0; }
    bool NonEmpty() const { return x2 > x1 && y2 > y1; }
};

struct Candidate {
    std::vector<Piece> pieces;
    std::vector<Offcut> offcuts;
    int64_t placedCount = 0;
    int32_t sheetsUsed = 0;
    double lastSheetYield = 0;
    int64_t cutMeasure = 0;
};

class ReferenceRun {
public:
    ReferenceRun(const std::vector<SheetInstance>& sheets, const std::vector<PartInput>& parts,
                 uint64_t state)
        : sheets_(sheets), state_(state) {
        for (const PartInput& p : parts)
            for (int32_t q = 0; q < p.quantity; ++q) {
                Piece piece;
                piece.length = p.length;
                piece.width = p.width;
                piece.grain = p.grain;
                piece.row = p.row;
                pieces_.push_back(piece);
            }
    }

    ReferenceLayout Run(int candidateCount) {
        if (candidateCount < 1) candidateCount = 1;
        candidates_.assign(candidateCount, Candidate{});
        for (int c = 0; c < candidateCount; ++c) FillCandidate(c);
        const int best = ChooseBestCandidate();
        ReferenceLayout out;
        const Candidate& chosen = candidates_[best];
        for (const Piece& p : chosen.pieces)
            if (p.sheet != 0)
                out.placedParts.push_back({p.sheet, p.x1, p.y1, p.x2, p.y2, p.orientation, p.row});
        out.offcuts = chosen.offcuts;
        out.chosen = best;
        out.sheetsUsed = chosen.sheetsUsed;
        out.lastSheetYield = chosen.lastSheetYield;
        out.cutMeasure = chosen.cutMeasure;
        out.randomState = state_;
        return out;
    }

private:
    int32_t Draw() {
        state_ = state_ * 1486058704437ULL + 1;
        return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFFu);
    }

    void FillCandidate(int c) {
        Candidate& cand = candidates_[c];
        cand.pieces = pieces_;
        cand.offcuts.clear();
        free_.clear();
        for (const SheetInstance& sheet : sheets_) {
            if (cand.placedCount == static_cast<int64_t>(cand.pieces.size())) break;
            free_.clear();
            FreeEntry first;
            first.x2 = sheet.length;
            first.y2 = sheet.width;
            free_.push_back(first);
            usedArea_ = 0;
            do {
                passFlag_ = false;
                for (Piece& piece : cand.pieces) {
                    if (piece.sheet != 0) continue;
                    ScoreFreeRectangles(piece);
                    if (fitFlag_) PlaceAndSplit(c, piece, sheet.number);
                }
                MergeFreeRectangles();
            } while (passFlag_);
            CollectOffcuts(cand, sheet.number);
            const int64_t hundredth = static_cast<int64_t>(sheet.length) * sheet.width / 100;
            cand.lastSheetYield = hundredth > 0 ? static_cast<double>(usedArea_) / hundredth : 0;
            cand.sheetsUsed += 1;
        }
    }

    static int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

    void ScoreFreeRectangles(const Piece& piece) {
        fitFlag_ = false;
        const int32_t L = piece.length, W = piece.width;
        for (FreeEntry& e : free_) {
            if (e.AllZero()) continue;
            e.score = kNoFit;
            if (L <= 0 || W <= 0 || !e.NonEmpty()) continue;
            const int32_t dx = e.x2 - e.x1, dy = e.y2 - e.y1;
            const bool normal = L <= dx && W <= dy;
            const bool turned = W <= dx && L <= dy;
            if (piece.grain == 1) {
                if (normal) Take(e, Min(dy - W, dx - L), L, W, 0);
            } else if (normal && turned) {
                const int32_t ns = Min(dy - W, dx - L), ts = Min(dy - L, dx - W);
                if (ts < ns)
                    Take(e, ts, W, L, 1);
                else
                    Take(e, ns, L, W, 0);
            } else if (normal) {
                Take(e, Min(dy - W, dx - L), L, W, 0);
            } else if (turned) {
                Take(e, Min(dy - L, dx - W), W, L, 1);
            }
        }
    }

    void Take(FreeEntry& e, int32_t score, int32_t l, int32_t w, int32_t orientation) {
        e.score = score;
        e.fitLength = l;
        e.fitWidth = w;
        e.fitOrientation = orientation;
        if (score < kNoFit) {
            fitFlag_ = true;
            passFlag_ = true;
        }
    }

    void PlaceAndSplit(int c, Piece& piece, int32_t sheetNumber) {
        Candidate& cand = candidates_[c];
        fitFlag_ = false;
        cand.placedCount += 1;
        size_t chosen = 0;
        int32_t best = kNoFit;
        for (size_t j = 0; j < free_.size(); ++j)
            if (free_[j].NonEmpty() && free_[j].score < best) {
                best = free_[j].score;
                chosen = j;
            }
        const FreeEntry r = free_[chosen];
        const int32_t l = r.fitLength, w = r.fitWidth;
        piece.sheet = sheetNumber;
        piece.x1 = r.x1;
        piece.y1 = r.y1;
        piece.x2 = r.x1 + l;
        piece.y2 = r.y1 + w;
        piece.orientation = r.fitOrientation;
        usedArea_ += static_cast<int64_t>(l) * w;
        cand.cutMeasure += static_cast<int64_t>(l) + w;
        free_[chosen] = FreeEntry{};

        int preference = Draw() % 10 > 5 ? 1 : 0;
        if (c == 0) preference = 1;
        if (c == 1) preference = 0;

        const int32_t X = r.x1 + l, Y = r.y1 + w;
        auto set = [](FreeEntry& e, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
            e = FreeEntry{};
            e.x1 = x1;
            e.y1 = y1;
            e.x2 = x2;
            e.y2 = y2;
        };
        if (X < r.x2 && Y < r.y2) {
            FreeEntry added;
            if (preference == 0) {
                set(free_[chosen], X, r.y1, r.x2, r.y2);
                set(added, r.x1, Y, X, r.y2);
            } else {
                set(free_[chosen], X, r.y1, r.x2, Y);
                set(added, r.x1, Y, r.x2, r.y2);
            }
            free_.push_back(added);
        } else if (X < r.x2) {
            set(free_[chosen], X, r.y1, r.x2, r.y2);
        } else if (Y < r.y2) {
            set(free_[chosen], r.x1, Y, r.x2, r.y2);
        }
    }

    void MergeFreeRectangles() {
        if (free_.size() <= 3) return;
        for (size_t i = 0; i + 1 < free_.size(); ++i) {
            const FreeEntry a = free_[i];
            if (a.AllZero()) continue;
            for (size_t j = i + 1; j < free_.size(); ++j) {
                FreeEntry& b = free_[j];
                const bool above = a.y2 == b.y1 && a.x1 == b.x1 && a.x2 == b.x2;
                const bool right = a.x2 == b.x1 && a.y1 == b.y1 && a.y2 == b.y2;
                if (above || right) {
                    const int32_t x2 = b.x2, y2 = b.y2;
                    b = FreeEntry{};
                    b.x1 = a.x1;
                    b.y1 = a.y1;
                    b.x2 = x2;
                    b.y2 = y2;
                    free_[i] = FreeEntry{};
                    break;
                }
            }
        }
    }

    void CollectOffcuts(Candidate& cand, int32_t sheetNumber) {
        if (free_.size() <= 1) return;
        for (const FreeEntry& e : free_)
            if (e.NonEmpty()) {
                cand.offcuts.push_back({sheetNumber, e.x1, e.y1, e.x2, e.y2});
                cand.cutMeasure += static_cast<int64_t>(e.x2 - e.x1) + (e.y2 - e.y1);
            }
    }

    int ChooseBestCandidate() const {
        int32_t bestSheets = candidates_[0].sheetsUsed;
        double bestYield = candidates_[0].lastSheetYield;
        int bestIndex = 0;
        int64_t bestCut = 0;
        for (int c = 0; c < static_cast<int>(candidates_.size()); ++c) {
            const Candidate& cand = candidates_[c];
            if (cand.sheetsUsed > bestSheets) continue;
            if (cand.lastSheetYield == bestYield || cand.cutMeasure < bestCut) {
                bestSheets = cand.sheetsUsed;
                bestYield = cand.lastSheetYield;
                bestIndex = c;
                bestCut = cand.cutMeasure;
            }
            if (cand.lastSheetYield < bestYield) {
                bestSheets = cand.sheetsUsed;
                bestYield = cand.lastSheetYield;
                bestIndex = c;
                bestCut = cand.cutMeasure;
            }
        }
        return bestIndex;
    }

    const std::vector<SheetInstance>& sheets_;
    std::vector<Piece> pieces_;
    std::vector<Candidate> candidates_;
    std::vector<FreeEntry> free_;
    int64_t usedArea_ = 0;
    bool fitFlag_ = false;
    bool passFlag_ = false;
    uint64_t state_;
};

}  // namespace detail

// Runs candidateCount candidates from the given generator state.
inline ReferenceLayout ReferenceAutomaticLayout(const std::vector<SheetInstance>& sheets,
                                                const std::vector<PartInput>& parts,
                                                int candidateCount, uint64_t randomState) {
    detail::ReferenceRun run(sheets, parts, randomState);
    return run.Run(candidateCount);
}

}  // namespace trimora::reference
