#include "core/editor/InsertDelete.h"
#include "core/access/Users.h"
#include "core/editor/CardCommands.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/editor/WorkingFile.h"
#include "core/platform/Errors.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class InsertDeleteTest : public RegisterTest {
protected:
    // K1, K2, K3 with keys 101, 102, 103, each with its own reserved tail.
    AppState& startWithThree(std::vector<TAnketa> extra = {}) {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 3; ++i) {
            TAnketa card = makeCard(i, dayNumber(QDate(2026, 1, i)), 100 + i);
            std::memset(card.reserved, 0x10 * i, sizeof card.reserved);
            cards.push_back(card);
        }
        cards.insert(cards.end(), extra.begin(), extra.end());
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        return start();
    }
    std::vector<int> mainKeys() { return keys(QStringLiteral("Baza/Anketi.dat")); }
    std::vector<int> archiveKeys() { return keys(QStringLiteral("Baza/ArhAnket.dat")); }
};

// Counts what a command tells the progress panel.
class RecordingProgress : public Progress {
public:
    int begun = 0;
    int ended = 0;
    std::array<int, kMeters> last{-1, -1};

protected:
    void started() override { ++begun; }
    void show(int meter, int percent) override { last[static_cast<size_t>(meter)] = percent; }
    void finished() override { ++ended; }
};

} // namespace

TEST_F(InsertDeleteTest, DeleteErasesTheShownCard) {
    AppState& s = startWithThree();
    SpisokMouseDown(s, 2);
    m_prompts.choose(1);
    nDeleteClick(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Удаление Анкеты из Главной картотеки"));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Удалить|В Архив|Ничего не делать"));
    EXPECT_EQ(mainKeys(), (std::vector<int>{101, 103}));
    EXPECT_TRUE(keys(QStringLiteral("Baza/ArhAnket.dat")).empty());
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("103"));
    EXPECT_EQ(s.Spisok.rowCount(), 2);
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(1, CardGridModel::Pp)).toString(), QStringLiteral("2"));
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(1, CardGridModel::Key)).toString(),
              QStringLiteral("103"));
    EXPECT_EQ(s.SpisokRow, 2);
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("2"));
    EXPECT_EQ(s.working.size(), 0);
    // Cards keep their own reserved tails when they move.
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat"))[1].reserved[0], 0x30);
}

TEST_F(InsertDeleteTest, DeleteMovesEveryCardWithTheKeyToTheArchive) {
    TAnketa twin = makeCard(9, dayNumber(QDate(2026, 2, 1)), 102);
    AppState& s = startWithThree({twin});
    writeCards(QStringLiteral("Baza/ArhAnket.dat"), {});
    SpisokMouseDown(s, 2);
    m_prompts.choose(2);
    nDeleteClick(s);
    EXPECT_EQ(mainKeys(), (std::vector<int>{101, 103}));
    EXPECT_EQ(keys(QStringLiteral("Baza/ArhAnket.dat")), (std::vector<int>{102, 102}));
    EXPECT_EQ(s.archive.size(), 2);

    // The last card removed: the card before it is shown.
    SpeedButEndClick(s);
    m_prompts.choose(1);
    nDeleteClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("101"));
}

TEST_F(InsertDeleteTest, DeletingTheOnlyCardLeavesABlankNewCard) {
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(1, 46000, 555)});
    AppState& s = start();
    m_prompts.choose(1);
    nDeleteClick(s);
    EXPECT_TRUE(mainKeys().empty());
    EXPECT_EQ(s.EditState, CardEditState::New);
    EXPECT_EQ(s.form.GurN, QStringLiteral("0"));
    EXPECT_FALSE(s.buttons.nNew || s.buttons.nDelete || s.buttons.N7);
    EXPECT_EQ(s.Spisok.rowCount(), 0);
}

TEST_F(InsertDeleteTest, DeleteAsksAndRespectsRights) {
    AppState& s = startWithThree();
    m_prompts.choose(3).choose(0);
    nDeleteClick(s);
    nDeleteClick(s);
    EXPECT_EQ(mainKeys(), (std::vector<int>{101, 102, 103}));

    s.access.CurUserAccess = QStringLiteral("W");
    m_prompts.ok();
    nDeleteClick(s);
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Это может сделать только главный администратор"));
    EXPECT_EQ(mainKeys(), (std::vector<int>{101, 102, 103}));
}

