#pragma once

#include "FormFixture.h"
#include "ListRows.h"

#include "Modal.h"
#include "support/FolderTree.h"

#include "app/dialogs/FormProfilSpeichern_u.h"
#include "ui/FlatButton.h"
#include "ui/MessageDialogs.h"
#include "ui/StatusListView.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <functional>

// Two languages, each with a local and a server folder, none of them on a network
// host, and the window made on top of them.
class ProfilesTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        CreateForm();
        util::RuntimeState& g = util::Global();
        g.LocalFolderGerman = localDe.str();
        g.ServerFolderGerman = serverDe.str();
        g.LocalFolderEnglish = localEn.str();
        g.ServerFolderEnglish = serverEn.str();
        g.HostNameGerman.clear();
        g.HostNameEnglish.clear();
        g.LanguageFlag = 1;
        g.CurrentLocalFolder = localDe.str();
        g.CurrentServerFolder = serverDe.str();
        g.CurrentProfile.clear();
        g.CompareWithServer = true;
    }

    // Opens the save dialog through "Profil speichern als" and, once it shows,
    // fills it in and presses OK; `after` runs while the dialog is still open.
    void SaveProfile(const QString& name, const QString& description = {}, const QString& startFile = {},
                     const std::function<void(TFormProfilSpeichern&)>& after = {})
    {
        TFormProfilSpeichern& dialog = windows->FormProfilSpeichern;
        guitest::WithModal(
            dialog,
            [&] {
                dialog.EditProfil->setText(name);
                dialog.MemoProfil->setPlainText(description);
                dialog.EditSteuerDatei->setText(startFile);
                dialog.EncartaButtonOK->click();
                if (after)
                    after(dialog);
            },
            [&] { form->EncartaButtonPSpeichernClick(); });
    }

    void SelectProfile(const QString& name)
    {
        const auto items = form->ListBoxProfile->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        form->ListBoxProfile->setCurrentItem(items.first());
    }

    ui::StatusListModel& ProfileRows() { return *form->TntListViewAuswahl->statusModel(); }
    ui::StatusListModel& SetRows() { return *form->TntListViewAkt->statusModel(); }
    int ProfileRowOf(const std::string& name) const { return guitest::RowOf(form->TntListViewAuswahl, name); }

    std::filesystem::path ProfileFolder(const std::string& name, bool german = true) const
    {
        return (german ? localDe : localEn) / "qPPP_Profile" / name;
    }

    testsupport::TempDir localDe;
    testsupport::TempDir serverDe;
    testsupport::TempDir localEn;
    testsupport::TempDir serverEn;
};
