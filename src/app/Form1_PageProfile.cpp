#include "app/Form1_u.h"

#include "app/QuintorApplication.h"
#include "profiles/ProfileStore.h"
#include "settings/Settings.h"
#include "ui/DoubleClickAnywhere.h"
#include "ui/FlatButton.h"
#include "ui/Layout.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "util/FileWork.h"
#include "util/z_global.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

// Page 1 "Profile": the saved profiles of the chosen language, choosing one,
// describing and deleting them.

using ui::Q;
using ui::S;

namespace {

// The memo hands out its lines with LF, a description keeps them with CR LF.
std::string DescriptionOf(const QPlainTextEdit* memo)
{
    QString text = memo->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return S(text);
}

QString ShownDescription(const std::string& description)
{
    QString text = Q(description);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The folder name as the file system holds it; the list shows it as text.
std::string ProfileNameOf(const QListWidgetItem* item)
{
    const QVariant raw = item->data(Qt::UserRole);
    return raw.isValid() ? raw.toByteArray().toStdString() : S(item->text());
}

const QListWidgetItem* MarkedProfile(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

} // namespace

void TForm1::BuildPageProfile(QWidget* page)
{
    // Caption and bold name share one line box, so that they share a baseline.
    ui::AddLabel(page, "Label23", QStringLiteral("Aktuelles Profil"), 8, 8)->setFixedHeight(16);
    LabelZProfil = ui::AddBoldLabel(page, "LabelZProfil", 100, 8, 296);
    LabelPN = ui::AddLabel(page, "LabelPN", QStringLiteral("Profilnamen"), 8, 34);
    LabelPN->setFixedWidth(200);
    ListBoxProfile = ui::Named(new QListWidget(page), "ListBoxProfile");
    ListBoxProfile->setGeometry(8, 50, 392, 104);
    ListBoxProfile->setSelectionMode(QAbstractItemView::SingleSelection);
    ui::AddLabel(page, "Label2", QStringLiteral("Profilbeschreibung"), 8, 162);
    MemoProfileH = ui::Named(new QPlainTextEdit(QStringLiteral("MemoProfileH"), page), "MemoProfileH");
    MemoProfileH->setGeometry(8, 178, 392, 90);
    MemoProfileH->setReadOnly(true);
    // Tab goes on to the next control, as in every other field.
    MemoProfileH->setTabChangesFocus(true);
    LabelPB1 = ui::AddLabel(
        page, "LabelPB1", QStringLiteral("Beim verlassen des Eingabefensters wird die Beschreibung"), 8, 272);
    LabelPB2 = ui::AddLabel(page, "LabelPB2",
                            QStringLiteral("automatisch gespeichert (Max länge: 255 zeichen)"), 8, 287);
    for (QLabel* hint : {LabelPB1, LabelPB2}) {
        hint->setStyleSheet(QStringLiteral("color: blue"));
        hint->hide();
    }
    EncartaButtonAuswahl =
        ui::AddButton(page, "EncartaButtonAuswahl", QStringLiteral("Auswählen"), QRect(304, 310, 96, 26));

    PopupMenuProfil = ui::Named(new QMenu(this), "PopupMenuProfil");
    MenuProfilLoeschen = ui::AddMenuItem(PopupMenuProfil, "MenuProfilLoeschen", "Profil löschen");
    ui::AddMenuSeparator(PopupMenuProfil, "N2");
    Beschreibungndern1 = ui::AddMenuItem(PopupMenuProfil, "Beschreibungndern1", "Beschreibung ändern");
    ui::AttachContextMenu(ListBoxProfile, PopupMenuProfil);
}

void TForm1::ConnectPageProfile()
{
    connect(ListBoxProfile, &QListWidget::itemClicked, this,
            QuintorApplication::Guarded(this, &TForm1::ListBoxProfileClick));
    connect(ListBoxProfile, &QListWidget::itemSelectionChanged, this,
            QuintorApplication::Guarded(this, &TForm1::ListBoxProfileClick));
    ui::OnDoubleClickAnywhere(ListBoxProfile,
                              QuintorApplication::Guarded(this, &TForm1::EncartaButtonAuswahlClick));
    connect(EncartaButtonAuswahl, &QPushButton::clicked, this,
            QuintorApplication::Guarded(this, &TForm1::EncartaButtonAuswahlClick));
    // Leaving the description saves it (see eventFilter).
    MemoProfileH->installEventFilter(this);
    connect(MenuProfilLoeschen, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::MenuProfilLoeschenClick));
    connect(Beschreibungndern1, &QAction::triggered, this,
            QuintorApplication::Guarded(this, &TForm1::Beschreibungndern1Click));
}

void TForm1::FillProfilesPage()
{
    const util::RuntimeState& g = util::Global();
    ListBoxProfile->clear();
    MemoProfileH->clear();
    LabelZProfil->setText(Q(g.CurrentProfile));
    const auto names = util::RunFileWorkFor([local = g.CurrentLocalFolder] {
                           return profiles::ListProfiles(local);
                       }).value_or(std::vector<std::string>());
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(Q(name), ListBoxProfile);
        // The shown text may not give back the folder name's bytes.
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
    LabelPN->setText(RadioButtonDeutsch->isChecked() ? QStringLiteral("Profilnamen (deutsch)")
                                                     : QStringLiteral("Profilnamen (englisch)"));
}

void TForm1::ListBoxProfileClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item)
        return;
    const util::RuntimeState& g = util::Global();
    std::string stored;
    const std::string name = ProfileNameOf(item);
    if (const auto iniPath = profiles::ProfileIniPath(g.CurrentLocalFolder, name))
        stored = util::RunFileWorkFor([ini = ProfileIni(*iniPath)] {
                     return ini.ReadString(profiles::kProfileSection, profiles::kDescriptionKey, "");
                 }).value_or(std::string());
    MemoProfileH->setPlainText(ShownDescription(profiles::DecodeDescription(stored)));
}

void TForm1::EncartaButtonAuswahlClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item) {
        ui::Information(QStringLiteral("Bitte zuerst ein Profil auswählen"), this);
        return;
    }
    util::RuntimeState& g = util::Global();
    const std::string name = util::CutText(ProfileNameOf(item));
    const bool german = g.LanguageFlag == 1;
    g.CurrentProfile = (german ? g.ChosenProfileGerman : g.ChosenProfileEnglish) = name;
    // The settings file is flushed as it is written: file work, as a busy disk must
    // not stall the window.
    util::RunFileWork(
        [ini = LMDIniCtrl1.GatedCopy(),
         key = german ? settings::key::wahlProfilDeutsch : settings::key::wahlProfilEnglisch,
         name](util::WorkProgress&) mutable { ini.WriteString(settings::kSectionAllgemein, key, name); });
    LabelProfilname->setText(Q(name));
    AdvOfficePager1->setCurrentIndex(2);
    g.ProfileStartFile = ProfileStartFileOf(name);
    RefreshProfile();
}

// ---------------------------------------------------------------- the description

void TForm1::SetDescriptionWritable(bool writable)
{
    MemoProfileH->setReadOnly(!writable);
    QPalette palette = MemoProfileH->palette();
    const std::uint32_t field = util::Global().Palette.inputField;
    // Before a design is in force the field keeps the system's colour.
    const QColor readOnly =
        field != 0 ? QColor::fromRgb(field) : QGuiApplication::palette().color(QPalette::Base);
    palette.setColor(QPalette::Base, writable ? QGuiApplication::palette().color(QPalette::Base) : readOnly);
    MemoProfileH->setPalette(palette);
}

void TForm1::Beschreibungndern1Click()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    SetDescriptionWritable(true);
    for (QLabel* hint : {LabelPB1, LabelPB2}) {
        // Sized when shown: the page's font is only final once it is on screen.
        hint->adjustSize();
        hint->show();
    }
    MemoProfileH->setFocus(Qt::OtherFocusReason);
}

void TForm1::MemoProfileHExit()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    LabelPB1->hide();
    LabelPB2->hide();
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item)
        return;
    SetDescriptionWritable(false);
    const util::RuntimeState& g = util::Global();
    const std::string name = ProfileNameOf(item);
    const auto iniPath = profiles::ProfileIniPath(g.CurrentLocalFolder, name);
    if (!iniPath)
        return;
    util::RunFileWork(
        [ini = ProfileIni(*iniPath), stored = profiles::EncodeDescription(profiles::CutDescription(
                                         DescriptionOf(MemoProfileH)))](util::WorkProgress&) mutable {
            ini.WriteString(profiles::kProfileSection, profiles::kDescriptionKey, stored);
        });
}

// ---------------------------------------------------------------- deleting

void TForm1::MenuProfilLoeschenClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    if (!ui::Confirm(Q(std::string(profiles::kDeleteProfileQuestion)), this, ui::DefaultAnswer::No))
        return;
    const QListWidgetItem* item = MarkedProfile(ListBoxProfile);
    if (!item) {
        ui::Information(QStringLiteral("Ein Profil bitte markieren."), this);
        return;
    }
    const auto deleted =
        util::RunFileWorkFor([local = util::Global().CurrentLocalFolder, name = ProfileNameOf(item)] {
            return profiles::DeleteProfile(local, name);
        });
    // No answer only when the program is closing: nothing left to say.
    if (deleted && !deleted->IsDone())
        ui::Error(Q(deleted->message), this);
    FillProfilesPage();
}
