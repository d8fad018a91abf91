#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPoint>

class QPainter;

// The text a control shows while its picture is being made. A batch of new
// cells shows it in every cell at once, and laying it out again in each costs
// more than the rest of their paint, so it is laid out once for the font and
// resolution it is drawn in. It draws the glyphs drawText would, where drawText
// would put them.
class CalculatingText {
public:
    // Centred on x, with its baseline on y, in the painter's font, pen and
    // layout direction.
    void Draw(QPainter& painter, QPoint baselineCentre);

private:
    void LayOut(QPainter& painter);

    bool m_laidOut = false;
    QFont m_font;
    int m_dpiX = 0;
    int m_dpiY = 0;
    Qt::LayoutDirection m_direction = Qt::LeftToRight;
    int m_width = 0;
    qreal m_ascent = 0;
    QList<QGlyphRun> m_runs;
};
