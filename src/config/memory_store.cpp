#include "config/memory_store.h"

namespace trimora {

namespace {

template <typename T>
std::optional<T> Get(const std::map<std::string, MemoryStore::Value, std::less<>>& values,
                     std::string_view name) {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    if (const T* value = std::get_if<T>(&it->second)) return *value;
    return std::nullopt;
}

}  // namespace

bool MemoryStore::ValueExists(std::string_view name) const {
    return values_.contains(name);
}

std::optional<std::string> MemoryStore::ReadString(std::string_view name) const {
    return Get<std::string>(values_, name);
}

std::optional<int32_t> MemoryStore::ReadInteger(std::string_view name) const {
    return Get<int32_t>(values_, name);
}

std::optional<double> MemoryStore::ReadDouble(std::string_view name) const {
    return Get<double>(values_, name);
}

bool MemoryStore::WriteString(std::string_view name, std::string_view value) {
    return Write(name, std::string(value));
}

bool MemoryStore::WriteInteger(std::string_view name, int32_t value) {
    return Write(name, value);
}

bool MemoryStore::WriteDouble(std::string_view name, double value) {
    return Write(name, value);
}

void MemoryStore::Put(std::string_view name, Value value) {
    values_.insert_or_assign(std::string(name), std::move(value));
}

void MemoryStore::Remove(std::string_view name) {
    const auto it = values_.find(name);
    if (it != values_.end()) values_.erase(it);
}

bool MemoryStore::Write(std::string_view name, Value value) {
    if (refuseWrites_) return false;
    Put(name, std::move(value));
    writeLog_.emplace_back(name);
    return true;
}

}  // namespace trimora
