#include "core/backup/Compaction.h"
#include "core/backup/DeletionMarks.h"
#include "core/editor/Navigation.h"
#include "core/platform/Errors.h"
#include "core/texts/DateTexts.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kArchive = QStringLiteral("Baza/ArhAnket.dat");

class CompactionTest : public RegisterTest {
protected:
    // Five cards with keys 101..105, cards 2 and 4 marked for deletion, the others with marks
    // that only look alike; an archive holding card 900.
    AppState& startWithFive() {
        const QStringList marks = {QStringLiteral("УД"), QStringLiteral("уд"), QStringLiteral("у"),
                                   QStringLiteral("уд"), QStringLiteral("ud")};
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 5; ++i) {
            TAnketa card = makeCard(i, 46000 + i, 100 + i);
            card.Otmetka = marks[i - 1];
            std::memset(card.reserved, i, sizeof card.reserved);
            cards.push_back(card);
        }
        writeCards(kMain, cards);
        writeCards(kArchive, {makeCard(9, 45000, 900)});
        return start();
    }
    void expectRestart(const AppState& s, const QString& caption) {
        EXPECT_EQ(m_prompts.last().text, QStringLiteral("Включите программу снова"));
        EXPECT_EQ(m_prompts.last().caption, caption);
        EXPECT_EQ(s.exitCode, 0);
    }
};

} // namespace

TEST_F(CompactionTest, TogglingTheMarkOfTheSelectedRow) {
    AppState& s = startWithFive();
    SpisokMouseDown(s, 3);
    marks::OtmDelClick(s); // "у" is no deletion mark, but a mark: blanked
    marks::OtmDelClick(s);
    EXPECT_EQ(s.form.Otmetka, QStringLiteral("уд"));
    EXPECT_TRUE(markedForDeletion(readCards(kMain)[2]));
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(2, CardGridModel::Primechanie)).toString(),
              QStringLiteral("уд"));
    marks::OtmDelClick(s);
    EXPECT_EQ(s.form.Otmetka, QString());
    EXPECT_EQ(readCards(kMain)[2].Otmetka.size(), 0);
    // The editor stays on its card: Next shows the fourth.
    SpeedButNextClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("104"));

    // A row other than the shown card leaves the editor alone.
    s.SpisokRow = 1;
    marks::OtmDelClick(s);
    EXPECT_EQ(readCards(kMain)[0].Otmetka.size(), 0);
    EXPECT_EQ(s.form.Otmetka, QStringLiteral("уд"));
    EXPECT_EQ(readCards(kMain)[0].reserved[0], 1); // the rest of the card as it was
}

