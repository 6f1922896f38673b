#include "optimiser/manual_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/canvas.h"
#include "core/number_format.h"
#include "core/project.h"
#include "core/tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trimora {

namespace {

// The inner loop looks at the partners in blocks of this many, one bit each.
constexpr int32_t kBlock = 64;
constexpr Tenths kNoFit = std::numeric_limits<Tenths>::max();

// The partners of one block, side by side: exact sizes and waste, and the same as floats for
// the quick estimate below.
struct PartnerBlock {
    const Tenths* length;
    const Tenths* width;
    const float* lengthF;
    const float* widthF;
    const float* wasteF;
};

// The all-list combination being joined, with the room the sheet leaves beside and above it.
struct JoinProbe {
    Tenths lengthRoom, widthRoom;
    float length, width, waste, alpha;
    bool estimate;  // sizes and alpha small enough for the float estimate to be safe
};

// Bit k is set when partner k may join the probe on top (its width fits) or beside (its
// length fits). With the estimate, the waste test is also made in single precision with a
// margin far above its rounding error, so a pair it drops can never pass the exact test;
// the exact test then runs only for the pairs left. Both cover kBlock partners.
uint64_t CandidateMask(const PartnerBlock& b, const JoinProbe& a) {
#if defined(__SSE2__)
    const __m128i lengthRoom = _mm_set1_epi32(a.lengthRoom);
    const __m128i widthRoom = _mm_set1_epi32(a.widthRoom);
    // Sizes first: most pairs of later generations end here.
    uint64_t fitsOnTop = 0, fitsBeside = 0;
    for (int32_t k = 0; k < kBlock; k += 4) {
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.length + k));
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.width + k));
        const auto tooWide =
            static_cast<uint64_t>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(w, widthRoom))));
        const auto tooLong = static_cast<uint64_t>(
            _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(l, lengthRoom))));
        fitsOnTop |= (~tooWide & 0xF) << k;
        fitsBeside |= (~tooLong & 0xF) << k;
    }
    const uint64_t fits = fitsOnTop | fitsBeside;
    if (!a.estimate || fits == 0) return fits;

    const __m128 la = _mm_set1_ps(a.length), wa = _mm_set1_ps(a.width);
    const __m128 xa = _mm_set1_ps(a.waste), alpha = _mm_set1_ps(a.alpha);
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    const __m128 margin = _mm_set1_ps(1e-5f);
    const __m128 signBit = _mm_set1_ps(-0.0f);
    // The test passes when waste <= limit + |limit| x margin + 1.
    auto within = [&](__m128 waste, __m128 limit) {
        const __m128 slack = _mm_mul_ps(_mm_andnot_ps(signBit, limit), margin);
        return static_cast<uint64_t>(
            _mm_movemask_ps(_mm_cmple_ps(waste, _mm_add_ps(_mm_add_ps(limit, slack), one))));
    };
    auto select = [](__m128 mask, __m128 yes, __m128 no) {
        return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
    };
    uint64_t result = 0;
    for (int32_t k = 0; k < kBlock; k += 4) {
        if (((fits >> k) & 0xF) == 0) continue;
        const __m128 lb = _mm_loadu_ps(b.lengthF + k), wb = _mm_loadu_ps(b.widthF + k);
        const __m128 xab = _mm_add_ps(xa, _mm_loadu_ps(b.wasteF + k));
        // On top: the gap lies beside the shorter of the two.
        const __m128 dl = _mm_sub_ps(la, lb);
        const __m128 gapTop = select(_mm_cmpgt_ps(dl, zero), _mm_mul_ps(dl, wb),
                                     _mm_mul_ps(_mm_sub_ps(zero, dl), wa));
        const __m128 limitTop =
            _mm_mul_ps(_mm_mul_ps(alpha, _mm_max_ps(la, lb)), _mm_add_ps(wa, wb));
        // Beside: the gap lies above the narrower of the two.
        const __m128 dw = _mm_sub_ps(wa, wb);
        const __m128 gapBeside = select(_mm_cmpgt_ps(dw, zero), _mm_mul_ps(dw, lb),
                                        _mm_mul_ps(_mm_sub_ps(zero, dw), la));
        const __m128 limitBeside =
            _mm_mul_ps(_mm_mul_ps(alpha, _mm_add_ps(la, lb)), _mm_max_ps(wa, wb));
        const uint64_t top = within(_mm_add_ps(xab, gapTop), limitTop) & (fitsOnTop >> k);
        const uint64_t beside = within(_mm_add_ps(xab, gapBeside), limitBeside) & (fitsBeside >> k);
        result |= ((top | beside) & 0xF) << k;
    }
    return result;
