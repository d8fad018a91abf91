#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <vector>

#include <memory>

#include "cells/SonoluxBord.h"
#include "core/GridLayout.h"
#include "core/MainWindowValues.h"
#include "host/CommonDialog.h"
#include "host/QtMessageBox.h"
#include "keys/ClassifierKeyMap.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/KeyStroke.h"
#include "sorting/CellClassifier.h"
#include "sorting/NextBatchCount.h"
#include "windows/ActiveTextEditor.h"
#include "windows/MenuShortcuts.h"

class ControlModule;
class IFileDialogAsker;
class IFileMover;
class IMessageBox;
class ISettingsStore;
class MainStatusBar;
class QAction;
class SafeFileWriter;
class frmOptions;
class frmKeystroke;
class frmKeyLegend;

// What the main window needs from outside: its message boxes, the question
// of its file dialog, the control module its cells' controls come from, and
// the screen's resolution. Tests hand in their own.
struct MainWindowServices {
    IMessageBox& messages;
    IFileDialogAsker& fileDialogAsker;
    IFileMover& fileMover;
    SafeFileWriter& fileWriter;
    ISettingsStore& settings;
    ControlModule& controls;
    ScreenDpi dpi;
};

// The main window: a grid of spectrogram cells filled from a folder, batch by
// batch. All geometry is in twips.
class frmMain : public QMainWindow, public IMainWindowValues, public IClassifierKeys {
    Q_OBJECT
public:
    // The client area a new window opens with, in twips.
    static constexpr std::int32_t InitialClientWidth = 7890;
    static constexpr std::int32_t InitialClientHeight = 5025;
    // The cell size of a first run, in twips.
    static constexpr std::int32_t DefaultCellWidth = 1500;
    static constexpr std::int32_t DefaultCellHeight = 1000;

    explicit frmMain(const MainWindowServices& services, QWidget* parent = nullptr);
    ~frmMain() override;

