#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

// What a cell marks over its spectrogram: the folder a recording was moved to
// since it was loaded, a file the control could not read, a picture that
// shows less than the whole recording, and the playhead while the recording
// plays. Lies exactly
// over the control, inside the selection frame, and lets every mouse event
// through to the control.
class CellMarks : public QWidget {
    Q_OBJECT
public:
    explicit CellMarks(QWidget* parent);

    // The last component of the folder the recording now lives in; empty
    // when it has not been moved.
    void SetMovedTo(const QString& folderName);
    QString MovedTo() const { return m_movedTo; }
    // `reason`: the control's words for why it refused the file (its LoadError),
    // empty when it gives none.
    void SetUnreadable(bool unreadable, const QString& reason = QString());
    bool IsUnreadable() const { return m_unreadable; }
    // Seconds shown of seconds recorded ("1.0 / 8.0 s"), drawn small at the
    // top right; empty when the picture shows the whole recording.
    void SetPartialLength(const QString& text);
    QString PartialLength() const { return m_partialLength; }
    // What the hatch of an unreadable file says: the reason, and for a float file
    // where the option that reads it is found; "cannot be read" without a reason.
    QString UnreadableText() const { return UnreadableText(m_unreadableReason); }
    static QString UnreadableText(const QString& reason);
    // Where the folders suggest the recording goes (the folder's last component,
    // or "empty?"), drawn faint at the bottom right; empty for none. Never drawn
    // while the cell carries the moved label.
    void SetSuggestion(const QString& text);
    QString Suggestion() const { return m_suggestion; }
    // A thin vertical line at `x` pixels from the left: where the sound being
    // heard is in the picture. None while `x` is negative.
    void SetPlayheadX(int x);
    int PlayheadX() const { return m_playheadX; }

    // Where the playhead of a sound `seconds` into a recording stands in a
    // picture `width` pixels wide that shows its first `loadedFrames` frames at
    // `sampleRate`; -1 (none) when that is past what the picture shows or there
    // is nothing to show.
    static int PlayheadX(double seconds, std::int64_t loadedFrames, std::uint32_t sampleRate,
                         int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh();
    void PaintUnreadable(QPainter& painter);
    void PaintMovedTo(QPainter& painter);
    void PaintPartialLength(QPainter& painter);
    void PaintSuggestion(QPainter& painter);
    bool HasMarks() const;

    QString m_movedTo;
    bool m_unreadable = false;
    QString m_partialLength;
    QString m_unreadableReason;
    QString m_suggestion;
    void PaintPlayhead(QPainter& painter);
    int m_playheadX = -1;
};
