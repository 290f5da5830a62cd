#include "core/editor/ReferenceLists.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/OfficialsEditor.h"
#include "core/store/Officials.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class ReferenceListsTest : public RegisterTest {
protected:
    QByteArray cp1251(const char16_t* text) { return toCp1251(QString::fromUtf16(text)); }
    std::vector<TWinesRec> readOfficials() {
        const QByteArray bytes = readBytes(QStringLiteral("Baza/Wines.dat"));
        std::vector<TWinesRec> records(static_cast<size_t>(bytes.size()) / sizeof(TWinesRec));
        if (!records.empty())
            std::memcpy(records.data(), bytes.constData(), records.size() * sizeof(TWinesRec));
        return records;
    }
    QStringList names(const AppState& s) {
        QStringList result;
        for (const Official& row : s.officials.rows)
            result << row.name;
        return result;
    }
};

} // namespace

TEST_F(ReferenceListsTest, ListsLoadSortedAndAreWrittenBackAtExit) {
    prepareFolder();
    writeBytes(QStringLiteral("Baza/StatiaUK.txt"), cp1251(u"б\r\nА\r\nв\r\n"));
    // Lines ended by LF alone, no ending on the last line, a very long line, an empty entry.
    writeBytes(QStringLiteral("Baza/MestoNah.txt"),
               cp1251(u"Том 2\nТом 1\n\n") + QByteArray(500, 'x') + cp1251(u"\nТом 3"));
    QFile::remove(file(QStringLiteral("Baza/LicoUN.txt")));
    AppState& s = newState();
    FormCreate(s);

    EXPECT_EQ(s.lists.items(ListId::Statia),
              (QStringList{QStringLiteral("А"), QStringLiteral("б"), QStringLiteral("в")}));
    EXPECT_EQ(s.lists.items(ListId::MestoNah).size(), 5);
    EXPECT_EQ(s.lists.items(ListId::MestoNah).first(), QString());
    EXPECT_TRUE(s.lists.items(ListId::LicoUN).isEmpty());

    m_prompts.no(); // no backup
    N4Click(s);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/StatiaUK.txt")), cp1251(u"А\r\nб\r\nв\r\n"));
    EXPECT_EQ(readBytes(QStringLiteral("Baza/MestoNah.txt")),
              cp1251(u"\r\nТом 1\r\nТом 2\r\nТом 3\r\n") + QByteArray(500, 'x') + "\r\n");
    EXPECT_EQ(readBytes(QStringLiteral("Baza/LicoUN.txt")), QByteArray());
    EXPECT_EQ(s.exitCode, 0);
    EXPECT_FALSE(s.main.isOpen());
    EXPECT_FALSE(s.officialsFile.isOpen());
}

TEST_F(ReferenceListsTest, EnterAddsNewTextsOnly) {
    prepareFolder();
    writeBytes(QStringLiteral("Baza/MotivOt.txt"), cp1251(u"Кража\r\nУгроза\r\n"));
    AppState& s = start();
    s.form.Motiv = QStringLiteral("кража");
    appendOnEnter(s, ListId::Motiv);
    EXPECT_EQ(s.lists.items(ListId::Motiv).size(), 2);
    EXPECT_EQ(readBytes(QStringLiteral("Temp/Slowar.txt")), cp1251(u"Кража\r\nУгроза\r\n"));

    s.form.Motiv.clear();
    appendOnEnter(s, ListId::Motiv);
    EXPECT_EQ(s.lists.items(ListId::Motiv).size(), 2);

    s.form.Motiv = QStringLiteral("мошенничество");
    appendOnEnter(s, ListId::Motiv);
    EXPECT_EQ(s.lists.items(ListId::Motiv),
              (QStringList{QStringLiteral("Кража"), QStringLiteral("мошенничество"),
                           QStringLiteral("Угроза")}));
    EXPECT_EQ(readBytes(QStringLiteral("Temp/Slowar.txt")),
              cp1251(u"Кража\r\nмошенничество\r\nУгроза\r\n"));
    // The list file gets it only at exit.
    EXPECT_EQ(readBytes(QStringLiteral("Baza/MotivOt.txt")), cp1251(u"Кража\r\nУгроза\r\n"));
}

