#include "CommandModel.h"

#include "support/TestSupport.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>

namespace zelmar::model {

namespace {

using K = ScriptedPrompts::Kind;

const QString kUser = QStringLiteral("Администратор");

double wholeDay(double day) {
    return std::trunc(day);
}

QDate dateOfDay(double day) {
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(wholeDay(day)));
}

int yearOf(double day) {
    return dateOfDay(day).year();
}

bool sameNumberAndDay(const TAnketa& a, const TAnketa& b) {
    return a.GurN == b.GurN && wholeDay(a.DateOtkaza) == wholeDay(b.DateOtkaza);
}

void message(Script& script, const QString& caption, const QString& text) {
    script.push_back({K::Message, caption, text});
}

bool question(Script& script, const QString& caption, const QString& text, int answer) {
    script.push_back({K::Question, caption, text, answer});
    return answer == 1;
}

bool hasKey(const std::vector<TAnketa>& cards, int key) {
    return std::any_of(cards.begin(), cards.end(),
                       [key](const TAnketa& c) { return c.Klu4Form1 == key; });
}

// A new card's key: the clock's, or the next one neither card file holds.
int newKey(const Model& m) {
    int key = kClockKey;
    while (hasKey(m.main, key) || hasKey(m.archive, key))
        key = (key + 1) % kKeys;
    return key;
}

// What the editor shows for a blank card.
TAnketa blank(const Model& m) {
    TAnketa c = zeroCard();
    c.Klu4Form1 = newKey(m);
    c.DateOtkaza = kToday;
    for (double* date : {&c.NeNashaIshDat, &c.NashaWxodDat, &c.DataProvProkur, &c.KUPData,
                         &c.NasheIshData, &c.DeloDat})
        *date = kEmptyDate;
    c.Listov = 1;
    c.Ekzem = 1;
    return c;
}

void hideAll(Model& m) {
    m.buttons.nNew = m.buttons.nCopiy = m.buttons.nPoisk = m.buttons.nDelete = m.buttons.nWstavit =
        m.buttons.nOtmena = false;
}

void showAll(Model& m) {
    m.buttons.nNew = m.buttons.nCopiy = m.buttons.nPoisk = m.buttons.nDelete = m.buttons.nWstavit =
        m.buttons.nOtmena = true;
}

// Reads the card at the position into the buffer and shows it; a blank "New" card when the
// main card file is empty.
void scatter(Model& m) {
    m.curNo = m.pos;
    const auto n = static_cast<qint64>(m.main.size());
    if (m.pos >= n && n > 0)
        m.pos = n - 1;
    if (n == 0) {
        m.form = blank(m);
        m.editNew = true;
        hideAll(m);
        return;
    }
    m.buffer = m.main[static_cast<size_t>(m.pos)];
    m.form = m.buffer;
    m.editNew = false;
}

void kakay(Model& m) {
    if (!m.main.empty())
        m.curNo = m.pos + 1;
}

void showAt(Model& m, qint64 record) {
    m.pos = record;
    scatter(m);
    kakay(m);
}

qint64 size(const std::vector<TAnketa>& cards) {
    return static_cast<qint64>(cards.size());
}

// A row number drawn at random, as a row of a grid of `rows` rows.
qint64 rowOf(int drawn, qint64 rows) {
    return rows == 0 ? 0 : (drawn - 1) % rows + 1;
}

// The main window comes to the front again.
void mainActivate(Model& m, Script& script) {
    if (!m.working.empty())
        message(script, QStringLiteral("Есть карточки с отметкой Не напечатано"),
                QString::number(m.working.size()) + QStringLiteral(" шт. Они в Рабочей картотеке"));
    if (size(m.main) + 1 > 5)
        m.spisokRow = size(m.main);
}

// The program starts on the folder.
void start(Model& m, Script& script) {
    m.print = PrintWindow();
    m.clip.reset();
    m.buttons = Buttons();
    m.buffer = zeroCard();
    m.editNew = false;
    m.curNo = 0;
    const qint64 n = size(m.main);
    if (n > 0) {
        m.pos = n - 1;
        scatter(m);
    } else {
        m.editNew = true;
        m.form = blank(m);
        hideAll(m);
    }
    kakay(m);
    m.working.clear();
    for (const TAnketa& c : m.main) {
        if (c.PrintNet == 0)
            m.working.push_back(c);
    }
    m.navIndex = n - 1;
    m.spisokRow = n;
    m.rabSpisRow = m.working.empty() ? 0 : 1;
    m.pos = n;
    m.ended = false;
    mainActivate(m, script);
}

// "Выход": the lists written, the files closed, the backup offered.
void leave(Model& m, Script& script, bool backup) {
    // The base folder is named by its path on this computer.
    question(script, QStringLiteral("При аварии - нет!.Последние 10 копий в "),
             QStringLiteral("Получить резервную копию папки "), backup ? 1 : 0);
    if (!backup)
        return;
    m.backups.push_back({++m.lastBackup, m.main, m.archive});
    // The last ten copies are kept.
    if (m.backups.size() > 10)
        m.backups.erase(m.backups.begin(), m.backups.end() - 10);
}

void applyEdit(TAnketa& c, const Edit& e) {
    switch (e.field) {
    case Field::GurN:
        c.GurN = static_cast<std::int32_t>(e.value);
        break;
    case Field::DateOtkaza:
        c.DateOtkaza = e.value;
        break;
    case Field::KUPN:
        c.KUPN = e.text;
        break;
    case Field::KUPData:
        c.KUPData = e.value;
        break;
    case Field::FIOAvtor:
        c.FIOAvtor = e.text;
        break;
    case Field::Fabula:
        c.Fabula = e.text;
        break;
    case Field::Otmetka:
        c.Otmetka = e.text;
        break;
    case Field::PrintNet:
        c.PrintNet = static_cast<std::int32_t>(e.value);
        break;
    case Field::NashaWxodDat:
        c.NashaWxodDat = e.value;
        break;
    case Field::NeNashaIshDat:
        c.NeNashaIshDat = e.value;
        break;
    case Field::KemWines:
        c.KemWines = e.text;
        break;
    case Field::PodpUtw:
        c.PodpUtw = e.text;
        break;
    case Field::Motiv:
        c.Motiv = e.text;
        break;
    case Field::ProkOtmetka:
        c.ProkOtmetka = e.text;
        break;
    case Field::Adres:
        c.Adres = e.text;
        break;
    case Field::NazwDok:
        c.NazwDok = e.text;
        break;
    case Field::NeNashIshNom:
        c.NeNashIshNom = e.text;
        break;
    case Field::NashWxodNom:
        c.NashWxodNom = e.text;
        break;
    case Field::NashIshNom:
        c.NashIshNom = e.text;
        break;
    case Field::NasheIshData:
        c.NasheIshData = e.value;
        break;
    case Field::DeloNom:
        c.DeloNom = e.text;
        break;
    case Field::DeloDat:
        c.DeloDat = e.value;
        break;
    case Field::Telefon:
        c.Telefon = e.text;
        break;
    case Field::Srok:
        c.Srok = static_cast<std::int32_t>(e.value);
        break;
    case Field::Count:
        break;
    }
}

// "Запомнить".
void save(Model& m, Script& script) {
    const int gurN = m.form.GurN;
    const int key = m.form.Klu4Form1;
    if (m.editNew) {
        // The same number in the same year is refused; the card that has it is shown.
        for (qint64 i = 0; i < size(m.main); ++i) {
            const TAnketa& c = m.main[static_cast<size_t>(i)];
            if (c.GurN == gurN && yearOf(c.DateOtkaza) == yearOf(m.form.DateOtkaza)) {
                showAt(m, i);
                message(script, QStringLiteral("В этом году такой номер уже есть"),
                        QStringLiteral("Разберитесь с эти делом!"));
                showAll(m);
                m.spisokRow = m.curNo;
                return;
            }
        }
    }
    if (wholeDay(m.form.NashaWxodDat) < wholeDay(m.form.NeNashaIshDat)) {
        message(script, QStringLiteral("Наша входящая < ихней исходящей!"),
                QStringLiteral("Запоминать не буду, пока не исправите"));
        return;
    }
    showAll(m);
    TAnketa stored = m.form;
    stored.AdminFIO = kUser;
    stored.DWKorr = kNow;
    stored.DaWrSozd = m.editNew ? kNow : m.buffer.DaWrSozd;
    m.curNo = m.pos;
    qint64 record = size(m.main);
    if (m.editNew) {
        m.curNo = record;
        m.buffer = stored;
    } else {
        const auto found = std::find_if(m.main.begin(), m.main.end(),
                                        [key](const TAnketa& c) { return c.Klu4Form1 == key; });
        if (found != m.main.end()) {
            // The buffer keeps the card as it was before this Save.
            m.buffer = *found;
            record = found - m.main.begin();
            m.curNo = record;
        } else {
            m.buffer = m.main.empty() ? stored : m.main.back();
        }
    }
    if (record == size(m.main))
        m.main.push_back(stored);
    else
        m.main[static_cast<size_t>(record)] = stored;
    if (m.editNew) {
        m.editNew = false;
        m.spisokRow = size(m.main);
    }
    m.pos = std::min(m.curNo, size(m.main));
    kakay(m);
}

void newCard(Model& m) {
    m.buttons.nNew = m.buttons.nCopiy = m.buttons.nPoisk = m.buttons.nDelete = m.buttons.nWstavit =
        false;
    m.editNew = true;
    m.form = blank(m);
    m.form.Fabula = QStringLiteral("По факту ");
    if (!m.main.empty()) {
        m.pos = size(m.main);
        m.buffer = m.main.back();
    }
    m.form.GurN = static_cast<std::int32_t>(static_cast<std::uint32_t>(m.buffer.GurN) + 1u);
}

void insertAfter(Model& m, Script& script, bool yes) {
    const qint64 shown = m.curNo;
    if (shown < 1 || shown >= size(m.main)) {
        message(script, QStringLiteral("Вы находитесь в конце таблицы"),
                QStringLiteral("Воспользуйтесь кнопками Дабавить и Запомнить"));
        return;
    }
    if (!question(script, QStringLiteral("После карточки ") + QString::number(shown),
                  QStringLiteral("Вставить карточку ?"), yes ? 1 : 0))
        return;
    m.buttons.nOtmena = m.buttons.nNew = m.buttons.nCopiy = m.buttons.nPoisk = m.buttons.nDelete =
        true;
    const int gurN = m.form.GurN;
    m.form = blank(m);
    TAnketa card = m.form;
    card.GurN = gurN;
    card.AdminFIO = kUser;
    card.DWKorr = kNow;
    card.DaWrSozd = kNow;
    m.editNew = false;
    m.main.insert(m.main.begin() + shown, card);
    m.buffer = m.main.back();
    m.working = m.main;
    m.navIndex = size(m.main) - 1;
    m.spisokRow = shown + 1;
    m.pos = shown;
    kakay(m);
}

void deleteCard(Model& m, Script& script, int answer) {
    script.push_back({K::Choice, QStringLiteral("Удаление Анкеты из Главной картотеки"),
                      QStringLiteral("Удалить|В Архив|Ничего не делать"), answer});
    if (answer != 1 && answer != 2)
        return;
    const int key = m.form.Klu4Form1;
    m.navIndex = m.pos;
    std::vector<TAnketa> kept;
    for (const TAnketa& c : m.main) {
        if (c.Klu4Form1 != key)
            kept.push_back(c);
        else if (answer == 2)
            m.archive.push_back(c);
    }
    m.main = kept;
    showAt(m, std::clamp<qint64>(m.navIndex, 0, size(m.main)));
    m.spisokRow = m.main.empty() ? 0 : m.curNo;
    m.working.clear();
}

void previous(Model& m) {
    const qint64 n = size(m.main);
    const qint64 p = m.pos;
    if (p >= n || p == n - 1)
        m.navIndex = n - 1;
    m.navIndex = m.navIndex > 1 ? p - 1 : 0;
    if (m.navIndex < 0)
        m.navIndex = 0;
    if (n > 0) {
        showAt(m, std::min(m.navIndex, n));
        m.spisokRow = m.navIndex + 1;
    }
}

void next(Model& m) {
    const qint64 n = size(m.main);
    const qint64 p = m.pos;
    if (n == 0 || n == 1 || p > n - 2)
        return;
    m.navIndex = p + 1;
    showAt(m, m.navIndex);
    if (m.spisokRow < n)
        ++m.spisokRow;
}

// "уд": the card of the selected row gets the mark or loses its own; the editor takes the new
// mark when it shows that card.
void toggleMark(Model& m, int row) {
    const qint64 count = size(m.main);
    if (row > 0 && count > 0)
        m.spisokRow = rowOf(row, count);
    if (count == 0)
        return;
    const qint64 record = count == 1 ? 0 : m.spisokRow - 1;
    if (record < 0 || record >= count)
        return;
    TAnketa& card = m.main[static_cast<size_t>(record)];
    const QString mark = card.Otmetka.size() > 0 ? QString() : QStringLiteral("уд");
    card.Otmetka = mark;
    if (m.form.Klu4Form1 == card.Klu4Form1) {
        m.form.Otmetka = mark;
        if (m.buffer.Klu4Form1 == card.Klu4Form1)
            m.buffer.Otmetka = mark;
    }
}

void openWorking(Model& m, int row) {
    const qint64 cards = size(m.main);
    if (cards < 2 || m.working.empty()) {
        m.pos = 0;
        return;
    }
    const qint64 r = rowOf(row, size(m.working));
    m.rabSpisRow = r;
    const int key = m.working[static_cast<size_t>(r - 1)].Klu4Form1;
    qint64 record = cards - 1;
    for (qint64 i = 0; i < cards; ++i) {
        if (m.main[static_cast<size_t>(i)].Klu4Form1 == key) {
            record = i;
            break;
        }
    }
    showAt(m, record);
}

void find(Model& m, Script& script, const Conditions& c) {
    m.working.clear();
    for (const TAnketa& card : m.main) {
        if (passes(card, c))
            m.working.push_back(card);
    }
    m.pos = size(m.main);
    if (!m.working.empty())
        m.rabSpisRow = 1;
    mainActivate(m, script);
}

void compact(Model& m, Script& script, int answer, bool renumber) {
    script.push_back({K::Choice, QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"),
                      QStringLiteral("Удалить|В Архив|Ничего не делать"), answer});
    if (answer != 1 && answer != 2)
        return;
    question(script, QStringLiteral("Перенумерация картотеки"), QStringLiteral("Перенумеровать ?"),
             renumber ? 1 : 0);
    std::int64_t key = kClockKey;
    std::vector<TAnketa> kept;
    for (TAnketa c : m.main) {
        if (renumber) {
            c.Klu4Form1 = static_cast<std::int32_t>(key);
            key += 10;
        }
        if (!marked(c))
            kept.push_back(c);
        else if (answer == 2)
            m.archive.push_back(c);
    }
    m.main = kept;
    message(script, QStringLiteral("Программа сейчас выключится!!!"),
            QStringLiteral("Включите программу снова"));
    m.ended = true;
}

void compactArchive(Model& m, Script& script, bool yes) {
    if (!question(script, QStringLiteral("Сжатие Архива"),
                  QStringLiteral("Удалить из Архива карточки, с меткой уд?"), yes ? 1 : 0))
        return;
    std::erase_if(m.archive, marked);
    message(script, QStringLiteral("Программа сейчас выключится!!!"),
            QStringLiteral("Включите программу снова"));
    m.ended = true;
}

void restore(Model& m, Script& script, int number, bool yes) {
    const BackupCopy& copy = m.backups[static_cast<size_t>(number) % m.backups.size()];
    script.push_back({K::OpenFile,
                      QStringLiteral("Укажите файл резерва для восстановления"),
                      {},
                      0,
                      backupName(copy.number)});
    // An empty main card file replaces a full one only when the clerk agrees.
    if (copy.main.empty() && !m.main.empty() &&
        !question(script, QStringLiteral("Восстановление базы"),
                  QStringLiteral("Главная картотека в архиве пуста"), yes ? 1 : 0)) {
        message(script, QStringLiteral("База не восстановлена"), {});
        m.pos = std::clamp<qint64>(m.curNo - 1, 0, size(m.main));
        return;
    }
    m.main = copy.main;
    m.archive = copy.archive;
    message(script, QStringLiteral("Программа сейчас выключится"),
            QStringLiteral("Включите программу снова"));
    start(m, script);
}

// The print selection window.

qint64 recordAt(const Table& t, qint64 row) {
    if (row < 0 || row >= t.rows)
        return -1;
    return t.order.empty() ? row : t.order[static_cast<size_t>(row)];
}

void fitRow(qint64& row, qint64 rows) {
    row = rows == 0 ? 0 : std::clamp<qint64>(row, 1, rows);
}

void refill(Model& m, int table) {
    Table& t = m.print.tables[static_cast<size_t>(table)];
    t.rows = size(m.file(table));
    t.order.clear();
}

// Cards changed in place: a table in file order follows the file's count.
void reload(Model& m, int table) {
    Table& t = m.print.tables[static_cast<size_t>(table)];
    if (t.order.empty())
        t.rows = size(m.file(table));
}

void fill(Model& m, int table) {
    refill(m, table);
    Table& t = m.print.tables[static_cast<size_t>(table)];
    fitRow(t.row, t.rows);
    if (t.rows > 0) {
        m.print.card = m.file(table)[static_cast<size_t>(t.rows - 1)];
        m.print.cardTable = table;
        m.print.cardRecord = t.rows - 1;
    }
}

void mainTable(Model& m) {
    fill(m, 0);
    m.pos = 0;
}

void printActivate(Model& m, bool opening) {
    m.print.sortColumn = 0;
    if (opening)
        m.print.active = 0;
    mainTable(m);
}

void showInPanel(PrintWindow& p, const TAnketa& c) {
    p.card = c;
    p.panelGurN = QString::number(c.GurN);
    p.panelDate = c.DateOtkaza;
}

void showTab(Model& m, Script& script, int table) {
    PrintWindow& p = m.print;
    if (table == 0) {
        if (m.main.empty())
            return;
        p.active = 0;
        mainTable(m);
    } else if (table == 1) {
        if (m.working.empty()) {
            p.active = 0;
            refill(m, 1);
            message(script, QStringLiteral("Нет таких карточек"),
                    QStringLiteral("Измените условия выбора"));
            return;
        }
        p.active = 1;
        fill(m, 1);
    } else {
        if (m.archive.empty()) {
            p.active = 0;
            message(script, QStringLiteral("В Архиве нет карточек"),
                    QStringLiteral("Вернитесь в Главную"));
            return;
        }
        p.active = 2;
        fill(m, 2);
    }
}

// The card of a row: the first of its file with the row's number and day.
void pickRow(Model& m, int table, qint64 row) {
    PrintWindow& p = m.print;
    Table& t = p.tables[static_cast<size_t>(table)];
    t.row = row;
    const std::vector<TAnketa>& file = m.file(table);
    const TAnketa shown = file[static_cast<size_t>(recordAt(t, row - 1))];
    p.cardTable = table;
    for (qint64 r = 0; r < size(file); ++r) {
        const TAnketa& c = file[static_cast<size_t>(r)];
        // In the working card file and the archive the stored date must be the day itself.
        if (sameNumberAndDay(c, shown) &&
            (table == 0 || c.DateOtkaza == wholeDay(shown.DateOtkaza))) {
            showInPanel(p, c);
            p.cardRecord = r;
            if (table == 0)
                m.pos = r + 1;
            return;
        }
    }
    p.cardRecord = size(file) - 1;
    showInPanel(p, file.back());
    if (table == 0)
        m.pos = p.cardRecord + 1;
}

void pick(Model& m, const Cmd& cmd) {
    PrintWindow& p = m.print;
    if (m.main.empty()) {
        if (!cmd.flag)
            m.pos = 0;
        return;
    }
    const Table& t = p.tables[static_cast<size_t>(p.active)];
    if (t.rows == 0)
        return;
    if (!cmd.flag)
        p.sortColumn = cmd.column;
    pickRow(m, p.active, rowOf(cmd.row, t.rows));
}

// Byte order of Windows-1251 for the letters the tests type.
int codeOf(QChar ch) {
    const char16_t u = ch.unicode();
    if (u < 0x80)
        return u;
    if (u == u'Ё')
        return 0xA8;
    if (u == u'ё')
        return 0xB8;
    if (u == u'№')
        return 0xB9;
    if (u >= u'А' && u <= u'я')
        return u - u'А' + 0xC0;
    return '?';
}

void sort(Model& m) {
    PrintWindow& p = m.print;
    Table& t = p.tables[static_cast<size_t>(p.active)];
    if (t.rows == 0)
        return;
    const qint64 record = t.row >= 1 && t.row <= t.rows ? recordAt(t, t.row - 1) : -1;
    const std::vector<TAnketa>& file = m.file(p.active);
    std::vector<QByteArray> texts;
    for (const TAnketa& c : file)
        texts.push_back(cp1251(cellText(c, p.sortColumn, true)));
    std::vector<qint64> order(file.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<qint64>(i);
    std::stable_sort(order.begin(), order.end(), [&](qint64 a, qint64 b) {
        const QByteArray& x = texts[static_cast<size_t>(a)];
        const QByteArray& y = texts[static_cast<size_t>(b)];
        return std::lexicographical_compare(
            x.begin(), x.end(), y.begin(), y.end(), [](char c, char d) {
                return static_cast<unsigned char>(c) < static_cast<unsigned char>(d);
            });
    });
    t.order = order;
    t.rows = size(file);
    if (record >= 0)
        t.row = std::find(order.begin(), order.end(), record) - order.begin() + 1;
}

void markMain(Model& m, const TAnketa& like, int value) {
    for (TAnketa& c : m.main) {
        if (sameNumberAndDay(c, like))
            c.PrintNet = value;
    }
    m.pos = size(m.main);
}

void printMark(Model& m, int value) {
    PrintWindow& p = m.print;
    Table& t = p.tables[static_cast<size_t>(p.active)];
    if (t.row < 1 || t.row > t.rows)
        return;
    const TAnketa like = m.file(p.active)[static_cast<size_t>(recordAt(t, t.row - 1))];
    markMain(m, like, value);
    if (p.active == 1) {
        for (TAnketa& c : m.working) {
            if (sameNumberAndDay(c, like))
                c.PrintNet = value;
        }
        reload(m, 1);
    }
    reload(m, 0);
}

void printAdd(Model& m) {
    PrintWindow& p = m.print;
    if (p.active != 0 || p.tables[0].rows == 0)
        return;
    const std::vector<TAnketa>& file = m.file(p.cardTable);
    if (p.cardRecord >= 0 && p.cardRecord < size(file))
        p.card = file[static_cast<size_t>(p.cardRecord)];
    m.working.push_back(p.card);
}

void printDelete(Model& m) {
    PrintWindow& p = m.print;
    Table& t = p.tables[1];
    if (p.active != 1 || t.rows == 0)
        return;
    fitRow(t.row, t.rows);
    const qint64 record = recordAt(t, t.row - 1);
    m.working.erase(m.working.begin() + record);
    if (!t.order.empty()) {
        std::erase(t.order, record);
        for (qint64& r : t.order) {
            if (r > record)
                --r;
        }
        t.rows = static_cast<qint64>(t.order.size());
    } else {
        t.rows = std::max<qint64>(t.rows - 1, 0);
    }
    if (p.cardTable == 1) {
        if (p.cardRecord == record)
            p.cardRecord = -1;
        else if (p.cardRecord > record)
            --p.cardRecord;
    }
    fitRow(t.row, t.rows);
    if (m.working.empty())
        p.active = 0;
}

void printClear(Model& m) {
    PrintWindow& p = m.print;
    m.working.clear();
    refill(m, 1);
    p.tables[1].row = 0;
    if (p.cardTable == 1)
        p.cardRecord = -1;
    p.active = 0;
}

void printClose(Model& m, Script& script) {
    m.print.open = false;
    mainActivate(m, script);
}

void printShow(Model& m, Script& script) {
    PrintWindow& p = m.print;
    if (p.panelGurN.isEmpty())
        return;
    const int number = p.panelGurN.toInt();
    m.pos = size(m.main);
    for (qint64 r = 0; r < size(m.main); ++r) {
        const TAnketa& c = m.main[static_cast<size_t>(r)];
        if (c.GurN == number && c.DateOtkaza == p.panelDate) {
            showAt(m, r);
            m.spisokRow = r + 1;
            break;
        }
    }
    printClose(m, script);
}

void printBook(Model& m, Script& script, bool yes) {
    if (!m.working.empty())
        m.print.card = m.working.back();
    if (!question(script, QStringLiteral("Во всех напечатанных карточках"),
                  QStringLiteral("Поставить отметки Есть ?"), yes ? 1 : 0))
        return;
    for (TAnketa& c : m.main) {
        if (std::any_of(m.working.begin(), m.working.end(),
                        [&c](const TAnketa& w) { return sameNumberAndDay(c, w); }))
            c.PrintNet = 1;
    }
    m.pos = size(m.main);
    reload(m, 0);
}

void printFilter(Model& m, Script& script, const Cmd& cmd) {
    const int source = cmd.flag ? 2 : 0;
    std::vector<TAnketa>& file = m.file(source);
    m.working.clear();
    for (TAnketa& c : file) {
        if (!passes(c, cmd.conditions))
            continue;
        if (cmd.udRG == 0 || cmd.udRG == 1)
            c.Otmetka = cmd.udRG == 0 ? QStringLiteral("уд") : QString();
        if (cmd.PRNPost == 0 || cmd.PRNPost == 1)
            c.PrintNet = cmd.PRNPost == 0 ? 1 : 0;
        m.working.push_back(c);
    }
    m.pos = size(m.main);
    reload(m, 0);
    reload(m, 2);
    refill(m, 1);
    if (!m.working.empty()) {
        m.print.active = 1;
        fill(m, 1);
    } else {
        if (m.print.active == 1)
            m.print.active = 0;
        message(script, QStringLiteral("Нет таких карточек"),
                QStringLiteral("Измените условия выбора"));
    }
    printActivate(m, false);
}

void printClearMarks(Model& m, Script& script, const Cmd& cmd) {
    const int from = cmd.conditions.NaSE;
    const int to = cmd.conditions.KoSE;
    if (from > to) {
        message(script, QStringLiteral("Неверный диапазон"), {});
    } else {
        const qint64 last = std::min<qint64>(to, size(m.main));
        for (qint64 i = std::max(from, 1) - 1; i < last; ++i)
            m.main[static_cast<size_t>(i)].Otmetka = QString();
        m.pos = size(m.main);
        reload(m, 0);
    }
    printActivate(m, false);
}

bool isPrint(Kind kind) {
    return kind >= Kind::PrintTab && kind <= Kind::PrintClose;
}

bool contains(const QString& field, const QString& condition) {
    const QString wanted = test::trimmedText(condition).toLower();
    return wanted.isEmpty() || field.toLower().contains(wanted);
}

bool inDays(double x, double from, double to) {
    return wholeDay(from) <= wholeDay(x) && wholeDay(x) <= wholeDay(to);
}

QString shortDate(double day) {
    return dateOfDay(day).toString(QStringLiteral("dd.MM.yy"));
}

const QStringList& headings() {
    static const QStringList texts = {
        QStringLiteral("уд"),
        QStringLiteral("Книга"),
        QStringLiteral("№ жур"),
        QStringLiteral("дата"),
        QStringLiteral("КУС"),
        QStringLiteral("дата"),
        QStringLiteral("УД №"),
        QStringLiteral("дата "),
        QStringLiteral("Заявитель"),
        QStringLiteral("Название документа"),
        QStringLiteral("Адрес заявителя"),
        QStringLiteral("Исх.№ заявителя"),
        QStringLiteral("Исх. дата заявителя"),
        QStringLiteral("Тел. заявителя"),
        QStringLiteral("№ вход наш"),
        QStringLiteral("дата"),
        QStringLiteral("№ исх наш"),
        QStringLiteral("дата"),
    };
    return texts;
}

// A cell of the export: in quotes, quotes doubled, when it holds ";", '"' or a line break.
QByteArray exportCell(const QString& text) {
    QByteArray cell = cp1251(text);
    if (cell.contains(';') || cell.contains('"') || cell.contains('\r') || cell.contains('\n')) {
        cell.replace("\"", "\"\"");
        cell = '"' + cell + '"';
    }
    return cell + ';';
}

} // namespace

std::vector<TAnketa>& Model::file(int table) {
    return table == 1 ? working : table == 2 ? archive : main;
}

const std::vector<TAnketa>& Model::file(int table) const {
    return table == 1 ? working : table == 2 ? archive : main;
}

Model Model::fresh() {
    Model m;
    Script ignored;
    start(m, ignored);
    return m;
}

bool marked(const TAnketa& card) {
    return card.Otmetka.text() == QStringLiteral("уд");
}

QString backupName(int number) {
    return QStringLiteral("b%1.zip").arg(number, 7, 10, QLatin1Char('0'));
}

QByteArray cp1251(const QString& text) {
    QByteArray bytes;
    for (const QChar ch : text)
        bytes.append(static_cast<char>(codeOf(ch)));
    return bytes;
}

bool passes(const TAnketa& card, const Conditions& c) {
    if (card.GurN < c.NaSE || card.GurN > c.KoSE)
        return false;
    if (!inDays(card.DateOtkaza, c.NaDat, c.KoDat))
        return false;
    if (c.PrintNet != 2 && card.PrintNet != c.PrintNet)
        return false;
    if (!inDays(card.KUPData, c.KUPDataN, c.KUPDataPo))
        return false;
    const QString kupn = test::trimmedText(c.KUPN).toLower();
    if (!kupn.isEmpty() && test::trimmedText(card.KUPN.text()).toLower() != kupn)
        return false;
    return contains(card.ProkOtmetka.text(), c.ProkOtmetka) &&
           contains(card.KemWines.text(), c.KemWines) && contains(card.PodpUtw.text(), c.PodpUtw) &&
           contains(card.FIOAvtor.text(), c.Zayavitel) &&
           contains(card.NeNashIshNom.text(), c.IshNomZayv) &&
           contains(card.NashWxodNom.text(), c.WhNash) &&
           contains(card.NashIshNom.text(), c.IshNash) && contains(card.Motiv.text(), c.MotivP) &&
           contains(card.Fabula.text(), c.KlSlovo);
}

QString cellText(const TAnketa& c, int column, bool blankDates) {
    const auto date = [blankDates](double day) {
        const double whole = wholeDay(day);
        if (blankDates && (whole == kEmptyDate || whole == 36892))
            return QString();
        return shortDate(day);
    };
    switch (column) {
    case 0:
        return c.Otmetka.text();
    case 1:
        return c.PrintNet == 0 ? QStringLiteral("Нет") : QStringLiteral("Есть");
    case 2:
        return QString::number(c.GurN);
    case 3:
        return shortDate(c.DateOtkaza);
    case 4:
        return c.KUPN.text();
    case 5:
        return shortDate(c.KUPData);
    case 6:
        return c.DeloNom.text();
    case 7:
        return date(c.DeloDat);
    case 8:
        return c.FIOAvtor.text();
    case 9:
        return c.NazwDok.text();
    case 10:
        return c.Adres.text();
    case 11:
        return c.NeNashIshNom.text();
    case 12:
        return date(c.NeNashaIshDat);
    case 13:
        return c.Telefon.text();
    case 14:
        return c.NashWxodNom.text();
    case 15:
        return date(c.NashaWxodDat);
    case 16:
        return c.NashIshNom.text();
    case 17:
        return date(c.NasheIshData);
    default:
        return {};
    }
}

QByteArray exportFile(const std::vector<TAnketa>& working,
                      const std::array<bool, kColumns>& columns) {
    QByteArray text;
    for (int column = 0; column < kColumns; ++column) {
        if (columns[static_cast<size_t>(column)])
            text += exportCell(headings().at(column));
    }
    text += "\r\n";
    for (const TAnketa& c : working) {
        for (int column = 0; column < kColumns; ++column) {
            if (columns[static_cast<size_t>(column)])
                text += exportCell(cellText(c, column, false));
        }
        text += "\r\n";
    }
    return text;
}

bool allowed(const Model& m, const Cmd& cmd) {
    if (m.ended)
        return cmd.kind == Kind::Restart;
    if (cmd.kind == Kind::DiskFull)
        return cmd.inner && cmd.inner->kind != Kind::Restart && cmd.inner->kind != Kind::DiskFull &&
               allowed(m, *cmd.inner);
    if (m.print.open != isPrint(cmd.kind))
        return false;
    const Buttons& b = m.buttons;
    switch (cmd.kind) {
    case Kind::NewSave:
        return b.nNew;
    case Kind::Copy:
        return b.nCopiy;
    case Kind::Paste:
        return b.nVstavka;
    case Kind::Cancel:
        return b.nOtmena;
    case Kind::Insert:
        return b.nWstavit;
    case Kind::Delete:
        return b.nDelete;
    case Kind::Find:
        return b.nPoisk;
    case Kind::Restore:
        return !m.backups.empty();
    // "Есть" / "Нет" are on the main and the working tab; the reports on the working tab.
    case Kind::PrintMark:
        return m.print.active != 2;
    case Kind::PrintBook:
    case Kind::PrintExport:
        return m.print.active == 1;
    default:
        return true;
    }
}

void step(Model& m, const Cmd& cmd, Script& script) {
    switch (cmd.kind) {
    case Kind::NewSave:
        newCard(m);
        for (const Edit& e : cmd.edits)
            applyEdit(m.form, e);
        save(m, script);
        break;
    case Kind::Save:
        for (const Edit& e : cmd.edits)
            applyEdit(m.form, e);
        save(m, script);
        break;
    case Kind::Copy:
        m.clip = m.buffer;
        m.buttons.nVstavka = true;
        m.form.Klu4Form1 = newKey(m);
        break;
    case Kind::Paste:
        m.buffer = *m.clip;
        m.form = m.buffer;
        m.editNew = true;
        m.form.Klu4Form1 = newKey(m);
        break;
    case Kind::Cancel:
        m.buttons.nNew = m.buttons.nCopiy = m.buttons.nPoisk = m.buttons.nDelete =
            m.buttons.nWstavit = true;
        m.editNew = false;
        if (!m.main.empty()) {
            showAt(m, std::clamp<qint64>(m.navIndex, 0, size(m.main)));
            m.spisokRow = m.curNo;
        }
        break;
    case Kind::Insert:
        insertAfter(m, script, cmd.answer == 1);
        break;
    case Kind::Delete:
        deleteCard(m, script, cmd.answer);
        break;
    case Kind::First:
        if (!m.main.empty()) {
            m.spisokRow = 1;
            m.navIndex = 0;
            showAt(m, 0);
        }
        break;
    case Kind::Last: {
        const qint64 n = size(m.main);
        m.navIndex = n;
        if (n >= 2) {
            m.spisokRow = n;
            m.navIndex = n - 1;
            showAt(m, n - 1);
        }
        break;
    }
    case Kind::Prev:
        previous(m);
        break;
    case Kind::Next:
        next(m);
        break;
    case Kind::ClickRow:
        if (m.main.empty()) {
            m.pos = 0;
            m.curNo = 0;
        } else {
            m.spisokRow = rowOf(cmd.row, size(m.main));
            showAt(m, m.spisokRow - 1);
        }
        break;
    case Kind::Mark:
        toggleMark(m, cmd.row);
        break;
    case Kind::AddToWorking:
        m.working.push_back(m.buffer);
        break;
    case Kind::ClearWorking:
        m.working.clear();
        m.rabSpisRow = 1;
        break;
    case Kind::OpenWorking:
        openWorking(m, cmd.row);
        break;
    case Kind::Find:
        find(m, script, cmd.conditions);
        break;
    case Kind::Compact:
        compact(m, script, cmd.answer, cmd.flag);
        break;
    case Kind::CompactArchive:
        compactArchive(m, script, cmd.answer == 1);
        break;
    case Kind::Restart:
        if (!m.ended)
            leave(m, script, false);
        start(m, script);
        break;
    case Kind::Backup:
        leave(m, script, true);
        start(m, script);
        break;
    case Kind::Restore:
        restore(m, script, cmd.value, cmd.answer == 1);
        break;
    case Kind::PrintOpen:
        if (m.main.empty()) {
            message(script, QStringLiteral("Картотека пуста"),
                    QStringLiteral("Заполните хоть 1 карточку"));
            break;
        }
        m.print.open = true;
        printActivate(m, true);
        break;
    case Kind::PrintTab:
        showTab(m, script, cmd.table);
        break;
    case Kind::PrintPick:
        pick(m, cmd);
        break;
    case Kind::PrintSort:
        sort(m);
        break;
    case Kind::PrintMark:
        printMark(m, cmd.value);
        break;
    case Kind::PrintAdd:
        printAdd(m);
        break;
    case Kind::PrintDelete:
        printDelete(m);
        break;
    case Kind::PrintClear:
        printClear(m);
        break;
    case Kind::PrintShow:
        printShow(m, script);
        break;
    case Kind::PrintBook:
        printBook(m, script, cmd.answer == 1);
        break;
    case Kind::PrintExport:
        if (!m.working.empty())
            m.print.card = m.working.back();
        break;
    case Kind::PrintFilter:
        printFilter(m, script, cmd);
        break;
    case Kind::PrintClearMarks:
        printClearMarks(m, script, cmd);
        break;
    case Kind::PrintClose:
        printClose(m, script);
        break;
    case Kind::DiskFull: {
        // Taken as done; the test reads what the files hold, and the program starts again.
        Script inner;
        step(m, *cmd.inner, inner);
        m.ended = true;
        start(m, script);
        break;
    }
    }
}

namespace {

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::NewSave:
        return "New+Save";
    case Kind::Save:
        return "Save";
    case Kind::Copy:
        return "Copy";
    case Kind::Paste:
        return "Paste";
    case Kind::Cancel:
        return "Cancel";
    case Kind::Insert:
        return "Insert after";
    case Kind::Delete:
        return "Delete";
    case Kind::First:
        return "First";
    case Kind::Prev:
        return "Previous";
    case Kind::Next:
        return "Next";
    case Kind::Last:
        return "Last";
    case Kind::ClickRow:
        return "Click main row";
    case Kind::Mark:
        return "уд";
    case Kind::AddToWorking:
        return "Add to working";
    case Kind::ClearWorking:
        return "Clear working";
    case Kind::OpenWorking:
        return "Click working row";
    case Kind::Find:
        return "Найти";
    case Kind::Compact:
        return "Compact main";
    case Kind::CompactArchive:
        return "Compact archive";
    case Kind::Restart:
        return "Restart";
    case Kind::Backup:
        return "Exit with backup, start";
    case Kind::Restore:
        return "Restore backup, start";
    case Kind::PrintOpen:
        return "Print window: open";
    case Kind::PrintTab:
        return "Print window: tab";
    case Kind::PrintPick:
        return "Print window: pick";
    case Kind::PrintSort:
        return "Print window: sort";
    case Kind::PrintMark:
        return "Print window: mark";
    case Kind::PrintAdd:
        return "Print window: to working";
    case Kind::PrintDelete:
        return "Print window: delete working row";
    case Kind::PrintClear:
        return "Print window: clear working";
    case Kind::PrintShow:
        return "Print window: show card";
    case Kind::PrintBook:
        return "Print window: register book";
    case Kind::PrintExport:
        return "Print window: export";
    case Kind::PrintFilter:
        return "Print window: filter";
    case Kind::PrintClearMarks:
        return "Print window: filter, clear marks";
    case Kind::PrintClose:
        return "Print window: close";
    case Kind::DiskFull:
        return "Disk full";
    }
    return "?";
}

