#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <functional>

// How the sorting of one folder goes in this run: how many recordings have
// been moved out of it, at what pace lately, and how long the rest would take
// at that pace. The pace is taken over the moves of the last ten minutes, so
// a pause for coffee is forgotten ten minutes after sorting goes on.
class SortingProgress {
public:
    // Milliseconds since any fixed moment; only differences count.
    using Clock = std::function<std::int64_t()>;

    // How many moves it takes before a pace is told: fewer say too little.
    static constexpr int FewestMoves = 10;
    static constexpr std::int64_t WindowMilliseconds = 10 * 60 * 1000;

    explicit SortingProgress(Clock now) : m_now(std::move(now)) {}

    // Another folder is being sorted from now on: everything starts again.
    void Restart();
    // A recording left the folder, or came back to it (an undo).
    void MovedOut();
    void MovedBack();

    int Sorted() const { return m_sorted; }
    // Recordings an hour at the pace of the last ten minutes; 0 while there
    // have been fewer than FewestMoves moves.
    double PerHour() const;
    // "12 sorted this session, 137 left, 240 per hour, about 34 min to go";
    // empty while there have been fewer than FewestMoves moves.
    QString Text(int left) const;

    // "under a minute", "34 min", "2 h 5 min".
    static QString Duration(double hours);

private:
    // Forgets the moves that are older than the window.
    void Forget(std::int64_t now) const;

    Clock m_now;
    int m_sorted = 0;
    std::int64_t m_first = 0;                   // when the first move of this folder was made
    mutable std::deque<std::int64_t> m_recent;  // when the moves of the window were made
};
