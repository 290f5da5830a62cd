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

QString semicolonTextOptions(int columns) {
    // 59 ";", 34 '"', 34 Windows-1251, line 1; then column/format pairs, 2 being text.
    QString options = QStringLiteral("59,34,34,1,");
    for (int column = 1; column <= std::max(columns, 1); ++column) {
        if (column > 1)
            options += QLatin1Char('/');
        options += QString::number(column) + QStringLiteral("/2");
    }
    return options;
}

void openSemicolonText(AppState& s, const QString& path, int columns) {
    if (s.shell.openSpreadsheet(path, semicolonTextOptions(columns)))
        return;
    throw ZelmarError(QStringLiteral("Файл «%1» записан, но открыть его нечем: нет программы для "
                                     "таблиц.\nУстановите LibreOffice Calc (пакет "
                                     "libreoffice-calc).")
                          .arg(QDir::toNativeSeparators(path)));
}

} // namespace zelmar
