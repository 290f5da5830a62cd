#include "core/backup/BackupCopies.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace zelmar {

namespace {

const QRegularExpression& copyName() {
    static const QRegularExpression pattern(QStringLiteral("^b(\\d{7})\\.zip$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

int numberOf(const QString& name) {
    return copyName().match(name).captured(1).toInt();
}

} // namespace

QStringList backupCopies(const QString& folder) {
    QStringList copies;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        if (copyName().match(entry.fileName()).hasMatch())
            copies.append(entry.fileName());
    }
    // The numbers have seven digits each: their order is the order of the names, whatever the
    // letter case.
    std::sort(copies.begin(), copies.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return copies;
}

QString nextCopyName(const QStringList& copies) {
    const int next = copies.isEmpty() ? 1 : numberOf(copies.last()) + 1;
    return QStringLiteral("b%1.zip").arg(next, 7, 10, QLatin1Char('0'));
}

QStringList copiesToDrop(const QStringList& copies, int kept) {
    // The new copy is among the kept ones.
    const qsizetype extra = copies.size() - (kept - 1);
    return extra > 0 ? copies.mid(0, extra) : QStringList();
}

} // namespace zelmar
