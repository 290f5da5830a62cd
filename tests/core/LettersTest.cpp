#include "core/documents/DocumentError.h"
#include "core/documents/Docx.h"
#include "core/documents/Office.h"
#include "core/letters/Attachments.h"
#include "core/letters/WordFill.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/Errors.h"
#include "core/store/Cp1251.h"
#include "core/store/InstallFolder.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <zip.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

// The text a reader sees in an RTF document of ours.
QString rtfText(const QByteArray& rtf) {
    QString out;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{' || c == '}' || c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            out += fromCp1251(QByteArray(1, c));
            continue;
        }
        const char d = i + 1 < rtf.size() ? rtf[i + 1] : ' ';
        if (d == '\\' || d == '{' || d == '}') {
            out += QLatin1Char(d);
            ++i;
        } else if (d == '\'') {
            out += fromCp1251(QByteArray::fromHex(rtf.mid(i + 2, 2)));
            i += 3;
        } else {
            qsizetype j = i + 1;
            while (j < rtf.size() && QChar::isLetter(static_cast<char16_t>(rtf[j])))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            while (k < rtf.size() &&
                   (rtf[k] == '-' || QChar::isDigit(static_cast<char16_t>(rtf[k]))))
                ++k;
            if (word == "u") {
                out += QChar(static_cast<char16_t>(rtf.mid(j, k - j).toInt()));
                ++k; // the fallback
            } else if (word == "line" || word == "par" || word == "cell") {
                out += QLatin1Char('\n');
            }
            if (word != "u" && k < rtf.size() && rtf[k] == ' ')
                ++k;
            i = k - 1;
        }
    }
    return out;
}

// A DOCX document whose body holds a justified paragraph that ends a section, of runs, each run
// one text.
QByteArray writeDocx(const QString& path, const QStringList& runs) {
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/"
                      "2006/main\"><w:body><w:p><w:pPr><w:jc w:val=\"both\"/><w:sectPr/>"
                      "</w:pPr>";
    for (const QString& run : runs)
        body += "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">" + run.toUtf8() +
                "</w:t></w:r>";
    body += "</w:p><w:sectPr/></w:body></w:document>";
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
    return body;
}

QByteArray docxPart(const QString& path, const char* name) {
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    zip_stat_t stat;
    QByteArray bytes;
    if (zip_stat(archive, name, 0, &stat) == 0) {
        bytes.resize(static_cast<qsizetype>(stat.size));
        zip_file_t* file = zip_fopen(archive, name, 0);
        zip_fread(file, bytes.data(), stat.size);
        zip_fclose(file);
    }
    zip_discard(archive);
    return bytes;
}

class LettersTest : public RegisterTest {
protected:
    AppState& startWithCard() {
        AppState& s = start();
        s.card = makeCard(5, EmptyDate, 123456789, 0, QStringLiteral("Иванов И.И."));
        s.card.Srok = 0;
        s.card.DeloDat = EmptyDate;
        s.card.KUPData = dayNumber(QDate(2001, 1, 1)) + 0.5;
        s.card.Fabula = QStringLiteral("  Кража {кошелька} & #gn# \\ \"ы\"\r\nу входа  ");
        s.card.DolgnAvt = QStringLiteral("сохранённая должность");
        s.form.Klu4Form1 = QStringLiteral("123456789");
        s.form.DolgnAvt = QStringLiteral("Директор");
        s.form.Otpravitel = QStringLiteral("ООО «Завод»");
        s.form.NeNashIshNom = QStringLiteral("17/4");
        s.form.NeNashaIshDat = dayNumber(QDate(2026, 11, 30));
        s.form.FIOAvtor = QStringLiteral("несохранённое имя");
        return s;
    }
    QString value(const AppState& s, const char* tag) {
        for (const auto& [name, text] : letterFields(s)) {
            if (name == QLatin1String(tag))
                return text;
        }
        return QStringLiteral("(none)");
    }
};

} // namespace

