#include "keys/ImportMessageBox.h"

#include "keys/MessageText.h"

void ImportMessageBox::Warn(const QString& text) {
    if (m_shown < ShownProblems) {
        ++m_shown;
        m_target.Warn(text);
    } else {
        ++m_heldBack;
    }
}

void ImportMessageBox::ShowSummary() {
    if (m_heldBack == 0) return;
    m_target.Warn(m_heldBack == 1 ? QStringLiteral("... and 1 more line was not bound")
                                  : QStringLiteral("... and %1 more lines were not bound")
                                        .arg(MessageText::Count(m_heldBack)));
}
