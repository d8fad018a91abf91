#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CorvaneError.h"
#include "FileMover.h"
#include "TempFolder.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

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

// Expects `move` to fail with `error`, reporting its system description.
template <typename Move>
void ExpectMoveFails(Move move, int error) {
    try {
        move();
        ADD_FAILURE() << "the move should have failed";
    } catch (const CorvaneError& failure) {
        EXPECT_EQ(failure.Number(), error);
        EXPECT_EQ(failure.Description(), QString::fromLocal8Bit(std::strerror(error)));
    }
}

// System calls that pretend every rename crosses file systems, so the copy
// path runs on one file system, and that fail where a test asks them to.
struct Injected {
    static inline int writesBeforeFailure = -1;  // -1: never fail
    static inline int fsyncsBeforeFailure =
        -1;  // the copy's sync is the first, the folder's the second
    static inline bool noUnnamedFiles = false;
    static inline std::string undeletable;

    static void Reset() {
        writesBeforeFailure = -1;
        fsyncsBeforeFailure = -1;
        noUnnamedFiles = false;
        undeletable.clear();
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
        // Short writes: the mover must go on until everything is written.
        return ::write(fd, data, std::min<std::size_t>(size, 1000));
    }
    static int Fsync(int fd) {
        if (fsyncsBeforeFailure == 0) {
            errno = EIO;
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
    // A file system that cannot rename without replacing: the mover links instead.
    static int RenameWithoutNoReplace(const char*, const char*) {
        errno = EINVAL;
        return -1;
    }
    static const FileMoveSystemCalls& LinkingCalls() {
        static const FileMoveSystemCalls calls{
            RenameWithoutNoReplace, ::link, ::write, ::fsync, Unlink, OpenUnnamed};
        return calls;
    }
    static const FileMoveSystemCalls& Calls() {
        static const FileMoveSystemCalls calls{CrossDeviceRename, ::link, Write, Fsync, Unlink,
                                               OpenUnnamed};
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
    EXPECT_EQ(crossing.MoveFile(Q(path), Q(target.Path()) + "/"), Q(target.Path("x.wav")));
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
    EXPECT_EQ(mover.MoveFile(Q(path), Q(target.Path("renamed.wav"))),
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
