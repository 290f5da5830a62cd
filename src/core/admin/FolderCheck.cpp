#include "core/admin/FolderCheck.h"

#include "core/access/Settings.h"
#include "core/access/Users.h"
#include "core/admin/CardFields.h"
#include "core/backup/Leftovers.h"
#include "core/backup/RegisterFiles.h"
#include "core/editor/MainCardFile.h"
#include "core/platform/Errors.h"
#include "core/reports/TShablonRec.h"
#include "core/store/DropDownLists.h"
#include "core/store/Officials.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"
#include "core/store/SafeFile.h"
#include "core/store/TAnketa.h"
#include "core/texts/DayNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <sys/stat.h>

namespace zelmar {

namespace {

// Findings of one kind listed for a file; the rest are counted.
constexpr int kListed = 20;

// A card of the main card file or the archive, as far as the check needs it.
struct CardPlace {
    std::int64_t value; // the key, or the register number and year
    std::int32_t file;  // index into the card files read
    std::int32_t record;
    std::int32_t gurN;
    double day;
};

// A row of findings of one kind, the first kListed of them listed.
class Listing {
public:
    Listing(std::vector<CheckLine>& lines, QString file, QString more)
        : m_lines(lines)
        , m_file(std::move(file))
        , m_more(std::move(more)) {}
    void add(const QString& text) {
        if (++m_count <= kListed)
            m_lines.push_back({true, m_file, text});
    }
    ~Listing() {
        if (m_count > kListed)
            m_lines.push_back({true, m_file, m_more.arg(m_count - kListed)});
    }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

private:
    std::vector<CheckLine>& m_lines;
    QString m_file;
    QString m_more;
    int m_count = 0;
};

class Checker {
public:
    explicit Checker(const Paths& paths)
        : m_paths(paths) {}

    std::vector<CheckLine> run();

private:
    QString shown(const QString& local) const {
        return QDir(m_paths.root()).relativeFilePath(local);
    }
    void note(const QString& file, const QString& text) { m_lines.push_back({false, file, text}); }
    void fault(const QString& file, const QString& text) { m_lines.push_back({true, file, text}); }

    // Opens a file of fixed records for reading; false when it is missing or unreadable (a
    // missing file is noted when `missing` says what that means).
    bool open(RecordFile& file, const QString& local, const QString& missing);
    // Reports the bytes behind the last whole record.
    void tornTail(const RecordFile& file, const QString& what);
    // Reads every card of a card file; false when it could not be read whole.
    bool readCards(const QString& registerPath, const QString& missing,
                   const std::function<void(qint64, const TAnketa&)>& visit);

    void cardFiles();
    void doubledKeys();
    void doubledNumbers();
    void users();
    void lists();
    void otherRecordFiles();
    void attachments();
    void rights();
    void interrupted();
    QString place(const CardPlace& card) const;

