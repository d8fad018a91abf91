#pragma once

#include <QSize>

#include "settings/CellSizeLimits.h"
#include "settings/OptionsValues.h"
#include "windows/TabbedDialog.h"

class IMainWindowValues;
class QComboBox;
class QGroupBox;
class QLineEdit;

// The modeless Options dialog: cell size on the "Size" page and the
// spectrogram parameter set on the "Parameters" page. It holds no values of
// its own: Update copies them from the main window, Apply and OK push the
// edited ones back. A refusal is shown in a message box over the dialog.
class frmOptions : public TabbedDialog {
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

private:
    void createUi();
    void createSizePage();
    void createParametersPage();
    void OnLoad() override;
    // A refused cell size applies nothing at all; the parameter set goes on
    // only after the cell size has been taken.
    void Apply() override;
    void ShowFields(const OptionsValues::Fields& fields);
    OptionsValues::Fields EditedFields() const;

    IMainWindowValues& m_mainWindow;
    CellSizeLimits m_cellSizeLimits;

    QGroupBox* fraSample1 = nullptr;
    QGroupBox* fraSample2 = nullptr;
    QLineEdit* txtCellWidth = nullptr;
    QLineEdit* txtCellHeight = nullptr;
    QComboBox* cboFFTSize = nullptr;
    QComboBox* cboFrameLength = nullptr;
    QComboBox* cboWindowFunction = nullptr;
    QLineEdit* txtHopSize = nullptr;
    QLineEdit* txtPowerMin = nullptr;
    QLineEdit* txtPowerMax = nullptr;
};
