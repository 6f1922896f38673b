// The store the settings persist in: named values of four kinds under one key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trimora {

class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    virtual bool ValueExists(std::string_view name) const = 0;

    // Each read gives nullopt when the value is missing or does not hold that kind of value.
    virtual std::optional<std::string> ReadString(std::string_view name) const = 0;
    virtual std::optional<int32_t> ReadInteger(std::string_view name) const = 0;
    virtual std::optional<double> ReadDouble(std::string_view name) const = 0;

    // Each write returns false when the store refused it.
    virtual bool WriteString(std::string_view name, std::string_view value) = 0;
    virtual bool WriteInteger(std::string_view name, int32_t value) = 0;
    virtual bool WriteDouble(std::string_view name, double value) = 0;

    // Booleans are kept as the integers 0 and 1; any other integer reads as true.
    std::optional<bool> ReadBool(std::string_view name) const {
        const std::optional<int32_t> value = ReadInteger(name);
        if (!value) return std::nullopt;
        return *value != 0;
    }
    bool WriteBool(std::string_view name, bool value) { return WriteInteger(name, value ? 1 : 0); }
};

}  // namespace trimora
