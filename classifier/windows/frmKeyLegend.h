#pragma once

#include "sorting/KeyLegend.h"
#include "windows/ToolWindow.h"

class QTableWidget;

// The modeless "Key Bindings" window: every binding with its folder and the
// recordings moved there, beside the grid.
class frmKeyLegend : public ToolWindow {
    Q_OBJECT
public:
    // Columns of the list, left to right.
    enum Column { Keystroke, ActsOn, Folder, Moved, ColumnCount };

    // `keyMap` and whatever `movedInto` reads must outlive the window. With a
    // `parent` the window stays in front of it and dies with it.
    frmKeyLegend(const ClassifierKeyMap& keyMap, KeyLegend::MovedCount movedInto,
                 QWidget* parent = nullptr);

    // Reads the bindings, the counts and the folders again, when shown.
    void Refresh() override;
    QTableWidget& List() const { return *lvwKeyBindings; }

private:
    void createUi();
    void FillRow(int row, const KeyLegend::Row& binding);
    void SetText(int row, int column, const QString& text, Qt::Alignment alignment = Qt::AlignLeft);

    KeyLegend m_legend;
    QTableWidget* lvwKeyBindings = nullptr;
};