#else
    uint64_t result = 0;
    for (int32_t k = 0; k < kBlock; ++k) {
        const bool fits = b.length[k] <= a.lengthRoom || b.width[k] <= a.widthRoom;
        result |= static_cast<uint64_t>(fits) << k;
    }
    return result;
#endif
}

// trunc(alpha x length x width). An alpha grown beyond any area accepts every waste.
AreaTenths WasteLimit(float alpha, Tenths length, Tenths width) {
    const double limit = static_cast<double>(alpha) * length * width;
    if (!(limit < 9.0e18)) return std::numeric_limits<AreaTenths>::max();
    return limit > -9.0e18 ? static_cast<AreaTenths>(limit) : -1;
}

// Waste of b put on top of a, or -1 when the join is not allowed.
inline AreaTenths WidthJoinWaste(Tenths la, Tenths wa, AreaTenths xa, Tenths lb, Tenths wb,
                                 AreaTenths xb, Tenths sheetWidth, float alpha) {
    if (int64_t{wa} + wb > sheetWidth) return -1;
    const AreaTenths gap = lb < la ? AreaTenths{la - lb} * wb : AreaTenths{lb - la} * wa;
    const AreaTenths waste = xa + gap + xb;
    return waste > WasteLimit(alpha, std::max(la, lb), wa + wb) ? -1 : waste;
}

// Waste of b put to the right of a, or -1 when the join is not allowed.
inline AreaTenths LengthJoinWaste(Tenths la, Tenths wa, AreaTenths xa, Tenths lb, Tenths wb,
                                  AreaTenths xb, Tenths sheetLength, float alpha) {
    if (int64_t{la} + lb > sheetLength) return -1;
    const AreaTenths gap = wb < wa ? AreaTenths{wa - wb} * lb : AreaTenths{wb - wa} * la;
    const AreaTenths waste = xa + gap + xb;
    return waste > WasteLimit(alpha, la + lb, std::max(wa, wb)) ? -1 : waste;
}

// The gap rectangle a join leaves, relative to the joined combination.
struct Gap {
    ManualTriple first, second;
    AreaTenths Area() const { return AreaTenths{second.x - first.x} * (second.y - first.y); }
};

Gap JoinGap(bool alongWidth, Tenths la, Tenths wa, Tenths lb, Tenths wb) {
    if (alongWidth) {
        if (lb < la) return {{0, lb, wa}, {0, la, wa + wb}};
        return {{0, la, 0}, {0, lb, wa}};
    }
    if (wb < wa) return {{0, la, wb}, {0, la + lb, wa}};
    return {{0, 0, wa}, {0, la, wb}};
}

uint64_t RowBit(int32_t entry) {
    return uint64_t{1} << (static_cast<uint32_t>(entry) % 64);
}

uint64_t HashKey(Tenths length, Tenths width, AreaTenths waste) {
    uint64_t h = static_cast<uint64_t>(waste) * 0x9E3779B97F4A7C15ull;
    h ^= (static_cast<uint64_t>(static_cast<uint32_t>(length)) << 32 |
          static_cast<uint32_t>(width)) *
         0xC2B2AE3D27D4EB4Full;
    return h ^ (h >> 29);
}

bool RowUsable(const PartInput& p) {
    return p.quantity > 0 && p.length > 0 && p.width > 0;
}

}  // namespace

int32_t ManualCombinationLimit(int manparam) {
    if (manparam <= 0) return 20000;
    if (manparam == 1) return 30000;
    return 40000;
}

// ---- log3 ----------------------------------------------------------------------------------

void log3::InitSearch(std::span<const PartInput> parts, int32_t n, float alpha, Tenths sheetLength,
                      Tenths sheetWidth, int32_t targetYield, int32_t rowOffset) {
    FreeSearch();
    n_ = n;
    alpha_ = alpha;
    L_ = sheetLength;
    W_ = sheetWidth;
    S_ = AreaTenths{sheetLength} * sheetWidth;
    T_ = targetYield;
    rowOffset_ = rowOffset;
    generation_ = 0;
    lastNewCount_ = 0;
    found_ = true;
    target_ = false;
    hasData_ = false;
    start_ = std::chrono::steady_clock::now();

    bounds_.assign(parts.size(), 0);
    for (size_t i = 0; i < parts.size(); ++i) {
        const PartInput& p = parts[i];
        const auto entry = static_cast<int32_t>(i);
        auto addBasic = [&](Tenths l, Tenths w, int32_t id) {
            Node node;
            node.length = l;
            node.width = w;
            node.pieces = 1;
            node.right = id;
            const int32_t id0 = AddNode(node);
            Entry e{id0, static_cast<uint32_t>(allCounts_.size()), 1, RowBit(entry)};
            allCounts_.push_back({entry, 1});
            all_.push_back(e);
            InsertHash(static_cast<int32_t>(all_.size()) - 1);
            e.countsBegin = static_cast<uint32_t>(partnerCounts_.size());
            partnerCounts_.push_back({entry, 1});
            partners_.push_back(e);
        };
        if (p.length <= L_ && p.width <= W_) addBasic(p.length, p.width, p.row);
        if (p.grain == 0 && p.width <= L_ && p.length <= W_)
            addBasic(p.width, p.length, p.row + rowOffset);
        const AreaTenths area = AreaTenths{p.length} * p.width;
        // A part without area cannot limit itself by the sheet's area.
        bounds_[i] = area > 0 ? static_cast<int32_t>(std::min<AreaTenths>(p.quantity, S_ / area))
                              : p.quantity;
    }
    RebuildPartnerArrays();
}

