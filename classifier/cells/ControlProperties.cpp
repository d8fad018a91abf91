#include "cells/ControlProperties.h"

#include <QMetaObject>
#include <QObject>

namespace {

const char* const Names[ControlProperties::Count] = {
    "Filename",   "Loaded",   "LoadError",     "LoadPending", "PicturePending",
    "SampleRate", "Channels", "BitsPerSample", "TotalFrames", "LoadedFrames"};

}  // namespace

const QMetaProperty& ControlProperties::Find(Name name) const {
    std::optional<QMetaProperty>& found = m_found[name];
    if (!found) {
        const QMetaObject* meta = m_control->metaObject();
        found = meta->property(meta->indexOfProperty(Names[name]));
    }
    return *found;
}

QVariant ControlProperties::Read(Name name) const {
    const QMetaProperty& found = Find(name);
    if (!found.isValid()) return m_control->property(Names[name]);
    return found.read(m_control);
}

void ControlProperties::Write(Name name, const QVariant& value) {
    const QMetaProperty& found = Find(name);
    if (!found.isValid()) {
        m_control->setProperty(Names[name], value);
        return;
    }
    found.write(m_control, value);
}