TEST_F(LettersTest, ValuesFollowTheirRules) {
    AppState& s = startWithCard();
    EXPECT_EQ(letterFields(s).size(), 28);
    EXPECT_EQ(value(s, "dolgnost"), QStringLiteral("Директор")); // the box as shown
    EXPECT_EQ(value(s, "firma"), QStringLiteral("ООО «Завод»"));
    EXPECT_EQ(value(s, "ihish"), QStringLiteral("17/4"));
    EXPECT_EQ(value(s, "ihdat"), QStringLiteral("30.11.26"));
    EXPECT_EQ(value(s, "Zaywitel"), QStringLiteral("Иванов И.И.")); // the card, not the box
    EXPECT_EQ(value(s, "Srok_R"), QString());
    EXPECT_EQ(value(s, "D_UD"), QString());
    EXPECT_EQ(value(s, "D_KP"), QString());
    EXPECT_EQ(value(s, "D_w"), QStringLiteral("01.01.01"));
    EXPECT_EQ(value(s, "gn"), QStringLiteral("5"));
    EXPECT_EQ(value(s, "Fabula"), QStringLiteral("Кража {кошелька} & #gn# \\ \"ы\"\r\nу входа"));
    s.card.Srok = 7;
    EXPECT_EQ(value(s, "Srok_R"), QStringLiteral("7"));
}

TEST_F(LettersTest, ReplyLetterIsMadeThenOfferedThenDeleted) {
    AppState& s = startWithCard();
    OtvetClick(s);
    const QString letter = file(QStringLiteral("Otveti/123456789.doc"));
    ASSERT_TRUE(QFileInfo::exists(letter));
    EXPECT_EQ(s.form.Otvet, QStringLiteral("Есть ответ"));
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].target, letter);
    const QString text = rtfText(readBytes(QStringLiteral("Otveti/123456789.doc")));
    for (const QString& shown :
         {QStringLiteral("Директор"), QStringLiteral("ООО «Завод»"),
          QStringLiteral("на № 17/4 от 30.11.26"), QStringLiteral("Уважаемый(ая) Иванов И.И.!"),
          QStringLiteral("Кража {кошелька} & #gn# \\ \"ы\"\nу входа")})
        EXPECT_TRUE(text.contains(shown)) << shown.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("#Zaywitel#")));

    m_prompts.choose(3);
    OtvetClick(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Действие с Ответом к Карточке"));
    m_prompts.choose(1);
    OtvetClick(s);
    EXPECT_EQ(m_shell.calls.size(), 2);
    m_prompts.choose(2);
    OtvetClick(s);
    EXPECT_FALSE(QFileInfo::exists(letter));
    EXPECT_EQ(s.form.Otvet, QStringLiteral("Ответить"));
}

TEST_F(LettersTest, PictureAndDocument) {
    AppState& s = startWithCard();
    GifEstClick(s);
    EXPECT_EQ(s.form.GifEst, QStringLiteral("Есть"));
    EXPECT_EQ(readBytes(QStringLiteral("WhodGIF/123456789.gif")),
              readBytes(QStringLiteral("WhodGIF/Blank.gif")));
    WordEstClick(s);
    EXPECT_EQ(s.form.WordEst, QStringLiteral("Есть"));
    EXPECT_TRUE(rtfText(readBytes(QStringLiteral("WhodWord/123456789.doc")))
                    .contains(QStringLiteral("Иванов И.И.")));
    m_prompts.choose(2).choose(2);
    GifEstClick(s);
    WordEstClick(s);
    EXPECT_EQ(m_prompts.log().at(0).caption, QStringLiteral("Действие с Картинкой к Карточке"));
    EXPECT_EQ(m_prompts.log().at(1).caption, QStringLiteral("Действие с Документом к Карточке"));
    EXPECT_EQ(s.form.GifEst, QStringLiteral("Нет"));
    EXPECT_EQ(s.form.WordEst, QStringLiteral("Нет"));

    // Without the blank picture nothing is made and the button keeps "Нет".
    QFile::remove(file(QStringLiteral("WhodGIF/Blank.gif")));
    m_prompts.ok();
    EXPECT_FALSE(runCommand(m_prompts, [&] { GifEstClick(s); }));
    EXPECT_TRUE(m_prompts.last().text.startsWith(QStringLiteral("Нет бланка картинки")));
    EXPECT_EQ(s.form.GifEst, QStringLiteral("Нет"));
    EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("WhodGIF/123456789.gif"))));
}

