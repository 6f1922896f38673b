// The manual layout search: for one sheet it builds ever larger rectangular combinations of
// pieces by joining two known combinations side by side or one above the other, while the
// waste inside stays below alpha, which grows by 20 percent per generation. Every result is
// guillotine-cuttable by construction.
//
// The window runs it generation by generation (RunGeneration), so Stop and Prekini can act
// in between, then asks for the best combination and the alternatives.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/length_units.h"
#include "optimiser/run_records.h"

namespace trimora {

class Canvas;
struct Project;

inline constexpr int32_t kManualAlternatives = 20;

// Language texts of the manual search.
inline constexpr int kTextNoSheetFits = 3;     // manual start: no sheet holds any part
inline constexpr int kTextGeneration = 4;      // status: generation and list size
inline constexpr int kTextCombinations = 5;    // status: size of the all-list
inline constexpr int kTextSearchStopped = 6;   // end of search: stopped by the user
inline constexpr int kTextSearchFinished = 7;  // end of search: finished
inline constexpr int kTextSoundFailed = 8;     // playing the end sound failed
inline constexpr int kTextOfRemaining = 9;     // preview: between pieces and remaining
inline constexpr int kTextLastSheetUsed = 10;  // the last sheet has been used
inline constexpr int kTextPreviewYield = 34;   // preview: yield
inline constexpr int kTextPreviewPieces = 35;  // preview: pieces
inline constexpr int kTextNotANumber = 272;    // alpha or target yield is not a number

// N, the most new combinations per generation, for the setting manparam 0, 1 or 2.
int32_t ManualCombinationLimit(int manparam);

// One entry of a combination's layout: a piece (id, x, y of its lower-left corner) or one of
// the two corners of a gap rectangle (id 0). A piece id above the row offset is a turned piece.
struct ManualTriple {
    int32_t id = 0;
    Tenths x = 0;
    Tenths y = 0;
    friend bool operator==(const ManualTriple&, const ManualTriple&) = default;
};

enum class JoinStep { kContinue, kStop };

struct CombinationInfo {
    Tenths length = 0;  // along the sheet length
    Tenths width = 0;
    AreaTenths waste = 0;  // area of the gap rectangles inside
    int32_t pieces = 0;
    friend bool operator==(const CombinationInfo&, const CombinationInfo&) = default;
};

struct ElapsedTime {
    int64_t hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
};

// The search state of one sheet. Combinations are kept as a join tree (two children and the
// direction of the cut), so a join costs a few numbers and its per-row counts, and the
// triples are built only for a combination that is shown or accepted.
class log3 {
public:
    void InitSearch(std::span<const PartInput> parts, int32_t n, float alpha, Tenths sheetLength,
                    Tenths sheetWidth, int32_t targetYield, int32_t rowOffset);
    void FreeSearch();

    // One generation: tries every all-list entry against every partner, merges the new
    // combinations and promotes them. Returns whether another generation should follow (a
    // join was found and the target yield was not reached).
    bool RunGeneration();
    // Ends a search: marks the data as present, chooses the best combination, builds the
    // alternatives and takes the elapsed time.
    void FinishSearch();

    // a is an all-list index, b a partner-list index.
    JoinStep TryCombine(int32_t a, int32_t b);
    JoinStep StackAlongWidth(int32_t a, int32_t b);
    JoinStep StackAlongLength(int32_t a, int32_t b);
    void MergeNewCombinations();
    void PromoteNewCombinations();
    // Returns the all-list index of the combination with the least waste on the sheet.
    int32_t ChooseBestCombination();

    bool HasData() const { return hasData_; }
    bool Found() const { return found_; }
    bool TargetReached() const { return target_; }
    int32_t Generation() const { return generation_; }
    float Alpha() const { return alpha_; }
    int32_t Bound(int32_t entry) const { return bounds_[entry]; }
    int32_t AllCount() const { return static_cast<int32_t>(all_.size()); }
    int32_t PartnerCount() const { return static_cast<int32_t>(partners_.size()); }
    int32_t NewCount() const { return static_cast<int32_t>(new_.size()); }
    // How many combinations the last generation made (the new list before it was promoted).
    int32_t LastNewCount() const { return lastNewCount_; }

