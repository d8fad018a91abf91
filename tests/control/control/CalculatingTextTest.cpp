// The text shown while a picture is made, laid out once and drawn many times,
// and the face it is shown on, painted once and copied: the same pixels as
// drawing the text itself, either way round.
#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "control/CalculatingFace.h"
#include "control/CalculatingText.h"

TEST(CalculatingText, DrawsWhatDrawTextDrawsCentredOnItsBaseline) {
    const QString text = QStringLiteral("Calculating...");
    CalculatingText laidOut;  // one for every case, as the control keeps one
    for (const int points : {7, 9, 13}) {
        for (const qreal ratio : {1.0, 1.25, 2.0}) {
            for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
                for (const QPoint centre : {QPoint(40, 20), QPoint(57, 33), QPoint(3, 2)}) {
                    QFont font;
                    font.setPointSize(points);
                    QImage expected(QSize(120, 60) * ratio, QImage::Format_RGB32);
                    expected.setDevicePixelRatio(ratio);
                    expected.fill(Qt::white);
                    QImage drawn = expected;
                    {
                        QPainter painter(&expected);
                        painter.setLayoutDirection(direction);
                        painter.setFont(font);
                        painter.translate(4, 3);  // as in a cell's paint, offset in its window
                        const int width = painter.fontMetrics().horizontalAdvance(text);
                        painter.drawText(QPoint(centre.x() - width / 2, centre.y()), text);
                    }
                    {
                        QPainter painter(&drawn);
                        painter.setLayoutDirection(direction);
                        painter.setFont(font);
                        painter.translate(4, 3);
                        laidOut.Draw(painter, centre);
                    }
                    EXPECT_EQ(drawn, expected)
                        << points << " pt at " << ratio << "x, centre " << centre.x() << ","
                        << centre.y() << ", direction " << direction;
                }
            }
        }
    }
}

// One face for every case, as the controls share one: each change of size,
// font, resolution or direction paints it anew, and a painter that maps onto
// fractions of device pixels gets it drawn in place.
TEST(CalculatingFace, CopiesThePixelsDrawingInPlaceGives) {
    CalculatingFace face;
    CalculatingFace inPlace;
    // Each case differs from the one before it in one thing only.
    for (const qreal ratio : {1.0, 1.25, 2.0}) {
        for (const QSize size : {QSize(56, 46), QSize(57, 33), QSize(30, 9)}) {
            for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
                for (const int points : {7, 13}) {
                    QFont font;
                    font.setPointSize(points);
                    QImage expected(QSize(120, 60) * ratio, QImage::Format_RGB32);
                    expected.setDevicePixelRatio(ratio);
                    expected.fill(Qt::gray);
                    QImage copied = expected;
                    const auto paint = [&](QImage& image, auto&& how) {
                        QPainter painter(&image);
                        painter.setLayoutDirection(direction);
                        painter.setFont(font);
                        // As in a cell's paint: offset in its window, clipped to the cell.
                        painter.translate(5, 3);
                        const QRect cell(QPoint(2, 1), size);
                        painter.setClipRect(cell);
                        how(painter, cell);
                    };
                    paint(expected,
                          [&](QPainter& p, const QRect& r) { inPlace.PaintInPlace(p, r); });
                    paint(copied, [&](QPainter& p, const QRect& r) { face.Paint(p, r); });
                    EXPECT_EQ(copied, expected)
                        << points << " pt at " << ratio << "x, " << size.width() << "x"
                        << size.height() << ", direction " << direction;
                }
            }
        }
    }
}