// The partner and new lists live only during a search.
void log3::ClearGenerationLists() {
    partners_.clear();
    new_.clear();
    partnerCounts_.clear();
    newCounts_.clear();
    partnerLength_.clear();
    partnerWidth_.clear();
    partnerWaste_.clear();
    partnerLengthF_.clear();
    partnerWidthF_.clear();
    partnerWasteF_.clear();
}

void log3::FreeSearch() {
    nodes_.clear();
    liveNodes_ = 0;
    all_.clear();
    allCounts_.clear();
    ClearGenerationLists();
    hash_.clear();
    alternatives_.clear();
    bounds_.clear();
    chosen_ = -1;
    hasData_ = false;
}

int32_t log3::AddNode(const Node& node) {
    nodes_.push_back(node);
    return static_cast<int32_t>(nodes_.size()) - 1;
}

CombinationInfo log3::Info(int32_t node) const {
    const Node& n = nodes_[node];
    return {n.length, n.width, n.waste, n.pieces};
}

std::vector<ManualTriple> log3::Triples(int32_t node) const {
    std::vector<ManualTriple> out;
    out.reserve(static_cast<size_t>(nodes_[node].pieces) * 3);
    // Left part first, then the right part shifted, then the gap of the join.
    auto emit = [&](auto&& self, int32_t id, Tenths dx, Tenths dy) -> void {
        const Node& n = nodes_[id];
        if (n.left < 0) {
            out.push_back({n.right, dx, dy});
            return;
        }
        const Node& a = nodes_[n.left];
        const Node& b = nodes_[n.right];
        self(self, n.left, dx, dy);
        self(self, n.right, n.alongWidth ? dx : dx + a.length, n.alongWidth ? dy + a.width : dy);
        const Gap gap = JoinGap(n.alongWidth, a.length, a.width, b.length, b.width);
        if (gap.Area() != 0) {
            out.push_back({0, dx + gap.first.x, dy + gap.first.y});
            out.push_back({0, dx + gap.second.x, dy + gap.second.y});
        }
    };
    emit(emit, node, 0, 0);
    return out;
}

std::vector<int32_t> log3::AllCounts(int32_t k) const {
    std::vector<int32_t> counts(bounds_.size(), 0);
    const Entry& e = all_[k];
    for (uint32_t c = 0; c < e.countsSize; ++c)
        counts[allCounts_[e.countsBegin + c].entry] = allCounts_[e.countsBegin + c].count;
    return counts;
}

bool log3::WithinBounds(const Entry& a, const Entry& b) const {
    // Rows that only one side holds are within their bound already.
    if ((a.rows & b.rows) == 0) return true;
    const Count* x = allCounts_.data() + a.countsBegin;
    const Count* xe = x + a.countsSize;
    const Count* y = partnerCounts_.data() + b.countsBegin;
    const Count* ye = y + b.countsSize;
    while (x != xe && y != ye) {
        if (x->entry < y->entry) {
            ++x;
        } else if (y->entry < x->entry) {
            ++y;
        } else {
            if (x->count + y->count > bounds_[x->entry]) return false;
            ++x;
            ++y;
        }
    }
    return true;
}

JoinStep log3::AppendJoin(int32_t a, int32_t b, bool alongWidth, Tenths length, Tenths width,
                          AreaTenths waste) {
    found_ = true;
    if (static_cast<int64_t>(new_.size()) >= n_) return JoinStep::kStop;
    const Entry ea = all_[a];
    const Entry eb = partners_[b];
    Node node;
    node.length = length;
    node.width = width;
    node.waste = waste;
    node.pieces = nodes_[ea.node].pieces + nodes_[eb.node].pieces;
    node.left = ea.node;
    node.right = eb.node;
    node.alongWidth = alongWidth;
    Entry e{AddNode(node), static_cast<uint32_t>(newCounts_.size()), 0, ea.rows | eb.rows};
    // Both count lists are sorted by entry; merge them.
    const Count* x = allCounts_.data() + ea.countsBegin;
    const Count* xe = x + ea.countsSize;
    const Count* y = partnerCounts_.data() + eb.countsBegin;
    const Count* ye = y + eb.countsSize;
    while (x != xe || y != ye) {
        if (y == ye || (x != xe && x->entry < y->entry)) {
            newCounts_.push_back(*x++);
        } else if (x == xe || y->entry < x->entry) {
            newCounts_.push_back(*y++);
        } else {
            newCounts_.push_back({x->entry, x->count + y->count});
            ++x;
            ++y;
        }
    }
    e.countsSize = static_cast<uint32_t>(newCounts_.size()) - e.countsBegin;
    new_.push_back(e);
    const AreaTenths percentBase = std::max<AreaTenths>(1, S_ / 100);
    if (T_ < (AreaTenths{length} * width - waste) / percentBase) {
        target_ = true;
        return JoinStep::kStop;
    }
    return JoinStep::kContinue;
}

