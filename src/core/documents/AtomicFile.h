#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace zelmar {

// A file written whole or not at all. The bytes go to a temporary file beside the target;
// commit() syncs it and renames it over the target. Dropped without commit(), the temporary
// file goes and the target keeps what it held, so a reader never meets a half-written file.
class AtomicFile : public QIODevice {
public:
    // Creates the temporary file; throws IoError when the folder refuses it.
    explicit AtomicFile(const QString& target);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    const QString& target() const { return m_target; }
    // The errno of the first failed write (0 when none).
    int failure() const { return m_errno; }
    // Writes what is buffered, syncs, and puts the file in place of the target; throws IoError.
    // Without `replace` an existing target stays and the commit fails.
    void commit(bool replace = true);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool flushBuffer();

    QString m_target;
    QString m_temp;
    int m_fd = -1;
    int m_errno = 0;
    bool m_committed = false;
    QByteArray m_buffer;
};

// Syncs a finished file and gives it the name `target`, which must not exist yet (throws
// IoError otherwise); the finished file's own name goes.
void publishNew(const QString& finished, const QString& target);

// Writes all bytes to a device or throws the IoError of its failure (for a file of the
// register: its errno; for any other device: "Disk full").
void writeOrThrow(QIODevice& device, QByteArrayView bytes, const QString& path);

} // namespace zelmar
