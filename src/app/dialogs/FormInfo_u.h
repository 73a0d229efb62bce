#pragma once

#include <QDialog>

class QLabel;
namespace ui {
class FlatButton;
}

// A short help on the selected-profile page's context menu.
class TFormInfo : public QDialog
{
    Q_OBJECT
public:
    explicit TFormInfo(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    ui::FlatButton* EncartaButtonOK;
};
