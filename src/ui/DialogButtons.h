#pragma once

class QDialog;
class QPushButton;

namespace ui {

// Enter confirms the dialog, whichever field or button has the focus: `ok` is
// its default button and no other button takes Enter for itself (Space still
// presses the focused one). Escape cancels, as in every dialog.
void MakeDefaultButton(QDialog& dialog, QPushButton* ok);

} // namespace ui
