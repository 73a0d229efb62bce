#pragma once

#include <QDialog>

class TFormProfilSpeichern : public QDialog
{
    Q_OBJECT
public:
    explicit TFormProfilSpeichern(QWidget* parent = nullptr);
};
