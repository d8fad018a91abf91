#include "MainStatusBar.h"

#include <QLabel>

MainStatusBar::MainStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_recording(new QLabel(this)),
      m_nextBatch(new QLabel(this)),
      m_pointer(new QLabel(this)) {
    setObjectName(QStringLiteral("statusBar"));
    m_recording->setObjectName(QStringLiteral("lblRecording"));
    m_nextBatch->setObjectName(QStringLiteral("lblNextBatch"));
    m_pointer->setObjectName(QStringLiteral("lblPointer"));
    // Long names and folders must not widen the window.
    m_recording->setMinimumWidth(1);
    m_nextBatch->setMinimumWidth(1);
    addWidget(m_recording, 3);
    addWidget(m_nextBatch, 2);
    addPermanentWidget(m_pointer);
}

void MainStatusBar::ShowRecording(const QString& text) {
    m_recording->setText(text);
    m_recording->setToolTip(text);
}

void MainStatusBar::ShowNextBatch(const QString& text, const QString& why) {
    m_nextBatch->setText(text);
    m_nextBatch->setToolTip(why.isEmpty() ? text : why);
    m_nextBatch->setStyleSheet(why.isEmpty() ? QString()
                                             : QStringLiteral("QLabel { color: #b04a00; }"));
    m_warning = why;
}

void MainStatusBar::ShowPointer(const QString& text) {
    m_pointer->setText(text);
}

QString MainStatusBar::RecordingText() const {
    return m_recording->text();
}

QString MainStatusBar::NextBatchText() const {
    return m_nextBatch->text();
}

QString MainStatusBar::NextBatchWarning() const {
    return m_warning;
}

QString MainStatusBar::PointerText() const {
    return m_pointer->text();
}
