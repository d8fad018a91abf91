#include "MessageBox.h"

#include <QMessageBox>

namespace {
const QString Title = QStringLiteral("Corvane");
}

void QtMessageBox::Warn(const QString& text) {
    QMessageBox::warning(m_owner, Title, text, QMessageBox::Ok);
}

bool QtMessageBox::AskOkCancel(const QString& text) {
    return QMessageBox::warning(m_owner, Title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Ok) == QMessageBox::Ok;
}

void QtMessageBox::Inform(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, m_owner);
    box.exec();
}
