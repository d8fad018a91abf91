#include "framework/PageMessageBox.h"

#include <QMessageBox>

namespace {

// Titled with the module's name, as the framework titles its own boxes.
class QtPageMessageBox : public IPageMessageBox {
public:
    void ShowExclamation(QWidget* owner, const QString& text) override {
        QMessageBox::warning(owner, QStringLiteral("Sonolux"), text, QMessageBox::Ok);
    }
};

IPageMessageBox* g_replacement = nullptr;

}  // namespace

IPageMessageBox& PageMessageBox() {
    static QtPageMessageBox real;
    return g_replacement ? *g_replacement : real;
}

void SetPageMessageBox(IPageMessageBox* messages) {
    g_replacement = messages;
}
