#include "windows/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScopedValueRollback>

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "core/Twips.h"
#include "files/FileSystem.h"
#include "host/ControlModule.h"
#include "host/FileChoices.h"
#include "keys/KeyEventTranslation.h"
#include "keys/mdlKeycodes.h"
#include "keys/ui/KeyListCommands.h"
#include "keys/ui/frmKeystroke.h"
#include "settings/CellSizeLimits.h"
#include "settings/SettingsOperations.h"
#include "settings/SettingsStore.h"
#include "sorting/GridNavigation.h"
#include "sorting/KeptBindings.h"
#include "sorting/StatusText.h"
#include "suggest/AnalysisCache.h"
#include "suggest/SuggestionService.h"
#include "windows/MainStatusBar.h"
#include "windows/WindowPlacement.h"
#include "windows/frmAbout.h"
#include "windows/frmKeyLegend.h"
#include "windows/frmLoupe.h"
#include "windows/frmOptions.h"
#include "windows/frmPreferences.h"

frmMain::frmMain(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent),
      m_services(services),
      m_clientArea(new QWidget(this)),
      m_status(new MainStatusBar(this)),
      CommonDialog1(services.fileDialogAsker),
      m_cells(services.controls, services.messages, services.dpi, m_clientArea, this),
      m_batch(services.messages),
      m_statusPresenter(*m_status, m_cells, CommonDialog1, m_batch),
      m_classifiedGrid(m_cells, m_batch, m_statusPresenter),
      m_decisionLog([this](const QString& text) { m_statusPresenter.ShowMessage(text); }),
      m_classifier(m_classifiedGrid, services.fileMover, services.messages, &m_decisionLog),
      m_suggestions(
          m_cells, [this] { return MakeSuggestionService(); }, [this] { SuggestionsChanged(); },
          [this](const QString& failure) {
              m_statusPresenter.ShowMessage(
                  QStringLiteral("The analyses could not be kept: %1").arg(failure));
          }) {
    createUi();
    createMenus();
    connectUi();
    SizeToInitialClientArea();
    Form_Load();
}

frmMain::~frmMain() {
    // Closing the window moves the focus: no handler of this half-destroyed
    // window may run then.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    m_clientArea->removeEventFilter(this);
    disconnect(&m_cells, nullptr, this, nullptr);
    m_cells.StopKeyPreview();
    m_suggestions.Close();
}

void frmMain::createUi() {
    setWindowTitle(QStringLiteral("Corvane"));
    m_clientArea->installEventFilter(this);
    setCentralWidget(m_clientArea);
    setStatusBar(m_status);
    m_cells.SetClientSize(InitialClientWidth, InitialClientHeight);
}

void frmMain::SizeToInitialClientArea() {
    const int width = Twips::ToPixels(InitialClientWidth, m_services.dpi.x);
    const int height = Twips::ToPixels(InitialClientHeight, m_services.dpi.y);
    // The status bar comes on top of the client area, never out of it.
    resize(width, height + menuBar()->sizeHint().height() + m_status->sizeHint().height());
}

void frmMain::createMenus() {
    m_menu.Build(*this, [this] { RefreshSelectionViews(); });
    UpdateUndoCommand();
}

