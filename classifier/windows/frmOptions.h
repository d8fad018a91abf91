#pragma once

#include <QDialog>
#include <QSize>
#include <array>
#include <cstdint>

#include "cells/SonoluxBord.h"
#include "settings/CellSizeLimits.h"

class IMainWindowValues;
class IMessageBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

// The modeless Options dialog: cell size on the "Size" page, the spectrogram
// parameter set on the "Parameters" page, and how recordings are listed and
// read on the "Recordings" page. It holds no values of its own: Update copies
// them from the main window, Apply and OK push the edited ones back.
//
// The dialog is loaded by Update and unloaded (hidden, its fields stale) by
// OK, Cancel, Esc or its close button; the next Update loads it again,
// centred on the screen with the "Size" tab selected.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` and `messages` must outlive the dialog. `desktop` is the
    // size of the desktop in pixels, against which too small cells are judged;
    // an empty size means the primary screen's virtual desktop.
    frmOptions(IMainWindowValues& mainWindow, IMessageBox& messages, const ScreenDpi& dpi,
               QSize desktop = QSize(), QWidget* parent = nullptr);

    // Loads the dialog if it is not loaded, then refreshes every field from
    // the main window's current values. Unapplied edits are lost.
    void Update();
    // Shows the dialog modeless and brings it to the front.
    void ShowModeless();
    bool IsLoaded() const { return m_loaded; }

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc and the window frame's close.
    void reject() override;

private:
    void createUi();
    void createTabStrip();
    void createSizePage();
    void createParametersPage();
    void createRecordingsPage();
    void createButtons();
    void connectUi();
    // Twips relative to the container.
    void Place(QWidget* widget, int left, int top, int width, int height) const;
    void PlaceLabel(QLabel* label, int left, int top, int width, int height) const;

    void Form_Load();
    void Form_Unload(int result);
    void Form_KeyDown(int keyCode, int shift);
    void tbsOptions_Click();
    void CentreOnScreen();
    void FillLists();
    void ShowRecordingOptions();
    // Steps of Apply; false when the cell size was not applied.
    bool ApplyCellSize();
    void ApplySPGParams();
    void ApplyRecordingOptions();

    IMainWindowValues& m_mainWindow;
    IMessageBox& m_messages;
    ScreenDpi m_dpi;
    CellSizeLimits m_cellSizeLimits;
    bool m_loaded = false;

    QTabBar* tbsOptions = nullptr;
    std::array<QWidget*, 3> picOptions{};
    QGroupBox* fraSample1 = nullptr;
    QGroupBox* fraSample2 = nullptr;
    QGroupBox* fraSample3 = nullptr;
    QLineEdit* txtCellWidth = nullptr;
    QLineEdit* txtCellHeight = nullptr;
    QComboBox* cboFFTSize = nullptr;
    QComboBox* cboFrameLength = nullptr;
    QComboBox* cboWindowFunction = nullptr;
    QLineEdit* txtHopSize = nullptr;
    QLineEdit* txtPowerMin = nullptr;
    QLineEdit* txtPowerMax = nullptr;
    QCheckBox* chkWholeRecording = nullptr;
    QCheckBox* chkAnyCaseWave = nullptr;
    QCheckBox* chkFloatSamples = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;
};
