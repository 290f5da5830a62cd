#include "core/reports/Templates.h"

#include "core/documents/AtomicFile.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/reports/CardReports.h"
#include "core/reports/SpreadsheetText.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace zelmar {

namespace {

const QString kMissingCaption = QStringLiteral("Нет такого Файла !");

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

// Whether two paths of the list name the same file: the same text, or the same file once
// read (c:\Zelmar\... or a local path), letter case aside as on Windows.
bool samePath(const AppState& s, const QString& listed, const QString& typed) {
    const QString a = trimControl(listed);
    const QString b = trimControl(typed);
    if (a == b)
        return true;
    if (a.isEmpty() || b.isEmpty())
        return false;
    return a.compare(b, Qt::CaseInsensitive) == 0 ||
           s.paths.toStored(s.paths.fromStored(a))
                   .compare(s.paths.toStored(s.paths.fromStored(b)), Qt::CaseInsensitive) == 0;
}

// Why a path cannot be kept in the list as it is, or empty text.
QString unstorable(const QString& stored) {
    const QString outside = outsideCp1251(stored);
    if (!outside.isEmpty())
        return QStringLiteral("В пути к файлу есть знаки, которых список шаблонов не хранит: "
                              "%1\nПереименуйте файл или его папку.")
            .arg(outside);
    if (toCp1251(stored).size() > 128)
        return QStringLiteral("Путь к файлу длиннее 128 знаков и не поместится в список "
                              "шаблонов:\n%1\nПоложите шаблон в папку REPORT.")
            .arg(stored);
    return {};
}

void writeRecord(AppState& s, qint64 position, const TemplateRow& row) {
    const TShablonRec record = templateRecord(row);
    s.templates.seek(position);
    s.templates.write(&record);
    s.templates.sync();
}

void reportTornList(AppState& s) {
    const RecordFile& file = s.templates;
    if (file.tailBytes() == 0)
        return;
    s.prompts.message(QStringLiteral("Файл %1 повреждён: в его конце %2 байт неполной записи.\n"
                                     "Показаны %3 целых записей; неполная запись будет заменена "
                                     "при следующем сохранении списка.")
                          .arg(QDir::toNativeSeparators(file.path()))
                          .arg(file.tailBytes())
                          .arg(file.size()),
                      QStringLiteral("Шаблоны печатных документов"));
}

} // namespace

const QStringList& templateHeadings() {
    static const QStringList headings = {QStringLiteral("Название шаблона"),
                                         QStringLiteral("Имя файла - Путь к шаблону"),
                                         QStringLiteral("Комментарий")};
    return headings;
}

TemplateRow templateRow(const TShablonRec& record) {
    return {record.name.text(), record.path.text(), record.comment.text()};
}

TShablonRec templateRecord(const TemplateRow& row) {
    TShablonRec record;
    std::memset(&record, 0, sizeof record);
    record.name = row.name;
    record.path = row.path;
    record.comment = row.comment;
    return record;
}

QString pictureTemplatePrefix(const QString& path) {
    const qsizetype slash =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const QString name = path.mid(slash + 1);
    const qsizetype at = name.indexOf(QStringLiteral("pic."), 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : name.left(at);
}

void ShablonFormActivate(AppState& s, TemplatesWindow& t) {
    t.SpPrDok.assign(1, TemplateRow{});
    t.row = 0;
    t.ImaDok.clear();
    t.PutFil.clear();
    t.SodFil.clear();
    const qint64 count = s.templates.size();
    if (count > 0) {
        std::vector<TShablonRec> records(static_cast<size_t>(count));
        s.templates.readRecords(0, count, records.data());
        t.SpPrDok.clear();
        for (const TShablonRec& record : records)
            t.SpPrDok.push_back(templateRow(record));
    }
    reportTornList(s);
}

void SpPrDokMouseDown(AppState& s, TemplatesWindow& t, qint64 row) {
    if (row < 1 || row > static_cast<qint64>(t.SpPrDok.size()))
        return;
    t.row = row;
    const TemplateRow& shown = t.SpPrDok[size_t(row - 1)];
    t.ImaDok = shown.name;
    t.PutFil = trimControl(shown.path);
    t.SodFil = shown.comment;
    // The blank row of an empty list names no file that could have gone.
    if (!t.PutFil.isEmpty() && !isFile(s.paths.fromStored(t.PutFil)))
        s.prompts.message(QStringLiteral("Файл удалён или перемещён"), kMissingCaption);
}

void PlusClick(AppState& s, TemplatesWindow& t) {
    t.ImaDok = QStringLiteral("Новый");
    t.SodFil = QStringLiteral("Новый");
    const QString chosen =
        s.prompts.openFile(QStringLiteral("Укажите файл с шаблоном"),
                           s.local(u"C:\\Zelmar\\REPORT"), QStringLiteral("Все файлы (*)"));
    if (!chosen.isEmpty())
        t.PutFil = s.paths.toStored(chosen);
}

void SavesClick(AppState& s, TemplatesWindow& t) {
    const QString typed = trimControl(t.PutFil);
    const QString local = typed.isEmpty() ? QString() : s.paths.fromStored(typed);
    if (local.isEmpty() || !isFile(local)) {
        s.prompts.message(QStringLiteral("Запоминать не буду, пока не исправите"),
                          QStringLiteral("Нет такого Файла!"));
        return;
    }
    const QString stored = s.paths.toStored(local);
    if (const QString why = unstorable(stored); !why.isEmpty()) {
        s.prompts.message(why, QStringLiteral("Нет такого Файла!"));
        return;
    }
    // The row shows what the file keeps: the texts cut to their places.
    const TemplateRow entry = templateRow(templateRecord({t.ImaDok, stored, t.SodFil}));
    std::vector<TemplateRow>& rows = t.SpPrDok;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!trimControl(rows[i].path).isEmpty() && samePath(s, rows[i].path, stored)) {
            writeRecord(s, static_cast<qint64>(i), entry);
            rows[i] = entry;
            t.row = static_cast<qint64>(i) + 1;
            t.PutFil = stored;
            return;
        }
    }
    const qint64 records = s.templates.size();
    writeRecord(s, records, entry);
    // An empty list shows one blank row, which the first template takes.
    if (records == 0 && rows.size() == 1 && trimControl(rows[0].path).isEmpty())
        rows[0] = entry;
    else
        rows.push_back(entry);
    t.row = static_cast<qint64>(rows.size());
    t.PutFil = stored;
}

