#include "support/TestSupport.h"

#include "core/editor/MainWindowEvents.h"
#include "core/store/InstallFolder.h"
#include "core/store/RecordFile.h"
#include "core/texts/DayNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelmar::test {

RegisterTest::RegisterTest() {
    m_prompts.onUnscripted = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
}

RegisterTest::~RegisterTest() = default;

void RegisterTest::TearDown() {
    EXPECT_TRUE(m_prompts.allAnswered()) << m_prompts.pending() << " scripted answers unused";
    m_state.reset();
}

QString RegisterTest::file(const QString& relative) const {
    return m_dir.path() + QLatin1Char('/') + relative;
}

AppState& RegisterTest::newState() {
    m_state.reset();
    m_state = std::make_unique<AppState>(Paths(root()), m_clock, m_prompts, m_shell);
    return *m_state;
}

void RegisterTest::prepareFolder() {
    prepareInstallFolder(root());
}

AppState& RegisterTest::start() {
    prepareFolder();
    AppState& s = newState();
    FormCreate(s);
    return s;
}

void RegisterTest::writeCards(const QString& relative, const std::vector<TAnketa>& cards) {
    QDir().mkpath(QFileInfo(file(relative)).absolutePath());
    QByteArray bytes;
    for (const TAnketa& card : cards)
        bytes.append(reinterpret_cast<const char*>(&card), sizeof card);
    writeBytes(relative, bytes);
}

std::vector<int> RegisterTest::keys(const QString& relative) const {
    std::vector<int> result;
    for (const TAnketa& card : readCards(relative))
        result.push_back(card.Klu4Form1);
    return result;
}

std::vector<TAnketa> RegisterTest::readCards(const QString& relative) const {
    const QByteArray bytes = readBytes(relative);
    std::vector<TAnketa> cards(static_cast<size_t>(bytes.size()) / sizeof(TAnketa));
    if (!cards.empty())
        std::memcpy(cards.data(), bytes.constData(), cards.size() * sizeof(TAnketa));
    return cards;
}

QByteArray RegisterTest::readBytes(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void RegisterTest::writeBytes(const QString& relative, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file(relative)).absolutePath());
    QFile f(file(relative));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TAnketa makeCard(int gurN, double dateOtkaza, int key, int printNet, const QString& applicant) {
    TAnketa c = zeroCard();
    c.GurN = gurN;
    c.DateOtkaza = dateOtkaza;
    c.Klu4Form1 = key;
    c.PrintNet = printNet;
    c.KUPData = EmptyDate;
    c.NeNashaIshDat = EmptyDate;
    c.NashaWxodDat = EmptyDate;
    c.DataProvProkur = EmptyDate;
    c.DeloDat = EmptyDate;
    c.NasheIshData = EmptyDate;
    c.Listov = 1;
    c.Ekzem = 1;
    c.FIOAvtor = applicant.isEmpty() ? QStringLiteral("Заявитель %1").arg(gurN) : applicant;
    c.KUPN = QStringLiteral("КУСП-%1").arg(gurN);
    c.DaWrSozd = dateOtkaza;
    c.DWKorr = dateOtkaza;
    return c;
}

QString trimmedText(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace zelmar::test
