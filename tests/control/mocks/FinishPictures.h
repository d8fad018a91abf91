#pragma once

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <future>
#include <memory>

#include "control/CSonoluxCtrl.h"
#include "control/PictureWorkers.h"

// Lets every load and picture the workers are busy with finish and hands the finished ones
// to their controls, as the window thread's event loop would; then, with
// `paint`, the repaints they asked for (which may ask for newer pictures). Returns whether
// `control` still waits for a picture (it should not). Waits for the workers, never for a time.
inline bool PictureStillPending(CSonoluxCtrl& control, bool paint = true) {
    // A paint may find the picture stale and start another: a few rounds at most.
    for (int round = 0; round < 4; ++round) {
        sonolux::WaitForPictureWorkers();
        QCoreApplication::sendPostedEvents(nullptr, sonolux::LoadReadyEvent::EventType());
        QCoreApplication::sendPostedEvents(nullptr, sonolux::PictureReadyEvent::EventType());
        if (!paint) break;
        QCoreApplication::processEvents();
        if (!control.GetPicturePending()) break;
    }
    return control.GetPicturePending();
}

// Keeps every worker of the module's pool busy until released, so that a load
// or picture asked for meanwhile stays queued and no worker starts it.
class HeldWorkers {
public:
    HeldWorkers() {
        // As many as the pool has threads (PictureWorkers: one per core).
        for (int i = 0; i < std::max(1, QThread::idealThreadCount()); ++i) {
            sonolux::LoadOnWorker(
                std::make_shared<sonolux::LoadJob>(0,
                                                   [release = m_release] {
                                                       release.wait();
                                                       return sonolux::SharedLoad{};
                                                   }),
                m_nowhere);
        }
    }
    ~HeldWorkers() { Release(); }
    HeldWorkers(const HeldWorkers&) = delete;
    HeldWorkers& operator=(const HeldWorkers&) = delete;
    // Lets the workers go, and waits until they have done what was queued meanwhile.
    void Release() {
        if (m_released) return;
        m_released = true;
        m_go.set_value();
        sonolux::WaitForPictureWorkers();
    }

private:
    std::promise<void> m_go;
    std::shared_future<void> m_release = m_go.get_future().share();
    std::shared_ptr<sonolux::PictureMailbox> m_nowhere =
        std::make_shared<sonolux::PictureMailbox>(nullptr);
    bool m_released = false;
};
