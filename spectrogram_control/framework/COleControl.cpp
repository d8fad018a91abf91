#include "COleControl.h"

#include <QBuffer>
#include <QDataStream>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "COleDropTarget.h"

COleControl::COleControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

COleControl::~COleControl() = default;

void COleControl::InvalidateControl() {
    update();
}

QByteArray COleControl::SaveState() {
    QByteArray state;
    QDataStream stream(&state, QIODevice::WriteOnly);
    CPropExchange exchange(stream, CPropExchange::Direction::Saving);
    DoPropExchange(exchange);
    return state;
}

bool COleControl::LoadState(const QByteArray& state) {
    QDataStream stream(state);
    CPropExchange exchange(stream, CPropExchange::Direction::Loading);
    DoPropExchange(exchange);
    if (exchange.IsValid()) return true;
    OnResetState();
    return false;
}

void COleControl::DoPropExchange(CPropExchange& exchange) {
    QSize extent = size();
    exchange.ExchangeSize(extent);
    if (exchange.IsLoading() && exchange.IsValid() && extent.isValid()) resize(extent);
}

bool COleControl::GetDispatchProperty(int dispid, QVariant& value) {
    return GetDispatchTable().GetProperty(*this, dispid, value);
}

bool COleControl::SetDispatchProperty(int dispid, const QVariant& value) {
    return GetDispatchTable().SetProperty(*this, dispid, value);
}

bool COleControl::InvokeDispatchMethod(int dispid) {
    return GetDispatchTable().Invoke(*this, dispid);
}

bool COleControl::DoVerb(Verb verb) {
    if (verb == Verb::Edit) {
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

void COleControl::OnDrawMetafile(QPainter& painter, const QRect& bounds) {
    OnDraw(painter, bounds, bounds);
}

void COleControl::OnLButtonDown(const QPoint&) {}

void COleControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    OnDraw(painter, rect(), event->rect());
}

void COleControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) OnLButtonDown(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void COleControl::dragEnterEvent(QDragEnterEvent* event) {
    if (COleDropTarget* target = GetWindowlessDropTarget()) target->HandleDragEnter(*event);
}

void COleControl::dragMoveEvent(QDragMoveEvent* event) {
    if (COleDropTarget* target = GetWindowlessDropTarget()) target->HandleDragMove(*event);
}

void COleControl::dragLeaveEvent(QDragLeaveEvent* event) {
    if (COleDropTarget* target = GetWindowlessDropTarget()) target->HandleDragLeave(*event);
}

void COleControl::dropEvent(QDropEvent* event) {
    if (COleDropTarget* target = GetWindowlessDropTarget()) target->HandleDrop(*event);
}
