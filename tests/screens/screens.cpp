// Renders the windows of the register to PNG files, for looking at them, on a screen of the given
// size (offscreen, unless QT_QPA_PLATFORM names another platform), and names the boxes whose
// text does not show whole:
//   zelmar_screens INSTALLATION-FOLDER OUTPUT-FOLDER [WIDTHxHEIGHT] [--titled]
// With --titled each window gets a title bar with its caption, as the user guide shows them.
#include "core/backup/Backup.h"
#include "core/backup/Restore.h"
#include "core/editor/AppState.h"
#include "core/editor/ColourCommands.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/letters/Attachments.h"
#include "core/platform/Clock.h"
#include "core/platform/Shell.h"
#include "core/store/InstallFolder.h"
#include "gui/Application.h"
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
#include "screens/CutTexts.h"
#include "screens/ShownPrompts.h"
#include "screens/WidestValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryFile>

#include <cstdio>

using namespace zelmar;

namespace {

QString g_out;
QString g_size;
bool g_titled = false;

const QColor kFrame(0x44, 0x54, 0x6a);

// The window framed as a desktop shows it: a title bar with its caption above it, a thin border
// around it.
QPixmap withTitleBar(const QPixmap& shot, const QWidget& window) {
    QFont font = window.font();
    font.setBold(true);
    const int bar = QFontMetrics(font).height() + 10;
    QPixmap framed(shot.width() + 2, shot.height() + bar + 1);
    framed.fill(kFrame);
    QPainter painter(&framed);
    painter.drawPixmap(1, bar, shot);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(10, 0, shot.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    return framed;
}

// A part of a window, set off from the page by a thin border.
QPixmap withBorder(const QPixmap& shot) {
    QPixmap framed(shot.width() + 2, shot.height() + 2);
    framed.fill(kFrame);
    QPainter(&framed).drawPixmap(1, 1, shot);
    return framed;
}

// The window, or the part of it in `area`.
void grab(QWidget& window, const QString& name, const QRect& area = QRect(0, 0, -1, -1)) {
    QApplication::processEvents();
    const QString path =
        g_out + QLatin1Char('/') + name + QLatin1Char('-') + g_size + QStringLiteral(".png");
    QPixmap shot = window.grab(area);
    if (g_titled)
        shot = window.isWindow() ? withTitleBar(shot, window) : withBorder(shot);
    shot.save(path);
    const QRect frame = window.frameGeometry();
    std::printf("%s %dx%d at %d,%d\n", qPrintable(path), frame.width(), frame.height(), frame.x(),
                frame.y());
    for (const QString& cut : zelmar::test::cutTexts(window))
        std::printf("  cut: %s\n", qPrintable(cut));
}

void save(QWidget& window, const QString& name) {
    window.show();
    grab(window, name);
    window.hide();
}

} // namespace

int main(int argc, char** argv) {
    QStringList positional;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == u"--titled")
            g_titled = true;
        else
            positional.append(arg);
    }
    QSize size(1280, 720);
    if (positional.size() > 2) {
        const QStringList wh = positional.at(2).split(QLatin1Char('x'));
        size = QSize(wh.value(0).toInt(), wh.value(1).toInt());
    }
    // Offscreen, a screen of that size.
    QTemporaryFile screen;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screen.open()) {
        screen.write(QStringLiteral(R"({"screens": [{"name": "screen", "width": %1, "height": %2,
            "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                         .arg(size.width())
                         .arg(size.height())
                         .toUtf8());
        screen.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    }
    QApplication app(argc, argv);
    setUpApplication(app);
    if (positional.size() < 2) {
        std::fprintf(stderr, "usage: zelmar_screens FOLDER OUTPUT [WIDTHxHEIGHT] [--titled]\n");
        return 2;
    }
    const QString root = positional.at(0);
    g_out = positional.at(1);
    g_size = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    QDir().mkpath(g_out);
    prepareInstallFolder(root);

    SystemClock clock;
    test::ShownPrompts prompts([](QWidget& dialog, const QString& name) { grab(dialog, name); });
    RecordingShell shell;
    AppState state(Paths(root), clock, prompts, shell);
    TZapusk zapusk(state);
    TForm1 form1(state);
    TForm5 form5(state);
    TFormNastr formNastr(state);
    // The main window as the start-up window shows it, and the notice of its first activation.
    prompts.showNext(QStringLiteral("Notice-unprinted"));
    form1.showMaximized();
    const QSize form = form1.ui().centralwidget->minimumSizeHint();
    std::printf("TForm1 card editor smallest size %dx%d\n", form.width(), form.height());
    grab(form1, QStringLiteral("TForm1"));
    // Every box of the card editor with the widest value it must show whole.
    test::showWidestValues(form1.ui());
    grab(form1, QStringLiteral("TForm1-widest"));
    // The last card again.
    form1.run([&] { SpeedButEndClick(state); });
    form1.hide();
    save(zapusk, QStringLiteral("TZapusk"));
    save(form5, QStringLiteral("TForm5"));
    save(formNastr, QStringLiteral("TFormNastr"));
    TFIO_Dolgn fio(state);
    save(fio, QStringLiteral("TFIO_Dolgn"));
    TRedak redak;
    redak.setWindowTitle(QStringLiteral("Список должностей"));
    redak.findChild<QPlainTextEdit*>(QStringLiteral("Spisok"))
        ->setPlainText(QStringLiteral("Дознаватель\nЗам.начальника ОМВД\nНачальник ОМВД\n"));
    save(redak, QStringLiteral("TRedak"));
    TWibor wibor;
    wibor.setWindowTitle(QStringLiteral("Удаление Анкеты из Главной картотеки"));
    wibor.findChild<QPushButton*>(QStringLiteral("Redak"))->setText(QStringLiteral("Удалить"));
    wibor.findChild<QPushButton*>(QStringLiteral("Udalit"))->setText(QStringLiteral("В Архив"));
    wibor.findChild<QPushButton*>(QStringLiteral("Otmena"))
        ->setText(QStringLiteral("Ничего не делать"));
    save(wibor, QStringLiteral("TWibor"));

    // The search window after "Найти", and the main window showing what it found.
    TPoisk poisk(state, &form1, &form1);
    poisk.show();
    poisk.findChild<QComboBox*>(QStringLiteral("Zayavitel"))->setEditText(QStringLiteral("Иванов"));
    poisk.findChild<QPushButton*>(QStringLiteral("WsehSrazu"))->click();
    save(poisk, QStringLiteral("TPoisk"));
    form1.showMaximized();
    grab(form1, QStringLiteral("TForm1-found"));
    form1.hide();

    // The print selection window, then the filter and the working table it selected.
    TPrintWibor print(state, &form1);
    TFiltrOkno filtr(state, &print, &print);
    print.setFilterWindow(&filtr);
    print.show();
    grab(print, QStringLiteral("TPrintWibor"));
    // A card picked: the panel shows it.
    print.run([&] { TablMouseDown(state, print.selection(), PrintSelection::Main, 1, 2); });
    grab(print, QStringLiteral("TPrintWibor-picked"));
    // The working tab as the start filled it; its register book, export and templates.
    auto* tabs = print.findChild<QTabWidget*>(QStringLiteral("Stranici"));
    tabs->setCurrentWidget(print.findChild<QWidget*>(QStringLiteral("RabStr")));
    grab(print, QStringLiteral("TPrintWibor-book"));
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
    save(shablon, QStringLiteral("TShabloniDok"));
    print.show();
    filtr.show();
    QApplication::processEvents();
    filtr.findChild<QComboBox*>(QStringLiteral("Zayavitel"))->setEditText(QStringLiteral("Иванов"));
    filtr.findChild<QPushButton*>(QStringLiteral("GlWib"))->click();
    save(filtr, QStringLiteral("TFiltrOkno"));
    grab(print, QStringLiteral("TPrintWibor-working"));
    print.hide();

    // The statistics of the last two years by month, and of the whole register by who issued
    // the decisions, with the archive.
    TStatistika stat(state, &form1);
    stat.show();
    QApplication::processEvents();
    const auto statistics = [&](const QDate& from, const QDate& to, int grouping,
                                const QString& name) {
        stat.findChild<QDateEdit*>(QStringLiteral("StatS"))->setDate(from);
        stat.findChild<QDateEdit*>(QStringLiteral("StatPo"))->setDate(to);
        stat.findChild<QComboBox*>(QStringLiteral("StatGrup"))->setCurrentIndex(grouping);
        stat.findChild<QCheckBox*>(QStringLiteral("StatArhiv"))->setChecked(grouping > 1);
        stat.findChild<QPushButton*>(QStringLiteral("StatPokaz"))->click();
        grab(stat, QStringLiteral("TStatistika-") + name);
    };
    statistics(QDate(2025, 1, 1), QDate(2026, 12, 31), 0, QStringLiteral("months"));
    statistics(QDate(1901, 1, 1), QDate(2026, 12, 31), 2, QStringLiteral("officials"));
    statistics(QDate(1901, 1, 1), QDate(2026, 12, 31), 4, QStringLiteral("motives"));
    // Its spreadsheet text and report data, for a look at them.
    statistics(QDate(2025, 1, 1), QDate(2026, 12, 31), 1, QStringLiteral("quarters"));
    stat.findChild<QPushButton*>(QStringLiteral("StatExcel"))->click();
    stat.findChild<QPushButton*>(QStringLiteral("StatPechat"))->click();
    stat.hide();

    // A reply letter and a picture made for the shown card: the buttons of the card, and the
    // choice an existing letter offers.
    form1.showMaximized();
    form1.ui().Otvet->click();
    form1.ui().GifEst->click();
    QWidget& side = *form1.ui().SidePanel;
    grab(side, QStringLiteral("TForm1-buttons"),
         QRect(0, 0, side.width(), form1.ui().Sluzh->geometry().bottom() + 4));
    prompts.showNext(QStringLiteral("TWibor-reply"));
    form1.ui().Otvet->click();
    // The colour of a part of the main window.
    prompts.showNext(QStringLiteral("Colour"));
    form1.run([&] { N26Click(state); });
    // Restoring from a backup: the choice of the copy.
    makeBackup(state);
    prompts.showNext(QStringLiteral("Restore"));
    form1.run([&] { Bacup1Click(state); });
    // Leaving through "Выход": the question of the backup (answered No, the program ends).
    prompts.showNext(QStringLiteral("Backup"));
    form1.run([&] { N4Click(state); });
    return 0;
}
