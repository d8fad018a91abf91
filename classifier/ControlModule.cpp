#include "ControlModule.h"

#include <QCoreApplication>
#include <QDir>

ControlModule::~ControlModule() {
    // The module stays mapped: controls it created may outlive this object
    // while the window tree is torn down.
    if (m_factory) m_factory->Release();
}

bool ControlModule::Load(const QUuid& classId, const QString& folder) {
    const QString directory = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    m_library.setFileName(QDir(directory).filePath(QStringLiteral("sonolux")));
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
