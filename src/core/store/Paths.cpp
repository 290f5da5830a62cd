#include "core/store/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace zelmar {

QString resolveCaseInsensitive(const QString& base, const QString& relative) {
    QString path = base;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    bool searching = true;
    for (const QString& part : parts) {
        QString name = part;
        if (searching && part != QLatin1String(".") && part != QLatin1String("..")) {
            if (!QFileInfo::exists(path + QLatin1Char('/') + part)) {
                const QStringList entries = QDir(path).entryList(
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
                searching = false;
                for (const QString& entry : entries) {
                    if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                        name = entry;
                        searching = true;
                        break;
                    }
                }
            }
        }
        path += QLatin1Char('/') + name;
    }
    return path;
}

Paths::Paths(const QString& root)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

QString Paths::fromStored(const QString& stored) const {
    QString path = stored.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression installPrefix(QStringLiteral("^[cC]:/+zelmar(/+|$)"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = installPrefix.match(path);
    if (match.hasMatch())
        return resolveCaseInsensitive(m_root, path.mid(match.capturedLength()));
    if (QDir::isAbsolutePath(path))
        return QDir::cleanPath(path);
    return resolveCaseInsensitive(m_root, path);
}

QString Paths::toStored(const QString& local) const {
    const QString path = QDir::cleanPath(local);
    if (path == m_root)
        return QStringLiteral("c:\\Zelmar");
    if (!path.startsWith(m_root + QLatin1Char('/')))
        return local;
    QString relative = path.mid(m_root.size() + 1);
    return QStringLiteral("c:\\Zelmar\\") + relative.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString Paths::local(QStringView registerPath) const {
    return fromStored(registerPath.toString());
}

} // namespace zelmar
