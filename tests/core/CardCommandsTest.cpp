#include "core/editor/CardCommands.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/Navigation.h"
#include "core/platform/Errors.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {

double day(int y, int m, int d) {
    return dayNumber(QDate(y, m, d));
}

class CardCommandsTest : public RegisterTest {
protected:
    // A new card typed into the editor and saved.
    void saveNew(AppState& s, int number, double date) {
        nNewClick(s);
        s.form.GurN = QString::number(number);
        s.form.DateOtkaza = date;
        m_clock.advance(1.0 / 86400);
        nSaveClick(s);
    }
};

} // namespace

TEST_F(CardCommandsTest, NewOnAnEmptyRegisterProposesNumberOne) {
    AppState& s = start();
    nNewClick(s);
    EXPECT_EQ(s.form.GurN, QStringLiteral("1"));
    EXPECT_EQ(s.form.Fabula, QStringLiteral("По факту "));
    EXPECT_EQ(s.form.FabOstZn, QStringLiteral("192"));
    EXPECT_EQ(s.focus, QStringLiteral("GurN"));
    EXPECT_EQ(s.EditState, CardEditState::New);
    EXPECT_EQ(s.form.Klu4Form1, QString::number(NewStamp(m_clock)));
    EXPECT_EQ(s.form.DaWrSozd, StampText(NewStamp(m_clock)));
}

TEST_F(CardCommandsTest, NewProposesTheLastNumberPlusOneAndHidesCardButtons) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(7, day(2026, 1, 5), 100), makeCard(41, day(2026, 1, 6), 200)});
    AppState& s = start();
    SpeedButBegClick(s);
    nNewClick(s);
    EXPECT_EQ(s.form.GurN, QStringLiteral("42"));
    EXPECT_FALSE(s.buttons.nNew || s.buttons.nCopiy || s.buttons.nPoisk || s.buttons.nDelete ||
                 s.buttons.nWstavit || s.buttons.N7);
    EXPECT_TRUE(s.buttons.nOtmena);
    EXPECT_TRUE(s.main.eof());
}

TEST_F(CardCommandsTest, SaveAppendsANewCardDurablyWithItsStamps) {
    AppState& s = start();
    nNewClick(s);
    s.form.GurN = QStringLiteral("1");
    s.form.FIOAvtor = QStringLiteral("Иванов И.И.");
    s.form.Fabula = QString(250, QChar(u'ф'));
    s.form.Otmetka = QStringLiteral("абв");
    const QString key = s.form.Klu4Form1;
    nSaveClick(s);

    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].GurN, 1);
    EXPECT_EQ(QString::number(cards[0].Klu4Form1), key);
    EXPECT_EQ(cards[0].FIOAvtor.text(), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(cards[0].Fabula.text().size(), 200);
    EXPECT_EQ(cards[0].Otmetka.text(), QStringLiteral("аб"));
    EXPECT_EQ(cards[0].DaWrSozd, kTestNow);
    EXPECT_EQ(cards[0].DWKorr, kTestNow);
    EXPECT_EQ(cards[0].PrintNet, 0);
    EXPECT_EQ(cards[0].KUPData, EmptyDate);
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_TRUE(s.buttons.nNew && s.buttons.nDelete && s.buttons.N7);
    EXPECT_EQ(s.SpisokRow, 1);
    EXPECT_EQ(s.Spisok.rowCount(), 1);
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(0, CardGridModel::Key)).toString(), key);
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("1"));
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("1"));
}

TEST_F(CardCommandsTest, DuplicateNumbersAreRefusedWithinAYearOnly) {
    AppState& s = start();
    saveNew(s, 5, day(2023, 3, 10));
    saveNew(s, 5, day(2024, 3, 10));
    saveNew(s, 6, day(2024, 3, 11));
    EXPECT_EQ(s.main.size(), 3);

    m_prompts.ok();
    saveNew(s, 5, day(2024, 12, 1));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Разберитесь с эти делом!"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("В этом году такой номер уже есть"));
    EXPECT_EQ(s.main.size(), 3);
    // The editor shows the stored card 5 of 2024.
    EXPECT_EQ(s.form.GurN, QStringLiteral("5"));
    EXPECT_EQ(s.form.DateOtkaza, day(2024, 3, 10));
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_EQ(s.CurNo, 2);
    EXPECT_EQ(s.SpisokRow, 2);
    EXPECT_TRUE(s.buttons.nNew && s.buttons.nOtmena && s.buttons.N7);
}

