#include "host/ControlModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

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
    m_analyse = nullptr;
    m_setCacheLimit = nullptr;
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
    // Resolved once here, so that analyses on worker threads never touch the library.
    m_analyse = reinterpret_cast<sonolux::SonoluxAnalyseWaveFileFunction>(
        m_library.resolve("SonoluxAnalyseWaveFile"));
    m_setCacheLimit = reinterpret_cast<sonolux::SonoluxSetPictureCacheLimitFunction>(
        m_library.resolve("SonoluxSetPictureCacheLimit"));
}

bool ControlModule::SetPictureCacheLimit(quint64 bytes) {
    if (!m_setCacheLimit) return false;
    m_setCacheLimit(bytes);
    return true;
}

QWidget* ControlModule::CreateControl(QWidget* parent) {
    if (!m_factory) return nullptr;
    QWidget* control = nullptr;
    if (m_factory->CreateInstance(parent, &control) != sonolux::S_OK) return nullptr;
    return control;
}

int ControlModule::AnalysisVersion() const {
    if (!m_analyse) return 0;
    SonoluxAnalysis analysis{};
    m_analyse(nullptr, &analysis);  // no file: only the version and the status "no path"
    return analysis.version;
}

WaveFingerprint ControlModule::Analyse(const QString& path) const {
    WaveFingerprint fingerprint;
    if (!m_analyse) {
        fingerprint.status = QStringLiteral("the control module cannot analyse recordings");
        return fingerprint;
    }
    SonoluxAnalysis analysis{};
    m_analyse(QFile::encodeName(path).constData(), &analysis);
    analysis.statusText[sizeof analysis.statusText - 1] = '\0';
    fingerprint.status = QString::fromUtf8(analysis.statusText);
    fingerprint.version = analysis.version;
    fingerprint.activityDb = analysis.activityDb;
    const int count = std::clamp(analysis.featureCount, 0, sonolux::AnalysisFeatureCapacity);
    fingerprint.analysed = analysis.status == 0 && count > 0;
    if (fingerprint.analysed)
        fingerprint.features.assign(analysis.features, analysis.features + count);
    return fingerprint;
}
