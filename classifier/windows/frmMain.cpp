#include "windows/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScopedValueRollback>

#include "core/CorvaneError.h"
#include "core/Twips.h"
#include "files/FileMover.h"
#include "files/FileSystem.h"
#include "files/SafeFileWriter.h"
#include "files/WaveBatch.h"
#include "host/ControlModule.h"
#include "host/QtMessageBox.h"
#include "keys/KeyEventTranslation.h"
#include "keys/TargetFolder.h"
#include "keys/mdlKeycodes.h"
#include "keys/ui/KeyListCommands.h"
#include "keys/ui/frmKeystroke.h"
#include "settings/CellSizeLimits.h"
#include "settings/SettingsOperations.h"
#include "settings/SettingsStore.h"
#include "sorting/StatusText.h"
#include "windows/ActiveTextEditor.h"
#include "windows/MainStatusBar.h"
#include "windows/frmAbout.h"
#include "windows/frmKeyLegend.h"
#include "windows/frmOptions.h"

namespace {

WaveBatch::WaveNames WaveNamesOf(const RecordingOptions& options) {
    return options.AnyCaseWave ? WaveBatch::WaveNames::AnyCase
                               : WaveBatch::WaveNames::LowerCaseOnly;
}

}  // namespace

frmMain::frmMain(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent),
      m_services(services),
      CommonDialog1(services.fileDialogAsker),
      m_cells(*this),
      m_classifier(m_cells, services.fileMover, services.messages) {
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
    for (SonoluxBord* cell : ctlSonoluxBord) {
        disconnect(cell, nullptr, this, nullptr);
        cell->Sonolux1()->removeEventFilter(this);
    }
}

void frmMain::createUi() {
    setWindowTitle(QStringLiteral("Corvane"));
    m_clientArea = new QWidget(this);
    m_clientArea->installEventFilter(this);
    setCentralWidget(m_clientArea);
    m_status = new MainStatusBar(this);
    setStatusBar(m_status);
}

void frmMain::SizeToInitialClientArea() {
    const int width = Twips::ToPixels(InitialClientWidth, m_services.dpi.x);
    const int height = Twips::ToPixels(InitialClientHeight, m_services.dpi.y);
    // The status bar comes on top of the client area, never out of it.
    resize(width, height + menuBar()->sizeHint().height() + m_status->sizeHint().height());
}

QAction* frmMain::AddAction(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, void (frmMain::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    if (handler) connect(action, &QAction::triggered, this, handler);
    // A command may have left another folder in the file dialog, or another batch.
    connect(action, &QAction::triggered, this, &frmMain::RefreshStatus);
    return action;
}

void frmMain::createMenus() {
    createFileMenu();
    createEditMenu();
    createSpectrogramMenu();
    QMenu* mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    AddAction(mnuHelp, "mnuHelpAbout", QStringLiteral("&About..."), QKeySequence(),
              &frmMain::mnuHelpAbout_Click);
    for (QAction* action : menuBar()->findChildren<QAction*>()) m_menuShortcuts.Add(action);
}

void frmMain::connectUi() {
    // An enabled Edit item would take its key (Del, Ctrl+C, ...) before the
    // cells see it: the items are enabled only while a text box has the focus.
    connect(qApp, &QApplication::focusChanged, this, &frmMain::mnuEdit_Click);
    // A keystroke with Tab after Classify moves the focus too: it refreshes once, after.
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (!m_holdStatus) RefreshStatus();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmMain::mnuEdit_Click);
    mnuEdit_Click();
}

