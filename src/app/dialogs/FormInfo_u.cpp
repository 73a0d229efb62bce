#include "app/dialogs/FormInfo_u.h"

TFormInfo::TFormInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("Info - Profile"));
    setFixedSize(331, 100);
}