TEST_F(LettersTest, RefusalsLeaveNoFile) {
    AppState& s = startWithCard();
    const auto refused = [&](const std::function<void()>& command, const QString& message) {
        m_prompts.ok();
        EXPECT_FALSE(runCommand(m_prompts, command));
        EXPECT_TRUE(m_prompts.last().text.contains(message)) << m_prompts.last().text.toStdString();
        EXPECT_EQ(s.form.Otvet, QStringLiteral("Ответить"));
        EXPECT_TRUE(
            QDir(file(QStringLiteral("Otveti"))).entryList({QStringLiteral("1*")}).isEmpty());
    };
    s.form.Klu4Form1 = QStringLiteral("0");
    refused([&] { OtvetClick(s); }, QStringLiteral("нет уникального номера"));
    s.form.Klu4Form1 = QStringLiteral("123456789");

    const QString blank = QStringLiteral("Otveti/BlankFirma.doc");
    writeBytes(blank, "Просто текст");
    refused([&] { OtvetClick(s); }, QStringLiteral("не является документом RTF, DOCX или Word"));
    writeBytes(blank, "{\\rtf1 {#gn#}");
    refused([&] { OtvetClick(s); }, QStringLiteral("не хватает закрывающей скобки"));
    writeBytes(blank, "PK\x03\x04 not a zip");
    refused([&] { OtvetClick(s); }, QStringLiteral("не удаётся прочитать как DOCX"));
    QFile::remove(file(blank));
    refused([&] { OtvetClick(s); }, QStringLiteral("Нет бланка"));
    prepareFolder();
    ASSERT_TRUE(QDir(file(QStringLiteral("Otveti"))).removeRecursively());
    m_prompts.ok();
    EXPECT_FALSE(runCommand(m_prompts, [&] { OtvetClick(s); }));
    EXPECT_EQ(s.form.Otvet, QStringLiteral("Ответить"));
}

TEST_F(LettersTest, DocxTagsSplitOverRuns) {
    AppState& s = startWithCard();
    const QString blank = file(QStringLiteral("Temp/blank.docx"));
    writeDocx(blank, {QStringLiteral("Кому: #Zay"), QStringLiteral("wit"),
                      QStringLiteral("el#, #FABULA#; #zz# #gn"), QStringLiteral("#.")});
    const QString target = file(QStringLiteral("WhodWord/1.doc"));
    makeFilledDocument(blank, target, file(QStringLiteral("Temp")), letterFields(s));
    const QByteArray xml = docxPart(target, "word/document.xml");
    EXPECT_TRUE(xml.contains("<w:t xml:space=\"preserve\">Кому: Иванов И.И.</w:t>"))
        << xml.constData();
    EXPECT_TRUE(xml.contains("<w:t xml:space=\"preserve\"></w:t>"));
    // The second line of the summary begins a paragraph formatted as the first, which now
    // ends the section.
    EXPECT_TRUE(xml.contains("<w:p><w:pPr><w:jc w:val=\"both\"/></w:pPr><w:r><w:rPr><w:b/>"))
        << xml.constData();
    EXPECT_TRUE(xml.contains("Кража {кошелька} &amp; #gn# \\ \"ы\"</w:t></w:r></w:p>"
                             "<w:p><w:pPr><w:jc w:val=\"both\"/><w:sectPr/></w:pPr>"
                             "<w:r><w:rPr><w:b/></w:rPr>"
                             "<w:t xml:space=\"preserve\">у входа; #zz# 5</w:t>"))
        << xml.constData();
    EXPECT_TRUE(xml.contains("<w:t xml:space=\"preserve\">.</w:t>"));
    EXPECT_EQ(docxPart(target, "_rels/.rels"), docxPart(blank, "_rels/.rels"));
    // Never over a file that is there.
    EXPECT_THROW(makeFilledDocument(blank, target, file(QStringLiteral("Temp")), {}), ZelmarError);
}

