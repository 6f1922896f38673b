// Times the automatic layout against the plain implementation in reference_automatic_layout.h.
// Before any timing, both are run on varied instances and must give the same placements,
// offcuts, choice and generator state; the program aborts on the first difference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "optimiser/automatic_layout.h"
#include "reference_automatic_layout.h"

// Counts the bytes held through operator new, so that each benchmark can report the peak
// its run needed above what was held before it.
namespace {
std::atomic<int64_t> gHeld{0};
std::atomic<int64_t> gPeak{0};
constexpr size_t kHeader = 16;  // keeps the default alignment

void* CountedAlloc(size_t n) {
    void* block = std::malloc(n + kHeader);
    if (!block) throw std::bad_alloc();
    *static_cast<size_t*>(block) = n;
    const int64_t held = gHeld.fetch_add(static_cast<int64_t>(n)) + static_cast<int64_t>(n);
    int64_t peak = gPeak.load();
    while (held > peak && !gPeak.compare_exchange_weak(peak, held)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void CountedFree(void* p) noexcept {
    if (!p) return;
    char* block = static_cast<char*>(p) - kHeader;
    gHeld.fetch_sub(static_cast<int64_t>(*reinterpret_cast<size_t*>(block)));
    std::free(block);
}
}  // namespace

void* operator new(size_t n) {
    return CountedAlloc(n);
}
void* operator new[](size_t n) {
    return CountedAlloc(n);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    CountedFree(p);
}

namespace {

using trimora::PartInput;
using trimora::SheetInstance;

struct Instance {
    std::string name;
    std::vector<SheetInstance> sheets;
    std::vector<PartInput> parts;
};

constexpr int32_t kMm = 10;  // tenths per millimetre

void AddSheets(Instance& in, int32_t length, int32_t width, int quantity) {
    const int32_t row = in.sheets.empty() ? 1 : in.sheets.back().row + 1;
    for (int i = 0; i < quantity; ++i) {
        const int32_t number = static_cast<int32_t>(in.sheets.size()) + 1;
        in.sheets.push_back({length, width, quantity, number, row});
    }
}

// Rows ordered as the run's table sort leaves them: largest area first.
void SortAndNumber(Instance& in) {
    std::stable_sort(in.parts.begin(), in.parts.end(), [](const PartInput& a, const PartInput& b) {
        return static_cast<int64_t>(a.length) * a.width > static_cast<int64_t>(b.length) * b.width;
    });
    for (size_t i = 0; i < in.parts.size(); ++i) in.parts[i].row = static_cast<int32_t>(i) + 1;
}

// `rows` part rows of `perRow` pieces each, sizes drawn in millimetres, a kerf of 4 mm added.
Instance MakeInstance(const std::string& name, unsigned seed, int rows, int perRow, int minL,
                      int maxL, int minW, int maxW, double lockedShare) {
    std::mt19937 gen(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    Instance in;
    in.name = name;
    for (int r = 0; r < rows; ++r) {
        PartInput p;
        p.length = (pick(minL, maxL) + 4) * kMm;
        p.width = (pick(minW, maxW) + 4) * kMm;
        p.quantity = perRow;
        p.grain = std::uniform_real_distribution<double>(0, 1)(gen) < lockedShare ? 1 : 0;
        in.parts.push_back(p);
    }
    SortAndNumber(in);
    return in;
}

// 10,000 pieces in 50 sizes on 2800 x 2070 mm sheets.
Instance ManyPiecesFewSizes() {
    Instance in = MakeInstance("10000 pieces, 50 sizes", 11, 50, 200, 150, 900, 100, 600, 0.3);
    AddSheets(in, 2800 * kMm, 2070 * kMm, 1000);
    return in;
}

// 2,000 pieces, every one of its own size.
Instance DistinctSizes() {
    Instance in =
        MakeInstance("2000 pieces, all sizes distinct", 12, 2000, 1, 100, 1200, 80, 900, 0.3);
    AddSheets(in, 2800 * kMm, 2070 * kMm, 400);
    return in;
}

// Smaller instances that reach the other paths: remnants before full sheets, too few sheets,
// pieces that fit nowhere, exact fits, many repeated sizes.
std::vector<Instance> VariedInstances() {
    std::vector<Instance> list;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 gen(seed * 977);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
        Instance in = MakeInstance("varied " + std::to_string(seed), seed, pick(3, 40), pick(1, 25),
                                   pick(50, 300), pick(400, 2100), pick(40, 200), pick(300, 1500),
                                   seed % 3 == 0 ? 1.0 : 0.4);
        AddSheets(in, pick(600, 1400) * kMm, pick(400, 1000) * kMm, pick(1, 3));
        AddSheets(in, 2800 * kMm, 2070 * kMm, seed % 2 == 0 ? 4 : 60);
        if (seed == 3) {
            PartInput whole{2800 * kMm, 2070 * kMm, 2, 0, 1};
            PartInput huge{3000 * kMm, 100 * kMm, 3, 0, 0};
            in.parts.insert(in.parts.begin(), {huge, whole});
            SortAndNumber(in);
        }
        list.push_back(std::move(in));
    }
    return list;
}

bool SameLayout(const Instance& in, int candidates, uint64_t seed) {
    const auto expected =
        trimora::reference::ReferenceAutomaticLayout(in.sheets, in.parts, candidates, seed);
    for (int threads : {1, 2}) {
        trimora::LayoutRandom random(seed);
        const trimora::AutomaticLayout got =
            trimora::ComputeAutomaticLayout(in.sheets, in.parts, candidates, random, {}, threads);
        const bool same = got.PlacedParts == expected.placedParts &&
                          got.Offcuts == expected.offcuts && got.chosen.index == expected.chosen &&
                          got.chosen.cutMeasure == expected.cutMeasure &&
                          random.State() == expected.randomState;
        std::printf(
            "check %-34s %3d candidates, %d thread(s): %zu placed, %zu offcuts, "
            "candidate %d chosen: %s\n",
            in.name.c_str(), candidates, threads, got.PlacedParts.size(), got.Offcuts.size(),
            got.chosen.index, same ? "same" : "DIFFERENT");
        if (!same) return false;
    }
    return true;
}

// Starts a peak measurement; returns the bytes held now.
int64_t StartPeak() {
    const int64_t held = gHeld.load();
    gPeak.store(held);
    return held;
}

double PeakMegabytes(int64_t base) {
    return static_cast<double>(gPeak.load() - base) / 1e6;
}

// CPU time of the whole process (all threads), since the benchmark's own CPU column counts
// only the calling thread and wall time suffers when other work shares the cores.
double ProcessCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void BM_Product(benchmark::State& state, const Instance* in, int candidates, int threads) {
    size_t placed = 0;
    const int64_t base = StartPeak();
    const double cpuStart = ProcessCpuMilliseconds();
    for (auto _ : state) {
        trimora::LayoutRandom random;
        const auto layout =
            trimora::ComputeAutomaticLayout(in->sheets, in->parts, candidates, random, {}, threads);
        placed = layout.PlacedParts.size();
        benchmark::DoNotOptimize(placed);
    }
    state.counters["process_cpu_ms"] =
        (ProcessCpuMilliseconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["placed"] = static_cast<double>(placed);
    state.counters["peak_heap_MB"] = PeakMegabytes(base);
}

void BM_Reference(benchmark::State& state, const Instance* in, int candidates) {
    size_t placed = 0;
    const int64_t base = StartPeak();
    const double cpuStart = ProcessCpuMilliseconds();
    for (auto _ : state) {
        const auto layout = trimora::reference::ReferenceAutomaticLayout(
            in->sheets, in->parts, candidates, trimora::LayoutRandom::kStartState);
        placed = layout.placedParts.size();
        benchmark::DoNotOptimize(placed);
    }
    state.counters["process_cpu_ms"] =
        (ProcessCpuMilliseconds() - cpuStart) / static_cast<double>(state.iterations());
    state.counters["placed"] = static_cast<double>(placed);
    state.counters["peak_heap_MB"] = PeakMegabytes(base);
}

}  // namespace

int main(int argc, char** argv) {
    static const Instance many = ManyPiecesFewSizes();
    static const Instance distinct = DistinctSizes();

    bool ok = true;
    int n = 0;
    for (const Instance& in : VariedInstances())
        ok = ok && SameLayout(in, 300, 22695478 + 31 * n++);
    ok = ok && SameLayout(distinct, 300, trimora::LayoutRandom::kStartState);
    ok = ok && SameLayout(many, 6, trimora::LayoutRandom::kStartState);
    if (!ok) {
        std::fprintf(stderr, "the automatic layout differs from the plain implementation\n");
        return 1;
    }

    // Wall time is the figure that counts (both cores, as the program runs); the process CPU
    // counter shows the work when other programs share the cores. The 100-candidate run shows
    // that the memory does not grow with the number of candidates.
    benchmark::RegisterBenchmark("product/10000 pieces 50 sizes/100", BM_Product, &many, 100, 0)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    for (int threads : {0, 1}) {
        const std::string suffix = threads == 0 ? "" : "/1 thread";
        benchmark::RegisterBenchmark(("product/10000 pieces 50 sizes/300" + suffix).c_str(),
                                     BM_Product, &many, 300, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("product/2000 distinct/300" + suffix).c_str(), BM_Product,
                                     &distinct, 300, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("reference/2000 distinct/300", BM_Reference, &distinct, 300)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("reference/10000 pieces 50 sizes/300", BM_Reference, &many, 300)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
