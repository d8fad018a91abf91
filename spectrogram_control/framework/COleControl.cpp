#include "framework/COleControl.h"

#include <QBackingStore>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDataStream>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include "framework/COleDropTarget.h"
#include "framework/COlePropertyFrame.h"

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
    ClearError();
    return GetDispatchTable().SetProperty(*this, dispid, value) && m_errorNumber == 0;
}

bool COleControl::InvokeDispatchMethod(int dispid) {
    ClearError();
    return GetDispatchTable().Invoke(*this, dispid) && m_errorNumber == 0;
}

void COleControl::ClearError() {
    m_errorNumber = 0;
    m_errorDescription.clear();
}

void COleControl::ReportPropertyError(int number, const QString& description) {
    m_errorNumber = number;
    m_errorDescription = description;
}

bool COleControl::DoVerb(Verb verb) {
    if (verb == Verb::Edit) {
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (verb == Verb::Properties) return OnProperties();
    return false;
}

bool COleControl::InvokeVerb(int verb) {
    if (verb == static_cast<int>(Verb::Edit)) return DoVerb(Verb::Edit);
    if (verb == static_cast<int>(Verb::Properties)) return DoVerb(Verb::Properties);
    return false;
}

bool COleControl::OnProperties() {
    const QList<QUuid> pages = GetPropertyPageIds();
    if (pages.isEmpty()) return false;
    const QString name = GetUserTypeName();
    auto* frame = new COlePropertyFrame(
        {this}, pages,
        name.isEmpty() ? QStringLiteral("Properties") : QStringLiteral("%1 Properties").arg(name),
        this);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowFlag(Qt::Dialog);
    frame->open();
    return true;
}

QMenu* COleControl::CreateContextMenu() {
    auto* menu = new QMenu(this);
    QAction* properties = menu->addAction(QStringLiteral("&Properties..."));
    properties->setEnabled(!GetPropertyPageIds().isEmpty());
    connect(properties, &QAction::triggered, this, [this] { DoVerb(Verb::Properties); });
    return menu;
}

void COleControl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void COleControl::OnDrawMetafile(QPainter& painter, const QRect& bounds) {
    OnDraw(painter, bounds, bounds);
}

void COleControl::OnLButtonDown(const QPoint&) {}

void COleControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Grabbing, rendering to an image or a picture, and printing paint the control
    // elsewhere than into its window's backing store: they get the metafile
    // rendering, which never shows transient text.
    QBackingStore* store = backingStore();
    const QPaintEngine* engine = painter.paintEngine();
    if (store && engine && engine->paintDevice() == store->paintDevice()) {
        const QRegion& region = event->region();
        m_drawingWhole = region.rectCount() == 1 ? region.boundingRect().contains(rect())
                                                 : QRegion(rect()).subtracted(region).isEmpty();
        OnDraw(painter, rect(), event->rect());
        m_drawingWhole = false;
    } else {
        OnDrawMetafile(painter, rect());
    }
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
