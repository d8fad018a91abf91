#include "bench/UserLoop.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QPixmapCache>
#include <cmath>

#include "cells/SonoluxBord.h"
#include "core/CorvaneError.h"
#include "demo/WaveWriter.h"
#include "sonolux/SonoluxModule.h"

namespace userloop {

ControlModule& Controls() {
    // Never destroyed: the module's own statics go first at exit, and its class
    // object must not be released after that. The module built with the
    // benchmarks, never one a user registered, which may be of another build.
    static ControlModule& module = []() -> ControlModule& {
        auto* loaded = new ControlModule;
        try {
            loaded->Load(sonolux::CLSID_Sonolux, QCoreApplication::applicationDirPath());
        } catch (const CorvaneError& error) {
            qFatal("cannot load the control module: %s", qPrintable(error.Description()));
        }
        return *loaded;
    }();
    return module;
}

bool SetPictureCacheLimit(std::uint64_t bytes) {
    using SetLimit = void (*)(std::uint64_t);
    static const auto setLimit = reinterpret_cast<SetLimit>(
        QLibrary(Controls().ModulePath()).resolve("SonoluxSetPictureCacheLimit"));
    if (setLimit) setLimit(bytes);
    return setLimit != nullptr;
}

bool StartClean(std::uint64_t pictureCacheLimit) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPixmapCache::clear();
    SetPictureCacheLimit(0);  // a limit of 0 empties the cache
    return SetPictureCacheLimit(pictureCacheLimit);
}

double MinorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt);
}

double ResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:")) continue;
        return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

const std::vector<std::int16_t>& OneSecond() {
    static const std::vector<std::int16_t> samples = [] {
        std::vector<std::int16_t> chirp(48000);
        double phase = 0;
        for (std::size_t i = 0; i < chirp.size(); ++i) {
            phase += 2 * 3.14159265358979 * (500.0 + 4000.0 * i / chirp.size()) / 48000.0;
            chirp[i] = static_cast<std::int16_t>(8000 * std::sin(phase));
        }
        return chirp;
    }();
    return samples;
}

const std::vector<std::int16_t>& TenSeconds() {
    static const std::vector<std::int16_t> samples = [] {
        std::vector<std::int16_t> ten;
        for (int second = 0; second < 10; ++second)
            ten.insert(ten.end(), OneSecond().begin(), OneSecond().end());
        return ten;
    }();
    return samples;
}

void WriteRecordings(const QString& folder, int count, const std::vector<std::int16_t>& samples) {
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/r%1.wav").arg(i, 6, 10, QLatin1Char('0'));
        corvane::WriteMono16Wave(path.toStdString(), 48000, samples);
    }
}

void ShownPictures::Watch(frmMain& window) {
    for (QObject* control : m_controls) control->removeEventFilter(this);
    m_controls.clear();
    m_index.clear();
    for (int i = 0; i < window.VisibleCellCount(); ++i) {
        SonoluxBord& cell = window.Cell(i);
        m_controls.push_back(cell.Sonolux1());
        m_index.insert(cell.Sonolux1(), i);
        cell.Sonolux1()->installEventFilter(this);
        connect(&cell, &SonoluxBord::PictureStateChanged, this,
                [this](int index) { SetShown(index, false); });
    }
    m_stuck.setSingleShot(true);
    m_stuck.callOnTimeout(
        [this] { qFatal("%d cells never showed their pictures on screen", m_notShown); });
    Reset();
}

void ShownPictures::Reset() {
    m_shown.assign(m_controls.size(), 0);
    m_notShown = Watched();
}

void ShownPictures::WaitUntilAllShown() {
    m_stuck.start(60000);
    while (m_notShown > 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_stuck.stop();
}

bool ShownPictures::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint) return false;
    // A paint that asks for a picture says so at once, through PictureStateChanged.
    // Looked up once: the watch should cost the paints it times next to nothing.
    const QMetaObject* meta = watched->metaObject();
    if (meta != m_pendingOf) {
        m_pendingOf = meta;
        m_pending = meta->property(meta->indexOfProperty("PicturePending"));
    }
    const bool pending = m_pending.isValid() ? m_pending.read(watched).toBool()
                                             : watched->property("PicturePending").toBool();
    SetShown(m_index.value(watched, -1), !pending);
    return false;
}

void ShownPictures::SetShown(int index, bool shown) {
    if (index < 0 || index >= Watched() || (m_shown[index] != 0) == shown) return;
    m_shown[index] = shown ? 1 : 0;
    m_notShown += shown ? -1 : 1;
}

}  // namespace userloop