    const Paths& m_paths;
    std::vector<CheckLine> m_lines;
    QStringList m_cardFiles; // shown names, indexed by CardPlace::file
    std::vector<CardPlace> m_keys;
    std::vector<CardPlace> m_numbers;
    QSet<std::int32_t> m_knownKeys;
    bool m_allKeysRead = true;
};

bool Checker::open(RecordFile& file, const QString& local, const QString& missing) {
    if (!QFileInfo::exists(local)) {
        if (!missing.isEmpty())
            note(shown(local), missing);
        return false;
    }
    try {
        file.openForReading(local);
        return true;
    } catch (const std::exception& error) {
        fault(shown(local), QStringLiteral("не читается: ") + failureText(error));
        return false;
    }
}

void Checker::tornTail(const RecordFile& file, const QString& what) {
    const qint64 tail = file.tailBytes();
    if (tail == 0)
        return;
    const qint64 bytes = file.size() * file.recordSize() + tail;
    fault(shown(file.path()),
          QStringLiteral("размер %1 байт не кратен %2: %3 %4, после них обрывок записи в %5 байт")
              .arg(bytes)
              .arg(file.recordSize())
              .arg(what)
              .arg(file.size())
              .arg(tail));
}

bool Checker::readCards(const QString& registerPath, const QString& missing,
                        const std::function<void(qint64, const TAnketa&)>& visit) {
    const QString local = m_paths.local(registerPath);
    TypedFile<TAnketa> file;
    if (!open(file, local, missing))
        return !QFileInfo::exists(local);
    const QString name = shown(local);
    try {
        Listing outside(m_lines, name,
                        QStringLiteral("… и ещё карточек с датами вне календаря: %1"));
        file.forEach([&](qint64 record, const char* bytes) {
            TAnketa card;
            std::memcpy(&card, bytes, sizeof card);
            QStringList fields;
            for (const CardField& field : cardFields()) {
                const auto* date = std::get_if<double TAnketa::*>(&field.field);
                if (date && !isRepresentable(card.**date))
                    fields.append(QString::fromLatin1(field.name));
            }
            if (!fields.isEmpty())
                outside.add(QStringLiteral("карточка %1 (№ %2): дата вне календаря в %3")
                                .arg(record + 1)
                                .arg(card.GurN)
                                .arg(fields.join(QStringLiteral(", "))));
            visit(record, card);
        });
    } catch (const std::exception& error) {
        fault(name, QStringLiteral("не читается: ") + failureText(error));
        return false;
    }
    if (file.tailBytes() > 0)
        tornTail(file, QStringLiteral("целых карточек"));
    else
        note(name, QStringLiteral("карточек: %1").arg(file.size()));
    return true;
}

void Checker::cardFiles() {
    const struct {
        QStringView path;
        bool keyed; // its cards own their keys and the files named by them
    } files[] = {
        {files::MainCards, true}, {files::ArchiveCards, true}, {files::WorkingCards, false}};
    for (const auto& f : files) {
        const auto index = static_cast<std::int32_t>(m_cardFiles.size());
        m_cardFiles.append(shown(m_paths.local(f.path)));
        const bool main = f.path == files::MainCards;
        const bool read =
            readCards(f.path.toString(), QStringLiteral("нет файла"),
                      [&](qint64 record, const TAnketa& card) {
                          if (!f.keyed)
                              return;
                          const auto r = static_cast<std::int32_t>(record);
                          m_keys.push_back({card.Klu4Form1, index, r, card.GurN, card.DateOtkaza});
                          m_knownKeys.insert(card.Klu4Form1);
                          // A refusal date outside the calendar has no year.
                          if (main && yearOfDay(card.DateOtkaza) != 0)
                              m_numbers.push_back({MainCardFile::numberInYear(card), index, r,
                                                   card.GurN, card.DateOtkaza});
                      });
        if (f.keyed && !read)
            m_allKeysRead = false;
    }
}

QString Checker::place(const CardPlace& card) const {
    const QDate date = dateOf(card.day);
    return QStringLiteral("%1 карточка %2 (№ %3 от %4)")
        .arg(m_cardFiles.value(card.file))
        .arg(card.record + 1)
        .arg(card.gurN)
        .arg(date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("?"));
}

// Runs of equal values in places sorted by value, then file and record.
template <class Report>
void eachRun(std::vector<CardPlace>& places, Report&& report) {
    std::sort(places.begin(), places.end(), [](const CardPlace& a, const CardPlace& b) {
        return std::tie(a.value, a.file, a.record) < std::tie(b.value, b.file, b.record);
    });
    for (size_t i = 0; i < places.size();) {
        size_t j = i + 1;
        while (j < places.size() && places[j].value == places[i].value)
            ++j;
        if (j - i > 1)
            report(places.data() + i, j - i);
        i = j;
    }
}

void Checker::doubledKeys() {
    Listing listing(m_lines, m_cardFiles.value(0),
                    QStringLiteral("… и ещё ключей, которые носят несколько карточек: %1"));
    // A card is in one of the two files: one in both was moved to the archive halfway.
    Listing both(m_lines, m_cardFiles.value(0) + QStringLiteral(" и ") + m_cardFiles.value(1),
                 QStringLiteral("… и ещё ключей и в главной картотеке, и в архиве: %1"));
    eachRun(m_keys, [&](const CardPlace* run, size_t count) {
        QStringList places;
        for (size_t i = 0; i < count && i < kListed; ++i)
            places.append(place(run[i]));
        const bool inBoth =
            std::any_of(run, run + count, [](const CardPlace& p) { return p.file == 0; }) &&
            std::any_of(run, run + count, [](const CardPlace& p) { return p.file == 1; });
        (inBoth ? both : listing)
            .add(QStringLiteral("ключ %1 у %2 карточек%3: %4")
                     .arg(run->value)
                     .arg(count)
                     .arg(inBoth ? QStringLiteral(" и в главной картотеке, и в архиве") : QString())
                     .arg(places.join(QStringLiteral(", "))));
    });
    m_keys = {};
}

// What a crash interrupted, as the next start would settle it.
void Checker::interrupted() {
    for (const QString& line : interruptedWork(m_paths.root())) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        fault(line.left(colon), line.mid(colon + 2));
    }
}

void Checker::doubledNumbers() {
    Listing listing(m_lines, m_cardFiles.value(0),
                    QStringLiteral("… и ещё номеров, повторённых в одном году: %1"));
    eachRun(m_numbers, [&](const CardPlace* run, size_t count) {
        QStringList records;
        for (size_t i = 0; i < count && i < kListed; ++i)
            records.append(QString::number(run[i].record + 1));
        listing.add(QStringLiteral("№ %1 за %2 год у %3 карточек: %4")
                        .arg(run->gurN)
                        .arg(yearOfDay(run->day))
                        .arg(count)
                        .arg(records.join(QStringLiteral(", "))));
    });
    m_numbers = {};
}

void Checker::users() {
    const QString local = m_paths.local(files::Users);
    TypedFile<TDostupRec> file;
    if (!open(file, local,
              QStringLiteral("нет файла: программа создаст пользователей по умолчанию")))
        return;
    const QString name = shown(local);
    try {
        const qint64 records = file.size();
        if (records == 0 && file.tailBytes() == 0)
            fault(name, QStringLiteral("нет ни одной записи: войти в программу никто не сможет"));
        if (records > Access::Rows)
            fault(name, QStringLiteral("записей %1, программа читает только первые %2")
                            .arg(records)
                            .arg(Access::Rows));
        for (qint64 i = 0; i < std::min<qint64>(records, Access::Rows); ++i) {
            if (!readableUserRecord(file.readAt(i)))
                fault(name, QStringLiteral("запись %1 повреждена").arg(i + 1));
        }
        tornTail(file, QStringLiteral("целых записей"));
        if (records > 0 && file.tailBytes() == 0)
            note(name, QStringLiteral("пользователей: %1").arg(records));
    } catch (const std::exception& error) {
        fault(name, QStringLiteral("не читается: ") + failureText(error));
    }
}

void Checker::lists() {
    QSet<QString> seen;
    int read = 0;
    for (int i = 0; i < kListCount; ++i) {
        // The lists of officials' names have no file of their own.
        const std::optional<QStringView> file = listFile(static_cast<ListId>(i));
        if (!file)
            continue;
        const QString local = m_paths.local(*file);
        if (seen.contains(local))
            continue;
        seen.insert(local);
        if (!QFileInfo::exists(local))
            continue;
        try {
            readTextLines(local);
            ++read;
        } catch (const std::exception& error) {
            fault(shown(local), QStringLiteral("не читается: ") + failureText(error));
        }
    }
    note(shown(m_paths.local(u"Baza")),
         QStringLiteral("справочников прочитано: %1 из %2").arg(read).arg(seen.size()));

    const QString settings = m_paths.local(files::Settings);
    if (!QFileInfo::exists(settings)) {
        note(shown(settings), QStringLiteral("нет файла: программа создаст его"));
        return;
    }
    try {
        readTextLines(settings);
    } catch (const std::exception& error) {
        fault(shown(settings), QStringLiteral("не читается: ") + failureText(error));
    }
}

void Checker::otherRecordFiles() {
    const struct {
        QStringView path;
        int size;
    } files[] = {{files::Officials, TWinesRec::Size}, {files::Templates, TShablonRec::Size}};
    for (const auto& f : files) {
        RecordFile file(f.size);
        if (!open(file, m_paths.local(f.path), QString()))
            continue;
        tornTail(file, QStringLiteral("целых записей"));
    }
}

void Checker::attachments() {
    if (!m_allKeysRead) {
        note(QString(), QStringLiteral("файлы карточек не проверены: картотеки прочитаны не все"));
        return;
    }
    const struct {
        QStringView folder;
        QString suffix;
        QString what;
    } kinds[] = {
        {files::ReplyFolder, QStringLiteral("doc"), QStringLiteral("ответ")},
        {files::PictureFolder, QStringLiteral("gif"), QStringLiteral("рисунок")},
        {files::DocumentFolder, QStringLiteral("doc"), QStringLiteral("документ")},
    };
    for (const auto& kind : kinds) {
        const QString folder = m_paths.local(kind.folder);
        Listing listing(m_lines, shown(folder), QStringLiteral("… и ещё файлов без карточки: %1"));
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
        for (const QFileInfo& entry : entries) {
            if (entry.suffix().compare(kind.suffix, Qt::CaseInsensitive) != 0)
                continue;
            // Files of cards are named by the key; blanks and other documents are not.
            bool isKey = false;
            const int key = entry.completeBaseName().toInt(&isKey);
            if (!isKey || entry.completeBaseName() != QString::number(key))
                continue;
            if (!m_knownKeys.contains(key))
                listing.add(QStringLiteral("%1 %2: нет карточки с ключом %3")
                                .arg(kind.what, entry.fileName())
                                .arg(key));
        }
    }
}

// The register holds every password and the applicants' names, addresses and phones: the
// folder, Baza, the users file and the backups are for the office's own accounts only.
void Checker::rights() {
    QString stored = defaultBackupFolder();
    try {
        const QStringList settings = readTextLines(m_paths.local(files::Settings));
        if (settings.size() > 1 && !settings.at(1).trimmed().isEmpty())
            stored = settings.at(1);
    } catch (const std::exception&) {
        // An unreadable settings file is reported above; the default folder is looked at.
    }
    const QString backups = m_paths.fromStored(stored);
    const auto openToOthers = [](const QString& local) -> std::optional<mode_t> {
        struct stat st {};
        if (::stat(QFile::encodeName(local).constData(), &st) != 0 || (st.st_mode & S_IRWXO) == 0)
            return std::nullopt;
        return st.st_mode & 07777;
    };
    const auto warn = [this](const QString& local, mode_t mode) {
        fault(shown(local),
              QStringLiteral("доступен другим пользователям компьютера (права %1): закройте "
                             "доступ командой chmod -R o-rwx")
                  .arg(mode, 4, 8, QLatin1Char('0')));
    };
    for (const QString& local :
         {m_paths.root(), m_paths.local(u"Baza"), m_paths.local(files::Users), backups}) {
        if (const auto mode = openToOthers(local))
            warn(local, *mode);
    }
    int open = 0;
    const QFileInfoList archives = QDir(backups).entryInfoList(
        {QStringLiteral("b*.zip"), QStringLiteral("B*.ZIP")}, QDir::Files, QDir::Name);
    for (const QFileInfo& archive : archives)
        open += openToOthers(archive.filePath()) ? 1 : 0;
    if (open > 0)
        fault(shown(backups),
              QStringLiteral("резервных копий, доступных другим пользователям компьютера: %1 "
                             "(chmod o-rwx)")
                  .arg(open));
}

std::vector<CheckLine> Checker::run() {
    cardFiles();
    doubledKeys();
    doubledNumbers();
    users();
    lists();
    otherRecordFiles();
    attachments();
    rights();
    interrupted();
    return std::move(m_lines);
}

} // namespace

std::vector<CheckLine> checkInstallFolder(const Paths& paths) {
    return Checker(paths).run();
}

} // namespace zelmar
