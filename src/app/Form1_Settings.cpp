#include "app/Form1_u.h"

#include "app/settings/Designs.h"

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

// The settings page: designs and storage locations.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::EncartaButtonOrteClick()
{}
