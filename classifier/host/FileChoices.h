#pragma once

class CommonDialog;

// How the main window's commands prepare the shared file dialog before they
// show it. Each sets only its own properties: whatever else an earlier use
// left stays in effect. False when the user cancelled; any other failure of
// the dialog goes on to the caller.
namespace FileChoices {

// Shows the dialog to open (or, with `save`, to save) a file; false when the
// user cancelled.
bool Chosen(CommonDialog& dialog, bool save = false);

// Open and Open Many: an existing wave file.
bool AskForWaveFile(CommonDialog& dialog);
// Set keystroke directory: any name in the folder, proposed as "any.wav".
bool AskForKeystrokeFolder(CommonDialog& dialog);

// Export Labels: a CSV file to write, proposed as "labels.csv". The dialog's
// filter and default extension are given back as they were, so that the
// usual commands find them as they left them; the chosen path stays, as after
// every choice.
bool AskForLabelsFile(CommonDialog& dialog);

}  // namespace FileChoices
