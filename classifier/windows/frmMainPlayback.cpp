// The window's playback commands: Space and Esc, the Playback Speed menu and
// Play on Select. Kept apart from the rest of the window's operations, which
// are about the batch and its sorting.
#include <QGuiApplication>

#include "cells/SonoluxBord.h"
#include "windows/frmMain.h"

bool frmMain::PlaybackKey(const KeyStroke& keyStroke) {
    constexpr std::int16_t Space = 0x20;
    constexpr std::int16_t Escape = 0x1B;
    if (keyStroke.Shift != 0) return false;
    if (keyStroke.KeyCode == Space) {
        mnuSPGPlaySelected_Click();
        return true;
    }
    if (keyStroke.KeyCode == Escape) {
        mnuSPGStopPlaying_Click();
        return true;
    }
    return false;
}

void frmMain::SetPlaybackOptions(const PlaybackOptions& options) {
    m_menu.SetSpeedDivisor(options.SpeedDivisor);
    m_menu.SetPlayOnSelectChecked(options.PlayOnSelect);
    m_cells.SetPlaybackSpeed(m_menu.SpeedDivisor());
}

void frmMain::mnuSPGSpeed_Click() {
    m_cells.SetPlaybackSpeed(m_menu.SpeedDivisor());
}

void frmMain::mnuSPGPlaySelected_Click() {
    SonoluxBord* cell = SelectedCell();
    if (!cell) return;
    if (cell->IsPlaying()) {
        cell->Stop();
    } else {
        cell->Play();
    }
}

void frmMain::SelectionChanged(QWidget* focused) {
    if (!focused || focused->window() != this) return;
    SonoluxBord* cell = SelectedCell();
    if (!cell || cell->Sonolux1() != focused || cell == m_lastSelected) return;
    m_lastSelected = cell;
    if (!m_menu.IsPlayOnSelectChecked()) return;
    m_cells.StopPlaying();
    // A click with Play checked plays the cell itself.
    if (m_menu.IsPlayChecked() && QGuiApplication::mouseButtons() != Qt::NoButton) return;
    if (!cell->Filename().isEmpty()) cell->Play();
}
