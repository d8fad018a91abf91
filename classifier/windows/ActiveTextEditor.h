#pragma once

class QLineEdit;

// The Edit menu's target: the text box, or the text of an editable drop-down
// list, that has the focus in the active window. A drop-down list that only
// lets the user pick counts as a control but has no text to edit.
namespace ActiveTextEditor {

// True when the focused control of the active window is a text box or a
// drop-down list.
bool IsTextControlActive();
// The line edit holding that control's text, or null.
QLineEdit* Editor();
bool ClipboardHoldsText();

// Each does nothing when there is no editor, or (Cut, Copy, Clear) no selection.
void Cut();
void Copy();
void Paste();
void Clear();

}  // namespace ActiveTextEditor
