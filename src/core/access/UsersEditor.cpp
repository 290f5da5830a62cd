#include "core/access/UsersEditor.h"

#include "core/access/Users.h"
#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"
#include "core/texts/DayNumber.h"

#include <vector>

namespace zelmar {

QString shortDateText(double day) {
    const QDate date = dateOf(day);
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

double readShortDate(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    bool ok = parts.size() == 3;
    int day = 0;
    int month = 0;
    int year = 0;
    if (ok) {
        bool d = false;
        bool m = false;
        bool y = false;
        day = parts[0].toInt(&d);
        month = parts[1].toInt(&m);
        year = parts[2].toInt(&y);
        ok = d && m && y && !parts[2].isEmpty() && parts[2].size() <= 4;
        // Two digits stand for the years around the present century.
        if (ok && parts[2].size() <= 2)
            year += year < 50 ? 2000 : 1900;
    }
    const QDate date(year, month, day);
    if (!ok || !date.isValid())
        throw ConvertError::notDate(text);
    return dayNumber(date);
}

void TForm5FormShow(AppState& s, UsersGrid& grid) {
    const QString path = s.local(files::Users);
    s.usersFile.openForUpdate(path);
    const qint64 records = std::min<qint64>(s.usersFile.size(), UsersGrid::Rows);
    for (qint64 i = 0; i < records; ++i) {
        const TDostupRec record = s.usersFile.read();
        grid.cells[static_cast<size_t>(i)] = {record.code.text(), shortDateText(record.date),
                                              record.name.text(), record.password.text(),
                                              record.access.text()};
    }
    s.access.UserCount = static_cast<int>(records);
}

void ZapDostupClick(AppState& s, const UsersGrid& grid) {
    std::vector<TDostupRec> records;
    for (const auto& row : grid.cells) {
        if (row[UsersGrid::Code].trimmed().isEmpty())
            continue;
        TDostupRec record{};
        record.code = row[UsersGrid::Code].left(2);
        record.date = readShortDate(row[UsersGrid::Date]);
        record.name = row[UsersGrid::Name].left(20);
        record.password = row[UsersGrid::Password].left(6);
        record.access = row[UsersGrid::AccessLetter].left(1);
        records.push_back(record);
    }
    // The whole file is replaced, so a cleared row stays removed.
    const QString path = s.local(files::Users);
    replaceRecords(s.usersFile, path, records);
    s.access.UserCount = static_cast<int>(records.size());
    s.prompts.message(QStringLiteral("Перезапустите программу!!!"),
                      QStringLiteral("Изменения вступят после этого"));
}

} // namespace zelmar