// Sets the unpacked size a zip archive declares for one entry, in its local header and in its
// directory, as a damaged or crafted blank may.
void declareSize(QByteArray& zip, const QByteArray& name, quint32 size) {
    const auto put = [&](qsizetype at) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&](qsizetype at) {
        return static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8;
    };
    for (qsizetype at = zip.indexOf("PK\3\4"); at >= 0; at = zip.indexOf("PK\3\4", at + 4)) {
        if (zip.mid(at + 30, u16(at + 26)) == name)
            put(at + 22);
    }
    for (qsizetype at = zip.indexOf("PK\1\2"); at >= 0; at = zip.indexOf("PK\1\2", at + 4)) {
        if (zip.mid(at + 46, u16(at + 28)) == name)
            put(at + 24);
    }
}

TEST_F(LettersTest, BlankThatWouldUnpackBeyondBoundIsRefusedAsDamaged) {
    AppState& s = startWithCard();
    const QString temp = file(QStringLiteral("Temp"));
    const QString blank = file(QStringLiteral("Temp/blank.docx"));
    const QString target = file(QStringLiteral("Otveti/1.doc"));

    // A blank of a few hundred bytes that declares its text as 4 GB.
    writeDocx(blank, {QStringLiteral("#gn#")});
    QByteArray bytes = readBytes(QStringLiteral("Temp/blank.docx"));
    ASSERT_LT(bytes.size(), 2000);
    declareSize(bytes, "word/document.xml", 0xFFFFFF00);
    writeBytes(QStringLiteral("Temp/huge.docx"), bytes);
    // A small blank whose two pictures truly unpack to 80 MB.
    writeDocx(blank, {QStringLiteral("#gn#")});
    {
        const QByteArray zeros(40 << 20, '\0');
        int error = 0;
        zip_t* archive = zip_open(blank.toLocal8Bit().constData(), 0, &error);
        ASSERT_NE(archive, nullptr);
        for (const char* name : {"word/media/image1.bin", "word/media/image2.bin"})
            zip_file_add(archive, name,
                         zip_source_buffer(archive, zeros.constData(), zeros.size(), 0), 0);
        ASSERT_EQ(zip_close(archive), 0);
    }
    ASSERT_LT(QFileInfo(blank).size(), 1 << 20);

    for (const QString& damaged : {file(QStringLiteral("Temp/huge.docx")), blank}) {
        SCOPED_TRACE(damaged.toStdString());
        try {
            makeFilledDocument(damaged, target, temp, letterFields(s));
            ADD_FAILURE() << "the blank was filled";
        } catch (const DocumentError& error) {
            EXPECT_TRUE(error.text().contains(QStringLiteral("повреждён"))) << error.what();
            EXPECT_TRUE(error.text().contains(QStringLiteral("64 МБ"))) << error.what();
        }
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral(".new")));
    }
}

