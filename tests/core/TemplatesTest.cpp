#include "core/reports/Templates.h"
#include "core/platform/Errors.h"
#include "core/store/Cp1251.h"
#include "support/ByteVector.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QFile>

#include <cstring>

using namespace zelmar;
using namespace zelmar::test;

namespace {

const QString kList = QStringLiteral("REPORT/Shablon.dat");
const QString kBook = QStringLiteral("c:\\Zelmar\\REPORT\\OtkazPic.rtf");

// "Книга", "Журнал", c:\Zelmar\REPORT\OtkazPic.rtf at their offsets.
QByteArray bookRecord(char filler) {
    return handWritten(448, filler,
                       {{9, "05 ca ed e8 e3 e0"},
                        {60, "06 c6 f3 f0 ed e0 eb"},
                        {261, "1d 63 3a 5c 5a 65 6c 6d 61 72 5c 52 45 50 4f 52 54 5c 4f 74 6b 61 "
                              "7a 50 69 63 2e 72 74 66"}});
}

class TemplatesTest : public RegisterTest {
protected:
    AppState& startWith(const QByteArray& list) {
        prepareFolder();
        writeBytes(kList, list);
        for (const char* name : {"REPORT/Spisok.XLS", "REPORT/Blank.doc", "REPORT/notes.txt",
                                 "REPORT/a.doc", "REPORT/a.doc.old"})
            writeBytes(QString::fromLatin1(name), "x");
        AppState& s = start();
        ShablonFormActivate(s, t);
        return s;
    }
    void save(AppState& s, const QString& name, const QString& path, const QString& comment) {
        t.ImaDok = name;
        t.PutFil = path;
        t.SodFil = comment;
        SavesClick(s, t);
    }
    std::vector<QString> listedPaths() const {
        std::vector<QString> paths;
        const QByteArray bytes = readBytes(kList);
        for (qsizetype at = 0; at + 448 <= bytes.size(); at += 448) {
            TShablonRec record;
            std::memcpy(&record, bytes.constData() + at, sizeof record);
            paths.push_back(record.path.text());
        }
        return paths;
    }
    TemplatesWindow t;
};

} // namespace

TEST(TShablonRec, ByteLayout) {
    const TemplateRow book{QStringLiteral("Книга"), kBook, QStringLiteral("Журнал")};
    const TShablonRec written = templateRecord(book);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&written), sizeof written),
              bookRecord('\0'));
    // Whatever lies in the reserved bytes and behind the texts is not read.
    TShablonRec stored;
    std::memcpy(&stored, bookRecord('\x5a').constData(), sizeof stored);
    EXPECT_EQ(templateRow(stored), book);
    // Longer texts are cut to their places.
    const TShablonRec cut = templateRecord({QString(60, QLatin1Char('n')), QString(), QString()});
    EXPECT_EQ(cut.name.text().size(), 50);
}

TEST_F(TemplatesTest, RememberReplaceAndRemove) {
    AppState& s = startWith({});
    ASSERT_EQ(t.SpPrDok.size(), 1u); // one blank row
    for (const QString& path : {QString(), QStringLiteral("c:\\Zelmar\\REPORT\\Nothing.rtf")}) {
        m_prompts.ok();
        save(s, QStringLiteral("Нет"), path, QString());
        EXPECT_EQ(m_prompts.last().text, QStringLiteral("Запоминать не буду, пока не исправите"));
        EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Нет такого Файла!"));
    }
    // A chosen file is kept in the c:\Zelmar form; the first template takes the blank row.
    m_prompts.pickFile(file(QStringLiteral("REPORT/OtkazPic.rtf")));
    PlusClick(s, t);
    EXPECT_EQ(t.ImaDok, QStringLiteral("Новый"));
    EXPECT_EQ(t.SodFil, QStringLiteral("Новый"));
    EXPECT_EQ(t.PutFil, kBook);
    save(s, QStringLiteral("Книга"), t.PutFil, QStringLiteral("Журнал"));
    EXPECT_EQ(readBytes(kList), bookRecord('\0'));
    ASSERT_EQ(t.SpPrDok.size(), 1u);
    EXPECT_EQ(t.row, 1);

    // The same file, written otherwise: the entry is replaced in its place.
    save(s, QStringLiteral("Книга учёта"), QStringLiteral(" C:\\ZELMAR\\report\\otkazpic.RTF "),
         QString());
    ASSERT_EQ(t.SpPrDok.size(), 1u);
    EXPECT_EQ(t.SpPrDok[0].name, QStringLiteral("Книга учёта"));
    EXPECT_EQ(listedPaths(), std::vector<QString>{kBook});

    // A path that is a part of a listed one is a template of its own.
    const QString old = QStringLiteral("c:\\Zelmar\\REPORT\\a.doc.old");
    const QString doc = QStringLiteral("c:\\Zelmar\\REPORT\\a.doc");
    save(s, QStringLiteral("Старый"), old, QString());
    save(s, QStringLiteral("Новый"), file(QStringLiteral("REPORT/a.doc")), QString());
    EXPECT_EQ(listedPaths(), (std::vector<QString>{kBook, old, doc}));
    EXPECT_EQ(t.row, 3);

    t.PutFil = old;
    MinusClick(s, t);
    EXPECT_EQ(listedPaths(), (std::vector<QString>{kBook, doc}));
    const std::vector<TemplateRow> shown = t.SpPrDok;
    m_prompts.ok();
    MinusClick(s, t); // no longer listed
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Удалять нечего"));
    ShablonFormActivate(s, t);
    EXPECT_EQ(t.SpPrDok, shown);

    for (const QString& path : {kBook, doc}) {
        t.PutFil = path;
        MinusClick(s, t);
    }
    EXPECT_TRUE(t.SpPrDok.empty());
    EXPECT_EQ(readBytes(kList), QByteArray());
    save(s, QStringLiteral("Снова"), doc, QString());
    EXPECT_EQ(t.SpPrDok.size(), 1u);
    EXPECT_EQ(listedPaths(), std::vector<QString>{doc});
}

