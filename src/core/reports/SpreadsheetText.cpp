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

namespace {

// 59 ";", 34 '"', 34 Windows-1251, line 1; then column/format pairs.
QString importOptions(const QList<ImportColumn>& columns) {
    QString options = QStringLiteral("59,34,34,1,");
    for (qsizetype column = 1; column <= columns.size(); ++column) {
        if (column > 1)
            options += QLatin1Char('/');
        options += QString::number(column) + QLatin1Char('/') +
                   QString::number(static_cast<int>(columns.at(column - 1)));
    }
    return options;
}

void openWithOptions(AppState& s, const QString& path, const QString& options) {
    if (s.shell.openSpreadsheet(path, options))
        return;
    throw ZelmarError(QStringLiteral("Файл «%1» записан, но открыть его нечем: нет программы для "
                                     "таблиц.\nУстановите LibreOffice Calc (пакет "
                                     "libreoffice-calc).")
                          .arg(QDir::toNativeSeparators(path)));
}

} // namespace

QString semicolonTextOptions(int columns) {
    return importOptions(QList<ImportColumn>(std::max(columns, 1), ImportColumn::Text));
}

void openSemicolonText(AppState& s, const QString& path, int columns) {
    openWithOptions(s, path, semicolonTextOptions(columns));
}

QString semicolonTextOptions(const QList<ImportColumn>& columns) {
    // 1049: Russian, whose decimal comma the numbers are written with.
    return importOptions(columns) + QStringLiteral(",1049");
}

void openSemicolonText(AppState& s, const QString& path, const QList<ImportColumn>& columns) {
    openWithOptions(s, path, semicolonTextOptions(columns));
}

} // namespace zelmar
