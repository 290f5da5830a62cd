#include "core/reports/SpreadsheetExport.h"

#include "core/documents/AtomicFile.h"
#include "core/editor/AppState.h"
#include "core/platform/Progress.h"
#include "core/reports/PrintSelection.h"
#include "core/reports/SpreadsheetText.h"
#include "core/store/Cp1251.h"
#include "core/texts/DayNumber.h"

#include <vector>

namespace zelmar {

namespace {

constexpr qint64 kBlock = 512;
constexpr qsizetype kFlushSize = 1 << 18;

bool isDateColumn(int column) {
    return column == PrintGridModel::Date || column == PrintGridModel::KusDate ||
           column == PrintGridModel::DeloDat || column == PrintGridModel::IshDat ||
           column == PrintGridModel::WhodDat || column == PrintGridModel::IshNashDat;
}

double dateOfColumn(const TAnketa& c, int column) {
    switch (column) {
    case PrintGridModel::Date:
        return c.DateOtkaza;
    case PrintGridModel::KusDate:
        return c.KUPData;
    case PrintGridModel::DeloDat:
        return c.DeloDat;
    case PrintGridModel::IshDat:
        return c.NeNashaIshDat;
    case PrintGridModel::WhodDat:
        return c.NashaWxodDat;
    default:
        return c.NasheIshData;
    }
}

// dd.mm.yy of every date (the empty one too), empty outside the calendar.
int shortDate(double day, char* out) {
    const QDate date = dateOf(day);
    if (!date.isValid())
        return 0;
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    const int yy = ((y % 100) + 100) % 100;
    const char text[8] = {char('0' + d / 10),  char('0' + d % 10), '.',
                          char('0' + m / 10),  char('0' + m % 10), '.',
                          char('0' + yy / 10), char('0' + yy % 10)};
    std::memcpy(out, text, 8);
    return 8;
}

void appendLine(QByteArray& out, const TAnketa& card, const ExportColumns& columns) {
    char cell[PrintGridModel::kCellBytes];
    for (int column = 0; column < PrintGridModel::ColumnCount; ++column) {
        if (!columns[size_t(column)])
            continue;
        const int size = isDateColumn(column) ? shortDate(dateOfColumn(card, column), cell)
                                              : PrintGridModel::cellBytes(card, column, cell);
        appendCell(out, QByteArrayView(cell, size));
    }
}

} // namespace

QByteArray StrTextFil(const TAnketa& card, const ExportColumns& columns) {
    QByteArray line;
    appendLine(line, card, columns);
    return line;
}

int writeWorkingFileExport(AppState& s, const ExportColumns& columns, const QString& path,
                           TAnketa& buffer) {
    ProgressScope scope(*s.progress);
    AtomicFile file(path);
    QByteArray out;
    out.reserve(kFlushSize + 4096);
    int checked = 0;
    for (int column = 0; column < PrintGridModel::ColumnCount; ++column) {
        if (columns[size_t(column)]) {
            appendCell(out, toCp1251(PrintGridModel::headings().at(column)));
            ++checked;
        }
    }
    out.append("\r\n");

    const qint64 total = s.working.size();
    std::vector<TAnketa> block(static_cast<size_t>(kBlock));
    for (qint64 done = 0; done < total;) {
        const qint64 count = std::min(kBlock, total - done);
        s.working.readRecords(done, count, block.data());
        for (qint64 i = 0; i < count; ++i) {
            appendLine(out, block[size_t(i)], columns);
            out.append("\r\n");
        }
        if (out.size() >= kFlushSize) {
            writeOrThrow(file, out, path);
            out.clear();
        }
        buffer = block[size_t(count - 1)];
        done += count;
        s.progress->report(done, total);
    }
    writeOrThrow(file, out, path);
    file.commit();
    s.working.seek(total);
    return checked;
}

void ExcelTClick(AppState& s, PrintSelection& p) {
    const QString path = s.local(ExportFile);
    const int columns = writeWorkingFileExport(s, p.StolbExcel, path, p.card);
    openSemicolonText(s, path, columns);
}

} // namespace zelmar