TEST_F(TemplatesTest, OpeningATemplatePrintingTheListAndTheInstructions) {
    QByteArray list;
    for (const TemplateRow& row :
         {TemplateRow{QStringLiteral("Полная"), QStringLiteral("C:\\Zelmar\\REPORT\\PolnPic.rtf"),
                      QStringLiteral("Карточка; полная")},
          TemplateRow{QStringLiteral("Квитки"), QStringLiteral("c:\\zelmar\\report\\KARTSPIC.RTF"),
                      QString()},
          TemplateRow{QStringLiteral("Таблица"), QStringLiteral("c:\\Zelmar\\REPORT\\Spisok.XLS"),
                      QString()},
          TemplateRow{QStringLiteral("Бланк"), QStringLiteral("c:\\Zelmar\\REPORT\\Blank.doc"),
                      QString()},
          TemplateRow{QStringLiteral("Текст"), QStringLiteral("c:\\Zelmar\\REPORT\\notes.txt"),
                      QString()}}) {
        const TShablonRec record = templateRecord(row);
        list.append(reinterpret_cast<const char*>(&record), sizeof record);
    }
    AppState& s = startWith(list);
    ASSERT_EQ(t.SpPrDok.size(), 5u);
    const QString runner = file(QStringLiteral("REPORT"));
    struct Case {
        const char* what;
        QStringList arguments;
    };
    const std::vector<Case> opened = {
        {"program", {QStringLiteral("PolnDat.txt"), QStringLiteral("PolnPic.rtf")}},
        {"program", {QStringLiteral("KARTSDat.txt"), QStringLiteral("KARTSPic.rtf")}},
        {"spreadsheet", {QString()}},
        {"document", {}},
    };
    for (size_t row = 0; row < opened.size(); ++row) {
        m_shell.calls.clear();
        SpPrDokMouseDown(s, t, static_cast<qint64>(row) + 1);
        dxfColorButton1Click(s, t);
        ASSERT_EQ(m_shell.calls.size(), 1) << row;
        EXPECT_EQ(m_shell.calls[0].what, QString::fromLatin1(opened[row].what));
        EXPECT_EQ(m_shell.calls[0].arguments, opened[row].arguments);
    }
    EXPECT_EQ(m_shell.calls[0].target, file(QStringLiteral("REPORT/Blank.doc")));
    m_shell.calls.clear();
    SpPrDokMouseDown(s, t, 5);
    dxfColorButton1Click(s, t); // neither a picture, a workbook nor a document
    EXPECT_TRUE(m_shell.calls.isEmpty());

    // A file that went: told on the pick and on opening; the fields stay filled.
    QFile::remove(file(QStringLiteral("REPORT/Blank.doc")));
    m_prompts.ok().ok();
    SpPrDokMouseDown(s, t, 4);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Файл удалён или перемещён"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Нет такого Файла !"));
    EXPECT_EQ(t.ImaDok, QStringLiteral("Бланк"));
    dxfColorButton1Click(s, t);
    EXPECT_TRUE(m_shell.calls.isEmpty());

    // A picture listed with a path of another computer: the runner still gets the report
    // folder's files of its prefix.
    t.PutFil = QStringLiteral("D:\\Old\\Zelmar\\REPORT\\PolnPic.rtf");
    dxfColorButton1Click(s, t);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].arguments,
              QStringList({QStringLiteral("PolnDat.txt"), QStringLiteral("PolnPic.rtf")}));
    m_shell.calls.clear();

    t.SpPrDok.resize(1);
    PrintClick(s, t);
    EXPECT_EQ(
        fromCp1251(readBytes(QStringLiteral("Temp/Shabl.txt"))),
        QStringLiteral("\r\n1 ;Название шаблона ;Имя файла - Путь к шаблону ;Комментарий ;\r\n"
                       "2 ;Полная ;C:\\Zelmar\\REPORT\\PolnPic.rtf ;\"Карточка; полная \";"
                       "\r\n"));
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].target, file(QStringLiteral("Temp/Shabl.txt")));
    EXPECT_EQ(m_shell.calls[0].arguments,
              QStringList{QStringLiteral("59,34,34,1,1/2/2/2/3/2/4/2")});

    pRezKopClick(s);
    EXPECT_EQ(m_shell.calls.last().target, file(QStringLiteral("REPORT/Rep_Instr.doc")));
}

TEST_F(TemplatesTest, ATornListIsReadAndAFailedRewriteKeepsIt) {
    m_prompts.ok();
    AppState& s = startWith(bookRecord('\0') + QByteArray(100, '\x7f'));
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("100 байт неполной записи")));
    ASSERT_EQ(t.SpPrDok.size(), 1u);
    save(s, QStringLiteral("Документ"), QStringLiteral("c:\\Zelmar\\REPORT\\a.doc"), QString());
    EXPECT_EQ(readBytes(kList).size(), 2 * 448);

    const QByteArray before = readBytes(kList);
    t.PutFil = kBook;
    withFileSizeLimit(300, [&] { EXPECT_THROW(MinusClick(s, t), IoError); });
    EXPECT_EQ(readBytes(kList), before);
    EXPECT_EQ(t.SpPrDok.size(), 2u);
    MinusClick(s, t); // the list is still open and works
    EXPECT_EQ(listedPaths(), std::vector<QString>{QStringLiteral("c:\\Zelmar\\REPORT\\a.doc")});
}
