#pragma once

#include <QDialog>

class TFormDListe : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDListe(QWidget* parent = nullptr);
};
