#include "app/Form1_u.h"

// Updating and deleting local copies of the current set.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::EncartaButtonSyncClick()
{}
void TForm1::AusgewhlteDateiaktualisieren1Click()
{}
void TForm1::Dateilschen1Click()
{}
