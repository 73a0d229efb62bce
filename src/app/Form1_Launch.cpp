#include "app/Form1_u.h"

// Showing and editing presentations, and the start files.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::EncartaButtonBearbClick()
{}
void TForm1::EncartaButtonExeClick()
{}
void TForm1::EncartaButtonProfBerClick()
{}
void TForm1::EncartaButtonProExeClick()
{}
void TForm1::Startdateidefinieren1Click()
{}
void TForm1::StartdateidefinierenProfilClick()
{}