void MinusClick(AppState& s, TemplatesWindow& t) {
    std::vector<TemplateRow>& rows = t.SpPrDok;
    size_t found = rows.size();
    for (size_t i = 0; i < rows.size() && found == rows.size(); ++i) {
        if (samePath(s, rows[i].path, t.PutFil))
            found = i;
    }
    if (found == rows.size()) {
        s.prompts.message(QStringLiteral("В списке нет шаблона с таким путём к файлу"),
                          QStringLiteral("Удалять нечего"));
        return;
    }
    std::vector<TemplateRow> kept = rows;
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(found));
    // The list is written whole beside the old one and put in its place.
    RecordReplacement replacement(s.templates, s.templates.path());
    for (const TemplateRow& row : kept) {
        const TShablonRec record = templateRecord(row);
        replacement.add(&record);
    }
    replacement.commit();
    rows = std::move(kept);
    t.row = std::min<qint64>(t.row, static_cast<qint64>(rows.size()));
}

void dxfColorButton1Click(AppState& s, TemplatesWindow& t) {
    const QString typed = trimControl(t.PutFil);
    const QString slashName = typed.mid(
        std::max(typed.lastIndexOf(QLatin1Char('\\')), typed.lastIndexOf(QLatin1Char('/'))) + 1);
    const QString name = slashName.toLower();
    const bool picture = name.contains(QStringLiteral("pic."));
    const bool workbook = !picture && name.contains(QStringLiteral(".xls"));
    const bool document = !picture && !workbook && name.contains(QStringLiteral(".doc"));
    if (!picture && !workbook && !document)
        return;
    if (picture) {
        // The runner opens the picture of the prefix in the report folder for editing,
        // wherever the listed path points (a list carried over from another computer).
        const QString prefix = pictureTemplatePrefix(typed);
        s.shell.startProgram(
            reportRunnerProgram(),
            {prefix + QStringLiteral("Dat.txt"), prefix + QStringLiteral("Pic.rtf")},
            s.local(ReportFolder));
        return;
    }
    const QString local = s.paths.fromStored(typed);
    if (!isFile(local)) {
        s.prompts.message(QStringLiteral("Файл удалён или перемещён"), kMissingCaption);
        return;
    }
    if (workbook) {
        if (!s.shell.openSpreadsheet(local, QString()))
            throw ZelmarError(QStringLiteral("Не удалось открыть «%1»: нет программы для таблиц.\n"
                                             "Установите LibreOffice Calc (пакет "
                                             "libreoffice-calc).")
                                  .arg(QDir::toNativeSeparators(local)));
    } else if (!s.shell.openDocument(local)) {
        s.prompts.message(QStringLiteral("Не удалось открыть «%1»: не найдена программа для "
                                         "этого файла.")
                              .arg(QDir::toNativeSeparators(local)),
                          QStringLiteral("Zelmar"));
    }
}

void PrintClick(AppState& s, TemplatesWindow& t) {
    const QString path = s.local(TemplateListText);
    QByteArray text = "\r\n";
    const auto line = [&](qint64 index, const QStringList& cells) {
        appendCell(text, QByteArray::number(index + 1) + ' ');
        for (const QString& cell : cells)
            appendCell(text, toCp1251(cell + QLatin1Char(' ')));
        text.append("\r\n");
    };
    line(0, templateHeadings());
    for (size_t i = 0; i < t.SpPrDok.size(); ++i) {
        const TemplateRow& row = t.SpPrDok[i];
        line(static_cast<qint64>(i) + 1, {row.name, row.path, row.comment});
    }
    AtomicFile file(path);
    writeOrThrow(file, text, path);
    file.commit();
    openSemicolonText(s, path, 4);
}

void pRezKopClick(AppState& s) {
    const QString path = s.local(TemplateInstructions);
    if (!isFile(path)) {
        s.prompts.message(QStringLiteral("Нет документа «%1».").arg(QDir::toNativeSeparators(path)),
                          QStringLiteral("Zelmar"));
        return;
    }
    if (!s.shell.openDocument(path))
        s.prompts.message(QStringLiteral("Не удалось открыть «%1»: не найдена программа для "
                                         "этого файла.")
                              .arg(QDir::toNativeSeparators(path)),
                          QStringLiteral("Zelmar"));
}

} // namespace zelmar
