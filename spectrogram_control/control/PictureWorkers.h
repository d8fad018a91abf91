#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>
#include <mutex>

#include "engine/PictureCache.h"
#include "engine/WaveLoader.h"

namespace sonolux {

// Where finished pictures go: one control, for as long as it lives. A worker
// may finish after its control is gone; then the picture is simply dropped.
class PictureMailbox {
public:
    explicit PictureMailbox(QObject* receiver) : m_receiver(receiver) {}
    // The receiver is going: nothing is posted to it from now on. Its thread.
    void Close();
    // Posts `event` to the receiver, or deletes it when the receiver has gone.
    // Any thread.
    void Post(QEvent* event);

private:
    std::mutex m_mutex;
    QObject* m_receiver;
};

// A picture drawn on a worker, as posted to its control.
class PictureReadyEvent : public QEvent {
public:
    static QEvent::Type EventType();
    PictureReadyEvent(std::uint64_t generation, SharedPicture picture, const PictureRecipe& recipe)
        : QEvent(EventType()),
          generation(generation),
          picture(std::move(picture)),
          recipe(recipe) {}

    const std::uint64_t generation;  // of the control's state it was asked for
    const SharedPicture picture;
    const PictureRecipe recipe;
};

// Draws the picture of `samples` as `recipe` says on the module's pool of
// worker threads (as many as the machine has cores), and posts it to `mailbox`
// as a PictureReadyEvent carrying `generation`. The samples are shared, never
// changed, so the control may go on using them meanwhile.
void DrawPictureOnWorker(std::uint64_t generation, SharedSamples samples,
                         const PictureRecipe& recipe, std::shared_ptr<PictureMailbox> mailbox);

// Waits until every picture started so far has been drawn and posted.
void WaitForPictureWorkers();

}  // namespace sonolux
