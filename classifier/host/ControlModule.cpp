#include "host/ControlModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/CorvaneError.h"
#include "sonolux/ComponentRegistry.h"

namespace {

[[noreturn]] void Fail(const QString& reason) {
    throw CorvaneError(CorvaneErrorNumber::ModuleNotLoaded, reason);
}

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

void ControlModule::Load(const QUuid& classId, const QString& folder) {
    const QString beside = QDir(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder)
                               .filePath(QStringLiteral("sonolux"));
    if (folder.isEmpty()) {
        const QString registered = RegisteredModule(classId);
        try {
            if (!registered.isEmpty()) {
                LoadFrom(registered, classId);
                return;
            }
        } catch (const CorvaneError&) {
            // A registered module that fails is no reason not to try the one beside the program.
        }
    }
    LoadFrom(beside, classId);
}

void ControlModule::LoadFrom(const QString& modulePath, const QUuid& classId) {
    if (m_library.isLoaded()) m_library.unload();
    m_library.setFileName(modulePath);
    if (!m_library.load()) Fail(m_library.errorString());
    const auto getClassObject = reinterpret_cast<sonolux::DllGetClassObjectFunction>(
        m_library.resolve("DllGetClassObject"));
    if (!getClassObject) Fail(m_library.errorString());
    void* object = nullptr;
    const sonolux::HRESULT result = getClassObject(&classId, &sonolux::IID_IClassFactory, &object);
    if (result != sonolux::S_OK || !object) {
        Fail(QStringLiteral("The control module offers no class %1 (error 0x%2).")
                 .arg(classId.toString())
                 .arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0')));
    }
    m_factory = static_cast<sonolux::IClassFactory*>(object);
}

QWidget* ControlModule::CreateControl(QWidget* parent) {
    if (!m_factory) return nullptr;
    QWidget* control = nullptr;
    if (m_factory->CreateInstance(parent, &control) != sonolux::S_OK) return nullptr;
    return control;
}
