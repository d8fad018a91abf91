#include "registry/RegistryText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <cstring>

namespace sonolux {
namespace {

QString Escape(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\')) {
            escaped += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('\n')) {
            escaped += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\r')) {
            escaped += QStringLiteral("\\r");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString Unescape(const QString& value) {
    QString plain;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            plain += c;
            continue;
        }
        const QChar next = value.at(++i);
        plain += next == QLatin1Char('n')   ? QChar('\n')
                 : next == QLatin1Char('r') ? QChar('\r')
                                            : next;
    }
    return plain;
}

QString SystemError(const QString& what, const QString& path) {
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(strerror(errno)));
}

bool WriteAll(int fd, const QByteArray& contents) {
    qint64 done = 0;
    while (done < contents.size()) {
        const ssize_t written = ::write(fd, contents.constData() + done, contents.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

void SyncDirectory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

QByteArray FormatRegistryText(const std::vector<ComponentRegistry::Section>& sections) {
    QString text = QStringLiteral("; Per-user component registry\n");
    for (const ComponentRegistry::Section& section : sections) {
        text += QStringLiteral("\n[%1]\n").arg(section.name);
        for (const auto& [key, value] : section.values)
            text += QStringLiteral("%1=%2\n").arg(key, Escape(value));
    }
    return text.toUtf8();
}

std::optional<std::vector<ComponentRegistry::Section>> ParseRegistryText(const QByteArray& text,
                                                                         QString& error) {
    std::vector<ComponentRegistry::Section> sections;
    QSet<QString> names;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int number = 1; number <= lines.size(); ++number) {
        QString line = lines.at(number - 1);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            if (name.isEmpty() || names.contains(name)) {
                error = QStringLiteral("line %1: empty or repeated section").arg(number);
                return std::nullopt;
            }
            names.insert(name);
            sections.push_back({name, {}});
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || sections.empty()) {
            error = QStringLiteral("line %1: not a registry entry").arg(number);
            return std::nullopt;
        }
        sections.back().values.append({line.left(equals), Unescape(line.mid(equals + 1))});
    }
    return sections;
}

bool WriteFileSafely(const QString& path, const QByteArray& contents, QString& error) {
    const QFileInfo info(path);
    const QString directory = info.absolutePath();
    if (!QDir().mkpath(directory)) {
        error = QStringLiteral("Cannot create the folder %1.").arg(directory);
        return false;
    }
    QByteArray pattern = QFile::encodeName(directory + QStringLiteral("/.") + info.fileName() +
                                           QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = SystemError(QStringLiteral("Cannot write into"), directory);
        return false;
    }
    const bool written = ::fchmod(fd, 0644) == 0 && WriteAll(fd, contents) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed ||
        ::rename(pattern.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) !=
            0) {
        if (written && closed) {
            error = SystemError(QStringLiteral("Cannot replace"), path);
        } else {
            errno = written ? errno : savedErrno;
            error = SystemError(QStringLiteral("Cannot write"), path);
        }
        ::unlink(pattern.constData());
        return false;
    }
    SyncDirectory(directory);
    return true;
}

}  // namespace sonolux
