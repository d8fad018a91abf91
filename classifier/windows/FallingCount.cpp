#include "windows/FallingCount.h"

#include <utility>

FallingCount::FallingCount(std::function<void(int)> show, int frameMilliseconds)
    : m_show(std::move(show)) {
    m_frame.setInterval(frameMilliseconds);
    m_frame.setSingleShot(true);
    QObject::connect(&m_frame, &QTimer::timeout, [this] {
        if (!m_waiting) return;
        const int count = *m_waiting;
        m_waiting.reset();
        Show(count);
        m_frame.start();
    });
}

void FallingCount::Set(int count) {
    const bool falling = count > 0 && count < m_shown;
    if (falling && m_frame.isActive()) {
        m_waiting = count;
        return;
    }
    Show(count);
    if (falling) m_frame.start();
}

void FallingCount::Show(int count) {
    m_waiting.reset();
    m_shown = count;
    m_show(count);
}
