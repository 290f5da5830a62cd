#include "gen/Generator.h"

#include "core/store/InstallFolder.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <QStringList>

namespace zelmar::gen {

namespace {

const QStringList& surnames() {
    static const QStringList list = {
        QStringLiteral("Иванов"),   QStringLiteral("Петров"),   QStringLiteral("Сидоров"),
        QStringLiteral("Смирнов"),  QStringLiteral("Кузнецов"), QStringLiteral("Попов"),
        QStringLiteral("Васильев"), QStringLiteral("Соколов"),  QStringLiteral("Михайлов"),
        QStringLiteral("Новиков"),  QStringLiteral("Фёдоров"),  QStringLiteral("Морозов"),
        QStringLiteral("Волков"),   QStringLiteral("Алексеев"), QStringLiteral("Лебедев"),
        QStringLiteral("Семёнов"),  QStringLiteral("Егоров"),   QStringLiteral("Павлов"),
        QStringLiteral("Козлов"),   QStringLiteral("Степанов"), QStringLiteral("Николаев"),
        QStringLiteral("Орлов"),    QStringLiteral("Андреев"),  QStringLiteral("Макаров"),
    };
    return list;
}

const QStringList& initials() {
    static const QStringList list = {
        QStringLiteral("А.А."), QStringLiteral("В.И."), QStringLiteral("Е.П."),
        QStringLiteral("И.С."), QStringLiteral("М.В."), QStringLiteral("Н.Г."),
        QStringLiteral("О.Д."), QStringLiteral("С.Ю."), QStringLiteral("Т.К."),
    };
    return list;
}

const QStringList& streets() {
    static const QStringList list = {
        QStringLiteral("ул. Ленина"),    QStringLiteral("ул. Мира"),
        QStringLiteral("пр. Победы"),    QStringLiteral("ул. Садовая"),
        QStringLiteral("ул. Гагарина"),  QStringLiteral("пер. Школьный"),
        QStringLiteral("ул. Советская"), QStringLiteral("ул. Заречная"),
    };
    return list;
}

const QStringList& motives() {
    static const QStringList list = {
        QStringLiteral("п.1 ч.1 ст.24 УПК РФ (отсутствие события преступления)"),
        QStringLiteral("п.2 ч.1 ст.24 УПК РФ (отсутствие состава преступления)"),
        QStringLiteral("ст.25 УПК РФ (примирение сторон)"),
    };
    return list;
}

const QStringList& articles() {
    static const QStringList list = {
        QStringLiteral("ст. 158 УК РФ"), QStringLiteral("ст. 159 УК РФ"),
        QStringLiteral("ст. 115 УК РФ"), QStringLiteral("ст. 119 УК РФ"),
        QStringLiteral("ст. 167 УК РФ"), QStringLiteral("ст. 330 УК РФ"),
    };
    return list;
}

const QStringList& plots() {
    static const QStringList list = {
        QStringLiteral("По факту кражи велосипеда из подъезда дома"),
        QStringLiteral("По факту повреждения автомобиля во дворе"),
        QStringLiteral("По факту угроз со стороны соседа"),
        QStringLiteral("По факту утери документов"),
        QStringLiteral("По факту конфликта в магазине"),
        QStringLiteral("По заявлению о мошенничестве по телефону"),
    };
    return list;
}

struct Official {
    const char16_t* name;
    const char16_t* position;
};
constexpr Official kOfficials[] = {
    {u"Иванов И.И.", u"Начальник ОМВД"},       {u"Петров П.П.", u"Зам.начальника ОМВД"},
    {u"Сидоров С.С.", u"Зам.начальника ОМВД"}, {u"Кузнецов А.В.", u"Участковый"},
    {u"Орлов Д.Н.", u"Оперуполномоченный"},
};

} // namespace

CardGenerator::CardGenerator(const Options& options)
    : m_options(options)
    , m_random(options.seed) {}

QString CardGenerator::pick(const QStringList& list) {
    return list.at(static_cast<qsizetype>(m_random() % static_cast<unsigned>(list.size())));
}

TAnketa CardGenerator::next() {
    const double span = m_options.years * 365.25;
    const double first = m_options.lastDay - span;
    const qint64 n = std::max<qint64>(1, m_options.cards);
    // Cards spread evenly over the years, one after another, so every key is its own.
    const double jitter = 0.5 * static_cast<double>(m_random() % 1000) / 1000.0;
    const double moment =
        first + span * (static_cast<double>(m_index) + jitter) / static_cast<double>(n);
    const double day = std::floor(moment);
    const int year = dateOf(day).year();
    if (year != m_year) {
        m_year = year;
        m_number = 0;
    }
    ++m_number;

    TAnketa c = zeroCard();
    const Official& issuer = kOfficials[m_random() % std::size(kOfficials)];
    const Official& signer = kOfficials[m_random() % 3];
    c.GurN = m_number;
    c.DateOtkaza = day;
    c.KUPData = day - 10 - static_cast<double>(m_random() % 20);
    c.KUPN = QString::number(1000 + m_number * 3);
    c.KemWines = QString::fromUtf16(issuer.name);
    c.DolgWines = QString::fromUtf16(issuer.position);
    c.PodpUtw = QString::fromUtf16(signer.name);
    c.DolgnPodp = QString::fromUtf16(signer.position);
    c.Motiv = pick(motives());
    c.LicoUN = (m_random() % 3 == 0) ? QStringLiteral("Установлено") : QStringLiteral("Нет");
    c.DataProvProkur = EmptyDate;
    c.DeloDat = EmptyDate;
    c.Statia = pick(articles());
    c.MestoNah = QStringLiteral("Том %1").arg(1 + m_number / 200);
    c.Srok = static_cast<int>(m_random() % 4) * 10;
    c.NeNashIshNom = QString::number(m_random() % 5000);
    c.NeNashaIshDat = day - 15;
    c.WidDok = QStringLiteral("Заявление");
    c.DolgnAvt = QStringLiteral("Гражданин");
    c.FIOAvtor = pick(surnames()) + QLatin1Char(' ') + pick(initials());
    c.Adres = QStringLiteral("г. Энск, %1, д. %2, кв. %3")
                  .arg(pick(streets()))
                  .arg(1 + m_random() % 120)
                  .arg(1 + m_random() % 200);
    c.NazwDok = QStringLiteral("Заявление");
    c.Fabula = pick(plots());
    c.Nositel = QStringLiteral("Бумажный");
    c.Otpravitel = QStringLiteral("Гражданин");
    c.Listov = 1 + static_cast<int>(m_random() % 5);
    c.Ekzem = 1;
    c.NashIshNom = QString::number(m_number);
    c.NasheIshData = day + 3;
    c.Telefon = QStringLiteral("8-900-%1").arg(m_random() % 10000000, 7, 10, QLatin1Char('0'));
    c.NashWxodNom = QString::number(m_number + 100);
    c.NashaWxodDat = day - 12;
    c.Klu4Form1 = stampOfMoment(moment);
    c.AdminFIO = QStringLiteral("Администратор");
    c.DaWrSozd = moment;
    c.DWKorr = moment;
    const double printedUpTo = 1.0 - m_options.unprintedShare;
    c.PrintNet = static_cast<double>(m_index) < printedUpTo * static_cast<double>(n) ? 1 : 0;
    ++m_index;
    return c;
}

void writeCardFile(const QString& path, const Options& options) {
    TypedFile<TAnketa> file;
    file.create(path);
    BlockWriter writer(file);
    CardGenerator generator(options);
    for (qint64 i = 0; i < options.cards; ++i) {
        const TAnketa card = generator.next();
        writer.add(&card);
    }
    writer.flush();
    file.sync();
    file.close();
}

void makeInstallation(const QString& root, const Options& options) {
    prepareInstallFolder(root);
    writeCardFile(Paths(root).local(u"Baza\\Anketi.dat"), options);
}

} // namespace zelmar::gen
