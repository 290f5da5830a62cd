#pragma once

#include <QtGlobal>

#include <vector>

namespace zelmar {

struct AppState;
class RecordFile;

// The keys of a card file that has no index of its own (the archive), sorted, read in one pass
// when first asked and kept up with the cards appended since; a file opened anew is read again.
class FileKeys {
public:
    explicit FileKeys(const RecordFile& file)
        : m_file(file) {}
    bool contains(int key);

private:
    void refresh();

    const RecordFile& m_file;
    std::vector<int> m_sorted;
    quint64 m_opening = 0;
    qint64 m_records = -1;
};

// The key of a card being made: the clock's key, or, when the main card file or the archive
// already holds that one (keys renumbered by a compaction lie in the clock's future), the next
// key neither holds, so that a new card never takes the place of an existing one at its Save.
int newCardKey(AppState& s);

} // namespace zelmar
