#include "windows/frmAbout.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "core/Twips.h"

frmAbout::frmAbout(const ScreenDpi& dpi, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_dpi(dpi) {
    createUi();
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::ShowModal(const ScreenDpi& dpi, QWidget* owner) {
    frmAbout box(dpi, owner);
    box.exec();
}

void frmAbout::Place(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(Twips::ToPixels(left, top, width, height, m_dpi));
}

void frmAbout::createUi() {
    setWindowTitle(QStringLiteral("About Corvane"));
    setModal(true);
    setFixedSize(Twips::ToPixels(4680, m_dpi.x), Twips::ToPixels(3480, m_dpi.y));

    auto* productName = new QLabel(QStringLiteral("Corvane"), this);
    productName->setObjectName(QStringLiteral("lblProductName"));
    productName->setAlignment(Qt::AlignCenter);
    productName->setFont(QFont(QStringLiteral("Arial"), 36, QFont::Bold));
    Place(productName, 360, 240, 4095, 975);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    Place(OKButton, 1680, 3000, 1335, 375);
}
