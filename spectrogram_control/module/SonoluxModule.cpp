// The module's class objects and exported functions.
#include "sonolux/SonoluxModule.h"

#include "framework/COleObjectFactory.h"
#include "pages/CSPGParams.h"
#include "control/CSonoluxCtrl.h"
#include "pages/CSonoluxPropPage.h"
#include "module/SonoluxRegistration.h"
#include "framework/SoundPlayer.h"
#include "sonolux/ComponentRegistry.h"

namespace {

COleObjectFactory g_sonoluxFactory(sonolux::CLSID_Sonolux, [](QWidget* parent) -> QWidget* {
    return new CSonoluxCtrl(ModuleSoundPlayer(), parent);
});
COleObjectFactory g_generalPageFactory(sonolux::CLSID_SonoluxPropPage,
                                       [](QWidget* parent) -> QWidget* {
                                           return new CSonoluxPropPage(parent);
                                       });
COleObjectFactory g_parametersPageFactory(sonolux::CLSID_SPGParams,
                                          [](QWidget* parent) -> QWidget* {
                                              return new CSPGParams(parent);
                                          });

}  // namespace

extern "C" {

sonolux::HRESULT DllRegisterServer() {
    return RegisterSonolux(sonolux::ComponentRegistry::DefaultPath(), SonoluxModulePath());
}

sonolux::HRESULT DllUnregisterServer() {
    return UnregisterSonolux(sonolux::ComponentRegistry::DefaultPath());
}

sonolux::HRESULT DllGetClassObject(const QUuid* classId, const QUuid* interfaceId, void** object) {
    return COleObjectFactory::GetClassObject(classId, interfaceId, object);
}

sonolux::HRESULT DllCanUnloadNow() {
    return COleControlModule::CanUnloadNow() ? sonolux::S_OK : sonolux::S_FALSE;
}

}  // extern "C"
