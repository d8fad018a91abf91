#include "engine/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sonolux {
namespace {

// The system reads a path up to its first NUL byte: a path holding one would
// open the file named by the part before it.
bool HoldsNul(const std::string& path) {
    return path.find('\0') != std::string::npos;
}

// Opening a named pipe for reading waits for a writer, and opening some devices
// waits for the device; without O_NONBLOCK the open itself could hang forever.
int OpenWithoutBlocking(const std::string& path, RegularFile::OpenFailure& failure) {
    using Failure = RegularFile::OpenFailure;
    if (HoldsNul(path)) {
        failure = Failure::NameNotUsable;
        return -1;
    }
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        failure = errno == ENOENT || errno == ENOTDIR ? Failure::NotFound : Failure::CannotBeOpened;
        return -1;
    }
    if (!S_ISREG(named.st_mode)) {
        failure = Failure::NotARegularFile;
        return -1;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) failure = errno == ENOENT ? Failure::NotFound : Failure::CannotBeOpened;
    return descriptor;
}

bool ClearNonBlocking(int descriptor) {
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags != -1 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

RegularFile::~RegularFile() {
    Close();
}

bool RegularFile::Open(const std::string& path) {
    Close();
    m_openFailure = OpenFailure::None;
    const int descriptor = OpenWithoutBlocking(path, m_openFailure);
    if (descriptor < 0) return false;
    struct stat opened {};
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_size < 0 ||
        !ClearNonBlocking(descriptor)) {
        // Swapped for something else since the name was checked, or beyond reading.
        m_openFailure =
            S_ISREG(opened.st_mode) ? OpenFailure::CannotBeOpened : OpenFailure::NotARegularFile;
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    m_size = static_cast<std::uint64_t>(opened.st_size);
    return true;
}

void RegularFile::Close() {
    if (m_descriptor >= 0) ::close(m_descriptor);
    m_descriptor = -1;
    m_size = 0;
}

std::size_t RegularFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (m_descriptor < 0 || offset >= m_size) return 0;
    if (size > m_size - offset) size = static_cast<std::size_t>(m_size - offset);
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t read =
            ::pread(m_descriptor, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) break;
        done += static_cast<std::size_t>(read);
    }
    return done;
}

bool RegularFile::ReadExactAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    return ReadAt(offset, buffer, size) == size;
}

bool NamesNonRegularFile(const std::string& path) {
    struct stat named {};
    return !path.empty() && !HoldsNul(path) && ::stat(path.c_str(), &named) == 0 &&
           !S_ISREG(named.st_mode);
}

}  // namespace sonolux
