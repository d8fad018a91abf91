#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "core/CorvaneError.h"
#include "core/FileDialogAsker.h"
#include "core/MessageBox.h"

// Records every message and answers questions with a preset answer.
class FakeMessageBox : public IMessageBox {
public:
    void Warn(const QString& text) override { texts.append(text); }
    bool AskOkCancel(const QString& text) override {
        texts.append(text);
        return answerOk;
    }
    void Inform(const QString& text) override { texts.append(text); }
    void InformOver(QWidget* owner, const QString& text) override {
        owners.push_back(owner);
        Inform(text);
    }

    QStringList texts;
    // The windows that InformOver's messages were shown over, in order.
    std::vector<QWidget*> owners;
    bool answerOk = true;
};

// Answers the file dialog's questions from a queue: a path confirms, nothing
// cancels. An empty queue cancels.
class FakeFileDialogAsker : public IFileDialogAsker {
public:
    std::optional<QString> Ask(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (failure) throw *failure;
        if (answers.empty()) return std::nullopt;
        const bool cancelled = !answers.front().has_value();
        const QString path = cancelled ? QString() : *answers.front();
        answers.pop_front();
        if (cancelled) return std::nullopt;
        return path;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<FileDialogRequest> requests;
    // Thrown instead of an answer, like a dialog that fails rather than being cancelled.
    std::optional<CorvaneError> failure;
};
