#include "settings/QtSettingsStore.h"

#include <QFileInfo>
#include <QSettings>

#include "files/SafeFileWriter.h"
#include "settings/SettingsFileFormat.h"

namespace {

QString KeyPath(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(SettingsFileFormat::Format(), QSettings::UserScope,
                                             QStringLiteral("Corvane"))) {
    // The user's own settings only, not the system-wide ones of /etc/xdg.
    m_settings->setFallbacksEnabled(false);
}

QtSettingsStore::QtSettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, SettingsFileFormat::Format())) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::GetSetting(const QString& section, const QString& key,
                                    const QString& defaultText) const {
    const QVariant value = m_settings->value(KeyPath(section, key));
    return value.isValid() ? value.toString() : defaultText;
}

void QtSettingsStore::SaveSetting(const QString& section, const QString& key, const QString& text) {
    m_settings->setValue(KeyPath(section, key), text);
}

QString QtSettingsStore::Commit() {
    SettingsFileFormat::TakeLastError();
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        const QString error = SettingsFileFormat::TakeLastError();
        return error.isEmpty()
                   ? QStringLiteral("The settings cannot be written to %1.").arg(FilePath())
                   : error;
    }
    return SafeFileWriter::SyncFolder(Folder());
}

QString QtSettingsStore::Folder() const {
    return QFileInfo(FilePath()).absolutePath();
}

QString QtSettingsStore::FilePath() const {
    return m_settings->fileName();
}
