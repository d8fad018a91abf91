#pragma once

#include <QLibrary>
#include <QString>
#include <QUuid>

#include "sonolux/SonoluxModule.h"

class QWidget;

// The spectrogram control module, loaded at run time. The program reaches
// its controls only through their published properties and methods.
class ControlModule {
public:
    ControlModule() = default;
    ~ControlModule();
    ControlModule(const ControlModule&) = delete;
    ControlModule& operator=(const ControlModule&) = delete;

    // Loads the module from `folder` (the program's own folder by default) and
    // takes the class object of `classId`. False with ErrorText() on failure.
    bool Load(const QUuid& classId, const QString& folder = {});
    QString ErrorText() const { return m_error; }

    // A new control as a child of `parent`, or null.
    QWidget* CreateControl(QWidget* parent);

private:
    QLibrary m_library;
    sonolux::IClassFactory* m_factory = nullptr;
    QString m_error;
};