void frmMain::createFileMenu() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    AddAction(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."),
              QKeySequence(QStringLiteral("Ctrl+O")), &frmMain::mnuFileOpen_Click);
    AddAction(mnuFile, "mnuFileMany", QStringLiteral("Open &Many..."),
              QKeySequence(QStringLiteral("Ctrl+M")), &frmMain::mnuFileMany_Click);
    AddAction(mnuFile, "mnuFileNextBatch", QStringLiteral("Next Batch"),
              QKeySequence(QStringLiteral("Ctrl+B")), &frmMain::mnuFileNextBatch_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    AddAction(mnuFile, "mnuFileKeyListImport", QStringLiteral("&Import classifier keys..."),
              QKeySequence(), &frmMain::mnuFileKeyListImport_Click);
    AddAction(mnuFile, "mnuFileKeyListExport", QStringLiteral("&Export classifier keys..."),
              QKeySequence(), &frmMain::mnuFileKeyListExport_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar2"));
    AddAction(mnuFile, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(),
              &frmMain::mnuFileExit_Click);
}

void frmMain::createEditMenu() {
    QMenu* mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmMain::mnuEdit_Click);
    mnuEditCut = AddAction(mnuEdit, "mnuEditCut", QStringLiteral("Cut"),
                           QKeySequence(QStringLiteral("Ctrl+X")), &frmMain::mnuEditCut_Click);
    mnuEditCopy = AddAction(mnuEdit, "mnuEditCopy", QStringLiteral("Copy"),
                            QKeySequence(QStringLiteral("Ctrl+C")), &frmMain::mnuEditCopy_Click);
    mnuEditPaste = AddAction(mnuEdit, "mnuEditPaste", QStringLiteral("Paste"),
                             QKeySequence(QStringLiteral("Ctrl+V")), &frmMain::mnuEditPaste_Click);
    mnuEditClear = AddAction(mnuEdit, "mnuEditClear", QStringLiteral("Clear"),
                             QKeySequence(QStringLiteral("Del")), &frmMain::mnuEditClear_Click);
}

void frmMain::createSpectrogramMenu() {
    QMenu* mnuSPG = menuBar()->addMenu(QStringLiteral("&Spectrogram"));
    mnuSPG->setObjectName(QStringLiteral("mnuSPG"));
    AddAction(mnuSPG, "mnuSPGKeystroke", QStringLiteral("&Set keystroke directory..."),
              QKeySequence(), &frmMain::mnuSPGKeystroke_Click);
    AddAction(mnuSPG, "mnuSPGEraseKeyDir", QStringLiteral("&Erase keystroke directories"),
              QKeySequence(), &frmMain::mnuSPGEraseKeyDir_Click);
    mnuSPGTab = AddAction(mnuSPG, "mnuSPGTab", QStringLiteral("Tab after Classify"), QKeySequence(),
                          nullptr);
    mnuSPGTab->setCheckable(true);
    mnuSPG->addSeparator()->setObjectName(QStringLiteral("mnuSPGBar1"));
    AddAction(mnuSPG, "mnuSPGClear", QStringLiteral("&Clear all"), QKeySequence(),
              &frmMain::mnuSPGClear_Click);
    AddAction(mnuSPG, "mnuSPGOptions", QStringLiteral("&Options..."), QKeySequence(),
              &frmMain::mnuSPGOptions_Click);
    mnuSPG->addSeparator()->setObjectName(QStringLiteral("mnuSPGBar2"));
    mnuSPGPlay = AddAction(mnuSPG, "mnuSPGPlay", QStringLiteral("&Play"), QKeySequence(),
                           &frmMain::mnuSPGPlay_Click);
    mnuSPGPlay->setCheckable(true);
    // What Corvane adds to the menu comes after its usual items, so that a
    // keyboard user who knows them reaches each one where it always was.
    mnuSPG->addSeparator()->setObjectName(QStringLiteral("mnuSPGBar3"));
    mnuSPGUndo = AddAction(mnuSPG, "mnuSPGUndo", QString(), QKeySequence(QStringLiteral("Ctrl+Z")),
                           &frmMain::mnuSPGUndo_Click);
    UpdateUndoCommand();
    AddAction(mnuSPG, "mnuSPGKeyBindings", QStringLiteral("Key &Bindings..."), QKeySequence(),
              &frmMain::mnuSPGKeyBindings_Click);
}

void frmMain::Form_Load() {
    CreateCell();
    SettingsOperations::LoadViewSettings(
        m_services.settings, *this, CellSizeLimits::ForDesktop(m_services.dpi.x, m_services.dpi.y));
    try {
        SettingsOperations::LoadSPGSettings(m_services.settings, *this);
    } catch (const CorvaneError&) {
        // Stored values are checked on reading; a cell refusing one keeps its own.
    }
    SettingsOperations::LoadRecordingSettings(m_services.settings, *this);
    m_optionsMessages = std::make_unique<QtMessageBox>();
    m_options = std::make_unique<frmOptions>(*this, *m_optionsMessages, m_services.dpi);
    m_optionsMessages->SetOwner(m_options.get());
    m_options->Update();
    m_keyMap.Clear();
    mdlKeycodes::BuildKeyTables();
    LoadKeyLegend();
}

