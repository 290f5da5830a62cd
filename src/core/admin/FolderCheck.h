#pragma once

#include <QString>

#include <vector>

namespace zelmar {

class Paths;

// One line of the check of an installation folder: the file it concerns (relative to the
// folder, as spelled there) and what was found. A fault is something the office must mend.
struct CheckLine {
    bool fault = false;
    QString file;
    QString text;
};

// Reads the register's files of an installation folder and reports, changing nothing:
// card files cut off within a card, keys used twice (main card file and archive), register
// numbers used twice in one year (main card file), dates outside the calendar, users, list,
// officials, template and settings files that cannot be read, and pictures, documents and
// reply letters whose key no card has.
std::vector<CheckLine> checkInstallFolder(const Paths& paths);

} // namespace zelmar
