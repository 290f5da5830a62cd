#include "core/backup/ZipArchive.h"

#include "core/store/FileSync.h"

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

// The normal level of deflate.
constexpr zip_uint32_t kNormalLevel = 6;

// The library's reasons, in the clerk's words.
QString zipReason(int code) {
    switch (code) {
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("архив из нескольких томов не поддерживается");
    case ZIP_ER_RENAME:
        return QStringLiteral("не удалось переименовать временный файл архива");
    case ZIP_ER_CLOSE:
        return QStringLiteral("не удалось закрыть файл");
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        return QStringLiteral("ошибка позиционирования в файле");
    case ZIP_ER_READ:
        return QStringLiteral("ошибка чтения");
    case ZIP_ER_WRITE:
        return QStringLiteral("ошибка записи");
    case ZIP_ER_CRC:
        return QStringLiteral("контрольная сумма не сходится: данные повреждены");
    case ZIP_ER_NOENT:
        return QStringLiteral("файла нет");
    case ZIP_ER_EXISTS:
        return QStringLiteral("файл с таким именем уже есть");
    case ZIP_ER_OPEN:
        return QStringLiteral("файл не открывается");
    case ZIP_ER_TMPOPEN:
        return QStringLiteral("не удалось создать временный файл");
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        return QStringLiteral("сжатые данные повреждены");
    case ZIP_ER_MEMORY:
        return QStringLiteral("не хватает памяти");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("неизвестный способ сжатия");
    case ZIP_ER_EOF:
        return QStringLiteral("файл обрывается раньше конца");
    case ZIP_ER_NOZIP:
        return QStringLiteral("это не архив ZIP");
    case ZIP_ER_INCONS:
        return QStringLiteral("архив повреждён: его оглавление не сходится с содержимым");
    case ZIP_ER_REMOVE:
        return QStringLiteral("не удалось удалить файл");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("архив зашифрован");
    case ZIP_ER_RDONLY:
        return QStringLiteral("архив открыт только для чтения");
    case ZIP_ER_CANCELLED:
        return QStringLiteral("работа прервана");
    default:
        return QStringLiteral("ошибка библиотеки ZIP %1").arg(code);
    }
}

QString zipErrorText(const zip_error_t* error) {
    QString text = zipReason(zip_error_code_zip(error));
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0)
        text += QStringLiteral(" (") +
                ioReason(IoError(IoError::codeForErrno(zip_error_code_system(error)), {})) +
                QLatin1Char(')');
    return text;
}

QString openErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = zipErrorText(&error);
    zip_error_fini(&error);
    return text;
}

QString archiveErrorText(zip_t* archive) {
    return zipErrorText(zip_get_error(archive));
}

[[noreturn]] void throwArchiveError(zip_t* archive) {
    const QString text = archiveErrorText(archive);
    zip_discard(archive);
    throw ZipError(text);
}

// What the files of one archive share while it is written: the totals for the meters, and
// the first failure met reading a file (its standard text says more than the library's).
struct Packing {
    qint64 allDone = 0;
    qint64 allSize = 0;
    const ZipProgress* progress = nullptr;
    std::exception_ptr failure;
};

// One file, read by the library while it writes the archive.
struct FileSource {
    FileSource() { zip_error_init(&error); }
    ~FileSource() {
        if (fd >= 0)
            ::close(fd);
        zip_error_fini(&error);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    zip_int64_t fail(int code, int err) {
        zip_error_set(&error, code, err);
        if (!packing->failure)
            packing->failure = std::make_exception_ptr(IoError(IoError::codeForErrno(err), path));
        return -1;
    }

    QString path;
    qint64 size = 0;
    time_t mtime = 0;
    Packing* packing = nullptr;
    int fd = -1;
    qint64 done = 0;
    zip_error_t error;
};

zip_int64_t readFileSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& source = *static_cast<FileSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source.fd = ::open(source.path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        if (source.fd < 0)
            return source.fail(ZIP_ER_OPEN, errno);
        ::posix_fadvise(source.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        source.done = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        ssize_t n = 0;
        do {
            n = ::read(source.fd, data, length);
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return source.fail(ZIP_ER_READ, errno);
        source.done += n;
        Packing& packing = *source.packing;
        packing.allDone += n;
        if (packing.progress)
            (*packing.progress)(std::min(source.done, source.size), source.size,
                                std::min(packing.allDone, packing.allSize), packing.allSize);
        return n;
    }
    case ZIP_SOURCE_CLOSE:
        if (source.fd >= 0)
            ::close(source.fd);
        source.fd = -1;
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = static_cast<zip_uint64_t>(source.size);
        st->mtime = source.mtime;
        st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(*st);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source.error, data, length);
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return ZIP_SOURCE_SUPPORTS_READABLE;
    default:
        zip_error_set(&source.error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

// Deflate makes data that is packed already (pictures, archives) a little larger; such entries
// are stored instead.
void storeWhereSmaller(const QString& path) {
    int code = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), 0, &code);
    if (!archive)
        throw ZipError(openErrorText(code));
    bool changed = false;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0)
            throwArchiveError(archive);
        if (st.comp_method != ZIP_CM_STORE && st.comp_size > st.size) {
            if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0) !=
                0)
                throwArchiveError(archive);
            changed = true;
        }
    }
    if (!changed) {
        zip_discard(archive);
        return;
    }
    if (zip_close(archive) != 0)
        throwArchiveError(archive);
}

} // namespace