void frmMain::LoadKeyLegend() {
    m_keyLegend = std::make_unique<frmKeyLegend>(
        m_keyMap, [this](const QString& folder) { return m_classifier.MovedInto(folder); }, this);
    const SettingsOperations::KeyLegendSettings legend =
        SettingsOperations::LoadKeyLegendSettings(m_services.settings);
    if (legend.placement) m_keyLegend->Place(*legend.placement);
    m_keyLegendAtStart = legend.visible;
}

void frmMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    SettingsOperations::SaveViewSettings(m_services.settings, *this);
    SettingsOperations::SaveSPGSettings(m_services.settings, *this);
    SettingsOperations::SaveRecordingSettings(m_services.settings, *this);
    SettingsOperations::SaveKeyLegendSettings(m_services.settings,
                                              {m_keyLegend->isVisible(), m_keyLegend->Placement()});
    const QString error = m_services.settings.Commit();
    if (!error.isEmpty()) m_services.messages.Warn(error);
    m_options.reset();
    m_keystrokeDialog.reset();
}

SonoluxBord* frmMain::SelectedCell() const {
    const QWidget* focused = focusWidget();
    auto* cell = focused ? qobject_cast<SonoluxBord*>(focused->parentWidget()) : nullptr;
    return cell && cell->isVisible() ? cell : nullptr;
}

void frmMain::UpdateCellSizes(std::int32_t cellWidth, std::int32_t cellHeight, bool) {
    if (cellWidth == CellWidth && cellHeight == CellHeight) return;
    CellWidth = cellWidth;
    CellHeight = cellHeight;
    ArrangeCells();
}

void frmMain::GetCellSize(std::int32_t& cellWidth, std::int32_t& cellHeight) const {
    cellWidth = CellWidth;
    cellHeight = CellHeight;
}

void frmMain::CreateCell() {
    QWidget* control = m_services.controls.CreateControl(nullptr);
    if (!control)
        throw CorvaneError(CorvaneErrorNumber::ControlNotCreated,
                           QStringLiteral("The spectrogram control cannot be created."));
    const int index = static_cast<int>(ctlSonoluxBord.size());
    auto* cell = new SonoluxBord(control, index, m_services.dpi, m_clientArea);
    cell->setObjectName(QStringLiteral("ctlSonoluxBord%1").arg(index));
    // Key preview: the window sees every key pressed on a cell before the cell does.
    control->installEventFilter(this);
    connect(cell, &SonoluxBord::LoadStateChanged, this, [this](int changed) {
        if (m_holdStatus) return;
        const SonoluxBord* selected = SelectedCell();
        if (selected && selected->Index() == changed) RefreshStatus();
    });
    connect(cell, &SonoluxBord::PlayStateChanged, this, &frmMain::ShowPlayState);
    if (index > 0) {
        // Every cell shows recordings with the same parameter set.
        std::int32_t fft, frame, hop, window;
        float powerMax, powerMin;
        ctlSonoluxBord.front()->GetSPGParams(fft, frame, hop, window, powerMax, powerMin);
        cell->UpdateSPGParams(fft, frame, hop, window, powerMax, powerMin);
    }
    // A cell made after the options were set reads its recordings as the others do.
    cell->SetFrameLimit(m_recordings.FrameLimit());
    cell->SetFloatSamples(m_recordings.FloatSamples);
    ctlSonoluxBord.push_back(cell);
}

bool frmMain::CreateCellsUpTo(int count) {
    try {
        while (LoadedCellCount() < count) CreateCell();
    } catch (const CorvaneError& error) {
        // Inside a resize: report it once, and let the grid grow no further.
        m_cellLimit = LoadedCellCount();
        m_services.messages.Warn(error.Description());
        return false;
    }
    return true;
}

