#include "admin/StatCommand.h"

#include "admin/Commands.h"
#include "admin/Console.h"
#include "core/admin/CardCsv.h"
#include "core/documents/AtomicFile.h"
#include "core/editor/AppState.h"
#include "core/reports/Statistics.h"

#include <algorithm>
#include <vector>

namespace zelmar::admin {

QString statisticsConsoleText(const StatTable& table) {
    const QStringList& headings = StatTable::headings();
    std::vector<qsizetype> widths;
    for (int column = 0; column < StatTable::ColumnCount; ++column) {
        qsizetype width = headings.at(column).size();
        for (qsizetype row = 0; row < table.shownRows(); ++row)
            width = std::max(width, table.cell(row, column).size());
        widths.push_back(width);
    }
    const auto line = [&](const std::function<QString(int)>& cell) {
        QString text;
        for (int column = 0; column < StatTable::ColumnCount; ++column) {
            const auto width = static_cast<int>(widths[static_cast<size_t>(column)]);
            if (column > 0)
                text += QStringLiteral("  ");
            text += column == StatTable::Group ? cell(column).leftJustified(width)
                                               : cell(column).rightJustified(width);
        }
        return text.trimmed() + QLatin1Char('\n');
    };
    const StatQuery& q = table.query;
    QString text = QStringLiteral("Статистика отказных материалов %1, %2, %3\n\n")
                       .arg(periodText(q), statGroupingNames().value(static_cast<int>(q.grouping)),
                            q.archive ? QStringLiteral("Главная картотека и Архив")
                                      : QStringLiteral("Главная картотека"));
    text += line([&](int column) { return headings.at(column); });
    for (qsizetype row = 0; row < table.shownRows(); ++row)
        text += line([&](int column) { return table.cell(row, column); });
    text.chop(1);
    return text;
}

QByteArray statisticsCsv(const StatTable& table) {
    QByteArray csv;
    const auto line = [&](const std::function<QString(int)>& cell) {
        for (int column = 0; column < StatTable::ColumnCount; ++column) {
            if (column > 0)
                csv += ',';
            appendCsvField(csv, cell(column).toUtf8());
        }
        csv += "\r\n";
    };
    line([](int column) { return StatTable::headings().at(column); });
    for (qsizetype row = 0; row < table.shownRows(); ++row)
        line([&](int column) {
            QString text = table.cell(row, column);
            return column == StatTable::Share ? text.replace(QLatin1Char(','), QLatin1Char('.'))
                                              : text;
        });
    return csv;
}

int statistics(AppState& s, const Options& o) {
    CardFile main;
    CardFile archive;
    openSource(s, main, Source::Main);
    if (o.stat.archive)
        openSource(s, archive, Source::Archive);
    const StatTable table =
        countStatistics(o.stat, main, o.stat.archive ? &archive : nullptr, *s.progress);
    say(statisticsConsoleText(table));
    if (o.csv.isEmpty())
        return 0;
    AtomicFile out(o.csv);
    writeOrThrow(out, statisticsCsv(table), o.csv);
    out.commit();
    say(o.csv);
    return 0;
}

} // namespace zelmar::admin
