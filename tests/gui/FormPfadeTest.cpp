#include "FormFixture.h"
#include "Modal.h"

#include "support/FolderSnapshot.h"
#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QLineEdit>

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

class FormPfadeTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        CreateForm();
        fs::create_directories(folders / "de");
        fs::create_directories(folders / "en");
        fs::create_directories(folders / "server" / "de");
        fs::create_directories(folders / "server" / "en");
        dialog().SetMountedShareHost([](const std::string&) { return std::string(); });
    }

    TFormPfade& dialog() { return windows->FormPfade; }
    std::string At(const std::string& relative) const { return (folders / relative).string(); }

    void Type(const std::string& lg, const std::string& sg, const std::string& le, const std::string& se)
    {
        dialog().EditLPfadDeutsch->setText(Q(lg));
        dialog().EditSPfadDeutsch->setText(Q(sg));
        dialog().EditLPfadenglisch->setText(Q(le));
        dialog().EditSPfadenglisch->setText(Q(se));
    }

    // Clicks OK on the dialog as it stands; true when it closed.
    bool ClickOK()
    {
        dialog().setResult(-1);
        dialog().EncartaButtonOK->click();
        return dialog().result() == QDialog::Accepted;
    }

    bool SettingsWritten() const { return fs::exists(SettingsFile()); }

    testsupport::TempDir folders;
};

TEST_F(FormPfadeTest, EqualPathsAreRefusedWithTheirOwnMessagesAndNothingIsWritten)
{
    struct Case
    {
        std::string lg, sg, le, se;
        QString message;
    };
    const std::string de = At("de"), en = At("en");
    const Case cases[] = {
        {de, de, en, At("server/en"), "Bereich \"Deutsch\": Die Pfade dürfen nicht gleich sein."},
        {de, At("server/de"), en, en, "Bereich \"Englisch\": Die Pfade dürfen nicht gleich sein."},
        {de, At("SERVER/DE"), en, At("server/de"), "Es existieren gleiche Pfade. Bitte korrigieren."},
        {de, At("server/de"), At("DE"), At("server/en"), "Es existieren gleiche Pfade. Bitte korrigieren."},
    };
    const util::RuntimeState before = util::Global();
    for (const Case& c : cases) {
        ui::DialogScript script;
        Type(c.lg, c.sg, c.le, c.se);
        EXPECT_FALSE(ClickOK());
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].kind, ui::BoxKind::Error);
        EXPECT_EQ(script.texts()[0], c.message);
        EXPECT_EQ(dialog().EditSPfadDeutsch->text(), Q(c.sg)) << "the fields keep what was typed";
    }
    EXPECT_FALSE(SettingsWritten());
    EXPECT_EQ(util::Global().LocalFolderGerman, before.LocalFolderGerman);
}

TEST_F(FormPfadeTest, AcceptedFoldersAreWrittenInOrderAndBecomeTheCurrentPair)
{
    util::Global().LanguageFlag = 0;
    dialog().SetMountedShareHost([](const std::string& path) {
        return path.find("/server/en") != std::string::npos ? std::string("srv01") : std::string();
    });
    ui::DialogScript script;
    // Both server fields empty is fine; blanks at the ends do not reach the file.
    Type(" " + At("de") + " ", "", At("en"), "");
    ASSERT_TRUE(ClickOK());
    EXPECT_EQ(ReadFile(SettingsFile()), "[Allgemein]\nEditLPfadDeutsch=" + At("de") +
                                            "\nEditSPfadDeutsch=\nEditLPfadEnglisch=" + At("en") +
                                            "\nEditSPfadEnglisch=\nServerNameDeutsch=\n"
                                            "ServerNameEnglisch=\n");
    EXPECT_EQ(dialog().EditLPfadDeutsch->text(), Q(At("de")));
    const util::RuntimeState& g = util::Global();
    EXPECT_EQ(g.LocalFolderGerman, At("de"));
    EXPECT_EQ(g.CurrentLocalFolder, At("en")) << "the English set is the current one";
    EXPECT_EQ(g.CurrentServerFolder, "");
    EXPECT_EQ(g.HostNameGerman, "");

    Type(At("de"), At("server/de"), At("en"), At("server/en"));
    ASSERT_TRUE(ClickOK());
    EXPECT_EQ(g.HostNameEnglish, "srv01") << "the share's host, from the mount";
    EXPECT_EQ(g.CurrentServerFolder, At("server/en"));
    EXPECT_NE(ReadFile(SettingsFile()).find("ServerNameEnglisch=srv01"), std::string::npos);
    EXPECT_TRUE(script.texts().isEmpty());
}

TEST_F(FormPfadeTest, AMissingLocalFolderIsCreatedOnlyWhenTheUserSaysYes)
{
    const std::string neu = At("neu");
    const QString question =
        Q("Lokaler Ordner \"" + neu + "\" existiert nicht.\rWollen Sie es jetzt erstellen?");
    Type(neu, At("server/de"), At("en"), At("server/en"));
    {
        ui::DialogScript script;
        script.answerConfirm(false);
        EXPECT_FALSE(ClickOK());
        EXPECT_EQ(script.texts(), (QStringList{question, "Lokaler Ordner wurde nicht erstellt"}));
        EXPECT_EQ(script.shown()[1].kind, ui::BoxKind::Information);
        EXPECT_FALSE(fs::exists(neu));
        EXPECT_FALSE(SettingsWritten());
    }
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        EXPECT_TRUE(ClickOK());
        EXPECT_EQ(script.texts(), QStringList{question});
        EXPECT_TRUE(fs::is_directory(neu));
        EXPECT_EQ(util::Global().LocalFolderGerman, neu);
        EXPECT_TRUE(SettingsWritten());
    }
}

