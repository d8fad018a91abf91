#include "control/CalculatingText.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

namespace {

QString Text() {
    return QStringLiteral("Calculating...");
}

}  // namespace

void CalculatingText::Draw(QPainter& painter, QPoint baselineCentre) {
    const QPaintDevice* device = painter.device();
    if (!m_laidOut || painter.font() != m_font || device->logicalDpiX() != m_dpiX ||
        device->logicalDpiY() != m_dpiY || painter.layoutDirection() != m_direction)
        LayOut(painter);
    // The layout's line starts at 0 with its baseline at the ascent; the ascent
    // is a whole number of 64ths, so the baseline lands on y exactly.
    const QPointF origin(baselineCentre.x() - m_width / 2, baselineCentre.y() - m_ascent);
    for (const QGlyphRun& run : m_runs) painter.drawGlyphRun(origin, run);
}

void CalculatingText::LayOut(QPainter& painter) {
    m_font = painter.font();
    m_dpiX = painter.device()->logicalDpiX();
    m_dpiY = painter.device()->logicalDpiY();
    m_direction = painter.layoutDirection();
    m_width = painter.fontMetrics().horizontalAdvance(Text());
    QTextLayout layout(Text(), m_font, painter.device());
    // Right to left, drawText starts the line at its right end ("...Calculating").
    QTextOption option;
    option.setTextDirection(m_direction);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(m_width);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    m_ascent = line.ascent();
    m_runs = layout.glyphRuns();
    m_laidOut = true;
}
