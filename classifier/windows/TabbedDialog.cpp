#include "windows/TabbedDialog.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <exception>

#include "core/CorvaneError.h"
#include "core/MessageBox.h"
#include "keys/KeyEventTranslation.h"

namespace {

// Twips.
constexpr int ClientWidth = 6150;
constexpr int ClientHeight = 4875;
constexpr TwipsRect TabStripRect{120, 120, 5895, 4245};
constexpr int PageLeft = 210;
constexpr int HiddenPageLeft = -20000;
constexpr TwipsRect PageRect{PageLeft, 480, 5685, 3780};
constexpr int ButtonTop = 4455;

constexpr int TabKeyCode = 9;

}  // namespace

TabbedDialog::TabbedDialog(const QString& name, IMessageBox& messages, const ScreenDpi& dpi,
                           QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_name(name),
      m_messages(messages),
      m_layout(dpi) {
    setWindowTitle(name);
    // The layout was drawn for an 8-point dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(m_layout.X(ClientWidth), m_layout.Y(ClientHeight));
}

void TabbedDialog::createTabStrip(const std::vector<Tab>& tabs) {
    // QTabBar draws only the tabs; the frame below them stands for the rest
    // of the tab strip's area, behind the pages.
    auto* body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    m_tabStrip = new QTabBar(this);
    m_tabStrip->setObjectName(QStringLiteral("tbs") + m_name);
    m_tabStrip->setDrawBase(false);
    m_tabStrip->setExpanding(false);
    for (const Tab& tab : tabs) {
        const int index = m_tabStrip->addTab(QString::fromLatin1(tab.caption));
        m_tabStrip->setTabData(index, QString::fromLatin1(tab.key));
        m_tabStrip->setTabToolTip(index, QString::fromLatin1(tab.toolTip));
    }
    m_layout.Place(m_tabStrip, TabStripRect);
    const int tabHeight = m_tabStrip->sizeHint().height();
    body->setGeometry(m_tabStrip->x(), m_tabStrip->y() + tabHeight, m_tabStrip->width(),
                      m_tabStrip->height() - tabHeight);
    m_tabStrip->resize(m_tabStrip->width(), tabHeight);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("pic%1%2").arg(m_name).arg(i));
        m_layout.Place(page, PageRect);
        if (i > 0) page->move(m_layout.X(HiddenPageLeft), page->y());
        page->setEnabled(i == 0);
        m_pages.push_back(page);
    }
}

void TabbedDialog::createButtons() {
    const struct {
        QPushButton** target;
        const char* name;
        const char* caption;
        int left;
    } buttons[] = {{&cmdOK, "cmdOK", "OK", 2490},
                   {&cmdCancel, "cmdCancel", "Cancel", 3720},
                   {&cmdApply, "cmdApply", "Apply", 4920}};
    for (const auto& button : buttons) {
        *button.target = new QPushButton(QString::fromLatin1(button.caption), this);
        (*button.target)->setObjectName(QLatin1String(button.name));
        // No default button: Enter must not press OK or Apply.
        (*button.target)->setAutoDefault(false);
        (*button.target)->setDefault(false);
        m_layout.Place(*button.target, button.left, ButtonTop, 1095, 375);
    }
}

void TabbedDialog::connectUi() {
    connect(m_tabStrip, &QTabBar::currentChanged, this, [this] { ShowSelectedPage(); });
    connect(cmdApply, &QPushButton::clicked, this, &TabbedDialog::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &TabbedDialog::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &TabbedDialog::cmdCancel_Click);
    // Key preview: the dialog sees every key before the focused control does.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TabbedDialog::LoadIfUnloaded() {
    if (!m_loaded) Form_Load();
}

void TabbedDialog::Form_Load() {
    CentreOnScreen();
    OnLoad();
    m_tabStrip->setCurrentIndex(0);
    ShowSelectedPage();
    m_loaded = true;
}

void TabbedDialog::Form_Unload(int result) {
    m_loaded = false;
    QDialog::done(result);
}

void TabbedDialog::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TabbedDialog::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void TabbedDialog::ShowSelectedPage() {
    const int selected = m_tabStrip->currentIndex() + 1;
    for (int i = 0; i < static_cast<int>(m_pages.size()); ++i) {
        const bool shown = i == selected - 1;
        QWidget* page = Page(i);
        page->move(m_layout.X(shown ? PageLeft : HiddenPageLeft), page->y());
        page->setEnabled(shown);
    }
    // Disabling the page that held the focus leaves no control with it, and the
    // keyboard would then reach nothing in the dialog.
    if (isVisible() && !focusWidget()) m_tabStrip->setFocus(Qt::TabFocusReason);
}

bool TabbedDialog::eventFilter(QObject* watched, QEvent* event) {
    // A key the focused control ignores travels on to its parents as the same
    // event, no longer spontaneous; only its first receiver previews it.
    if (event->type() == QEvent::KeyPress && event->spontaneous()) {
        const KeyStroke stroke = KeyStrokeFromEvent(*static_cast<QKeyEvent*>(event));
        Form_KeyDown(stroke.KeyCode, stroke.Shift);
    }
    return QDialog::eventFilter(watched, event);
}

void TabbedDialog::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != TabKeyCode || shift != ShiftBit::Ctrl) return;
    const int selected = m_tabStrip->currentIndex() + 1;
    m_tabStrip->setCurrentIndex(selected == m_tabStrip->count() ? 0 : selected);
}

void TabbedDialog::cmdApply_Click() {
    Apply();
}

void TabbedDialog::cmdOK_Click() {
    Apply();
    Form_Unload(QDialog::Accepted);
}

void TabbedDialog::cmdCancel_Click() {
    Form_Unload(QDialog::Rejected);
}

void TabbedDialog::reject() {
    cmdCancel_Click();
}

bool TabbedDialog::Attempt(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const CorvaneError& error) {
        m_messages.InformOver(this, error.Description());
    } catch (const std::exception& error) {
        m_messages.InformOver(this, QString::fromLocal8Bit(error.what()));
    }
    return false;
}
