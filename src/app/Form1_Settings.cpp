#include "app/Form1_u.h"

#include "app/dialogs/FormPfade_u.h"
#include "ui/StatusListView.h"

// The settings page: designs and storage locations.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::ComboBoxDesignChange()
{}

void TForm1::EncartaButtonOrteClick()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope)
        return;
    // OK or cancel: the lists are rebuilt either way.
    if (m_formPfade)
        m_formPfade->exec();
    TntListViewAkt->statusModel()->clear();
    TntListViewAuswahl->statusModel()->clear();
    RefreshCurrentSet();
    RefreshProfile();
}