TEST_F(FormPfadeTest, AFolderThatCannotBeMadeEndsTheConfirmButAnEarlierOneStaysMade)
{
    const std::string neu = At("neu"), deep = At("a/b");
    Type(neu, At("server/de"), deep, At("server/en"));
    {
        ui::DialogScript script;
        script.answerConfirm(true);
        script.answerConfirm(true);
        EXPECT_FALSE(ClickOK());
        ASSERT_EQ(script.texts().size(), 3);
        EXPECT_EQ(script.texts()[2], Q("Ordner \"" + deep + "\" kann nicht erstellt werden."));
        EXPECT_EQ(script.shown()[2].kind, ui::BoxKind::Error);
    }
    EXPECT_TRUE(fs::is_directory(neu));
    EXPECT_FALSE(fs::exists(At("a")));
    EXPECT_FALSE(SettingsWritten());

    // An empty local field cannot be made either.
    ui::DialogScript empty;
    empty.answerConfirm(true);
    Type("", At("server/de"), At("en"), At("server/en"));
    EXPECT_FALSE(ClickOK());
    EXPECT_EQ(empty.texts(),
              (QStringList{"Lokaler Ordner \"\" existiert nicht.\rWollen Sie es jetzt erstellen?",
                           "Ordner \"\" kann nicht erstellt werden."}));
}

TEST_F(FormPfadeTest, UnsafeOrUnusableFoldersAreRefusedBeforeAnythingIsMade)
{
    WriteFile(folders / "datei", "x");
    const auto snapshot = [&] {
        return std::vector{testsupport::SnapshotFolder(folders.path()),
                           testsupport::SnapshotFolder(folders / "de"),
                           testsupport::SnapshotFolder(folders / "server" / "de")};
    };
    const auto before = snapshot();
    const std::string cases[][4] = {
        {"Folien", At("server/de"), At("en"), ""},
        {At("de"), At("server/de"), At("en"), "Bitte hier Serverpfad für deutsch eintragen"},
        {At("datei"), At("server/de"), At("en"), ""},
        {At("server/de/kopie"), At("server/de"), At("en"), ""},
        {At("de"), At("de/server"), At("en"), ""},
    };
    for (const auto& c : cases) {
        ui::DialogScript script;
        Type(c[0], c[1], c[2], c[3]);
        EXPECT_FALSE(ClickOK()) << c[0];
        ASSERT_EQ(script.shown().size(), 1) << c[0];
        EXPECT_EQ(script.shown()[0].kind, ui::BoxKind::Error);
    }
    EXPECT_EQ(snapshot(), before) << "no folder made, least of all in a server";
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(FormPfadeTest, AnUnwritableSettingsFileIsReportedAndTheDialogStaysOpen)
{
    fs::create_directories(SettingsFile()); // a folder where the file should be
    ui::DialogScript script;
    Type(At("de"), At("server/de"), At("en"), At("server/en"));
    EXPECT_FALSE(ClickOK());
    EXPECT_EQ(script.texts(),
              QStringList{Q("nach " + SettingsFile().string() + " kann nicht geschrieben werden")});
    EXPECT_NE(util::Global().LocalFolderGerman, At("de"));
}

TEST_F(FormPfadeTest, CancelAndTheCloseBoxKeepTheTypedTextAndStoreNothing)
{
    const util::RuntimeState before = util::Global();
    for (bool closeBox : {false, true}) {
        Type(At("de"), At("server/de"), At("en"), At("getippt"));
        const int result = guitest::WithModal(
            dialog(),
            [&] {
                if (closeBox)
                    dialog().close();
                else
                    dialog().EncartaButtonAbbrechen->click();
            },
            [&] { return dialog().exec(); });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(dialog().EditSPfadenglisch->text(), Q(At("getippt")));
    }
    EXPECT_FALSE(SettingsWritten());
    EXPECT_EQ(util::Global().ServerFolderEnglish, before.ServerFolderEnglish);
}

TEST_F(FormPfadeTest, TheStorageLocationsButtonRefreshesTheListsWhateverTheOutcome)
{
    WriteFile(folders / "de" / "Intro.ppt", "a");
    util::Global().CompareWithServer = true;
    ui::StatusListModel& rows = *form->TntListViewAkt->statusModel();
    int resets = 0;
    QObject::connect(&rows, &QAbstractItemModel::modelReset, [&] { ++resets; });

    // Cancelled: the list is still emptied and rebuilt.
    guitest::WithModal(
        dialog(), [&] { dialog().EncartaButtonAbbrechen->click(); }, [&] { form->EncartaButtonOrteClick(); });
    EXPECT_GE(resets, 2);
    EXPECT_EQ(rows.rowCount(), 0) << "the default folder does not exist";

    // Confirmed: the list shows the new current folder.
    ui::DialogScript script;
    guitest::WithModal(
        dialog(),
        [&] {
            Type(At("de"), At("server/de"), At("en"), At("server/en"));
            dialog().EncartaButtonOK->click();
        },
        [&] { form->EncartaButtonOrteClick(); });
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.row(0).name, "Intro.ppt");
    EXPECT_FALSE(form->Gate().Busy());
}
