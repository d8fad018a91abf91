#include "windows/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "core/MainWindowValues.h"
#include "windows/PlaybackSpeed.h"
#include "windows/frmMain.h"

void MainMenu::Build(frmMain& window, std::function<void()> afterCommand) {
    m_window = &window;
    m_afterCommand = std::move(afterCommand);
    BuildFileMenu();
    BuildEditMenu();
    BuildSpectrogramMenu();
    BuildHelpMenu();
    for (QAction* action : window.menuBar()->findChildren<QAction*>()) m_shortcuts.Add(action);
}

QAction* MainMenu::AddAction(QMenu* menu, const char* name, const QString& caption,
                             const QKeySequence& shortcut, void (frmMain::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    if (handler) QObject::connect(action, &QAction::triggered, m_window, handler);
    // A command may have left another folder in the file dialog, or another batch.
    QObject::connect(action, &QAction::triggered, m_window, m_afterCommand);
    return action;
}

void MainMenu::BuildFileMenu() {
    QMenu* mnuFile = m_window->menuBar()->addMenu(QStringLiteral("&File"));
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
    // Added after the usual items, as in the Spectrogram menu.
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileBar3"));
    AddAction(mnuFile, "mnuFileExportLabels", QStringLiteral("Export Labels..."), QKeySequence(),
              &frmMain::mnuFileExportLabels_Click);
}

void MainMenu::BuildEditMenu() {
    QMenu* mnuEdit = m_window->menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    QObject::connect(mnuEdit, &QMenu::aboutToShow, m_window, &frmMain::mnuEdit_Click);
    mnuEditCut = AddAction(mnuEdit, "mnuEditCut", QStringLiteral("Cut"),
                           QKeySequence(QStringLiteral("Ctrl+X")), &frmMain::mnuEditCut_Click);
    mnuEditCopy = AddAction(mnuEdit, "mnuEditCopy", QStringLiteral("Copy"),
                            QKeySequence(QStringLiteral("Ctrl+C")), &frmMain::mnuEditCopy_Click);
    mnuEditPaste = AddAction(mnuEdit, "mnuEditPaste", QStringLiteral("Paste"),
                             QKeySequence(QStringLiteral("Ctrl+V")), &frmMain::mnuEditPaste_Click);
    mnuEditClear = AddAction(mnuEdit, "mnuEditClear", QStringLiteral("Clear"),
                             QKeySequence(QStringLiteral("Del")), &frmMain::mnuEditClear_Click);
}

void MainMenu::BuildSpectrogramMenu() {
    QMenu* mnuSPG = m_window->menuBar()->addMenu(QStringLiteral("&Spectrogram"));
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
    AddAction(mnuSPG, "mnuSPGKeyBindings", QStringLiteral("Key &Bindings..."), QKeySequence(),
              &frmMain::mnuSPGKeyBindings_Click);
    AddAction(mnuSPG, "mnuSPGPreferences", QStringLiteral("&Preferences..."), QKeySequence(),
              &frmMain::mnuSPGPreferences_Click);
    mnuSPGFieldView = AddAction(mnuSPG, "mnuSPGFieldView", QStringLiteral("&Field View"),
                                QKeySequence(), &frmMain::mnuSPGFieldView_Click);
    mnuSPGFieldView->setCheckable(true);
    AddAction(mnuSPG, "mnuSPGLoupe", QStringLiteral("&Loupe..."), QKeySequence(),
              &frmMain::mnuSPGLoupe_Click);
    BuildPlaybackItems(mnuSPG);
    BuildSuggestionItems(mnuSPG);
}

void MainMenu::BuildPlaybackItems(QMenu* mnuSPG) {
    mnuSPG->addSeparator()->setObjectName(QStringLiteral("mnuSPGBar4"));
    QMenu* speeds = mnuSPG->addMenu(QStringLiteral("Playback Speed"));
    speeds->setObjectName(QStringLiteral("mnuSPGSpeed"));
    speeds->menuAction()->setObjectName(QStringLiteral("mnuSPGSpeed"));
    auto* group = new QActionGroup(speeds);
    for (const std::int16_t divisor : PlaybackOptions::SpeedDivisors) {
        const QByteArray name = "mnuSPGSpeed" + QByteArray::number(divisor);
        QAction* speed = AddAction(speeds, name.constData(), PlaybackSpeed::Caption(divisor),
                                   QKeySequence(), &frmMain::mnuSPGSpeed_Click);
        speed->setCheckable(true);
        speed->setData(divisor);
        group->addAction(speed);
        mnuSPGSpeed.push_back(speed);
    }
    mnuSPGSpeed.front()->setChecked(true);
    // Space and Escape act on a cell only, and the window's key preview gives
    // them there (frmMain::PlaybackKey) after any binding has had its turn: as
    // shortcuts they would be taken from every dialog and text box too. The
    // menu names them all the same.
    AddAction(mnuSPG, "mnuSPGPlaySelected", QStringLiteral("Play Selected\tSpace"), QKeySequence(),
              &frmMain::mnuSPGPlaySelected_Click);
    AddAction(mnuSPG, "mnuSPGStopPlaying", QStringLiteral("Stop Playing\tEsc"), QKeySequence(),
              &frmMain::mnuSPGStopPlaying_Click);
    mnuSPGPlayOnSelect = AddAction(mnuSPG, "mnuSPGPlayOnSelect", QStringLiteral("Play on Select"),
                                   QKeySequence(), &frmMain::mnuSPGPlayOnSelect_Click);
    mnuSPGPlayOnSelect->setCheckable(true);
}

void MainMenu::BuildSuggestionItems(QMenu* mnuSPG) {
    // No shortcut keys: users bind letters to their folders.
    mnuSPG->addSeparator()->setObjectName(QStringLiteral("mnuSPGBar5"));
    mnuSPGSuggestions = AddAction(mnuSPG, "mnuSPGSuggestions", QStringLiteral("Su&ggestions"),
                                  QKeySequence(), &frmMain::mnuSPGSuggestions_Click);
    mnuSPGSuggestions->setCheckable(true);
    mnuSPGAcceptSuggestions =
        AddAction(mnuSPG, "mnuSPGAcceptSuggestions", QStringLiteral("&Accept Suggestions"),
                  QKeySequence(), &frmMain::mnuSPGAcceptSuggestions_Click);
    mnuSPGOrderBySuggestion =
        AddAction(mnuSPG, "mnuSPGOrderBySuggestion", QStringLiteral("Order b&y Suggestion"),
                  QKeySequence(), &frmMain::mnuSPGOrderBySuggestion_Click);
    mnuSPGOrderBySuggestion->setCheckable(true);
    ShowSuggestionItems(false, false, false);
}

bool MainMenu::IsSuggestionsChecked() const {
    return mnuSPGSuggestions->isChecked();
}

bool MainMenu::IsOrderBySuggestionChecked() const {
    return mnuSPGOrderBySuggestion->isChecked();
}

void MainMenu::ShowSuggestionItems(bool show, bool orderBySuggestion, bool canAccept) {
    mnuSPGSuggestions->setChecked(show);
    mnuSPGOrderBySuggestion->setChecked(orderBySuggestion);
    mnuSPGOrderBySuggestion->setEnabled(show);
    mnuSPGAcceptSuggestions->setEnabled(show && canAccept);
}

void MainMenu::BuildHelpMenu() {
    QMenu* mnuHelp = m_window->menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    AddAction(mnuHelp, "mnuHelpAbout", QStringLiteral("&About..."), QKeySequence(),
              &frmMain::mnuHelpAbout_Click);
}

void MainMenu::EnableEditItems(bool textControl, bool canPaste) {
    mnuEditCut->setEnabled(textControl);
    mnuEditCopy->setEnabled(textControl);
    mnuEditClear->setEnabled(textControl);
    mnuEditPaste->setEnabled(canPaste);
}

void MainMenu::ShowUndo(const QString& caption, bool enabled) {
    mnuSPGUndo->setText(caption);
    mnuSPGUndo->setEnabled(enabled);
}

bool MainMenu::IsTabChecked() const {
    return mnuSPGTab->isChecked();
}

bool MainMenu::IsPlayChecked() const {
    return mnuSPGPlay->isChecked();
}

void MainMenu::SetPlayChecked(bool checked) {
    mnuSPGPlay->setChecked(checked);
}

bool MainMenu::IsFieldViewChecked() const {
    return mnuSPGFieldView->isChecked();
}

void MainMenu::SetFieldViewChecked(bool checked) {
    mnuSPGFieldView->setChecked(checked);
}

std::int16_t MainMenu::SpeedDivisor() const {
    for (const QAction* speed : mnuSPGSpeed) {
        if (speed->isChecked()) return static_cast<std::int16_t>(speed->data().toInt());
    }
    return 1;
}

void MainMenu::SetSpeedDivisor(std::int16_t divisor) {
    for (QAction* speed : mnuSPGSpeed) {
        if (speed->data().toInt() == divisor) speed->setChecked(true);
    }
}

bool MainMenu::IsPlayOnSelectChecked() const {
    return mnuSPGPlayOnSelect->isChecked();
}

void MainMenu::SetPlayOnSelectChecked(bool checked) {
    mnuSPGPlayOnSelect->setChecked(checked);
}
