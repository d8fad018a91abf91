#pragma once

#include <QString>
#include <QWidget>

class IFileDialogAsker;
class QCheckBox;
class QLineEdit;
class QPushButton;

// The decision log's controls for a preferences page: "Write a decision log"
// and the file it goes to, typed or chosen with "Browse...". The file is
// asked for through the file dialog's question directly, not through the
// window's shared dialog, so that choosing it does not change the folder Next
// Batch reads. Holds its value only until the page applies it.
class DecisionLogChooser : public QWidget {
    Q_OBJECT
public:
    // `asker` must outlive the chooser. `defaultPath` is offered when the
    // log is turned on without a file of its own.
    DecisionLogChooser(IFileDialogAsker& asker, const QString& defaultPath,
                       QWidget* parent = nullptr);

    // The file to log to; empty while the box is not checked.
    QString Path() const;
    void SetPath(const QString& path);

private:
    void createUi();
    void connectUi();
    void Browse();
    void FollowCheck();

    IFileDialogAsker& m_asker;
    QString m_defaultPath;
    QCheckBox* chkDecisionLog = nullptr;
    QLineEdit* txtDecisionLog = nullptr;
    QPushButton* cmdBrowse = nullptr;
};
