#pragma once

#include <QString>
#include <QStringList>

// Lists the recordings of a batch: the files directly in a folder whose names
// end in ".wav" (in lower case, as the wave file pattern asks), the first
// `capacity` of them in ascending name order (compared without regard to case,
// ties broken by the exact name). Only the names that make the batch are kept
// in order, so a folder of n files costs n log(capacity), not n log n.
namespace WaveBatch {

bool IsBatchFileName(const QString& name);

// Full paths of the batch, in order. `listed` is false when the folder cannot
// be read; the result is then empty.
QStringList FirstWaveFiles(const QString& folder, int capacity, bool* listed = nullptr);

}  // namespace WaveBatch
