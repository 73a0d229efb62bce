#include "ui/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

namespace ui {

void MakeDefaultButton(QDialog& dialog, QPushButton* ok)
{
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setAutoDefault(false);
    ok->setDefault(true);
}

} // namespace ui
