#pragma once

#include "app/Form1_u.h"
#include "app/dialogs/FormDListe_u.h"
#include "app/dialogs/FormInfo_u.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"

// The program's five windows, created once and in this order; the first is the
// main window, whose creation step runs before the dialogs exist.
struct ApplicationWindows
{
    ApplicationWindows()
    {
        Form1.SetDialogs(&FormProfilSpeichern, &FormDListe, &FormPfade, &FormInfo);
        FormDListe.SetSource(Form1.TntListViewAkt);
        FormPfade.SetSettingsFile(&Form1.LMDIniCtrl1);
        FormProfilSpeichern.SetChooser(&FormDListe);
    }

    TForm1 Form1;
    TFormProfilSpeichern FormProfilSpeichern{&Form1};
    TFormDListe FormDListe{&Form1};
    TFormPfade FormPfade{&Form1};
    TFormInfo FormInfo{&Form1};
};
