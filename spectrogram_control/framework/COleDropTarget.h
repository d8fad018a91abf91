#pragma once

#include <QPoint>

class QMimeData;
class QDragEnterEvent;
class QDragMoveEvent;
class QDragLeaveEvent;
class QDropEvent;

// Drop effects, as bits.
enum DropEffect : int {
    DropEffectNone = 0,
    DropEffectCopy = 1,
    DropEffectMove = 2,
    DropEffectLink = 4
};

// A control's drop target. The handlers answer with a drop effect; the
// framework filters each answer against the effects the drag source allows
// and translates Qt's drag and drop events into these calls.
class COleDropTarget {
public:
    virtual ~COleDropTarget() = default;

    virtual int OnDragEnter(const QMimeData& data, const QPoint& point) = 0;
    virtual int OnDragOver(const QMimeData& data, const QPoint& point) = 0;
    virtual void OnDragLeave() = 0;
    virtual int OnDragScroll(const QPoint& point) = 0;
    // Returns true when the drop was taken.
    virtual bool OnDrop(const QMimeData& data, int effect, const QPoint& point) = 0;

    // The framework's rule: the effect stands if allowed; a refused copy falls
    // back to move, then link; a refused move falls back to copy, then link.
    static int FilterEffect(int effect, int allowed);

    // The effects this target may ever take, of those a drag source offers.
    virtual int AcceptableEffects() const {
        return DropEffectCopy | DropEffectMove | DropEffectLink;
    }

    // Entry points for a widget's drag and drop events.
    void HandleDragEnter(QDragEnterEvent& event);
    void HandleDragMove(QDragMoveEvent& event);
    void HandleDragLeave(QDragLeaveEvent& event);
    void HandleDrop(QDropEvent& event);

private:
    using DragHandler = int (COleDropTarget::*)(const QMimeData& data, const QPoint& point);
    // Drag enter and drag over differ only in the handler that answers; a
    // scroll answer, if any, comes first.
    void AnswerDrag(QDragMoveEvent& event, DragHandler handler);
};
