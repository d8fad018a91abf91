#pragma once

#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "windows/MenuShortcuts.h"

class ClassifierKeyMap;
class QAction;
class QMenu;
class frmMain;

// The main window's menu bar: every item with its object name, caption and
// shortcut, in the order a keyboard user knows them, and what Corvane adds
// after them. An item's shortcut gives way while a keystroke binding takes it.
class MainMenu {
public:
    // Builds the menus into `window`'s menu bar. Every item runs its handler
    // of `window`, then `afterCommand`.
    void Build(frmMain& window, std::function<void()> afterCommand);

    // Takes the shortcut off every item whose keystroke `map` binds.
    void FollowBindings(const ClassifierKeyMap& map) { m_shortcuts.Follow(map); }
    // Cut, Copy and Clear act on a text box; Paste needs text to paste too.
    void EnableEditItems(bool textControl, bool canPaste);
    void ShowUndo(const QString& caption, bool enabled);
    bool IsTabChecked() const;
    bool IsPlayChecked() const;
    void SetPlayChecked(bool checked);
    bool IsFieldViewChecked() const;
    void SetFieldViewChecked(bool checked);
    // The checked item of the Playback Speed menu, as a divisor of a
    // recording's own speed; checking one of the speeds offered.
    std::int16_t SpeedDivisor() const;
    void SetSpeedDivisor(std::int16_t divisor);
    bool IsPlayOnSelectChecked() const;
    void SetPlayOnSelectChecked(bool checked);
    bool IsSuggestionsChecked() const;
    bool IsOrderBySuggestionChecked() const;
    // The check marks of the suggestions' items; Accept Suggestions is enabled
    // only with suggestions shown and `canAccept`, Order by Suggestion only with
    // suggestions shown.
    void ShowSuggestionItems(bool show, bool orderBySuggestion, bool canAccept);

private:
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& shortcut, void (frmMain::*handler)());
    void BuildFileMenu();
    void BuildEditMenu();
    void BuildSpectrogramMenu();
    void BuildPlaybackItems(QMenu* mnuSPG);
    void BuildSuggestionItems(QMenu* mnuSPG);
    void BuildHelpMenu();

    frmMain* m_window = nullptr;
    std::function<void()> m_afterCommand;
    MenuShortcuts m_shortcuts;
    QAction* mnuSPGUndo = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditClear = nullptr;
    QAction* mnuSPGTab = nullptr;
    QAction* mnuSPGPlay = nullptr;
    QAction* mnuSPGFieldView = nullptr;
    std::vector<QAction*> mnuSPGSpeed;  // in the order of PlaybackOptions::SpeedDivisors
    QAction* mnuSPGPlayOnSelect = nullptr;
    QAction* mnuSPGSuggestions = nullptr;
    QAction* mnuSPGAcceptSuggestions = nullptr;
    QAction* mnuSPGOrderBySuggestion = nullptr;
};
