#include "FormFixture.h"
#include "ListRows.h"

#include "support/FakeShares.h"
#include "sync/FileStatus.h"
#include "ui/StatusListView.h"

#include <QAction>
#include <QFont>
#include <QTimer>

using testsupport::Dos;
using testsupport::WriteFileAt;

namespace {

// A local and a server folder holding one file of each kind.
struct TwoFolders
{
    testsupport::TempDir local;
    testsupport::TempDir server;

    TwoFolders()
    {
        WriteFileAt(local / "Intro.ppt", "a", Dos(2024, 3, 1));
        WriteFileAt(server / "INTRO.PPT", "a", Dos(2024, 3, 1));
        WriteFileAt(local / "Neu.ppt", "b", Dos(2024, 3, 1, 10, 0, 0));
        WriteFileAt(server / "Neu.ppt", "b2", Dos(2024, 3, 1, 10, 0, 2));
        WriteFileAt(local / "Lokal.ppt", "c", Dos(2024, 3, 2));
        WriteFileAt(server / "Fehlt.ppt", "d", Dos(2024, 3, 3));
    }
};

} // namespace

class FormListTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        CreateForm();
        util::RuntimeState& g = util::Global();
        g.CurrentLocalFolder = folders.local.str();
        g.CurrentServerFolder = folders.server.str();
        g.HostNameGerman.clear();
        g.CompareWithServer = true;
    }

    ui::StatusListModel& Rows() { return *form->TntListViewAkt->statusModel(); }
    int RowOf(const std::string& name) const { return guitest::RowOf(form->TntListViewAkt, name); }

    TwoFolders folders;
};

TEST_F(FormListTest, RefreshShowsEveryFileWithDatesAndStatusPictures)
{
    form->EncartaButtonAktAClick();
    ASSERT_EQ(Rows().rowCount(), 4);
    const int intro = RowOf("Intro.ppt");
    ASSERT_GE(intro, 0);
    EXPECT_EQ(Rows().row(intro).status, filesync::StatusIdentical);
    EXPECT_EQ(Rows().row(RowOf("Neu.ppt")).status, filesync::StatusServerNewer);
    EXPECT_EQ(Rows().row(RowOf("Lokal.ppt")).status, filesync::StatusLocalOnly);
    EXPECT_EQ(RowOf("Fehlt.ppt"), 3) << "server-only files come last";
    EXPECT_EQ(Rows().row(3).status, filesync::StatusMissingLocally);

    const QModelIndex name = Rows().index(intro, 0);
    EXPECT_EQ(Rows().data(name, Qt::DisplayRole).toString(), "Intro.ppt");
    EXPECT_FALSE(Rows().data(Rows().index(intro, 1), Qt::DisplayRole).toString().isEmpty());
    EXPECT_FALSE(Rows().data(Rows().index(intro, 2), Qt::DisplayRole).toString().isEmpty());
    EXPECT_TRUE(Rows().data(Rows().index(3, 2), Qt::DisplayRole).toString().isEmpty()) << "no local date";
    EXPECT_FALSE(Rows().data(name, Qt::DecorationRole).isNull());
}

TEST_F(FormListTest, AShareIsListedWhereItIsMountedAndItsRowsSayWhenItIsNot)
{
    testsupport::FakeShares shares;
    shares.Mount("//srv01/praes", folders.server.path());
    util::Global().CurrentServerFolder = "\\\\SRV01\\praes";
    form->EncartaButtonAktAClick();
    ASSERT_EQ(Rows().rowCount(), 4);
    EXPECT_EQ(Rows().row(RowOf("Neu.ppt")).status, filesync::StatusServerNewer);
    EXPECT_EQ(Rows().row(3).status, filesync::StatusMissingLocally);

    util::Global().CurrentServerFolder = "smb://srv09/praes";
    form->EncartaButtonAktAClick();
    ASSERT_EQ(Rows().rowCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Rows().row(i).status, filesync::StatusServerFolderMissing);
    const QString tip = Rows().data(Rows().index(0, 0), Qt::ToolTipRole).toString();
    EXPECT_TRUE(
        tip.contains(QString::fromUtf8("Server erreichbar, aber Ordner auf dem Server nicht verfügbar")))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromUtf8("nicht eingehängt"))) << tip.toStdString();

    // A server folder that is merely missing keeps the plain tooltip.
    util::Global().CurrentServerFolder = (folders.server / "fehlt").string();
    form->EncartaButtonAktAClick();
    ASSERT_EQ(Rows().row(0).status, filesync::StatusServerFolderMissing);
    EXPECT_FALSE(Rows().data(Rows().index(0, 0), Qt::ToolTipRole).toString().contains("eingehängt"));
}

TEST_F(FormListTest, WithoutComparisonOnlyLocalFilesAreListedAsNotCompared)
{
    util::Global().CompareWithServer = false;
    form->EncartaButtonAktAClick();
    ASSERT_EQ(Rows().rowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Rows().row(i).status, filesync::StatusNotCompared);
        EXPECT_TRUE(Rows().data(Rows().index(i, 1), Qt::DisplayRole).toString().isEmpty());
    }
}

TEST_F(FormListTest, MenuItemsFollowTheMarkedRowAndKeepTheirStateWhenNothingIsMarked)
{
    form->EncartaButtonAktAClick();
    QAction* update = form->AusgewhlteDateiaktualisieren1;
    QAction* remove = form->Dateilschen1;

    form->TntListViewAkt->markRow(RowOf("Fehlt.ppt")); // status 3
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_TRUE(update->isEnabled());
    form->TntListViewAkt->markRow(RowOf("Intro.ppt")); // status 0
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(update->isEnabled());
    form->TntListViewAkt->markRow(RowOf("Lokal.ppt")); // status 5
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    form->TntListViewAkt->clearSelection();
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(form->Startdateidefinieren1->isEnabled());

    // A server folder that is gone: every row status 7, update off, delete on.
    std::filesystem::remove_all(folders.server.path());
    form->EncartaButtonAktAClick();
    form->TntListViewAkt->markRow(0);
    EXPECT_EQ(Rows().row(0).status, filesync::StatusServerFolderMissing);
    EXPECT_FALSE(update->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
}

TEST_F(FormListTest, OnlyTheNameOfTheStartFileIsBoldAndTheCaseMustMatch)
{
    form->EncartaButtonAktAClick();
    const int intro = RowOf("Intro.ppt");
    const auto bold = [&](int row, int column) {
        return Rows().data(Rows().index(row, column), Qt::FontRole).value<QFont>().bold();
    };
    util::Global().CurrentSetStartFile = "Intro.ppt";
    EXPECT_TRUE(bold(intro, 0));
    EXPECT_FALSE(bold(intro, 1));
    EXPECT_FALSE(bold(intro, 2));
    EXPECT_FALSE(bold(RowOf("Neu.ppt"), 0));
    util::Global().CurrentSetStartFile = "intro.ppt";
    EXPECT_FALSE(bold(intro, 0));
}

TEST_F(FormListTest, ARefreshAskedForDuringARefreshRunsAfterItInsteadOfInsideIt)
{
    std::vector<int> resets; // row count after each rebuild of the list
    QObject::connect(&Rows(), &QAbstractItemModel::modelReset, [&] { resets.push_back(Rows().rowCount()); });
    // A tick of the periodic refresh that arrives while the first refresh waits.
    QTimer::singleShot(0, form.get(), [&] { form->TimerIntervalTimer(); });
    form->EncartaButtonAktAClick();
    EXPECT_EQ(resets, (std::vector<int>{0, 4, 0, 4})) << "the second refresh must not start inside the first";
}
