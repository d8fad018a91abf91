#pragma once

#include <QStatusBar>
#include <QTimer>

class QLabel;
class StatusField;

// The main window's status bar, always shown. From left to right: the
// selected recording, the folder Next Batch will read with what it still
// holds, how the sorting of the batch's folder goes, what just happened (a failed move, a recording
// playing), and the time and frequency under the pointer. Each has a place of its own, so a message
// never hides the recording or the folder.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    // How long a message that fades stays, in milliseconds.
    static constexpr int FadeMilliseconds = 6000;
    // How long spectrograms must have been drawn before the count of those
    // still being drawn shows, in milliseconds.
    static constexpr int DrawingDelayMilliseconds = 100;

    // How long a message stays.
    enum class Lasting {
        Fades,          // until MessageTimer times out
        UntilKeystroke  // until ClearMessage, which the next keystroke calls
    };

    explicit MainStatusBar(QWidget* parent = nullptr);

    void ShowMessage(const QString& text, Lasting lasting = Lasting::Fades);
    void ClearMessage();
    // As ClearMessage, but a message that waits for a keystroke stays.
    void ClearFadingMessage();
    QString MessageText() const;
    // Started by every message that fades; its timeout clears the message.
    QTimer& MessageTimer() { return m_fade; }

    void ShowRecording(const QString& text);
    // `why`, when not empty, marks the folder in a warning colour and says
    // why in its tool tip.
    void ShowNextBatch(const QString& text, const QString& why);
    void ShowPointer(const QString& text);
    // How the sorting of the batch's folder goes; empty until there is a pace to tell.
    void ShowProgress(const QString& text);
    // How many spectrograms are still being drawn; empty when none is. The
    // count shows once DrawingTimer times out: a batch drawn faster than the
    // eye can read it neither flashes it nor moves the fields beside it.
    void ShowDrawing(const QString& text);
    QTimer& DrawingTimer() { return m_drawingDelay; }

    QString RecordingText() const;
    QString NextBatchText() const;
    QString NextBatchWarning() const;  // the tool tip; empty without a warning
    QString ProgressText() const;
    QString DrawingText() const;

private:
    StatusField* m_recording;
    StatusField* m_nextBatch;
    StatusField* m_progress;
    StatusField* m_message;
    QLabel* m_pointer;
    StatusField* m_drawing;
    QString m_warning;
    QTimer m_fade;
    QTimer m_drawingDelay;
};