void writeZip(const QString& path, const std::vector<ZipInput>& files,
              const ZipProgress& progress) {
    // The library makes no file at all for an archive without entries.
    if (files.empty())
        throw ZipError(QStringLiteral("Нет файлов для архива"));
    Packing packing;
    packing.progress = progress ? &progress : nullptr;
    std::vector<std::unique_ptr<FileSource>> sources;
    for (const ZipInput& input : files) {
        struct stat st {};
        if (::stat(input.path.toLocal8Bit().constData(), &st) != 0)
            IoError::throwErrno(errno, input.path);
        auto source = std::make_unique<FileSource>();
        source->path = input.path;
        source->size = st.st_size;
        source->mtime = st.st_mtime;
        source->packing = &packing;
        packing.allSize += st.st_size;
        sources.push_back(std::move(source));
    }

    int code = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw ZipError(openErrorText(code));
    for (size_t i = 0; i < files.size(); ++i) {
        zip_source_t* data = zip_source_function(archive, readFileSource, sources[i].get());
        if (!data)
            throwArchiveError(archive);
        const zip_int64_t index =
            zip_file_add(archive, files[i].name.toUtf8().constData(), data, ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(data);
            throwArchiveError(archive);
        }
        // Deflate by name: the library's default method would pack at the highest level.
        if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                     kNormalLevel) != 0)
            throwArchiveError(archive);
    }
    if (zip_close(archive) != 0) {
        const QString text = archiveErrorText(archive);
        zip_discard(archive);
        ::unlink(path.toLocal8Bit().constData());
        if (packing.failure)
            std::rethrow_exception(packing.failure);
        throw ZipError(text);
    }
    try {
        storeWhereSmaller(path);
    } catch (...) {
        ::unlink(path.toLocal8Bit().constData());
        throw;
    }
}

ZipReader::ZipReader(const QString& path)
    : m_path(path) {
    int code = 0;
    m_zip = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!m_zip)
        throw ZipError(openErrorText(code));
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    m_entries.reserve(static_cast<size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        Entry entry;
        entry.index = i;
        const char* raw = zip_get_name(m_zip, index, ZIP_FL_ENC_RAW);
        if (!raw)
            throw ZipError(archiveErrorText(m_zip));
        entry.rawName = QByteArray(raw);
        // Read strictly, a name without the UTF-8 mark comes back converted from the DOS code
        // page, so it differs from its bytes wherever it has letters beyond ASCII.
        const char* strict = zip_get_name(m_zip, index, ZIP_FL_ENC_STRICT);
        entry.utf8 = strict && entry.rawName == QByteArray(strict);

        zip_stat_t st;
        if (zip_stat_index(m_zip, index, 0, &st) != 0)
            throw ZipError(archiveErrorText(m_zip));
        // A size beyond what a file can have is an archive made to mislead the sums of sizes.
        if ((st.valid & ZIP_STAT_SIZE) &&
            st.size > static_cast<zip_uint64_t>(std::numeric_limits<qint64>::max()))
            throw ZipError(zipReason(ZIP_ER_INCONS));
        entry.size = (st.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(st.size) : 0;
        entry.encrypted =
            (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;

        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (zip_file_get_external_attributes(m_zip, index, 0, &system, &attributes) == 0) {
            const auto mode = static_cast<mode_t>(attributes >> 16);
            if (system == ZIP_OPSYS_UNIX) {
                entry.link = S_ISLNK(mode);
                entry.folder = S_ISDIR(mode);
            }
            // The DOS folder attribute.
            if (attributes & 0x10)
                entry.folder = true;
        }
        if (entry.rawName.endsWith('/') || entry.rawName.endsWith('\\'))
            entry.folder = true;
        m_entries.push_back(entry);
    }
}

ZipReader::~ZipReader() {
    if (m_zip)
        zip_discard(m_zip);
}

void ZipReader::extract(const Entry& entry, const QString& to,
                        const std::function<void(qint64 done)>& progress) {
    zip_file_t* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(entry.index), 0);
    if (!file)
        throw ZipError(archiveErrorText(m_zip));
    const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closing(file, zip_fclose);
    const int fd =
        ::open(to.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        IoError::throwErrno(errno, to);
    const auto closeFd = [](const int* f) { ::close(*f); };
    const std::unique_ptr<const int, decltype(closeFd)> closingFd(&fd, closeFd);

    std::vector<char> buffer(1 << 20);
    qint64 done = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n < 0)
            throw ZipError(zipErrorText(zip_file_get_error(file)));
        if (n == 0)
            break;
        // Never more than the archive declares: the free space was measured by it.
        if (done + n > entry.size)
            throw ZipError(zipReason(ZIP_ER_INCONS));
        writeAll(fd, buffer.data(), n, to);
        done += n;
        if (progress)
            progress(done);
    }
    if (done != entry.size)
        throw ZipError(zipReason(ZIP_ER_INCONS));
    if (::fdatasync(fd) != 0)
        IoError::throwErrno(errno, to);
}

} // namespace zelmar
