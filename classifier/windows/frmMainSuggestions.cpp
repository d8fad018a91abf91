// The window's suggestion commands: Suggestions, Accept Suggestions and Order by
// Suggestion, and the service that learns from the bound folders. Kept apart
// from the described operations, which know nothing of suggestions.
#include "windows/frmMain.h"

#include <utility>

#include "host/ControlModule.h"
#include "suggest/AnalysisCache.h"
#include "suggest/SuggestionService.h"

void frmMain::mnuSPGAcceptSuggestions_Click() {
    m_statusPresenter.ClearMessage();
    {
        const GridSuggestions::MoveHold moving(m_suggestions);
        const StatusPresenter::Hold hold(m_statusPresenter);
        m_classifier.ClassifyEach(m_suggestions.Acceptable(), QStringLiteral("Accept Suggestions"));
    }
    ClassificationChanged();
}

void frmMain::SetSuggestionOptions(const SuggestionOptions& options) {
    m_suggestions.SetOptions(options);
    SuggestionsChanged();
}

void frmMain::mnuSPGSuggestions_Click() {
    SuggestionOptions options = m_suggestions.Options();
    options.Show = m_menu.IsSuggestionsChecked();
    SetSuggestionOptions(options);
}

void frmMain::mnuSPGOrderBySuggestion_Click() {
    SuggestionOptions options = m_suggestions.Options();
    options.OrderBySuggestion = m_menu.IsOrderBySuggestionChecked();
    SetSuggestionOptions(options);
}

std::unique_ptr<SuggestionService> frmMain::MakeSuggestionService() {
    AnalyseFunction analyse = m_suggestionAnalyse;
    int version = 0;
    if (!analyse) {
        if (!m_services.controls.CanAnalyse()) {
            m_statusPresenter.ShowMessage(
                QStringLiteral("The spectrogram control module cannot analyse recordings"));
            return nullptr;
        }
        const ControlModule& module = m_services.controls;
        analyse = [&module](const QString& path) { return module.Analyse(path); };
        version = module.AnalysisVersion();
    }
    const QString cachePath =
        m_suggestionCachePath.isEmpty() ? AnalysisCache::DefaultPath() : m_suggestionCachePath;
    return std::make_unique<SuggestionService>(std::move(analyse), cachePath, version,
                                               m_services.fileWriter);
}

void frmMain::SuggestionsChanged() {
    const SuggestionOptions& options = m_suggestions.Options();
    m_menu.ShowSuggestionItems(options.Show, options.OrderBySuggestion, m_suggestions.CanAccept());
}
