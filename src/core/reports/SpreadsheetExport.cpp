#include "core/reports/SpreadsheetExport.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"
#include "core/platform/Progress.h"
#include "core/reports/PrintSelection.h"
#include "core/reports/SpreadsheetText.h"
#include "core/store/Cp1251.h"
#include "core/store/FileSync.h"
#include "core/store/SafeFile.h"
#include "core/texts/DayNumber.h"

#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace zelmar {

namespace {

constexpr qint64 kBlock = 512;
// A line of 18 cells, each of at most 50 characters doubled by quoting, fits many times.
constexpr size_t kMaxLine = 4096;
constexpr size_t kFlushSize = 1 << 18;

// "Нет" and "Есть" in Windows-1251.
constexpr char kNo[] = "\xCD\xE5\xF2";
constexpr char kYes[] = "\xC5\xF1\xF2\xFC";

// dd.mm.yy of each date (the empty one too), remembered: a working card file holds few
// distinct dates, and the calendar is worked out once for each.
class DateTexts {
public:
    std::string_view text(double day) {
        const auto bits = std::bit_cast<std::uint64_t>(day);
        Entry& entry = m_entries[(bits * 0x9E3779B97F4A7C15ull) >> (64 - kBits)];
        if (!entry.used || entry.bits != bits) {
            entry = {bits, {}, 0, true};
            const QDate date = dateOf(day);
            if (date.isValid()) {
                int y = 0, m = 0, d = 0;
                date.getDate(&y, &m, &d);
                const int yy = ((y % 100) + 100) % 100;
                entry.chars = {char('0' + d / 10),  char('0' + d % 10), '.',
                               char('0' + m / 10),  char('0' + m % 10), '.',
                               char('0' + yy / 10), char('0' + yy % 10)};
                entry.size = 8;
            }
        }
        return {entry.chars.data(), entry.size};
    }

private:
    static constexpr int kBits = 10;
    struct Entry {
        std::uint64_t bits;
        std::array<char, 8> chars;
        size_t size;
        bool used;
    };
    std::array<Entry, size_t(1) << kBits> m_entries{};
};

// The bytes that make a cell need quotes.
constexpr std::array<bool, 256> kQuoted = [] {
    std::array<bool, 256> quoted{};
    for (const unsigned char c : {';', '"', '\r', '\n'})
        quoted[c] = true;
    return quoted;
}();

char* put(char* out, std::string_view cell) {
    bool quote = false;
    for (const char c : cell)
        quote |= kQuoted[static_cast<unsigned char>(c)];
    if (!quote) {
        std::memcpy(out, cell.data(), cell.size());
        out += cell.size();
        *out++ = ';';
        return out;
    }
    *out++ = '"';
    for (const char c : cell) {
        if (c == '"')
            *out++ = '"';
        *out++ = c;
    }
    *out++ = '"';
    *out++ = ';';
    return out;
}

template <int N>
std::string_view stored(const ShortString<N>& text) {
    return {text.chars, static_cast<size_t>(text.size())};
}

// The checked columns, in list order.
struct Checked {
    explicit Checked(const ExportColumns& columns) {
        for (int column = 0; column < PrintGridModel::ColumnCount; ++column) {
            if (columns[size_t(column)])
                list[size_t(count++)] = column;
        }
    }
    std::array<int, PrintGridModel::ColumnCount> list{};
    int count = 0;
};

// Writes the line of a card (without its line end); returns where it ends.
char* writeLine(char* out, const TAnketa& c, const Checked& columns, DateTexts& dates) {
    using G = PrintGridModel;
    for (int i = 0; i < columns.count; ++i) {
        switch (columns.list[size_t(i)]) {
        case G::Ud:
            out = put(out, stored(c.Otmetka));
            break;
        case G::Kniga:
            out = put(out, c.PrintNet == 0 ? std::string_view(kNo) : std::string_view(kYes));
            break;
        case G::GurN:
            out = std::to_chars(out, out + 16, c.GurN).ptr;
            *out++ = ';';
            break;
        case G::Date:
            out = put(out, dates.text(c.DateOtkaza));
            break;
        case G::Kus:
            out = put(out, stored(c.KUPN));
            break;
        case G::KusDate:
            out = put(out, dates.text(c.KUPData));
            break;
        case G::DeloNom:
            out = put(out, stored(c.DeloNom));
            break;
        case G::DeloDat:
            out = put(out, dates.text(c.DeloDat));
            break;
        case G::Zayavitel:
            out = put(out, stored(c.FIOAvtor));
            break;
        case G::NazwDok:
            out = put(out, stored(c.NazwDok));
            break;
        case G::Adres:
            out = put(out, stored(c.Adres));
            break;
        case G::IshNom:
            out = put(out, stored(c.NeNashIshNom));
            break;
        case G::IshDat:
            out = put(out, dates.text(c.NeNashaIshDat));
            break;
        case G::Telefon:
            out = put(out, stored(c.Telefon));
            break;
        case G::WhodNom:
            out = put(out, stored(c.NashWxodNom));
            break;
        case G::WhodDat:
            out = put(out, dates.text(c.NashaWxodDat));
            break;
        case G::IshNash:
            out = put(out, stored(c.NashIshNom));
            break;
        case G::IshNashDat:
            out = put(out, dates.text(c.NasheIshData));
            break;
        default:
            break;
        }
    }
    return out;
}

// The export file, written beside the old one and renamed over it: whole or not there, also
// for a spreadsheet that still has the previous one open. It is made for the spreadsheet to
// read at once and made anew on every export, so its contents are not synced to the disk.
class ScratchFile {
public:
    explicit ScratchFile(const QString& path)
        : m_replacement(path) {
        m_fd = ::open(m_replacement.tempPath().toLocal8Bit().constData(),
                      O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_fd < 0)
            IoError::throwErrno(errno, path);
    }
    ~ScratchFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(const char* bytes, size_t size) {
        writeAll(m_fd, bytes, static_cast<qint64>(size), m_replacement.target());
    }
    void commit() {
        if (::close(std::exchange(m_fd, -1)) != 0)
            IoError::throwErrno(errno, m_replacement.target());
        m_replacement.commit();
    }

private:
    Replacement m_replacement;
    int m_fd = -1;
};

} // namespace

