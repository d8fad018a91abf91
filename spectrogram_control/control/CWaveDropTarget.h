#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "framework/COleDropTarget.h"

// Accepts exactly one dropped wave file and hands its name to whoever loads it.
class CWaveDropTarget : public COleDropTarget {
public:
    using DropHandler = std::function<void(const QString& fileName)>;

    explicit CWaveDropTarget(DropHandler loadDroppedFile)
        : m_loadDroppedFile(std::move(loadDroppedFile)) {}

    // The name of the one local wave file that `data` offers, exactly as the
    // file system spells it (trailing white space and case kept; they do not
    // hide the ".wav"); empty when `data` is not acceptable, which includes a
    // name that holds a NUL byte or is not text that names one file exactly.
    static QString AcceptableWaveFile(const QMimeData& data);

    int OnDragEnter(const QMimeData& data, const QPoint& point) override;
    int OnDragOver(const QMimeData& data, const QPoint& point) override;
    void OnDragLeave() override {}
    int OnDragScroll(const QPoint&) override { return DropEffectNone; }
    // The control only reads a dropped file. Taking it as a move would allow the
    // drag source to delete the recording, so a source that offers nothing but
    // a move is refused.
    int AcceptableEffects() const override { return DropEffectCopy | DropEffectLink; }
    bool OnDrop(const QMimeData& data, int effect, const QPoint& point) override;

private:
    DropHandler m_loadDroppedFile;
    bool m_accepting = false;  // set at drag enter, answered at drag over
};
