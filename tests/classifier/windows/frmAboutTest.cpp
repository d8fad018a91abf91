#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "windows/frmAbout.h"

TEST(AboutBox, ShowsTheProgramsNameAtTheDescribedSize) {
    frmAbout box(ScreenDpi{96.0, 96.0}, nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Corvane"));
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.size(), QSize(312, 232));  // 4680 x 3480 twips
    auto* name = box.findChild<QLabel*>(QStringLiteral("lblProductName"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Corvane"));
    EXPECT_EQ(name->font().pointSize(), 36);
    EXPECT_TRUE(name->font().bold());
    EXPECT_EQ(name->geometry(), QRect(24, 16, 273, 65));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), QRect(112, 200, 89, 25));
}

TEST(AboutBox, TheOwnerTakesNoInputUntilOkClosesTheBox) {
    QWidget owner;
    auto* button = new QPushButton(QStringLiteral("Owner's button"), &owner);
    new QVBoxLayout(&owner);
    owner.layout()->addWidget(button);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    owner.show();
    // Through the owner's window, where the window system's input arrives and
    // where a modal box blocks it.
    const auto clickOwnersButton = [&owner, button] {
        QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          button->mapTo(&owner, button->rect().center()));
    };

    frmAbout box(ScreenDpi{96.0, 96.0}, &owner);
    box.show();  // as exec() shows it, without waiting for it
    EXPECT_EQ(QApplication::activeModalWidget(), &box);
    clickOwnersButton();
    EXPECT_EQ(clicks, 0);

    QTest::mouseClick(box.findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    clickOwnersButton();
    EXPECT_EQ(clicks, 1);
}
