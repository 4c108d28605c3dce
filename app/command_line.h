#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: a document to open (the first argument
// that is not a switch) and whether the splash window is shown (unless
// "-nosplash" is given, case ignored). Switches start with '-', as paths
// may start with '/'; other switches are ignored.
struct CommandLineInfo {
    QString fileName;
    bool showSplash = true;

    // The arguments after the program's name.
    static CommandLineInfo Parse(const QStringList& arguments);
};
