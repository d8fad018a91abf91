#include "keys/ui/frmKeystroke.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "core/Twips.h"
#include "host/CommonDialog.h"
#include "host/FileChoices.h"
#include "keys/ClassifyKeySetter.h"
#include "keys/KeyEventTranslation.h"
#include "keys/mdlKeycodes.h"

namespace {
constexpr std::int16_t NumLockKeyCode = 144;
constexpr std::int16_t SpaceKeyCode = 32;
}  // namespace

frmKeystroke::frmKeystroke(IClassifyKeySetter& keySetter, CommonDialog& commonDialog,
                           const ScreenDpi& dpi, QWidget* owner)
    : QDialog(owner), m_keySetter(keySetter), m_commonDialog(commonDialog), m_dpi(dpi) {
    createUi();
    connectUi();
}

QRect frmKeystroke::Twips(int left, int top, int width, int height) const {
    return Twips::ToPixels(left, top, width, height, m_dpi);
}

void frmKeystroke::createUi() {
    setWindowTitle(QStringLiteral("Type a keystroke..."));
    setFixedSize(Twips(0, 0, 4800, 4230).size());
    // The layout was drawn for an 8-point dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    auto place = [this](QWidget* widget, const char* name, QRect geometry) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(geometry);
    };
    Label2 = new QLabel(QStringLiteral("Please press a keystroke..."), this);
    place(Label2, "Label2", Twips(360, 360, 3975, 255));
    lblKeystroke = new QLabel(this);
    place(lblKeystroke, "lblKeystroke", Twips(360, 720, 3975, 495));
    Label1 = new QLabel(QStringLiteral("... for classifying into directory:"), this);
    place(Label1, "Label1", Twips(360, 1560, 3855, 255));
    lblTargetDir = new QLabel(this);
    lblTargetDir->setWordWrap(true);
    place(lblTargetDir, "lblTargetDir", Twips(360, 1920, 3615, 495));
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    place(cmdBrowse, "cmdBrowse", Twips(4200, 2040, 375, 255));
    optClassifySelection =
        new QRadioButton(QStringLiteral("Apply classification  to selected spectrogram"), this);
    place(optClassifySelection, "optClassifySelection", Twips(480, 2760, 3735, 255));
    optClassifyAll =
        new QRadioButton(QStringLiteral("Apply classification to all visible spectrograms"), this);
    place(optClassifyAll, "optClassifyAll", Twips(480, 3000, 3615, 255));
    // The platform's font can be wider than the one the layout was drawn for:
    // an option button grows toward the dialog's right edge rather than cut
    // its caption.
    for (QRadioButton* option : {optClassifySelection, optClassifyAll}) {
        const int room = width() - option->x() - 4;
        option->resize(std::clamp(option->sizeHint().width(), option->width(), room),
                       option->height());
    }
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    place(cmdOK, "cmdOK", Twips(855, 3600, 1095, 375));
    cmdOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(btnCancel, "btnCancel", Twips(2535, 3600, 1095, 375));
}

void frmKeystroke::connectUi() {
    // Key preview: the dialog sees every key press, whichever control has the focus.
    for (QWidget* control :
         {static_cast<QWidget*>(cmdBrowse), static_cast<QWidget*>(cmdOK),
          static_cast<QWidget*>(btnCancel), static_cast<QWidget*>(optClassifySelection),
          static_cast<QWidget*>(optClassifyAll)}) {
        control->installEventFilter(this);
    }
    connect(cmdBrowse, &QPushButton::clicked, this, &frmKeystroke::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmKeystroke::cmdOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmKeystroke::FolderPart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

void frmKeystroke::Initialize(const QString& TargetDir) {
    lblKeystroke->clear();
    lblTargetDir->setText(FolderPart(TargetDir));
    optClassifySelection->setChecked(true);
    cmdOK->setFocus();
}

QString frmKeystroke::ShownKeystroke() const {
    return lblKeystroke->text();
}
QString frmKeystroke::TargetDir() const {
    return lblTargetDir->text();
}
bool frmKeystroke::ClassifyAllChosen() const {
    return optClassifyAll->isChecked();
}

bool frmKeystroke::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        // Keypad Enter confirms like Enter rather than being taken as the keystroke.
        if (keyEvent->key() != Qt::Key_Enter) Form_KeyDown(KeyStrokeFromEvent(*keyEvent));
    }
    return QDialog::eventFilter(watched, event);
}

void frmKeystroke::Form_KeyDown(const KeyStroke& keyStroke) {
    if (keyStroke.KeyCode <= SpaceKeyCode || keyStroke.KeyCode == NumLockKeyCode) return;
    m_captured = keyStroke;
    lblKeystroke->setText(mdlKeycodes::KeyText(keyStroke.KeyCode, keyStroke.Shift));
}

void frmKeystroke::cmdBrowse_Click() {
    m_commonDialog.DefaultExt = QStringLiteral(".wav");
    m_commonDialog.FileName = QStringLiteral("any.wav");
    m_commonDialog.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist;
    m_commonDialog.Filter = QStringLiteral("All files|*.*");
    m_commonDialog.CancelError = true;
    if (!FileChoices::Chosen(m_commonDialog)) return;
    lblTargetDir->setText(FolderPart(m_commonDialog.FileName));
}

void frmKeystroke::cmdOK_Click() {
    // Nothing captured yet, in this opening or an earlier one: there is no
    // keystroke to bind (Space on the focused OK button, Enter at once).
    if (m_captured.KeyCode == 0) return;
    m_keySetter.SetClassifyKey(m_captured.KeyCode, m_captured.Shift, ClassifyAllChosen(),
                               lblTargetDir->text());
    accept();
}
