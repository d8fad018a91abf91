#include "windows/ToolWindow.h"

#include <QApplication>

#include "windows/WindowPlacement.h"

ToolWindow::ToolWindow(QSize smallest, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_smallest(smallest) {
    // Opening the window must not take the keyboard away from the grid.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Left open, it must not keep the program running once the grid is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void ToolWindow::ShowModeless() {
    // Classifying goes on while the window is open: the keyboard stays with the
    // window that had it, also where the window system ignores the attribute.
    QWidget* active = QApplication::activeWindow();
    // Shown again while open, it looks again at what it shows.
    if (isVisible()) Refresh();
    show();
    raise();
    if (active && active != this) active->activateWindow();
}

void ToolWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_placed = true;
    Refresh();
}

std::optional<QRect> ToolWindow::Placement() const {
    if (!m_placed) return std::nullopt;
    return QRect(pos(), size());
}

void ToolWindow::Place(const QRect& placement) {
    WindowPlacement::Place(*this, placement, m_smallest);
    m_placed = true;
}

void ToolWindow::Restore(const SettingsOperations::ToolWindowSettings& stored) {
    if (stored.placement) Place(*stored.placement);
    m_openAtStart = stored.visible;
}

void ToolWindow::ShowAsRestored() {
    if (m_openAtStart) ShowModeless();
}
