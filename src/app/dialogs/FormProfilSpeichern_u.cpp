#include "app/dialogs/FormProfilSpeichern_u.h"

TFormProfilSpeichern::TFormProfilSpeichern(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormProfilSpeichern"));
    setWindowTitle(QStringLiteral("Speichern unter Profilnamen"));
    setFixedSize(360, 250);
}
