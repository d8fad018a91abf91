#pragma once

#include <QLibrary>
#include <QString>
#include <QUuid>

#include "host/WaveFingerprint.h"
#include "sonolux/SonoluxModule.h"

class QWidget;

// The spectrogram control module, loaded at run time. The program reaches
// its controls only through their published properties and methods.
class ControlModule {
public:
    ControlModule() = default;
    virtual ~ControlModule();
    ControlModule(const ControlModule&) = delete;
    ControlModule& operator=(const ControlModule&) = delete;

    // Loads the module that serves `classId` and takes that class object.
    // Without `folder`: the module the component registry names for the
    // class, else (no entry, a module that is gone or that fails) the one
    // beside the program. With `folder`: the module in that folder only.
    // Throws CorvaneError (CorvaneErrorNumber::ModuleNotLoaded) with the
    // reason the last module tried failed.
    void Load(const QUuid& classId, const QString& folder = {});
    // The file the module was loaded from.
    QString ModulePath() const { return m_library.fileName(); }

    // A new control as a child of `parent`, or null.
    virtual QWidget* CreateControl(QWidget* parent);

    // Whether the loaded module analyses recordings (older modules do not).
    bool CanAnalyse() const { return m_analyse != nullptr; }
    // The version of the module's analysis (0 when it cannot analyse): fingerprints
    // of two versions are not to be compared.
    int AnalysisVersion() const;
    // The module's analysis of the wave file at `path`; not analysed, with the
    // reason, when the file cannot be read or the module cannot analyse. Safe on
    // several threads at once once the module is loaded.
    WaveFingerprint Analyse(const QString& path) const;
    // The most bytes of samples and pictures the module keeps for its controls
    // to share; 0 keeps none. False when the module has no such cache.
    bool SetPictureCacheLimit(quint64 bytes);

private:
    void LoadFrom(const QString& modulePath, const QUuid& classId);

    QLibrary m_library;
    sonolux::IClassFactory* m_factory = nullptr;
    sonolux::SonoluxAnalyseWaveFileFunction m_analyse = nullptr;
    sonolux::SonoluxSetPictureCacheLimitFunction m_setCacheLimit = nullptr;
};
