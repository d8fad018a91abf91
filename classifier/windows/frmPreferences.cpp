#include "windows/frmPreferences.h"

#include <type_traits>
#include <utility>

#include "core/MainWindowValues.h"
#include "windows/PlaybackPage.h"
#include "windows/PreferencesPage.h"
#include "windows/RecordingsPage.h"
#include "windows/SortingPage.h"

namespace {

// A page of the dialog: its tab, and how its controls are made in its panel.
struct PageEntry {
    TabbedDialog::Tab tab;
    std::unique_ptr<PreferencesPage> (*make)(QWidget* panel, const TwipsPlacement& layout,
                                             const PreferencesServices& services);
};

template <typename Page>
std::unique_ptr<PreferencesPage> Make(QWidget* panel, const TwipsPlacement& layout,
                                      const PreferencesServices& services) {
    if constexpr (std::is_constructible_v<Page, QWidget*, const TwipsPlacement&,
                                          const PreferencesServices&>) {
        return std::make_unique<Page>(panel, layout, services);
    } else {
        return std::make_unique<Page>(panel, layout);
    }
}

// The pages in the order of their tabs.
const PageEntry Pages[] = {
    {{"Recordings", "grpRecordings", "How recordings are listed and read"}, &Make<RecordingsPage>},
    {{"Playback", "grpPlayback", "How recordings are played"}, &Make<PlaybackPage>},
    {{"Sorting", "grpSorting", "How the selection moves and what a run keeps"}, &Make<SortingPage>},
};

}  // namespace

frmPreferences::frmPreferences(IMainWindowValues& mainWindow, IMessageBox& messages,
                               const ScreenDpi& dpi, PreferencesServices services, QWidget* parent)
    : TabbedDialog(QStringLiteral("Preferences"), messages, dpi, parent),
      m_mainWindow(mainWindow),
      m_services(std::move(services)) {
    createUi();
    connectUi();
}

frmPreferences::~frmPreferences() = default;

void frmPreferences::createUi() {
    std::vector<Tab> tabs;
    for (const PageEntry& entry : Pages) tabs.push_back(entry.tab);
    createTabStrip(tabs);
    int position = 0;
    for (const PageEntry& entry : Pages)
        m_pages.push_back(entry.make(Page(position++), Layout(), m_services));
    createButtons();
}

void frmPreferences::Update() {
    LoadIfUnloaded();
    for (const auto& page : m_pages) page->ShowValues(m_mainWindow);
}

void frmPreferences::Apply() {
    for (const auto& page : m_pages) Attempt([&] { page->ApplyValues(m_mainWindow); });
}
