#pragma once

#include <QString>

namespace zelmar {

struct AppState;
class Paths;

// Cards moved from the main card file to the archive (Delete -> "В Архив", compaction ->
// "В Архив") are appended to the archive first, and leave the main card file when its rebuilt
// version takes its place. Between the two a crash would leave them in both files, so the move
// is recorded before the archive grows: how many cards the archive held, and which main card
// file (its inode) the cards leave. The next start finishes the move (the new main card file is
// in place: the archive keeps the cards) or undoes it (the old one still is: the archive is cut
// back), so that a card is in exactly one of the two files after any crash.
class ArchiveMove {
public:
    // Records the move; the archive must be open.
    explicit ArchiveMove(AppState& s);
    // The move is over (done, or undone by the command itself): the record goes.
    void finished();

private:
    QString m_record;
};

// At start, before the card files are opened: settles a move a crash interrupted. Returns what
// was done, for the clerk; empty when there was nothing to settle.
QString settleInterruptedMove(const Paths& paths);

// The record's file, relative to the installation folder's Temp.
QString archiveMoveRecord(const Paths& paths);

} // namespace zelmar
