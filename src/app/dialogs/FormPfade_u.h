#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;
namespace ui {
class FlatButton;
}

// The storage-locations dialog: the local and the server folder of each language.
class TFormPfade : public QDialog
{
    Q_OBJECT
public:
    explicit TFormPfade(QWidget* parent = nullptr);

    QLineEdit* EditLPfadDeutsch;
    QLineEdit* EditSPfadDeutsch;
    QLineEdit* EditLPfadenglisch;
    QLineEdit* EditSPfadenglisch;
    ui::FlatButton* EncartaButton1;
    ui::FlatButton* EncartaButton2;
    ui::FlatButton* EncartaButton3;
    ui::FlatButton* EncartaButton4;
    ui::FlatButton* EncartaButtonOK;
    ui::FlatButton* EncartaButtonAbbrechen;
    QLabel* ImageFlageD;
    QLabel* ImageFlageE;

public slots:
    void EncartaButton1Click();
    void EncartaButton2Click();
    void EncartaButton3Click();
    void EncartaButton4Click();
    void EncartaButtonOKClick();
    void EncartaButtonAbbrechenClick();

private:
    void Browse(QLineEdit* field);
};
