// A plain, literal version of the manual combination search: every combination is a record
// of its own with one count per part entry and its triples, joins are tried pair by pair in
// the order the search defines, and duplicates are found by a linear scan. It is slow on
// purpose; the benchmark and the tests hold the product implementation against it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "optimiser/manual_search.h"
#include "optimiser/run_records.h"

namespace trimora::reference {

struct Combination {
    int32_t length = 0;
    int32_t width = 0;
    int64_t waste = 0;
    std::vector<int32_t> counts;
    std::vector<ManualTriple> triples;

    int32_t Pieces() const {
        int32_t n = 0;
        for (const ManualTriple& t : triples) n += t.id != 0 ? 1 : 0;
        return n;
    }
};

class ReferenceManualSearch {
public:
    void InitSearch(const std::vector<PartInput>& parts, int32_t n, float alpha,
                    int32_t sheetLength, int32_t sheetWidth, int32_t targetYield,
                    int32_t rowOffset) {
        parts_ = parts;
        n_ = n;
        alpha_ = alpha;
        L_ = sheetLength;
        W_ = sheetWidth;
        S_ = int64_t{sheetLength} * sheetWidth;
        T_ = targetYield;
        generation_ = 0;
        found_ = true;
        target_ = false;
        all_.clear();
        partners_.clear();
        new_.clear();
        bounds_.assign(parts.size(), 0);
        for (size_t i = 0; i < parts.size(); ++i) {
            const PartInput& p = parts[i];
            if (p.length <= L_ && p.width <= W_) AddBasic(i, p.length, p.width, p.row);
            if (p.grain == 0 && p.width <= L_ && p.length <= W_)
                AddBasic(i, p.width, p.length, p.row + rowOffset);
            const int64_t area = int64_t{p.length} * p.width;
            bounds_[i] = area > 0 ? static_cast<int32_t>(std::min<int64_t>(p.quantity, S_ / area))
                                  : p.quantity;
        }
    }

    // One generation; true when the search goes on with another.
    bool RunGeneration() {
        found_ = false;
        new_.clear();
        ++generation_;
        for (size_t i = 0; i < all_.size(); ++i) {
            bool stop = false;
            for (size_t j = 0; j < partners_.size(); ++j) {
                if (!TryCombine(all_[i], partners_[j])) {
                    stop = true;
                    break;
                }
            }
            if (stop) break;
        }
        if (!found_) return false;
        Merge();
        if (target_) return false;
        partners_ = new_;
        return true;
    }

    void Run() {
        while (RunGeneration()) {
        }
    }

    int32_t ChooseBest() const {
        int32_t best = -1;
        int64_t bestSheetWaste = 0;
        for (size_t k = 0; k < all_.size(); ++k) {
            const Combination& c = all_[k];
            const int64_t sheetWaste = c.waste + S_ - int64_t{c.length} * c.width;
            if (best < 0 || sheetWaste < bestSheetWaste ||
                (sheetWaste == bestSheetWaste && c.waste < all_[best].waste)) {
                best = static_cast<int32_t>(k);
                bestSheetWaste = sheetWaste;
            }
        }
        return best;
    }

    std::vector<int32_t> Alternatives() const {
        std::vector<int32_t> result;
        if (all_.empty()) return result;
        result.push_back(ChooseBest());
        const int32_t m = std::min<int32_t>(kManualAlternatives, int32_t(all_.size()) - 1);
        std::vector<bool> taken(all_.size(), false);
        for (int32_t e = 1; e <= m; ++e) {
            int32_t pick = -1;
            for (size_t k = 0; k < all_.size(); ++k) {
                if (taken[k]) continue;
                if (pick < 0 || all_[k].Pieces() > all_[pick].Pieces()) pick = int32_t(k);
            }
            taken[pick] = true;
            result.push_back(pick);
        }
        return result;
    }

    const std::vector<Combination>& All() const { return all_; }
    int32_t Generation() const { return generation_; }
    bool TargetReached() const { return target_; }
    float Alpha() const { return alpha_; }

private:
    void AddBasic(size_t entry, int32_t l, int32_t w, int32_t id) {
        Combination c;
        c.length = l;
        c.width = w;
        c.counts.assign(parts_.size(), 0);
        c.counts[entry] = 1;
        c.triples.push_back({id, 0, 0});
        all_.push_back(c);
        partners_.push_back(c);
    }

    // false means "stop".
    bool TryCombine(const Combination& a, const Combination& b) {
        for (size_t t = 0; t < parts_.size(); ++t)
            if (a.counts[t] + b.counts[t] > bounds_[t]) return true;
        // Both joins are made; either may ask to stop.
        const bool widthGoesOn = Stack(a, b, true);
        const bool lengthGoesOn = Stack(a, b, false);
        return widthGoesOn && lengthGoesOn;
    }

    bool Stack(const Combination& a, const Combination& b, bool alongWidth) {
        int32_t l = 0, w = 0;
        ManualTriple g1{}, g2{};
        int64_t gap = 0;
        if (alongWidth) {
            if (a.width + b.width > W_) return true;
            l = std::max(a.length, b.length);
            w = a.width + b.width;
            if (b.length < a.length) {
                g1 = {0, b.length, a.width};
                g2 = {0, a.length, a.width + b.width};
            } else {
                g1 = {0, a.length, 0};
                g2 = {0, b.length, a.width};
            }
        } else {
            if (a.length + b.length > L_) return true;
            l = a.length + b.length;
            w = std::max(a.width, b.width);
            if (b.width < a.width) {
                g1 = {0, a.length, b.width};
                g2 = {0, a.length + b.length, a.width};
            } else {
                g1 = {0, 0, a.width};
                g2 = {0, a.length, b.width};
            }
        }
        gap = int64_t{g2.x - g1.x} * (g2.y - g1.y);
        const int64_t waste = a.waste + gap + b.waste;
        if (waste > static_cast<int64_t>(static_cast<double>(alpha_) * l * w)) return true;
        found_ = true;
        if (int64_t(new_.size()) >= n_) return false;
        Combination c;
        c.length = l;
        c.width = w;
        c.waste = waste;
        c.counts.resize(parts_.size());
        for (size_t t = 0; t < parts_.size(); ++t) c.counts[t] = a.counts[t] + b.counts[t];
        c.triples = a.triples;
        for (ManualTriple t : b.triples) {
            if (alongWidth)
                t.y += a.width;
            else
                t.x += a.length;
            c.triples.push_back(t);
        }
        if (gap != 0) {
            c.triples.push_back(g1);
            c.triples.push_back(g2);
        }
        new_.push_back(std::move(c));
        const int64_t percentBase = std::max<int64_t>(1, S_ / 100);
        if (T_ < (int64_t{l} * w - waste) / percentBase) {
            target_ = true;
            return false;
        }
        return true;
    }

    void Merge() {
        alpha_ = static_cast<float>(alpha_ * 1.2);
        for (const Combination& c : new_) {
            bool known = false;
            for (const Combination& k : all_) {
                if (k.waste == c.waste && k.length == c.length && k.width == c.width) {
                    known = true;
                    break;
                }
            }
            if (!known) all_.push_back(c);
        }
    }

    std::vector<PartInput> parts_;
    std::vector<int32_t> bounds_;
    int64_t n_ = 0;
    float alpha_ = 0;
    int32_t L_ = 0, W_ = 0;
    int64_t S_ = 0;
    int32_t T_ = 0;
    int32_t generation_ = 0;
    bool found_ = false;
    bool target_ = false;
    std::vector<Combination> all_, partners_, new_;
};

}  // namespace trimora::reference
