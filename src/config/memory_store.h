// A key-value store held in memory, with strictly typed values, a record of the writes in
// order and the option to refuse writes. Used where no persistent store is wanted (tests,
// headless runs).
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "config/key_value_store.h"

namespace trimora {

class MemoryStore : public KeyValueStore {
public:
    using Value = std::variant<std::string, int32_t, double>;

    bool ValueExists(std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view name) const override;
    std::optional<int32_t> ReadInteger(std::string_view name) const override;
    std::optional<double> ReadDouble(std::string_view name) const override;
    bool WriteString(std::string_view name, std::string_view value) override;
    bool WriteInteger(std::string_view name, int32_t value) override;
    bool WriteDouble(std::string_view name, double value) override;

    // Puts a value without recording it as a write (to prepare a store).
    void Put(std::string_view name, Value value);
    void Remove(std::string_view name);
    const std::map<std::string, Value, std::less<>>& Values() const { return values_; }

    // Names of the accepted writes, in order.
    const std::vector<std::string>& WriteLog() const { return writeLog_; }
    void ClearWriteLog() { writeLog_.clear(); }

    // When set, every write is refused and leaves the store unchanged.
    void SetRefuseWrites(bool refuse) { refuseWrites_ = refuse; }

private:
    bool Write(std::string_view name, Value value);

    std::map<std::string, Value, std::less<>> values_;
    std::vector<std::string> writeLog_;
    bool refuseWrites_ = false;
};

}  // namespace trimora
