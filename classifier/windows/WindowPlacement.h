#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Puts a top-level window back where an earlier run left it (its frame's
// top-left corner and its size, in pixels), made to fit on a screen: a screen
// that was there then may be gone, and the window system then places the
// window, keeping only its size; a size larger than the screen's room
// shrinks to it, and one below `smallest` grows to it.
namespace WindowPlacement {

void Place(QWidget& window, const QRect& placement, QSize smallest);

}  // namespace WindowPlacement