TEST_F(CompactionTest, MarkedCardsGoToTheArchive) {
    AppState& s = startWithFive();
    m_prompts.choose(2).no().ok();
    N20Click(s);
    EXPECT_EQ(m_prompts.log()[0].caption,
              QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"));
    EXPECT_EQ(m_prompts.log()[1].text, QStringLiteral("Перенумеровать ?"));
    EXPECT_EQ(m_prompts.log()[1].caption, QStringLiteral("Перенумерация картотеки"));
    expectRestart(s, QStringLiteral("Программа сейчас выключится!!!"));
    EXPECT_EQ(keys(kMain), (std::vector<int>{101, 103, 105}));
    EXPECT_EQ(keys(kArchive), (std::vector<int>{900, 102, 104}));
    EXPECT_EQ(readCards(kMain)[1].reserved[0], 3);
    EXPECT_FALSE(QFile::exists(file(kMain + QStringLiteral(".new"))));
}

TEST_F(CompactionTest, DroppingWithRenumberingAndAMissingArchive) {
    AppState& s = startWithFive();
    QFile::remove(file(kArchive));
    m_prompts.choose(1).yes().ok();
    N20Click(s);
    const int k = NewStamp(m_clock);
    EXPECT_EQ(keys(kMain), (std::vector<int>{k, k + 20, k + 40}));
    EXPECT_TRUE(QFile::exists(file(kArchive)));
    EXPECT_TRUE(keys(kArchive).empty());
    expectRestart(s, QStringLiteral("Программа сейчас выключится!!!"));
}

TEST_F(CompactionTest, NothingHappensWithoutRightsOrConsent) {
    AppState& s = startWithFive();
    const QByteArray before = readBytes(kMain);
    m_prompts.choose(3).choose(0).no().no().no();
    N20Click(s);
    N20Click(s);
    N2Click(s);
    N18Click(s);
    N19Click(s);
    s.access.CurUserAccess = QStringLiteral("W");
    m_prompts.ok();
    N20Click(s);
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Это может сделать только главный администратор"));
    EXPECT_EQ(readBytes(kMain), before);
    EXPECT_EQ(keys(kArchive), (std::vector<int>{900}));
    EXPECT_FALSE(s.exitCode);
}

TEST_F(CompactionTest, CompactingAndClearingTheArchiveAndTheMainFile) {
    TAnketa marked = makeCard(8, 45000, 800);
    marked.Otmetka = QStringLiteral("уд");
    AppState& s = startWithFive();
    writeCards(kArchive, {makeCard(7, 45000, 700), marked, makeCard(9, 45000, 900)});
    s.archive.openForUpdate(file(kArchive));
    m_prompts.yes().ok();
    N2Click(s);
    EXPECT_EQ(m_prompts.log()[0].text, QStringLiteral("Удалить из Архива карточки, с меткой уд?"));
    EXPECT_EQ(m_prompts.log()[0].caption, QStringLiteral("Сжатие Архива"));
    expectRestart(s, QStringLiteral("Программа сейчас выключится!!!"));
    EXPECT_EQ(keys(kArchive), (std::vector<int>{700, 900}));

    m_prompts.yes().ok().yes().ok();
    N19Click(s);
    EXPECT_EQ(m_prompts.log()[2].caption, QStringLiteral("Очистка архивной картотеки"));
    N18Click(s);
    EXPECT_EQ(m_prompts.log()[4].text, QStringLiteral("Удалить из картотеки все Карточки?"));
    expectRestart(s, QStringLiteral("Программа сейчас выключится"));
    EXPECT_TRUE(readBytes(kArchive).isEmpty() && QFile::exists(file(kArchive)));
    EXPECT_TRUE(readBytes(kMain).isEmpty() && QFile::exists(file(kMain)));
}

TEST_F(CompactionTest, AFailedWriteLeavesEveryFileAsItWas) {
    // Writes stop at 12 cards. The archive holds more already, so moving cards there fails;
    // compacting it would write more than 12 cards into its new file.
    std::vector<TAnketa> cards;
    for (int i = 1; i <= 40; ++i) {
        TAnketa card = makeCard(i, 46000, 100 + i);
        card.Otmetka = i % 4 ? QStringLiteral("уд") : QStringLiteral("ab");
        cards.push_back(card);
    }
    writeCards(kMain, cards);
    writeCards(kArchive, std::vector<TAnketa>(20, makeCard(9, 45000, 900)));
    AppState& s = start();
    SpisokMouseDown(s, 5);
    const QByteArray main = readBytes(kMain);
    const QByteArray archive = readBytes(kArchive);
    withFileSizeLimit(12 * TAnketa::Size, [&] {
        m_prompts.choose(2).yes().yes();
        EXPECT_THROW(N20Click(s), IoError);
        EXPECT_THROW(N2Click(s), IoError);
    });
    EXPECT_EQ(readBytes(kMain), main);
    EXPECT_EQ(readBytes(kArchive), archive);
    EXPECT_FALSE(QFile::exists(file(kMain + QStringLiteral(".new"))));
    EXPECT_FALSE(QFile::exists(file(kArchive + QStringLiteral(".new"))));
    EXPECT_FALSE(s.exitCode);
    // The editor goes on with the card it showed.
    EXPECT_EQ(s.main.pos(), 4);
    SpeedButNextClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("106"));
}