void frmMain::connectUi() {
    // An enabled Edit item would take its key (Del, Ctrl+C, ...) before the
    // cells see it: the items are enabled only while a text box has the focus.
    connect(qApp, &QApplication::focusChanged, this, &frmMain::mnuEdit_Click);
    // A keystroke with Tab after Classify moves the focus too: it refreshes once, after.
    connect(qApp, &QApplication::focusChanged, this,
            [this] { m_statusPresenter.RefreshUnlessHeld(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { SelectionChanged(now); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmMain::mnuEdit_Click);
    connect(&m_cells, &CellGrid::CellLoadStateChanged, this,
            [this](int index) { m_statusPresenter.CellLoadStateChanged(index); });
    // A recording moved into a bound folder is an example of it at once.
    m_classifiedGrid.SetMoveListener(
        [this](const QString& from, const QString& to) { m_suggestions.RecordingMoved(from, to); });
    connect(&m_cells, &CellGrid::CellPlayStateChanged, this,
            [this](int index) { m_statusPresenter.ShowPlayState(Cell(index)); });
    connect(&m_cells, &CellGrid::PicturesPendingChanged, this,
            [this](int count) { m_statusPresenter.ShowPicturesPending(count); });
    mnuEdit_Click();
}

void frmMain::Form_Load() {
    m_cells.CreateCell();
    SettingsOperations::LoadViewSettings(
        m_services.settings, *this, CellSizeLimits::ForDesktop(m_services.dpi.x, m_services.dpi.y));
    try {
        SettingsOperations::LoadSPGSettings(m_services.settings, *this);
    } catch (const CorvaneError&) {
        // Stored values are checked on reading; a cell refusing one keeps its own.
    }
    SettingsOperations::LoadRecordingSettings(m_services.settings, *this);
    SettingsOperations::LoadDecisionLogSettings(m_services.settings, *this);
    SettingsOperations::LoadSortingSettings(m_services.settings, *this);
    SettingsOperations::LoadPlaybackSettings(m_services.settings, *this);
    m_options = std::make_unique<frmOptions>(*this, m_services.messages, m_services.dpi);
    m_options->Update();
    m_preferences = std::make_unique<frmPreferences>(
        *this, m_services.messages, m_services.dpi,
        PreferencesServices{m_services.fileDialogAsker,
                            SettingsOperations::DefaultDecisionLogPath(m_services.settings)});
    m_keyBindings.Erase();
    mdlKeycodes::BuildKeyTables();
    LoadToolWindows();
    LoadSortingState();
    // After the kept bindings, so that the folders are learned once.
    SettingsOperations::LoadSuggestionSettings(m_services.settings, *this);
}

QString frmMain::KeptBindingsPath() const {
    return KeptBindings::PathIn(m_services.settings.Folder());
}

void frmMain::LoadSortingState() {
    // The key legend and the loupe are put back where they were in any case,
    // as the legend always was; only the main window waits for the option.
    if (m_sorting.RememberWindow) {
        const std::optional<QRect> placement = SettingsOperations::LoadPlacement(
            m_services.settings, SettingsKeys::MainWindowPlacement);
        if (placement) WindowPlacement::Place(*this, *placement, minimumSizeHint());
    }
    if (m_sorting.KeepBindings) {
        {
            const QScopedValueRollback<bool> hold(m_holdKeyMapChanged, true);
            KeptBindings::Load(KeptBindingsPath(), *this, m_services.messages);
        }
        KeyMapChanged();
    }
}

void frmMain::SaveSortingState() {
    if (m_sorting.RememberWindow) {
        SettingsOperations::SavePlacement(m_services.settings, SettingsKeys::MainWindowPlacement,
                                          QRect(pos(), size()));
    }
    if (m_sorting.KeepBindings) {
        KeptBindings::Save(KeptBindingsPath(), m_keyBindings.Map(), m_services.fileWriter,
                           m_services.messages);
    }
}

void frmMain::LoadToolWindows() {
    m_keyLegend = std::make_unique<frmKeyLegend>(
        m_keyBindings.Map(),
        [this](const QString& folder) { return m_classifier.MovedInto(folder); }, this);
    m_keyLegend->Restore(SettingsOperations::LoadKeyLegendSettings(m_services.settings));
    m_loupe = std::make_unique<frmLoupe>(m_services.controls, m_cells, this);
    m_loupe->Restore(SettingsOperations::LoadLoupeSettings(m_services.settings));
}

void frmMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    SettingsOperations::SaveViewSettings(m_services.settings, *this);
    SettingsOperations::SaveSPGSettings(m_services.settings, *this);
    SettingsOperations::SaveRecordingSettings(m_services.settings, *this);
    SettingsOperations::SaveDecisionLogSettings(m_services.settings, *this);
    SettingsOperations::SaveKeyLegendSettings(m_services.settings, m_keyLegend->Stored());
    SettingsOperations::SaveLoupeSettings(m_services.settings, m_loupe->Stored());
    SettingsOperations::SavePlaybackSettings(m_services.settings, *this);
    SettingsOperations::SaveSortingSettings(m_services.settings, *this);
    SettingsOperations::SaveSuggestionSettings(m_services.settings, *this);
    SaveSortingState();
    // A cache that cannot be kept costs the next run time, nothing else.
    m_suggestions.Close();
    const QString error = m_services.settings.Commit();
    if (!error.isEmpty()) m_services.messages.Warn(error);
    m_options.reset();
    m_preferences.reset();
    m_keystrokeDialog.reset();
}

void frmMain::mnuFileOpen_Click() {
    SonoluxBord* target = SelectedCell();
    if (!FileChoices::AskForWaveFile(CommonDialog1)) return;
    if (!target) target = &Cell(0);
    target->SetFilename(FileSystem::GetAbsolutePathName(CommonDialog1.FileName));
    m_suggestions.BatchChanged();
}

void frmMain::mnuFileMany_Click() {
    if (!FileChoices::AskForWaveFile(CommonDialog1)) return;
    FillBatch(BatchSource::NextBatchFolder(CommonDialog1.FileName));
}

void frmMain::mnuFileNextBatch_Click() {
    if (CommonDialog1.FileName.isEmpty()) {
        mnuFileMany_Click();
        return;
    }
    ClearCells();
    // A dialog path without a folder, or a folder that is gone, leaves the grid empty.
    FillBatch(BatchSource::NextBatchFolder(CommonDialog1.FileName));
}

void frmMain::OpenFromCommandLine(const QString& path) {
    const std::optional<BatchSource::Start> start =
        m_batch.FromCommandLine(path, BatchSource::WaveNamesOf(m_cells.Recordings()));
    if (!start) return;
    CommonDialog1.FileName = start->dialogPath;
    FillBatch(start->folder);
}

void frmMain::UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                              std::int32_t HopSize, std::int32_t WindowFunctionChoice,
                              float PowerMax, float PowerMin) {
    m_cells.SetSPGParams(
        {FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice, PowerMax, PowerMin});
}

void frmMain::GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                           std::int32_t& HopSize, std::int32_t& WindowFunctionChoice,
                           float& PowerMax, float& PowerMin) const {
    m_cells.SPGParams().Unpack(FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice,
                               PowerMax, PowerMin);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != m_clientArea) {
        // The key still reaches the cell, unless it moved the selection.
        return Form_KeyDown(KeyStrokeFromEvent(*static_cast<QKeyEvent*>(event)));
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave)
        m_statusPresenter.ShowPointerReadout(watched, event);
    if (watched == m_clientArea && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        m_cells.SetClientSize(Twips::FromPixelsExact(size.width(), m_services.dpi.x),
                              Twips::FromPixelsExact(size.height(), m_services.dpi.y));
        ArrangeCells();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    Cell(0).GiveFocus();
    m_keyLegend->ShowAsRestored();
    m_loupe->ShowAsRestored();
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                             const QString& TargetDir, IMessageBox& messages) {
    if (m_keyBindings.Bind(keyCode, shift, classifyAll, TargetDir, messages)) KeyMapChanged();
}

