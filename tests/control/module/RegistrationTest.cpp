#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QWidget>
#include <memory>

#include "control/CSonoluxCtrl.h"
#include "module/SonoluxRegistration.h"
#include "pages/CSPGParams.h"
#include "pages/CSonoluxPropPage.h"
#include "registry/RegistryText.h"
#include "sonolux/ComponentRegistry.h"
#include "sonolux/SonoluxModule.h"
#include "tests/support/TempFolder.h"

using namespace sonolux;

namespace {

// Points the module's registry at a file in a temporary folder.
struct Registration : ::testing::Test {
    Registration() : path(QString::fromStdString(folder.Path("registry/components.ini"))) {
        qputenv("SONOLUX_COMPONENT_REGISTRY", QFile::encodeName(path));
    }
    ~Registration() override { qunsetenv("SONOLUX_COMPONENT_REGISTRY"); }

    ComponentRegistry Loaded() const {
        ComponentRegistry registry(path);
        EXPECT_TRUE(registry.Load()) << registry.ErrorText().toStdString();
        return registry;
    }
    QByteArray Contents() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TempFolder folder;
    QString path;
};

QWidget* Create(const QUuid& classId) {
    void* object = nullptr;
    if (DllGetClassObject(&classId, &IID_IClassFactory, &object) != S_OK) return nullptr;
    auto* factory = static_cast<IClassFactory*>(object);
    QWidget* instance = nullptr;
    factory->CreateInstance(nullptr, &instance);
    factory->Release();
    return instance;
}

}  // namespace

TEST_F(Registration, WritesTheThreeClassesAndTheTypeLibrary) {
    ASSERT_EQ(ComponentRegistry(path).Path(), ComponentRegistry::DefaultPath());
    ASSERT_EQ(DllRegisterServer(), S_OK);
    const ComponentRegistry registry = Loaded();
    // The file that holds the module's code: linked into this test, the test
    // itself (the module file is registered in the module tests).
    const QString module = SonoluxModulePath();
    ASSERT_EQ(module, QCoreApplication::applicationFilePath());

    const auto control = registry.FindClass(CLSID_Sonolux);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->progId, "SONOLUX.SonoluxCtrl.1");
    EXPECT_EQ(control->name, "Sonolux Control");
    EXPECT_EQ(control->modulePath, module);
    EXPECT_EQ(control->threadingModel, "Apartment");
    EXPECT_EQ(control->miscStatus, 0xA0191u);
    EXPECT_TRUE(control->control && control->insertable);
    EXPECT_EQ(control->toolboxBitmap, 1);
    EXPECT_EQ(control->typeLibVersion, "1.0");

    const auto general = registry.FindClass(CLSID_SonoluxPropPage);
    ASSERT_TRUE(general);
    EXPECT_EQ(general->progId, "SONOLUX.SonoluxPropPage.1");
    EXPECT_EQ(general->name, "Sonolux Property Page");
    EXPECT_FALSE(general->control);
    const auto parameters = registry.FindClass(CLSID_SPGParams);
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->progId, "Sonolux.CSPGParams");
    EXPECT_EQ(parameters->name, "SPGParams Property Page");
    EXPECT_EQ(parameters->modulePath, module);

    const auto library = registry.FindTypeLib(control->typeLibId, 1, 0);
    ASSERT_TRUE(library);
    EXPECT_EQ(library->name, "SONOLUXLib");
    EXPECT_EQ(library->helpString, "Sonolux ActiveX Control module");
    EXPECT_EQ(library->locale, 0x0409);
    EXPECT_EQ(library->helpDirectory, module.left(module.lastIndexOf('/') + 1));
    EXPECT_EQ(registry.Sections().size(), 4u);

    // Registering again replaces the entries instead of adding more.
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(Loaded().Sections().size(), 4u);
}

TEST_F(Registration, UnregisterRemovesExactlyTheModulesEntries) {
    ComponentRegistry other(path);
    ClassEntry foreign;
    foreign.classId = QUuid::createUuid();
    foreign.progId = "Other.Thing.1";
    foreign.name = "Other\\Thing\nwith a line break";
    foreign.modulePath = "/opt/other/libother.so";
    other.SetClass(foreign);
    ASSERT_TRUE(other.Save());
    const QByteArray before = Contents();

    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_TRUE(Loaded().FindClass(foreign.classId));
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(Loaded().FindClass(foreign.classId)->name, foreign.name);
    EXPECT_EQ(DllUnregisterServer(), S_OK);  // nothing left to remove
}

TEST_F(Registration, RefusesToOverwriteAnUnreadableRegistryAndReportsWriteFailures) {
    folder.MakeFolder("registry");
    const std::string garbage = "[CLSID\\{x}]\nthis is no entry\n";
    folder.WriteText("registry/components.ini", garbage);
    EXPECT_EQ(DllRegisterServer(), SELFREG_E_TYPELIB);
    EXPECT_EQ(DllUnregisterServer(), SELFREG_E_TYPELIB);
    EXPECT_EQ(Contents().toStdString(), garbage);

    // A registry whose folder cannot exist: a plain file stands in its way.
    folder.WriteText("blocker", "");
    const QString blocked = QString::fromStdString(folder.Path("blocker/components.ini"));
    EXPECT_EQ(RegisterSonolux(blocked, SonoluxModulePath()), SELFREG_E_CLASS);
}

TEST_F(Registration, CreatesEachClassByProgIdAndByClassIdentifier) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    const ComponentRegistry registry = Loaded();
    const auto control = registry.FindProgId("sonolux.sonoluxctrl.1");
    const auto general = registry.FindProgId("SONOLUX.SonoluxPropPage.1");
    const auto parameters = registry.FindProgId("Sonolux.CSPGParams");
    ASSERT_TRUE(control && general && parameters);
    EXPECT_FALSE(registry.FindProgId("Sonolux.Nothing"));

    std::unique_ptr<QWidget> created(Create(control->classId));
    EXPECT_NE(qobject_cast<CSonoluxCtrl*>(created.get()), nullptr);
    created.reset(Create(general->classId));
    EXPECT_NE(qobject_cast<CSonoluxPropPage*>(created.get()), nullptr);
    created.reset(Create(parameters->classId));
    EXPECT_NE(qobject_cast<CSPGParams*>(created.get()), nullptr);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);  // the page still lives
    created.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(RegistryText, RoundTripsEscapedValuesAndRefusesStrayLines) {
    std::vector<ComponentRegistry::Section> sections{
        {"A", {{"Path", "C:\\dir\\n\nnext"}, {"Empty", ""}}}, {"B", {}}};
    QString error;
    const auto parsed = ParseRegistryText(FormatRegistryText(sections), error);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ(parsed->at(0).Value("Path"), "C:\\dir\\n\nnext");
    EXPECT_EQ(parsed->at(0).values.size(), 2);

    EXPECT_FALSE(ParseRegistryText("key=outside a section\n", error));
    EXPECT_FALSE(ParseRegistryText("[A]\n[A]\n", error));
    EXPECT_TRUE(ParseRegistryText("; only a comment\r\n\r\n", error));
}
