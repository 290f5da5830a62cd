// Renders the windows of the register to PNG files, for looking at them:
//   zelmar_screens INSTALLATION-FOLDER OUTPUT-FOLDER [WIDTHxHEIGHT]
#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/store/InstallFolder.h"
#include "gui/TFIO_Dolgn.h"
#include "gui/TFiltrOkno.h"
#include "gui/TForm1.h"
#include "gui/TForm5.h"
#include "gui/TFormNastr.h"
#include "gui/TPoisk.h"
#include "gui/TPrintWibor.h"
#include "gui/TRedak.h"
#include "gui/TShabloniDok.h"
#include "gui/TStatistika.h"
#include "gui/TWibor.h"
#include "gui/TZapusk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

using namespace zelmar;

namespace {

void save(QWidget& window, const QString& folder, const QString& name) {
    window.show();
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    window.grab().save(path);
    std::printf("%s\n", qPrintable(path));
    window.hide();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: zelmar_screens FOLDER OUTPUT [WIDTHxHEIGHT]\n");
        return 2;
    }
    const QString root = args.at(1);
    const QString out = args.at(2);
    QSize size(1280, 800);
    if (args.size() > 3) {
        const QStringList wh = args.at(3).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
    }
    QDir().mkpath(out);
    prepareInstallFolder(root);

    SystemClock clock;
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppState state(Paths(root), clock, prompts, shell);
    TZapusk zapusk(state);
    TForm1 form1(state);
    TForm5 form5(state);
    TFormNastr formNastr(state);
    form1.resize(size);
    std::printf("TForm1 smallest size %dx%d\n", form1.minimumSizeHint().width(),
                form1.minimumSizeHint().height());
    save(form1, out, QStringLiteral("TForm1-%1x%2").arg(size.width()).arg(size.height()));
    save(zapusk, out, QStringLiteral("TZapusk"));
    save(form5, out, QStringLiteral("TForm5"));
    save(formNastr, out, QStringLiteral("TFormNastr"));
    TFIO_Dolgn fio(state);
    save(fio, out, QStringLiteral("TFIO_Dolgn"));
    TRedak redak;
    redak.setWindowTitle(QStringLiteral("Список должностей"));
    redak.findChild<QPlainTextEdit*>(QStringLiteral("Spisok"))
        ->setPlainText(QStringLiteral("Дознаватель\nЗам.начальника ОМВД\nНачальник ОМВД\n"));
    save(redak, out, QStringLiteral("TRedak"));
    TWibor wibor;
    wibor.setWindowTitle(QStringLiteral("Удаление Анкеты из Главной картотеки"));
    wibor.findChild<QPushButton*>(QStringLiteral("Redak"))->setText(QStringLiteral("Удалить"));
    wibor.findChild<QPushButton*>(QStringLiteral("Udalit"))->setText(QStringLiteral("В Архив"));
    wibor.findChild<QPushButton*>(QStringLiteral("Otmena"))
        ->setText(QStringLiteral("Ничего не делать"));
    save(wibor, out, QStringLiteral("TWibor"));

    // The search window after "Найти", and the main window showing what it found.
    TPoisk poisk(state, &form1, &form1);
    poisk.show();
    poisk.findChild<QComboBox*>(QStringLiteral("Zayavitel"))->setEditText(QStringLiteral("Иванов"));
    poisk.findChild<QPushButton*>(QStringLiteral("WsehSrazu"))->click();
    save(poisk, out, QStringLiteral("TPoisk"));
    form1.show();
    save(form1, out, QStringLiteral("TForm1-found-%1x%2").arg(size.width()).arg(size.height()));

