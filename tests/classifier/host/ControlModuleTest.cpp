#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QWidget>
#include <memory>

#include "core/CorvaneError.h"
#include "host/ControlModule.h"
#include "sonolux/ComponentRegistry.h"
#include "sonolux/SonoluxModule.h"
#include "tests/support/TempFolder.h"

namespace {

// A temporary registry, and the module built beside this test reached through
// a link of another name, so that a module found through the registry can be
// told from the one beside the program.
struct ModuleLookup : ::testing::Test {
    ModuleLookup()
        : registryPath(QString::fromStdString(folder.Path("components.ini"))),
          built(QDir(QCoreApplication::applicationDirPath()).filePath("libsonolux.so")),
          linked(QString::fromStdString(folder.Path("libsonolux-registered.so"))) {
        qputenv("SONOLUX_COMPONENT_REGISTRY", QFile::encodeName(registryPath));
    }
    ~ModuleLookup() override { qunsetenv("SONOLUX_COMPONENT_REGISTRY"); }

    // Registers a module the way scripts/run does.
    void RegisterWithTool(const QString& module, const QStringList& options = {}) {
        QProcess tool;
        tool.start(QDir(QCoreApplication::applicationDirPath()).filePath("sonolux-register"),
                   options + QStringList{module});
        ASSERT_TRUE(tool.waitForFinished());
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }

    TempFolder folder;
    QString registryPath;
    QString built;
    QString linked;
};

}  // namespace

TEST_F(ModuleLookup, FindsTheRegisteredModuleAndCreatesControlsFromIt) {
    ASSERT_TRUE(QFile::link(built, linked));
    RegisterWithTool(linked);
    sonolux::ComponentRegistry registry(registryPath);
    ASSERT_TRUE(registry.Load());
    ASSERT_TRUE(registry.FindClass(sonolux::CLSID_Sonolux));
    EXPECT_EQ(registry.FindClass(sonolux::CLSID_Sonolux)->modulePath, linked);

    ControlModule module;
    ASSERT_NO_THROW(module.Load(sonolux::CLSID_Sonolux));
    EXPECT_EQ(module.ModulePath(), linked);
    std::unique_ptr<QWidget> control(module.CreateControl(nullptr));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->property("HopSize").toInt(), 64);

    RegisterWithTool(linked, {"-u"});
    ASSERT_TRUE(registry.Load());
    EXPECT_TRUE(registry.Sections().empty());
}

TEST_F(ModuleLookup, FallsBackBesideTheProgramWhenTheRegisteredModuleIsGone) {
    ASSERT_TRUE(QFile::link(built, linked));
    RegisterWithTool(linked);
    ASSERT_TRUE(QFile::remove(linked));

    ControlModule module;
    ASSERT_NO_THROW(module.Load(sonolux::CLSID_Sonolux));
    EXPECT_EQ(QFileInfo(module.ModulePath()).canonicalFilePath(),
              QFileInfo(built).canonicalFilePath());
}

TEST_F(ModuleLookup, FallsBackBesideTheProgramWithoutAnEntryAndReportsAMissingModule) {
    ControlModule module;
    ASSERT_NO_THROW(module.Load(sonolux::CLSID_Sonolux));
    EXPECT_EQ(QFileInfo(module.ModulePath()).canonicalFilePath(),
              QFileInfo(built).canonicalFilePath());

    ControlModule nowhere;
    try {
        nowhere.Load(sonolux::CLSID_Sonolux, QString::fromStdString(folder.Path()));
        ADD_FAILURE() << "a folder without the module loaded one";
    } catch (const CorvaneError& error) {
        EXPECT_EQ(error.Number(), CorvaneErrorNumber::ModuleNotLoaded);
        EXPECT_FALSE(error.Description().isEmpty());
    }
    EXPECT_EQ(nowhere.CreateControl(nullptr), nullptr);
}
