#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/CorvaneError.h"
#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "files/StaleTemporaries.h"
#include "tests/support/FileContents.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TempFolder.h"

namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// Some bytes that differ from position to position.
std::string Pattern(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + i * 7 % 251);
    return bytes;
}

QStringList Entries(const std::string& folder) {
    return QDir(Q(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Expects `move` to fail with `error`, reporting `description` (by default
// the system's description of the error).
template <typename Move>
void ExpectMoveFails(Move move, int error, QString description = {}) {
    if (description.isEmpty()) description = QString::fromLocal8Bit(std::strerror(error));
    try {
        move();
        ADD_FAILURE() << "the move should have failed";
    } catch (const CorvaneError& failure) {
        EXPECT_EQ(failure.Number(), error);
        EXPECT_EQ(failure.Description(), description);
    }
}

// System calls that pretend every rename crosses file systems, so the copy
// path runs on one file system, and that fail where a test asks them to.
struct Injected {
    static inline int writesBeforeFailure = -1;  // -1: never fail
    static inline int fsyncsBeforeFailure =
        -1;  // the copy's sync is the first, the folder's the second
    static inline int fsyncError = EIO;
    static inline bool noUnnamedFiles = false;
    static inline std::time_t clockAhead = 0;  // seconds the mover's clock is ahead
    static inline std::string undeletable;
    // What another program does to the source while it is being copied, or
    // right after it was linked to its new name.
    static inline std::function<void()> meanwhile;

    static void Reset() {
        writesBeforeFailure = -1;
        fsyncsBeforeFailure = -1;
        fsyncError = EIO;
        noUnnamedFiles = false;
        clockAhead = 0;
        undeletable.clear();
        meanwhile = nullptr;
    }
    static void Meanwhile() {
        if (!meanwhile) return;
        auto action = std::move(meanwhile);
        meanwhile = nullptr;
        action();
    }
    static int CrossDeviceRename(const char*, const char*) {
        errno = EXDEV;
        return -1;
    }
    static ssize_t Write(int fd, const void* data, std::size_t size) {
        if (writesBeforeFailure == 0) {
            errno = ENOSPC;
            return -1;
        }
        if (writesBeforeFailure > 0) --writesBeforeFailure;
        Meanwhile();
        // Short writes: the mover must go on until everything is written.
        return ::write(fd, data, std::min<std::size_t>(size, 1000));
    }
    static int Fsync(int fd) {
        if (fsyncsBeforeFailure == 0) {
            errno = fsyncError;
            return -1;
        }
        if (fsyncsBeforeFailure > 0) --fsyncsBeforeFailure;
        return ::fsync(fd);
    }
    static int Unlink(const char* path) {
        if (undeletable == path) {
            errno = EPERM;
            return -1;
        }
        return ::unlink(path);
    }
    static int OpenUnnamed(const char* folder) {
        if (noUnnamedFiles) {
            errno = EOPNOTSUPP;
            return -1;
        }
        return FileMoveSystemCalls::Real().openUnnamed(folder);
    }
    static std::time_t Now() { return ::time(nullptr) + clockAhead; }
    // A file system that cannot rename without replacing: the mover links instead.
    static int RenameWithoutNoReplace(const char*, const char*) {
        errno = EINVAL;
        return -1;
    }
    static int LinkThenMeanwhile(const char* from, const char* to) {
        const int result = ::link(from, to);
        Meanwhile();
        return result;
    }
    static const FileMoveSystemCalls& LinkingCalls() {
        static const FileMoveSystemCalls calls{
            RenameWithoutNoReplace, LinkThenMeanwhile, ::write, ::fsync, Unlink, OpenUnnamed, Now};
        return calls;
    }
    static const FileMoveSystemCalls& Calls() {
        static const FileMoveSystemCalls calls{CrossDeviceRename, ::link, Write, Fsync, Unlink,
                                               OpenUnnamed,       Now};
        return calls;
    }
};

struct FileMoverTest : ::testing::Test {
    void SetUp() override { Injected::Reset(); }
    void TearDown() override { Injected::Reset(); }
    TempFolder source;
    TempFolder target;
    FileMover mover;
    FileMover crossing{Injected::Calls()};
};

}  // namespace

TEST_F(FileMoverTest, MovesIntoAFolderUnderItsOwnName) {
    const std::string path = source.WriteText("x.wav", Pattern(5000, 'a'));
    mover.MoveFile(Q(path), Q(target.Path()) + "/");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(5000, 'a'));
}

TEST_F(FileMoverTest, NeverReplacesAFileOfTheSameName) {
    const std::string path = source.WriteText("x.wav", "the recording");
    target.WriteText("x.wav", "already sorted");
    ExpectMoveFails([&] { mover.MoveFile(Q(path), Q(target.Path()) + "/"); }, EEXIST);
    EXPECT_EQ(Contents(path), "the recording");
    EXPECT_EQ(Contents(target.Path("x.wav")), "already sorted");
}

TEST_F(FileMoverTest, MissingFolderOrSourceIsReportedAndNothingMoves) {
    const std::string path = source.WriteText("x.wav", "data");
    ExpectMoveFails([&] { mover.MoveFile(Q(path), Q(target.Path("nowhere")) + "/"); }, ENOENT);
    EXPECT_EQ(Contents(path), "data");
    ExpectMoveFails([&] { mover.MoveFile(Q(source.Path("gone.wav")), Q(target.Path()) + "/"); },
                    ENOENT);
}

TEST_F(FileMoverTest, CopyAcrossFileSystemsKeepsContentsModeAndTime) {
    const std::string path = source.WriteText("x.wav", Pattern(200000, 'b'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const struct timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    crossing.MoveFile(Q(path), Q(target.Path()) + "/");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(200000, 'b'));
    struct stat status {};
    ASSERT_EQ(::stat(target.Path("x.wav").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(status.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(Entries(target.Path()), QStringList({"x.wav"}));
}

TEST_F(FileMoverTest, CopyThatFailsAnywhereLeavesSourceAndNoPartialFile) {
    const std::string path = source.WriteText("x.wav", Pattern(100000, 'c'));
    const QString into = Q(target.Path()) + "/";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed copy" : "named temporary copy");
        Injected::Reset();
        Injected::noUnnamedFiles = !unnamed;
        Injected::writesBeforeFailure = 40;  // 40 000 of 100 000 bytes
        ExpectMoveFails([&] { crossing.MoveFile(Q(path), into); }, ENOSPC);
        Injected::writesBeforeFailure = -1;
        Injected::fsyncsBeforeFailure = 0;  // the copy's data
        ExpectMoveFails([&] { crossing.MoveFile(Q(path), into); }, EIO);
        Injected::fsyncsBeforeFailure = 1;  // the folder, after the copy got its name
        ExpectMoveFails([&] { crossing.MoveFile(Q(path), into); }, EIO);
        // A folder its file system cannot sync is as durable as it gets.
        Injected::fsyncsBeforeFailure = 1;
        Injected::fsyncError = EROFS;
        const std::string moved = crossing.MoveFile(Q(path), into).path.toStdString();
        EXPECT_EQ(Contents(moved), Pattern(100000, 'c'));
        ASSERT_EQ(std::rename(moved.c_str(), path.c_str()), 0);
        Injected::fsyncError = EIO;
        Injected::fsyncsBeforeFailure = -1;
        Injected::undeletable = path;  // the source cannot go: the copy goes again
        ExpectMoveFails([&] { crossing.MoveFile(Q(path), into); }, EPERM);
        EXPECT_EQ(Contents(path), Pattern(100000, 'c'));
        EXPECT_TRUE(Entries(target.Path()).isEmpty());
    }
}

TEST_F(FileMoverTest, NamedTemporaryCopyMovesWhereUnnamedFilesAreMissing) {
    Injected::noUnnamedFiles = true;
    const std::string path = source.WriteText("x.wav", Pattern(70000, 'g'));
    EXPECT_EQ(crossing.MoveFile(Q(path), Q(target.Path()) + "/").path, Q(target.Path("x.wav")));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(70000, 'g'));
    EXPECT_EQ(Entries(target.Path()), QStringList({"x.wav"}));
}

TEST_F(FileMoverTest, SourceThatCannotBeRemovedUndoesALinkedMoveToo) {
    const std::string path = source.WriteText("x.wav", "data");
    Injected::undeletable = path;
    ExpectMoveFails(
        [&] { FileMover(Injected::LinkingCalls()).MoveFile(Q(path), Q(target.Path()) + "/"); },
        EPERM);
    EXPECT_EQ(Contents(path), "data");
    EXPECT_TRUE(Entries(target.Path()).isEmpty());
}

TEST_F(FileMoverTest, SymbolicLinkMovesAsALink) {
    const std::string recording = source.WriteText("real.wav", "the recording");
    const std::string link = source.Path("link.wav");
    ASSERT_EQ(::symlink(recording.c_str(), link.c_str()), 0);
    crossing.MoveFile(Q(link), Q(target.Path()) + "/");
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    ASSERT_TRUE(std::filesystem::is_symlink(target.Path("link.wav")));
    EXPECT_EQ(std::filesystem::read_symlink(target.Path("link.wav")).string(), recording);
    EXPECT_EQ(Contents(recording), "the recording");

    mover.MoveFile(Q(target.Path("link.wav")), Q(source.Path()) + "/");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Contents(link), "the recording");
}

TEST_F(FileMoverTest, TargetWithoutSeparatorIsTheNewNameAndIsReturned) {
    const std::string path = source.WriteText("x.wav", "data");
    EXPECT_EQ(mover.MoveFile(Q(path), Q(target.Path("renamed.wav"))).path,
              Q(target.Path("renamed.wav")));
    EXPECT_EQ(Contents(target.Path("renamed.wav")), "data");
    // A folder of that name is never replaced.
    const std::string other = source.WriteText("y.wav", "other");
    target.MakeFolder("birds");
    EXPECT_THROW(mover.MoveFile(Q(other), Q(target.Path("birds"))), CorvaneError);
    EXPECT_EQ(Contents(other), "other");
}

TEST_F(FileMoverTest, FallsBackToLinkWhereRenameCannotRefuseToReplace) {
    FileMover linking(Injected::LinkingCalls());
    const std::string first = source.WriteText("a.wav", "A");
    linking.MoveFile(Q(first), Q(target.Path()) + "/");
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(Contents(target.Path("a.wav")), "A");

    const std::string second = source.WriteText("a.wav", "B");
    ExpectMoveFails([&] { linking.MoveFile(Q(second), Q(target.Path()) + "/"); }, EEXIST);
    EXPECT_EQ(Contents(second), "B");
    EXPECT_EQ(Contents(target.Path("a.wav")), "A");
}

TEST_F(FileMoverTest, MovesBetweenRealFileSystems) {
    struct stat disk {
    }, memory{};
    ASSERT_EQ(::stat(source.Path().c_str(), &disk), 0);
    if (::stat("/dev/shm", &memory) != 0 || memory.st_dev == disk.st_dev) {
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    }
    QTemporaryDir shm(QStringLiteral("/dev/shm/corvane-test-XXXXXX"));
    ASSERT_TRUE(shm.isValid());
    const std::string path = source.WriteText("x.wav", Pattern(300000, 'd'));
    mover.MoveFile(Q(path), shm.path() + "/");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(Contents(shm.path().toStdString() + "/x.wav"), Pattern(300000, 'd'));
    EXPECT_EQ(QDir(shm.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"x.wav"}));
}

TEST_F(FileMoverTest, FullDiskLeavesSourceAndNoPartialFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "a real full disk needs root to mount a small tmpfs";
    const std::string path = source.WriteText("big.wav", Pattern(200000, 'e'));
    const std::string mountPoint = target.MakeFolder("small");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A private mount namespace: the 64 KiB disk vanishes with this process.
        if (::unshare(CLONE_NEWNS) != 0) ::_exit(10);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) ::_exit(11);
        if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) ::_exit(12);
        int result = 0;
        try {
            FileMover().MoveFile(Q(path), Q(mountPoint) + "/");
            result = 20;
        } catch (const CorvaneError& error) {
            if (error.Number() != ENOSPC) result = 21;
        }
        if (Contents(path) != Pattern(200000, 'e')) result = 22;
        if (!Entries(mountPoint).isEmpty()) result = 23;
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    const int code = WEXITSTATUS(status);
    if (code >= 10 && code <= 12)
        GTEST_SKIP() << "cannot mount a small tmpfs here (" << code << ")";
    EXPECT_EQ(code, 0) << "20: moved, 21: wrong error, 22: source changed, 23: file left behind";
    EXPECT_EQ(Contents(path), Pattern(200000, 'e'));
}