JoinStep log3::StackAlongWidth(int32_t a, int32_t b) {
    const Node& na = nodes_[all_[a].node];
    const Node& nb = nodes_[partners_[b].node];
    const AreaTenths waste =
        WidthJoinWaste(na.length, na.width, na.waste, nb.length, nb.width, nb.waste, W_, alpha_);
    if (waste < 0) return JoinStep::kContinue;
    return AppendJoin(a, b, true, std::max(na.length, nb.length), na.width + nb.width, waste);
}

JoinStep log3::StackAlongLength(int32_t a, int32_t b) {
    const Node& na = nodes_[all_[a].node];
    const Node& nb = nodes_[partners_[b].node];
    const AreaTenths waste =
        LengthJoinWaste(na.length, na.width, na.waste, nb.length, nb.width, nb.waste, L_, alpha_);
    if (waste < 0) return JoinStep::kContinue;
    return AppendJoin(a, b, false, na.length + nb.length, std::max(na.width, nb.width), waste);
}

JoinStep log3::CombineFitting(int32_t a, int32_t b, bool widthFits, bool lengthFits,
                              AreaTenths widthWaste, AreaTenths lengthWaste) {
    if (!WithinBounds(all_[a], partners_[b])) return JoinStep::kContinue;
    const Node na = nodes_[all_[a].node];
    const Node nb = nodes_[partners_[b].node];
    // Both joins of the pair are made even when the first one stops the generation (the
    // target is reached); the stop is passed on afterwards.
    const bool widthStop =
        widthFits && AppendJoin(a, b, true, std::max(na.length, nb.length), na.width + nb.width,
                                widthWaste) == JoinStep::kStop;
    const bool lengthStop =
        lengthFits && AppendJoin(a, b, false, na.length + nb.length, std::max(na.width, nb.width),
                                 lengthWaste) == JoinStep::kStop;
    return widthStop || lengthStop ? JoinStep::kStop : JoinStep::kContinue;
}

JoinStep log3::TryCombine(int32_t a, int32_t b) {
    // The sizes and the waste decide most pairs; the per-row bounds are looked at only when
    // one of the two joins would be accepted, which gives the same outcome.
    const Node& na = nodes_[all_[a].node];
    const Node& nb = nodes_[partners_[b].node];
    const AreaTenths ww =
        WidthJoinWaste(na.length, na.width, na.waste, nb.length, nb.width, nb.waste, W_, alpha_);
    const AreaTenths lw =
        LengthJoinWaste(na.length, na.width, na.waste, nb.length, nb.width, nb.waste, L_, alpha_);
    if (ww < 0 && lw < 0) return JoinStep::kContinue;
    return CombineFitting(a, b, ww >= 0, lw >= 0, ww, lw);
}

void log3::RebuildPartnerArrays() {
    const size_t padded = (partners_.size() + kBlock - 1) / kBlock * kBlock;
    partnerLength_.assign(padded, kNoFit);
    partnerWidth_.assign(padded, kNoFit);
    partnerWaste_.assign(padded, 0);
    partnerLengthF_.assign(padded, 0.0f);
    partnerWidthF_.assign(padded, 0.0f);
    partnerWasteF_.assign(padded, 0.0f);
    for (size_t j = 0; j < partners_.size(); ++j) {
        const Node& n = nodes_[partners_[j].node];
        partnerLength_[j] = n.length;
        partnerWidth_[j] = n.width;
        partnerWaste_[j] = n.waste;
        partnerLengthF_[j] = static_cast<float>(n.length);
        partnerWidthF_[j] = static_cast<float>(n.width);
        partnerWasteF_[j] = static_cast<float>(n.waste);
    }
}

