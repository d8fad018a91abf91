#include "files/WaveBatch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "files/FileDescriptor.h"
#include "files/FileSystem.h"

namespace WaveBatch {
namespace {

// A name as it is ordered: its case-folded form first, then its exact bytes.
// Both are UTF-8, whose byte order is the order of the characters.
struct Candidate {
    std::string folded;
    std::string name;

    bool operator<(const Candidate& other) const {
        const int byFold = folded.compare(other.folded);
        if (byFold != 0) return byFold < 0;
        return name < other.name;
    }
};

// ASCII letters only: no byte of a longer UTF-8 character is one of them.
char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAscii(const char* name, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80) return false;
    }
    return true;
}

void FoldCase(const char* name, std::size_t length, std::string& folded) {
    if (IsAscii(name, length)) {
        folded.assign(name, length);
        for (char& c : folded) c = AsciiLower(c);
        return;
    }
    folded = QString::fromUtf8(name, static_cast<qsizetype>(length)).toCaseFolded().toStdString();
}

// Regular files only (a folder named x.wav is no recording); a link counts as
// what it points to.
bool IsRegularFile(DIR* folder, const dirent& entry) {
    if (entry.d_type == DT_REG) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat status {};
    return ::fstatat(::dirfd(folder), entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

bool IsWaveName(const char* name, std::size_t length, WaveNames names) {
    if (length < 4) return false;
    const char* extension = name + length - 4;
    if (names == WaveNames::LowerCaseOnly) return std::memcmp(extension, ".wav", 4) == 0;
    return std::equal(extension, extension + 4, ".wav",
                      [](char c, char wanted) { return AsciiLower(c) == wanted; });
}

bool NameIsText(const char* name, std::size_t length) {
    if (IsAscii(name, length)) return true;
    const QByteArray bytes(name, static_cast<qsizetype>(length));
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

Batch FirstWaveFiles(const QString& folder, int capacity, WaveNames names) {
    Batch batch;
    FolderListing listing(::opendir(QFile::encodeName(folder).constData()));
    if (!listing || capacity <= 0) return batch;

    // A max-heap of the smallest names seen so far: its top is the one to drop.
    std::priority_queue<Candidate> smallest;
    Candidate next;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(listing.get());
        if (!entry) break;
        const std::size_t length = std::strlen(entry->d_name);
        if (!IsWaveName(entry->d_name, length, names)) continue;
        if (!NameIsText(entry->d_name, length)) {
            if (IsRegularFile(listing.get(), *entry)) ++batch.unreadableNames;
            continue;
        }
        if (!IsRegularFile(listing.get(), *entry)) continue;
        ++batch.total;
        FoldCase(entry->d_name, length, next.folded);
        next.name.assign(entry->d_name, length);
        const bool full = static_cast<int>(smallest.size()) >= capacity;
        if (full && !(next < smallest.top())) continue;
        if (full) smallest.pop();
        smallest.push(std::move(next));
        next = Candidate();
    }
    // A folder that fails half-way through gives no batch rather than a wrong one.
    if (errno != 0) return {};

    std::vector<Candidate> ordered;
    ordered.reserve(smallest.size());
    for (; !smallest.empty(); smallest.pop()) ordered.push_back(smallest.top());
    std::reverse(ordered.begin(), ordered.end());
    batch.paths.reserve(static_cast<qsizetype>(ordered.size()));
    for (const Candidate& candidate : ordered) {
        batch.paths.append(FileSystem::BuildPath(
            folder, QFile::decodeName(QByteArray::fromStdString(candidate.name))));
    }
    return batch;
}

}  // namespace WaveBatch