void frmMain::ArrangeCells() {
    m_grid = GridLayout::Compute(m_clientWidthTwips, m_clientHeightTwips, CellWidth, CellHeight,
                                 m_cellLimit);
    if (!CreateCellsUpTo(m_grid.CellCount())) {
        m_grid = GridLayout::Compute(m_clientWidthTwips, m_clientHeightTwips, CellWidth, CellHeight,
                                     m_cellLimit);
    }
    const bool play = mnuSPGPlay->isChecked();
    int i = 0;
    for (; i < m_grid.CellCount(); ++i) {
        SonoluxBord& cell = Cell(i);
        cell.SetPlay(play);
        cell.SetWidth(CellWidth);
        cell.SetHeight(CellHeight);
        cell.SetTop(m_grid.CellTop(i));
        cell.SetLeft(m_grid.CellLeft(i));
        cell.setVisible(true);
    }
    // Cell 0 stays where it was when no cell fits: the window never shows nothing.
    for (; i < LoadedCellCount(); ++i) {
        if (i != 0) Cell(i).setVisible(false);
    }
}

void frmMain::ClearCells() {
    m_holdStatus = true;
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetFilename(QString());
    m_holdStatus = false;
}

bool frmMain::AskForWaveFile() {
    CommonDialog1.CancelError = true;
    CommonDialog1.Flags = CommonDialog::FileMustExist | CommonDialog::HideReadOnly;
    CommonDialog1.Filter = QStringLiteral("Wave files|*.wav");
    try {
        CommonDialog1.ShowOpen();
    } catch (const CorvaneError&) {
        return false;
    }
    return true;
}

void frmMain::mnuFileOpen_Click() {
    SonoluxBord* target = SelectedCell();
    if (!AskForWaveFile()) return;
    if (!target) target = &Cell(0);
    target->SetFilename(FileSystem::GetAbsolutePathName(CommonDialog1.FileName));
}

void frmMain::mnuFileMany_Click() {
    if (!AskForWaveFile()) return;
    FillBatch(FileSystem::GetParentFolderName(CommonDialog1.FileName));
}

void frmMain::mnuFileNextBatch_Click() {
    if (CommonDialog1.FileName.isEmpty()) {
        mnuFileMany_Click();
        return;
    }
    ClearCells();
    // A dialog path without a folder, or a folder that is gone, leaves the grid empty.
    FillBatch(FileSystem::GetParentFolderName(CommonDialog1.FileName));
}

void frmMain::FillBatch(const QString& folder) {
    if (folder.isEmpty()) return;
    m_holdStatus = true;
    const WaveBatch::Batch batch =
        WaveBatch::FirstWaveFiles(folder, m_grid.CellCount(), WaveNamesOf(m_recordings));
    for (int n = 0; n < batch.paths.size(); ++n) Cell(n).SetFilename(batch.paths[n]);
    m_holdStatus = false;
    m_nextBatch.Listed(folder, batch.total);
    RefreshStatus();
    if (batch.unreadableNames > 0) ReportUnreadableNames(folder, batch.unreadableNames);
}

void frmMain::ReportUnreadableNames(const QString& folder, int count) {
    m_services.messages.Warn(
        count == 1 ? QStringLiteral("1 wave file in \"%1\" was skipped: its name is not valid "
                                    "UTF-8 text, so Corvane cannot show or move it safely. Rename "
                                    "it to sort it.")
                         .arg(folder)
                   : QStringLiteral("%1 wave files in \"%2\" were skipped: their names are not "
                                    "valid UTF-8 text, so Corvane cannot show or move them safely. "
                                    "Rename them to sort them.")
                         .arg(count)
                         .arg(folder));
}

void frmMain::OpenFromCommandLine(const QString& path) {
    const QFileInfo target(path);
    if (!target.exists()) {
        m_services.messages.Warn(QStringLiteral("\"%1\" does not exist.").arg(path));
        return;
    }
    QString folder;
    if (target.isDir()) {
        folder = FileSystem::GetAbsolutePathName(path);
        const QStringList first =
            WaveBatch::FirstWaveFiles(folder, 1, WaveNamesOf(m_recordings)).paths;
        CommonDialog1.FileName = first.isEmpty()
                                     ? FileSystem::BuildPath(folder, QStringLiteral("any.wav"))
                                     : first.front();
    } else {
        CommonDialog1.FileName = FileSystem::GetAbsolutePathName(path);
        folder = FileSystem::GetParentFolderName(CommonDialog1.FileName);
    }
    FillBatch(folder);
}

void frmMain::mnuSPGPlay_Click() {
    // The action has already toggled its check mark.
    const bool play = mnuSPGPlay->isChecked();
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetPlay(play);
}

