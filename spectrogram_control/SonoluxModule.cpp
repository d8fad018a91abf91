// The module's class objects and exported functions.
#include "sonolux/SonoluxModule.h"

#include "COleObjectFactory.h"
#include "CSonoluxCtrl.h"
#include "SoundPlayer.h"

namespace {

COleObjectFactory g_sonoluxFactory(sonolux::CLSID_Sonolux, [](QWidget* parent) -> QWidget* {
    return new CSonoluxCtrl(ModuleSoundPlayer(), parent);
});

}  // namespace

extern "C" {

sonolux::HRESULT DllGetClassObject(const QUuid* classId, const QUuid* interfaceId, void** object) {
    return COleObjectFactory::GetClassObject(classId, interfaceId, object);
}

sonolux::HRESULT DllCanUnloadNow() {
    return COleControlModule::CanUnloadNow() ? sonolux::S_OK : sonolux::S_FALSE;
}

}  // extern "C"