const char* fieldName(Field field) {
    static const char* names[] = {"GurN",         "DateOtkaza",    "KUPN",       "KUPData",
                                  "FIOAvtor",     "Fabula",        "Otmetka",    "PrintNet",
                                  "NashaWxodDat", "NeNashaIshDat", "KemWines",   "PodpUtw",
                                  "Motiv",        "ProkOtmetka",   "Adres",      "NazwDok",
                                  "NeNashIshNom", "NashWxodNom",   "NashIshNom", "NasheIshData",
                                  "DeloNom",      "DeloDat",       "Telefon",    "Srok"};
    return names[static_cast<int>(field)];
}

bool isDate(Field field) {
    switch (field) {
    case Field::DateOtkaza:
    case Field::KUPData:
    case Field::NashaWxodDat:
    case Field::NeNashaIshDat:
    case Field::NasheIshData:
    case Field::DeloDat:
        return true;
    default:
        return false;
    }
}

bool isNumber(Field field) {
    return field == Field::GurN || field == Field::PrintNet || field == Field::Srok;
}

std::string quoted(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\\r\\n"));
    return '"' + shown.toStdString() + '"';
}

std::ostream& operator<<(std::ostream& os, const Conditions& c) {
    os << "NaSE=" << c.NaSE << " KoSE=" << c.KoSE << " dates " << shortDate(c.NaDat).toStdString()
       << ".." << shortDate(c.KoDat).toStdString() << " PrintNet=" << c.PrintNet << " КУС dates "
       << shortDate(c.KUPDataN).toStdString() << ".." << shortDate(c.KUPDataPo).toStdString();
    const std::pair<const char*, const QString*> texts[] = {
        {"ProkOtmetka", &c.ProkOtmetka}, {"KemWines", &c.KemWines},
        {"PodpUtw", &c.PodpUtw},         {"Zayavitel", &c.Zayavitel},
        {"IshNomZayv", &c.IshNomZayv},   {"KlSlovo", &c.KlSlovo},
        {"WhNash", &c.WhNash},           {"IshNash", &c.IshNash},
        {"MotivP", &c.MotivP},           {"KUPN", &c.KUPN}};
    for (const auto& [name, text] : texts) {
        if (!text->isEmpty())
            os << ' ' << name << '=' << quoted(*text);
    }
    return os;
}

} // namespace

