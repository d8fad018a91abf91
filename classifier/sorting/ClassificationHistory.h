#pragma once

#include <QString>
#include <vector>

// The classifications of this run that can still be taken back, newest last.
// One step is one classifying keystroke: a single move for the selection, or
// every move of an all-visible classification. Memory only.
class ClassificationHistory {
public:
    struct Move {
        QString from;  // where the recording was
        QString to;    // where the keystroke put it
    };
    struct Step {
        std::vector<Move> moves;
        int selectedIndex = -1;  // the selected cell when the keystroke was pressed
        QString target;          // the folder the keystroke is bound to; empty for several
        QString keyText;         // the keystroke as the key tables name it
    };

    // Records a step; a step without moves is not recorded.
    void Push(Step step);
    bool IsEmpty() const { return m_steps.empty(); }
    const Step& Last() const { return m_steps.back(); }
    // Replaces the last step's moves by those that could not be taken back;
    // drops the step when none is left.
    void KeepOnlyInLast(std::vector<Move> remaining);

private:
    std::vector<Step> m_steps;
};
