#include "MainStatusBar.h"

#include <QLabel>
#include <QResizeEvent>

namespace {

// A label that shows as much of its text as fits, with "..." where it is cut,
// so that a long name or folder never widens the window.
class ElidingLabel : public QLabel {
public:
    ElidingLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), m_mode(mode) {
        setMinimumWidth(1);
    }
    void SetFullText(const QString& text) {
        m_fullText = text;
        Elide();
    }
    const QString& FullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(m_fullText, m_mode, width())); }

    Qt::TextElideMode m_mode;
    QString m_fullText;
};

ElidingLabel* Eliding(QLabel* label) {
    return static_cast<ElidingLabel*>(label);
}

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_recording(new ElidingLabel(Qt::ElideRight, this)),
      m_nextBatch(new ElidingLabel(Qt::ElideMiddle, this)),
      m_pointer(new QLabel(this)) {
    setObjectName(QStringLiteral("statusBar"));
    m_recording->setObjectName(QStringLiteral("lblRecording"));
    m_nextBatch->setObjectName(QStringLiteral("lblNextBatch"));
    m_pointer->setObjectName(QStringLiteral("lblPointer"));
    addWidget(m_recording, 3);
    addWidget(m_nextBatch, 2);
    addPermanentWidget(m_pointer);
}

void MainStatusBar::ShowRecording(const QString& text) {
    Eliding(m_recording)->SetFullText(text);
    m_recording->setToolTip(text);
}

void MainStatusBar::ShowNextBatch(const QString& text, const QString& why) {
    Eliding(m_nextBatch)->SetFullText(text);
    m_nextBatch->setToolTip(why.isEmpty() ? text : why);
    m_nextBatch->setStyleSheet(why.isEmpty() ? QString()
                                             : QStringLiteral("QLabel { color: #b04a00; }"));
    m_warning = why;
}

void MainStatusBar::ShowPointer(const QString& text) {
    m_pointer->setText(text);
}

QString MainStatusBar::RecordingText() const {
    return Eliding(m_recording)->FullText();
}

QString MainStatusBar::NextBatchText() const {
    return Eliding(m_nextBatch)->FullText();
}

QString MainStatusBar::NextBatchWarning() const {
    return m_warning;
}

QString MainStatusBar::PointerText() const {
    return m_pointer->text();
}
