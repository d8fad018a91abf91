#include "sorting/KeyLegend.h"

#include <QFileInfo>
#include <QHash>

#include "keys/ClassifierKeyMap.h"
#include "keys/mdlKeycodes.h"

QString KeyLegend::Row::ActsOn() const {
    return classifyAll ? QStringLiteral("All") : QStringLiteral("Selection");
}

QString KeyLegend::Row::FolderText() const {
    return folderMissing ? folder + QStringLiteral(" (missing)") : folder;
}

KeyLegend::KeyLegend(const ClassifierKeyMap& keyMap, MovedCount movedInto)
    : m_keyMap(keyMap), m_movedInto(std::move(movedInto)) {}

void KeyLegend::Refresh() {
    // Several keystrokes may share a folder: each folder is looked at once.
    QHash<QString, bool> folderThere;
    m_rows.clear();
    m_rows.reserve(static_cast<std::size_t>(m_keyMap.Keys().size()));
    for (const QString& bindingKey : m_keyMap.Keys()) {
        const std::optional<KeyStroke> keyStroke = mdlKeycodes::ParseBindingKey(bindingKey);
        if (!keyStroke) continue;
        Row row;
        row.keyText = mdlKeycodes::KeyText(keyStroke->KeyCode, keyStroke->Shift);
        row.classifyAll = m_keyMap.AllFlag(bindingKey) == QLatin1String("True");
        row.folder = m_keyMap.Dir(bindingKey);
        auto there = folderThere.constFind(row.folder);
        if (there == folderThere.constEnd()) {
            there = folderThere.insert(row.folder, QFileInfo(row.folder).isDir());
        }
        row.folderMissing = !there.value();
        row.moved = m_movedInto(row.folder);
        m_rows.push_back(std::move(row));
    }
}
