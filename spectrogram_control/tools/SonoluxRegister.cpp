// sonolux-register: registers a self-registering component module in the
// per-user component registry, or removes it again.
//   sonolux-register [-u] MODULE
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <cstdio>

#include "sonolux/ComponentRegistry.h"
#include "sonolux/SonoluxModule.h"

namespace {

int Fail(const QString& text) {
    std::fprintf(stderr, "sonolux-register: %s\n", qPrintable(text));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool unregister = arguments.removeAll(QStringLiteral("-u")) > 0;
    if (arguments.size() != 1) return Fail(QStringLiteral("usage: sonolux-register [-u] MODULE"));

    QLibrary module(QFileInfo(arguments.first()).absoluteFilePath());
    if (!module.load()) return Fail(module.errorString());
    const char* exportName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const auto function =
        reinterpret_cast<sonolux::DllRegisterServerFunction>(module.resolve(exportName));
    if (!function)
        return Fail(QStringLiteral("%1 does not register itself.").arg(module.fileName()));

    const sonolux::HRESULT result = function();
    if (result != sonolux::S_OK) {
        return Fail(QStringLiteral("%1 failed with 0x%2 (registry %3).")
                        .arg(QString::fromLatin1(exportName))
                        .arg(static_cast<quint32>(result), 8, 16, QLatin1Char('0'))
                        .arg(sonolux::ComponentRegistry::DefaultPath()));
    }
    std::printf("%s: %s in %s\n", exportName, qPrintable(module.fileName()),
                qPrintable(sonolux::ComponentRegistry::DefaultPath()));
    return 0;
}
