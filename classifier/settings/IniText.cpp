#include "settings/IniText.h"

#include <QList>
#include <QPair>
#include <cctype>

namespace IniText {

namespace {

const QString GeneralSection = QStringLiteral("General");

bool IsPlainKeyCharacter(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

QByteArray EscapedName(const QString& name) {
    QByteArray result;
    for (QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == '/')
            result += '\\';
        else if (IsPlainKeyCharacter(c))
            result += static_cast<char>(c);
        else if (c <= 0xFF)
            result += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            result += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
    return result;
}

QString UnescapedName(const QByteArray& name) {
    QString result;
    for (int i = 0; i < name.size(); ++i) {
        const char c = name.at(i);
        if (c == '\\') {
            result += QLatin1Char('/');
            continue;
        }
        if (c == '%') {
            const bool wide = i + 1 < name.size() && name.at(i + 1) == 'U';
            const int start = i + (wide ? 2 : 1);
            const int length = wide ? 4 : 2;
            bool ok = false;
            const uint code = name.mid(start, length).toUInt(&ok, 16);
            if (ok && name.mid(start, length).size() == length) {
                result += QChar(static_cast<char16_t>(code));
                i = start + length - 1;
                continue;
            }
        }
        result += QLatin1Char(c);
    }
    return result;
}

QByteArray EscapedValue(const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    QByteArray result;
    bool needsQuotes = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    if (utf8.startsWith('@')) result += '@';  // a lone "@" would start a typed value
    for (char c : utf8) {
        switch (c) {
            case '\n':
                result += "\\n";
                break;
            case '\r':
                result += "\\r";
                break;
            case '\t':
                result += "\\t";
                break;
            case '"':
            case '\\':
                result += '\\';
                result += c;
                break;
            case ';':
            case ',':
            case '=':
                needsQuotes = true;
                result += c;
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20)
                    result += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
                else
                    result += c;
        }
    }
    return needsQuotes ? '"' + result + '"' : result;
}

char EscapedCharacter(char c) {
    switch (c) {
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'v':
            return '\v';
        case '0':
            return '\0';
        default:
            return c;
    }
}

QString UnescapedValue(const QByteArray& value) {
    QByteArray text = value.startsWith("@@") ? value.mid(1) : value;
    QByteArray result;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"') continue;  // quotes only protect what they enclose
        if (c != '\\' || i + 1 == text.size()) {
            result += c;
            continue;
        }
        const char next = text.at(++i);
        if (next == 'x') {
            int end = i + 1;
            while (end < text.size() && std::isxdigit(static_cast<unsigned char>(text.at(end))))
                ++end;
            result += static_cast<char>(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16));
            i = end - 1;
        } else {
            result += EscapedCharacter(next);
        }
    }
    return QString::fromUtf8(result);
}

}  // namespace

QByteArray Serialize(const Map& values) {
    // Keys without a section are collected under the empty name.
    QMap<QString, QList<QPair<QString, QString>>> sections;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        const QString key = slash < 0 ? it.key() : it.key().mid(slash + 1);
        sections[section].append({key, it.value()});
    }
    QByteArray text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        if (!text.isEmpty()) text += '\n';
        QByteArray header = EscapedName(it.key());
        // A section really called "General" must not mix with the keys that
        // have none.
        if (it.key().isEmpty())
            header = "General";
        else if (it.key().compare(GeneralSection, Qt::CaseInsensitive) == 0)
            header.prepend('%');
        text += '[' + header + "]\n";
        for (const auto& [key, value] : it.value())
            text += EscapedName(key) + '=' + EscapedValue(value) + '\n';
    }
    return text;
}

Map Parse(const QByteArray& text) {
    Map values;
    QString section;
    bool inBrokenSection = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            // The keys under a header that lost its end belong to no known section.
            inBrokenSection = end < 0;
            const QByteArray name = line.mid(1, end - 1).trimmed();
            if (name.compare("General", Qt::CaseInsensitive) == 0)
                section.clear();
            else
                // "[%General]" names a group called General; any other "%" begins an escape.
                section = UnescapedName(
                    name.compare("%General", Qt::CaseInsensitive) == 0 ? name.mid(1) : name);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || inBrokenSection) continue;
        const QString key = UnescapedName(line.left(equals).trimmed());
        const QString value = UnescapedValue(line.mid(equals + 1).trimmed());
        values.insert(section.isEmpty() ? key : section + QLatin1Char('/') + key, value);
    }
    return values;
}

}  // namespace IniText
