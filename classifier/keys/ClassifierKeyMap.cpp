#include "keys/ClassifierKeyMap.h"

#include "keys/mdlKeycodes.h"

bool ClassifierKeyMap::Add(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                           const QString& targetDir, QString* boundDir) {
    const QString key = Normalised(mdlKeycodes::BindingKey(keyCode, shift));
    const auto existing = ClassifyDirs.constFind(key);
    if (existing != ClassifyDirs.constEnd()) {
        if (boundDir) *boundDir = existing.value();
        return false;
    }
    ClassifyDirs.insert(key, targetDir);
    ClassifyKeys.append(mdlKeycodes::BindingKey(keyCode, shift));
    ClassifyAllFlags.insert(key, classifyAll ? QStringLiteral("True") : QStringLiteral("False"));
    return true;
}

std::optional<ClassifierKeyMap::Binding> ClassifierKeyMap::Find(const QString& bindingKey) const {
    const QString key = Normalised(bindingKey);
    const auto dir = ClassifyDirs.constFind(key);
    if (dir == ClassifyDirs.constEnd()) return std::nullopt;
    return Binding{dir.value(), ClassifyAllFlags.value(key) == QLatin1String("True")};
}

void ClassifierKeyMap::Clear() {
    ClassifyDirs.clear();
    ClassifyKeys.clear();
    ClassifyAllFlags.clear();
}

QString ClassifierKeyMap::Dir(const QString& bindingKey) const {
    return ClassifyDirs.value(Normalised(bindingKey));
}

QString ClassifierKeyMap::AllFlag(const QString& bindingKey) const {
    return ClassifyAllFlags.value(Normalised(bindingKey));
}
