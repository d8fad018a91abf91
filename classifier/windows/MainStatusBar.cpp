#include "windows/MainStatusBar.h"

#include <QLabel>
#include <QPainter>

// A line of text that shows as much as fits, with "..." where it is cut, so
// that a long name or folder never widens the window. The text is laid out
// when painted, not when set: a keystroke changes it, the screen shows it.
class StatusField : public QWidget {
public:
    StatusField(Qt::TextElideMode mode, QWidget* parent) : QWidget(parent), m_mode(mode) {}

    void SetText(const QString& text, const QColor& colour = QColor()) {
        if (text == m_text && colour == m_colour) return;
        m_text = text;
        m_colour = colour;
        setToolTip(text);
        update();
    }
    const QString& Text() const { return m_text; }

    QSize sizeHint() const override {
        return {fontMetrics().averageCharWidth() * 24, fontMetrics().height()};
    }
    QSize minimumSizeHint() const override { return {1, fontMetrics().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(m_colour.isValid() ? m_colour : palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(m_text, m_mode, width()));
    }

private:
    Qt::TextElideMode m_mode;
    QString m_text;
    QColor m_colour;
};

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_recording(new StatusField(Qt::ElideRight, this)),
      m_nextBatch(new StatusField(Qt::ElideMiddle, this)),
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
    m_recording->SetText(text);
}

void MainStatusBar::ShowNextBatch(const QString& text, const QString& why) {
    m_nextBatch->SetText(text, why.isEmpty() ? QColor() : QColor(0xb0, 0x4a, 0x00));
    if (!why.isEmpty()) m_nextBatch->setToolTip(why);
    m_warning = why;
}

void MainStatusBar::ShowPointer(const QString& text) {
    if (text != m_pointer->text()) m_pointer->setText(text);
}

QString MainStatusBar::RecordingText() const {
    return m_recording->Text();
}

QString MainStatusBar::NextBatchText() const {
    return m_nextBatch->Text();
}

QString MainStatusBar::NextBatchWarning() const {
    return m_warning;
}
