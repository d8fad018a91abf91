#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/MainWindowValues.h"
#include "files/WaveBatch.h"
#include "sorting/NextBatchCount.h"
#include "sorting/SortingProgress.h"

class IMessageBox;

// Where a batch's recordings go: the visible cells of the grid, in order.
class IBatchCells {
public:
    virtual ~IBatchCells() = default;
    // How many recordings a batch may hold.
    virtual int BatchCapacity() const = 0;
    // Cell n shows `paths[n]`; the cells after them keep what they show.
    virtual void ShowBatch(const QStringList& paths) = 0;
    // The batch is shown and counted: what tells the user about it follows.
    virtual void BatchShown() = 0;
};

// Which folder the grid's batches come from and how many wave files it still
// holds. It reads folders and says what it skipped; the cells are told which
// recordings to show.
class BatchSource {
public:
    // What a path given on the command line stands for: the dialog path it
    // leaves, as if the user had chosen it with Open Many, and the folder of
    // the first batch.
    struct Start {
        QString dialogPath;
        QString folder;
    };

    // `now` times the moves for the progress; the system's steady clock when empty.
    explicit BatchSource(IMessageBox& messages, SortingProgress::Clock now = {});

    // The folder Next Batch reads: that of the dialog path; empty when the
    // path names none (a preset such as "any.wav" left by a cancelled dialog).
    static QString NextBatchFolder(const QString& dialogPath);
    static WaveBatch::WaveNames WaveNamesOf(const RecordingOptions& options);

    // Fills `cells` with the first wave files of `folder`. An empty `folder`
    // does nothing; one that cannot be read gives an empty batch. Wave files
    // left out for their names are told once, after the batch is shown.
    void Fill(const QString& folder, IBatchCells& cells, WaveBatch::WaveNames names);
    // A wave file of `path`, or a folder; nothing, after a message, when the
    // path does not exist. A folder without wave files stands as "any.wav" in it.
    std::optional<Start> FromCommandLine(const QString& path, WaveBatch::WaveNames names);

    // A recording moved from `from` to `to` (full paths).
    void Moved(const QString& from, const QString& to);
    const NextBatchCount& Count() const { return m_count; }
    // How the sorting of the batch's folder goes; it starts again with a
    // batch from another folder.
    const SortingProgress& Progress() const { return m_progress; }

    // Counts the wave files of `folder` when it is neither the batch's folder
    // nor the one counted last: a file dialog has pointed Next Batch at another
    // folder. A folder is listed once; moves keep its count up to date.
    void CountFolder(const QString& folder, WaveBatch::WaveNames names);
    // Counts both known folders again, taking the wave files `names` allows:
    // an option changed which files a batch can take.
    void Recount(WaveBatch::WaveNames names);
    // How many wave files `folder` holds, when it is one of the two counted.
    std::optional<int> Left(const QString& folder) const;

    static QString SkippedNamesMessage(const QString& folder, int count);

private:
    IMessageBox& m_messages;
    NextBatchCount m_count;       // the folder of the batch on screen
    NextBatchCount m_otherCount;  // the folder a file dialog left, when it is another
    SortingProgress m_progress;
};
