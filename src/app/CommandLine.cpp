#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quintor 3P hält eine lokale Kopie von Präsentationen mit einem Ordner auf dem Server "
                       "gleich, damit sie auch ohne Netz gezeigt werden können."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zeigt diese Hilfe und beendet das Programm."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsnummer und beendet das Programm."));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Startet mit eigenen Beispielordnern (deutsch und englisch) und eigenen Einstellungen "
                       "im Datenordner des Benutzers (~/.local/share/quintor3p-demo). Die eigentlichen "
                       "Einstellungen bleiben unberührt."));
    parser.addOptions({help, version, demo});

    const QString program =
        arguments.isEmpty() ? QStringLiteral("quintor3p") : QFileInfo(arguments.first()).fileName();
    const auto refuse = [&](const QString& why) {
        return CommandLine{
            CommandLine::Action::Refuse, false,
            QStringLiteral("%1: %2\n\"%1 --help\" zeigt, welche Optionen es gibt.\n").arg(program, why)};
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("Unerwartetes Argument \"%1\".").arg(parser.positionalArguments().first()));
    if (parser.isSet(help))
        return {CommandLine::Action::ShowHelp, false, parser.helpText()};
    if (parser.isSet(version))
        return {CommandLine::Action::ShowVersion, false,
                QStringLiteral("Quintor 3P %1\n").arg(QCoreApplication::applicationVersion())};
    return {CommandLine::Action::Start, parser.isSet(demo), {}};
}
