#include "app/Form1_u.h"
#include "app/QuintorApplication.h"
#include "app/dialogs/FormDListe_u.h"
#include "app/dialogs/FormInfo_u.h"
#include "app/dialogs/FormPfade_u.h"
#include "app/dialogs/FormProfilSpeichern_u.h"
#include "ui/MessagePump.h"
#include "util/z_global.h"

#include <QTimer>

int main(int argc, char** argv)
{
    QuintorApplication app(argc, argv);
    Q_INIT_RESOURCE(assets);
    try {
        util::InitialiseGlobalState();
    } catch (const std::exception& e) {
        QuintorApplication::ShowError(QString::fromStdString(e.what()));
        return 1;
    }
    ui::InstallQtMessagePump();

    // The five windows, created once and in this order; the first is the main window.
    TForm1 form1;
    TFormProfilSpeichern formProfilSpeichern(&form1);
    TFormDListe formDListe(&form1);
    TFormPfade formPfade(&form1);
    TFormInfo formInfo(&form1);
    form1.SetDialogs(&formProfilSpeichern, &formDListe, &formPfade, &formInfo);
    formDListe.SetSource(form1.TntListViewAkt);

    form1.show();
    form1.activateWindow();
    return app.exec();
}
