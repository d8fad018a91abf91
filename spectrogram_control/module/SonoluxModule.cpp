// The module's class objects and exported functions.
#include "sonolux/SonoluxModule.h"

#include <algorithm>
#include <cstring>

#include "control/CSonoluxCtrl.h"
#include "engine/PictureCache.h"
#include "engine/WaveAnalysis.h"
#include "framework/COleObjectFactory.h"
#include "framework/SoundPlayer.h"
#include "module/SonoluxRegistration.h"
#include "pages/CSPGParams.h"
#include "pages/CSonoluxPropPage.h"
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

static_assert(sonolux::AnalysisFeatureCount <= sonolux::AnalysisFeatureCapacity,
              "the public analysis has no room for the fingerprint");

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

std::int32_t SonoluxAnalyseWaveFile(const char* path, SonoluxAnalysis* out) {
    if (!out) return -1;
    const sonolux::WaveAnalysis analysis =
        sonolux::AnalyseWaveFile(path ? std::string(path) : std::string());
    *out = SonoluxAnalysis{};
    out->version = sonolux::AnalysisVersion;
    out->status = static_cast<std::int32_t>(analysis.status);
    std::strncpy(out->statusText, sonolux::AnalysisStatusText(analysis.status),
                 sizeof out->statusText - 1);
    out->activityDb = analysis.activityDb;
    out->sampleRate = analysis.sampleRate;
    out->analysedFrames = analysis.analysedFrames;
    if (analysis.status == sonolux::AnalysisStatus::Analysed) {
        out->featureCount = sonolux::AnalysisFeatureCount;
        std::copy(analysis.features.begin(), analysis.features.end(), out->features);
    }
    return out->status;
}

void SonoluxSetPictureCacheLimit(std::uint64_t bytes) {
    sonolux::SharedPictureCache().SetByteLimit(bytes);
}

}  // extern "C"
