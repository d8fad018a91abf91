#pragma once

#include <QString>
#include <memory>

#include "settings/SettingsStore.h"

class QSettings;

// The settings store over QSettings: one INI file per user, written through
// SettingsFileFormat. Not copyable; lives on the user-interface thread.
// Commit is meant to be called once, at exit: QSettings keeps the first error
// it met, so after a failed commit every later one reports failure too.
// Destroying the store tries once more to write what was saved and not yet
// committed, silently.
class QtSettingsStore : public ISettingsStore {
public:
    // The settings of application "Corvane" of this user: the file
    // Corvane.conf in the user's configuration folder.
    QtSettingsStore();
    // The settings in the file at `filePath`.
    explicit QtSettingsStore(const QString& filePath);
    ~QtSettingsStore() override;

    QString GetSetting(const QString& section, const QString& key,
                       const QString& defaultText) const override;
    void SaveSetting(const QString& section, const QString& key, const QString& text) override;
    QString Commit() override;
    QString Folder() const override;

    QString FilePath() const override;

private:
    std::unique_ptr<QSettings> m_settings;
};
