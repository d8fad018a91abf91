#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "windows/TwipsPlacement.h"

class IMessageBox;
class QPushButton;
class QTabBar;

// What the Options and Preferences dialogs share: a modeless dialog whose tab
// strip shows one page at a time (Ctrl+Tab steps through them), with OK,
// Cancel and Apply and no values of its own. Apply and OK push the pages'
// values to the main window; Cancel, Esc and the window frame's close push
// nothing.
//
// The dialog is loaded by its first refresh and unloaded (hidden, its fields
// stale) by OK, Cancel, Esc or its close button; loading it again centres it
// on the screen with the first tab selected.
class TabbedDialog : public QDialog {
    Q_OBJECT
public:
    // One tab of the strip; its page is the panel of the same position.
    struct Tab {
        const char* caption;
        const char* key;
        const char* toolTip;
    };

    // Shows the dialog modeless and brings it to the front.
    void ShowModeless();
    bool IsLoaded() const { return m_loaded; }

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    // `name` is the window title and names the tab strip ("tbs" + name) and
    // the page panels ("pic" + name + position). `messages` must outlive the
    // dialog.
    TabbedDialog(const QString& name, IMessageBox& messages, const ScreenDpi& dpi, QWidget* parent);

    // A subclass builds itself in this order: the tab strip with its page
    // panels, the pages' controls, the buttons, then connectUi.
    void createTabStrip(const std::vector<Tab>& tabs);
    void createButtons();
    void connectUi();
    QWidget* Page(int position) const { return m_pages.at(static_cast<std::size_t>(position)); }
    const TwipsPlacement& Layout() const { return m_layout; }

    // Loads the dialog when it is not loaded.
    void LoadIfUnloaded();
    // Runs one step of Apply; a step that throws is reported in a message box
    // over the dialog, with its own description, and gives false.
    bool Attempt(const std::function<void()>& step);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc and the window frame's close.
    void reject() override;

private:
    // What a subclass does while the dialog loads (filling its lists).
    virtual void OnLoad() {}
    // Pushes the pages' values to the main window, step by step through Attempt.
    virtual void Apply() = 0;

    void Form_Load();
    void Form_Unload(int result);
    void Form_KeyDown(int keyCode, int shift);
    void CentreOnScreen();
    void ShowSelectedPage();

    QString m_name;
    IMessageBox& m_messages;
    TwipsPlacement m_layout;
    bool m_loaded = false;
    QTabBar* m_tabStrip = nullptr;
    std::vector<QWidget*> m_pages;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;
};
