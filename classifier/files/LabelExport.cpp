#include "files/LabelExport.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "files/CsvText.h"
#include "files/FileDescriptor.h"
#include "files/FileSystem.h"
#include "files/WaveHeader.h"

namespace LabelExport {

const QByteArray Header =
    CsvText::Line({"label", "path", "size", "duration", "sample_rate", "folder"});

namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Row {
    QByteArray path;  // relative to the bound folder, valid UTF-8
    qint64 size = 0;
    WaveHeader::Info info;
};

// Walks one bound folder; the tree of descriptors it opens is at most
// MaxDepth deep.
class FolderWalk {
public:
    FolderWalk(WaveBatch::WaveNames names, const std::set<FolderId>& boundFolders,
               std::set<FolderId>& visited, Result& result,
               const std::function<void(int)>& progress)
        : m_names(names),
          m_boundFolders(boundFolders),
          m_visited(visited),
          m_result(result),
          m_progress(progress) {}

    // Takes `fd`, an open folder.
    void Walk(int fd, const QByteArray& prefix, int depth);
    std::vector<Row>& Rows() { return m_rows; }

private:
    void AddFile(int folder, const char* name, const QByteArray& path);

    WaveBatch::WaveNames m_names;
    const std::set<FolderId>& m_boundFolders;
    std::set<FolderId>& m_visited;
    Result& m_result;
    const std::function<void(int)>& m_progress;
    std::vector<Row> m_rows;
};

void FolderWalk::Walk(int fd, const QByteArray& prefix, int depth) {
    FolderListing listing(::fdopendir(fd));
    if (!listing) {
        ::close(fd);
        ++m_result.leftOut;
        return;
    }
    const int folder = ::dirfd(listing.get());
    while (const dirent* entry = ::readdir(listing.get())) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        struct stat status {};
        if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        const std::size_t length = std::strlen(name);
        const bool isFolder = S_ISDIR(status.st_mode);
        if (!isFolder && !(S_ISREG(status.st_mode) && WaveBatch::IsWaveName(name, length, m_names)))
            continue;  // links, devices and other files
        if (!WaveBatch::NameIsText(name, length)) {
            ++m_result.leftOut;
            continue;
        }
        const QByteArray path = prefix + QByteArray(name, static_cast<qsizetype>(length));
        if (!isFolder) {
            AddFile(folder, name, path);
            continue;
        }
        const FolderId id{status.st_dev, status.st_ino};
        if (m_boundFolders.count(id) || !m_visited.insert(id).second) continue;
        if (depth >= MaxDepth) {
            ++m_result.leftOut;
            continue;
        }
        const int child = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0) {
            ++m_result.leftOut;
            continue;
        }
        Walk(child, path + '/', depth + 1);
    }
}

void FolderWalk::AddFile(int folder, const char* name, const QByteArray& path) {
    Row row;
    row.path = path;
    const FileDescriptor file(
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.IsOpen() && ::fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode)) {
        row.size = status.st_size;
        row.info = WaveHeader::Read(file.get(), status.st_size);
    } else if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        row.size = status.st_size;  // listed, though its header cannot be read
    }
    m_rows.push_back(std::move(row));
    ++m_result.recordings;
    if (m_progress && m_result.recordings % ProgressStep == 0) m_progress(m_result.recordings);
}

void AppendRows(const QString& folder, std::vector<Row>& rows, QByteArray& csv) {
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.path < b.path; });
    const QString label = FileSystem::GetFileName(folder);
    for (const Row& row : rows) {
        const bool known = row.info.readable;
        csv += CsvText::Line({label, QString::fromUtf8(row.path), QString::number(row.size),
                              known ? QString::number(row.info.Seconds(), 'f', 6) : QString(),
                              known ? QString::number(row.info.sampleRate) : QString(), folder});
    }
}

}  // namespace

Result Collect(const QStringList& folders, WaveBatch::WaveNames names,
               const std::function<void(int)>& progress) {
    QStringList paths;
    for (const QString& folder : folders) paths.append(FileSystem::GetAbsolutePathName(folder));
    paths.sort();
    paths.removeDuplicates();

    // The bound folders themselves, as the walk meets them inside one another.
    std::set<FolderId> boundFolders;
    for (const QString& folder : paths) {
        struct stat status {};
        if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
            boundFolders.insert({status.st_dev, status.st_ino});
    }
    Result result;
    result.csv = Header;
    std::set<FolderId> visited;
    for (const QString& folder : paths) {
        const int fd =
            ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            ++result.leftOut;
            continue;
        }
        FolderWalk walk(names, boundFolders, visited, result, progress);
        walk.Walk(fd, QByteArray(), 1);
        AppendRows(folder, walk.Rows(), result.csv);
    }
    return result;
}

}  // namespace LabelExport