// A recorder or a sync tool may rename a new recording onto the name being
// moved, cut the file short, or go on writing it. The move must then neither
// remove that new file nor publish a copy that is not the recording.
TEST_F(FileMoverTest, CopyFailsWhenAnotherProgramChangesTheSourceMeanwhile) {
    const QString into = Q(target.Path()) + "/";
    const std::string path = source.Path("x.wav");
    struct Case {
        const char* what;
        std::function<void()> change;
        std::string leftAtSource;
    };
    const std::string newer = Pattern(1000, 'n');
    const Case cases[] = {
        {"replaced", [&] { ::rename(source.WriteText("new.wav", newer).c_str(), path.c_str()); },
         newer},
        {"cut short", [&] { ::truncate(path.c_str(), 5000); },
         Pattern(100000, 'r').substr(0, 5000)},
        {"grown", [&] { std::ofstream(path, std::ios::app) << "more"; },
         Pattern(100000, 'r') + "more"},
        // An editor that keeps the length and puts the modification time back.
        {"edited, time put back",
         [&] {
             struct stat before {};
             ::stat(path.c_str(), &before);
             std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << "EDIT";
             const struct timespec times[2] = {before.st_atim, before.st_mtim};
             ::utimensat(AT_FDCWD, path.c_str(), times, 0);
         },
         "EDIT" + Pattern(100000, 'r').substr(4)},
    };
    for (const bool unnamed : {true, false}) {
        for (const Case& change : cases) {
            SCOPED_TRACE(std::string(change.what) + (unnamed ? ", unnamed copy" : ", named copy"));
            Injected::Reset();
            Injected::noUnnamedFiles = !unnamed;
            source.WriteText("x.wav", Pattern(100000, 'r'));
            Injected::meanwhile = change.change;
            try {
                crossing.MoveFile(Q(path), into);
                ADD_FAILURE() << "the move should have failed";
            } catch (const CorvaneError& failure) {
                EXPECT_EQ(failure.Description(),
                          "\"" + Q(path) +
                              "\" changed while it was being copied (another program is writing "
                              "or replacing it); it was not moved.");
            }
            EXPECT_EQ(Contents(path), change.leftAtSource);
            EXPECT_TRUE(Entries(target.Path()).isEmpty());
        }
    }
}

