#include "gui/Application.h"

#include "gui/ScreenFit.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zelmar {

void setUpApplication(QApplication& app) {
    // No display name: the platform would add it to the title of every window and message box.
    QApplication::setApplicationName(QStringLiteral("Zelmar"));
    // The menu entry and icon of the installed package name the windows' icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelmar"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelmar")));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    keepWindowsOnScreen(app);
    const QString name = QStringLiteral("qtbase_ru");
    if (app.findChild<QTranslator*>(name))
        return;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(name);
    if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace zelmar
