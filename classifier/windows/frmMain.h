#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>

#include <memory>

#include "cells/SonoluxBord.h"
#include "core/MainWindowValues.h"
#include "host/CommonDialog.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/KeyStroke.h"
#include "sorting/BatchSource.h"
#include "sorting/CellClassifier.h"
#include "sorting/DecisionLog.h"
#include "sorting/KeyBindings.h"
#include "suggest/ParallelAnalysis.h"
#include "windows/ActiveTextEditor.h"
#include "windows/CellGrid.h"
#include "windows/ClassifiedGrid.h"
#include "windows/GridSuggestions.h"
#include "windows/LabelCommands.h"
#include "windows/MainMenu.h"
#include "windows/StatusPresenter.h"

class ControlModule;
class IFileDialogAsker;
class IFileMover;
class IMessageBox;
class ISettingsStore;
class MainStatusBar;
class SafeFileWriter;
class frmOptions;
class frmKeystroke;
class frmKeyLegend;
class frmLoupe;
class frmPreferences;

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
                         bool /*ForceUpdate*/ = false) override {
        if (m_cells.SetCellSize(CellWidth, CellHeight)) ArrangeCells();
    }
    void GetCellSize(std::int32_t& CellWidth, std::int32_t& CellHeight) const override {
        CellWidth = m_cells.CellWidth();
        CellHeight = m_cells.CellHeight();
    }
    void UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                         std::int32_t HopSize, std::int32_t WindowFunctionChoice, float PowerMax,
                         float PowerMin) override;
    void GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                      std::int32_t& HopSize, std::int32_t& WindowFunctionChoice, float& PowerMax,
                      float& PowerMin) const override;
    void SetSPGParams(const SpectrogramParameterSet& params) override {
        m_cells.SetSPGParams(params);
    }
    SpectrogramParameterSet SPGParams() const override { return m_cells.SPGParams(); }
    bool IsPlayChecked() const override { return m_menu.IsPlayChecked(); }
    void SetPlayChecked(bool checked) override { m_menu.SetPlayChecked(checked); }
    RecordingOptions GetRecordingOptions() const override { return m_cells.Recordings(); }
    // A change of the names a batch takes changes what Next Batch will find.
    void SetRecordingOptions(const RecordingOptions& options) override {
        m_cells.SetRecordingOptions(options);
        m_menu.SetFieldViewChecked(options.FieldView());
        m_batch.Recount(BatchSource::WaveNamesOf(options));
        RefreshStatus();
    }
    QString DecisionLogPath() const override { return m_decisionLog.Path(); }
    void SetDecisionLogPath(const QString& path) override { m_decisionLog.SetPath(path); }
    SortingOptions GetSortingOptions() const override { return m_sorting; }
    void SetSortingOptions(const SortingOptions& options) override { m_sorting = options; }
    PlaybackOptions GetPlaybackOptions() const override {
        return {m_menu.SpeedDivisor(), m_menu.IsPlayOnSelectChecked()};
    }
    void SetPlaybackOptions(const PlaybackOptions& options) override;
    SuggestionOptions GetSuggestionOptions() const override { return m_suggestions.Options(); }
    void SetSuggestionOptions(const SuggestionOptions& options) override;
    // Where suggestions come from once they are first shown: `analyse` (empty
    // for the control module's analysis) and the analyses kept at `cachePath`
    // (empty for the user's cache folder). Tests hand in their own.
    void SetSuggestionSources(AnalyseFunction analyse, const QString& cachePath) {
        m_suggestionAnalyse = std::move(analyse);
        m_suggestionCachePath = cachePath;
    }
    // The suggestions on the grid (tests wait on their service).
    GridSuggestions& Suggestions() { return m_suggestions; }

    // Refuses, with a message, a `TargetDir` that is no absolute folder path
    // before it looks at the keystroke; stores the folder with a final "/".
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir) override {
        SetClassifyKey(keyCode, shift, classifyAll, TargetDir, m_services.messages);
    }
    void SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                        const QString& TargetDir, IMessageBox& messages) override;
    void EraseClassifyKeys() override {
        m_keyBindings.Erase();
        KeyMapChanged();
    }
    const ClassifierKeyMap& KeyMap() const { return m_keyBindings.Map(); }
    // The keystroke dialog, once it has been opened.
    frmKeystroke* KeystrokeDialog() const { return m_keystrokeDialog.get(); }

    // Fills the first batch from a wave file's folder, or from a folder, as if
    // the user had chosen that file (or a file in that folder) with Open Many.
    void OpenFromCommandLine(const QString& path);

    std::int16_t LoadedCellCount() const {
        return static_cast<std::int16_t>(m_cells.LoadedCellCount());
    }
    std::int16_t GridColumns() const { return m_cells.Layout().columns; }
    std::int16_t GridRows() const { return m_cells.Layout().rows; }
    int VisibleCellCount() const { return m_cells.VisibleCellCount(); }
    SonoluxBord& Cell(int index) const { return m_cells.Cell(index); }
    // The cell whose spectrogram has (or last had) the focus, or null.
    SonoluxBord* SelectedCell() const { return m_cells.SelectedCell(); }
    CommonDialog& Dialog() { return CommonDialog1; }
    QWidget* ClientArea() const { return m_clientArea; }

    void mnuFileOpen_Click();
    void mnuFileMany_Click();
    void mnuFileNextBatch_Click();
    void mnuFileKeyListImport_Click();
    void mnuFileKeyListExport_Click();
    void mnuFileExit_Click() { close(); }
    // Writes a CSV of every wave file under the bound folders, labelled by folder.
    void mnuFileExportLabels_Click() {
        LabelCommands::Export(CommonDialog1, m_keyBindings.Map(),
                              BatchSource::WaveNamesOf(m_cells.Recordings()), m_services.fileWriter,
                              m_services.messages, m_statusPresenter);
    }
    void mnuEdit_Click() {
        const bool textControl = ActiveTextEditor::IsTextControlActive();
        m_menu.EnableEditItems(textControl, textControl && ActiveTextEditor::ClipboardHoldsText());
    }
    void mnuEditCut_Click() { ActiveTextEditor::Cut(); }
    void mnuEditCopy_Click() { ActiveTextEditor::Copy(); }
    void mnuEditPaste_Click() { ActiveTextEditor::Paste(); }
    void mnuEditClear_Click() { ActiveTextEditor::Clear(); }
    void mnuSPGKeystroke_Click();
    void mnuSPGEraseKeyDir_Click();
    void mnuSPGClear_Click() {
        ClearCells();
        m_suggestions.BatchChanged();
    }
    // Takes back the last classifying keystroke that is still in the history.
    void mnuSPGUndo_Click();
    void mnuSPGOptions_Click();
    void mnuSPGKeyBindings_Click();
    // The key legend, loaded (hidden) with the window.
    frmKeyLegend& KeyLegendWindow() const { return *m_keyLegend; }
    void mnuHelpAbout_Click();
    // The options dialog, loaded (hidden) with the window.
    frmOptions& OptionsDialog() const { return *m_options; }
    // The action has already toggled its check mark.
    void mnuSPGPlay_Click() { m_cells.SetPlay(m_menu.IsPlayChecked()); }
    void mnuSPGPreferences_Click();
    // The action has already toggled its check mark: all three picture
    // options follow it.
    void mnuSPGFieldView_Click();
    // The action has already been checked.
    void mnuSPGSpeed_Click();
    // Plays the selected cell's recording, or ends it while it plays.
    void mnuSPGPlaySelected_Click();
    void mnuSPGStopPlaying_Click() { m_cells.StopPlaying(); }
    void mnuSPGPlayOnSelect_Click() {}
    // The actions have already toggled their check marks.
    void mnuSPGSuggestions_Click();
    void mnuSPGOrderBySuggestion_Click();
    // Moves every visible recording that has a folder suggestion into that
    // folder, as one step that one Undo takes back.
    void mnuSPGAcceptSuggestions_Click();
    // The preferences dialog, loaded (hidden) with the window.
    frmPreferences& PreferencesDialog() const { return *m_preferences; }
    void mnuSPGLoupe_Click();
    // The loupe, loaded (hidden) with the window.
    frmLoupe& LoupeWindow() const { return *m_loupe; }

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
    // Makes the key legend and the loupe where the last run left them; each
    // opens with the window when it was open at the end of that run.
    void LoadToolWindows();
    // True when the keystroke moved the selection, and so goes no further.
    bool Form_KeyDown(const KeyStroke& keyStroke);
    // A keystroke that classifies nothing: the arrow keys may move the
    // selection, and a key that types something hints how to bind it.
    bool KeyNotBound(const KeyStroke& keyStroke);
    // The "Sorting" options that act at start and at exit.
    void LoadSortingState();
    void SaveSortingState();
    QString KeptBindingsPath() const;
    // Space plays or stops the selected cell, Escape stops every sound; only
    // when no binding takes the keystroke. True when it was one of the two.
    bool PlaybackKey(const KeyStroke& keyStroke);
    void UpdateUndoCommand() {
        m_menu.ShowUndo(m_classifier.UndoCaption(), m_classifier.CanUndo());
    }
    // After every classifying keystroke and undo: what shows the moves follows.
    void ClassificationChanged();
    // After every change of the key map: what shows or uses the bindings follows.
    void KeyMapChanged();
    // The status bar's recording and Next Batch parts, as things are now.
    void RefreshStatus() { m_statusPresenter.Refresh(); }
    // The status bar and the loupe, after a command or a move.
    void RefreshSelectionViews();
    void ArrangeCells() { m_cells.Arrange(m_menu.IsPlayChecked()); }
    void ClearCells() {
        const StatusPresenter::Hold hold(m_statusPresenter);
        m_cells.Clear();
    }
    // With Play on Select, a cell that becomes the selected one plays.
    void SelectionChanged(QWidget* focused);
    void FillBatch(const QString& folder) {
        m_batch.Fill(folder, m_classifiedGrid, BatchSource::WaveNamesOf(m_cells.Recordings()));
        if (m_sorting.StartAtFirstCell && VisibleCellCount() > 0) Cell(0).GiveFocus();
        m_suggestions.BatchChanged();
    }
    std::unique_ptr<SuggestionService> MakeSuggestionService();
    void SuggestionsChanged();

    MainWindowServices m_services;
    QWidget* m_clientArea;
    MainStatusBar* m_status;
    CommonDialog CommonDialog1;
    CellGrid m_cells;
    BatchSource m_batch;
    KeyBindings m_keyBindings;
    StatusPresenter m_statusPresenter;
    ClassifiedGrid m_classifiedGrid;
    DecisionLog m_decisionLog;
    CellClassifier m_classifier;
    MainMenu m_menu;
    AnalyseFunction m_suggestionAnalyse;
    QString m_suggestionCachePath;
    GridSuggestions m_suggestions;
    SortingOptions m_sorting;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    std::unique_ptr<frmKeystroke> m_keystrokeDialog;
    std::unique_ptr<frmOptions> m_options;
    std::unique_ptr<frmPreferences> m_preferences;
    std::unique_ptr<frmKeyLegend> m_keyLegend;
    std::unique_ptr<frmLoupe> m_loupe;
    // Inside an import: the legend and the menu shortcuts follow the whole list once, after.
    bool m_holdKeyMapChanged = false;
    // The cell last selected, for Play on Select: a focus that comes back to it
    // (from a dialog, or another window) does not play it again.
    const SonoluxBord* m_lastSelected = nullptr;
};
