#include "app/dialogs/FormDListe_u.h"

TFormDListe::TFormDListe(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDListe"));
    setWindowTitle(QStringLiteral("Auswahl der Startdatei"));
    setFixedSize(300, 300);
}
