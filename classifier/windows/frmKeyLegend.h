#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

#include "sorting/KeyLegend.h"

class QTableWidget;

// The modeless "Key Bindings" window: every binding with its folder and the
// recordings moved there, beside the grid. It never takes the keyboard from
// the grid when it opens. While hidden it does no work; it catches up when shown.
class frmKeyLegend : public QWidget {
    Q_OBJECT
public:
    // Columns of the list, left to right.
    enum Column { Keystroke, ActsOn, Folder, Moved, ColumnCount };

    // `keyMap` and whatever `movedInto` reads must outlive the window. With a
    // `parent` the window stays in front of it and dies with it.
    frmKeyLegend(const ClassifierKeyMap& keyMap, KeyLegend::MovedCount movedInto,
                 QWidget* parent = nullptr);

    // Reads the bindings, the counts and the folders again, when shown.
    void Refresh();
    // Shows the window, refreshed, and brings it to the front.
    void ShowModeless();
    QTableWidget& List() const { return *lvwKeyBindings; }

    // Where the window is, frame included, and its size, in pixels; nothing
    // while it has never been shown nor placed.
    std::optional<QRect> Placement() const;
    // Puts the window at a place from an earlier run, made to fit on a screen.
    void Place(const QRect& placement);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createUi();
    void FillRow(int row, const KeyLegend::Row& binding);
    void SetText(int row, int column, const QString& text, Qt::Alignment alignment = Qt::AlignLeft);

    KeyLegend m_legend;
    QTableWidget* lvwKeyBindings = nullptr;
    bool m_placed = false;
};
