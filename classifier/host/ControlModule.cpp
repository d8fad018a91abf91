#include "host/ControlModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "sonolux/ComponentRegistry.h"

namespace {

QString RegisteredModule(const QUuid& classId) {
    sonolux::ComponentRegistry registry;
    if (!registry.Load()) return {};
    const auto entry = registry.FindClass(classId);
    if (!entry || !QFileInfo(entry->modulePath).isFile()) return {};
    return entry->modulePath;
}

}  // namespace

ControlModule::~ControlModule() {
    // The module stays mapped: controls it created may outlive this object
    // while the window tree is torn down.
    if (m_factory) m_factory->Release();
}

bool ControlModule::Load(const QUuid& classId, const QString& folder) {
    const QString beside = QDir(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder)
                               .filePath(QStringLiteral("sonolux"));
    if (folder.isEmpty()) {
        const QString registered = RegisteredModule(classId);
        if (!registered.isEmpty() && LoadFrom(registered, classId)) return true;
    }
    return LoadFrom(beside, classId);
}

bool ControlModule::LoadFrom(const QString& modulePath, const QUuid& classId) {
    if (m_library.isLoaded()) m_library.unload();
    m_library.setFileName(modulePath);
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return false;
    }
    const auto getClassObject = reinterpret_cast<sonolux::DllGetClassObjectFunction>(
        m_library.resolve("DllGetClassObject"));
    if (!getClassObject) {
        m_error = m_library.errorString();
        return false;
    }
    void* object = nullptr;
    const sonolux::HRESULT result = getClassObject(&classId, &sonolux::IID_IClassFactory, &object);
    if (result != sonolux::S_OK || !object) {
        m_error = QStringLiteral("The control module offers no class %1 (error 0x%2).")
                      .arg(classId.toString())
                      .arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'));
        return false;
    }
    m_factory = static_cast<sonolux::IClassFactory*>(object);
    return true;
}

QWidget* ControlModule::CreateControl(QWidget* parent) {
    if (!m_factory) return nullptr;
    QWidget* control = nullptr;
    if (m_factory->CreateInstance(parent, &control) != sonolux::S_OK) return nullptr;
    return control;
}