bool log3::RunGeneration() {
    if (!found_ || target_) return false;
    found_ = false;
    new_.clear();
    newCounts_.clear();
    ++generation_;
    lastNewCount_ = 0;

    const auto partnerCount = static_cast<int32_t>(partners_.size());
    Tenths minLength = kNoFit, minWidth = kNoFit;
    for (int32_t j = 0; j < partnerCount; ++j) {
        minLength = std::min(minLength, partnerLength_[j]);
        minWidth = std::min(minWidth, partnerWidth_[j]);
    }
    const Tenths* pl = partnerLength_.data();
    const Tenths* pw = partnerWidth_.data();
    const AreaTenths* px = partnerWaste_.data();
    // Below 2^24 tenths every size and difference is exact in single precision.
    constexpr Tenths kExactInFloat = 1 << 24;
    const bool estimate = L_ < kExactInFloat && W_ < kExactInFloat && std::isfinite(alpha_) &&
                          std::abs(alpha_) < 1e6f;
    const auto allCount = static_cast<int32_t>(all_.size());
    bool stop = false;
    for (int32_t i = 0; i < allCount && !stop; ++i) {
        const Node& na = nodes_[all_[i].node];
        const Tenths la = na.length, wa = na.width;
        const AreaTenths xa = na.waste;
        const JoinProbe probe{L_ - la,
                              W_ - wa,
                              static_cast<float>(la),
                              static_cast<float>(wa),
                              static_cast<float>(xa),
                              alpha_,
                              estimate};
        if (probe.lengthRoom < minLength && probe.widthRoom < minWidth) continue;
        for (int32_t j0 = 0; j0 < partnerCount && !stop; j0 += kBlock) {
            const PartnerBlock block{pl + j0, pw + j0, partnerLengthF_.data() + j0,
                                     partnerWidthF_.data() + j0, partnerWasteF_.data() + j0};
            uint64_t mask = CandidateMask(block, probe);
            while (mask != 0) {
                const int32_t j = j0 + __builtin_ctzll(mask);
                mask &= mask - 1;
                const AreaTenths ww = WidthJoinWaste(la, wa, xa, pl[j], pw[j], px[j], W_, alpha_);
                const AreaTenths lw = LengthJoinWaste(la, wa, xa, pl[j], pw[j], px[j], L_, alpha_);
                if (ww < 0 && lw < 0) continue;
                if (CombineFitting(i, j, ww >= 0, lw >= 0, ww, lw) == JoinStep::kStop) {
                    stop = true;
                    break;
                }
            }
        }
    }
    if (!found_) return false;
    lastNewCount_ = NewCount();
    MergeNewCombinations();
    if (target_) return false;
    PromoteNewCombinations();
    return true;
}

int32_t log3::FindInAll(Tenths length, Tenths width, AreaTenths waste) const {
    if (hash_.empty()) return -1;
    const size_t mask = hash_.size() - 1;
    for (size_t s = HashKey(length, width, waste) & mask;; s = (s + 1) & mask) {
        const int32_t k = hash_[s];
        if (k < 0) return -1;
        const Node& n = nodes_[all_[k].node];
        if (n.waste == waste && n.length == length && n.width == width) return k;
    }
}

void log3::InsertHash(int32_t allIndex) {
    if ((all_.size() + 1) * 2 > hash_.size()) GrowHash();
    const Node& n = nodes_[all_[allIndex].node];
    const size_t mask = hash_.size() - 1;
    size_t s = HashKey(n.length, n.width, n.waste) & mask;
    while (hash_[s] >= 0) s = (s + 1) & mask;
    hash_[s] = allIndex;
}

void log3::GrowHash() {
    std::vector<int32_t> old;
    old.swap(hash_);
    hash_.assign(std::max<size_t>(1024, old.size() * 2), -1);
    const size_t mask = hash_.size() - 1;
    for (int32_t k : old) {
        if (k < 0) continue;
        const Node& n = nodes_[all_[k].node];
        size_t s = HashKey(n.length, n.width, n.waste) & mask;
        while (hash_[s] >= 0) s = (s + 1) & mask;
        hash_[s] = k;
    }
}

void log3::MergeNewCombinations() {
    alpha_ = static_cast<float>(alpha_ * 1.2);
    for (const Entry& e : new_) {
        const Node& n = nodes_[e.node];
        if (FindInAll(n.length, n.width, n.waste) >= 0) continue;
        Entry kept = e;
        kept.countsBegin = static_cast<uint32_t>(allCounts_.size());
        allCounts_.insert(allCounts_.end(), newCounts_.begin() + e.countsBegin,
                          newCounts_.begin() + e.countsBegin + e.countsSize);
        all_.push_back(kept);
        InsertHash(static_cast<int32_t>(all_.size()) - 1);
    }
}

void log3::PromoteNewCombinations() {
    partners_.swap(new_);
    partnerCounts_.swap(newCounts_);
    new_.clear();
    newCounts_.clear();
    CollectNodes();
    RebuildPartnerArrays();
}

