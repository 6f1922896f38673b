#include "config/band_table.h"

#include <fstream>
#include <system_error>
#include <utility>

namespace trimora {

namespace {

const std::string kEmpty;

// A real band type line is a short text; anything far longer is a damaged file, not data.
constexpr std::size_t kMaxLineLength = 4096;
// Reading stops once a complete 51st record is there: enough to know the file holds too many.
constexpr int kLinesToRead = (kMaxBandTypes + 1) * kBandColumns;

// Splits text into lines the way the band file is read: CR LF, LF and a lone CR all end a
// line, and a final line end does not start another line.
class LineReader {
public:
    // Returns false once no more input is wanted.
    bool Feed(char c) {
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') return true;
        }
        if (c == '\r' || c == '\n') {
            pendingCr_ = c == '\r';
            return EndLine();
        }
        if (current_.size() >= kMaxLineLength) {
            damaged_ = true;
            return false;
        }
        current_.push_back(c);
        open_ = true;
        return true;
    }

    BandLoadResult Finish() {
        if (open_ && !damaged_ && !Full()) EndLine();
        BandLoadResult result;
        if (damaged_) {
            result.error = kTextBandFileUnreadable;
            return result;
        }
        for (std::size_t offset = 0; offset + kBandColumns <= lines_.size();
             offset += kBandColumns) {
            if (result.table.Count() == kMaxBandTypes) {
                result.error = kTextTooManyBandTypes;
                break;
            }
            BandRecord record;
            for (int c = 0; c < kBandColumns; ++c)
                record.SetColumn(c, std::move(lines_[offset + c]));
            result.table.records.push_back(std::move(record));
        }
        return result;
    }

private:
    bool Full() const { return static_cast<int>(lines_.size()) >= kLinesToRead; }

    bool EndLine() {
        lines_.push_back(std::move(current_));
        current_.clear();
        open_ = false;
        return !Full();
    }

    std::vector<std::string> lines_;
    std::string current_;
    bool open_ = false;
    bool pendingCr_ = false;
    bool damaged_ = false;
};

// Columns 0..4 of a record, in file order.
constexpr std::string BandRecord::*kColumnFields[kBandColumns] = {
    &BandRecord::name, &BandRecord::thickness, &BandRecord::mark, &BandRecord::allowance,
    &BandRecord::price};

}  // namespace

const std::string& BandRecord::Column(int column) const {
    if (column < 0 || column >= kBandColumns) return kEmpty;
    return this->*kColumnFields[column];
}

void BandRecord::SetColumn(int column, std::string text) {
    if (column < 0 || column >= kBandColumns) return;
    this->*kColumnFields[column] = std::move(text);
}

const BandRecord& NoBandRecord() {
    static const BandRecord none{"-", "0", "", "0", "0"};
    return none;
}

const BandRecord& BandTable::EntryOrNone(int k) const {
    if (k < 0 || k >= Count()) return NoBandRecord();
    return records[static_cast<std::size_t>(k)];
}

std::vector<std::string> BandTable::Names() const {
    std::vector<std::string> names;
    names.reserve(records.size());
    for (const auto& record : records) names.push_back(record.name);
    return names;
}

std::filesystem::path BandTypesFile(const std::filesystem::path& programFolder) {
    return programFolder / "Config" / "bands.trb";
}

namespace {

// Feeds text to the reader; a UTF-8 byte order mark that an editor may have added at the
// start is not part of the first name.
bool FeedText(LineReader& reader, std::string_view text, bool atStart) {
    if (atStart && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (char c : text)
        if (!reader.Feed(c)) return false;
    return true;
}

}  // namespace

BandLoadResult ParseBandTypes(std::string_view content) {
    LineReader reader;
    FeedText(reader, content, true);
    return reader.Finish();
}

BandLoadResult LoadBandTypes(const std::filesystem::path& file) {
    BandLoadResult failed;
    failed.error = kTextBandFileUnreadable;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return failed;
    std::ifstream in(file, std::ios::binary);
    if (!in) return failed;
    // The reader stops on its own after what the table can hold, so the file is read in
    // pieces and never held whole.
    LineReader reader;
    std::string chunk(16384, '\0');
    bool atStart = true;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        if (!FeedText(reader, std::string_view(chunk.data(), got), atStart)) break;
        atStart = false;
    }
    if (in.bad()) return failed;
    return reader.Finish();
}

std::string SerializeBandTypes(const BandTable& table) {
    std::string out;
    for (const auto& record : table.records) {
        for (int c = 0; c < kBandColumns; ++c) {
            out += record.Column(c);
            out += "\r\n";
        }
    }
    return out;
}

int SaveBandTypes(const std::filesystem::path& file, const BandTable& table) {
    const std::string content = SerializeBandTypes(table);
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return kTextBandFileNotWritten;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return kTextBandFileNotWritten;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return kTextBandFileNotWritten;
    }
    return 0;
}

int ConvertBandLengths(BandTable& table, LengthUnit from, LengthUnit to) {
    int failures = 0;
    for (std::size_t k = 1; k < table.records.size(); ++k) {
        for (int column : {1, 3}) {
            BandRecord& record = table.records[k];
            const Tenths value = ParseLength(from, record.Column(column));
            if (value < 0) {
                ++failures;
                continue;
            }
            record.SetColumn(column, FormatLength(value, to));
        }
    }
    return failures;
}

BandGrid::BandGrid(const BandTable& table) : rows_(table.records) {}

const std::string& BandGrid::Cell(int column, int row) const {
    if (row < 1 || row >= RowCount()) return kEmpty;
    return rows_[static_cast<std::size_t>(row - 1)].Column(column);
}

void BandGrid::SetCell(int column, int row, std::string text) {
    if (row < 2 || row >= RowCount()) return;
    rows_[static_cast<std::size_t>(row - 1)].SetColumn(column, std::move(text));
}

void BandGrid::SelectCell(int column, int row) {
    remembered_ = Cell(column, row);
}

BandCellCheck BandGrid::ValidateCell(int column, int row, LengthUnit unit) {
    BandCellCheck check;
    if (row < 2 || row >= RowCount() || (column != 1 && column != 3)) return check;
    BandRecord& record = rows_[static_cast<std::size_t>(row - 1)];
    const NormalizedLength normal = NormalizeLengthText(record.Column(column), unit);
    if (normal.error != 0) {
        check.error = normal.error;
        check.restored = true;
        record.SetColumn(column, remembered_);
        return check;
    }
    record.SetColumn(column, normal.text);
    return check;
}

int BandGrid::AddRow() {
    if (static_cast<int>(rows_.size()) >= kMaxBandTypes) return kTextTooManyBandTypes;
    rows_.emplace_back();
    return 0;
}

bool BandGrid::CanDeleteRow(int row) const {
    return DeleteEnabled() && row >= 2 && row < RowCount() && !Cell(0, row).empty();
}

bool BandGrid::DeleteRow(int row) {
    if (!CanDeleteRow(row)) return false;
    // Every following row moves up, named or not, so no band type below an unnamed row is lost.
    rows_.erase(rows_.begin() + (row - 1));
    return true;
}

BandTable BandGrid::ToTable() const {
    BandTable table;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const BandRecord& record = rows_[i];
        // Row 1 stays whatever it holds: dropping it would make another type band entry 0.
        if (i == 0 || (!record.thickness.empty() && !record.allowance.empty()))
            table.records.push_back(record);
    }
    return table;
}

}  // namespace trimora
