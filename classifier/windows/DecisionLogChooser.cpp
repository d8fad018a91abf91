#include "windows/DecisionLogChooser.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/FileDialogAsker.h"
#include "files/FileSystem.h"

DecisionLogChooser::DecisionLogChooser(IFileDialogAsker& asker, const QString& defaultPath,
                                       QWidget* parent)
    : QWidget(parent), m_asker(asker), m_defaultPath(defaultPath) {
    createUi();
    connectUi();
    SetPath(QString());
}

void DecisionLogChooser::createUi() {
    chkDecisionLog = new QCheckBox(QStringLiteral("Write a decision log"), this);
    chkDecisionLog->setObjectName(QStringLiteral("chkDecisionLog"));
    txtDecisionLog = new QLineEdit(this);
    txtDecisionLog->setObjectName(QStringLiteral("txtDecisionLog"));
    cmdBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowseDecisionLog"));
    auto* file = new QHBoxLayout;
    file->addWidget(txtDecisionLog, 1);
    file->addWidget(cmdBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chkDecisionLog);
    layout->addLayout(file);
}

void DecisionLogChooser::connectUi() {
    connect(chkDecisionLog, &QCheckBox::toggled, this, &DecisionLogChooser::FollowCheck);
    connect(cmdBrowse, &QPushButton::clicked, this, &DecisionLogChooser::Browse);
}

QString DecisionLogChooser::Path() const {
    if (!chkDecisionLog->isChecked()) return {};
    const QString typed = txtDecisionLog->text().trimmed();
    return typed.isEmpty() ? m_defaultPath : FileSystem::GetAbsolutePathName(typed);
}

void DecisionLogChooser::SetPath(const QString& path) {
    txtDecisionLog->setText(path.isEmpty() ? m_defaultPath : path);
    chkDecisionLog->setChecked(!path.isEmpty());
    FollowCheck();
}

void DecisionLogChooser::FollowCheck() {
    txtDecisionLog->setEnabled(chkDecisionLog->isChecked());
    cmdBrowse->setEnabled(chkDecisionLog->isChecked());
}

void DecisionLogChooser::Browse() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.fileName = txtDecisionLog->text();
    request.filter = QStringLiteral("CSV files (*.csv)");
    request.defaultExt = QStringLiteral("csv");
    request.pathMustExist = true;
    // Lines are added to a file that exists: nothing is overwritten.
    request.confirmOverwrite = false;
    const std::optional<QString> chosen = m_asker.Ask(request);
    if (chosen) txtDecisionLog->setText(FileSystem::GetAbsolutePathName(*chosen));
}
