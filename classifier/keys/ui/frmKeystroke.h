#pragma once

#include <QDialog>
#include <cstdint>

#include "core/ScreenDpi.h"
#include "keys/KeyStroke.h"

class CommonDialog;
class IClassifyKeySetter;
class QLabel;
class QPushButton;
class QRadioButton;

// "Type a keystroke...": captures the next keystroke, lets the user choose
// whether it acts on the selected or on all visible spectrograms, and binds
// it to the target folder on OK. One instance lives for the whole run; the
// captured keystroke is kept from one opening to the next.
class frmKeystroke : public QDialog {
    Q_OBJECT
public:
    frmKeystroke(IClassifyKeySetter& keySetter, CommonDialog& commonDialog, const ScreenDpi& dpi,
                 QWidget* owner);

    // Starts an opening: no keystroke shown, "selected spectrogram" chosen, and
    // the folder part of `TargetDir` (up to and including its last "/") as target.
    void Initialize(const QString& TargetDir);

    std::int16_t CapturedKeyCode() const { return m_captured.KeyCode; }
    std::int16_t CapturedShift() const { return m_captured.Shift; }
    QString ShownKeystroke() const;
    QString TargetDir() const;
    bool ClassifyAllChosen() const;

    // Test access to the controls by their names.
    QPushButton* Browse() const { return cmdBrowse; }
    QPushButton* Ok() const { return cmdOK; }
    QPushButton* Cancel() const { return btnCancel; }
    QRadioButton* ClassifyAllOption() const { return optClassifyAll; }

    // The folder part of a path, its final "/" included; empty without one.
    static QString FolderPart(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createUi();
    void connectUi();
    void Form_KeyDown(const KeyStroke& keyStroke);
    void cmdBrowse_Click();
    void cmdOK_Click();
    QRect Twips(int left, int top, int width, int height) const;

    IClassifyKeySetter& m_keySetter;
    CommonDialog& m_commonDialog;
    ScreenDpi m_dpi;
    KeyStroke m_captured;
    QLabel* Label2 = nullptr;
    QLabel* lblKeystroke = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblTargetDir = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QRadioButton* optClassifySelection = nullptr;
    QRadioButton* optClassifyAll = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
