#include "keys/KeyNameTable.h"

#include "core/CorvaneError.h"

void KeyNameTable::Add(const QString& name, const QString& hexKeyForm) {
    const QString folded = FoldAsciiCase(name);
    if (m_indexByFoldedName.contains(folded)) {
        throw CorvaneError(CorvaneErrorNumber::DuplicateKey,
                           QStringLiteral("Duplicate key name: \"%1\"").arg(name));
    }
    m_indexByFoldedName.insert(folded, m_entries.size());
    m_entries.append({name, hexKeyForm});
}

bool KeyNameTable::Contains(const QString& name) const {
    return m_indexByFoldedName.contains(FoldAsciiCase(name));
}

QString KeyNameTable::Find(const QString& name) const {
    const auto found = m_indexByFoldedName.constFind(FoldAsciiCase(name));
    return found == m_indexByFoldedName.constEnd() ? QString() : m_entries[*found].HexKeyForm;
}

QStringList KeyNameTable::Names() const {
    QStringList names;
    names.reserve(m_entries.size());
    for (const Entry& entry : m_entries) names.append(entry.Name);
    return names;
}

void KeyNameTable::Clear() {
    m_entries.clear();
    m_indexByFoldedName.clear();
}

QString KeyNameTable::FoldAsciiCase(const QString& text) {
    // Only ASCII letters fold: a full Unicode folding would let look-alikes such
    // as the Kelvin sign or the long s stand in for plain letters.
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') c = QChar(u + (u'a' - u'A'));
    }
    return folded;
}
