#include "command_line.h"

CommandLineInfo CommandLineInfo::Parse(const QStringList& arguments) {
    CommandLineInfo info;
    for (const QString& argument : arguments) {
        bool isSwitch = argument.size() > 1 && argument.startsWith('-');
        if (isSwitch) {
            if (argument.mid(1).compare("nosplash", Qt::CaseInsensitive) == 0) info.showSplash = false;
        } else if (info.fileName.isEmpty()) {
            info.fileName = argument;
        }
    }
    return info;
}
