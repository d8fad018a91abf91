#include "sorting/ClassificationHistory.h"

void ClassificationHistory::Push(Step step) {
    if (step.moves.empty()) return;
    m_steps.push_back(std::move(step));
}

void ClassificationHistory::KeepOnlyInLast(std::vector<Move> remaining) {
    if (m_steps.empty()) return;
    if (remaining.empty()) {
        m_steps.pop_back();
    } else {
        m_steps.back().moves = std::move(remaining);
    }
}
