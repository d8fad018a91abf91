#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <vector>

// What a FramePacer calls at the display's next frame.
class FrameClient {
public:
    virtual void OnFrame() = 0;

protected:
    ~FrameClient() = default;
};

// Repaints that can wait for the display's next frame. The workers finish a
// batch's pictures a few tens of microseconds apart; showing each in a repaint
// of its own would make the window thread walk the whole grid hundreds of times
// in a frame the screen shows once. The first arrival after a quiet frame is
// shown at once; the ones after it together, one frame later, or as soon as the
// workers have nothing more in hand. Window thread only.
class FramePacer : public QObject {
public:
    explicit FramePacer(int frameMilliseconds);
    // The pacer every control shares, paced to the primary screen's refresh rate.
    static FramePacer& Shared();

    // Calls `client` at the next frame. A client is scheduled once until it is
    // called or cancelled, and must cancel before it is destroyed.
    void Schedule(FrameClient& client);
    void Cancel(FrameClient& client);
    // Calls every client waiting now, as the frame's timer does.
    void Flush();
    // The workers have handed over all they were given: the clients waiting now
    // are called at once, through the event loop, since nothing more is coming
    // for them to be shown with. Tells the shared pacer, if there is one.
    static void WorkersIdle();
    int FrameMilliseconds() const { return m_frameMilliseconds; }

private:
    const int m_frameMilliseconds;
    std::vector<FrameClient*> m_waiting;
    QTimer m_timer;
    QElapsedTimer m_sinceFlush;
};
