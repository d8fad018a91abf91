#include "windows/LoupeView.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Pixels.
constexpr int TickLength = 4;
constexpr int Padding = 3;

// The widest label either axis is likely to carry, for the room beside the picture.
QString WidestLabel() {
    return QStringLiteral("000.00");
}

}  // namespace

LoupeView::LoupeView(QWidget* parent) : QWidget(parent), m_playhead(new QWidget(this)) {
    setMinimumSize(160, 100);
    m_playhead->setObjectName(QStringLiteral("linPlayhead"));
    // Red, as in the cells: it stands out on white and on black alike.
    m_playhead->setAutoFillBackground(true);
    QPalette red = m_playhead->palette();
    red.setColor(QPalette::Window, QColor(255, 0, 0));
    m_playhead->setPalette(red);
    m_playhead->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_playhead->hide();
}

void LoupeView::SetPlayhead(double seconds) {
    m_playheadSeconds = seconds;
    PlacePlayhead();
}

int LoupeView::PlayheadX() const {
    return m_playhead->isVisibleTo(this) ? m_playhead->x() : -1;
}

void LoupeView::PlacePlayhead() {
    const QRect picture = PictureRect();
    const double shown = m_sampleRate > 0 ? static_cast<double>(m_frames) / m_sampleRate : 0.0;
    if (m_playheadSeconds < 0 || m_playheadSeconds > shown || picture.isEmpty()) {
        m_playhead->hide();
        return;
    }
    const int x =
        std::min(picture.right(), static_cast<int>(Axes().Time().PixelOf(m_playheadSeconds)));
    m_playhead->setGeometry(x, picture.top(), 1, picture.height());
    m_playhead->raise();
    m_playhead->show();
}

void LoupeView::SetControl(QWidget* control) {
    m_control = control;
    m_control->setParent(this);
    m_control->installEventFilter(this);
    PlaceControl();
    m_control->setVisible(m_frames > 0);
}

void LoupeView::SetRecording(std::uint32_t sampleRate, std::int64_t frames) {
    const bool shown = sampleRate > 0 && frames > 0;
    m_sampleRate = shown ? sampleRate : 0;
    m_frames = shown ? frames : 0;
    // A refused file leaves the control with the samples it had before.
    if (m_control) m_control->setVisible(shown);
    PlacePlayhead();
    update();
}

QRect LoupeView::PictureRect() const {
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(WidestLabel()) + TickLength + 2 * Padding;
    const int right = metrics.horizontalAdvance(WidestLabel()) / 2 + Padding;
    const int top = metrics.height() + Padding;
    const int bottom = TickLength + 3 * Padding + 2 * metrics.height();
    return QRect(left, top, std::max(0, width() - left - right),
                 std::max(0, height() - top - bottom));
}

void LoupeView::PlaceControl() {
    if (m_control) m_control->setGeometry(PictureRect());
}

void LoupeView::resizeEvent(QResizeEvent*) {
    PlaceControl();
    PlacePlayhead();
}

bool LoupeView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_control && event->type() == QEvent::MouseMove) {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        emit PointerMoved(Axes().Readout(position + PictureRect().topLeft()));
    } else if (watched == m_control && event->type() == QEvent::Leave) {
        emit PointerMoved(QString());
    }
    return QWidget::eventFilter(watched, event);
}

void LoupeView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect picture = PictureRect();
    // The frame lies just outside the picture, on the axes' zero lines.
    painter.drawRect(picture.adjusted(-1, -1, 0, 0));
    const LoupeAxes axes = Axes();
    DrawTimeAxis(painter, axes);
    DrawFrequencyAxis(painter, axes);
}

void LoupeView::DrawTimeAxis(QPainter& painter, const LoupeAxes& axes) const {
    const QFontMetrics metrics = fontMetrics();
    const QRect picture = PictureRect();
    const int below = picture.top() + picture.height();
    const int labelTop = below + TickLength + Padding;
    const auto extent = [&metrics](const QString& label) {
        return static_cast<double>(metrics.horizontalAdvance(label));
    };
    for (const LoupeAxis::Tick& tick :
         axes.Time().Ticks(extent, metrics.horizontalAdvance(QStringLiteral("00")))) {
        const int x = static_cast<int>(std::lround(tick.pixel));
        painter.drawLine(x, below, x, below + TickLength);
        const int labelWidth = metrics.horizontalAdvance(tick.label);
        painter.drawText(QRect(x - labelWidth, labelTop, 2 * labelWidth, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, tick.label);
    }
    painter.drawText(QRect(picture.left(), labelTop + metrics.height() + Padding, picture.width(),
                           metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Time (s)"));
}

void LoupeView::DrawFrequencyAxis(QPainter& painter, const LoupeAxes& axes) const {
    const QFontMetrics metrics = fontMetrics();
    const QRect picture = PictureRect();
    const int labelRight = picture.left() - 1 - TickLength - Padding;
    const auto extent = [&metrics](const QString&) {
        return static_cast<double>(metrics.height());
    };
    for (const LoupeAxis::Tick& tick : axes.Frequency().Ticks(extent, metrics.height())) {
        const int y = static_cast<int>(std::lround(tick.pixel));
        painter.drawLine(picture.left() - 1 - TickLength, y, picture.left() - 1, y);
        painter.drawText(QRect(0, y - metrics.height(), labelRight, 2 * metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    painter.drawText(QRect(0, 0, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Frequency (kHz)"));
}
