#include "support/ByteVector.h"

namespace zelmar::test {

QByteArray handWritten(int size, char filler, std::initializer_list<Patch> patches) {
    QByteArray bytes(size, filler);
    for (const Patch& patch : patches) {
        const QByteArray data = QByteArray::fromHex(QByteArray(patch.hex).replace(' ', ""));
        bytes.replace(patch.offset, data.size(), data);
    }
    return bytes;
}

} // namespace zelmar::test
