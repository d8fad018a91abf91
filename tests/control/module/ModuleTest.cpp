#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "framework/COleObjectFactory.h"
#include "sonolux/SonoluxModule.h"

using namespace sonolux;

TEST(Module, HandsOutTheControlsClassObject) {
    void* object = nullptr;
    ASSERT_EQ(DllGetClassObject(&CLSID_Sonolux, &IID_IClassFactory, &object), S_OK);
    ASSERT_NE(object, nullptr);
    auto* factory = static_cast<IClassFactory*>(object);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);  // a host holds the class object

    QWidget* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, &control), S_OK);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->property("HopSize").toInt(), 64);
    EXPECT_EQ(COleControlModule::ObjectCount(), 1);

    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);  // the control is still alive
    delete control;
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(Module, RefusesUnknownClassesInterfacesAndMissingPointers) {
    void* object = reinterpret_cast<void*>(1);
    const QUuid other = QUuid::createUuid();
    EXPECT_EQ(DllGetClassObject(&other, &IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(DllGetClassObject(&CLSID_Sonolux, &other, &object), E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(&CLSID_Sonolux, &IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(DllGetClassObject(nullptr, &IID_IClassFactory, &object), E_POINTER);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(Module, LockServerKeepsTheModuleLoaded) {
    void* object = nullptr;
    ASSERT_EQ(DllGetClassObject(&CLSID_Sonolux, &IID_IUnknown, &object), S_OK);
    auto* factory = static_cast<IClassFactory*>(object);
    factory->LockServer(true);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    QWidget* control = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, nullptr), E_POINTER);
    EXPECT_EQ(control, nullptr);
}
