#include "app/Form1_u.h"

// The settings page: the design choice and the storage-locations button.

#include "app/dialogs/FormPfade_u.h"
#include "settings/Designs.h"
#include "ui/StatusListView.h"

#include <QComboBox>
#include <QSignalBlocker>

void TForm1::ComboBoxDesignChange()
{
    util::OperationScope scope(m_gate, util::OperationGate::Request::Command);
    if (!scope) {
        // Refused while another operation runs: the box keeps showing the design in force.
        const int index = util::Global().DesignIndex;
        const QSignalBlocker block(ComboBoxDesign);
        ComboBoxDesign->setCurrentIndex(index >= 0 && index < ComboBoxDesign->count() ? index : -1);
        return;
    }
    const int index = ComboBoxDesign->currentIndex();
    if (index >= 0 && index < settings::kDesignCount)
        util::Global().DesignIndex = index;
    Activate();
    SaveSettings();
}

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