void log3::CollectNodes() {
    // Most joins of a generation are duplicates that leave the partner list one generation
    // later; keep only the nodes the two lists still reach, so memory stays flat.
    if (nodes_.size() < 2 * liveNodes_ + 4096) return;
    std::vector<uint8_t> live(nodes_.size(), 0);
    for (const Entry& e : all_) live[e.node] = 1;
    for (const Entry& e : partners_) live[e.node] = 1;
    // Children are always older than their parent.
    for (size_t id = nodes_.size(); id-- > 0;) {
        if (live[id] && nodes_[id].left >= 0) {
            live[nodes_[id].left] = 1;
            live[nodes_[id].right] = 1;
        }
    }
    std::vector<int32_t> moved(nodes_.size(), -1);
    int32_t kept = 0;
    for (size_t id = 0; id < nodes_.size(); ++id) {
        if (!live[id]) continue;
        Node n = nodes_[id];
        if (n.left >= 0) {
            n.left = moved[n.left];
            n.right = moved[n.right];
        }
        moved[id] = kept;
        nodes_[kept++] = n;
    }
    nodes_.resize(kept);
    liveNodes_ = nodes_.size();
    for (Entry& e : all_) e.node = moved[e.node];
    for (Entry& e : partners_) e.node = moved[e.node];
}

int32_t log3::ChooseBestCombination() {
    int32_t best = -1;
    AreaTenths bestSheetWaste = 0, bestWaste = 0;
    for (int32_t k = 0; k < AllCount(); ++k) {
        const Node& n = nodes_[all_[k].node];
        const AreaTenths sheetWaste = n.waste + S_ - AreaTenths{n.length} * n.width;
        if (best < 0 || sheetWaste < bestSheetWaste ||
            (sheetWaste == bestSheetWaste && n.waste < bestWaste)) {
            best = k;
            bestSheetWaste = sheetWaste;
            bestWaste = n.waste;
        }
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start_)
                        .count();
    elapsed_ = {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    return best;
}

void log3::FinishSearch() {
    hasData_ = true;
    ClearGenerationLists();
    chosen_ = ChooseBestCombination();
    alternatives_.clear();
    if (chosen_ < 0) return;
    alternatives_.push_back(chosen_);
    const int32_t m = std::min(kManualAlternatives, AllCount() - 1);
    std::vector<int32_t> order(all_.size());
    for (int32_t k = 0; k < AllCount(); ++k) order[k] = k;
    std::partial_sort(order.begin(), order.begin() + m, order.end(), [&](int32_t x, int32_t y) {
        const int32_t px = nodes_[all_[x].node].pieces, py = nodes_[all_[y].node].pieces;
        return px != py ? px > py : x < y;
    });
    alternatives_.insert(alternatives_.end(), order.begin(), order.begin() + m);
}

int32_t log3::YieldPercent(int32_t k) const {
    const Node& n = nodes_[all_[k].node];
    const AreaTenths sheetWaste = n.waste + S_ - AreaTenths{n.length} * n.width;
    return static_cast<int32_t>(100 - sheetWaste / std::max<AreaTenths>(1, S_ / 100));
}

// ---- status and field texts ----------------------------------------------------------------

std::string GenerationStatus(std::string_view text4, int32_t generation, int32_t listSize) {
    return std::string(text4) + std::to_string(generation) + " M" + std::to_string(listSize);
}

std::string CombinationsStatus(std::string_view text5, int32_t allCount) {
    return std::string(text5) + std::to_string(allCount);
}

std::string ElapsedStatus(const ElapsedTime& e) {
    return "T(" + std::to_string(e.hours) + ":" + std::to_string(e.minutes) + ":" +
           std::to_string(e.seconds) + "-" + std::to_string(e.milliseconds) + ")";
}

std::string YieldStatus(std::string_view text34, int32_t yield) {
    return std::string(text34) + std::to_string(yield) + " %";
}

std::string PiecesStatus(std::string_view text35, int32_t pieces, std::string_view text9,
                         int32_t remaining) {
    return std::string(text35) + std::to_string(pieces) + std::string(text9) +
           std::to_string(remaining);
}

bool EndSoundWanted(bool zvuk, const ElapsedTime& elapsed) {
    return zvuk && elapsed.minutes == 0 && elapsed.seconds > 5;
}

std::optional<float> ParseManualAlpha(std::string_view text) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value || std::abs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<int32_t> ParseTargetYield(std::string_view text) {
    return ParseQuantity(text);
}

std::optional<std::string> StepAlphaText(std::string_view text, double step) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value) return std::nullopt;
    return FloatToText(*value + step);
}

// ---- ManualRun -----------------------------------------------------------------------------

void ManualRun::RebuildParts(const Project& project) {
    parts_.clear();
    remainingPieces_ = 0;
    for (const PartWork& w : project.input.PartWorks) {
        if (w.quantity > 0) remainingPieces_ += w.quantity;
        if (RowUsable(w)) parts_.push_back(w);
    }
}

