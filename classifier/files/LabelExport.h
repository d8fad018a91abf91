#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

#include "files/WaveBatch.h"

// The labels of a sorted collection as one CSV text: every wave file under
// the bound folders, labelled with the name of the bound folder it lies in.
// Subfolders are searched to any depth up to MaxDepth. Symbolic links are
// never followed and never listed: a link to a file inside the folders would
// list that recording twice, and one to a place outside would label what was
// never sorted. A folder bound by one keystroke that lies inside another's
// is listed under its own label only, and a folder reached twice (through a
// bind mount) once. Names that are not valid UTF-8 are left out and counted,
// as a batch leaves them out. A wave file whose header cannot be read is
// listed with its size and empty duration and sample rate.
//
// Columns: label, path (relative to the bound folder, "/" between folders),
// size (bytes), duration (seconds, six decimals), sample_rate (Hz), folder
// (the bound folder's full path). Rows come in the order of the bound
// folders' paths, then of the relative paths' bytes.
namespace LabelExport {

constexpr int MaxDepth = 64;
// How often the walk reports its progress, in recordings.
constexpr int ProgressStep = 500;

extern const QByteArray Header;

struct Result {
    QByteArray csv;  // the header and one line per recording
    int recordings = 0;
    // Names that are not text, folders that could not be read or lie too deep.
    int leftOut = 0;
};

// `folders` are the bound folders, with or without a final "/"; repeats are
// listed once. `progress`, when given, hears the number of recordings found
// so far, every ProgressStep of them.
Result Collect(const QStringList& folders, WaveBatch::WaveNames names,
               const std::function<void(int)>& progress = {});

}  // namespace LabelExport
