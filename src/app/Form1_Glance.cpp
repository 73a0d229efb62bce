// What the window shows beyond the lists themselves after each refresh: a summary
// under each list, whether each language is ready to present (marks on the flags),
// and a desktop message when the periodic refresh finds newer files on the server.
#include "app/Form1_u.h"

#include "launch/StartFile.h"
#include "sync/ListSummary.h"
#include "ui/DesktopNotifier.h"
#include "ui/PictureLabel.h"
#include "ui/QtText.h"
#include "ui/StatusListView.h"
#include "util/z_global.h"

#include <QDateTime>
#include <QLabel>

using ui::Q;

namespace {

ui::ReadyMark MarkOf(const std::optional<launch::Readiness>& readiness)
{
    if (!readiness)
        return ui::ReadyMark::Unchecked;
    return readiness->ready ? ui::ReadyMark::Ready : ui::ReadyMark::NotReady;
}

void ShowReadinessOn(QLabel* flag, bool german, const std::optional<launch::Readiness>& readiness)
{
    static_cast<ui::PictureLabel*>(flag)->setMark(MarkOf(readiness));
    flag->setToolTip(Q(launch::ReadinessText(german, readiness)));
}

} // namespace

void TForm1::ShowSummary(ui::StatusListView* list, const filesync::ListSummary& summary)
{
    const QString checkedAt = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm"));
    list->setSummary(Q(filesync::SummaryText(summary, ui::S(checkedAt))));
}

void TForm1::AfterCurrentSetRefresh(const filesync::ListSummary& summary)
{
    const util::RuntimeState& g = util::Global();
    const std::vector<filesync::FileRow>& rows = TntListViewAkt->statusModel()->rows();

    // The set's own start file, as its folder keeps it: the bold name may still be
    // the other language's after a switch with the radio buttons.
    const std::string iniPath = launch::CurrentSetStartFileIni(g);
    const std::string startFile = iniPath.empty() ? std::string() : ReadStartFileAt(iniPath);
    m_readiness[g.LanguageFlag == 1 ? 1 : 0] = launch::AssessReadiness(summary, rows, startFile);
    ShowReadiness();

    std::vector<std::string> outdated = filesync::OutdatedNames(rows);
    if (m_periodicRefreshPending) {
        m_periodicRefreshPending = false;
        const std::size_t news = filesync::CountNewlyOutdated(m_lastOutdated, outdated);
        if (news > 0)
            ui::Notifier().Notify(QStringLiteral("Quintor 3P"), Q(filesync::NewerOnServerNotice(news)),
                                  [this] { BringToFront(); });
    }
    m_lastOutdated = std::move(outdated);
}

void TForm1::ShowReadiness()
{
    const bool german = util::Global().LanguageFlag == 1;
    const std::optional<launch::Readiness>& current = m_readiness[german ? 1 : 0];
    ShowReadinessOn(ImageFlageAkt, german, current);
    ShowReadinessOn(ImageFlageProfil, german, current);
    ShowReadinessOn(ImageFlageD, true, m_readiness[1]);
    ShowReadinessOn(ImageFlageE, false, m_readiness[0]);
}

void TForm1::BringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
