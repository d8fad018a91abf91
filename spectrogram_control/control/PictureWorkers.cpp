#include "control/PictureWorkers.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "control/FramePacer.h"

namespace sonolux {
namespace {

// The module's own pool: a host's use of Qt's global pool neither waits for the
// pictures nor makes them wait.
QThreadPool& Workers() {
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool;
        made->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        // A cell shown again soon needs its worker again; keep them a while.
        made->setExpiryTimeout(30000);
        // No picture is still being drawn when the application object goes, and
        // with it what the drawing uses.
        qAddPostRoutine([] { Workers().waitForDone(); });
        return made;
    }();
    return *pool;
}

// The picture of `samples` as `recipe` says; an empty one when there is no room
// to draw it, as a picture whose image cannot be made is, so that its control
// stops waiting for it.
SharedPicture DrawPicture(const std::vector<std::int16_t>& samples, const PictureRecipe& recipe) {
    auto picture = std::make_shared<SpectrogramImage>();
    try {
        picture->Build(samples, recipe.parameters, recipe.sizePx, recipe.options);
    } catch (const std::bad_alloc&) {
        picture = std::make_shared<SpectrogramImage>();
    }
    return picture;
}

// Loads and pictures handed to the workers whose results the window thread has
// not had yet (or that were dropped).
std::atomic<int> g_workInHand{0};

void StartWork(std::function<void()> work) {
    g_workInHand.fetch_add(1);
    Workers().start(std::move(work));
}

// One piece of work is done with. When it was the last, nothing more is on its
// way: what waits for the display's next frame need not wait any longer. The
// pacer is the window thread's: work that ends on a worker (a load its owner
// ran, a result for a control that is gone) tells it through the event loop,
// where newer work may have come meanwhile.
void EndWork() {
    if (g_workInHand.fetch_sub(1) != 1) return;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;
    if (QThread::currentThread() == application->thread()) {
        FramePacer::WorkersIdle();
        return;
    }
    QMetaObject::invokeMethod(
        application,
        [] {
            if (g_workInHand.load() == 0) FramePacer::WorkersIdle();
        },
        Qt::QueuedConnection);
}

}  // namespace

void PictureMailbox::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receiver = nullptr;
}

void PictureMailbox::Post(QEvent* event) {
    std::lock_guard<std::mutex> lock(m_mutex);
    // Under the lock, so the receiver cannot be destroyed between the check and
    // the post; an event posted to it before then goes with it.
    if (m_receiver) {
        QCoreApplication::postEvent(m_receiver, event);
    } else {
        delete event;
    }
}

QEvent::Type PictureReadyEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

PictureReadyEvent::~PictureReadyEvent() {
    EndWork();
}

void DrawPictureOnWorker(std::uint64_t generation, SharedSamples samples,
                         const PictureRecipe& recipe, std::shared_ptr<PictureMailbox> mailbox) {
    StartWork([generation, samples = std::move(samples), recipe, mailbox = std::move(mailbox)] {
        mailbox->Post(new PictureReadyEvent(generation, DrawPicture(*samples, recipe), recipe));
    });
}

void LoadJob::Run() {
    try {
        m_result = m_load();
    } catch (...) {
        m_error = std::current_exception();
    }
    // What the load holds on to (a path, options) is no longer needed.
    m_load = nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state.store(Done);
    m_finished.notify_all();
}

bool LoadJob::RunOnWorker() {
    int expected = Queued;
    if (!m_state.compare_exchange_strong(expected, Running)) return false;
    Run();
    return true;
}

const SharedLoad& LoadJob::Finish() {
    int expected = Queued;
    // A cancelled load is still run when its owner asks for it after all.
    if (m_state.compare_exchange_strong(expected, Running) ||
        (expected == Cancelled && m_state.compare_exchange_strong(expected, Running))) {
        Run();
    } else if (expected != Done) {
        m_ownerWaits.store(true);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_finished.wait(lock, [this] { return m_state.load() == Done; });
    }
    if (m_error) std::rethrow_exception(m_error);
    return m_result;
}

const SharedLoad* LoadJob::Result() const {
    return m_state.load() == Done && !m_error ? &m_result : nullptr;
}

bool LoadJob::Cancel() {
    int expected = Queued;
    return m_state.compare_exchange_strong(expected, Cancelled);
}

QEvent::Type LoadReadyEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

LoadReadyEvent::~LoadReadyEvent() {
    EndWork();
}

void LoadOnWorker(std::shared_ptr<LoadJob> job, std::shared_ptr<PictureMailbox> mailbox,
                  std::optional<PictureAfterLoad> picture) {
    StartWork([job = std::move(job), mailbox = std::move(mailbox), picture] {
        if (!job->RunOnWorker()) {
            // Its owner ran or dropped the load: no event will end this work.
            EndWork();
            return;
        }
        auto ready = std::make_unique<LoadReadyEvent>(job->generation);
        const SharedLoad* load = job->Result();
        if (picture && !job->Superseded() && load && load->result == LoadResult::Replaced &&
            load->samples) {
            ready->samples = load->samples;
            ready->recipe = picture->recipe;
            if (load->identity)
                ready->picture = SharedPictureCache().FindPicture(*load->identity, picture->options,
                                                                  picture->recipe);
            if (!ready->picture) {
                ready->picture = DrawPicture(*load->samples, picture->recipe);
                ready->drawn = true;
            }
        }
        mailbox->Post(ready.release());
    });
}

void WaitForPictureWorkers() {
    Workers().waitForDone();
}

}  // namespace sonolux