    CombinationInfo AllEntry(int32_t k) const { return Info(all_[k].node); }
    CombinationInfo PartnerEntry(int32_t k) const { return Info(partners_[k].node); }
    CombinationInfo NewEntry(int32_t k) const { return Info(new_[k].node); }
    std::vector<ManualTriple> AllTriples(int32_t k) const { return Triples(all_[k].node); }
    std::vector<ManualTriple> NewTriples(int32_t k) const { return Triples(new_[k].node); }
    // One count per part entry.
    std::vector<int32_t> AllCounts(int32_t k) const;

    int32_t Chosen() const { return chosen_; }
    // Entry 0 is the chosen combination, entries 1..M the ones with the most pieces.
    const std::vector<int32_t>& Alternatives() const { return alternatives_; }
    ElapsedTime Elapsed() const { return elapsed_; }

    Tenths SheetLength() const { return L_; }
    Tenths SheetWidth() const { return W_; }
    int32_t RowOffset() const { return rowOffset_; }
    // Yield in whole percent of the sheet when all-list entry k is cut from it.
    int32_t YieldPercent(int32_t k) const;

private:
    void ClearGenerationLists();
    struct Node {
        Tenths length = 0;
        Tenths width = 0;
        AreaTenths waste = 0;
        int32_t pieces = 0;
        int32_t left = -1;  // -1 for one piece
        int32_t right = 0;  // piece id for one piece
        bool alongWidth = false;
    };
    struct Count {
        int32_t entry = 0;
        int32_t count = 0;
    };
    // A list entry: the node and its per-row counts, kept sparse in the list's own pool.
    struct Entry {
        int32_t node = 0;
        uint32_t countsBegin = 0;
        uint32_t countsSize = 0;
        uint64_t rows = 0;  // one bit per row (modulo 64) present in the counts
    };

    CombinationInfo Info(int32_t node) const;
    std::vector<ManualTriple> Triples(int32_t node) const;
    int32_t AddNode(const Node& node);
    Entry CopyCounts(const Entry& from, const std::vector<Count>& fromPool,
                     std::vector<Count>& toPool, int32_t node) const;
    bool WithinBounds(const Entry& a, const Entry& b) const;
    JoinStep AppendJoin(int32_t a, int32_t b, bool alongWidth, Tenths length, Tenths width,
                        AreaTenths waste);
    JoinStep CombineFitting(int32_t a, int32_t b, bool widthFits, bool lengthFits,
                            AreaTenths widthWaste, AreaTenths lengthWaste);
    void RebuildPartnerArrays();
    void CollectNodes();
    int32_t FindInAll(Tenths length, Tenths width, AreaTenths waste) const;
    void InsertHash(int32_t allIndex);
    void GrowHash();

    std::vector<int32_t> bounds_;
    int32_t n_ = 0;
    float alpha_ = 0;
    Tenths L_ = 0, W_ = 0;
    AreaTenths S_ = 0;
    int32_t T_ = 0;
    int32_t rowOffset_ = 0;
    int32_t generation_ = 0;
    int32_t lastNewCount_ = 0;
    bool found_ = false;
    bool target_ = false;
    bool hasData_ = false;
    int32_t chosen_ = -1;

    std::vector<Node> nodes_;
    size_t liveNodes_ = 0;
    std::vector<Entry> all_, partners_, new_;
    std::vector<Count> allCounts_, partnerCounts_, newCounts_;
    // The partners' sizes side by side, for the inner loop of a generation.
    std::vector<Tenths> partnerLength_, partnerWidth_;
    std::vector<AreaTenths> partnerWaste_;
    std::vector<float> partnerLengthF_, partnerWidthF_, partnerWasteF_;
    // Open addressing over the all-list, keyed by (length, width, waste).
    std::vector<int32_t> hash_;
    std::vector<int32_t> alternatives_;

