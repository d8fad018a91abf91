#include "cells/CellMarks.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// Legible in a first-run cell of 100 x 67 pixels, small enough to leave the
// spectrogram visible.
constexpr int MarkFontPixels = 10;

QFont MarkFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(MarkFontPixels);
    return font;
}

}  // namespace

CellMarks::CellMarks(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Hidden while there is nothing to mark: most cells never show a mark, and
    // a hidden widget costs their paints nothing.
    hide();
}

void CellMarks::SetMovedTo(const QString& folderName) {
    if (folderName == m_movedTo) return;
    m_movedTo = folderName;
    Refresh();
}

void CellMarks::SetUnreadable(bool unreadable, const QString& reason) {
    const QString shown = unreadable ? reason : QString();
    if (unreadable == m_unreadable && shown == m_unreadableReason) return;
    m_unreadable = unreadable;
    m_unreadableReason = shown;
    Refresh();
}

void CellMarks::SetPartialLength(const QString& text) {
    if (text == m_partialLength) return;
    m_partialLength = text;
    Refresh();
}

void CellMarks::SetSuggestion(const QString& text) {
    if (text == m_suggestion) return;
    m_suggestion = text;
    Refresh();
}

bool CellMarks::HasMarks() const {
    return m_unreadable || !m_movedTo.isEmpty() || !m_partialLength.isEmpty() ||
           !m_suggestion.isEmpty() || m_playheadX >= 0;
}

QString CellMarks::UnreadableText(const QString& reason) {
    if (reason.isEmpty()) return QStringLiteral("cannot be read");
    // The control reads float files only when the Recordings options ask it to.
    if (reason.endsWith(QLatin1String("-bit float")))
        return reason + QStringLiteral(": Preferences > Recordings");
    return reason;
}

void CellMarks::SetPlayheadX(int x) {
    x = std::max(x, -1);
    if (x == m_playheadX) return;
    m_playheadX = x;
    Refresh();
}

int CellMarks::PlayheadX(double seconds, std::int64_t loadedFrames, std::uint32_t sampleRate,
                         int width) {
    if (loadedFrames <= 0 || sampleRate == 0 || width <= 0 || seconds < 0) return -1;
    const double shown = static_cast<double>(loadedFrames) / sampleRate;
    if (seconds > shown) return -1;
    return std::min(width - 1, static_cast<int>(seconds / shown * width));
}

void CellMarks::Refresh() {
    setVisible(HasMarks());
    update();
}

void CellMarks::paintEvent(QPaintEvent*) {
    if (!HasMarks()) return;
    QPainter painter(this);
    painter.setFont(MarkFont(font()));
    if (m_unreadable) PaintUnreadable(painter);
    if (!m_movedTo.isEmpty()) PaintMovedTo(painter);
    if (!m_partialLength.isEmpty()) PaintPartialLength(painter);
    if (!m_suggestion.isEmpty() && m_movedTo.isEmpty() && !m_unreadable) PaintSuggestion(painter);
    if (m_playheadX >= 0) PaintPlayhead(painter);
}

void CellMarks::PaintPlayhead(QPainter& painter) {
    // Red, as the selection frame: it stands out on white and on black alike.
    painter.fillRect(m_playheadX, 0, 1, height(), QColor(255, 0, 0));
}

void CellMarks::PaintUnreadable(QPainter& painter) {
    // Covers whatever picture the control kept from an earlier file.
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(rect(), QBrush(QColor(200, 200, 200), Qt::BDiagPattern));
    painter.setPen(QColor(90, 90, 90));
    const QRect area = rect().adjusted(2, 2, -2, -2);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    const QString text = UnreadableText();
    const QFontMetrics metrics(painter.font());
    // Wrapped where it fits; in a cell too small for that, one line cut short.
    if (metrics.boundingRect(area, flags, text).height() <= area.height()) {
        painter.drawText(area, flags, text);
    } else {
        painter.drawText(area, Qt::AlignCenter,
                         metrics.elidedText(text, Qt::ElideRight, std::max(0, area.width())));
    }
}

void CellMarks::PaintMovedTo(QPainter& painter) {
    const QFontMetrics metrics(painter.font());
    const int padding = 2;
    const QString text =
        metrics.elidedText(m_movedTo, Qt::ElideMiddle, std::max(0, width() - 2 * padding));
    const QRect label(0, height() - metrics.height() - 2 * padding,
                      metrics.horizontalAdvance(text) + 2 * padding,
                      metrics.height() + 2 * padding);
    painter.fillRect(label, QColor(255, 255, 255, 190));
    painter.setPen(QColor(0, 0, 0));
    painter.drawText(label, Qt::AlignCenter, text);
}

void CellMarks::PaintPartialLength(QPainter& painter) {
    // Top right, across from the moved label at the bottom left, and fainter
    // than it: most cells of a batch carry this mark.
    const QFontMetrics metrics(painter.font());
    const int padding = 1;
    const int textWidth =
        std::min(metrics.horizontalAdvance(m_partialLength), std::max(0, width() - 2 * padding));
    const QRect label(width() - textWidth - 2 * padding, 0, textWidth + 2 * padding,
                      metrics.height() + 2 * padding);
    painter.fillRect(label, QColor(255, 255, 255, 150));
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(label, Qt::AlignCenter, m_partialLength);
}

void CellMarks::PaintSuggestion(QPainter& painter) {
    // Bottom right, across from the moved label and without its white ground:
    // a guess, which must not read as a move made.
    const QFontMetrics metrics(painter.font());
    const int padding = 2;
    const QString text =
        metrics.elidedText(m_suggestion, Qt::ElideMiddle, std::max(0, width() / 2 - 2 * padding));
    const QRect label(width() - metrics.horizontalAdvance(text) - 2 * padding,
                      height() - metrics.height() - 2 * padding,
                      metrics.horizontalAdvance(text) + 2 * padding,
                      metrics.height() + 2 * padding);
    painter.fillRect(label, QColor(255, 255, 255, 70));
    painter.setPen(QColor(110, 110, 110, 200));
    painter.drawText(label, Qt::AlignCenter, text);
}