TEST_F(ReferenceListsTest, OfficialsTableFromLastYearsCards) {
    const double today = std::floor(kTestNow);
    auto card = [&](int n, double date, const QString& name, const QString& position) {
        TAnketa c = makeCard(n, date, 1000 + n);
        c.KemWines = name;
        c.DolgWines = position;
        return c;
    };
    writeCards(
        QStringLiteral("Baza/Anketi.dat"),
        {card(1, today - 400, QStringLiteral("Старый С.С."), QStringLiteral("Участковый")),
         card(2, today - 100, QStringLiteral("Петров П.П."), QStringLiteral("Зам.начальника ОМВД")),
         card(3, today - 50, QStringLiteral(" Петров П.П. "), QStringLiteral("Другая")),
         card(4, today - 10, QStringLiteral("петров п.п."), QStringLiteral("Участковый")),
         card(5, today - 365, QStringLiteral("Граничный Г.Г."), QStringLiteral("Участковый")),
         card(6, today, QString(35, QChar(u'Д')), QStringLiteral("Дознаватель"))});
    AppState& s = start();
    const std::vector<TWinesRec> officials = readOfficials();
    ASSERT_EQ(officials.size(), 3u);
    EXPECT_EQ(officials[0].name.text(), QStringLiteral("Петров П.П."));
    EXPECT_EQ(officials[0].position.text(), QStringLiteral("Зам.начальника ОМВД"));
    EXPECT_EQ(officials[1].name.text(), QStringLiteral("петров п.п."));
    EXPECT_EQ(officials[2].name.text(), QString(30, QChar(u'Д')));

    FormShow(s);
    EXPECT_EQ(s.officials.rows.size(), 3);
    EXPECT_EQ(s.lists.items(ListId::KemWines).size(), 3);
    EXPECT_EQ(s.lists.items(ListId::PodpUtw), s.lists.items(ListId::KemWines));
    EXPECT_EQ(s.lists.items(ListId::DolgnPodp), s.lists.items(ListId::DolgWines));
    EXPECT_TRUE(s.lists.items(ListId::DolgWines).contains(QStringLiteral("Начальник ОМВД")));
}

TEST_F(ReferenceListsTest, DefaultOfficialsAndThePickers) {
    AppState& s = start();
    FormShow(s);
    EXPECT_EQ(names(s), (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Петров П.П."),
                                     QStringLiteral("Сидоров С.С.")}));
    s.form.PodpUtw = QStringLiteral("Петров П.П.");
    PodpUtwChange(s);
    EXPECT_EQ(s.form.DolgnPodp, QStringLiteral("Зам.начальника ОМВД"));
    s.form.PodpUtw = QStringLiteral("Неизвестный Н.Н.");
    s.form.DolgnPodp = QStringLiteral("своя");
    PodpUtwChange(s);
    EXPECT_EQ(s.form.DolgnPodp, QStringLiteral("своя"));
    s.form.KemWines = QStringLiteral("  Иванов И.И. ");
    KemWinesChange(s);
    EXPECT_EQ(s.form.DolgWines, QStringLiteral("Начальник ОМВД"));

    // Two rows with one name: the upper one counts.
    s.officials.rows.append({QStringLiteral("Иванов И.И."), QStringLiteral("Другой")});
    s.form.KemProdlen = QStringLiteral("Иванов И.И.");
    KemProdlenChange(s);
    EXPECT_EQ(s.form.DolgProdlen, QStringLiteral("Начальник ОМВД"));
}

TEST_F(ReferenceListsTest, OfficialsEditorRows) {
    AppState& s = start();
    TFIO_DolgnFormShow(s);
    Tab_F_DClick(s, 2);
    EXPECT_EQ(s.officials.Nomer, QStringLiteral("2"));
    EXPECT_EQ(s.officials.FIO, QStringLiteral("Петров П.П."));
    EXPECT_EQ(s.officials.Dolgnost1, QStringLiteral("Зам.начальника ОМВД"));
    Tab_F_DClick(s, 9); // below the last row: nothing changes
    EXPECT_EQ(s.officials.selected, 2);

    s.officials.FIO = QStringLiteral("Новый Н.Н.");
    s.officials.Dolgnost1 = QStringLiteral("Дознаватель");
    PlusRabClick(s);
    EXPECT_EQ(names(s),
              (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Петров П.П."),
                           QStringLiteral("Новый Н.Н."), QStringLiteral("Сидоров С.С.")}));
    EXPECT_EQ(s.officials.cursorRow, 3);
    EXPECT_EQ(s.officials.selected, 2);

    Tab_F_DClick(s, 4);
    OtmDelClick(s);
    EXPECT_EQ(names(s), (QStringList{QStringLiteral("Иванов И.И."), QStringLiteral("Петров П.П."),
                                     QStringLiteral("Новый Н.Н.")}));

    Tab_F_DClick(s, 1);
    s.officials.FIO = QStringLiteral("Иванов И.И.");
    s.officials.Dolgnost1 = QStringLiteral("Начальник ОВД");
    BitBtn2Click(s);
    EXPECT_EQ(s.officials.rows[0].position, QStringLiteral("Начальник ОВД"));

    // An empty table takes its first row too.
    s.officials.rows.clear();
    s.officials.selected = 0;
    PlusRabClick(s);
    EXPECT_EQ(s.officials.rows.size(), 1);
}

TEST_F(ReferenceListsTest, SortComparesWindows1251Bytes) {
    AppState& s = start();
    s.officials.rows = {{QStringLiteral("иванов"), QStringLiteral("1")},
                        {QStringLiteral("Яковлев"), QStringLiteral("2")},
                        {QStringLiteral("Агеев"), QStringLiteral("3")},
                        {QStringLiteral("Ёлкин"), QStringLiteral("4")}};
    BitBtn1Click(s);
    EXPECT_EQ(names(s), (QStringList{QStringLiteral("Ёлкин"), QStringLiteral("Агеев"),
                                     QStringLiteral("Яковлев"), QStringLiteral("иванов")}));
    EXPECT_EQ(s.officials.rows[1].position, QStringLiteral("3"));
}

