#include "app/Form1_u.h"

#include "launch/LaunchDecision.h"
#include "launch/PresentationLauncher.h"
#include "launch/StartFile.h"
#include "ui/MessageDialogs.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "util/z_global.h"

// Showing and editing presentations, and the start files of the two file lists.

using ui::Q;
using ui::S;

namespace {

const filesync::FileRow* FirstMarkedRow(const ui::StatusListView* list)
{
    const int row = list->firstMarkedRow();
    return row < 0 ? nullptr : &list->statusModel()->row(row);
}

// Shows nothing but the launcher's own failure: the started program runs on its own.
void LaunchMarkedFile(QWidget* window, const ui::StatusListView* list, launch::ListPage page,
                      launch::LaunchButton button)
{
    const util::RuntimeState& g = util::Global();
    const launch::LaunchDecision decision = launch::DecideLaunch(
        page, button, FirstMarkedRow(list), launch::PageFolder(page, g.CurrentLocalFolder, g.CurrentProfile));
    if (!decision.request) {
        ui::Information(Q(decision.message), window);
        return;
    }
    const std::string error = launch::ActiveLauncher().Launch(*decision.request);
    if (!error.empty())
        ui::Error(Q(error), window);
}

// The name of the marked row once the user agreed to make it the start file.
std::optional<std::string> ConfirmedStartFile(QWidget* window, const ui::StatusListView* list)
{
    const filesync::FileRow* row = FirstMarkedRow(list);
    if (!row) {
        ui::Information(QStringLiteral("Biite eine Datei markieren."), window);
        return std::nullopt;
    }
    std::string name = launch::StartFileName(row->displayName);
    if (!ui::Confirm(Q(launch::StartFileQuestion(name)), window))
        return std::nullopt;
    return name;
}

} // namespace

void TForm1::EncartaButtonExeClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(this, TntListViewAkt, launch::ListPage::CurrentSet, launch::LaunchButton::Show);
}

void TForm1::EncartaButtonBearbClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(this, TntListViewAkt, launch::ListPage::CurrentSet, launch::LaunchButton::Edit);
}

void TForm1::EncartaButtonProExeClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(this, TntListViewAuswahl, launch::ListPage::Profile, launch::LaunchButton::Show);
}

void TForm1::EncartaButtonProfBerClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (scope)
        LaunchMarkedFile(this, TntListViewAuswahl, launch::ListPage::Profile, launch::LaunchButton::Edit);
}

void TForm1::Startdateidefinieren1Click()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const std::optional<std::string> name = ConfirmedStartFile(this, TntListViewAkt);
    if (!name)
        return;
    // A failed write throws before the name in memory changes; the application
    // object shows it.
    launch::DefineCurrentSetStartFile(LMDIniCtrl2, util::Global(), *name);
    RefreshCurrentSet();
}

void TForm1::StartdateidefinierenProfilClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    const std::optional<std::string> name = ConfirmedStartFile(this, TntListViewAuswahl);
    if (!name)
        return;
    launch::DefineProfileStartFile(LMDIniCtrl2, util::Global(), *name);
    RefreshProfile();
}
