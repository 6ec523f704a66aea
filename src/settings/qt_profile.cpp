#include "settings/qt_profile.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdlib>

namespace trimlet {

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString SettingsKey(std::string_view section, std::string_view key) {
    return ToQString(section) + QLatin1Char('/') + ToQString(key);
}

// The stored value as text. An INI line with unquoted commas comes back as a list;
// joining it again gives the line as it was written.
std::optional<std::string> ValueText(const QSettings& settings, const QString& key) {
    QVariant value = settings.value(key);
    if (!value.isValid()) return std::nullopt;
    QString text = value.typeId() == QMetaType::QStringList
                       ? value.toStringList().join(QLatin1Char(','))
                       : value.toString();
    QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

struct QtProfile::Impl {
    template <typename... Args>
    explicit Impl(Args&&... args) : settings(std::forward<Args>(args)...) {}
    QSettings settings;
};

QtProfile::QtProfile()
    : impl_(std::make_unique<Impl>(QSettings::NativeFormat, QSettings::UserScope,
                                   QStringLiteral("VARD APP"), QStringLiteral("Trimlet HTML!"))) {}

QtProfile::QtProfile(const std::string& iniPath)
    : impl_(std::make_unique<Impl>(ToQString(iniPath), QSettings::IniFormat)) {}

QtProfile::~QtProfile() {
    impl_->settings.sync();
}

std::string QtProfile::FilePath() const {
    QByteArray bytes = impl_->settings.fileName().toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool QtProfile::Sync() {
    impl_->settings.sync();
    return impl_->settings.status() == QSettings::NoError;
}

std::optional<std::int64_t> QtProfile::DoFindInteger(std::string_view section,
                                                     std::string_view key) const {
    std::optional<std::string> text = ValueText(impl_->settings, SettingsKey(section, key));
    if (!text) return std::nullopt;
    return ParseProfileInteger(*text);
}

std::optional<std::string> QtProfile::DoFindString(std::string_view section,
                                                   std::string_view key) const {
    return ValueText(impl_->settings, SettingsKey(section, key));
}

void QtProfile::DoWriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    impl_->settings.setValue(SettingsKey(section, key), static_cast<qlonglong>(value));
    impl_->settings.sync();
}

void QtProfile::DoWriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    impl_->settings.setValue(SettingsKey(section, key), ToQString(value));
    impl_->settings.sync();
}

bool QtProfile::DoHasKey(std::string_view section, std::string_view key) const {
    return impl_->settings.contains(SettingsKey(section, key));
}

void QtProfile::DoRemoveKey(std::string_view section, std::string_view key) {
    impl_->settings.remove(SettingsKey(section, key));
    impl_->settings.sync();
}

std::unique_ptr<Profile> OpenProfile(const std::string& explicitPath) {
    if (!explicitPath.empty()) return std::make_unique<QtProfile>(explicitPath);
    const char* fromEnvironment = std::getenv(kProfileEnvironmentVariable);
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return std::make_unique<QtProfile>(std::string(fromEnvironment));
    }
    return std::make_unique<QtProfile>();
}

}  // namespace trimlet
