#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// A table from key names to the hex key forms of their codes. Names compare
// without regard to the case of ASCII letters and are unique under that
// comparison; every other character compares exactly.
class KeyNameTable {
public:
    // Adds `name` under `hexKeyForm`. Throws CorvaneError (CorvaneErrorNumber::DuplicateKey) and
    // leaves the table unchanged when an equal name is present.
    void Add(const QString& name, const QString& hexKeyForm);

    bool Contains(const QString& name) const;
    // The hex key form stored under `name`, or a null QString when it is absent.
    QString Find(const QString& name) const;

    int Count() const { return m_entries.size(); }
    // Every name as it was added, in the order of adding.
    QStringList Names() const;
    void Clear();

    // `text` with the ASCII letters A to Z turned to lower case.
    static QString FoldAsciiCase(const QString& text);

private:
    struct Entry {
        QString Name;
        QString HexKeyForm;
    };
    QVector<Entry> m_entries;
    QHash<QString, int> m_indexByFoldedName;
};
