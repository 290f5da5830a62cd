// Letters filled from every kind of blank and read back through LibreOffice.
#include "core/documents/Office.h"
#include "core/letters/WordFill.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <zip.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class LetterFillTest : public RegisterTest {};

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A DOCX blank with every tag, each split over three runs as Word leaves them after edits.
void writeDocxBlank(const QString& path, const QStringList& tags) {
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                      "2006/main\"><w:body>";
    for (const QString& tag : tags) {
        const QByteArray t = tag.toUtf8();
        body += "<w:p><w:r><w:t>" + t + ": #" + t.left(1) +
                "</w:t></w:r><w:r><w:rPr><w:i/>"
                "</w:rPr><w:t>" +
                t.mid(1, 1) + "</w:t></w:r><w:r><w:t>" + t.mid(2) + "#</w:t></w:r></w:p>";
    }
    body += "<w:sectPr/></w:body></w:document>";
    const QByteArray types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats."
        "org/package/2006/content-types\"><Default Extension=\"rels\" ContentType=\"application/"
        "vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
        "ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document."
        "main+xml\"/></Types>";
    const QByteArray rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas."
        "openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    const std::pair<const char*, const QByteArray*> parts[] = {
        {"[Content_Types].xml", &types}, {"_rels/.rels", &rels}, {"word/document.xml", &body}};
    for (auto [name, bytes] : parts)
        zip_file_add(archive, name,
                     zip_source_buffer(archive, bytes->constData(),
                                       static_cast<zip_uint64_t>(bytes->size()), 0),
                     0);
    zip_close(archive);
}

} // namespace

TEST_F(LetterFillTest, EveryKindOfBlankShowsEveryValue) {
    if (officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    AppState& s = start();
    s.card =
        makeCard(42, dayNumber(QDate(2026, 3, 10)), 123456789, 0, QStringLiteral("Сидоров П.П."));
    s.card.KUPN = QStringLiteral("1009");
    s.card.KUPData = dayNumber(QDate(2026, 3, 1));
    s.card.Adres = QStringLiteral("г. Энск, ул. Мира, д. 1");
    s.card.Motiv = QStringLiteral("п.2 ч.1 ст.24 УПК РФ");
    s.card.Fabula = QStringLiteral(" Утеря {паспорта} #gn# \\ ");
    s.card.KemWines = QStringLiteral("Орлов Д.Н.");
    s.card.PodpUtw = QStringLiteral("Иванов И.И.");
    s.card.DolgnPodp = QStringLiteral("Начальник ОМВД");
    s.card.Srok = 0;
    s.form.DolgnAvt = QStringLiteral("Генеральный директор");
    s.form.Otpravitel = QStringLiteral("АО «Энский завод»");
    s.form.NeNashIshNom = QStringLiteral("77/1");
    s.form.NeNashaIshDat = dayNumber(QDate(2026, 2, 27));
    const auto fields = letterFields(s);
    QStringList tags;
    for (const auto& field : fields)
        tags.append(field.first);

    const QString temp = file(QStringLiteral("Temp"));
    QDir().mkpath(file(QStringLiteral("out")));
    const auto target = [&](const char* name) {
        return file(QStringLiteral("out/") + QLatin1String(name) + QStringLiteral(".doc"));
    };
    // The shipped blanks (RTF under the .doc name).
    makeFilledDocument(file(QStringLiteral("Otveti/BlankFirma.doc")), target("letter"), temp,
                       fields);
    makeFilledDocument(file(QStringLiteral("WhodWord/Blank.doc")), target("card"), temp, fields);
    // DOCX with every tag split over three runs.
    writeDocxBlank(file(QStringLiteral("Temp/blank.docx")), tags);
    makeFilledDocument(file(QStringLiteral("Temp/blank.docx")), target("docx"), temp, fields);
    // RTF whose tags an editor split over groups and escapes.
    QByteArray split = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times New Roman;}}\\f0 ";
    for (const QString& tag : tags)
        split += tag.toLatin1() + ": \\'23" + tag.left(1).toLatin1() + "{\\b " +
                 tag.mid(1, 1).toLatin1() + "}" + tag.mid(2).toLatin1() + "#\\par\n";
    split += "}";
    writeBytes(QStringLiteral("Temp/split.rtf"), split);
    makeFilledDocument(file(QStringLiteral("Temp/split.rtf")), target("split"), temp, fields);
    // A Word 97 blank from an old installation.
    convertWithOffice({file(QStringLiteral("Temp/split.rtf"))}, QStringLiteral("doc"), temp);
    makeFilledDocument(file(QStringLiteral("Temp/split.doc")), target("word97"), temp, fields);
    EXPECT_TRUE(QDir(temp).entryList({QStringLiteral("word-*")}, QDir::Dirs).isEmpty());

    const QStringList names = {QStringLiteral("letter"), QStringLiteral("card"),
                               QStringLiteral("docx"), QStringLiteral("split"),
                               QStringLiteral("word97")};
    QStringList made;
    for (const QString& name : names)
        made.append(file(QStringLiteral("out/") + name + QStringLiteral(".doc")));
    const QString text = file(QStringLiteral("text"));
    QDir().mkpath(text);
    convertWithOffice(made, QStringLiteral("txt:Text (encoded):UTF8"), text);

    for (const QString& name : names) {
        const QString shown = readText(text + QLatin1Char('/') + name + QStringLiteral(".txt"));
        SCOPED_TRACE(name.toStdString() + "\n" + shown.toStdString());
        // No tag is left; "#gn#" stays only as text of the summary.
        for (const QString& tag : tags) {
            const QString left = QLatin1Char('#') + tag + QLatin1Char('#');
            EXPECT_EQ(shown.count(left),
                      tag == u"gn" ? shown.count(QStringLiteral("{паспорта} #gn#")) : 0)
                << tag.toStdString();
        }
        // Every value beside its tag where the blank lists them; the letter quotes most.
        if (name == u"letter") {
            for (const char* expected :
                 {"Генеральный директор", "АО «Энский завод»", "Сидоров П.П.",
                  "г. Энск, ул. Мира, д. 1", "на № 77/1 от 27.02.26", "за № 1009 от 01.03.26",
                  "Утеря {паспорта} #gn# \\", "10.03.26", "№ 42 по книге", "п.2 ч.1 ст.24 УПК РФ",
                  "Начальник ОМВД", "Иванов И.И.", "Исп. Орлов Д.Н."})
                EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected;
            continue;
        }
        QStringList lines;
        for (const QString& line : shown.split(QLatin1Char('\n')))
            lines.append(line.trimmed());
        for (const auto& [tag, value] : fields) {
            if (name == u"card") {
                EXPECT_TRUE(shown.contains(value)) << tag.toStdString();
                continue;
            }
            const QString expected = (tag + QStringLiteral(": ") + value).trimmed();
            EXPECT_TRUE(lines.contains(expected)) << expected.toStdString();
        }
    }
}
