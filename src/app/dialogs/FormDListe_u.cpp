#include "app/dialogs/FormDListe_u.h"

TFormDListe::TFormDListe(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDListe"));
    setWindowTitle(QStringLiteral("Auswahl der Startdatei"));
    setFixedSize(300, 300);
}

void TFormDListe::SetSource(const ui::StatusListView* source)
{
    m_source = source;
}

// Not built yet: the chooser's list and buttons come with the start-file work.
bool TFormDListe::ChooseStartFile(QString&)
{
    return false;
}
