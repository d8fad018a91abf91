#include "module/SonoluxRegistration.h"

#include <dlfcn.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "control/CSonoluxCtrl.h"
#include "control/SonoluxTypeLibrary.h"
#include "sonolux/ComponentRegistry.h"

namespace {

constexpr const char* ThreadingModel = "Apartment";
constexpr int ToolboxBitmap = 1;

QString TypeLibVersion() {
    return QStringLiteral("%1.%2").arg(SONOLUXLib().majorVersion).arg(SONOLUXLib().minorVersion);
}

sonolux::ClassEntry PageEntry(const QUuid& classId, const char* progId, const char* name,
                              const QString& modulePath) {
    sonolux::ClassEntry entry;
    entry.classId = classId;
    entry.progId = QString::fromLatin1(progId);
    entry.name = QString::fromLatin1(name);
    entry.modulePath = modulePath;
    entry.threadingModel = QString::fromLatin1(ThreadingModel);
    return entry;
}

sonolux::ClassEntry ControlEntry(const QString& modulePath) {
    sonolux::ClassEntry entry =
        PageEntry(sonolux::CLSID_Sonolux, sonolux::ProgID_Sonolux, "Sonolux Control", modulePath);
    entry.miscStatus = CSonoluxCtrl::MiscStatus;
    entry.typeLibId = SONOLUXLib().id;
    entry.typeLibVersion = TypeLibVersion();
    entry.control = true;
    entry.insertable = true;
    entry.toolboxBitmap = ToolboxBitmap;
    return entry;
}

sonolux::TypeLibEntry TypeLibRecord(const QString& modulePath) {
    const TypeLibraryDescription& library = SONOLUXLib();
    sonolux::TypeLibEntry entry;
    entry.id = library.id;
    entry.majorVersion = library.majorVersion;
    entry.minorVersion = library.minorVersion;
    entry.name = QString::fromLatin1(library.name);
    entry.helpString = QString::fromLatin1(library.helpString);
    entry.locale = library.locale;
    entry.modulePath = modulePath;
    // The module's folder, with its trailing separator.
    entry.helpDirectory = QFileInfo(modulePath).absolutePath() + QLatin1Char('/');
    entry.describesControls = true;
    return entry;
}

}  // namespace

sonolux::HRESULT RegisterSonolux(const QString& registryPath, const QString& modulePath) {
    sonolux::ComponentRegistry registry(registryPath);
    // A registry that cannot be read is left alone rather than overwritten.
    if (!registry.Load()) return sonolux::SELFREG_E_TYPELIB;
    registry.SetTypeLib(TypeLibRecord(modulePath));
    registry.SetClass(ControlEntry(modulePath));
    registry.SetClass(PageEntry(sonolux::CLSID_SonoluxPropPage, "SONOLUX.SonoluxPropPage.1",
                                "Sonolux Property Page", modulePath));
    registry.SetClass(PageEntry(sonolux::CLSID_SPGParams, "Sonolux.CSPGParams",
                                "SPGParams Property Page", modulePath));
    return registry.Save() ? sonolux::S_OK : sonolux::SELFREG_E_CLASS;
}

sonolux::HRESULT UnregisterSonolux(const QString& registryPath) {
    sonolux::ComponentRegistry registry(registryPath);
    if (!registry.Load()) return sonolux::SELFREG_E_TYPELIB;
    const TypeLibraryDescription& library = SONOLUXLib();
    bool removed = registry.RemoveTypeLib(library.id, library.majorVersion, library.minorVersion);
    for (const QUuid& classId :
         {sonolux::CLSID_Sonolux, sonolux::CLSID_SonoluxPropPage, sonolux::CLSID_SPGParams})
        removed = registry.RemoveClass(classId) || removed;
    // Nothing of ours there: nothing to write.
    if (!removed) return sonolux::S_OK;
    return registry.Save() ? sonolux::S_OK : sonolux::SELFREG_E_CLASS;
}

QString SonoluxModulePath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&SonoluxModulePath), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}
