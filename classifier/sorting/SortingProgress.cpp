#include "sorting/SortingProgress.h"

#include <algorithm>
#include <cmath>

void SortingProgress::Restart() {
    m_sorted = 0;
    m_recent.clear();
}

void SortingProgress::MovedOut() {
    const std::int64_t now = m_now();
    if (m_sorted == 0 && m_recent.empty()) m_first = now;
    ++m_sorted;
    m_recent.push_back(now);
    Forget(now);
}

void SortingProgress::MovedBack() {
    if (m_sorted > 0) --m_sorted;
    // The move taken back was the pace's last one.
    if (!m_recent.empty()) m_recent.pop_back();
}

void SortingProgress::Forget(std::int64_t now) const {
    while (!m_recent.empty() && now - m_recent.front() > WindowMilliseconds) m_recent.pop_front();
}

double SortingProgress::PerHour() const {
    if (m_sorted < FewestMoves) return 0;
    const std::int64_t now = m_now();
    Forget(now);
    if (m_recent.empty()) return 0;
    // Over the whole window once sorting has gone on that long, otherwise over
    // the time since the first move; never less than a second.
    const std::int64_t span =
        std::max<std::int64_t>(1000, std::min(WindowMilliseconds, now - m_first));
    return static_cast<double>(m_recent.size()) * 3600000.0 / static_cast<double>(span);
}

QString SortingProgress::Duration(double hours) {
    const auto minutes = static_cast<std::int64_t>(std::llround(hours * 60));
    if (minutes < 1) return QStringLiteral("under a minute");
    if (minutes < 60) return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

QString SortingProgress::Text(int left) const {
    if (m_sorted < FewestMoves) return {};
    const double perHour = PerHour();
    QString text = QStringLiteral("%1 sorted this session, %2 left").arg(m_sorted).arg(left);
    if (perHour <= 0) return text;
    text += QStringLiteral(", %1 per hour").arg(std::llround(perHour));
    if (left > 0) text += QStringLiteral(", about %1 to go").arg(Duration(left / perHour));
    return text;
}