TEST_F(InsertDeleteTest, InsertAfterStoresABlankCardBehindTheShownOne) {
    AppState& s = startWithThree();
    SpeedButBegClick(s);
    m_clock.advance(0.01);
    m_prompts.yes();
    nWstavitClick(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Вставить карточку ?"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("После карточки 1"));

    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 4u);
    EXPECT_EQ(cards[0].Klu4Form1, 101);
    EXPECT_EQ(cards[2].Klu4Form1, 102);
    EXPECT_EQ(cards[3].Klu4Form1, 103);
    const TAnketa& inserted = cards[1];
    EXPECT_EQ(inserted.GurN, 1);
    EXPECT_EQ(inserted.PrintNet, 0);
    EXPECT_EQ(inserted.Klu4Form1, NewStamp(m_clock));
    EXPECT_EQ(inserted.DateOtkaza, std::floor(kTestNow));
    EXPECT_EQ(inserted.KUPData, EmptyDate);
    EXPECT_EQ(inserted.DeloDat, EmptyDate);
    EXPECT_EQ(inserted.DaWrSozd, kTestNow + 0.01);
    EXPECT_EQ(inserted.AdminFIO.text(), QStringLiteral("Администратор"));
    EXPECT_EQ(inserted.reserved[0], 0x10); // the shown card's tail
    EXPECT_EQ(cards[2].reserved[0], 0x20);

    EXPECT_EQ(readBytes(QStringLiteral("Temp/RabAnket.dat")),
              readBytes(QStringLiteral("Baza/Anketi.dat")));
    EXPECT_EQ(s.SpisokRow, 2);
    EXPECT_EQ(s.Spisok.rowCount(), 4);
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(1, CardGridModel::Key)).toString(),
              QString::number(inserted.Klu4Form1));
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(2, CardGridModel::Key)).toString(),
              QStringLiteral("102"));
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_EQ(s.form.GurN, QStringLiteral("0"));
    EXPECT_EQ(s.NavIndex, 3);

    // The next Save fills the inserted card in place.
    s.form.GurN = QStringLiteral("77");
    nSaveClick(s);
    const std::vector<TAnketa> after = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[1].GurN, 77);
    EXPECT_EQ(after[1].Klu4Form1, inserted.Klu4Form1);
}

TEST_F(InsertDeleteTest, InsertAfterTheLastCardIsRefused) {
    AppState& s = startWithThree();
    SpeedButEndClick(s);
    m_prompts.ok();
    nWstavitClick(s);
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Воспользуйтесь кнопками Дабавить и Запомнить"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Вы находитесь в конце таблицы"));
    SpeedButBegClick(s);
    m_prompts.no();
    nWstavitClick(s);
    EXPECT_EQ(mainKeys(), (std::vector<int>{101, 102, 103}));
}

TEST_F(InsertDeleteTest, AFailedRebuildLeavesTheMainCardFileAsItWas) {
    std::vector<TAnketa> many;
    for (int i = 4; i <= 40; ++i)
        many.push_back(makeCard(i, dayNumber(QDate(2026, 1, 1)) + i, 100 + i));
    AppState& s = startWithThree(many);
    nGlRabClick(s);
    const QByteArray workingBefore = readBytes(QStringLiteral("Temp/RabAnket.dat"));
    const QByteArray mainBefore = readBytes(QStringLiteral("Baza/Anketi.dat"));
    const QByteArray archiveBefore = readBytes(QStringLiteral("Baza/ArhAnket.dat"));
    SpisokMouseDown(s, 2);

    // Writes stop after ten records, as on a full disk.
    withFileSizeLimit(10 * TAnketa::Size, [&] {
        m_prompts.choose(2);
        EXPECT_THROW(nDeleteClick(s), IoError);
        m_prompts.yes();
        EXPECT_THROW(nWstavitClick(s), IoError);
    });
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Anketi.dat")), mainBefore);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/ArhAnket.dat")), archiveBefore);
    EXPECT_EQ(readBytes(QStringLiteral("Temp/RabAnket.dat")), workingBefore);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Baza/Anketi.dat.new"))));
    // The editor goes on with the card it showed.
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("102"));
    EXPECT_EQ(s.main.pos(), 1);
    EXPECT_EQ(s.main.size(), 40);
    SpeedButNextClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("103"));
}

