#include "core/reports/SpreadsheetExport.h"
#include "core/documents/Office.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/Errors.h"
#include "core/reports/PrintSelection.h"
#include "core/reports/SpreadsheetText.h"
#include "core/store/Cp1251.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace zelmar;
using namespace zelmar::test;

namespace {

// "№ жур" a number (1), the dates day-month-year (4), the rest text (2).
const QString kAllColumns =
    QStringLiteral("59,34,34,1,1/2/2/2/3/1/4/4/5/2/6/4/7/2/8/4/9/2/10/2/11/2/12/2/13/4/14/2/"
                   "15/2/16/4/17/2/18/4,1049");

// A card with leading zeros, Cyrillic, a separator and quotes in its texts.
TAnketa tricky() {
    TAnketa c = makeCard(7, dayNumber(QDate(2012, 3, 12)), 500, 0, QStringLiteral("Иванов И.И."));
    c.KUPN = QStringLiteral("001");
    c.Adres = QStringLiteral("ул. Мира; д. \"5\", кв. 128, Тверь");
    c.Telefon = QStringLiteral("007");
    c.NashaWxodDat = dayNumber(QDate(2012, 3, 14));
    c.NazwDok = QStringLiteral("Заявление о краже велосипеда от подъезда дома номер пять");
    for (auto* number : {&c.DeloNom, &c.NeNashIshNom, &c.NashWxodNom, &c.NashIshNom})
        *number = QStringLiteral("12345/678-90-ОМВД-26");
    return c;
}

class SpreadsheetExportTest : public RegisterTest {
protected:
    AppState& startWith(const std::vector<TAnketa>& working) {
        AppState& s = start();
        s.working.seek(0);
        s.working.truncate();
        for (const TAnketa& card : working)
            s.working.write(card);
        m_print = std::make_unique<PrintSelection>(s);
        return s;
    }
    QString exported() const { return fromCp1251(readBytes(QStringLiteral("L_Excel.txt"))); }
    std::unique_ptr<PrintSelection> m_print;
};

} // namespace

TEST_F(SpreadsheetExportTest, ColumnsDatesAndQuotedCells) {
    ExportColumns only{};
    for (const int column : {PrintGridModel::Kniga, PrintGridModel::Kus, PrintGridModel::DeloDat,
                             PrintGridModel::Adres, PrintGridModel::WhodDat})
        only[size_t(column)] = true;
    // The empty date is 01.01.01; a cell holding ";" or '"' is quoted.
    EXPECT_EQ(
        fromCp1251(StrTextFil(tricky(), only)),
        QStringLiteral("Нет;001;01.01.01;\"ул. Мира; д. \"\"5\"\", кв. 128, Тверь\";14.03.12;"));
    ExportColumns none{};
    EXPECT_EQ(StrTextFil(tricky(), none), QByteArray());

    AppState& s = startWith({tricky(), tricky()});
    ExcelTClick(s, *m_print);
    const QStringList lines = exported().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4); // the header, two cards, nothing after the last line end
    EXPECT_EQ(lines[0].size(), 167);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("уд;Книга;№ жур;дата;КУС;дата;УД №;дата ;")));
    // The whole line, also beyond 250 characters.
    EXPECT_GT(lines[1].size(), 250);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(";14.03.12;12345/678-90-ОМВД-26;01.01.01;")));
    EXPECT_EQ(lines[1], lines[2]);
    EXPECT_EQ(lines[3], QString());
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].what, QStringLiteral("spreadsheet"));
    EXPECT_EQ(m_shell.calls[0].target, file(QStringLiteral("L_Excel.txt")));
    EXPECT_EQ(m_shell.calls[0].arguments, QStringList{kAllColumns});
    EXPECT_EQ(m_print->card.Klu4Form1, 500);

    // No column checked: empty lines; an empty working file: the header alone, opened all the
    // same.
    m_print->StolbExcel.fill(false);
    ExcelTClick(s, *m_print);
    EXPECT_EQ(readBytes(QStringLiteral("L_Excel.txt")), QByteArray("\r\n\r\n\r\n"));
    s.working.seek(0);
    s.working.truncate();
    m_print->StolbExcel.fill(true);
    ExcelTClick(s, *m_print);
    EXPECT_EQ(exported(), lines[0] + QStringLiteral("\r\n"));
    EXPECT_EQ(m_shell.calls.size(), 3);
}

