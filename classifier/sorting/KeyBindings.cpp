#include "sorting/KeyBindings.h"

#include "core/MessageBox.h"
#include "keys/TargetFolder.h"
#include "keys/mdlKeycodes.h"

bool KeyBindings::Bind(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                       const QString& TargetDir, IMessageBox& messages) {
    const std::optional<QString> folder = TargetFolder::AsFolderPath(TargetDir);
    if (!folder) {
        messages.Warn(
            TargetFolder::RefusalMessage(TargetDir, mdlKeycodes::KeyText(keyCode, shift)));
        return false;
    }
    QString boundDir;
    if (m_map.Add(keyCode, shift, classifyAll, *folder, &boundDir)) return true;
    messages.Warn(QStringLiteral("Keystroke %1 is already being used for %2")
                      .arg(mdlKeycodes::KeyText(keyCode, shift), boundDir));
    return false;
}

std::optional<ClassifierKeyMap::Binding> KeyBindings::Find(const KeyStroke& keyStroke) const {
    return m_map.Find(mdlKeycodes::BindingKey(keyStroke));
}
