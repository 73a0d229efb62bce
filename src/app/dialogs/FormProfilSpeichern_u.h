#pragma once

#include "ini/LMDIniCtrl.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TFormDListe;
namespace ui {
class FlatButton;
}

// The save-as-profile dialog: asks for the name, the description and the start
// file, and makes the profile folder with its INI file on OK.
class TFormProfilSpeichern : public QDialog
{
    Q_OBJECT
public:
    explicit TFormProfilSpeichern(QWidget* parent = nullptr);

    // The chooser behind "..."; made after this dialog.
    void SetChooser(TFormDListe* chooser) { m_chooser = chooser; }

    // Shows the dialog modally. True exactly when a profile was created; the
    // profile folder's path is then in `profileFolder`, else it is unchanged.
    bool Execute(QString& profileFolder);

    QLabel* Label1;
    QLineEdit* EditProfil;
    QLabel* Label2;
    QPlainTextEdit* MemoProfil;
    QLabel* Label3;
    QLineEdit* EditSteuerDatei;
    ui::FlatButton* EncartaButton2;
    ui::FlatButton* EncartaButtonOK;
    ui::FlatButton* EncartaButtonAbbrechen;
    // Shown beside the buttons, in space nothing else uses, only while the local
    // folder does not answer.
    QLabel* LabelHinweis;
    // The new profile's INI file; written through a copy of it as file work.
    ini::TLMDIniCtrl LMDIniCtrl1;

public slots:
    void FormActivate();
    void EncartaButtonOKClick();
    void EncartaButtonAbbrechenClick();
    void EncartaButton2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFormDListe* m_chooser = nullptr;
    QString* m_result = nullptr;
    bool m_created = false;
};
