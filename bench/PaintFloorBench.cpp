// What Qt alone takes to paint a batch's pictures, without Corvane: the floor
// under BM_NextBatchFromCache, measured in the same run on the same machine.
// The cells, their controls and the pictures have the sizes of the real grid
// of BM_NextBatchFromCache; each picture is stretched over its control as the
// control stretches its own, without smoothing.
//   /0: one opaque widget per cell holding one opaque widget per picture, as
//       the grid is built: Qt paints 300 dirty widgets.
//   /1: one widget paints all 300 pictures in one paint event: what a grid
//       painted as a single widget would cost.
//   /2: as /0, with each picture made at its control's size beforehand, so
//       that a paint is a plain copy.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "bench/UserLoop.h"

namespace {

using userloop::Window;

// About the grid that the default parameter set gives in a control of `size`:
// some 0.9 frames a pixel of its width, and the largest power of two of bins
// (16 to 128) that its height holds. Painting costs by the pixels painted, so
// the control's size matters, not the grid's exact one.
QSize PictureGrid(const QSize& size) {
    int bins = 16;
    while (bins < 128 && bins * 2 <= size.height()) bins *= 2;
    return {std::max(1, size.width() * 9 / 10), bins};
}

QImage Picture(const QSize& grid, int seed) {
    QImage picture(grid, QImage::Format_RGB32);
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x) {
            const int grey = (x * 37 + y * 11 + seed * 101) & 0xFF;
            picture.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return picture;
}

void Stretch(QPainter& painter, const QRect& bounds, const QImage& picture) {
    if (picture.size() == bounds.size()) {
        painter.drawImage(bounds.topLeft(), picture);
        return;
    }
    painter.drawImage(QRectF(bounds), picture, QRectF(picture.rect()));
}

QImage Stretched(const QImage& picture, const QSize& size) {
    QImage stretched(size, QImage::Format_RGB32);
    QPainter painter(&stretched);
    Stretch(painter, stretched.rect(), picture);
    return stretched;
}

class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void Show(const QImage& picture) {
        m_picture = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Stretch(painter, rect(), m_picture);
    }

private:
    QImage m_picture;
};

class CellWidget : public QWidget {
public:
    CellWidget(QWidget* parent, const QRect& picturePlace)
        : QWidget(parent), m_picture(new PictureWidget(this)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        m_picture->setGeometry(picturePlace);
    }
    PictureWidget& Picture() { return *m_picture; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), palette().window()); }

private:
    PictureWidget* m_picture;
};

class OneGridWidget : public QWidget {
public:
    explicit OneGridWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void Add(const QRect& place) {
        m_places.push_back(place);
        m_pictures.emplace_back();
    }
    void Show(std::size_t index, const QImage& picture) { m_pictures[index] = picture; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().window());
        for (std::size_t i = 0; i < m_places.size(); ++i) {
            if (event->rect().intersects(m_places[i])) Stretch(painter, m_places[i], m_pictures[i]);
        }
    }

private:
    std::vector<QRect> m_places;
    std::vector<QImage> m_pictures;
};

void BM_QtPaintFloor(benchmark::State& state) {
    userloop::StartClean(0);
    constexpr int cells = 300;
    // Only for the grid's geometry: the window that BM_NextBatchFromCache fills.
    std::vector<QRect> cellPlaces;
    std::vector<QRect> picturePlaces;
    {
        const Window grid(20, cells / 20);
        for (int i = 0; i < cells; ++i) {
            const SonoluxBord& cell = grid.window->Cell(i);
            cellPlaces.push_back(cell.geometry());
            picturePlaces.push_back(cell.Sonolux1()->geometry());
        }
    }
    QRect area;
    for (const QRect& place : cellPlaces) area |= place;

    std::vector<QImage> pictures[2];
    for (int i = 0; i < cells; ++i) {
        const QSize grid = PictureGrid(picturePlaces[static_cast<std::size_t>(i)].size());
        const QSize size = picturePlaces[static_cast<std::size_t>(i)].size();
        for (int batch = 0; batch < 2; ++batch) {
            QImage picture = Picture(grid, i + batch * cells);
            if (state.range(0) == 2) picture = Stretched(picture, size);
            pictures[batch].push_back(picture);
        }
    }

    QWidget window;
    window.resize(area.right() + 1, area.bottom() + 1);
    std::vector<CellWidget*> cellWidgets;
    OneGridWidget* oneGrid = nullptr;
    if (state.range(0) != 1) {
        for (int i = 0; i < cells; ++i) {
            auto* cell = new CellWidget(&window, picturePlaces[static_cast<std::size_t>(i)]);
            cell->setGeometry(cellPlaces[static_cast<std::size_t>(i)]);
            cellWidgets.push_back(cell);
        }
    } else {
        oneGrid = new OneGridWidget(&window);
        oneGrid->setGeometry(window.rect());
        for (int i = 0; i < cells; ++i) {
            const std::size_t n = static_cast<std::size_t>(i);
            oneGrid->Add(picturePlaces[n].translated(cellPlaces[n].topLeft()));
        }
    }
    window.show();
    QCoreApplication::processEvents();

    int batch = 0;
    for (auto _ : state) {
        const std::vector<QImage>& shown = pictures[++batch % 2];
        if (oneGrid) {
            for (std::size_t i = 0; i < shown.size(); ++i) oneGrid->Show(i, shown[i]);
            oneGrid->update();
        } else {
            for (std::size_t i = 0; i < shown.size(); ++i) cellWidgets[i]->Picture().Show(shown[i]);
        }
        QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
    }
    state.counters["cells"] = cells;
    state.counters["picture_width"] = picturePlaces.front().width();
    state.counters["picture_height"] = picturePlaces.front().height();
}
BENCHMARK(BM_QtPaintFloor)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
