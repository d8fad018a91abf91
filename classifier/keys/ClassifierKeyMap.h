#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The user's keystroke bindings: which keystroke moves recordings into which
// folder, and whether it acts on all visible cells or on the selected one.
// Bindings are only ever added one at a time or erased all together.
class ClassifierKeyMap {
public:
    struct Binding {
        QString targetDir;
        bool classifyAll = false;
    };

    // Binds the keystroke; false (and nothing changed) when it is already bound,
    // with the folder it is bound to in `boundDir`.
    bool Add(std::int16_t keyCode, std::int16_t shift, bool classifyAll, const QString& targetDir,
             QString* boundDir = nullptr);
    // The binding of a binding key ("41,2"), compared without regard to case.
    std::optional<Binding> Find(const QString& bindingKey) const;
    void Clear();

    bool IsEmpty() const { return ClassifyKeys.isEmpty(); }
    // Binding keys in the order the bindings were made.
    const QStringList& Keys() const { return ClassifyKeys; }
    QString Dir(const QString& bindingKey) const;
    // "True" or "False".
    QString AllFlag(const QString& bindingKey) const;

private:
    static QString Normalised(const QString& bindingKey) { return bindingKey.toUpper(); }

    QHash<QString, QString> ClassifyDirs;      // binding key -> target folder text
    QStringList ClassifyKeys;                  // binding keys, in binding order
    QHash<QString, QString> ClassifyAllFlags;  // binding key -> "True" / "False"
};
