#pragma once

#include <QSettings>
#include <QString>

class SafeFileWriter;

// The settings file format: Qt's INI text, written through a SafeFileWriter
// so that a failing write (a full disk) cancels the save and leaves the old
// file, where QSettings' own INI writer can leave a truncated one.
class SettingsFileFormat {
public:
    // The format, registered with QSettings on first use under the file
    // extension "conf".
    static QSettings::Format Format();

    // The writer that saves settings files from now on; null restores the
    // ordinary one. Not owned. Tests hand in one whose writes fail.
    static void SetWriter(SafeFileWriter* writer);

    // The description of the failure of the last save that failed while
    // writing, or empty. Cleared by TakeLastError.
    static QString TakeLastError();

private:
    static bool Read(QIODevice& device, QSettings::SettingsMap& map);
    static bool Write(QIODevice& device, const QSettings::SettingsMap& map);
};
