#include "app/dialogs/FormDListe_u.h"

#include "ui/DialogButtons.h"
#include "ui/FlatButton.h"
#include "ui/StatusListView.h"
#include "util/z_global.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>

namespace {
constexpr int kClientWidth = 336;
constexpr int kClientHeight = 309;
} // namespace

TFormDListe::TFormDListe(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDListe"));
    setWindowTitle(QStringLiteral("Auswahl der Startdatei"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Bitte Dateiname auswählen"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 8);
    Label1->adjustSize();
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setGeometry(8, 26, 320, 238);
    EncartaButtonOK = new ui::FlatButton(QStringLiteral("OK"), this);
    EncartaButtonOK->setObjectName(QStringLiteral("EncartaButtonOK"));
    EncartaButtonOK->setGeometry(156, 274, 84, 26);
    EncartaButtonAb = new ui::FlatButton(QStringLiteral("Abbrechen"), this);
    EncartaButtonAb->setObjectName(QStringLiteral("EncartaButtonAb"));
    EncartaButtonAb->setGeometry(244, 274, 84, 26);

    ui::MakeDefaultButton(*this, EncartaButtonOK);
    connect(EncartaButtonOK, &QPushButton::clicked, this, &TFormDListe::EncartaButtonOKClick);
    connect(EncartaButtonAb, &QPushButton::clicked, this, &TFormDListe::EncartaButtonAbClick);
    // A double-click does not choose: only "OK" does.
}

void TFormDListe::SetSource(const ui::StatusListView* source)
{
    m_source = source;
}

bool TFormDListe::ChooseStartFile(QString& name)
{
    m_chosen = false;
    m_target = &name;
    exec();
    m_target = nullptr;
    return m_chosen;
}

void TFormDListe::showEvent(QShowEvent* event)
{
    // Filled when shown rather than at every activation, so that switching to
    // another window and back keeps the user's mark.
    FillList();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TFormDListe::FillList()
{
    ListBox1->clear();
    if (m_source) {
        for (const filesync::FileRow& row : m_source->statusModel()->rows())
            ListBox1->addItem(QString::fromStdString(row.displayName));
    }
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
}

void TFormDListe::EncartaButtonOKClick()
{
    const QList<QListWidgetItem*> marked = ListBox1->selectedItems();
    if (!marked.isEmpty() && m_target) {
        *m_target = QString::fromStdString(util::CutText(marked.first()->text().toStdString()));
        m_chosen = true;
    }
    accept();
}

void TFormDListe::EncartaButtonAbClick()
{
    reject();
}