void ManualRun::SelectSheet(const Project& project, int32_t index) {
    const SheetInstance& s = project.input.SheetInstances[index];
    sheet_ = {index + 1, s.length, s.width};
    RebuildParts(project);
}

namespace {

// The first sheet from index `from` on that holds some remaining part row unturned, or -1.
int32_t FindSheet(const Project& project, size_t from) {
    const auto& sheets = project.input.SheetInstances;
    for (size_t k = from; k < sheets.size(); ++k) {
        for (const PartWork& w : project.input.PartWorks) {
            if (RowUsable(w) && w.length <= sheets[k].length && w.width <= sheets[k].width)
                return static_cast<int32_t>(k);
        }
    }
    return -1;
}

}  // namespace

int ManualRun::Begin(Project& project) {
    search_.FreeSearch();
    active_ = false;
    stopRequested_ = false;
    project.result.PlacedParts.clear();
    project.result.Offcuts.clear();
    rowOffset_ = static_cast<int32_t>(project.input.PartInputs.size());
    rowSizes_ = project.input.PartInputs;
    const int32_t first = FindSheet(project, 0);
    if (first < 0) return kTextNoSheetFits;
    SelectSheet(project, first);
    sheetsUsed_ = 1;
    active_ = true;
    return 0;
}

int ManualRun::StartSearch(std::string_view alphaText, std::string_view targetText, int manparam) {
    const std::optional<float> alpha = ParseManualAlpha(alphaText);
    const std::optional<int32_t> target = ParseTargetYield(targetText);
    if (!alpha || !target) return kTextNotANumber;
    stopRequested_ = false;
    search_.InitSearch(parts_, ManualCombinationLimit(manparam), *alpha, sheet_.length,
                       sheet_.width, *target, rowOffset_);
    return 0;
}

void ManualRun::FinishSearch() {
    search_.FinishSearch();
}

void ManualRun::Search(float alpha, int32_t targetYield, int32_t n) {
    search_.InitSearch(parts_, n, alpha, sheet_.length, sheet_.width, targetYield, rowOffset_);
    while (search_.RunGeneration()) {
    }
    search_.FinishSearch();
}

bool ManualRun::TakeStopRequest() {
    const bool stopped = stopRequested_;
    stopRequested_ = false;
    return stopped;
}

void ManualRun::Abandon() {
    search_ = log3();
    active_ = false;
    stopRequested_ = false;
}

int32_t ManualRun::AlternativePieces(int32_t alternative) const {
    const auto& alts = search_.Alternatives();
    if (alternative < 0 || alternative >= static_cast<int32_t>(alts.size())) return 0;
    return search_.AllEntry(alts[alternative]).pieces;
}

int32_t ManualRun::AlternativeYield(int32_t alternative) const {
    const auto& alts = search_.Alternatives();
    if (alternative < 0 || alternative >= static_cast<int32_t>(alts.size())) return 0;
    return search_.YieldPercent(alts[alternative]);
}

std::optional<ManualAdvance> ManualRun::Accept(Project& project, int32_t alternative,
                                               bool manualDuplicate) {
    const auto& alts = search_.Alternatives();
    if (!active_ || !search_.HasData() || alternative < 0 ||
        alternative >= static_cast<int32_t>(alts.size()))
        return std::nullopt;
    const int32_t k = alts[alternative];
    const CombinationInfo info = search_.AllEntry(k);
    const std::vector<ManualTriple> triples = search_.AllTriples(k);
    const int32_t s = sheet_.number;
    auto& parts = project.result.PlacedParts;
    auto& offcuts = project.result.Offcuts;
    auto& works = project.input.PartWorks;
    for (size_t t = 0; t < triples.size(); ++t) {
        const ManualTriple& d = triples[t];
        if (d.id == 0) {
            // A gap takes two triples: its corners.
            if (t + 1 < triples.size()) {
                offcuts.push_back({s, d.x, d.y, triples[t + 1].x, triples[t + 1].y});
                ++t;
            }
            continue;
        }
        const bool turned = d.id > rowOffset_;
        const int32_t r = turned ? d.id - rowOffset_ : d.id;
        if (r < 1 ||
            r > static_cast<int32_t>(std::min(works.size(), project.input.PartInputs.size())))
            continue;
        const PartInput& row = project.input.PartInputs[r - 1];
        const Tenths l = turned ? row.width : row.length;
        const Tenths w = turned ? row.length : row.width;
        parts.push_back({s, d.x, d.y, d.x + l, d.y + w, turned ? 1 : 0, r});
        works[r - 1].quantity -= 1;
    }
    if (info.length < sheet_.length)
        offcuts.push_back({s, info.length, 0, sheet_.length, info.width});
    if (info.width < sheet_.width)
        offcuts.push_back({s, 0, info.width, sheet_.length, sheet_.width});
    search_.FreeSearch();

    const auto sheetCount = static_cast<int32_t>(project.input.SheetInstances.size());
    auto finish = [&](ManualAdvance how) {
        active_ = false;
        search_ = log3();  // gives the lists' memory back
        return how;
    };
    if (sheet_.number >= sheetCount) return finish(ManualAdvance::kLastSheetUsed);
    if (manualDuplicate && DuplicateSheetLayout(project) && sheet_.number >= sheetCount)
        return finish(ManualAdvance::kLastSheetUsed);
    const int32_t next = FindSheet(project, static_cast<size_t>(sheet_.number));
    if (next < 0) return finish(ManualAdvance::kFinished);
    SelectSheet(project, next);
    ++sheetsUsed_;
    return ManualAdvance::kNextSheet;
}

