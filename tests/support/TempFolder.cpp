#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "demo/WaveWriter.h"

TempFolder::TempFolder() {
    if (!m_dir.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    // By bytes: names that are not UTF-8 are beyond QTemporaryDir's own removal.
    std::error_code ignored;
    std::filesystem::remove_all(Path(), ignored);
}

std::string TempFolder::Path(const std::string& name) const {
    const std::string root = m_dir.path().toStdString();
    return name.empty() ? root : root + "/" + name;
}

std::string TempFolder::WriteWave(const std::string& name,
                                  const std::vector<std::int16_t>& samples) {
    const std::string path = Path(name);
    if (!corvane::WriteMono16Wave(path, 48000, samples))
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TempFolder::WriteText(const std::string& name, const std::string& contents) {
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string TempFolder::MakeFolder(const std::string& name) {
    const std::string path = Path(name);
    std::filesystem::create_directories(path);
    return path;
}
