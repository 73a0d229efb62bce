#include "app/Form1_u.h"

// The settings page: designs and storage locations.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::EncartaButtonOrteClick()
{}
void TForm1::ComboBoxDesignChange()
{}
