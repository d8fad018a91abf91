#include "core/ScreenDpi.h"

#include <QGuiApplication>
#include <QScreen>

ScreenDpi ScreenDpi::Primary() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}