void frmMain::mnuSPGEraseKeyDir_Click() {
    if (m_services.messages.AskOkCancel(QStringLiteral(
            "Are you sure you want to erase all classification directory hotkeys?"))) {
        EraseClassifyKeys();
    }
}

void frmMain::mnuSPGKeystroke_Click() {
    if (!FileChoices::AskForKeystrokeFolder(CommonDialog1)) return;
    if (!m_keystrokeDialog) {
        m_keystrokeDialog =
            std::make_unique<frmKeystroke>(*this, CommonDialog1, m_services.dpi, this);
    }
    m_keystrokeDialog->Initialize(CommonDialog1.FileName);
    m_keystrokeDialog->exec();
}

bool frmMain::Form_KeyDown(const KeyStroke& keyStroke) {
    // A message that waited for the user's next keystroke has been seen.
    m_statusPresenter.ClearMessage();
    const std::optional<ClassifierKeyMap::Binding> binding = m_keyBindings.Find(keyStroke);
    if (!binding) return !PlaybackKey(keyStroke) && KeyNotBound(keyStroke);
    {
        const GridSuggestions::MoveHold moving(m_suggestions);
        const StatusPresenter::Hold hold(m_statusPresenter);
        const QString keyText = mdlKeycodes::KeyText(keyStroke.KeyCode, keyStroke.Shift);
        if (binding->classifyAll) {
            m_classifier.ClassifyAllVisible(binding->targetDir, keyText);
        } else {
            using Advance = CellClassifier::Advance;
            const Advance advance = !m_menu.IsTabChecked()      ? Advance::Stay
                                    : m_sorting.SkipSortedCells ? Advance::NextUnsorted
                                                                : Advance::NextCell;
            m_classifier.ClassifySelection(binding->targetDir, advance, keyText);
        }
    }
    ClassificationChanged();
    return false;
}

