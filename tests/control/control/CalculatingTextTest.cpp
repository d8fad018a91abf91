// The text shown while a picture is made, laid out once and drawn many times,
// and the face it is shown on, painted once and copied: the same pixels as
// drawing the text itself, either way round.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <QWidget>
#include <memory>

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

namespace {

// A widget that shows the face as a control does, copied where it can be, or
// always drawn in place.
class FaceWidget : public QWidget {
public:
    FaceWidget(CalculatingFace& face, bool copied, QWidget* parent)
        : QWidget(parent), m_face(face), m_copied(copied) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (m_copied) {
            m_face.Paint(painter, rect());
        } else {
            m_face.PaintInPlace(painter, rect());
        }
    }

private:
    CalculatingFace& m_face;
    bool m_copied;
};

}  // namespace

// Cells side by side in one window's backing store, painted twice so that the
// second paint copies what the first left: the copied face has the pixels of
// the one drawn in place. Fonts a cell has from its parent's class (as themes
// give menus and item views theirs) and right to left included.
TEST(CalculatingFace, CopiedIntoACellLooksAsDrawnInPlace) {
    QFont large = QApplication::font();
    large.setPointSize(15);
    QApplication::setFont(large, "QFrame");
    const auto restore = qScopeGuard([] {
        QApplication::setFont(QFont(), "QFrame");
        QApplication::setLayoutDirection(Qt::LeftToRight);
    });
    CalculatingFace face;  // one for every case, as the controls share one
    for (const bool framed : {false, true}) {
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            for (const QSize size :
                 {QSize(150, 60), QSize(40, 21)}) {  // one narrower than the text
                // A painter takes its direction from the application's.
                QApplication::setLayoutDirection(direction);
                std::unique_ptr<QWidget> window(framed ? new QFrame : new QWidget);
                CalculatingFace inPlace;
                FaceWidget copied(face, true, window.get());
                FaceWidget drawn(inPlace, false, window.get());
                copied.setGeometry(QRect(QPoint(3, 2), size));
                drawn.setGeometry(QRect(QPoint(size.width() + 9, 5), size));
                window->resize(2 * size.width() + 20, size.height() + 10);
                window->show();
                QCoreApplication::processEvents();
                copied.repaint();
                drawn.repaint();
                const QPaintDevice* store = window->backingStore()->paintDevice();
                ASSERT_EQ(store->devType(), QInternal::Image);
                const QImage& pixels = *static_cast<const QImage*>(store);
                const QImage shown = pixels.copy(copied.geometry());
                EXPECT_EQ(shown, pixels.copy(drawn.geometry()))
                    << (framed ? "class font, " : "") << size.width() << "x" << size.height()
                    << ", direction " << direction;
                int dark = 0;  // the text itself, not two white patches
                for (int y = 0; y < shown.height(); ++y)
                    for (int x = 0; x < shown.width(); ++x) dark += qGray(shown.pixel(x, y)) < 128;
                EXPECT_GT(dark, 20);
            }
        }
    }
}
