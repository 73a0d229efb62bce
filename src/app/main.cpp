#include "app/ApplicationWindows.h"
#include "app/QuintorApplication.h"
#include "ui/MessagePump.h"
#include "util/z_global.h"

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

    ApplicationWindows windows;
    windows.Form1.show();
    windows.Form1.activateWindow();
    return app.exec();
}