TEST_F(InsertDeleteTest, ACardIsNeverLostWhenTheRebuiltFileCouldNotBeOpenedAgain) {
    // Under a umask that leaves a new file no right to be written, the rebuilt main card file
    // could not be opened again after taking the old one's place.
    QFile::setPermissions(root(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
    for (const bool insert : {false, true}) {
        SCOPED_TRACE(insert ? "Insert after" : "Delete to the archive");
        const int failed = asUnprivilegedUser([&] {
            QDir(file(QStringLiteral("Baza"))).removeRecursively();
            int failures = 0;
            AppState& s = startWithThree();
            SpisokMouseDown(s, 2);
            if (insert)
                m_prompts.yes();
            else
                m_prompts.choose(2);
            const mode_t umaskBefore = ::umask(0277);
            try {
                insert ? nWstavitClick(s) : nDeleteClick(s);
            } catch (...) {
                failures |= 1;
            }
            ::umask(umaskBefore);
            if (insert ? mainKeys().size() != 4 : mainKeys() != std::vector<int>{101, 103})
                failures |= 2;
            if (archiveKeys() != (insert ? std::vector<int>{} : std::vector<int>{102}))
                failures |= 4;
            // The next command and the next start work.
            try {
                nNewClick(s);
                s.form.GurN = QStringLiteral("9");
                nSaveClick(s);
            } catch (...) {
            }
            if (mainKeys().size() != (insert ? 5u : 3u))
                failures |= 8;
            AppState& again = newState();
            FormCreate(again);
            if (!again.main.isOpen() || again.main.size() != (insert ? 5 : 3))
                failures |= 16;
            return failures;
        });
        EXPECT_EQ(failed, 0);
    }
}

TEST_F(InsertDeleteTest, InsertAfterSaysWhatWasDoneWhenTheWorkingCopyFails) {
    AppState& s = startWithThree();
    nGlRabClick(s);
    const QByteArray workingBefore = readBytes(QStringLiteral("Temp/RabAnket.dat"));
    // A folder stands where the copy of the working card file would be written.
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("Temp/RabAnket.dat.new")));
    SpeedButBegClick(s);
    m_prompts.yes().ok();
    nWstavitClick(s);
    EXPECT_TRUE(m_prompts.last().text.startsWith(
        QStringLiteral("Карточка вставлена после карточки 1.\n\nРабочую картотеку записать не "
                       "удалось, она осталась прежней:\nFile access denied")));
    EXPECT_EQ(mainKeys().size(), 4u);
    EXPECT_EQ(readBytes(QStringLiteral("Temp/RabAnket.dat")), workingBefore);
    EXPECT_EQ(s.working.size(), 1);
    EXPECT_EQ(s.SpisokRow, 2);
}

TEST_F(InsertDeleteTest, InsertAndDeleteShowTheirProgress) {
    std::vector<TAnketa> many;
    for (int i = 4; i <= 300; ++i)
        many.push_back(makeCard(i, dayNumber(QDate(2026, 1, 1)) + i, 100 + i));
    AppState& s = startWithThree(many);
    RecordingProgress progress;
    s.progress = &progress;
    SpeedButBegClick(s);
    m_prompts.yes();
    nWstavitClick(s);
    EXPECT_EQ(progress.begun, 1);
    EXPECT_EQ(progress.ended, 1);
    EXPECT_EQ(progress.last, (std::array<int, 2>{100, 100}));
    m_prompts.choose(1);
    nDeleteClick(s);
    EXPECT_EQ(progress.begun, 2);
    EXPECT_EQ(progress.ended, 2);
}
