#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
namespace ui {
class FlatButton;
class StatusListView;
} // namespace ui

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

    QLabel* Label1;
    QListWidget* ListBox1;
    ui::FlatButton* EncartaButtonOK;
    ui::FlatButton* EncartaButtonAb;

public slots:
    void EncartaButtonOKClick();
    void EncartaButtonAbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillList();

    const ui::StatusListView* m_source = nullptr;
    QString* m_target = nullptr;
    bool m_chosen = false;
};
