#include "windows/GridSuggestions.h"

#include <QDir>
#include <algorithm>

#include "files/FileSystem.h"
#include "suggest/SuggestionService.h"
#include "windows/CellGrid.h"

GridSuggestions::GridSuggestions(CellGrid& cells, ServiceFactory makeService,
                                 std::function<void()> changed,
                                 std::function<void(const QString&)> warn)
    : m_cells(cells),
      m_makeService(std::move(makeService)),
      m_changed(std::move(changed)),
      m_warn(std::move(warn)) {}

GridSuggestions::~GridSuggestions() {
    Close();
}

GridSuggestions::MoveHold::~MoveHold() {
    if (--m_owner.m_moving == 0) m_owner.ArrangeOnce();
}

QString GridSuggestions::Close() {
    if (!m_service) return {};
    const QString failure = m_service->Close();
    m_service.reset();
    return failure;
}

QString GridSuggestions::BadgeText(const QString& folder, bool likelyEmpty) {
    if (!folder.isEmpty()) return FileSystem::GetFileName(QDir::cleanPath(folder));
    return likelyEmpty ? QStringLiteral("empty?") : QString();
}

bool GridSuggestions::EnsureService() {
    if (m_service) return true;
    m_service = m_makeService ? m_makeService() : nullptr;
    if (!m_service) return false;
    connect(m_service.get(), &SuggestionService::Suggested, this, &GridSuggestions::OnSuggested,
            Qt::QueuedConnection);
    connect(
        m_service.get(), &SuggestionService::Learned, this,
        [this](const QString& failure) {
            if (!failure.isEmpty() && m_warn) m_warn(failure);
        },
        Qt::QueuedConnection);
    return true;
}

void GridSuggestions::SetOptions(const SuggestionOptions& options) {
    const SuggestionOptions before = m_options;
    m_options = options;
    if (!m_options.Show) {
        if (m_service) m_generation = m_service->Drop();
        m_results.clear();
        Refresh();
        return;
    }
    if (!before.Show || !m_service) {
        if (!EnsureService()) return;
        Learn();
        Ask();
    } else if (before.EmptyThresholdDb != m_options.EmptyThresholdDb) {
        Ask();
    } else if (!before.OrderBySuggestion && m_options.OrderBySuggestion) {
        ArrangeOnce();
    }
}

void GridSuggestions::SetFolders(const QStringList& folders) {
    if (folders == m_folders) return;
    m_folders = folders;
    if (!m_options.Show || !m_service) return;
    Learn();
    Ask();
}

void GridSuggestions::BatchChanged() {
    if (m_options.Show && m_service) Ask();
}

void GridSuggestions::RecordingMoved(const QString& from, const QString& to) {
    if (!m_options.Show || !m_service) return;
    const QString left = FolderOf(from);
    const QString entered = FolderOf(to);
    if (left == entered) return;
    if (!left.isEmpty()) m_service->Unteach(to, left);
    if (!entered.isEmpty()) m_service->Teach(to, entered);
}

QString GridSuggestions::FolderOf(const QString& path) const {
    const QString parent = QDir::cleanPath(FileSystem::GetParentFolderName(path));
    for (const QString& folder : m_folders) {
        if (QDir::cleanPath(folder) == parent) return folder;
    }
    return {};
}

void GridSuggestions::Learn() {
    QStringList folders = m_folders;
    folders.removeDuplicates();
    m_service->Learn(folders);
}

void GridSuggestions::Ask() {
    QStringList paths;
    for (int i = 0; i < m_cells.VisibleCellCount(); ++i) {
        const SonoluxBord& cell = m_cells.Cell(i);
        if (!cell.Filename().isEmpty() && !cell.WasMoved()) paths.append(cell.Filename());
    }
    m_results.clear();
    m_arranged = false;
    m_generation = m_service->Suggest(paths, m_options.EmptyThresholdDb);
    Refresh();
}

void GridSuggestions::OnSuggested(quint64 generation, const QString& path, const QString& folder,
                                  bool likelyEmpty) {
    if (generation != m_generation || !m_options.Show) return;
    m_results.insert(path, {folder, likelyEmpty});
    Refresh();
    if (m_moving == 0) ArrangeOnce();
}

void GridSuggestions::Refresh() {
    // Off, a keystroke costs no look at every cell.
    if (!m_options.Show && !m_badgesShown) {
        if (m_changed) m_changed();
        return;
    }
    m_badgesShown = false;
    for (int i = 0; i < m_cells.LoadedCellCount(); ++i) {
        SonoluxBord& cell = m_cells.Cell(i);
        const auto found = m_results.constFind(cell.Filename());
        const bool shown = m_options.Show && i < m_cells.VisibleCellCount() && !cell.WasMoved() &&
                           found != m_results.constEnd();
        const QString badge = shown ? BadgeText(found->folder, found->likelyEmpty) : QString();
        cell.SetSuggestion(badge);
        m_badgesShown = m_badgesShown || !badge.isEmpty();
    }
    if (m_changed) m_changed();
}

std::vector<CellClassifier::CellTarget> GridSuggestions::Acceptable() const {
    std::vector<CellClassifier::CellTarget> targets;
    if (!m_options.Show) return targets;
    for (int i = 0; i < m_cells.VisibleCellCount(); ++i) {
        const SonoluxBord& cell = m_cells.Cell(i);
        const auto found = m_results.constFind(cell.Filename());
        if (found != m_results.constEnd() && !found->folder.isEmpty() && !cell.WasMoved())
            targets.push_back({i, found->folder});
    }
    return targets;
}

void GridSuggestions::ArrangeOnce() {
    if (!m_options.Show || !m_options.OrderBySuggestion || m_arranged || m_moving > 0) return;
    // Only the recordings still unsorted change places; a moved one stays where
    // the user saw it go.
    std::vector<int> cells;
    QStringList paths;
    for (int i = 0; i < m_cells.VisibleCellCount(); ++i) {
        const SonoluxBord& cell = m_cells.Cell(i);
        if (cell.Filename().isEmpty() || cell.WasMoved()) continue;
        if (!m_results.contains(cell.Filename())) return;  // not every result is in yet
        cells.push_back(i);
        paths.append(cell.Filename());
    }
    m_arranged = true;
    // Folders by their name, then likely empty, then no suggestion; the batch's
    // order within each.
    const auto rank = [this](const QString& path) {
        const Result& result = m_results[path];
        if (!result.folder.isEmpty()) return std::make_pair(0, BadgeText(result.folder, false));
        return std::make_pair(result.likelyEmpty ? 1 : 2, QString());
    };
    QStringList ordered = paths;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&rank](const QString& a, const QString& b) { return rank(a) < rank(b); });
    if (ordered == paths) return;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const QString& path = ordered[static_cast<qsizetype>(k)];
        if (m_cells.Cell(cells[k]).Filename() != path) m_cells.Cell(cells[k]).SetFilename(path);
    }
    Refresh();
}
