#pragma once

#include <QtGlobal>

#include <optional>

namespace zelmar {

class CardTest;
class Progress;
class RecordFile;
struct TAnketa;

// One search step over a card file: the first card that passes, going up from record `from`
// (findForward) or down from it (findBackward). Cards are read in blocks that grow from a few
// records, so a near find costs little and a long way costs one sequential read; no card is
// decoded. The found card is copied into `found`; progress, if given, follows the way.
std::optional<qint64> findForward(const RecordFile& file, qint64 from, const CardTest& test,
                                  TAnketa& found, Progress* progress = nullptr);
std::optional<qint64> findBackward(const RecordFile& file, qint64 from, const CardTest& test,
                                   TAnketa& found, Progress* progress = nullptr);

} // namespace zelmar
