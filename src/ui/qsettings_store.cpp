#include "ui/qsettings_store.h"

#include <QLocale>
#include <QSettings>
#include <QStringList>
#include <QVariant>
#include <cmath>

namespace trimora {

namespace {

QString Key(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// An INI file holds only text, so every value is read back as text and converted here; a
// value typed in by hand that does not convert reads as missing. A text with an unquoted
// comma comes back as a list and is joined again.
QString Text(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ");
    return value.toString();
}

}  // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("VELMAR"), QStringLiteral("Trimora"))) {
    settings_->beginGroup(QString::fromLatin1(kGroup));
}

QSettingsStore::QSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
    settings_->beginGroup(QString::fromLatin1(kGroup));
}

QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::ValueExists(std::string_view name) const {
    return settings_->contains(Key(name));
}

std::optional<std::string> QSettingsStore::ReadString(std::string_view name) const {
    const QVariant value = settings_->value(Key(name));
    if (!value.isValid()) return std::nullopt;
    return Text(value).toStdString();
}

std::optional<int32_t> QSettingsStore::ReadInteger(std::string_view name) const {
    const QVariant value = settings_->value(Key(name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const int number = Text(value).trimmed().toInt(&ok);
    if (!ok) return std::nullopt;
    return number;
}

std::optional<double> QSettingsStore::ReadDouble(std::string_view name) const {
    const QVariant value = settings_->value(Key(name));
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    const double number = Text(value).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

bool QSettingsStore::WriteString(std::string_view name, std::string_view value) {
    if (!settings_->isWritable()) return false;
    settings_->setValue(Key(name),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    return true;
}

bool QSettingsStore::WriteInteger(std::string_view name, int32_t value) {
    if (!settings_->isWritable()) return false;
    settings_->setValue(Key(name), QString::number(value));
    return true;
}

bool QSettingsStore::WriteDouble(std::string_view name, double value) {
    if (!settings_->isWritable()) return false;
    // Plain number text with the shortest digits that read back to the same double.
    settings_->setValue(Key(name), QString::number(value, 'g', QLocale::FloatingPointShortest));
    return true;
}

bool QSettingsStore::Sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

QString QSettingsStore::FileName() const {
    return settings_->fileName();
}

}  // namespace trimora
