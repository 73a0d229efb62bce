#include "app/Form1_u.h"

// The profiles: saving, listing, choosing, describing, updating and deleting.
// Not built yet: these handlers are bound to their controls and do nothing.

void TForm1::EncartaButtonPSpeichernClick()
{}
void TForm1::ListBoxProfileClick()
{}
void TForm1::EncartaButtonAuswahlClick()
{}
void TForm1::MemoProfileHExit()
{}
void TForm1::MenuProfilLoeschenClick()
{}
void TForm1::Beschreibungndern1Click()
{}
void TForm1::EncartaButtonInfoClick()
{}
void TForm1::ImageFlageProfilDblClick()
{}
void TForm1::AusgewhlteDateienaktuallisierenProfilClick()
{}
void TForm1::DateilokallschenProfilClick()
{}
