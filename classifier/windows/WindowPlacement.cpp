#include "windows/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace WindowPlacement {

void Place(QWidget& window, const QRect& placement, QSize smallest) {
    QScreen* screen = QGuiApplication::screenAt(placement.topLeft());
    if (screen) window.move(placement.topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : placement.size();
    window.resize(
        std::clamp(placement.width(), smallest.width(), std::max(smallest.width(), room.width())),
        std::clamp(placement.height(), smallest.height(),
                   std::max(smallest.height(), room.height())));
}

}  // namespace WindowPlacement
