#include "host/QtMessageBox.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

const QString Title = QStringLiteral("Corvane");

// A window manager centres the title between the title bar's icon and buttons,
// up to three on a side, each about one and a half lines of text square.
constexpr int TitleBarButtonsPerSide = 3;

// QMessageBox sizes itself to its text and buttons and allows the title only a
// little room of its own, so a short message cut "Corvane" down to "Co...".
void MakeRoomForTitle(QMessageBox& box) {
    auto* layout = qobject_cast<QGridLayout*>(box.layout());
    if (!layout) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int buttonWidth = metrics.height() * 3 / 2;
    const int width =
        metrics.horizontalAdvance(box.windowTitle()) + 2 * TitleBarButtonsPerSide * buttonWidth;
    layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                    layout->rowCount(), 0, 1, layout->columnCount());
}

QMessageBox::StandardButton Run(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, Title, text, buttons, owner);
    box.setDefaultButton(QMessageBox::Ok);
    MakeRoomForTitle(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtMessageBox::Warn(const QString& text) {
    Run(m_owner, QMessageBox::Warning, text, QMessageBox::Ok);
}

bool QtMessageBox::AskOkCancel(const QString& text) {
    return Run(m_owner, QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void QtMessageBox::Inform(const QString& text) {
    Run(m_owner, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

void QtMessageBox::InformOver(QWidget* owner, const QString& text) {
    Run(owner ? owner : m_owner, QMessageBox::NoIcon, text, QMessageBox::Ok);
}