    void UpdateCellSizes(std::int32_t CellWidth, std::int32_t CellHeight,
                         bool ForceUpdate = false) override;
    void GetCellSize(std::int32_t& CellWidth, std::int32_t& CellHeight) const override;
    void UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                         std::int32_t HopSize, std::int32_t WindowFunctionChoice, float PowerMax,
                         float PowerMin) override;
    void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                      std::int32_t& HopSize, std::int32_t& WindowFunctionChoice, float& PowerMax,
                      float& PowerMin) const override;
    void SetSPGParams(const SpectrogramParameterSet& params) override;
    SpectrogramParameterSet SPGParams() const override;
    bool IsPlayChecked() const override;
    void SetPlayChecked(bool checked) override;
    RecordingOptions GetRecordingOptions() const override { return m_recordings; }
    void SetRecordingOptions(const RecordingOptions& options) override;

    // Refuses, with a message, a `TargetDir` that is no absolute folder path
    // before it looks at the keystroke; stores the folder with a final "/".
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir) override;
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir, IMessageBox& messages) override;
    void EraseClassifyKeys() override;
    const ClassifierKeyMap& KeyMap() const { return m_keyMap; }
    // The keystroke dialog, once it has been opened.
    frmKeystroke* KeystrokeDialog() const { return m_keystrokeDialog.get(); }

    // Fills the first batch from a wave file's folder, or from a folder, as if
    // the user had chosen that file (or a file in that folder) with Open Many.
    void OpenFromCommandLine(const QString& path);

    std::int16_t LoadedCellCount() const {
        return static_cast<std::int16_t>(ctlSonoluxBord.size());
    }
    std::int16_t GridColumns() const { return m_grid.columns; }
    std::int16_t GridRows() const { return m_grid.rows; }
    int VisibleCellCount() const { return m_grid.CellCount(); }
    SonoluxBord& Cell(int index) const {
        return *ctlSonoluxBord.at(static_cast<std::size_t>(index));
    }
    // The cell whose spectrogram has (or last had) the focus, or null.
    SonoluxBord* SelectedCell() const;
    CommonDialog& Dialog() { return CommonDialog1; }
    QWidget* ClientArea() const { return m_clientArea; }

    void mnuFileOpen_Click();
    void mnuFileMany_Click();
    void mnuFileNextBatch_Click();
    void mnuFileKeyListImport_Click();
    void mnuFileKeyListExport_Click();
    void mnuFileExit_Click();
    void mnuEdit_Click();
    void mnuEditCut_Click() { ActiveTextEditor::Cut(); }
    void mnuEditCopy_Click() { ActiveTextEditor::Copy(); }
    void mnuEditPaste_Click() { ActiveTextEditor::Paste(); }
    void mnuEditClear_Click() { ActiveTextEditor::Clear(); }
    void mnuSPGKeystroke_Click();
    void mnuSPGEraseKeyDir_Click();
    void mnuSPGClear_Click() { ClearCells(); }
    // Takes back the last classifying keystroke that is still in the history.
    void mnuSPGUndo_Click();
    void mnuSPGOptions_Click();
    void mnuSPGKeyBindings_Click();
    // The key legend, loaded (hidden) with the window.
    frmKeyLegend& KeyLegendWindow() const { return *m_keyLegend; }
    void mnuHelpAbout_Click();
    // The options dialog, loaded (hidden) with the window.
    frmOptions& OptionsDialog() const { return *m_options; }
    void mnuSPGPlay_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createUi();
    void createMenus();
    void connectUi();
    void SizeToInitialClientArea();
    void Form_Load();
    void Form_Unload();
    // Makes the key legend where the last run left it; it opens with the window.
    void LoadKeyLegend();
    void Form_KeyDown(const KeyStroke& keyStroke);
    void UpdateUndoCommand();
    // After every classifying keystroke and undo: what shows the moves follows.
    void ClassificationChanged();
    // After every change of the key map: what shows or uses the bindings follows.
    void KeyMapChanged();
    // The status bar's recording and Next Batch parts, as things are now.
    void RefreshStatus();
    void ShowPointerReadout(QObject* watched, QEvent* event);
    void ShowPlayState(int index);
    void ArrangeCells();
    void ClearCells();
    void CreateCell();
    // Makes cells until there are `count`; false, after reporting why once,
    // when a control cannot be created.
    bool CreateCellsUpTo(int count);
    // Shows the dialog for a wave file; false when the user refused.
    bool AskForWaveFile();
    void FillBatch(const QString& folder);
    // Says once per batch how many wave files were left out for their names.
    void ReportUnreadableNames(const QString& folder, int count);
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& shortcut, void (frmMain::*handler)());
    void createFileMenu();
    void createEditMenu();
    void createSpectrogramMenu();

    // The cells as classification sees them.
    class ClassifiedCells : public IClassifiedCells {
    public:
        explicit ClassifiedCells(frmMain& window) : m_window(window) {}
        int VisibleCellCount() const override { return m_window.VisibleCellCount(); }
        int CellCount() const override { return m_window.LoadedCellCount(); }
        QString CellFilename(int index) const override;
        void FollowMove(int index, const QString& path) override;
        void RecordingMoved(const QString& from, const QString& to) override;
        void MoveFailed(const QString& path, const QString& target) override;
        void MoveWarned(const QString& warning) override;
        int SelectedIndex() const override;
        void SelectCell(int index) override;

    private:
        frmMain& m_window;
    };

    MainWindowServices m_services;
    QWidget* m_clientArea = nullptr;
    std::vector<SonoluxBord*> ctlSonoluxBord;
    GridLayout m_grid;
    // The most cells the grid may have: fewer once a control could not be made.
    int m_cellLimit = GridLayout::MaxCells;
    std::int32_t CellWidth = 0;
    std::int32_t CellHeight = 0;
    double m_clientWidthTwips = InitialClientWidth;
    double m_clientHeightTwips = InitialClientHeight;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    RecordingOptions m_recordings;
    CommonDialog CommonDialog1;
    ClassifierKeyMap m_keyMap;
    std::unique_ptr<frmKeystroke> m_keystrokeDialog;
    std::unique_ptr<frmOptions> m_options;
    std::unique_ptr<frmKeyLegend> m_keyLegend;
    bool m_keyLegendAtStart = false;
    ClassifiedCells m_cells;
    CellClassifier m_classifier;
    MenuShortcuts m_menuShortcuts;
    MainStatusBar* m_status = nullptr;
    NextBatchCount m_nextBatch;
    // Inside a keystroke or a batch: the status bar is brought up to date once, after.
    bool m_holdStatus = false;
    // Inside an import: the legend and the menu shortcuts follow the whole list once, after.
    bool m_holdKeyMapChanged = false;
    QAction* mnuSPGUndo = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditClear = nullptr;
    QAction* mnuSPGTab = nullptr;
    QAction* mnuSPGPlay = nullptr;
};
