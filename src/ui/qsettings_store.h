// The settings store on disk: an INI file in the user's configuration folder
// (<config>/VELMAR/Trimora.ini), every value in the group "Trimora_1.3" (the version key of
// the program's settings, flattened so the INI file keeps one section).
#pragma once

#include <QString>
#include <memory>

#include "config/key_value_store.h"

class QSettings;

namespace trimora {

class QSettingsStore : public KeyValueStore {
public:
    static constexpr const char* kGroup = "Trimora_1.3";

    // The program's own file in the user's configuration folder.
    QSettingsStore();
    // An explicit INI file (tests, portable set-ups).
    explicit QSettingsStore(const QString& iniFile);
    ~QSettingsStore() override;

    bool ValueExists(std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view name) const override;
    std::optional<int32_t> ReadInteger(std::string_view name) const override;
    std::optional<double> ReadDouble(std::string_view name) const override;
    bool WriteString(std::string_view name, std::string_view value) override;
    bool WriteInteger(std::string_view name, int32_t value) override;
    bool WriteDouble(std::string_view name, double value) override;

    // Writes pending changes to the file; false when that failed.
    bool Sync();
    QString FileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace trimora