TEST_F(CardCommandsTest, IncomingDateBeforeTheSendersDateIsRefused) {
    AppState& s = start();
    nNewClick(s);
    s.form.GurN = QStringLiteral("1");
    s.form.NashaWxodDat = day(2024, 2, 1);
    s.form.NeNashaIshDat = day(2024, 2, 2);
    m_prompts.ok();
    nSaveClick(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Запоминать не буду, пока не исправите"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Наша входящая < ихней исходящей!"));
    EXPECT_EQ(s.main.size(), 0);

    s.form.NeNashaIshDat = day(2024, 2, 1) + 0.5;
    nSaveClick(s);
    EXPECT_EQ(s.main.size(), 1);
}

TEST_F(CardCommandsTest, ChangedCardKeepsItsRecordAndCreationStamp) {
    TAnketa second = makeCard(2, day(2026, 1, 6), 200);
    std::memset(second.reserved, 0x5A, sizeof second.reserved);
    second.DaWrSozd = 46000.25;
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), second, makeCard(3, day(2026, 1, 7), 300)});
    AppState& s = start();
    SpisokMouseDown(s, 2);
    s.form.FIOAvtor = QStringLiteral("Петров П.П.");
    s.form.KUPData = pickedDate(s.form.KUPData, QDate(2026, 1, 2));
    m_clock.advance(0.25);
    nSaveClick(s);

    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[1].Klu4Form1, 200);
    EXPECT_EQ(cards[1].FIOAvtor.text(), QStringLiteral("Петров П.П."));
    EXPECT_EQ(cards[1].DaWrSozd, 46000.25);
    EXPECT_EQ(cards[1].DWKorr, kTestNow + 0.25);
    EXPECT_EQ(cards[1].KUPData, day(2026, 1, 2));
    // The card's own reserved tail stays with it.
    EXPECT_EQ(cards[1].reserved[0], 0x5A);
    EXPECT_TRUE(cards[0].sameFields(makeCard(1, day(2026, 1, 5), 100)));
    EXPECT_EQ(s.CurNo, 2);
    EXPECT_EQ(s.main.pos(), 1);
    // The card buffer holds the version from before the Save.
    EXPECT_EQ(s.card.FIOAvtor.text(), second.FIOAvtor.text());
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(1, CardGridModel::Zayavitel)).toString(),
              QStringLiteral("Петров П.П."));
}

TEST_F(CardCommandsTest, UnchangedDatesKeepTheirTimeOfDay) {
    const double withTime = day(2025, 5, 6) + 0.75;
    EXPECT_EQ(pickedDate(withTime, QDate(2025, 5, 6)), withTime);
    EXPECT_EQ(pickedDate(withTime, QDate(2025, 5, 7)), day(2025, 5, 7));
}

TEST_F(CardCommandsTest, CopyThenSaveAppendsAnotherCard) {
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(1, day(2026, 1, 5), 100)});
    AppState& s = start();
    SpeedButBegClick(s);
    m_clock.advance(0.001);
    nCopiyClick(s);
    EXPECT_TRUE(s.buttons.nVstavka);
    EXPECT_EQ(s.form.ZapGurN, QStringLiteral("1"));
    EXPECT_EQ(s.ClipCard.Klu4Form1, 100);
    EXPECT_NE(s.form.Klu4Form1, QStringLiteral("100"));
    // Same number, same year: no duplicate test after Copy.
    nSaveClick(s);
    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[1].GurN, 1);
    EXPECT_EQ(QString::number(cards[1].Klu4Form1), s.form.Klu4Form1);
}

TEST_F(CardCommandsTest, PasteIsADuplicateUntilChanged) {
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(9, day(2026, 2, 5), 100)});
    AppState& s = start();
    nCopiyClick(s);
    nNewClick(s);
    m_clock.advance(0.001);
    nVstavkaClick(s);
    EXPECT_EQ(s.EditState, CardEditState::New);
    EXPECT_EQ(s.form.GurN, QStringLiteral("9"));
    EXPECT_NE(s.form.Klu4Form1, QStringLiteral("100"));
    EXPECT_EQ(s.form.DWKorr, s.form.DaWrSozd);
    m_prompts.ok();
    nSaveClick(s);
    EXPECT_EQ(s.main.size(), 1);

    nVstavkaClick(s);
    s.form.GurN = QStringLiteral("10");
    nSaveClick(s);
    EXPECT_EQ(s.main.size(), 2);
}

