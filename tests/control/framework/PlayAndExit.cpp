// A host of the control module that plays one wave file and returns from main,
// the way Corvane ends: the module is loaded at run time and the control made
// by its class object, so the module's own player is the one that plays.
//
//   sonolux-play-and-exit FILE [--exec | --leave-playing]
//
// Without --exec the host never runs the application's own event loop: it
// waits for the sound in local loops. With --exec the first play runs inside
// QApplication::exec(), and after exec() has returned (the application is
// about to quit) the file is played again. Each play is waited for until its
// sound has been heard to its end: a host that returned the moment a sound
// started left the player nothing yet to tear down. With --leave-playing the
// host returns as soon as the sound is heard, while it still plays, so that
// the output is torn down with the application object.
//
// Prints "started" and "ended" for every play that is heard, "failed: REASON"
// for one that is not. Exit status: 0 when every play was heard to its end, 2
// when one failed, 3 when it was not heard in time, 1 when the module cannot
// be used.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QLibrary>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "sonolux/SonoluxModule.h"

namespace {

// Generous: the sound is far shorter, and a server answers within milliseconds.
constexpr int PlayDeadlineMilliseconds = 20000;

QWidget* CreateControl(QLibrary& module) {
    const auto getClassObject =
        reinterpret_cast<sonolux::DllGetClassObjectFunction>(module.resolve("DllGetClassObject"));
    if (!getClassObject) return nullptr;
    void* object = nullptr;
    if (getClassObject(&sonolux::CLSID_Sonolux, &sonolux::IID_IClassFactory, &object) !=
        sonolux::S_OK)
        return nullptr;
    auto* factory = static_cast<sonolux::IClassFactory*>(object);
    QWidget* control = nullptr;
    factory->CreateInstance(nullptr, &control);
    factory->Release();
    return control;
}

// Counts the sounds that the control tells have started and ended, and keeps
// the reason of the last failure. The host sees the control through its properties only.
class PlayWatcher : public QObject {
    Q_OBJECT
public:
    explicit PlayWatcher(QWidget& control) : m_control(control) {
        connect(&control, SIGNAL(PlayStateChanged()), this, SLOT(OnPlayStateChanged()));
    }

    int starts = 0;
    int ends = 0;
    QString error;

signals:
    void Changed();

private slots:
    void OnPlayStateChanged() {
        const bool playing = m_control.property("Playing").toBool();
        if (playing && !m_playing) ++starts;
        if (!playing && m_playing) ++ends;
        m_playing = playing;
        error = m_control.property("PlayError").toString();
        emit Changed();
    }

private:
    QWidget& m_control;
    bool m_playing = false;
};

// Plays the control's file and runs `runLoop` (which returns when the watcher
// changes, false at the deadline) until the sound ended or failed. Returns the
// exit status.
int PlayAndWait(QWidget& control, PlayWatcher& watcher, const std::function<bool()>& runLoop) {
    const int startsBefore = watcher.starts;
    const int endsBefore = watcher.ends;
    watcher.error.clear();
    QMetaObject::invokeMethod(&control, "Play");
    while (watcher.ends == endsBefore && watcher.error.isEmpty()) {
        if (!runLoop()) break;
    }
    if (watcher.starts > startsBefore) std::puts("started");
    if (watcher.ends > endsBefore) {
        std::puts("ended");
        return 0;
    }
    if (!watcher.error.isEmpty()) {
        std::printf("failed: %s\n", qPrintable(watcher.error));
        return 2;
    }
    std::puts("nothing heard in time");
    return 3;
}

// Runs a local loop until the watcher's next change; false at the deadline.
bool RunLocalLoop(PlayWatcher& watcher, const QDeadlineTimer& deadline) {
    QEventLoop loop;
    QObject::connect(&watcher, &PlayWatcher::Changed, &loop, &QEventLoop::quit);
    QTimer::singleShot(std::max<qint64>(deadline.remainingTime(), 0), &loop, &QEventLoop::quit);
    loop.exec();
    return !deadline.hasExpired();
}

// Runs the application's own loop until the watcher's next change; false at
// the deadline.
bool RunApplicationLoop(PlayWatcher& watcher, const QDeadlineTimer& deadline) {
    const QMetaObject::Connection quit =
        QObject::connect(&watcher, &PlayWatcher::Changed, qApp, &QCoreApplication::quit);
    QTimer::singleShot(std::max<qint64>(deadline.remainingTime(), 0), qApp,
                       &QCoreApplication::quit);
    QApplication::exec();
    QObject::disconnect(quit);
    return !deadline.hasExpired();
}

}  // namespace

int main(int argc, char** argv) {
    // Line by line, so that what was heard is told even by a host that hangs.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fputs("usage: sonolux-play-and-exit FILE [--exec]\n", stderr);
        return 1;
    }
    QLibrary module(QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("sonolux")));
    if (!module.load()) {
        std::fprintf(stderr, "%s\n", qPrintable(module.errorString()));
        return 1;
    }
    std::unique_ptr<QWidget> control(CreateControl(module));
    if (!control) {
        std::fputs("the module made no control\n", stderr);
        return 1;
    }
    control->setProperty("Filename", arguments.at(1));
    PlayWatcher watcher(*control);
    const QDeadlineTimer deadline(PlayDeadlineMilliseconds);
    const auto local = [&] { return RunLocalLoop(watcher, deadline); };

    if (arguments.contains(QStringLiteral("--leave-playing"))) {
        // Twenty times as long: still playing when the host returns.
        control->setProperty("PlaybackSpeedDivisor", QVariant::fromValue<short>(20));
        QMetaObject::invokeMethod(control.get(), "Play");
        while (watcher.starts == 0 && watcher.error.isEmpty() && local()) {
        }
        if (watcher.starts == 0) return 3;
        std::puts("started");
        return control->property("Playing").toBool() ? 0 : 3;
    }
    if (!arguments.contains(QStringLiteral("--exec"))) return PlayAndWait(*control, watcher, local);
    const int first =
        PlayAndWait(*control, watcher, [&] { return RunApplicationLoop(watcher, deadline); });
    if (first != 0) return first;
    return PlayAndWait(*control, watcher, local);
}

#include "PlayAndExit.moc"