bool frmMain::KeyNotBound(const KeyStroke& keyStroke) {
    if (m_sorting.ArrowKeys) {
        const std::optional<int> target = GridNavigation::Target(
            keyStroke, m_classifiedGrid.SelectedIndex(), GridColumns(), VisibleCellCount());
        if (target) {
            Cell(*target).GiveFocus();
            return true;
        }
    }
    const QString hint = StatusText::NotBound(keyStroke);
    if (!hint.isEmpty()) m_statusPresenter.ShowMessage(hint);
    return false;
}

void frmMain::ClassificationChanged() {
    // A recording taken back shows its suggestion again, a moved one none.
    m_suggestions.Refresh();
    UpdateUndoCommand();
    if (m_keyLegend) m_keyLegend->Refresh();
    RefreshSelectionViews();
}

void frmMain::RefreshSelectionViews() {
    RefreshStatus();
    // A moved recording keeps its sample rate and length: the cell's control
    // tells of no new load, and the loupe learns its new path here.
    if (m_loupe) m_loupe->Refresh();
}

void frmMain::KeyMapChanged() {
    if (m_holdKeyMapChanged) return;
    m_menu.FollowBindings(m_keyBindings.Map());
    if (m_keyLegend) m_keyLegend->Refresh();
    QStringList folders;
    for (const QString& key : m_keyBindings.Map().Keys())
        folders.append(m_keyBindings.Map().Dir(key));
    m_suggestions.SetFolders(folders);
}

void frmMain::mnuSPGUndo_Click() {
    m_statusPresenter.ClearMessage();
    {
        const GridSuggestions::MoveHold moving(m_suggestions);
        m_classifier.Undo();
    }
    ClassificationChanged();
}

void frmMain::mnuFileKeyListExport_Click() {
    KeyListCommands::Export(CommonDialog1, m_keyBindings.Map(), m_services.fileWriter,
                            m_services.messages);
}

void frmMain::mnuFileKeyListImport_Click() {
    {
        // Following every line makes an import of n lines cost n times n.
        const QScopedValueRollback<bool> hold(m_holdKeyMapChanged, true);
        KeyListCommands::Import(CommonDialog1, *this, m_services.messages);
    }
    KeyMapChanged();
}

void frmMain::mnuSPGOptions_Click() {
    m_options->Update();
    m_options->ShowModeless();
}

void frmMain::mnuSPGKeyBindings_Click() {
    m_keyLegend->ShowModeless();
}

void frmMain::mnuSPGLoupe_Click() {
    m_loupe->ShowModeless();
}

void frmMain::mnuSPGPreferences_Click() {
    m_preferences->Update();
    m_preferences->ShowModeless();
}

void frmMain::mnuSPGFieldView_Click() {
    RecordingOptions options = GetRecordingOptions();
    options.SetFieldView(m_menu.IsFieldViewChecked());
    SetRecordingOptions(options);
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout::ShowModal(m_services.dpi, this);
}
