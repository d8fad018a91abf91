// sonolux-register: registers a self-registering component module in the
// per-user component registry, or removes it again.
//   sonolux-register [-u] MODULE
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>
#include <cstdio>

#include "sonolux/ComponentRegistry.h"
#include "sonolux/SonoluxModule.h"

namespace {

constexpr int ExitUsage = 2;

int Fail(const QString& text) {
    std::fprintf(stderr, "sonolux-register: %s\n", qPrintable(text));
    return 1;
}

int Print(std::FILE* stream, const QString& text, int status) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    return std::fflush(stream) == 0 ? status : 1;
}

QString HelpText() {
    return QStringLiteral(
               "Usage: sonolux-register [OPTIONS] MODULE\n"
               "Registers the self-registering component MODULE for this user, so that\n"
               "hosts find its controls by class.\n"
               "\n"
               "Options:\n"
               "  -u, --unregister  remove the MODULE's entries instead\n"
               "  -h, --help        print this help and exit\n"
               "  -v, --version     print the version and exit\n"
               "\n"
               "Registry: %1\n"
               "(SONOLUX_COMPONENT_REGISTRY names another file.)\n")
        .arg(sonolux::ComponentRegistry::DefaultPath());
}

int Register(const QString& modulePath, bool unregister) {
    QLibrary module(QFileInfo(modulePath).absoluteFilePath());
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption unregister({QStringLiteral("u"), QStringLiteral("unregister")},
                                        QStringLiteral("unregister"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("help"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("version"));
    parser.addOptions({unregister, help, version});

    if (!parser.parse(QCoreApplication::arguments())) {
        return Print(
            stderr, QStringLiteral("sonolux-register: %1\n\n").arg(parser.errorText()) + HelpText(),
            ExitUsage);
    }
    if (parser.isSet(help)) return Print(stdout, HelpText(), 0);
    if (parser.isSet(version))
        return Print(stdout, QStringLiteral("sonolux-register " SONOLUX_VERSION "\n"), 0);
    if (parser.positionalArguments().size() != 1) {
        return Print(stderr, QStringLiteral("sonolux-register: name one MODULE.\n\n") + HelpText(),
                     ExitUsage);
    }
    return Register(parser.positionalArguments().front(), parser.isSet(unregister));
}
