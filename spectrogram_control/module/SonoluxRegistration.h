#pragma once

#include <QString>

#include "sonolux/SonoluxModule.h"

// The work of DllRegisterServer and DllUnregisterServer: writes or removes
// the type library and the three classes, served by `modulePath`, in the
// registry file at `registryPath`. Every other entry stays as it was.
sonolux::HRESULT RegisterSonolux(const QString& registryPath,
                                                const QString& modulePath);
sonolux::HRESULT UnregisterSonolux(const QString& registryPath);

// The absolute path of the module file this code was loaded from.
QString SonoluxModulePath();
