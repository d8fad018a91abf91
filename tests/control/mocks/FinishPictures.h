#pragma once

#include <QCoreApplication>

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