bool ManualRun::DuplicateSheetLayout(Project& project) {
    const int32_t s = sheet_.number;
    const auto& sheets = project.input.SheetInstances;
    auto& works = project.input.PartWorks;
    std::vector<PlacedPart> placed;
    std::vector<Offcut> cut;
    for (const PlacedPart& p : project.result.PlacedParts)
        if (p.sheet == s) placed.push_back(p);
    for (const Offcut& o : project.result.Offcuts)
        if (o.sheet == s) cut.push_back(o);
    std::vector<int32_t> used(works.size(), 0);
    for (const PlacedPart& p : placed)
        if (p.row >= 1 && p.row <= static_cast<int32_t>(used.size())) ++used[p.row - 1];
    auto enoughLeft = [&] {
        for (size_t r = 0; r < used.size(); ++r)
            if (works[r].quantity < used[r]) return false;
        return true;
    };
    bool copied = false;
    while (sheet_.number < static_cast<int32_t>(sheets.size())) {
        const SheetInstance& next = sheets[sheet_.number];
        if (next.length != sheets[s - 1].length || next.width != sheets[s - 1].width ||
            !enoughLeft())
            break;
        const int32_t number = sheet_.number + 1;
        for (PlacedPart p : placed) {
            p.sheet = number;
            project.result.PlacedParts.push_back(p);
            works[p.row - 1].quantity -= 1;
        }
        for (Offcut o : cut) {
            o.sheet = number;
            project.result.Offcuts.push_back(o);
        }
        sheet_.number = number;
        ++sheetsUsed_;
        copied = true;
    }
    return copied;
}

void ManualRun::DrawPreview(Canvas& canvas, int32_t alternative, int previewWidth,
                            int previewHeight) const {
    const auto& alts = search_.Alternatives();
    if (!search_.HasData() || alternative < 0 || alternative >= static_cast<int32_t>(alts.size()) ||
        previewWidth <= 0 || previewHeight <= 0)
        return;
    const double scale = std::max(static_cast<double>(sheet_.length) / previewWidth,
                                  static_cast<double>(sheet_.width) / previewHeight);
    if (scale <= 0) return;
    auto px = [scale](Tenths v) { return static_cast<int>(v / scale); };
    canvas.SetPen(Pen{});
    canvas.FillRect(0, 0, px(sheet_.length), px(sheet_.width), kWhite);
    canvas.FrameRect(0, 0, px(sheet_.length), px(sheet_.width));
    canvas.SetTextColor(kBlack);
    for (const ManualTriple& d : search_.AllTriples(alts[alternative])) {
        if (d.id == 0) continue;
        const bool turned = d.id > rowOffset_;
        const int32_t r = turned ? d.id - rowOffset_ : d.id;
        if (r < 1 || r > static_cast<int32_t>(rowSizes_.size())) continue;
        const PartInput& row = rowSizes_[r - 1];
        const Tenths l = turned ? row.width : row.length;
        const Tenths w = turned ? row.length : row.width;
        canvas.FillRect(px(d.x), px(d.y), px(d.x + l), px(d.y + w), kWhite);
        canvas.FrameRect(px(d.x), px(d.y), px(d.x + l), px(d.y + w));
        canvas.TextOut(px(d.x) + 5, px(d.y) + 5, std::to_string(r));
    }
}

// ---- headless run --------------------------------------------------------------------------

int RunManualLayout(Project& project, const ManualLayoutOptions& options) {
    ManualRun run;
    if (const int error = run.Begin(project); error != 0) return error;
    const int32_t n = ManualCombinationLimit(options.manparam);
    for (;;) {
        run.Search(options.alpha, options.targetYield, n);
        const std::optional<ManualAdvance> advance =
            run.Accept(project, 0, options.manualDuplicate);
        if (!advance || *advance != ManualAdvance::kNextSheet) break;
    }
    return 0;
}

}  // namespace trimora