bool frmMain::IsPlayChecked() const {
    return mnuSPGPlay->isChecked();
}

void frmMain::SetPlayChecked(bool checked) {
    mnuSPGPlay->setChecked(checked);
}

void frmMain::SetRecordingOptions(const RecordingOptions& options) {
    m_recordings = options;
    // A control reloads its recording only when a value really changes.
    for (SonoluxBord* cell : ctlSonoluxBord) {
        cell->SetFrameLimit(options.FrameLimit());
        cell->SetFloatSamples(options.FloatSamples);
    }
}

void frmMain::UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                              std::int32_t HopSize, std::int32_t WindowFunctionChoice,
                              float PowerMax, float PowerMin) {
    for (SonoluxBord* cell : ctlSonoluxBord) {
        cell->UpdateSPGParams(FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice,
                              PowerMax, PowerMin);
    }
}

void frmMain::GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                           std::int32_t& HopSize, std::int32_t& WindowFunctionChoice,
                           float& PowerMax, float& PowerMin) const {
    const SonoluxBord* source = SelectedCell();
    if (!source) source = ctlSonoluxBord.front();
    source->GetSPGParams(FFTSizeChoice, FrameLengthChoice, HopSize, WindowFunctionChoice, PowerMax,
                         PowerMin);
}

void frmMain::mnuFileExit_Click() {
    close();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != m_clientArea) {
        Form_KeyDown(KeyStrokeFromEvent(*static_cast<QKeyEvent*>(event)));
        return false;  // the key still reaches the cell
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Leave)
        ShowPointerReadout(watched, event);
    if (watched == m_clientArea && event->type() == QEvent::Resize) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        m_clientWidthTwips = Twips::FromPixelsExact(size.width(), m_services.dpi.x);
        m_clientHeightTwips = Twips::FromPixelsExact(size.height(), m_services.dpi.y);
        ArrangeCells();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    Cell(0).GiveFocus();
    if (m_keyLegendAtStart) m_keyLegend->ShowModeless();
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                             const QString& TargetDir) {
    SetClassifyKey(keyCode, shift, classifyAll, TargetDir, m_services.messages);
}

void frmMain::SetClassifyKey(std::int16_t keyCode, std::int16_t shift, bool classifyAll,
                             const QString& TargetDir, IMessageBox& messages) {
    // A bad folder is refused before anything else: the user must hear about
    // it even when the keystroke also happens to be taken.
    const std::optional<QString> folder = TargetFolder::AsFolderPath(TargetDir);
    if (!folder) {
        messages.Warn(
            TargetFolder::RefusalMessage(TargetDir, mdlKeycodes::KeyText(keyCode, shift)));
        return;
    }
    QString boundDir;
    if (m_keyMap.Add(keyCode, shift, classifyAll, *folder, &boundDir)) {
        KeyMapChanged();
        return;
    }
    messages.Warn(QStringLiteral("Keystroke %1 is already being used for %2")
                      .arg(mdlKeycodes::KeyText(keyCode, shift), boundDir));
}

void frmMain::mnuSPGEraseKeyDir_Click() {
    if (m_services.messages.AskOkCancel(QStringLiteral(
            "Are you sure you want to erase all classification directory hotkeys?"))) {
        EraseClassifyKeys();
    }
}

void frmMain::EraseClassifyKeys() {
    m_keyMap.Clear();
    KeyMapChanged();
}

void frmMain::mnuSPGKeystroke_Click() {
    CommonDialog1.FileName = QStringLiteral("any.wav");
    CommonDialog1.CancelError = true;
    CommonDialog1.Flags = CommonDialog::HideReadOnly;
    CommonDialog1.DefaultExt = QStringLiteral(".wav");
    try {
        CommonDialog1.ShowSave();
    } catch (const CorvaneError&) {
        return;
    }
    if (!m_keystrokeDialog) {
        m_keystrokeDialog =
            std::make_unique<frmKeystroke>(*this, CommonDialog1, m_services.dpi, this);
    }
    m_keystrokeDialog->Initialize(CommonDialog1.FileName);
    m_keystrokeDialog->exec();
}