std::ostream& operator<<(std::ostream& os, const Cmd& cmd) {
    os << kindName(cmd.kind);
    switch (cmd.kind) {
    case Kind::NewSave:
    case Kind::Save:
        os << " {";
        for (size_t i = 0; i < cmd.edits.size(); ++i) {
            const Edit& e = cmd.edits[i];
            os << (i ? ", " : "") << fieldName(e.field) << '=';
            if (isDate(e.field))
                os << shortDate(e.value).toStdString();
            else if (isNumber(e.field))
                os << static_cast<long long>(e.value);
            else
                os << quoted(e.text);
        }
        os << '}';
        break;
    case Kind::Insert:
    case Kind::CompactArchive:
    case Kind::PrintBook:
        os << (cmd.answer == 1 ? " (Да)" : " (Нет)");
        break;
    case Kind::Delete:
    case Kind::Compact:
        os << " (button " << cmd.answer << ')';
        if (cmd.kind == Kind::Compact)
            os << (cmd.flag ? ", renumbered" : ", not renumbered");
        break;
    case Kind::ClickRow:
    case Kind::OpenWorking:
        os << ' ' << cmd.row;
        break;
    case Kind::Mark:
        if (cmd.row > 0)
            os << " on row " << cmd.row;
        else
            os << " on the selected row";
        break;
    case Kind::Find:
        os << " {" << cmd.conditions << '}';
        break;
    case Kind::Restore:
        os << " (copy " << cmd.value << (cmd.answer == 1 ? ", Да" : ", Нет") << ')';
        break;
    case Kind::PrintTab:
        os << ' ' << cmd.table;
        break;
    case Kind::PrintPick:
        os << " row " << cmd.row << (cmd.flag ? " by keyboard" : " by mouse, column ")
           << (cmd.flag ? "" : std::to_string(cmd.column));
        break;
    case Kind::PrintMark:
        os << (cmd.value ? " Есть" : " Нет");
        break;
    case Kind::PrintExport:
        os << " columns";
        for (int i = 0; i < kColumns; ++i) {
            if (cmd.columns[static_cast<size_t>(i)])
                os << ' ' << i;
        }
        break;
    case Kind::PrintFilter:
        os << (cmd.flag ? " Архив" : " Главная") << " udRG=" << cmd.udRG
           << " PRNPost=" << cmd.PRNPost << " {" << cmd.conditions << '}';
        break;
    case Kind::PrintClearMarks:
        os << ' ' << cmd.conditions.NaSE << ".." << cmd.conditions.KoSE;
        break;
    case Kind::DiskFull:
        os << " at " << cmd.limit << " bytes during: " << *cmd.inner;
        break;
    default:
        break;
    }
    return os;
}

} // namespace zelmar::model
