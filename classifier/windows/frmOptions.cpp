#include "windows/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <algorithm>
#include <exception>

#include "core/CorvaneError.h"
#include "core/MainWindowValues.h"
#include "core/MessageBox.h"
#include "core/Twips.h"
#include "keys/KeyEventTranslation.h"
#include "settings/TextConversion.h"

namespace {

// Twips.
constexpr int ClientWidth = 6150;
constexpr int ClientHeight = 4875;
constexpr int PageLeft = 210;
constexpr int HiddenPageLeft = -20000;
constexpr int PageTop = 480;
constexpr int PageWidth = 5685;
constexpr int PageHeight = 3780;

constexpr int TabKeyCode = 9;

const char* const SizeItems[] = {"8192", "4096", "2048", "1024", "512", "256", "128", "64", "32"};
const char* const WindowItems[] = {"Hamming", "Hanning", "Rectangular", "Blackman", "Bartlett"};

// List position of a choice whose numbers fall while the choice rises.
int ReversedPosition(const QComboBox* list, std::int32_t choice) {
    return (list->count() - 1) - choice;
}

// Selects `position`, or nothing when the list has no such position.
void SelectPosition(QComboBox* list, std::int32_t position) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

}  // namespace

frmOptions::frmOptions(IMainWindowValues& mainWindow, IMessageBox& messages, const ScreenDpi& dpi,
                       QSize desktop, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_mainWindow(mainWindow),
      m_messages(messages),
      m_dpi(dpi),
      m_cellSizeLimits(CellSizeLimits::ForDesktop(dpi.x, dpi.y, desktop)) {
    createUi();
    connectUi();
}

void frmOptions::Place(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(Twips::ToPixels(left, m_dpi.x), Twips::ToPixels(top, m_dpi.y),
                        Twips::ToPixels(width, m_dpi.x), Twips::ToPixels(height, m_dpi.y));
}

void frmOptions::PlaceLabel(QLabel* label, int left, int top, int width, int height) const {
    Place(label, left, top, width, height);
    // The platform's font can be wider than the one the layout was drawn for;
    // a right-aligned caption then grows to the left, as far as the inside of
    // its frame, and only then to the right, rather than losing letters or
    // covering the frame's edge.
    const int needed = label->sizeHint().width();
    if (needed <= label->width()) return;
    const int innerLeft = label->parentWidget()->contentsRect().left();
    const int right = label->geometry().right() + 1;
    label->setGeometry(std::max(innerLeft, right - needed), label->y(), needed, label->height());
}

void frmOptions::createUi() {
    setWindowTitle(QStringLiteral("Options"));
    // The layout was drawn for an 8-point dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(Twips::ToPixels(ClientWidth, m_dpi.x), Twips::ToPixels(ClientHeight, m_dpi.y));
    createTabStrip();
    createSizePage();
    createParametersPage();
    createRecordingsPage();
    createButtons();
}

void frmOptions::createTabStrip() {
    // QTabBar draws only the tabs; the frame below them stands for the rest
    // of the tab strip's area, behind the pages.
    auto* body = new QFrame(this);
    body->setFrameShape(QFrame::StyledPanel);
    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setDrawBase(false);
    tbsOptions->setExpanding(false);
    const struct {
        const char* caption;
        const char* key;
        const char* toolTip;
    } tabs[] = {{"Size", "grpSize", "Spectrogram viewer size"},
                {"Parameters", "grpParams", "Spectrogram parameters"},
                {"Recordings", "grpRecordings", "How recordings are listed and read"}};
    for (const auto& tab : tabs) {
        const int index = tbsOptions->addTab(QString::fromLatin1(tab.caption));
        tbsOptions->setTabData(index, QString::fromLatin1(tab.key));
        tbsOptions->setTabToolTip(index, QString::fromLatin1(tab.toolTip));
    }
    Place(tbsOptions, 120, 120, 5895, 4245);
    const int tabHeight = tbsOptions->sizeHint().height();
    body->setGeometry(tbsOptions->x(), tbsOptions->y() + tabHeight, tbsOptions->width(),
                      tbsOptions->height() - tabHeight);
    tbsOptions->resize(tbsOptions->width(), tabHeight);
}

namespace {

QLabel* AddLabel(QWidget* container, const char* caption) {
    auto* label = new QLabel(QString::fromLatin1(caption), container);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

template <typename Widget>
Widget* AddNamed(QWidget* container, const char* name) {
    auto* widget = new Widget(container);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

void frmOptions::createSizePage() {
    picOptions[0] = AddNamed<QWidget>(this, "picOptions0");
    Place(picOptions[0], PageLeft, PageTop, PageWidth, PageHeight);
    fraSample1 = AddNamed<QGroupBox>(picOptions[0], "fraSample1");
    fraSample1->setTitle(QStringLiteral("Spectrogram Size (in Twips)"));
    Place(fraSample1, 120, 240, 5415, 3225);
    PlaceLabel(AddLabel(fraSample1, "Width:"), 600, 480, 615, 255);
    txtCellWidth = AddNamed<QLineEdit>(fraSample1, "txtCellWidth");
    txtCellWidth->setText(QStringLiteral("1500"));
    Place(txtCellWidth, 1320, 480, 975, 285);
    PlaceLabel(AddLabel(fraSample1, "Height:"), 600, 960, 615, 255);
    txtCellHeight = AddNamed<QLineEdit>(fraSample1, "txtCellHeight");
    txtCellHeight->setText(QStringLiteral("1000"));
    Place(txtCellHeight, 1320, 960, 975, 285);
}

void frmOptions::createParametersPage() {
    picOptions[1] = AddNamed<QWidget>(this, "picOptions1");
    Place(picOptions[1], HiddenPageLeft, PageTop, PageWidth, PageHeight);
    fraSample2 = AddNamed<QGroupBox>(picOptions[1], "fraSample2");
    fraSample2->setTitle(QStringLiteral("Spectrogram Parameters"));
    Place(fraSample2, 165, 300, 5175, 3225);
    PlaceLabel(AddLabel(fraSample2, "FFT Size:"), 480, 600, 975, 255);
    cboFFTSize = AddNamed<QComboBox>(fraSample2, "cboFFTSize");
    Place(cboFFTSize, 1560, 600, 2175, 315);
    PlaceLabel(AddLabel(fraSample2, "Frame Length:"), 360, 1080, 1095, 255);
    cboFrameLength = AddNamed<QComboBox>(fraSample2, "cboFrameLength");
    Place(cboFrameLength, 1560, 1080, 2175, 315);
    PlaceLabel(AddLabel(fraSample2, "Window Function:"), 120, 1560, 1335, 255);
    cboWindowFunction = AddNamed<QComboBox>(fraSample2, "cboWindowFunction");
    Place(cboWindowFunction, 1560, 1560, 2175, 315);
    PlaceLabel(AddLabel(fraSample2, "Hop Size:"), 480, 2040, 975, 255);
    txtHopSize = AddNamed<QLineEdit>(fraSample2, "txtHopSize");
    Place(txtHopSize, 1560, 2040, 735, 285);
    PlaceLabel(AddLabel(fraSample2, "Power Min:"), 3000, 2280, 975, 255);
    txtPowerMin = AddNamed<QLineEdit>(fraSample2, "txtPowerMin");
    Place(txtPowerMin, 4080, 2280, 855, 285);
    PlaceLabel(AddLabel(fraSample2, "Power Max:"), 2880, 2760, 1095, 255);
    txtPowerMax = AddNamed<QLineEdit>(fraSample2, "txtPowerMax");
    Place(txtPowerMax, 4080, 2760, 855, 285);
    picOptions[1]->setEnabled(false);
}

void frmOptions::createRecordingsPage() {
    picOptions[2] = AddNamed<QWidget>(this, "picOptions2");
    Place(picOptions[2], HiddenPageLeft, PageTop, PageWidth, PageHeight);
    fraSample3 = AddNamed<QGroupBox>(picOptions[2], "fraSample3");
    fraSample3->setTitle(QStringLiteral("Wave Files"));
    Place(fraSample3, 120, 240, 5415, 3225);
    const struct {
        QCheckBox** target;
        const char* name;
        const char* caption;
        int top;
    } boxes[] = {{&chkWholeRecording, "chkWholeRecording", "Show the whole recording", 480},
                 {&chkAnyCaseWave, "chkAnyCaseWave", "Take .WAV and .Wav names too", 960},
                 {&chkFloatSamples, "chkFloatSamples", "Read floating-point wave files", 1440}};
    for (const auto& box : boxes) {
        *box.target = AddNamed<QCheckBox>(fraSample3, box.name);
        (*box.target)->setText(QString::fromLatin1(box.caption));
        Place(*box.target, 360, box.top, 4695, 285);
    }
    picOptions[2]->setEnabled(false);
}

void frmOptions::createButtons() {
    const struct {
        QPushButton** target;
        const char* name;
        const char* caption;
        int left;
    } buttons[] = {{&cmdOK, "cmdOK", "OK", 2490},
                   {&cmdCancel, "cmdCancel", "Cancel", 3720},
                   {&cmdApply, "cmdApply", "Apply", 4920}};
    for (const auto& button : buttons) {
        *button.target = AddNamed<QPushButton>(this, button.name);
        (*button.target)->setText(QString::fromLatin1(button.caption));
        // No default button: Enter must not press OK or Apply.
        (*button.target)->setAutoDefault(false);
        (*button.target)->setDefault(false);
        Place(*button.target, button.left, 4455, 1095, 375);
    }
}

void frmOptions::connectUi() {
    connect(tbsOptions, &QTabBar::currentChanged, this, [this] { tbsOptions_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    // Key preview: the dialog sees every key before the focused control does.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void frmOptions::Form_Load() {
    CentreOnScreen();
    FillLists();
    tbsOptions->setCurrentIndex(0);
    tbsOptions_Click();
    m_loaded = true;
}

void frmOptions::Form_Unload(int result) {
    m_loaded = false;
    QDialog::done(result);
}

void frmOptions::CentreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void frmOptions::FillLists() {
    for (QComboBox* list : {cboFFTSize, cboFrameLength}) {
        list->clear();
        for (const char* item : SizeItems) list->addItem(QString::fromLatin1(item));
        list->setCurrentIndex(-1);
    }
    cboWindowFunction->clear();
    for (const char* item : WindowItems) cboWindowFunction->addItem(QString::fromLatin1(item));
    cboWindowFunction->setCurrentIndex(-1);
}

void frmOptions::Update() {
    if (!m_loaded) Form_Load();
    std::int32_t fftSize = 0, frameLength = 0, hopSize = 0, window = 0;
    float powerMax = 0, powerMin = 0;
    m_mainWindow.GetSPGParams(fftSize, frameLength, hopSize, window, powerMax, powerMin);
    SelectPosition(cboFFTSize, ReversedPosition(cboFFTSize, fftSize));
    SelectPosition(cboFrameLength, ReversedPosition(cboFrameLength, frameLength));
    txtHopSize->setText(TextConversion::LongText(hopSize));
    SelectPosition(cboWindowFunction, window);
    txtPowerMax->setText(TextConversion::SingleText(powerMax));
    txtPowerMin->setText(TextConversion::SingleText(powerMin));
    std::int32_t width = 0, height = 0;
    m_mainWindow.GetCellSize(width, height);
    txtCellWidth->setText(TextConversion::LongText(width));
    txtCellHeight->setText(TextConversion::LongText(height));
    ShowRecordingOptions();
}

void frmOptions::ShowRecordingOptions() {
    const RecordingOptions options = m_mainWindow.GetRecordingOptions();
    chkWholeRecording->setChecked(options.WholeRecording);
    chkAnyCaseWave->setChecked(options.AnyCaseWave);
    chkFloatSamples->setChecked(options.FloatSamples);
}

void frmOptions::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void frmOptions::tbsOptions_Click() {
    const int selected = tbsOptions->currentIndex() + 1;
    for (int i = 0; i < static_cast<int>(picOptions.size()); ++i) {
        const bool shown = i == selected - 1;
        picOptions[i]->move(Twips::ToPixels(shown ? PageLeft : HiddenPageLeft, m_dpi.x),
                            picOptions[i]->y());
        picOptions[i]->setEnabled(shown);
    }
    // Disabling the page that held the focus leaves no control with it, and the
    // keyboard would then reach nothing in the dialog.
    if (isVisible() && !focusWidget()) tbsOptions->setFocus(Qt::TabFocusReason);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    // A key the focused control ignores travels on to its parents as the same
    // event, no longer spontaneous; only its first receiver previews it.
    if (event->type() == QEvent::KeyPress && event->spontaneous()) {
        const KeyStroke stroke = KeyStrokeFromEvent(*static_cast<QKeyEvent*>(event));
        Form_KeyDown(stroke.KeyCode, stroke.Shift);
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::Form_KeyDown(int keyCode, int shift) {
    if (keyCode != TabKeyCode || shift != ShiftBit::Ctrl) return;
    const int selected = tbsOptions->currentIndex() + 1;
    tbsOptions->setCurrentIndex(selected == tbsOptions->count() ? 0 : selected);
}

void frmOptions::cmdApply_Click() {
    // A cell size that is refused applies nothing at all; the other two parts
    // are independent of each other.
    if (!ApplyCellSize()) return;
    ApplySPGParams();
    ApplyRecordingOptions();
}

void frmOptions::cmdOK_Click() {
    cmdApply_Click();
    Form_Unload(QDialog::Accepted);
}

void frmOptions::cmdCancel_Click() {
    Form_Unload(QDialog::Rejected);
}

void frmOptions::reject() {
    cmdCancel_Click();
}

bool frmOptions::ApplyCellSize() {
    try {
        const std::int32_t width = TextConversion::ToLong(txtCellWidth->text());
        const std::int32_t height = TextConversion::ToLong(txtCellHeight->text());
        const QString problem = m_cellSizeLimits.Problem(width, height);
        if (!problem.isEmpty()) {
            m_messages.Inform(problem);
            return false;
        }
        m_mainWindow.UpdateCellSizes(width, height, false);
    } catch (const CorvaneError& error) {
        m_messages.Inform(error.Description());
        return false;
    } catch (const std::exception& error) {
        m_messages.Inform(QString::fromLocal8Bit(error.what()));
        return false;
    }
    return true;
}

void frmOptions::ApplySPGParams() {
    try {
        const float powerMax = TextConversion::ToSingle(txtPowerMax->text());
        const float powerMin = TextConversion::ToSingle(txtPowerMin->text());
        const std::int32_t hopSize = TextConversion::ToLong(txtHopSize->text());
        // A list without a selection (its choice was outside the list) keeps
        // the current choice.
        std::int32_t fftSize = 0, frameLength = 0, current = 0, window = 0;
        float unusedMax = 0, unusedMin = 0;
        m_mainWindow.GetSPGParams(fftSize, frameLength, current, window, unusedMax, unusedMin);
        if (cboFFTSize->currentIndex() >= 0)
            fftSize = ReversedPosition(cboFFTSize, cboFFTSize->currentIndex());
        if (cboFrameLength->currentIndex() >= 0)
            frameLength = ReversedPosition(cboFrameLength, cboFrameLength->currentIndex());
        if (cboWindowFunction->currentIndex() >= 0) window = cboWindowFunction->currentIndex();
        m_mainWindow.UpdateSPGParams(fftSize, frameLength, hopSize, window, powerMax, powerMin);
    } catch (const CorvaneError& error) {
        m_messages.Inform(error.Description());
    } catch (const std::exception& error) {
        m_messages.Inform(QString::fromLocal8Bit(error.what()));
    }
}

void frmOptions::ApplyRecordingOptions() {
    RecordingOptions options;
    options.WholeRecording = chkWholeRecording->isChecked();
    options.AnyCaseWave = chkAnyCaseWave->isChecked();
    options.FloatSamples = chkFloatSamples->isChecked();
    m_mainWindow.SetRecordingOptions(options);
}
