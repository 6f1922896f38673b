// The manual search on one 2800 x 2070 mm sheet with 30 part rows and manparam 2 (N = 40000).
// Before timing anything, every job is searched by the product and by the literal reference
// version, and the two all-lists (sizes, waste, counts, triples), the chosen combination and
// the alternatives must be identical; the program stops with exit code 1 otherwise. The
// table printed then holds one timed run of each, wall clock and processor time.
//
// Jobs: random rows of 150..1400 x 80..700 mm, quantities 1..6, a quarter with grain, 4 mm
// kerf added, sorted by area. A target yield of 100 can never be exceeded, so those searches
// run until no join is left; 92 is the window's default.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "optimiser/manual_search.h"
#include "reference_manual_search.h"

namespace {

using trimora::log3;
using trimora::PartInput;

constexpr int32_t kSheetLength = 28000;
constexpr int32_t kSheetWidth = 20700;
constexpr int32_t kRows = 30;
const int32_t kLimit = trimora::ManualCombinationLimit(2);

struct Job {
    const char* name;
    unsigned seed;
    int32_t target;
};

const Job kJobs[] = {
    {"rows30_seed1_T92", 1, 92},   {"rows30_seed3_T92", 3, 92},   {"rows30_seed1_T100", 1, 100},
    {"rows30_seed2_T100", 2, 100}, {"rows30_seed3_T100", 3, 100},
};

std::vector<PartInput> MakeParts(unsigned seed) {
    unsigned s = seed;
    auto next = [&](int lo, int hi) {
        s = s * 1103515245u + 12345u;
        return lo + static_cast<int>((s >> 8) % static_cast<unsigned>(hi - lo + 1));
    };
    std::vector<PartInput> parts;
    for (int r = 0; r < kRows; ++r) {
        int l = next(150, 1400), w = next(80, 700);
        if (w > l) std::swap(l, w);
        PartInput p;
        p.length = l * 10 + 40;
        p.width = w * 10 + 40;
        p.quantity = next(1, 6);
        p.grain = next(0, 3) == 0 ? 1 : 0;
        parts.push_back(p);
    }
    std::stable_sort(parts.begin(), parts.end(), [](const PartInput& a, const PartInput& b) {
        return int64_t{a.length} * a.width > int64_t{b.length} * b.width;
    });
    for (int r = 0; r < kRows; ++r) parts[r].row = r + 1;
    return parts;
}

void RunProduct(log3& search, const std::vector<PartInput>& parts, int32_t target) {
    search.InitSearch(parts, kLimit, 0.001f, kSheetLength, kSheetWidth, target, kRows);
    while (search.RunGeneration()) {
    }
    search.FinishSearch();
}

struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    static double CpuSeconds() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
    }
    double Wall() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double Cpu() const { return CpuSeconds() - cpu; }
};

bool Identical(const log3& product, const trimora::reference::ReferenceManualSearch& reference) {
    const auto& all = reference.All();
    if (product.AllCount() != static_cast<int32_t>(all.size()) ||
        product.Generation() != reference.Generation() ||
        product.TargetReached() != reference.TargetReached())
        return false;
    for (int32_t k = 0; k < product.AllCount(); ++k) {
        const auto& c = all[k];
        const trimora::CombinationInfo info = product.AllEntry(k);
        if (info.length != c.length || info.width != c.width || info.waste != c.waste ||
            info.pieces != c.Pieces() || product.AllCounts(k) != c.counts ||
            product.AllTriples(k) != c.triples) {
            std::printf("  first difference at all-list entry %d\n", k);
            return false;
        }
    }
    return product.Chosen() == reference.ChooseBest() &&
           product.Alternatives() == reference.Alternatives();
}

bool CheckAgainstReference() {
    // "cold" is the first search in a fresh object, "warm" a second one in the same object,
    // as in the window where one search object serves every sheet.
    std::printf("%-18s %4s %6s %16s %16s %16s %7s %7s\n", "job", "gens", "all", "product cold",
                "product warm", "reference", "x cold", "x warm");
    std::printf("%-18s %4s %6s %16s %16s %16s %7s %7s\n", "", "", "", "wall / cpu s",
                "wall / cpu s", "wall / cpu s", "(cpu)", "(cpu)");
    bool ok = true;
    for (const Job& job : kJobs) {
        const std::vector<PartInput> parts = MakeParts(job.seed);
        log3 product;
        const Clock cold;
        RunProduct(product, parts, job.target);
        const double coldWall = cold.Wall(), coldCpu = cold.Cpu();
        const Clock warm;
        RunProduct(product, parts, job.target);
        const double warmWall = warm.Wall(), warmCpu = warm.Cpu();
        trimora::reference::ReferenceManualSearch reference;
        const Clock r;
        reference.InitSearch(parts, kLimit, 0.001f, kSheetLength, kSheetWidth, job.target, kRows);
        reference.Run();
        const double referenceWall = r.Wall(), referenceCpu = r.Cpu();
        const bool same = Identical(product, reference);
        ok = ok && same;
        std::printf("%-18s %4d %6d %7.3f / %6.3f %7.3f / %6.3f %7.2f / %6.2f %7.1f %7.1f %s\n",
                    job.name, product.Generation(), product.AllCount(), coldWall, coldCpu, warmWall,
                    warmCpu, referenceWall, referenceCpu, referenceCpu / std::max(coldCpu, 1e-6),
                    referenceCpu / std::max(warmCpu, 1e-6), same ? "identical" : "DIFFERENT");
        std::fflush(stdout);
    }
    return ok;
}

void BM_ManualSearch(benchmark::State& state, Job job) {
    const std::vector<PartInput> parts = MakeParts(job.seed);
    log3 search;
    for (auto _ : state) {
        RunProduct(search, parts, job.target);
        benchmark::DoNotOptimize(search.Chosen());
    }
    state.counters["generations"] = search.Generation();
    state.counters["combinations"] = search.AllCount();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!CheckAgainstReference()) {
        std::fputs("product and reference differ\n", stderr);
        return 1;
    }
    for (const Job& job : kJobs) {
        benchmark::RegisterBenchmark((std::string("BM_ManualSearch/") + job.name).c_str(),
                                     BM_ManualSearch, job)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