// A program that takes no lock (a file manager) moves the recording away
// during the copy: the copy may be the only one left, so it stays, but the
// move says what happened.
TEST_F(FileMoverTest, SourceMovedAwayMeanwhileLeavesTheCopyWithAWarning) {
    const std::string path = source.WriteText("x.wav", Pattern(100000, 's'));
    const std::string elsewhere = source.MakeFolder("elsewhere") + "/x.wav";
    Injected::meanwhile = [&] { ::rename(path.c_str(), elsewhere.c_str()); };
    const MoveResult moved = crossing.MoveFile(Q(path), Q(target.Path()) + "/");
    EXPECT_EQ(moved.path, Q(target.Path("x.wav")));
    EXPECT_EQ(moved.warning, "\"" + Q(path) + "\" was copied to \"" + Q(target.Path("x.wav")) +
                                 "\", but the original vanished during the copy (another "
                                 "program moved or deleted it); the recording may also exist "
                                 "elsewhere.");
    EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(100000, 's'));
    EXPECT_EQ(Contents(elsewhere), Pattern(100000, 's'));

    // Linked to its new name, then replaced at the old one: both files stay.
    const std::string other = source.WriteText("y.wav", "the recording");
    Injected::meanwhile = [&] {
        ::rename(source.WriteText("new.wav", "a new recording").c_str(), other.c_str());
    };
    FileMover(Injected::LinkingCalls()).MoveFile(Q(other), Q(target.Path()) + "/");
    EXPECT_EQ(Contents(target.Path("y.wav")), "the recording");
    EXPECT_EQ(Contents(other), "a new recording");
}