    std::chrono::steady_clock::time_point start_;
    ElapsedTime elapsed_;
};

// Status texts of the manual page; the language texts are passed in.
// text4 + generation + " M" + list size
std::string GenerationStatus(std::string_view text4, int32_t generation, int32_t listSize);
// text5 + all-list size
std::string CombinationsStatus(std::string_view text5, int32_t allCount);
// "T(" hours ":" minutes ":" seconds "-" milliseconds ")"
std::string ElapsedStatus(const ElapsedTime& elapsed);
// text34 + yield + " %"
std::string YieldStatus(std::string_view text34, int32_t yield);
// text35 + pieces + text9 + remaining pieces
std::string PiecesStatus(std::string_view text35, int32_t pieces, std::string_view text9,
                         int32_t remaining);
// The end sound plays for a search of more than 5 seconds within its first minute.
bool EndSoundWanted(bool zvuk, const ElapsedTime& elapsed);

// Reads the alpha field: a decimal number with a full stop. nullopt when it is not one.
std::optional<float> ParseManualAlpha(std::string_view text);
// Reads the target yield field: a whole number. nullopt when it is not one.
std::optional<int32_t> ParseTargetYield(std::string_view text);
// The alpha text after one of the +0.001 / +0.005 / +0.010 buttons; nullopt when the field
// does not hold a number.
std::optional<std::string> StepAlphaText(std::string_view text, double step);

struct ManualSheet {
    int32_t number = 0;  // SheetInstance number, 1-based
    Tenths length = 0;
    Tenths width = 0;
};

enum class ManualAdvance {
    kNextSheet,      // a further sheet is current; the user presses Start for it
    kLastSheetUsed,  // show language text 10, then finish the run
    kFinished,       // no further sheet can take a remaining part: finish the run
};

// The main window's state of a manual run: the current sheet, the part rows it searches
// with, the counters and the search itself. The window drives it:
//   Begin after the input is prepared (language text 3 when no sheet fits);
//   Start: StartSearch, then RunGeneration while it returns true, processing pending input
//     after each and leaving early when StopRequested(); then FinishSearch and
//     TakeStopRequest (language text 6 or 7);
//   O.K.: Accept, then on kLastSheetUsed language text 10 and the run's end, on kFinished
//     the run's end; Prekini: Abandon.
class ManualRun {
public:
    // After the input was prepared: chooses the first sheet on which some part row fits
    // unturned. Returns 0, or language text 3 when there is none. Clears the result.
    int Begin(Project& project);

    // Start: reads alpha and the target yield and runs InitSearch on the current sheet.
    // Returns 0, or the language text of a field that is not a number (nothing searched).
    int StartSearch(std::string_view alphaText, std::string_view targetText, int manparam);
    // One generation; false when the search is over (then call FinishSearch).
    bool RunGeneration() { return search_.RunGeneration(); }
    void FinishSearch();
    // Runs a whole search without a window in between.
    void Search(float alpha, int32_t targetYield, int32_t n);

    // O.K.: places alternative p on the current sheet, then moves on. With manualDuplicate
    // the accepted layout is repeated on the following identical sheets first.
    // nullopt when there is nothing to accept.
    std::optional<ManualAdvance> Accept(Project& project, int32_t alternative,
                                        bool manualDuplicate);
    // Prekini: drops the search data; the run is over.
    void Abandon();

    // Repeats the layout of the current sheet on the following identical sheets while enough
    // parts remain. Returns whether at least one copy was made.
    bool DuplicateSheetLayout(Project& project);

    void RequestStop() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_; }
    // Called when a search ends; returns whether the user had pressed Stop.
    bool TakeStopRequest();

    bool Active() const { return active_; }
    const ManualSheet& Sheet() const { return sheet_; }
    int32_t SheetsUsed() const { return sheetsUsed_; }
    int32_t RemainingPieces() const { return remainingPieces_; }
    int32_t RowOffset() const { return rowOffset_; }
    const std::vector<PartInput>& Parts() const { return parts_; }
    const log3& Search() const { return search_; }

    // Pieces of alternative p, and its yield in whole percent of the sheet.
    int32_t AlternativePieces(int32_t alternative) const;
    int32_t AlternativeYield(int32_t alternative) const;
    // The preview of alternative p: the sheet and its pieces scaled into the preview area.
    void DrawPreview(Canvas& canvas, int32_t alternative, int previewWidth,
                     int previewHeight) const;

private:
    void SelectSheet(const Project& project, int32_t index);
    void RebuildParts(const Project& project);

    log3 search_;
    ManualSheet sheet_;
    int32_t sheetsUsed_ = 0;
    int32_t remainingPieces_ = 0;
    int32_t rowOffset_ = 0;
    std::vector<PartInput> parts_;
    std::vector<PartInput> rowSizes_;  // every part row, for the preview
    bool stopRequested_ = false;
    bool active_ = false;
};

struct ManualLayoutOptions {
    float alpha = 0.001f;
    int32_t targetYield = 92;
    int manparam = 0;
    bool manualDuplicate = false;
};

// Runs the manual search without a user: on every sheet a whole search, alternative 0
// accepted, duplicated when asked, until no part remains or no sheet can take one. The
// result lands in project.result and the remaining quantities in project.input.PartWorks.
// Returns 0, or language text 3 when no sheet can hold any part.
int RunManualLayout(Project& project, const ManualLayoutOptions& options);

}  // namespace trimora
