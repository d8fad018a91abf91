#include "windows/MainStatusBar.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

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
        // Laid out and drawn once for what it shows: a batch repaints the bar
        // many times over while only the count of pictures still being drawn
        // changes, and laying out a long path costs more than the rest of it.
        const QColor colour = m_colour.isValid() ? m_colour : palette().color(QPalette::WindowText);
        const qreal ratio = devicePixelRatioF();
        if (m_drawn.isNull() || m_drawnText != m_text || m_drawnColour != colour ||
            m_drawnSize.height() != height() || m_drawnRatio != ratio || m_drawnFont != font() ||
            !StillShowsWhole()) {
            const QString shown = fontMetrics().elidedText(m_text, m_mode, width());
            m_drawn = QPixmap(size() * ratio);
            m_drawn.setDevicePixelRatio(ratio);
            m_drawn.fill(Qt::transparent);
            QPainter painter(&m_drawn);
            painter.setFont(font());
            painter.setPen(colour);
            painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
            m_drawnText = m_text;
            m_drawnColour = colour;
            m_drawnSize = size();
            m_drawnRatio = ratio;
            m_drawnFont = font();
            m_wholeFrom = shown == m_text ? width() : -1;
        }
        QPainter(this).drawPixmap(0, 0, m_drawn);
    }

private:
    // Whether what was drawn still shows at this width as it would be drawn
    // anew: the same width, or a text drawn whole in a width it still fits.
    // The fields beside the count of pictures still being drawn change width
    // whenever it comes and goes, twice in every batch.
    bool StillShowsWhole() {
        if (width() == m_drawnSize.width()) return true;
        if (m_wholeFrom < 0) return false;
        if (width() >= m_wholeFrom) return true;
        if (fontMetrics().elidedText(m_text, m_mode, width()) != m_text) return false;
        m_wholeFrom = width();
        return true;
    }

    Qt::TextElideMode m_mode;
    QString m_text;
    QColor m_colour;
    // The text as last drawn, and what it was drawn for.
    QPixmap m_drawn;
    QString m_drawnText;
    QColor m_drawnColour;
    QSize m_drawnSize;
    qreal m_drawnRatio = 0;
    QFont m_drawnFont;
    // The narrowest width the text is known to fit whole in; -1 when it was cut.
    int m_wholeFrom = -1;
};

namespace {

const QColor WarningColour(0xb0, 0x4a, 0x00);

}  // namespace

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_recording(new StatusField(Qt::ElideRight, this)),
      m_nextBatch(new StatusField(Qt::ElideMiddle, this)),
      m_progress(new StatusField(Qt::ElideRight, this)),
      m_message(new StatusField(Qt::ElideRight, this)),
      m_pointer(new QLabel(this)),
      m_drawing(new StatusField(Qt::ElideRight, this)) {
    setObjectName(QStringLiteral("statusBar"));
    m_recording->setObjectName(QStringLiteral("lblRecording"));
    m_nextBatch->setObjectName(QStringLiteral("lblNextBatch"));
    m_progress->setObjectName(QStringLiteral("lblProgress"));
    m_message->setObjectName(QStringLiteral("lblMessage"));
    m_pointer->setObjectName(QStringLiteral("lblPointer"));
    addWidget(m_recording, 3);
    addWidget(m_nextBatch, 2);
    addWidget(m_progress, 2);
    addWidget(m_message, 3);
    addPermanentWidget(m_pointer);
    m_drawing->setObjectName(QStringLiteral("lblDrawing"));
    addPermanentWidget(m_drawing);
    m_drawing->hide();
    // Empty, they leave their room to the recording and the folder.
    m_progress->hide();
    m_message->hide();
    m_fade.setSingleShot(true);
    m_fade.setInterval(FadeMilliseconds);
    connect(&m_fade, &QTimer::timeout, this, &MainStatusBar::ClearMessage);
    m_drawingDelay.setSingleShot(true);
    m_drawingDelay.setInterval(DrawingDelayMilliseconds);
    connect(&m_drawingDelay, &QTimer::timeout, this, [this] {
        if (!m_drawing->Text().isEmpty()) m_drawing->show();
    });
}

void MainStatusBar::ShowMessage(const QString& text, Lasting lasting) {
    m_message->SetText(text);
    m_message->setVisible(!text.isEmpty());
    if (lasting == Lasting::Fades) {
        m_fade.start();
    } else {
        m_fade.stop();
    }
}

void MainStatusBar::ClearMessage() {
    m_fade.stop();
    m_message->SetText(QString());
    m_message->hide();
}

void MainStatusBar::ClearFadingMessage() {
    if (m_fade.isActive()) ClearMessage();
}

QString MainStatusBar::MessageText() const {
    return m_message->Text();
}

void MainStatusBar::ShowRecording(const QString& text) {
    m_recording->SetText(text);
}

void MainStatusBar::ShowNextBatch(const QString& text, const QString& why) {
    m_nextBatch->SetText(text, why.isEmpty() ? QColor() : WarningColour);
    if (!why.isEmpty()) m_nextBatch->setToolTip(why);
    m_warning = why;
}

void MainStatusBar::ShowPointer(const QString& text) {
    if (text != m_pointer->text()) m_pointer->setText(text);
}

void MainStatusBar::ShowProgress(const QString& text) {
    m_progress->SetText(text);
    m_progress->setVisible(!text.isEmpty());
}

void MainStatusBar::ShowDrawing(const QString& text) {
    if (text == m_drawing->Text()) return;
    m_drawing->SetText(text);
    // Showing or hiding the count lays the bar out anew, and the window's next
    // repaint then works around the moved fields for each picture it paints.
    if (text.isEmpty()) {
        m_drawingDelay.stop();
        m_drawing->hide();
    } else if (m_drawing->isHidden() && !m_drawingDelay.isActive()) {
        m_drawingDelay.start();
    }
}

QString MainStatusBar::DrawingText() const {
    return m_drawing->Text();
}

QString MainStatusBar::ProgressText() const {
    return m_progress->Text();
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