// Two Corvane windows (or two Corvane programs) bound to different folders
// must never both move one recording: it would end up in two class folders.
TEST_F(FileMoverTest, TwoMoversNeverMoveOneRecordingAtOnce) {
    const TempFolder second;
    const std::string path = source.WriteText("x.wav", Pattern(100000, 't'));
    const QString busy = "\"" + Q(path) +
                         "\" is being moved by another program; it was left "
                         "where it is.";
    for (const bool crossingToo : {false, true}) {
        SCOPED_TRACE(crossingToo ? "second mover copies" : "second mover renames");
        Injected::Reset();
        FileMover& other = crossingToo ? crossing : mover;
        // The first mover, halfway through its copy, meets the second.
        Injected::meanwhile = [&] {
            ExpectMoveFails([&] { other.MoveFile(Q(path), Q(second.Path()) + "/"); }, EAGAIN, busy);
        };
        FileMover first(Injected::Calls());
        EXPECT_TRUE(first.MoveFile(Q(path), Q(target.Path()) + "/").warning.isEmpty());
        EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(100000, 't'));
        EXPECT_TRUE(Entries(second.Path()).isEmpty());
        ASSERT_EQ(::rename(target.Path("x.wav").c_str(), path.c_str()), 0);
    }
}

// The same between two processes: the lock is the system's, not the program's.
TEST_F(FileMoverTest, AMoverInAnotherProcessIsRefusedWhileTheFirstCopies) {
    const std::string path = source.WriteText("x.wav", Pattern(100000, 'u'));
    int toChild[2];
    int toParent[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(toParent), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Halfway through the copy: tell the parent, and wait until it has tried.
        Injected::meanwhile = [&] {
            char byte = 1;
            if (::write(toParent[1], &byte, 1) != 1 || ::read(toChild[0], &byte, 1) != 1)
                ::_exit(30);
        };
        try {
            FileMover(Injected::Calls()).MoveFile(Q(path), Q(target.Path()) + "/");
        } catch (const CorvaneError&) {
            ::_exit(31);
        }
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(toParent[0], &byte, 1), 1);
    const TempFolder second;
    EXPECT_THROW(mover.MoveFile(Q(path), Q(second.Path()) + "/"), CorvaneError);
    EXPECT_EQ(::write(toChild[1], &byte, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(target.Path("x.wav")), Pattern(100000, 'u'));
    EXPECT_TRUE(Entries(second.Path()).isEmpty());
    EXPECT_FALSE(std::filesystem::exists(path));
    for (const int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) ::close(fd);
}

// Names that are not UTF-8 read with U+FFFD in place of their odd bytes; that
// text must never stand for another file that really has U+FFFD in its name.
TEST_F(FileMoverTest, RefusesNamesItCannotRepresentExactly) {
    const std::string latin1 = source.WriteText("caf\xe9.wav", "Latin-1 name");
    const std::string real = source.WriteText("caf\xef\xbf\xbd.wav", "real U+FFFD name");
    const QString asText = Q(source.Path()) + QStringLiteral("/caf\uFFFD.wav");
    try {
        mover.MoveFile(asText, Q(target.Path()) + "/");
        ADD_FAILURE() << "an ambiguous name was moved";
    } catch (const CorvaneError& failure) {
        EXPECT_EQ(failure.Number(), EILSEQ);
        EXPECT_TRUE(failure.Description().contains(asText));
    }
    const QString loneSurrogate = Q(source.Path()) + "/x" + QChar(0xD800) + ".wav";
    EXPECT_THROW(mover.MoveFile(loneSurrogate, Q(target.Path()) + "/"), CorvaneError);
    // What comes before a NUL names another file, which must not move in its place.
    const std::string prefix = source.WriteText("bird", "not a recording");
    ExpectMoveFails(
        [&] { mover.MoveFile(Q(prefix) + QChar(0) + ".wav", Q(target.Path()) + "/"); }, EILSEQ,
        "The name \"" + Q(prefix) + QChar(0x2400) +
            ".wav\" holds a NUL character, which no file name can hold; it was not moved.");
    EXPECT_EQ(Contents(prefix), "not a recording");
    EXPECT_EQ(Contents(latin1), "Latin-1 name");
    EXPECT_EQ(Contents(real), "real U+FFFD name");
    EXPECT_TRUE(Entries(target.Path()).isEmpty());

    // Alone in its folder the real name is exact, and moves.
    ::unlink(latin1.c_str());
    mover.MoveFile(asText, Q(target.Path()) + "/");
    EXPECT_EQ(Contents(target.Path("caf\xef\xbf\xbd.wav")), "real U+FFFD name");
}

namespace {

// A temporary as a killed writer leaves it: named as Corvane names them,
// unlocked.
std::string LeaveBehind(TempFolder& folder, std::string_view stem, std::uint64_t random) {
    return folder.WriteText(StaleTemporaries::TemporaryName(stem, random), "partial");
}

// Another process that holds a POSIX record lock on `path` while it lives. (A
// lock of this process's own would not do: closing any descriptor of the file
// drops it.)
class PosixLockHolder {
public:
    explicit PosixLockHolder(const std::string& path) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0) return;
        m_child = ::fork();
        if (m_child == 0) {
            ::close(m_release[1]);  // so that the parent's close ends the read below
            const int fd = ::open(path.c_str(), O_RDWR);
            char byte = ::lockf(fd, F_LOCK, 0) == 0 ? 1 : 0;
            if (::write(ready[1], &byte, 1) == 1) ::read(m_release[0], &byte, 1);
            ::_exit(0);
        }
        char byte = 0;
        m_locked = ::read(ready[0], &byte, 1) == 1 && byte == 1;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~PosixLockHolder() {
        ::close(m_release[1]);
        ::close(m_release[0]);
        if (m_child > 0) ::waitpid(m_child, nullptr, 0);
    }
    bool IsLocked() const { return m_locked; }

private:
    pid_t m_child = -1;
    int m_release[2] = {-1, -1};
    bool m_locked = false;
};

}  // namespace