TEST_F(LettersTest, DocxBlankWithoutDocumentTextIsRefused) {
    AppState& s = startWithCard();
    const QString target = file(QStringLiteral("Otveti/1.doc"));
    // A zip archive of no parts (only its end record), and one without the document's text.
    writeBytes(QStringLiteral("Temp/empty.docx"), QByteArray("PK\5\6", 4) + QByteArray(18, '\0'));
    writeDocx(file(QStringLiteral("Temp/other.docx")), {QStringLiteral("#gn#")});
    {
        int error = 0;
        zip_t* archive =
            zip_open(file(QStringLiteral("Temp/other.docx")).toLocal8Bit().constData(), 0, &error);
        ASSERT_NE(archive, nullptr);
        ASSERT_EQ(zip_delete(archive, zip_name_locate(archive, "word/document.xml", 0)), 0);
        ASSERT_EQ(zip_close(archive), 0);
    }
    for (const char* blank : {"Temp/empty.docx", "Temp/other.docx"}) {
        SCOPED_TRACE(blank);
        EXPECT_THROW(makeFilledDocument(file(QLatin1String(blank)), target,
                                        file(QStringLiteral("Temp")), letterFields(s)),
                     DocumentError);
        EXPECT_FALSE(QFileInfo::exists(target));
    }
}

TEST_F(LettersTest, MailLinkKeepsEveryTextAsText) {
    CardForm f;
    f.EMail = QStringLiteral(" adr ");
    f.NazwDok = QStringLiteral("Запрос");
    f.DolgnAvt = QStringLiteral("Директор");
    f.Otpravitel = QStringLiteral("Завод");
    f.FIOAvtor = QStringLiteral("Иванов И.И.");
    const auto parts = [](const QString& link) {
        const QString rest = link.mid(7);
        const qsizetype subject = rest.indexOf(u"?Subject=");
        const qsizetype body = rest.indexOf(u"&Body=");
        return QStringList{
            QUrl::fromPercentEncoding(rest.left(subject).toLatin1()),
            QUrl::fromPercentEncoding(rest.mid(subject + 9, body - subject - 9).toLatin1()),
            QUrl::fromPercentEncoding(rest.mid(body + 6).toLatin1())};
    };
    const QString link = mailLink(f);
    EXPECT_TRUE(link.startsWith(QStringLiteral("mailto:adr?Subject=%D0%97")));
    EXPECT_EQ(parts(link),
              (QStringList{QStringLiteral("adr"), QStringLiteral("Запрос"),
                           QStringLiteral("Директор Завод Уважаемый(ая) Иванов И.И.")}));
    f.EMail = QStringLiteral("a.b@c.ru");
    f.NazwDok = QStringLiteral("A&B=1?#x y");
    f.DolgnAvt.clear();
    f.Otpravitel.clear();
    EXPECT_EQ(parts(mailLink(f)),
              (QStringList{QStringLiteral("a.b@c.ru"), QStringLiteral("A&B=1?#x y"),
                           QStringLiteral("  Уважаемый(ая) Иванов И.И.")}));
    EXPECT_FALSE(mailLink(f).contains(QLatin1Char(' ')));

    AppState& s = start();
    s.form = f;
    PoslatEMailClick(s);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].what, QStringLiteral("url"));
    EXPECT_EQ(m_shell.calls[0].target, mailLink(f));
}

TEST_F(LettersTest, HelpAndOrderDocuments) {
    AppState& s = start();
    N10Click(s);
    N9851Click(s);
    N9581Click(s);
    ASSERT_EQ(m_shell.calls.size(), 3);
    EXPECT_EQ(m_shell.calls[0].target, file(QStringLiteral("Help/ReadMe.doc")));
    EXPECT_EQ(m_shell.calls[1].target, file(QStringLiteral("WhodWord/Prikaz140.doc")));
    EXPECT_EQ(m_shell.calls[2].target, file(QStringLiteral("WhodWord/Pril140.doc")));
    QFile::remove(file(QStringLiteral("WhodWord/Pril140.doc")));
    m_prompts.ok();
    N9581Click(s);
    EXPECT_EQ(
        m_prompts.last().text,
        QStringLiteral("Нет документа «%1».").arg(file(QStringLiteral("WhodWord/Pril140.doc"))));
}
