#include "app/dialogs/FormPfade_u.h"

#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, int x, int y, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    label->adjustSize();
    return label;
}

} // namespace

TFormPfade::TFormPfade(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPfade"));
    setWindowTitle(QStringLiteral("Pfade - Lokal, Pfade - Server"));
    setFixedSize(403, 364);
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 6, 387, 290);

    const auto field = [&](const char* name, int y) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(12, y, 326, 21);
        return edit;
    };
    const auto browse = [&](const char* name, int y) {
        auto* button = new ui::FlatButton(QStringLiteral("..."), group);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(344, y, 30, 21);
        return button;
    };

    ImageFlageD = new QLabel(group);
    ImageFlageD->setObjectName(QStringLiteral("ImageFlageD"));
    ImageFlageD->setGeometry(12, 10, 27, 16);
    AddLabel(group, "Label1", QStringLiteral("Deutsch"), 46, 11, true);
    AddLabel(group, "Label7", QStringLiteral("Lokaler Ordner (z.B. C:\\quintorPPP)"), 12, 34);
    EditLPfadDeutsch = field("EditLPfadDeutsch", 50);
    EncartaButton1 = browse("EncartaButton1", 50);
    AddLabel(group, "Label5",
             QStringLiteral("Pfad zu Dateien auf dem Server  (z.B. \\\\servername\\freigabe)"), 12, 78);
    EditSPfadDeutsch = field("EditSPfadDeutsch", 94);
    EncartaButton2 = browse("EncartaButton2", 94);

    ImageFlageE = new QLabel(group);
    ImageFlageE->setObjectName(QStringLiteral("ImageFlageE"));
    ImageFlageE->setGeometry(12, 146, 27, 16);
    AddLabel(group, "Label2", QStringLiteral("Englisch"), 46, 147, true);
    AddLabel(group, "Label3", QStringLiteral("Lokaler Ordner (z.B. C:\\quintorPPP)"), 12, 170);
    EditLPfadenglisch = field("EditLPfadenglisch", 186);
    EncartaButton3 = browse("EncartaButton3", 186);
    AddLabel(group, "Label4",
             QStringLiteral("Pfad zu Dateien auf dem Server  (z.B. \\\\servername\\freigabe)"), 12, 214);
    EditSPfadenglisch = field("EditSPfadenglisch", 230);
    EncartaButton4 = browse("EncartaButton4", 230);

    AddLabel(this, "Label6",
             QStringLiteral("Den Pfad zu Präsentation auf dem Server erfahren Sie vom Quintor"), 10, 304);

    EncartaButtonOK = new ui::FlatButton(QStringLiteral("OK"), this);
    EncartaButtonOK->setObjectName(QStringLiteral("EncartaButtonOK"));
    EncartaButtonOK->setGeometry(229, 330, 80, 25);
    EncartaButtonAbbrechen = new ui::FlatButton(QStringLiteral("Abbrechen"), this);
    EncartaButtonAbbrechen->setObjectName(QStringLiteral("EncartaButtonAbbrechen"));
    EncartaButtonAbbrechen->setGeometry(315, 330, 80, 25);

    setTabOrder(EditLPfadDeutsch, EditSPfadDeutsch);
    setTabOrder(EditSPfadDeutsch, EditLPfadenglisch);
    setTabOrder(EditLPfadenglisch, EditSPfadenglisch);

    connect(EncartaButton1, &QPushButton::clicked, this, &TFormPfade::EncartaButton1Click);
    connect(EncartaButton2, &QPushButton::clicked, this, &TFormPfade::EncartaButton2Click);
    connect(EncartaButton3, &QPushButton::clicked, this, &TFormPfade::EncartaButton3Click);
    connect(EncartaButton4, &QPushButton::clicked, this, &TFormPfade::EncartaButton4Click);
    connect(EncartaButtonOK, &QPushButton::clicked, this, &TFormPfade::EncartaButtonOKClick);
    connect(EncartaButtonAbbrechen, &QPushButton::clicked, this, &TFormPfade::EncartaButtonAbbrechenClick);
}

void TFormPfade::Browse(QLineEdit* field)
{
    const QString chosen = ui::BrowseForFolder(field->text(), this);
    if (!chosen.isEmpty())
        field->setText(chosen.trimmed());
}

void TFormPfade::EncartaButton1Click()
{
    Browse(EditLPfadDeutsch);
}

void TFormPfade::EncartaButton2Click()
{
    Browse(EditSPfadDeutsch);
}

void TFormPfade::EncartaButton3Click()
{
    Browse(EditLPfadenglisch);
}

void TFormPfade::EncartaButton4Click()
{
    Browse(EditSPfadenglisch);
}

void TFormPfade::EncartaButtonOKClick()
{
    // Checking, creating and storing the folders comes with the storage-locations work.
    accept();
}

void TFormPfade::EncartaButtonAbbrechenClick()
{
    reject();
}