void frmMain::Form_KeyDown(const KeyStroke& keyStroke) {
    const std::optional<ClassifierKeyMap::Binding> binding =
        m_keyMap.Find(mdlKeycodes::BindingKey(keyStroke));
    if (!binding) return;
    m_status->clearMessage();
    m_holdStatus = true;
    if (binding->classifyAll) {
        m_classifier.ClassifyAllVisible(binding->targetDir);
    } else {
        m_classifier.ClassifySelection(binding->targetDir, mnuSPGTab->isChecked());
    }
    m_holdStatus = false;
    ClassificationChanged();
}

void frmMain::ClassificationChanged() {
    UpdateUndoCommand();
    if (m_keyLegend) m_keyLegend->Refresh();
    RefreshStatus();
}

void frmMain::RefreshStatus() {
    const SonoluxBord* selected = SelectedCell();
    m_status->ShowRecording(
        selected ? StatusText::Recording(selected->Filename(), selected->RecordingInfo())
                 : QString());
    const StatusText::NextBatchLine line =
        StatusText::NextBatch(CommonDialog1.FileName, m_nextBatch.Folder(), m_nextBatch.Left());
    m_status->ShowNextBatch(line.text, line.warning);
}

void frmMain::ShowPointerReadout(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    auto* cell = control ? qobject_cast<SonoluxBord*>(control->parentWidget()) : nullptr;
    if (!cell || event->type() == QEvent::Leave || cell->Filename().isEmpty() ||
        !cell->IsLoaded()) {
        m_status->ShowPointer(QString());
        return;
    }
    const StatusText::RecordingInfo info = cell->RecordingInfo();
    m_status->ShowPointer(
        StatusText::Pointer(static_cast<QMouseEvent*>(event)->position().toPoint(), control->size(),
                            info.sampleRate, info.loadedFrames));
}

void frmMain::ShowPlayState(int index) {
    const SonoluxBord& cell = Cell(index);
    const QString text = StatusText::Play(cell.Filename(), cell.IsPlaying(), cell.PlayError());
    if (text.isEmpty()) {
        m_status->clearMessage();
    } else {
        m_status->showMessage(text);
    }
}

void frmMain::KeyMapChanged() {
    if (m_holdKeyMapChanged) return;
    m_menuShortcuts.Follow(m_keyMap);
    if (m_keyLegend) m_keyLegend->Refresh();
}

QString frmMain::ClassifiedCells::CellFilename(int index) const {
    return m_window.Cell(index).Filename();
}

void frmMain::ClassifiedCells::FollowMove(int index, const QString& path) {
    m_window.Cell(index).FollowMove(path);
}

void frmMain::ClassifiedCells::RecordingMoved(const QString& from, const QString& to) {
    m_window.m_nextBatch.Moved(from, to);
}

void frmMain::ClassifiedCells::MoveFailed(const QString& path, const QString& target) {
    m_window.m_status->showMessage(StatusText::MoveFailed(path, target));
}

void frmMain::ClassifiedCells::MoveWarned(const QString& warning) {
    m_window.m_status->showMessage(warning);
}

int frmMain::ClassifiedCells::SelectedIndex() const {
    const SonoluxBord* selected = m_window.SelectedCell();
    return selected ? selected->Index() : -1;
}

void frmMain::ClassifiedCells::SelectCell(int index) {
    m_window.Cell(index).GiveFocus();
}

void frmMain::mnuSPGUndo_Click() {
    m_status->clearMessage();
    m_classifier.Undo();
    ClassificationChanged();
}

void frmMain::UpdateUndoCommand() {
    mnuSPGUndo->setText(m_classifier.UndoCaption());
    mnuSPGUndo->setEnabled(m_classifier.CanUndo());
}

void frmMain::mnuEdit_Click() {
    const bool textControl = ActiveTextEditor::IsTextControlActive();
    mnuEditCut->setEnabled(textControl);
    mnuEditCopy->setEnabled(textControl);
    mnuEditClear->setEnabled(textControl);
    mnuEditPaste->setEnabled(textControl && ActiveTextEditor::ClipboardHoldsText());
}

void frmMain::mnuFileKeyListExport_Click() {
    KeyListCommands::Export(CommonDialog1, m_keyMap, m_services.fileWriter, m_services.messages);
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

void frmMain::mnuHelpAbout_Click() {
    frmAbout::ShowModal(m_services.dpi, this);
}
