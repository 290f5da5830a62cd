#include "core/reports/SpreadsheetText.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"
#include "core/platform/Shell.h"

#include <QDir>

#include <cstring>

namespace zelmar {

void appendCell(QByteArray& line, QByteArrayView cell) {
    const char* bytes = cell.data();
    const auto size = static_cast<size_t>(cell.size());
    bool quoted = false;
    for (size_t i = 0; i < size && !quoted; ++i) {
        const char c = bytes[i];
        quoted = c == ';' || c == '"' || c == '\r' || c == '\n';
    }
    if (!quoted) {
        line.append(cell);
        line.append(';');
        return;
    }
    line.append('"');
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == '"')
            line.append('"');
        line.append(bytes[i]);
    }
    line.append("\";");
}

QString semicolonTextOptions(const std::vector<ColumnKind>& columns) {
    // 59 ";", 34 '"', 34 Windows-1251, line 1; then column/format pairs: 1 standard (numbers
    // as numbers), 2 text, 4 day-month-year dates.
    QString options = QStringLiteral("59,34,34,1,");
    const auto format = [](ColumnKind kind) {
        switch (kind) {
        case ColumnKind::Number:
            return 1;
        case ColumnKind::Date:
            return 4;
        case ColumnKind::Text:
            break;
        }
        return 2;
    };
    if (columns.empty())
        return options + QStringLiteral("1/2");
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i > 0)
            options += QLatin1Char('/');
        options += QString::number(i + 1) + QLatin1Char('/') + QString::number(format(columns[i]));
    }
    return options;
}

void openSemicolonText(AppState& s, const QString& path, const std::vector<ColumnKind>& columns) {
    if (s.shell.openSpreadsheet(path, semicolonTextOptions(columns)))
        return;
    throw ZelmarError(QStringLiteral("Файл «%1» записан, но открыть его нечем: нет программы для "
                                     "таблиц.\nУстановите LibreOffice Calc (пакет "
                                     "libreoffice-calc).")
                          .arg(QDir::toNativeSeparators(path)));
}

} // namespace zelmar
