#pragma once

#include <QEvent>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

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

// A picture drawn on a worker, as posted to its control. Made only by the
// worker it was asked of: the work is done with once the event is.
class PictureReadyEvent : public QEvent {
public:
    static QEvent::Type EventType();
    PictureReadyEvent(std::uint64_t generation, SharedPicture picture, const PictureRecipe& recipe)
        : QEvent(EventType()),
          generation(generation),
          picture(std::move(picture)),
          recipe(recipe) {}
    ~PictureReadyEvent() override;

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

// One load of a control's file, run by whichever side comes to it first: a
// worker of the pool, or the control itself when it must answer before any
// worker has started it. Exactly one side runs it, and never twice.
class LoadJob {
public:
    using Load = std::function<SharedLoad()>;
    LoadJob(std::uint64_t generation, Load load)
        : generation(generation), m_load(std::move(load)) {}

    const std::uint64_t generation;  // of the control's write it loads for

    // A worker's side: runs the load unless the owner has run or cancelled it.
    // Returns whether it ran it.
    bool RunOnWorker();
    // The owner's side: the result, with the load run right here when no worker
    // has started it, or waited for when one runs it. What the load threw is
    // thrown here, as a load on this thread would have.
    const SharedLoad& Finish();
    // The owner no longer needs the result: a load no worker has started is
    // never run (returns true), one already running still ends normally.
    bool Cancel();
    // Whether the owner waits in Finish() for a worker running the load.
    bool OwnerWaits() const { return m_ownerWaits.load(); }
    // A newer write has asked for another load: the picture of this one's
    // samples would be of no use. Any thread.
    void Supersede() { m_superseded.store(true); }
    bool Superseded() const { return m_superseded.load(); }
    // What the load found, once run; nullptr while it is not, or when it threw.
    // It never changes once run, so any thread may read it then.
    const SharedLoad* Result() const;

private:
    enum State : int { Queued, Running, Done, Cancelled };
    void Run();

    std::atomic<int> m_state{Queued};
    std::atomic<bool> m_ownerWaits{false};
    std::atomic<bool> m_superseded{false};
    std::mutex m_mutex;
    std::condition_variable m_finished;
    Load m_load;
    SharedLoad m_result;
    std::exception_ptr m_error;
};

// Posted to a control when a worker has run one of its loads. When the control
// asked for it, the worker has also drawn the picture of the samples found (or
// found it in the module's cache), so that both come in one event. Made only by
// the worker that ran the load: the work is done with once the event is.
class LoadReadyEvent : public QEvent {
public:
    static QEvent::Type EventType();
    explicit LoadReadyEvent(std::uint64_t generation)
        : QEvent(EventType()), generation(generation) {}
    ~LoadReadyEvent() override;

    const std::uint64_t generation;  // of the load job that finished
    SharedSamples samples;           // the picture's samples, when there is a picture
    SharedPicture picture;
    PictureRecipe recipe;  // what the picture was drawn for
    bool drawn = false;    // false when the picture came from the cache
};

// The picture a control wants of the samples a load finds: as the control would
// ask for it when the load is taken in, unless its state changes meanwhile.
struct PictureAfterLoad {
    PictureRecipe recipe;
    LoadOptions options;  // the load's, for the cache's key
};

// Queues `job` on the module's pool (the pictures' workers); a worker that runs
// it posts a LoadReadyEvent to `mailbox`, with the picture `picture` asks for
// when the load replaced the samples. The pool takes jobs in the order they
// were queued, so a batch's loads run in the order of its writes.
void LoadOnWorker(std::shared_ptr<LoadJob> job, std::shared_ptr<PictureMailbox> mailbox,
                  std::optional<PictureAfterLoad> picture = std::nullopt);

// Waits until every picture and load started so far has been finished and posted.
void WaitForPictureWorkers();

}  // namespace sonolux