TEST_F(ReferenceListsTest, TheSelectedOfficialStaysSelectedThroughTheSort) {
    AppState& s = start();
    s.officials.rows = {{QStringLiteral("иванов"), QStringLiteral("1")},
                        {QStringLiteral("Яковлев"), QStringLiteral("2")},
                        {QStringLiteral("Агеев"), QStringLiteral("3")}};
    Tab_F_DClick(s, 1);
    BitBtn1Click(s);
    EXPECT_EQ(s.officials.selected, 3);
    EXPECT_EQ(s.officials.Nomer, QStringLiteral("3"));
    EXPECT_EQ(s.officials.FIO, QStringLiteral("иванов"));
    // Replace changes him, not whoever came into his old row.
    s.officials.FIO = QStringLiteral("Иванов И.И.");
    BitBtn2Click(s);
    EXPECT_EQ(names(s), (QStringList{QStringLiteral("Агеев"), QStringLiteral("Яковлев"),
                                     QStringLiteral("Иванов И.И.")}));
}

TEST_F(ReferenceListsTest, SavingTheTableCutsNamesAndRefillsTheLists) {
    AppState& s = start();
    FormShow(s);
    TFIO_DolgnFormShow(s);
    s.officials.rows[0].name = QString(31, QChar(u'Ж'));
    SaveClick(s);
    const std::vector<TWinesRec> officials = readOfficials();
    ASSERT_EQ(officials.size(), 3u);
    EXPECT_EQ(officials[0].name.text(), QString(30, QChar(u'Ж')));
    EXPECT_TRUE(s.lists.items(ListId::KemWines).contains(QString(30, QChar(u'Ж'))));
    EXPECT_EQ(s.lists.items(ListId::KemProdlen), s.lists.items(ListId::KemWines));
}

TEST_F(ReferenceListsTest, MergingPositionsKeepsOneOfEach) {
    AppState& s = start();
    TFIO_DolgnFormShow(s);
    s.officials.rows.append({QStringLiteral("Кто-то"), QStringLiteral("начальник омвд")});
    s.officials.rows.append({QStringLiteral("Новый"), QStringLiteral("Курьер")});
    const qsizetype before = s.lists.items(ListId::Dolgnost1).size();
    Tabl_BoxClick(s);
    const QStringList& merged = s.lists.items(ListId::Dolgnost1);
    EXPECT_EQ(merged.size(), before + 1);
    EXPECT_EQ(merged.count(QStringLiteral("Начальник ОМВД")), 1);
    EXPECT_FALSE(merged.contains(QStringLiteral("начальник омвд")));
    EXPECT_FALSE(merged.contains(QStringLiteral("Должность")));
    EXPECT_TRUE(merged.contains(QStringLiteral("Курьер")));
    // Nothing is written until the positions are edited.
    EXPECT_FALSE(readBytes(QStringLiteral("Baza/DolgWin.txt")).contains(cp1251(u"Курьер")));
}

TEST_F(ReferenceListsTest, ListEditorWritesTheEditedLines) {
    AppState& s = start();
    FormShow(s);
    const QByteArray officialsBefore = readBytes(QStringLiteral("Baza/Wines.dat"));
    m_prompts.edit([](const QString& text) {
        EXPECT_TRUE(text.isEmpty());
        return QStringLiteral("Сидоров\n\nАбрамов\n");
    });
    N14Click(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Заявитель ФИО"));
    EXPECT_EQ(s.lists.items(ListId::FIOAvtor),
              (QStringList{QString(), QStringLiteral("Абрамов"), QStringLiteral("Сидоров")}));
    EXPECT_EQ(readBytes(QStringLiteral("Baza/FIOAvtor.txt")),
              cp1251(u"\r\nАбрамов\r\nСидоров\r\n"));
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Wines.dat")), officialsBefore);

    m_prompts.edit([](const QString& text) {
        EXPECT_TRUE(text.startsWith(QStringLiteral("Дознаватель\n")));
        return QStringLiteral("Курьер\nАдминистратор");
    });
    DolgWinClick(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Список должностей"));
    const QStringList positions{QStringLiteral("Администратор"), QStringLiteral("Курьер")};
    EXPECT_EQ(s.lists.items(ListId::Dolgnost1), positions);
    EXPECT_EQ(s.lists.items(ListId::DolgWines), positions);
    EXPECT_EQ(s.lists.items(ListId::DolgProdlen), positions);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/DolgWin.txt")),
              cp1251(u"Администратор\r\nКурьер\r\n"));

    for (auto [handler, caption] : {std::pair{&MotClick, u"Мотив отказа  Статья УПК УК РФ"},
                                    std::pair{&WidDokumClick, u"Вид документа"},
                                    std::pair{&PredpriClick, u"Список наименований предприятий"},
                                    std::pair{&N21Click, u"Заявитель Должность"}}) {
        m_prompts.edit([](const QString& text) { return text; });
        handler(s);
        EXPECT_EQ(m_prompts.last().caption, QString::fromUtf16(caption));
    }
}
