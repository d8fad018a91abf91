#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>

// Lists the recordings of a batch: the files directly in a folder whose names
// end in ".wav" (in lower case, as the wave file pattern asks, or in any letter
// case on request), the first `capacity` of them in ascending name order
// (compared without regard to case, ties broken by the exact name, so "a.WAV"
// comes just before "a.wav"). Only the names that make the batch are kept in
// order, so a folder of n files costs n log(capacity), not n log n.
namespace WaveBatch {

// Which names are wave files: ".wav" only, or also ".WAV", ".Wav" and the
// rest, as field recorders write them.
enum class WaveNames { LowerCaseOnly, AnyCase };

struct Batch {
    QStringList paths;  // full paths, in batch order
    int total = 0;      // the folder's wave files that a batch can take, all of them
    // Wave files left out because their names are not valid UTF-8 (Latin-1
    // names from older recorders): as text they would name another file, or
    // none, so they could not be shown or moved safely.
    int unreadableNames = 0;
};

// Whether the name of `length` bytes at `name` is a wave file's.
bool IsWaveName(const char* name, std::size_t length, WaveNames names);
// True when the name reads as text and that text names this very file again.
// Latin-1 names from older recorders do not: as text they would name another
// file, or none.
bool NameIsText(const char* name, std::size_t length);

// The batch of `folder`; empty when the folder cannot be read.
Batch FirstWaveFiles(const QString& folder, int capacity,
                     WaveNames names = WaveNames::LowerCaseOnly);

}  // namespace WaveBatch
