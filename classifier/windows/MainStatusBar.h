#pragma once

#include <QStatusBar>

class QLabel;
class StatusField;

// The main window's status bar, always shown. From left to right: the
// selected recording, the folder Next Batch will read with what it still
// holds, and the time and frequency under the pointer. What just happened (a
// failed move, a recording playing) is shown over the first two for a while.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    void ShowRecording(const QString& text);
    // `why`, when not empty, marks the folder in a warning colour and says
    // why in its tool tip.
    void ShowNextBatch(const QString& text, const QString& why);
    void ShowPointer(const QString& text);

    QString RecordingText() const;
    QString NextBatchText() const;
    QString NextBatchWarning() const;  // the tool tip; empty without a warning

private:
    StatusField* m_recording;
    StatusField* m_nextBatch;
    QLabel* m_pointer;
    QString m_warning;
};
