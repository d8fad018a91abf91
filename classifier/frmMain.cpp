#include "frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QResizeEvent>

#include "ControlModule.h"
#include "CorvaneError.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "Twips.h"
#include "WaveBatch.h"

frmMain::frmMain(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services), CommonDialog1(services.fileDialogAsker) {
    createUi();
    createMenus();
    SizeToInitialClientArea();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::createUi() {
    setWindowTitle(QStringLiteral("Corvane"));
    m_clientArea = new QWidget(this);
    m_clientArea->installEventFilter(this);
    setCentralWidget(m_clientArea);
}

void frmMain::SizeToInitialClientArea() {
    const int width = Twips::ToPixels(InitialClientWidth, m_services.dpi.x);
    const int height = Twips::ToPixels(InitialClientHeight, m_services.dpi.y);
    resize(width, height + menuBar()->sizeHint().height());
}

QAction* frmMain::AddAction(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, void (frmMain::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void frmMain::createMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    AddAction(mnuFile, "mnuFileOpen", QStringLiteral("&Open..."),
              QKeySequence(QStringLiteral("Ctrl+O")), &frmMain::mnuFileOpen_Click);
    AddAction(mnuFile, "mnuFileMany", QStringLiteral("Open &Many..."),
              QKeySequence(QStringLiteral("Ctrl+M")), &frmMain::mnuFileMany_Click);
    AddAction(mnuFile, "mnuFileNextBatch", QStringLiteral("Next Batch"),
              QKeySequence(QStringLiteral("Ctrl+B")), &frmMain::mnuFileNextBatch_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
    AddAction(mnuFile, "mnuFileExit", QStringLiteral("E&xit"), QKeySequence(),
              &frmMain::mnuFileExit_Click);

    QMenu* mnuSPG = menuBar()->addMenu(QStringLiteral("&Spectrogram"));
    mnuSPG->setObjectName(QStringLiteral("mnuSPG"));
    mnuSPGPlay = AddAction(mnuSPG, "mnuSPGPlay", QStringLiteral("&Play"), QKeySequence(),
                           &frmMain::mnuSPGPlay_Click);
    mnuSPGPlay->setCheckable(true);
}

void frmMain::Form_Load() {
    CreateCell();
    // The first-run cell size and Play default; stored values take their place
    // once the settings store is read here.
    mnuSPGPlay->setChecked(false);
    UpdateCellSizes(DefaultCellWidth, DefaultCellHeight);
}

void frmMain::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
}

SonoluxBord* frmMain::SelectedCell() const {
    if (m_selectedIndex < 0 || m_selectedIndex >= static_cast<int>(ctlSonoluxBord.size()))
        return nullptr;
    return ctlSonoluxBord[static_cast<std::size_t>(m_selectedIndex)];
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
        throw CorvaneError(0, QStringLiteral("The spectrogram control cannot be created."));
    const int index = static_cast<int>(ctlSonoluxBord.size());
    auto* cell = new SonoluxBord(control, index, m_services.dpi, m_clientArea);
    cell->setObjectName(QStringLiteral("ctlSonoluxBord%1").arg(index));
    connect(cell, &SonoluxBord::Selected, this,
            [this](int selected) { m_selectedIndex = selected; });
    if (index > 0) {
        // Every cell shows recordings with the same parameter set.
        std::int32_t fft, frame, hop, window;
        float powerMax, powerMin;
        ctlSonoluxBord.front()->GetSPGParams(fft, frame, hop, window, powerMax, powerMin);
        cell->UpdateSPGParams(fft, frame, hop, window, powerMax, powerMin);
    }
    ctlSonoluxBord.push_back(cell);
}

void frmMain::ArrangeCells() {
    m_grid = GridLayout::Compute(m_clientWidthTwips, m_clientHeightTwips, CellWidth, CellHeight);
    const bool play = mnuSPGPlay->isChecked();
    int i = 0;
    for (; i < m_grid.CellCount(); ++i) {
        if (i > LoadedCellCount() - 1) CreateCell();
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
    for (SonoluxBord* cell : ctlSonoluxBord) cell->SetFilename(QString());
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
    const QStringList batch = WaveBatch::FirstWaveFiles(folder, m_grid.CellCount());
    for (int n = 0; n < batch.size(); ++n) Cell(n).SetFilename(batch[n]);
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
        const QStringList first = WaveBatch::FirstWaveFiles(folder, 1);
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

void frmMain::mnuFileExit_Click() {
    close();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
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
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}