// Only what a killed Corvane left is removed: never a file another program
// holds, shares or owns, and never a file of the user's that merely looks alike.
TEST_F(FileMoverTest, RemovesOnlyTemporariesThatAKilledMoveLeft) {
    const std::string_view stem = StaleTemporaries::MoveCopyStem;
    const std::string dead = LeaveBehind(target, stem, 1);
    const std::string flocked = LeaveBehind(target, stem, 2);
    const std::string posixLocked = LeaveBehind(target, stem, 3);
    const std::string linked = LeaveBehind(target, stem, 4);
    ASSERT_EQ(::link(linked.c_str(), source.Path("a link").c_str()), 0);
    const std::string lookAlike =
        target.WriteText(std::string(stem) + "0000000000000001-00000000", "the user's");
    const std::string olderPattern = target.WriteText(".corvane-move-AbC123", "the user's");
    const std::string otherStem = LeaveBehind(target, ".keylist.txt.corvane-", 5);
    const int flock = ::open(flocked.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(flock, LOCK_EX), 0);
    const PosixLockHolder posixLock(posixLocked);
    ASSERT_TRUE(posixLock.IsLocked());
    Injected::noUnnamedFiles = true;

    // Written a moment ago: it may be a writer's that has not locked it yet.
    crossing.MoveFile(Q(source.WriteText("x.wav", "data")), Q(target.Path()) + "/");
    EXPECT_TRUE(std::filesystem::exists(dead));

    // The first copy into the folder in a run looks.
    Injected::clockAhead = 60;
    FileMover later(Injected::Calls());
    later.MoveFile(Q(source.WriteText("y.wav", "data")), Q(target.Path()) + "/");
    EXPECT_FALSE(std::filesystem::exists(dead));
    for (const std::string& kept :
         {flocked, posixLocked, linked, lookAlike, olderPattern, otherStem})
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
    ::close(flock);

    // A safe write clears only its own file's temporaries.
    const std::string staleWrite =
        LeaveBehind(target, StaleTemporaries::SafeWriteStem("keylist.txt"), 6);
    struct LaterWriter : SafeFileWriter {
        std::time_t Now() const override { return ::time(nullptr) + 60; }
    };
    EXPECT_EQ(LaterWriter().WriteFile(Q(target.Path("keylist.txt")), "list"), QString());
    EXPECT_FALSE(std::filesystem::exists(staleWrite));
    EXPECT_TRUE(std::filesystem::exists(olderPattern));
    EXPECT_EQ(Contents(target.Path("keylist.txt")), "list");
}