TEST_F(CardCommandsTest, SavingACardWhoseKeyIsGoneAppendsIt) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), makeCard(2, day(2026, 1, 6), 200)});
    AppState& s = start();
    SpeedButBegClick(s);
    s.form.Klu4Form1 = QStringLiteral("555");
    nSaveClick(s);
    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[2].Klu4Form1, 555);
    EXPECT_EQ(cards[0].Klu4Form1, 100);
    EXPECT_EQ(s.card.Klu4Form1, 200);
}

TEST_F(CardCommandsTest, NonIntegerNumbersStopSaveBeforeAnythingIsWritten) {
    AppState& s = start();
    nNewClick(s);
    s.form.Srok = QStringLiteral("1O");
    const TAnketa before = s.card;
    try {
        nSaveClick(s);
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("'1O' is not a valid integer value"));
    }
    EXPECT_EQ(s.main.size(), 0);
    EXPECT_TRUE(s.card.sameFields(before));
    EXPECT_FALSE(s.buttons.nNew);
}

TEST_F(CardCommandsTest, CancelShowsTheCardNavigationWentTo) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), makeCard(2, day(2026, 1, 6), 200)});
    AppState& s = start();
    SpeedButBegClick(s);
    nNewClick(s);
    nOtmenaClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("100"));
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_TRUE(s.buttons.nNew && s.buttons.N7);
}

TEST_F(CardCommandsTest, EditorRoutines) {
    std::vector<TAnketa> cards;
    for (int i = 1; i <= 5; ++i)
        cards.push_back(makeCard(i, day(2026, 1, i), 123456780 + i));
    writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
    AppState& s = start();

    // At the end of the file Scatter shows the last card and stays on it.
    s.main.seek(5);
    Scatter(s);
    EXPECT_EQ(s.form.GurN, QStringLiteral("5"));
    EXPECT_EQ(s.main.pos(), 4);

    // Attachment indicators follow the files named by the key.
    QDir(root()).mkpath(QStringLiteral("Otveti"));
    QFile reply(file(QStringLiteral("Otveti/123456785.doc")));
    ASSERT_TRUE(reply.open(QIODevice::WriteOnly));
    reply.close();
    EXPECT_EQ(s.form.Otvet, QStringLiteral("Ответить"));
    Scatter(s);
    EXPECT_EQ(s.form.Otvet, QStringLiteral("Есть ответ"));
    EXPECT_EQ(s.form.GifEst, QStringLiteral("Нет"));
    EXPECT_EQ(s.form.WordEst, QStringLiteral("Нет"));

    s.form.Fabula = QStringLiteral(" abc ");
    FabulaChange(s);
    EXPECT_EQ(s.form.FabOstZn, QStringLiteral("197"));
    s.form.Fabula = QStringLiteral("ab\r\ncd");
    FabulaChange(s);
    EXPECT_EQ(s.form.FabOstZn, QStringLiteral("194"));
}

TEST_F(CardCommandsTest, AFullDiskDuringSaveOfANewCardLeavesOnlyWholeCards) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), makeCard(2, day(2026, 1, 6), 200)});
    AppState& s = start();
    nNewClick(s);
    // Room for half a card more.
    withFileSizeLimit(2 * TAnketa::Size + 600, [&] {
        try {
            nSaveClick(s);
            ADD_FAILURE() << "stored on a full disk";
        } catch (const IoError& error) {
            EXPECT_EQ(error.text(), QStringLiteral("Disk full"));
        }
    });
    EXPECT_EQ(QFile(file(QStringLiteral("Baza/Anketi.dat"))).size(), 2 * TAnketa::Size);
    EXPECT_EQ(s.EditState, CardEditState::New);
    // With room again the same card is stored once.
    nSaveClick(s);
    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[2].GurN, 3);
    EXPECT_EQ(s.Spisok.rowCount(), 3);
}

TEST_F(CardCommandsTest, NewAfterTheGreatestNumberWrapsAsTheStoredNumberDoes) {
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(2147483647, day(2026, 1, 5), 100)});
    AppState& s = start();
    nNewClick(s);
    EXPECT_EQ(s.form.GurN, QStringLiteral("-2147483648"));
    nSaveClick(s);
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat")).back().GurN, -2147483647 - 1);
}
