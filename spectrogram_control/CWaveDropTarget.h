#pragma once

#include <QString>

#include "COleDropTarget.h"

class CSonoluxCtrl;

// Accepts exactly one dropped wave file and hands its name to the control.
class SONOLUX_EXPORT CWaveDropTarget : public COleDropTarget {
public:
    explicit CWaveDropTarget(CSonoluxCtrl& owner) : m_owner(owner) {}

    // The name of the one wave file that `data` offers, trailing white space
    // removed and its case kept; empty when `data` is not acceptable.
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
    CSonoluxCtrl& m_owner;
    bool m_accepting = false;  // set at drag enter, answered at drag over
};