    // The print selection window, then the filter and the working table it selected.
    TPrintWibor print(state, &form1);
    TFiltrOkno filtr(state, &print, &print);
    print.setFilterWindow(&filtr);
    print.setWindowState(Qt::WindowNoState);
    print.resize(size);
    save(print, out, QStringLiteral("TPrintWibor-%1x%2").arg(size.width()).arg(size.height()));
    // The working tab as the start filled it; its register book, export and templates.
    print.show();
    auto* tabs = print.findChild<QTabWidget*>(QStringLiteral("Stranici"));
    tabs->setCurrentWidget(print.findChild<QWidget*>(QStringLiteral("RabStr")));
    print.grab().save(
        out + QStringLiteral("/TPrintWibor-book-%1x%2.png").arg(size.width()).arg(size.height()));
    print.findChild<QPushButton*>(QStringLiteral("Kniga"))->click();
    print.findChild<QPushButton*>(QStringLiteral("ExcelT"))->click();
    print.hide();
    TShabloniDok shablon(state, &form1);
    shablon.show();
    for (const auto& [name, path] :
         {std::pair{QStringLiteral("Книга учёта отказных материалов"),
                    QStringLiteral("c:\\Zelmar\\REPORT\\OtkazPic.rtf")},
          std::pair{QStringLiteral("Полная карточка"),
                    QStringLiteral("c:\\Zelmar\\REPORT\\PolnPic.rtf")},
          std::pair{QStringLiteral("Инструкция"),
                    QStringLiteral("c:\\Zelmar\\REPORT\\Rep_Instr.doc")}}) {
        shablon.findChild<QLineEdit*>(QStringLiteral("ImaDok"))->setText(name);
        shablon.findChild<QLineEdit*>(QStringLiteral("PutFil"))->setText(path);
        shablon.findChild<QLineEdit*>(QStringLiteral("SodFil"))
            ->setText(QStringLiteral("Шаблон отчёта: ") + name);
        shablon.findChild<QPushButton*>(QStringLiteral("Saves"))->click();
    }
    save(shablon, out, QStringLiteral("TShabloniDok"));
    shablon.resize(size);
    save(shablon, out, QStringLiteral("TShabloniDok-%1x%2").arg(size.width()).arg(size.height()));
    print.show();
    filtr.show();
    QApplication::processEvents();
    filtr.findChild<QComboBox*>(QStringLiteral("Zayavitel"))->setEditText(QStringLiteral("Иванов"));
    filtr.findChild<QPushButton*>(QStringLiteral("GlWib"))->click();
    filtr.grab().save(out + QStringLiteral("/TFiltrOkno.png"));
    filtr.hide();
    print.grab().save(
        out +
        QStringLiteral("/TPrintWibor-working-%1x%2.png").arg(size.width()).arg(size.height()));
    print.hide();

    // The statistics of the last two years by month, and of the whole register by who issued
    // the decisions, with the archive.
    TStatistika stat(state, &form1);
    stat.resize(size);
    stat.show();
    QApplication::processEvents();
    const auto statistics = [&](const QDate& from, const QDate& to, int grouping,
                                const QString& name) {
        stat.findChild<QDateEdit*>(QStringLiteral("StatS"))->setDate(from);
        stat.findChild<QDateEdit*>(QStringLiteral("StatPo"))->setDate(to);
        stat.findChild<QComboBox*>(QStringLiteral("StatGrup"))->setCurrentIndex(grouping);
        stat.findChild<QCheckBox*>(QStringLiteral("StatArhiv"))->setChecked(grouping > 1);
        stat.findChild<QPushButton*>(QStringLiteral("StatPokaz"))->click();
        QApplication::processEvents();
        const QString path = out + QStringLiteral("/TStatistika-%1-%2x%3.png")
                                       .arg(name)
                                       .arg(size.width())
                                       .arg(size.height());
        stat.grab().save(path);
        std::printf("%s\n", qPrintable(path));
    };
    statistics(QDate(2025, 1, 1), QDate(2026, 12, 31), 0, QStringLiteral("months"));
    statistics(QDate(1901, 1, 1), QDate(2026, 12, 31), 2, QStringLiteral("officials"));
    statistics(QDate(1901, 1, 1), QDate(2026, 12, 31), 4, QStringLiteral("motives"));
    // Its spreadsheet text and report data, for a look at them.
    statistics(QDate(2025, 1, 1), QDate(2026, 12, 31), 1, QStringLiteral("quarters"));
    stat.findChild<QPushButton*>(QStringLiteral("StatExcel"))->click();
    stat.findChild<QPushButton*>(QStringLiteral("StatPechat"))->click();
    return 0;
}