QByteArray StrTextFil(const TAnketa& card, const ExportColumns& columns) {
    DateTexts dates;
    char line[kMaxLine];
    return QByteArray(line, writeLine(line, card, Checked(columns), dates) - line);
}

int writeWorkingFileExport(AppState& s, const ExportColumns& columns, const QString& path,
                           TAnketa& buffer) {
    ProgressScope scope(*s.progress);
    ScratchFile file(path);
    std::vector<char> out(kFlushSize + kMaxLine);
    char* at = out.data();
    const Checked checked(columns);
    for (int i = 0; i < checked.count; ++i) {
        const QByteArray heading = toCp1251(PrintGridModel::headings().at(checked.list[size_t(i)]));
        at = put(at, {heading.constData(), size_t(heading.size())});
    }
    *at++ = '\r';
    *at++ = '\n';

    DateTexts dates;
    const qint64 total = s.working.size();
    std::vector<TAnketa> block(static_cast<size_t>(kBlock));
    for (qint64 done = 0; done < total;) {
        const qint64 count = std::min(kBlock, total - done);
        s.working.readRecords(done, count, block.data());
        for (qint64 i = 0; i < count; ++i) {
            at = writeLine(at, block[size_t(i)], checked, dates);
            *at++ = '\r';
            *at++ = '\n';
            if (size_t(at - out.data()) >= kFlushSize) {
                file.write(out.data(), size_t(at - out.data()));
                at = out.data();
            }
        }
        buffer = block[size_t(count - 1)];
        done += count;
        s.progress->report(done, total);
    }
    file.write(out.data(), size_t(at - out.data()));
    file.commit();
    s.working.seek(total);
    return checked.count;
}

QList<ImportColumn> exportColumnKinds(const ExportColumns& columns) {
    using G = PrintGridModel;
    QList<ImportColumn> kinds;
    for (int column = 0; column < G::ColumnCount; ++column) {
        if (!columns[size_t(column)])
            continue;
        switch (column) {
        case G::GurN:
            kinds.push_back(ImportColumn::Standard);
            break;
        case G::Date:
        case G::KusDate:
        case G::DeloDat:
        case G::IshDat:
        case G::WhodDat:
        case G::IshNashDat:
            kinds.push_back(ImportColumn::DayMonthYear);
            break;
        default:
            kinds.push_back(ImportColumn::Text);
            break;
        }
    }
    // With no column checked the lines are empty: one column of nothing.
    if (kinds.isEmpty())
        kinds.append(ImportColumn::Text);
    return kinds;
}

void ExcelTClick(AppState& s, PrintSelection& p) {
    const QString path = s.local(ExportFile);
    writeWorkingFileExport(s, p.StolbExcel, path, p.card);
    openSemicolonText(s, path, exportColumnKinds(p.StolbExcel));
}

} // namespace zelmar
