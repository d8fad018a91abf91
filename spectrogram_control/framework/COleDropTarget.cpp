#include "framework/COleDropTarget.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

namespace {

int AllowedEffects(Qt::DropActions actions) {
    int allowed = DropEffectNone;
    if (actions & Qt::CopyAction) allowed |= DropEffectCopy;
    if (actions & Qt::MoveAction) allowed |= DropEffectMove;
    if (actions & Qt::LinkAction) allowed |= DropEffectLink;
    return allowed;
}

Qt::DropAction ToDropAction(int effect) {
    switch (effect) {
        case DropEffectCopy:
            return Qt::CopyAction;
        case DropEffectMove:
            return Qt::MoveAction;
        case DropEffectLink:
            return Qt::LinkAction;
        default:
            return Qt::IgnoreAction;
    }
}

// Accepts the drag with `effect`, or refuses it when the effect is none.
void Answer(QDragMoveEvent& event, int effect) {
    if (effect == DropEffectNone) {
        event.ignore();
        return;
    }
    event.setDropAction(ToDropAction(effect));
    event.accept();
}

}  // namespace

int COleDropTarget::FilterEffect(int effect, int allowed) {
    if (effect == DropEffectNone) return DropEffectNone;
    if (effect & allowed) return effect;
    if (effect == DropEffectCopy) {
        if (allowed & DropEffectMove) return DropEffectMove;
        if (allowed & DropEffectLink) return DropEffectLink;
    } else if (effect == DropEffectMove) {
        if (allowed & DropEffectCopy) return DropEffectCopy;
        if (allowed & DropEffectLink) return DropEffectLink;
    }
    return DropEffectNone;
}

void COleDropTarget::HandleDragEnter(QDragEnterEvent& event) {
    AnswerDrag(event, &COleDropTarget::OnDragEnter);
}

void COleDropTarget::HandleDragMove(QDragMoveEvent& event) {
    AnswerDrag(event, &COleDropTarget::OnDragOver);
}

void COleDropTarget::AnswerDrag(QDragMoveEvent& event, DragHandler handler) {
    const int allowed = AllowedEffects(event.possibleActions()) & AcceptableEffects();
    const QPoint point = event.position().toPoint();
    int effect = OnDragScroll(point);
    if (effect == DropEffectNone) effect = (this->*handler)(*event.mimeData(), point);
    Answer(event, FilterEffect(effect, allowed));
}

void COleDropTarget::HandleDragLeave(QDragLeaveEvent& event) {
    OnDragLeave();
    event.accept();
}

void COleDropTarget::HandleDrop(QDropEvent& event) {
    const int allowed = AllowedEffects(event.possibleActions()) & AcceptableEffects();
    const QPoint point = event.position().toPoint();
    const int effect = FilterEffect(OnDragOver(*event.mimeData(), point), allowed);
    if (effect == DropEffectNone) {
        OnDragLeave();
        event.ignore();
        return;
    }
    if (!OnDrop(*event.mimeData(), effect, point)) {
        event.ignore();
        return;
    }
    event.setDropAction(ToDropAction(effect));
    event.accept();
}
