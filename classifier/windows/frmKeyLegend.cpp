#include "windows/frmKeyLegend.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>


namespace {

// Pixels: room for the header line and a few rows when nothing was stored.
constexpr int DefaultWidth = 520;
constexpr int DefaultHeight = 200;
// Pixels: a stored size below this would show no row at all.
constexpr int SmallestWidth = 160;
constexpr int SmallestHeight = 80;

}  // namespace

frmKeyLegend::frmKeyLegend(const ClassifierKeyMap& keyMap, KeyLegend::MovedCount movedInto,
                           QWidget* parent)
    : ToolWindow(QSize(SmallestWidth, SmallestHeight), parent),
      m_legend(keyMap, std::move(movedInto)) {
    createUi();
}

void frmKeyLegend::createUi() {
    setObjectName(QStringLiteral("frmKeyLegend"));
    setWindowTitle(QStringLiteral("Key Bindings"));
    lvwKeyBindings = new QTableWidget(0, ColumnCount, this);
    lvwKeyBindings->setObjectName(QStringLiteral("lvwKeyBindings"));
    lvwKeyBindings->setHorizontalHeaderLabels({QStringLiteral("Keystroke"),
                                               QStringLiteral("Acts on"), QStringLiteral("Folder"),
                                               QStringLiteral("Moved")});
    lvwKeyBindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwKeyBindings->setSelectionMode(QAbstractItemView::NoSelection);
    lvwKeyBindings->setFocusPolicy(Qt::NoFocus);
    lvwKeyBindings->verticalHeader()->hide();
    QHeaderView* header = lvwKeyBindings->horizontalHeader();
    header->setSectionResizeMode(Keystroke, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ActsOn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Folder, QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwKeyBindings);
    resize(DefaultWidth, DefaultHeight);
}

void frmKeyLegend::Refresh() {
    if (!isVisible()) return;
    m_legend.Refresh();
    const std::vector<KeyLegend::Row>& rows = m_legend.Rows();
    lvwKeyBindings->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) FillRow(static_cast<int>(i), rows[i]);
}

void frmKeyLegend::SetText(int row, int column, const QString& text, Qt::Alignment alignment) {
    // The legend follows every keystroke: rows that stay as they were cost a
    // comparison, not a new item.
    QTableWidgetItem* item = lvwKeyBindings->item(row, column);
    if (!item) {
        item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment | Qt::AlignVCenter);
        lvwKeyBindings->setItem(row, column, item);
    } else if (item->text() != text) {
        item->setText(text);
    }
}

void frmKeyLegend::FillRow(int row, const KeyLegend::Row& binding) {
    SetText(row, Keystroke, binding.keyText);
    SetText(row, ActsOn, binding.ActsOn());
    SetText(row, Folder, binding.FolderText());
    const QBrush folderColour = binding.folderMissing ? QBrush(Qt::red) : QBrush();
    QTableWidgetItem* folder = lvwKeyBindings->item(row, Folder);
    if (folder->foreground() != folderColour) folder->setForeground(folderColour);
    SetText(row, Moved, QString::number(binding.moved), Qt::AlignRight);
}
