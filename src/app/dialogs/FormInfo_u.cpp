#include "app/dialogs/FormInfo_u.h"

#include "ui/DialogButtons.h"
#include "ui/FlatButton.h"

#include <QFontMetrics>
#include <QLabel>

TFormInfo::TFormInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("Info - Profile"));
    setFixedSize(331, 100);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    const auto line = [this](const char* name, const QString& text, int y) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->move(12, y);
        label->adjustSize();
        return label;
    };
    Label1 =
        line("Label1", QStringLiteral("In dieser Liste, Reiter \"Ausgewältes Profil\" können Sie eine"), 8);
    Label2 = line("Label2", QStringLiteral("oder mehrere Dateien markieren und Popup Menü verwenden."), 24);
    Label3 = line("Label3", QStringLiteral("Klick Sie in der Liste auf die rechte Maustaste."), 40);

    // The box keeps its size; where the system lacks the narrow font the lines
    // would run past the edge, so the text gets smaller instead.
    QFont font = Label1->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(Label1->text()) > width() - 16)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    for (QLabel* label : {Label1, Label2, Label3}) {
        label->setFont(font);
        label->adjustSize();
    }

    EncartaButtonOK = new ui::FlatButton(QStringLiteral("Schließen"), this);
    EncartaButtonOK->setObjectName(QStringLiteral("EncartaButtonOK"));
    EncartaButtonOK->setGeometry(234, 64, 86, 26);
    ui::MakeDefaultButton(*this, EncartaButtonOK);
    connect(EncartaButtonOK, &QPushButton::clicked, this, &QDialog::accept);
}
