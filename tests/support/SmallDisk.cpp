#include "tests/support/SmallDisk.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr int PageSize = 4096;
const QString FillerPrefix = QStringLiteral("filler-");

// Moves the calling thread into a mount namespace of its own, once, with no
// mount events flowing back to the parent namespace.
std::string EnterPrivateMountNamespace() {
    static std::string result = [] {
        if (::geteuid() != 0) return std::string("needs root to mount a small tmpfs");
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("cannot enter a mount namespace: ") + std::strerror(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make the mounts private: ") + std::strerror(errno);
        return std::string();
    }();
    return result;
}

}  // namespace

SmallDisk::SmallDisk(std::size_t bytes) {
    m_skipReason = EnterPrivateMountNamespace();
    if (!m_skipReason.empty()) return;
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", QFile::encodeName(m_mountPoint.path()).constData(), "tmpfs", 0,
                options.c_str()) != 0) {
        m_skipReason = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk() {
    if (m_mounted) ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
}

QString SmallDisk::Path(const QString& name) const {
    return m_mountPoint.path() + '/' + name;
}

void SmallDisk::Fill(int pagesLeft) {
    const std::vector<char> page(PageSize, 'x');
    for (;;) {
        const QString name = Path(FillerPrefix + QString::number(m_fillers));
        const int fd =
            ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) break;
        const ssize_t written = ::write(fd, page.data(), page.size());
        ::close(fd);
        if (written != PageSize) {
            ::unlink(QFile::encodeName(name).constData());
            break;
        }
        ++m_fillers;
    }
    for (int i = 0; i < pagesLeft && m_fillers > 0; ++i) {
        --m_fillers;
        QFile::remove(Path(FillerPrefix + QString::number(m_fillers)));
    }
}

void SmallDisk::Empty() {
    while (m_fillers > 0) {
        --m_fillers;
        QFile::remove(Path(FillerPrefix + QString::number(m_fillers)));
    }
}

QStringList SmallDisk::Names() const {
    QStringList names;
    const QStringList all =
        QDir(m_mountPoint.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : all)
        if (!name.startsWith(FillerPrefix)) names.append(name);
    return names;
}
