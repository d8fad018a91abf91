#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "core/MainWindowValues.h"
#include "sorting/CellClassifier.h"

class CellGrid;
class SuggestionService;

// The folders' suggestions on the grid: what the batch's recordings are asked
// about, the badge each cell shows, the moves Accept Suggestions makes and the
// batch arranged by suggestion. With Show off nothing is asked and no badge
// shows. The service is made the first time suggestions are shown.
class GridSuggestions : public QObject {
public:
    using ServiceFactory = std::function<std::unique_ptr<SuggestionService>()>;
    // `makeService` answers null when the control module cannot analyse;
    // `changed` runs whenever what Accept Suggestions would do may have changed;
    // `warn` hears that the analyses could not be kept.
    GridSuggestions(CellGrid& cells, ServiceFactory makeService, std::function<void()> changed,
                    std::function<void(const QString&)> warn);
    ~GridSuggestions() override;

    const SuggestionOptions& Options() const { return m_options; }
    void SetOptions(const SuggestionOptions& options);
    // The bound folders, learned anew while suggestions are shown.
    void SetFolders(const QStringList& folders);
    // The grid shows a new batch (or other recordings): ask about them.
    void BatchChanged();
    // A recording moved from `from` to `to` (or an undo took it back): it stops
    // being an example of the learned folder it left and becomes one of the
    // learned folder it entered.
    void RecordingMoved(const QString& from, const QString& to);
    // Every visible cell's badge, as things are now.
    void Refresh();

    // The visible cells whose recording has a folder suggestion and was not
    // moved, in cell order, each with its folder.
    std::vector<CellClassifier::CellTarget> Acceptable() const;
    bool CanAccept() const { return !Acceptable().empty(); }

    // While a move is being made the batch is not arranged; it may be once it ends.
    class MoveHold {
    public:
        explicit MoveHold(GridSuggestions& owner) : m_owner(owner) { ++m_owner.m_moving; }
        ~MoveHold();
        MoveHold(const MoveHold&) = delete;
        MoveHold& operator=(const MoveHold&) = delete;

    private:
        GridSuggestions& m_owner;
    };

    // The service, once made (tests wait on it).
    SuggestionService* Service() const { return m_service.get(); }
    // Ends the work in hand and keeps the analyses; returns the failure, or "".
    QString Close();

    static QString BadgeText(const QString& folder, bool likelyEmpty);

private:
    struct Result {
        QString folder;
        bool likelyEmpty = false;
    };
    void OnSuggested(quint64 generation, const QString& path, const QString& folder,
                     bool likelyEmpty);
    bool EnsureService();
    void Learn();
    void Ask();
    void ArrangeOnce();
    QString FolderOf(const QString& path) const;

    CellGrid& m_cells;
    ServiceFactory m_makeService;
    std::function<void()> m_changed;
    std::function<void(const QString&)> m_warn;
    SuggestionOptions m_options;
    QStringList m_folders;
    std::unique_ptr<SuggestionService> m_service;
    quint64 m_generation = 0;
    QHash<QString, Result> m_results;  // by path, of the current generation only
    bool m_arranged = false;           // this batch has been arranged once
    int m_moving = 0;
    bool m_badgesShown = false;  // some cell may carry a badge
};