// Where the file system has unnamed files, no move ever made a named
// temporary, so nothing there is taken for one.
TEST_F(FileMoverTest, LeavesLookAlikesAloneWhereCopiesAreUnnamed) {
    const std::string lookAlike = LeaveBehind(target, StaleTemporaries::MoveCopyStem, 7);
    Injected::clockAhead = 60;
    crossing.MoveFile(Q(source.WriteText("x.wav", "data")), Q(target.Path()) + "/");
    EXPECT_TRUE(std::filesystem::exists(lookAlike));
}

// Copies that killed moves left fill a small disk: the move that needs the
// room clears them, even when it is not the first into that folder.
TEST_F(FileMoverTest, ClearsKilledMovesCopiesWhenTheDiskIsShort) {
    SmallDisk disk(256 * 1024);
    if (!disk.IsAvailable()) GTEST_SKIP() << disk.SkipReason();
    Injected::noUnnamedFiles = true;
    const QString into = disk.Path(QString());  // the disk's root, with its final "/"
    crossing.MoveFile(Q(source.WriteText("first.wav", "data")), into);
    const std::string leftover = (into + QString::fromStdString(StaleTemporaries::TemporaryName(
                                             StaleTemporaries::MoveCopyStem, 8)))
                                     .toStdString();
    std::ofstream(leftover) << Pattern(150 * 1024, 'l');
    Injected::clockAhead = 60;
    const std::string path = source.WriteText("big.wav", Pattern(150 * 1024, 'b'));
    EXPECT_EQ(crossing.MoveFile(Q(path), into).path, disk.Path(QStringLiteral("big.wav")));
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_EQ(Contents(disk.Path(QStringLiteral("big.wav")).toStdString()),
              Pattern(150 * 1024, 'b'));
}
