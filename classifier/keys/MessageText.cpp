#include "keys/MessageText.h"

#include <QLocale>

namespace MessageText {

QString Count(qint64 count) {
    QLocale english = QLocale::c();
    english.setNumberOptions(QLocale::DefaultNumberOptions);  // the C locale omits groups
    return english.toString(count);
}

QString Abbreviated(const QString& text, qsizetype maxLength) {
    if (text.size() <= maxLength) return text;
    qsizetype kept = maxLength;
    if (kept > 0 && text[kept - 1].isHighSurrogate()) --kept;
    return text.left(kept) + QStringLiteral("...");
}

}  // namespace MessageText
