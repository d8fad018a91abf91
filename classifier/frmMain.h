#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <vector>

#include "CommonDialog.h"
#include "GridLayout.h"
#include "SonoluxBord.h"

class ControlModule;
class IFileDialogAsker;
class IMessageBox;
class QAction;

// What the main window needs from outside: its message boxes, the question
// of its file dialog, the control module its cells' controls come from, and
// the screen's resolution. Tests hand in their own.
struct MainWindowServices {
    IMessageBox& messages;
    IFileDialogAsker& fileDialogAsker;
    ControlModule& controls;
    ScreenDpi dpi;
};

// The main window: a grid of spectrogram cells filled from a folder, batch by
// batch. All geometry is in twips.
class frmMain : public QMainWindow {
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

    void UpdateCellSizes(std::int32_t CellWidth, std::int32_t CellHeight, bool ForceUpdate = false);
    void GetCellSize(std::int32_t& CellWidth, std::int32_t& CellHeight) const;

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
    void mnuSPGPlay_Click();
    void mnuFileExit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createUi();
    void createMenus();
    void SizeToInitialClientArea();
    void Form_Load();
    void Form_Unload();
    void ArrangeCells();
    void ClearCells();
    void CreateCell();
    // Shows the dialog for a wave file; false when the user refused.
    bool AskForWaveFile();
    void FillBatch(const QString& folder);
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& shortcut, void (frmMain::*handler)());

    MainWindowServices m_services;
    QWidget* m_clientArea = nullptr;
    std::vector<SonoluxBord*> ctlSonoluxBord;
    GridLayout m_grid;
    std::int32_t CellWidth = 0;
    std::int32_t CellHeight = 0;
    double m_clientWidthTwips = InitialClientWidth;
    double m_clientHeightTwips = InitialClientHeight;
    int m_selectedIndex = -1;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    CommonDialog CommonDialog1;
    QAction* mnuSPGPlay = nullptr;
};
