#pragma once

#include "core/reports/Statistics.h"

#include <QString>

#include <optional>

namespace zelmar::admin {

enum class Command { Check, Backup, Restore, Report, Export, Stat };
// The card file a report or an export reads.
enum class Source { Working, Main, Archive };

struct Options {
    Command command = Command::Check;
    QString folder;               // -d; empty: as the program chooses
    std::optional<Source> source; // --source
    QString argument;             // the archive of restore, the prefix of report
    QString pdf;                  // --pdf, absolute
    QString csv;                  // --csv, absolute
    // stat: the period (whole days), the grouping, the archive too.
    StatQuery stat;
};

// What the command line asks for.
struct CommandLine {
    enum class What { Run, Help, Version, BadUsage };
    What what = What::BadUsage;
    Options options;
    QString error; // for BadUsage, in Russian
};

// GNU-style: options before, between or after the command and its argument, "--opt=value"
// or "--opt value", "--" ends the options.
CommandLine parseCommandLine(int argc, char** argv);

QString helpText();

} // namespace zelmar::admin
