#pragma once

#include <QString>

// The demonstration: a settings folder and a German and an English folder pair
// of its own, so that the program can be tried without a server and without
// touching the user's real settings.
//
//   <root>/einstellungen/          the settings folder (stands in for ~/.config)
//   <root>/deutsch/server, lokal   the German pair
//   <root>/englisch/server, lokal  the English pair
//
// Filled once, so that the first refresh shows a file that is identical, one
// newer on the server, one missing locally and one only local. A root that is
// already there is used as it is, so whatever the user did in it stays.
namespace demo {

// Below the user's data folder ($XDG_DATA_HOME, by default ~/.local/share).
QString DefaultRoot();
QString SettingsHome(const QString& root);
QString SettingsFile(const QString& root);

struct Preparation
{
    bool ok = false;
    QString message; // German, for the user, when not ok
};

Preparation Prepare(const QString& root);

} // namespace demo
