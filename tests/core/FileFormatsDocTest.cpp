#include "core/store/TAnketa.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstddef>
#include <map>

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

std::vector<DocRow> documentedCardRecord() {
    QFile file(QStringLiteral(ZELMAR_SOURCE_DIR "/docs/file-formats.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
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
