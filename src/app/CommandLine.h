#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Everything but a plain start (with or without
// the demonstration folders) ends the program before any window exists.
struct CommandLine
{
    enum class Action
    {
        Start,
        ShowHelp,    // `text` goes to standard output, exit status 0
        ShowVersion, // likewise
        Refuse,      // `text` goes to standard error, exit status 2
    };

    Action action = Action::Start;
    bool demo = false;
    QString text;

    static constexpr int kUsageErrorStatus = 2;
};

// Reads the program's arguments (the first being the program itself). Needs a
// core application object, so that the parser's own phrases come out in German
// once the translations are installed.
CommandLine ParseCommandLine(const QStringList& arguments);
