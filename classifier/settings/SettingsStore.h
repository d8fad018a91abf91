#pragma once

#include <QString>

// The per-user settings store: text values addressed by section and key.
// Saved texts are read back at once; Commit makes them lasting.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    // The stored text, or `defaultText` when the key or its section does not exist.
    virtual QString GetSetting(const QString& section, const QString& key,
                               const QString& defaultText) const = 0;
    // Creates the key or replaces its text.
    virtual void SaveSetting(const QString& section, const QString& key, const QString& text) = 0;
    // Makes every saved setting lasting. Returns an empty text on success, or
    // the description of the failure; the lasting settings are then the old ones.
    virtual QString Commit() = 0;
    // The file the settings are kept in; files Corvane keeps for the user go beside it.
    virtual QString FilePath() const = 0;
    // The folder the settings live in, where files kept beside them go.
    virtual QString Folder() const = 0;
};
