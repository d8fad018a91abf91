#include "control/FramePacer.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <cmath>

FramePacer::FramePacer(int frameMilliseconds) : m_frameMilliseconds(frameMilliseconds) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &FramePacer::Flush);
}

namespace {

// Owned by the application, so that its timer ends with the event loop it runs
// in; a host that makes a new application gets a new pacer with it.
QPointer<FramePacer> g_pacer;

// A module unloaded while the application lives takes its pacer with it: the
// application must never delete an object whose code is gone.
struct PacerRemover {
    ~PacerRemover() { delete g_pacer.data(); }
} g_pacerRemover;

}  // namespace

FramePacer& FramePacer::Shared() {
    if (!g_pacer) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal hertz = screen ? screen->refreshRate() : 0;
        // A screen that reports nothing usable is taken for the usual 60 Hz.
        const qreal frameHertz = hertz >= 24 && hertz <= 500 ? hertz : 60;
        g_pacer = new FramePacer(std::max(1, static_cast<int>(std::floor(1000 / frameHertz))));
        g_pacer->setParent(QCoreApplication::instance());
    }
    return *g_pacer;
}

void FramePacer::Schedule(FrameClient& client) {
    m_waiting.push_back(&client);
    if (m_timer.isActive()) return;
    const qint64 since = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : m_frameMilliseconds;
    m_timer.start(static_cast<int>(std::max<qint64>(0, m_frameMilliseconds - since)));
}

void FramePacer::Cancel(FrameClient& client) {
    m_waiting.erase(std::remove(m_waiting.begin(), m_waiting.end(), &client), m_waiting.end());
}

void FramePacer::WorkersIdle() {
    // At exit the pacer may be gone already; it is never made for this.
    if (g_pacer && !g_pacer->m_waiting.empty()) g_pacer->m_timer.start(0);
}

void FramePacer::Flush() {
    m_timer.stop();
    m_sinceFlush.start();
    std::vector<FrameClient*> waiting;
    waiting.swap(m_waiting);
    for (FrameClient* client : waiting) client->OnFrame();
}
