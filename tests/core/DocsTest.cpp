#include "core/documents/Office.h"
#include "core/documents/RtfTokens.h"
#include "core/store/Cp1251.h"
#include "core/store/TAnketa.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <utility>

using namespace zelmar;

namespace {

struct Layout {
    int offset;
    int size;
};

#define ZELMAR_FIELD(name)                                                                         \
    {                                                                                              \
        QStringLiteral(#name), {                                                                   \
            offsetof(TAnketa, name), sizeof(TAnketa::name)                                         \
        }                                                                                          \
    }

// Every field of the card record as the code lays it out.
const std::map<QString, Layout>& codeLayout() {
    static const std::map<QString, Layout> fields = {
        ZELMAR_FIELD(GurN),          ZELMAR_FIELD(DateOtkaza),   ZELMAR_FIELD(KUPData),
        ZELMAR_FIELD(KUPN),          ZELMAR_FIELD(KemWines),     ZELMAR_FIELD(DolgWines),
        ZELMAR_FIELD(PodpUtw),       ZELMAR_FIELD(DolgnPodp),    ZELMAR_FIELD(Motiv),
        ZELMAR_FIELD(LicoUN),        ZELMAR_FIELD(ProkOtmetka),  ZELMAR_FIELD(DataProvProkur),
        ZELMAR_FIELD(DeloNom),       ZELMAR_FIELD(DeloDat),      ZELMAR_FIELD(Statia),
        ZELMAR_FIELD(MestoNah),      ZELMAR_FIELD(RezPovtRasm),  ZELMAR_FIELD(KemProdlen),
        ZELMAR_FIELD(Srok),          ZELMAR_FIELD(DolgProdlen),  ZELMAR_FIELD(NeNashIshNom),
        ZELMAR_FIELD(NeNashaIshDat), ZELMAR_FIELD(WidDok),       ZELMAR_FIELD(DolgnAvt),
        ZELMAR_FIELD(FIOAvtor),      ZELMAR_FIELD(Adres),        ZELMAR_FIELD(NazwDok),
        ZELMAR_FIELD(Fabula),        ZELMAR_FIELD(Nositel),      ZELMAR_FIELD(Otpravitel),
        ZELMAR_FIELD(Listov),        ZELMAR_FIELD(Ekzem),        ZELMAR_FIELD(NashIshNom),
        ZELMAR_FIELD(NasheIshData),  ZELMAR_FIELD(Telefon),      ZELMAR_FIELD(EMail),
        ZELMAR_FIELD(NashWxodNom),   ZELMAR_FIELD(NashaWxodDat), ZELMAR_FIELD(Klu4Form1),
        ZELMAR_FIELD(AdminFIO),      ZELMAR_FIELD(DaWrSozd),     ZELMAR_FIELD(DWKorr),
        ZELMAR_FIELD(Otmetka),       ZELMAR_FIELD(PrintNet),
    };
    return fields;
}

#undef ZELMAR_FIELD

// The rows of the card record table of the file-format document: offset, size, type, field.
struct DocRow {
    int offset;
    int size;
    QString type;
    QString field;
};

QByteArray sourceFile(const char* relative) {
    QFile file(QStringLiteral(ZELMAR_SOURCE_DIR "/") + QLatin1String(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<DocRow> documentedCardRecord() {
    const QString text = QString::fromUtf8(sourceFile("docs/file-formats.md"));
    const qsizetype begin = text.indexOf(QStringLiteral("<!-- card-record-table"));
    const qsizetype end = text.indexOf(QStringLiteral("<!-- end card-record-table -->"));
    if (begin < 0 || end < begin)
        return {};
    static const QRegularExpression row(
        QStringLiteral(R"(^\|\s*(\d+)\s*\|\s*(\d+)\s*\|\s*([^|]*?)\s*\|\s*`?(\w*)`?\s*\|)"),
        QRegularExpression::MultilineOption);
    std::vector<DocRow> rows;
    auto it = row.globalMatch(text.mid(begin, end - begin));
    while (it.hasNext()) {
        const auto match = it.next();
        rows.push_back({match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3),
                        match.captured(4)});
    }
    return rows;
}

} // namespace

// The document an administrator repairs files with must say what the code does: every byte of
// the card is covered once, and every field stands at the offset and size the code uses.
TEST(FileFormatsDoc, CardRecordTableMatchesTheCode) {
    const std::vector<DocRow> rows = documentedCardRecord();
    ASSERT_FALSE(rows.empty()) << "docs/file-formats.md has no card record table";

    int next = 0;
    std::map<QString, Layout> documented;
    for (const DocRow& row : rows) {
        EXPECT_EQ(row.offset, next) << "gap or overlap before offset " << row.offset;
        next = row.offset + row.size;
        if (row.field.isEmpty())
            continue;
        documented[row.field] = {row.offset, row.size};
        const auto code = codeLayout().find(row.field);
        ASSERT_NE(code, codeLayout().end()) << row.field.toStdString() << " is not a card field";
        EXPECT_EQ(row.offset, code->second.offset) << row.field.toStdString();
        EXPECT_EQ(row.size, code->second.size) << row.field.toStdString();
        const int stringSize = row.type.startsWith(QStringLiteral("string["))
                                   ? row.type.mid(7).chopped(1).toInt() + 1
                                   : row.size;
        EXPECT_EQ(stringSize, row.size) << row.field.toStdString() << " " << row.type.toStdString();
    }
    EXPECT_EQ(next, TAnketa::Size);
    EXPECT_EQ(documented.size(), codeLayout().size()) << "a field of the card is not documented";
}

namespace {

// The words of a text, without the marks that only lay it out (list dashes, table bars).
QStringList words(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression letterOrDigit(QStringLiteral("[\\w#]"),
                                                  QRegularExpression::UseUnicodePropertiesOption);
    QStringList result;
    for (const QString& word : text.split(blanks, Qt::SkipEmptyParts)) {
        if (word.contains(letterOrDigit))
            result.append(word);
    }
    return result;
}

// A picture line of the guide's source: its caption is what the document shows.
const QRegularExpression& pictureLine() {
    static const QRegularExpression line(QStringLiteral("^!\\[(.*)\\]\\([^)]*\\)$"));
    return line;
}

QStringList markdownWords(const QString& markdown) {
    static const QRegularExpression separator(QStringLiteral("^\\|[-| ]+\\|$"));
    static const QRegularExpression marker(QStringLiteral("^(#+|-) "));
    QString text;
    for (QString line : markdown.split(QLatin1Char('\n'))) {
        if (separator.match(line.trimmed()).hasMatch())
            continue;
        line.replace(pictureLine(), QStringLiteral("\\1"));
        line.remove(marker).remove(QLatin1Char('`')).replace(QLatin1Char('|'), QLatin1Char(' '));
        text += line + QLatin1Char(' ');
    }
    return words(text);
}

// What a reader of an RTF document sees, as words: its text without the font table, the
// styles and the other groups that are not shown.
QStringList rtfWords(const QByteArray& rtf) {
    const std::vector<RtfToken> tokens = tokenizeRtf(rtf, QStringLiteral("guide"));
    QString shown;
    QByteArray bytes; // the code page's bytes not yet added to `shown`
    const auto flush = [&] {
        shown += fromCp1251(bytes.constData(), bytes.size());
        bytes.clear();
    };
    bool fallback = false; // the character standing in for a \uN before it, which is not shown
    int depth = 0;
    int hiddenFrom = 0; // the depth of the hidden group being skipped, 0 for none
    bool groupStarted = false;
    for (const RtfToken& token : tokens) {
        if (token.kind == RtfToken::GroupStart) {
            ++depth;
            groupStarted = true;
            continue;
        }
        if (token.kind == RtfToken::GroupEnd) {
            if (depth == hiddenFrom)
                hiddenFrom = 0;
            --depth;
            continue;
        }
        const bool first = std::exchange(groupStarted, false);
        if (hiddenFrom != 0)
            continue;
        if (first && (token.is("fonttbl") || token.is("colortbl") || token.is("stylesheet") ||
                      token.is("info") || token.is("pict") ||
                      (token.kind == RtfToken::ControlSymbol && token.byte == '*'))) {
            hiddenFrom = depth;
            continue;
        }
        if (token.kind == RtfToken::Text)
            bytes += token.raw(rtf).toByteArray().mid(std::exchange(fallback, false) ? 1 : 0);
        else if (token.kind == RtfToken::Hex && !std::exchange(fallback, false))
            bytes += static_cast<char>(token.byte);
        else if (token.kind == RtfToken::ControlSymbol && token.byte != '*')
            bytes += static_cast<char>(token.byte);
        else if (token.is("par") || token.is("cell") || token.is("row") || token.is("line") ||
                 token.is("tab"))
            bytes += ' ';
        else if (token.is("u") && token.hasParam) {
            flush();
            shown += QChar(static_cast<char16_t>(token.param));
            fallback = true;
        }
    }
    flush();
    return words(shown);
}

// Where a shipped document first says other words than its source, with the words around.
std::string firstDifference(const QStringList& shipped, const QStringList& source) {
    qsizetype at = 0;
    while (at < shipped.size() && at < source.size() && shipped[at] == source[at])
        ++at;
    if (at == shipped.size() && at == source.size())
        return {};
    const auto around = [at](const QStringList& words) {
        return words.mid(std::max<qsizetype>(0, at - 5), 12).join(QLatin1Char(' ')).toStdString();
    };
    return "word " + std::to_string(at) + ": shipped \"" + around(shipped) + "\", source \"" +
           around(source) + "\"";
}

} // namespace

// The template guide the program ships says what docs/templates.md says (scripts/template-guide
// writes it from there).
TEST(TemplatesDoc, TheShippedGuideIsTheDocument) {
    const QStringList documented =
        markdownWords(QString::fromUtf8(sourceFile("docs/templates.md")));
    const QStringList shipped = rtfWords(sourceFile("install/REPORT/Rep_Instr.doc"));
    ASSERT_GT(documented.size(), 100);
    EXPECT_EQ(firstDifference(shipped, documented), "")
        << "run scripts/template-guide after editing docs/templates.md";
}

// The user guide ("Описание") says what docs/guide.md says (scripts/user-guide writes it from
// there), with a picture wherever the source asks for one.
TEST(UserGuide, TheShippedGuideIsTheDocument) {
    const QString source = QString::fromUtf8(sourceFile("docs/guide.md"));
    const QByteArray shipped = sourceFile("install/Help/ReadMe.doc");
    const QStringList documented = markdownWords(source);
    ASSERT_GT(documented.size(), 1000);
    EXPECT_EQ(firstDifference(rtfWords(shipped), documented), "")
        << "run scripts/user-guide after editing docs/guide.md";
    qsizetype pictures = 0;
    for (const QString& line : source.split(QLatin1Char('\n')))
        pictures += pictureLine().match(line.trimmed()).hasMatch() ? 1 : 0;
    EXPECT_GT(pictures, 13);
    EXPECT_EQ(shipped.count("{\\pict\\pngblip"), pictures);
}

namespace {

QString oneLine(QString text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.replace(blanks, QStringLiteral(" "));
}

// The captions of the windows, as their forms give them. The choice dialog and the list editor
// are captioned by the command that opens them: those captions stand instead of theirs.
QStringList windowCaptions() {
    static const QRegularExpression title(
        QStringLiteral(R"(<property name="windowTitle">\s*<string>([^<]*)</string>)"));
    QStringList captions;
    const QDir forms(QStringLiteral(ZELMAR_SOURCE_DIR "/src/gui"));
    for (const QString& name : forms.entryList({QStringLiteral("*.ui")})) {
        if (name == u"TWibor.ui" || name == u"TRedak.ui")
            continue;
        const QString form =
            QString::fromUtf8(sourceFile(qPrintable(QStringLiteral("src/gui/") + name)));
        const QRegularExpressionMatch match = title.match(form);
        EXPECT_TRUE(match.hasMatch()) << name.toStdString() << " has no caption";
        captions.append(match.captured(1));
    }
    return captions + QStringList{
                          QStringLiteral("Удаление Анкеты из Главной картотеки"),
                          QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"),
                          QStringLiteral("Действие с Ответом к Карточке"),
                          QStringLiteral("Действие с Документом к Карточке"),
                          QStringLiteral("Действие с Картинкой к Карточке"),
                          QStringLiteral("Мотив отказа  Статья УПК УК РФ"),
                          QStringLiteral("Вид документа"),
                          QStringLiteral("Список наименований предприятий"),
                          QStringLiteral("Заявитель ФИО"),
                          QStringLiteral("Заявитель Должность"),
                          QStringLiteral("Список должностей"),
                      };
}

} // namespace

// Writer opens the guide as it is shipped, and the guide names every window a clerk meets by
// the caption the window shows.
TEST(UserGuide, OpensInWriterAndNamesEveryWindow) {
    if (officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir dir;
    const QString guide = dir.filePath(QStringLiteral("ReadMe.doc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELMAR_SOURCE_DIR "/install/Help/ReadMe.doc"), guide));
    convertWithOffice({guide}, QStringLiteral("txt:Text (encoded):UTF8"), dir.path());
    QFile converted(dir.filePath(QStringLiteral("ReadMe.txt")));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    const QString text = oneLine(QString::fromUtf8(converted.readAll()));
    ASSERT_TRUE(text.contains(QStringLiteral("Руководство пользователя")));
    const QStringList captions = windowCaptions();
    ASSERT_GT(captions.size(), 20);
    for (const QString& caption : captions)
        EXPECT_TRUE(text.contains(oneLine(caption))) << caption.toStdString();
}
