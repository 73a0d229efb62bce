#pragma once

#include <QDialog>

namespace ui {
class StatusListView;
}

// The start-file chooser: lists the files of the current set's list and hands the
// marked name back to the caller (the save-as-profile dialog).
class TFormDListe : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDListe(QWidget* parent = nullptr);

    // The list whose file names the chooser offers, read again at every activation.
    void SetSource(const ui::StatusListView* source);

    // Shows the chooser modally. True, with the chosen name put into `name`, only
    // when the user confirmed a marked name; otherwise false and `name` unchanged.
    bool ChooseStartFile(QString& name);

private:
    const ui::StatusListView* m_source = nullptr;
};
