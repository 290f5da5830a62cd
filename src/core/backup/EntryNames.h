#pragma once

#include <QByteArray>
#include <QString>

namespace zelmar {

// The DOS code page of Russian Windows (CP866): byte 128 + i is kCp866High[i].
QString fromCp866(const QByteArray& bytes);

// The name of an archive entry. A name marked as UTF-8 is read so; a name without the mark is
// read as UTF-8 when its bytes are valid UTF-8 (archives made on Linux), else as the code page
// of the Windows program that made it: the DOS one (CP866) or the Windows one (CP1251),
// whichever reads as more Russian letters; the DOS one when both read alike.
QString decodeEntryName(const QByteArray& raw, bool markedUtf8);

// Why an entry of this name may not be unpacked into the base folder: an empty reason for a
// bare file name; a name with a folder part, an absolute path, "..", a drive letter or a
// control character gets a reason in Russian.
QString unsafeNameReason(const QString& name);

} // namespace zelmar
