#include "settings/CellSizeLimits.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "core/GridLayout.h"
#include "core/Twips.h"

CellSizeLimits::CellSizeLimits(double desktopWidth, double desktopHeight)
    : m_desktopWidth(desktopWidth), m_desktopHeight(desktopHeight) {}

QString CellSizeLimits::Problem(std::int32_t width, std::int32_t height) const {
    if (width < 1 || height < 1)
        return QStringLiteral("The cell width and height must be at least 1 twip.");
    const double cells = std::trunc(m_desktopWidth / width) * std::trunc(m_desktopHeight / height);
    if (cells > GridLayout::MaxCells)
        return QStringLiteral(
                   "Cells of %1 x %2 twips would fill the screen with more than %3 cells. "
                   "Choose a larger width or height.")
            .arg(width)
            .arg(height)
            .arg(GridLayout::MaxCells);
    return {};
}

CellSizeLimits CellSizeLimits::ForDesktop(double dpiX, double dpiY, QSize desktopPixels) {
    if (desktopPixels.isEmpty()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen) desktopPixels = screen->virtualSize();
    }
    return CellSizeLimits(Twips::FromPixelsExact(desktopPixels.width(), dpiX),
                          Twips::FromPixelsExact(desktopPixels.height(), dpiY));
}