TEST_F(SpreadsheetExportTest, WithoutASpreadsheetOrRoomTheUserIsTold) {
    std::vector<TAnketa> cards(300, tricky());
    AppState& s = startWith(cards);
    m_shell.answer = false;
    m_prompts.ok();
    EXPECT_FALSE(runCommand(m_prompts, [&] { ExcelTClick(s, *m_print); }));
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("libreoffice-calc")));
    const QByteArray written = readBytes(QStringLiteral("L_Excel.txt"));
    EXPECT_EQ(written.count("\r\n"), 301); // the file stays

    // A full disk: the previous export stays whole, nothing is opened.
    m_shell.calls.clear();
    withFileSizeLimit(4096, [&] { EXPECT_THROW(ExcelTClick(s, *m_print), IoError); });
    EXPECT_EQ(readBytes(QStringLiteral("L_Excel.txt")), written);
    EXPECT_TRUE(m_shell.calls.isEmpty());
}

// Each cell of the second row of a spreadsheet in flat ODF: its type and its value ("float 7",
// "date 2012-03-12", "string 001").
QStringList secondRowCells(const QString& fods) {
    QFile file(fods);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QStringList cells;
    int row = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"table-row")
            ++row;
        if (row != 2 || !xml.isStartElement() || xml.name() != u"table-cell")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QString type = a.value(QStringLiteral("office:value-type")).toString();
        QString value = type == u"float"  ? a.value(QStringLiteral("office:value")).toString()
                        : type == u"date" ? a.value(QStringLiteral("office:date-value")).toString()
                                          : QString();
        if (type == u"string") {
            QStringList paragraphs;
            while (!(xml.isEndElement() && xml.name() == u"table-cell") && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == u"p")
                    paragraphs.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
            }
            value = paragraphs.join(QLatin1Char('\n'));
        }
        cells.append(type + QLatin1Char(' ') + value);
    }
    return cells;
}

TEST(SpreadsheetText, CalcReadsNumberDatesAndTextByColumn) {
    if (spreadsheetProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice Calc (soffice with Calc) is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("L_Excel.txt"));
    ExportColumns columns{};
    for (const int column : {PrintGridModel::GurN, PrintGridModel::Date, PrintGridModel::Kus,
                             PrintGridModel::Zayavitel, PrintGridModel::Adres,
                             PrintGridModel::Telefon, PrintGridModel::DeloDat})
        columns[size_t(column)] = true;
    TAnketa card = tricky();
    // A line break in a quoted cell keeps the cells after it in their columns.
    card.Adres = QStringLiteral("ул. Мира; д. \"5\",\r\nкв. 128");
    QByteArray text =
        "\xb9 \xe6\xf3\xf0;\xe4\xe0\xf2\xe0;\xca\xd3\xd1;w;x;y;z;\r\n"; // № жур;дата;КУС
    text += StrTextFil(card, columns) + "\r\n";
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();

    convertWithOffice({path}, QStringLiteral("fods"), dir.path(),
                      textImportFilter(semicolonTextOptions(exportColumnKinds(columns))));
    // The register number sorts as a number, the dates as dates (the empty one is 01.01.01),
    // the rest stays as typed, leading zeros and all.
    EXPECT_EQ(secondRowCells(dir.filePath(QStringLiteral("L_Excel.fods"))).join(u'|'),
              QStringLiteral("float 7|date 2012-03-12|string 001|date 2001-01-01|"
                             "string Иванов И.И.|string ул. Мира; д. \"5\",\nкв. 128|"
                             "string 007"));
}
