#include "settings/SettingsFileFormat.h"

#include <QFileDevice>

#include "files/SafeFileWriter.h"
#include "settings/IniText.h"

namespace {

SafeFileWriter OrdinaryWriter;
SafeFileWriter* CurrentWriter = &OrdinaryWriter;
QString LastError;

}  // namespace

QSettings::Format SettingsFileFormat::Format() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), &SettingsFileFormat::Read,
                                  &SettingsFileFormat::Write, Qt::CaseSensitive);
    return format;
}

void SettingsFileFormat::SetWriter(SafeFileWriter* writer) {
    CurrentWriter = writer ? writer : &OrdinaryWriter;
}

QString SettingsFileFormat::TakeLastError() {
    QString error = LastError;
    LastError.clear();
    return error;
}

bool SettingsFileFormat::Read(QIODevice& device, QSettings::SettingsMap& map) {
    const IniText::Map values = IniText::Parse(device.readAll());
    for (auto it = values.cbegin(); it != values.cend(); ++it) map.insert(it.key(), it.value());
    // A damaged file still counts as read: what could not be read falls back
    // to the defaults, and the next save replaces the file with a sound one.
    return true;
}

bool SettingsFileFormat::Write(QIODevice& device, const QSettings::SettingsMap& map) {
    IniText::Map values;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        values.insert(it.key(), it.value().toString());
    // QSettings hands in the temporary file that it renames over the settings
    // file once this returns true. Writing past Qt's buffer with every write
    // checked and the data synced leaves nothing for its unchecked final flush.
    auto* file = qobject_cast<QFileDevice*>(&device);
    if (!file || file->handle() < 0 || !file->flush()) {
        LastError = file ? file->errorString() : QStringLiteral("The settings file is not a file.");
        return false;
    }
    const QString error =
        CurrentWriter->WriteAllAndSync(file->handle(), IniText::Serialize(values));
    if (!error.isEmpty()) {
        LastError = error;
        return false;
    }
    return true;
}
