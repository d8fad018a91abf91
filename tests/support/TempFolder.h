#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

// A real folder on disk that lives as long as the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    // Full path of `name` inside the folder.
    std::string Path(const std::string& name = {}) const;
    // Writes a 1-sample-per-value mono 16-bit wave file and returns its path.
    std::string WriteWave(const std::string& name,
                          const std::vector<std::int16_t>& samples = {0, 1});
    // Writes `contents` as a plain file and returns its path.
    std::string WriteText(const std::string& name, const std::string& contents);
    // Creates a subfolder and returns its path.
    std::string MakeFolder(const std::string& name);

private:
    QTemporaryDir m_dir;
};
