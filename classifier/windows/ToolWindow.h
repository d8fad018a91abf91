#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>
#include <optional>

#include "settings/SettingsOperations.h"

// A modeless window beside the grid: it never takes the keyboard from the grid
// when it opens, never keeps the program running once the grid is closed, and
// remembers where it was. While hidden it does no work; it catches up when
// shown (Refresh).
class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // `smallest` is the least size, in pixels, a stored size may give it. With
    // a `parent` the window stays in front of it and dies with it.
    explicit ToolWindow(QSize smallest, QWidget* parent = nullptr);

    // Brings the window up to date with what it shows; nothing while hidden.
    virtual void Refresh() = 0;
    // Shows the window, refreshed, and brings it to the front.
    void ShowModeless();

    // Where the window is, frame included, and its size, in pixels; nothing
    // while it has never been shown nor placed.
    std::optional<QRect> Placement() const;
    // Puts the window at a place from an earlier run, made to fit on a screen.
    void Place(const QRect& placement);
    // Puts the window where the last run left it, to be shown again by
    // ShowAsRestored when it was open then.
    void Restore(const SettingsOperations::ToolWindowSettings& stored);
    void ShowAsRestored();
    // What is stored of the window for the next run.
    SettingsOperations::ToolWindowSettings Stored() const { return {isVisible(), Placement()}; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QSize m_smallest;
    bool m_placed = false;
    bool m_openAtStart = false;
};
