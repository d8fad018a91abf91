#pragma once

#include "core/MessageBox.h"

// The message boxes of one key list import. The first 20 problems are shown
// one box each, as they come; the rest are only counted, and ShowSummary
// gives their number in one last box, so that a file of a hundred thousand bad
// lines costs the user 21 clicks, not a hundred thousand. Every problem is one
// line of the file that was not bound.
class ImportMessageBox : public IMessageBox {
public:
    static constexpr int ShownProblems = 20;

    explicit ImportMessageBox(IMessageBox& target) : m_target(target) {}

    void Warn(const QString& text) override;
    // Questions must still be asked: passed on, never counted.
    bool AskOkCancel(const QString& text) override { return m_target.AskOkCancel(text); }
    void Inform(const QString& text) override { m_target.Inform(text); }

    // "... and 99,980 more lines were not bound" (or "... and 1 more line was
    // not bound") when problems were held back; nothing otherwise.
    void ShowSummary();

private:
    IMessageBox& m_target;
    qint64 m_shown = 0;
    qint64 m_heldBack = 0;
};
