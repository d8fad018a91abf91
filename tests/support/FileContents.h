#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

// A path of the test's folders as the program's QString paths.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Everything the file at `path` holds, or "<missing>" when it cannot be read,
// so that a file that is gone never compares equal to an empty one.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<missing>");
    return file.readAll();
}
