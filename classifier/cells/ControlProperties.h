#pragma once

#include <QMetaProperty>
#include <QVariant>
#include <array>
#include <cstddef>
#include <optional>

class QObject;

// The hosted control's properties a cell reads and writes for every recording
// of every batch and after every keystroke, each looked up by name once. A
// property the control does not declare is read and written as QObject reads
// and writes any other: a dynamic one, or none.
class ControlProperties {
public:
    enum Name : std::size_t {
        Filename,
        Loaded,
        LoadError,
        LoadPending,
        PicturePending,
        SampleRate,
        Channels,
        BitsPerSample,
        TotalFrames,
        LoadedFrames,
        Count
    };

    explicit ControlProperties(QObject* control) : m_control(control) {}

    QVariant Read(Name name) const;
    void Write(Name name, const QVariant& value);

private:
    const QMetaProperty& Find(Name name) const;

    QObject* m_control;
    mutable std::array<std::optional<QMetaProperty>, Count> m_found;
};
