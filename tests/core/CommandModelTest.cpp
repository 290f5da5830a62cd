// Random sequences of a clerk's commands, run on a fresh installation folder and checked after
// every command against a plain model of what the register must hold (CommandModel.h). A
// failure prints the sequence shrunk to the fewest commands that still fail.
//
// The bounded run of the test command draws about 200 sequences of up to 40 commands;
// scripts/model-test runs as many as asked. RC_PARAMS sets the seed, max_success and max_size.

#include "CommandModel.h"

#include "core/backup/Compaction.h"
#include "core/backup/DeletionMarks.h"
#include "core/backup/Restore.h"
#include "core/editor/CardCommands.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/editor/WorkingFile.h"
#include "core/platform/CommandBoundary.h"
#include "core/reports/PrintSelection.h"
#include "core/reports/RegisterBook.h"
#include "core/reports/SpreadsheetExport.h"
#include "core/search/FilterWindow.h"
#include "core/search/SearchWindow.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>

#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <cstdlib>
#include <set>
#include <sstream>

using namespace zelmar;
using namespace zelmar::test;
using model::Cmd;
using model::Edit;
using model::Field;
using model::Kind;
using model::Model;

namespace {

// The bounded run, unless RC_PARAMS says otherwise.
const bool kDefaultParams = [] {
    QByteArray params = qgetenv("RC_PARAMS");
    if (!params.contains("max_success"))
        params += " max_success=200";
    if (!params.contains("max_size"))
        params += " max_size=40";
    return setenv("RC_PARAMS", params.trimmed().constData(), 1) == 0;
}();

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kArchive = QStringLiteral("Baza/ArhAnket.dat");
const QString kWorking = QStringLiteral("Temp/RabAnket.dat");

// Generators: the values a clerk types, the conditions, the commands.

double day(int y, int m, int d) {
    return dayNumber(QDate(y, m, d));
}

rc::Gen<double> genDate() {
    return rc::gen::element(model::kEmptyDate, day(2001, 1, 1), day(2005, 10, 31), day(2005, 11, 1),
                            day(2024, 3, 10), day(2025, 12, 31), model::kToday - 1, model::kToday,
                            model::kToday + 31, model::kToday + 32, day(2027, 1, 1));
}

int capacity(Field field) {
    switch (field) {
    case Field::Otmetka:
        return 2;
    case Field::KemWines:
    case Field::PodpUtw:
        return 30;
    case Field::Motiv:
        return 60;
    case Field::FIOAvtor:
        return 40;
    case Field::Adres:
    case Field::NazwDok:
        return 50;
    case Field::Fabula:
        return 200;
    default:
        return 20;
    }
}

// Cyrillic with Ё and ё, Latin, digits, and what the export must quote.
const QString kLetters = QStringLiteral("аАбёЁжЯя ЙйzZ19;\".-");

rc::Gen<QString> genText(int size) {
    const std::vector<QString> words = {
        QString(),
        QStringLiteral("Иванов И.И."),
        QStringLiteral("Ёлкин Ё.Ё."),
        QStringLiteral("ёжиков"),
        QStringLiteral("ПЕТРОВ"),
        QStringLiteral("Сидорова; Анна"),
        QStringLiteral("\"Ромашка\""),
        QStringLiteral("abc ABC"),
        QStringLiteral(" 12 "),
        QStringLiteral("12"),
        QStringLiteral("123"),
        QStringLiteral("уд"),
        QStringLiteral("УД"),
        QStringLiteral("По факту\r\nкражи"),
    };
    return rc::gen::weightedOneOf<QString>({
        {3, rc::gen::elementOf(words)},
        // At the field's size and around it.
        {1, rc::gen::map(rc::gen::inRange(std::max(size - 1, 0), size + 3),
                         [](int n) {
                             QString text;
                             for (int i = 0; i < n; ++i)
                                 text += QChar(i % 2 ? u'ё' : u'Я');
                             return text;
                         })},
        {2, rc::gen::map(rc::gen::container<std::vector<int>>(
                             rc::gen::inRange(0, static_cast<int>(kLetters.size()))),
                         [size](const std::vector<int>& picks) {
                             QString text;
                             for (int pick : picks) {
                                 if (text.size() < size + 2)
                                     text += kLetters.at(pick);
                             }
                             return text;
                         })},
    });
}

rc::Gen<Edit> genEdit() {
    // The number, the date, the applicant and the mark most often: they decide duplicates,
    // sorting, searching and compaction.
    const auto often = [](Field field) { return std::pair<std::size_t, int>(4, int(field)); };
    return rc::gen::mapcat(
        rc::gen::weightedOneOf<int>(
            {{static_cast<std::size_t>(Field::Count),
              rc::gen::inRange(0, static_cast<int>(Field::Count))},
             {16, rc::gen::weightedElement<int>({often(Field::GurN), often(Field::DateOtkaza),
                                                 often(Field::FIOAvtor), often(Field::Otmetka)})}}),
        [](int index) -> rc::Gen<Edit> {
            const auto field = static_cast<Field>(index);
            const auto number = [field](rc::Gen<int> values) {
                return rc::gen::map(values, [field](int v) {
                    return Edit{field, {}, static_cast<double>(v)};
                });
            };
            switch (field) {
            case Field::GurN:
                return number(rc::gen::weightedOneOf<int>(
                    {{6, rc::gen::inRange(0, 13)},
                     {1, rc::gen::element(-1, 9999, 10000, 2147483647)}}));
            case Field::PrintNet:
                return number(rc::gen::inRange(0, 2));
            case Field::Srok:
                return number(rc::gen::inRange(0, 4));
            case Field::DateOtkaza:
            case Field::KUPData:
            case Field::NashaWxodDat:
            case Field::NeNashaIshDat:
            case Field::NasheIshData:
            case Field::DeloDat:
                return rc::gen::map(genDate(), [field](double d) { return Edit{field, {}, d}; });
            default:
                return rc::gen::map(genText(capacity(field)), [field](QString text) {
                    return Edit{field, text, 0};
                });
            }
        });
}

rc::Gen<std::vector<Edit>> genEdits() {
    return rc::gen::resize(4, rc::gen::container<std::vector<Edit>>(genEdit()));
}

rc::Gen<QString> genCondition(std::vector<QString> values) {
    values.insert(values.begin(), QString());
    return rc::gen::weightedOneOf<QString>(
        {{6, rc::gen::just(QString())}, {1, rc::gen::elementOf(values)}});
}

// The conditions of the search window (filter: without the three numbers it lacks).
rc::Gen<model::Conditions> genConditions(bool filter) {
    return rc::gen::exec([filter] {
        model::Conditions c;
        c.NaSE = *rc::gen::weightedElement<int>({{4, 1}, {1, 0}, {1, 2}, {1, 5}});
        c.KoSE = *rc::gen::weightedElement<int>({{4, 9999}, {1, 3}, {1, 10}, {1, 0}});
        c.NaDat = *rc::gen::weightedElement<double>(
            {{4, day(2005, 11, 1)}, {1, model::kToday}, {1, day(2024, 1, 1)}, {1, 367}});
        c.KoDat = *rc::gen::weightedElement<double>(
            {{4, model::kToday + 31 + 0.99998}, {1, model::kToday}, {1, day(2025, 12, 31)}});
        c.PrintNet = *rc::gen::weightedElement<int>({{3, 2}, {1, 0}, {1, 1}});
        c.KUPDataN = *rc::gen::weightedElement<double>(
            {{3, filter ? day(2005, 11, 1) : day(1900, 1, 1)}, {1, 367}, {1, model::kToday}});
        c.KUPDataPo = *rc::gen::weightedElement<double>(
            {{3, filter ? model::kToday : model::kToday + 31}, {1, day(2024, 12, 31)}});
        c.Zayavitel =
            *genCondition({QStringLiteral("иванов"), QStringLiteral(" Ёлкин "), QStringLiteral("ё"),
                           QStringLiteral("ПеТрОв"), QStringLiteral("a")});
        c.KlSlovo = *genCondition({QStringLiteral("факту"), QStringLiteral("Ё")});
        c.KUPN = *genCondition({QStringLiteral("12"), QStringLiteral(" 12 ")});
        c.KemWines = *genCondition({QStringLiteral("ab"), QStringLiteral("я")});
        c.PodpUtw = *genCondition({QStringLiteral(";")});
        c.ProkOtmetka = *genCondition({QStringLiteral("\"")});
        c.MotivP = *genCondition({QStringLiteral("я")});
        if (!filter) {
            c.IshNomZayv = *genCondition({QStringLiteral("1")});
            c.WhNash = *genCondition({QStringLiteral("ё")});
            c.IshNash = *genCondition({QStringLiteral("z")});
        }
        return c;
    });
}

rc::Gen<int> genRow() {
    return rc::gen::inRange(1, 41);
}

Cmd plain(Kind kind) {
    Cmd cmd;
    cmd.kind = kind;
    return cmd;
}

rc::Gen<Cmd> just(Kind kind) {
    return rc::gen::just(plain(kind));
}

template <class Value>
rc::Gen<Cmd> with(Kind kind, rc::Gen<Value> values, void (*set)(Cmd&, const Value&)) {
    return rc::gen::map(values, [kind, set](const Value& value) {
        Cmd cmd = plain(kind);
        set(cmd, value);
        return cmd;
    });
}

rc::Gen<Cmd> genRowCmd(Kind kind) {
    return with<int>(kind, genRow(), [](Cmd& c, const int& row) { c.row = row; });
}

rc::Gen<Cmd> genAnswerCmd(Kind kind, int from, int to) {
    return with<int>(kind, rc::gen::inRange(from, to + 1),
                     [](Cmd& c, const int& answer) { c.answer = answer; });
}

// The commands of the main window (failure: those a failed write may hit).
rc::Gen<Cmd> genMainCommand(bool failure) {
    const auto edits = [](Kind kind) {
        return with<std::vector<Edit>>(kind, genEdits(),
                                       [](Cmd& c, const std::vector<Edit>& e) { c.edits = e; });
    };
    return rc::gen::weightedOneOf<Cmd>({
        {8, edits(Kind::NewSave)},
        {4, edits(Kind::Save)},
        {2, just(Kind::Copy)},
        {2, just(Kind::Paste)},
        {1, just(Kind::Cancel)},
        {3, genAnswerCmd(Kind::Insert, 0, 1)},
        {3, rc::gen::map(rc::gen::weightedElement<int>({{1, 0}, {3, 1}, {3, 2}, {1, 3}}),
                         [](int answer) {
                             Cmd c = plain(Kind::Delete);
                             c.answer = answer;
                             return c;
                         })},
        {1, just(Kind::First)},
        {2, just(Kind::Prev)},
        {2, just(Kind::Next)},
        {1, just(Kind::Last)},
        {3, genRowCmd(Kind::ClickRow)},
        {4,
         with<int>(Kind::Mark, rc::gen::weightedOneOf<int>({{1, rc::gen::just(0)}, {3, genRow()}}),
                   [](Cmd& c, const int& row) { c.row = row; })},
        {1, just(Kind::AddToWorking)},
        {1, just(Kind::ClearWorking)},
        {1, genRowCmd(Kind::OpenWorking)},
        {2, with<model::Conditions>(Kind::Find, genConditions(false),
                                    [](Cmd& c, const model::Conditions& v) { c.conditions = v; })},
        {1, rc::gen::map(rc::gen::pair(rc::gen::inRange(0, 4), rc::gen::arbitrary<bool>()),
                         [](const std::pair<int, bool>& v) {
                             Cmd c = plain(Kind::Compact);
                             c.answer = v.first;
                             c.flag = v.second;
                             return c;
                         })},
        {1, genAnswerCmd(Kind::CompactArchive, 0, 1)},
        {failure ? 0u : 1u, just(Kind::Restart)},
        {1, just(Kind::Backup)},
        {1, rc::gen::map(rc::gen::pair(rc::gen::inRange(0, 10), rc::gen::inRange(0, 2)),
                         [](const std::pair<int, int>& v) {
                             Cmd c = plain(Kind::Restore);
                             c.value = v.first;
                             c.answer = v.second;
                             return c;
                         })},
        {6, just(Kind::PrintOpen)},
    });
}

// The commands of the print selection window and its filter window; the buttons of the working
// tab when it is in front.
rc::Gen<Cmd> genPrintCommand(const Model& m) {
    const std::size_t working = m.print.active == 1 ? 3 : 0;
    return rc::gen::weightedOneOf<Cmd>({
        {3, with<int>(Kind::PrintTab, rc::gen::weightedElement<int>({{1, 0}, {2, 1}, {1, 2}}),
                      [](Cmd& c, const int& table) { c.table = table; })},
        {5, rc::gen::exec([] {
             Cmd c = plain(Kind::PrintPick);
             c.row = *genRow();
             c.flag = *rc::gen::weightedElement<bool>({{3, false}, {1, true}});
             c.column = *rc::gen::element(2, 8, 0, 1, 3, 4, 7, 10);
             return c;
         })},
        {3, just(Kind::PrintSort)},
        {4, with<int>(Kind::PrintMark, rc::gen::inRange(0, 2),
                      [](Cmd& c, const int& value) { c.value = value; })},
        {2, just(Kind::PrintAdd)},
        {1 + working, just(Kind::PrintDelete)},
        {1, just(Kind::PrintClear)},
        {1, just(Kind::PrintShow)},
        {working, genAnswerCmd(Kind::PrintBook, 0, 1)},
        {working, rc::gen::map(rc::gen::container<std::vector<bool>>(model::kColumns,
                                                                     rc::gen::arbitrary<bool>()),
                               [](const std::vector<bool>& checked) {
                                   Cmd c = plain(Kind::PrintExport);
                                   for (int i = 0; i < model::kColumns; ++i)
                                       c.columns[static_cast<size_t>(i)] =
                                           checked[static_cast<size_t>(i)];
                                   return c;
                               })},
        {2, rc::gen::exec([] {
             Cmd c = plain(Kind::PrintFilter);
             c.flag = *rc::gen::weightedElement<bool>({{3, false}, {1, true}});
             c.udRG = *rc::gen::inRange(0, 3);
             c.PRNPost = *rc::gen::inRange(0, 3);
             c.conditions = *genConditions(true);
             return c;
         })},
        {1, rc::gen::map(rc::gen::pair(rc::gen::inRange(0, 6), rc::gen::inRange(0, 8)),
                         [](const std::pair<int, int>& range) {
                             Cmd c = plain(Kind::PrintClearMarks);
                             c.conditions.NaSE = range.first;
                             c.conditions.KoSE = range.second;
                             return c;
                         })},
        {1, just(Kind::PrintClose)},
    });
}

rc::Gen<Cmd> genDiskFull(rc::Gen<Cmd> inner) {
    return rc::gen::map(
        rc::gen::pair(rc::gen::element(0L, 100L, 1208L, 2500L, 6000L, 30000L), std::move(inner)),
        [](const std::pair<long, Cmd>& v) {
            Cmd c = plain(Kind::DiskFull);
            c.limit = v.first;
            c.inner = std::make_shared<const Cmd>(v.second);
            return c;
        });
}

// Commands whose values do not depend on how long the sequence is.
rc::Gen<Cmd> genCommand(const Model& m);

rc::Gen<Cmd> genAnyCommand(const Model& m) {
    return rc::gen::resize(100, genCommand(m));
}

rc::Gen<Cmd> genCommand(const Model& m) {
    if (m.ended)
        return just(Kind::Restart);
    if (m.print.open)
        return rc::gen::weightedOneOf<Cmd>(
            {{20, genPrintCommand(m)}, {1, genDiskFull(genPrintCommand(m))}});
    return rc::gen::weightedOneOf<Cmd>(
        {{30, genMainCommand(false)}, {2, genDiskFull(genMainCommand(true))}});
}

// The register under test.

std::string describe(const TAnketa& c) {
    std::ostringstream os;
    os << "key " << c.Klu4Form1 << " №" << c.GurN << " of "
       << dateOf(c.DateOtkaza).toString(QStringLiteral("dd.MM.yyyy")).toStdString() << " \""
       << c.FIOAvtor.text().toStdString() << "\" mark \"" << c.Otmetka.text().toStdString()
       << "\" printed " << c.PrintNet;
    return os.str();
}

bool sameCards(const std::vector<TAnketa>& a, const std::vector<TAnketa>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const TAnketa& x, const TAnketa& y) { return x.sameFields(y); });
}

// What a failed write may leave in a file: the file before or after the command, in-place
// changes made to some cards only, or the first cards of a file being written anew.
bool plausible(const std::vector<TAnketa>& seen, const std::vector<TAnketa>& before,
               const std::vector<TAnketa>& after, bool prefix) {
    if (sameCards(seen, before) || sameCards(seen, after))
        return true;
    if (seen.size() == before.size() && seen.size() == after.size()) {
        bool mixed = true;
        for (size_t i = 0; i < seen.size() && mixed; ++i)
            mixed = seen[i].sameFields(before[i]) || seen[i].sameFields(after[i]);
        if (mixed)
            return true;
    }
    return prefix && seen.size() <= after.size() &&
           sameCards(seen, std::vector<TAnketa>(after.begin(), after.begin() + seen.size()));
}

// Sequences store thousands of cards, each made durable on disk: their folders lie in memory
// where the machine has it, so the run takes seconds, not minutes.
class FolderInMemory {
protected:
    FolderInMemory()
        : m_tmpdir(qgetenv("TMPDIR")) {
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }
    void restoreTmpdir() {
        if (m_tmpdir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_tmpdir);
    }

private:
    QByteArray m_tmpdir;
};

class CommandSequences : private FolderInMemory, public RegisterTest {
public:
    CommandSequences() {
        restoreTmpdir();
        m_prompts.onUnscripted = [this](const QString& what) {
            if (!m_lenient)
                m_unexpected += what + QLatin1Char('\n');
        };
    }

    void begin() {
        startProgram();
        m_model = Model::fresh();
        check("start");
    }

    void execute(const Cmd& cmd) {
        // After a failed write the register may hold other cards than the model expected at
        // generation; a command it cannot take now is skipped.
        if (!model::allowed(m_model, cmd))
            return;
        if (cmd.kind == Kind::DiskFull) {
            diskFull(cmd);
            return;
        }
        model::Script script;
        const Model before = m_model;
        model::step(m_model, cmd, script);
        answer(script);
        perform(cmd, before);
        afterwards(cmd);
        checkPrompts(script);
        check(describeCmd(cmd));
    }

    // The main card file's index finds every key, at its first card.
    void checkIndex() {
        AppState& s = state();
        if (!s.main.isOpen())
            return;
        const qint64 position = s.main.pos();
        for (size_t i = 0; i < m_model.main.size(); ++i) {
            const int key = m_model.main[i].Klu4Form1;
            const auto first = std::find_if(m_model.main.begin(), m_model.main.end(),
                                            [key](const TAnketa& c) { return c.Klu4Form1 == key; });
            const auto found = s.main.findKey(key);
            if (!found || *found != first - m_model.main.begin())
                RC_FAIL("the main card file's index does not find key " + std::to_string(key) +
                        " at record " + std::to_string(first - m_model.main.begin()));
        }
        s.main.seek(std::min(position, s.main.size()));
    }

private:
    static std::string describeCmd(const Cmd& cmd) {
        std::ostringstream os;
        os << cmd;
        return os.str();
    }

    void startProgram() {
        start();
        m_print = std::make_unique<PrintSelection>(state());
        m_search = SearchForm();
        m_filter = FilterForm();
        runCommand(m_prompts, [this] { FormShow(state()); });
        runCommand(m_prompts, [this] { FormActivate(state()); });
    }

    // The program ended (or is left with "Выход"): started again on the folder.
    void restart() {
        checkIndex();
        if (!state().exitCode)
            runCommand(m_prompts, [this] { N4Click(state()); });
        m_print.reset();
        startProgram();
    }

    QString backupPath(int number) const {
        return file(QStringLiteral("Backup/") + model::backupName(number));
    }

    void answer(const model::Script& script) {
        for (const model::Prompt& p : script) {
            switch (p.kind) {
            case ScriptedPrompts::Kind::Message:
                m_prompts.ok();
                break;
            case ScriptedPrompts::Kind::Question:
                p.answer == 1 ? m_prompts.yes() : m_prompts.no();
                break;
            case ScriptedPrompts::Kind::Choice:
                m_prompts.choose(p.answer);
                break;
            case ScriptedPrompts::Kind::OpenFile:
                m_prompts.pickFile(file(QStringLiteral("Backup/") + p.file));
                break;
            default:
                break;
            }
        }
    }

    // Every prompt the model expects, none other, each answered.
    void checkPrompts(const model::Script& script) {
        std::string problem = m_unexpected.toStdString();
        const auto& log = m_prompts.log();
        for (qsizetype i = 0; i < std::max<qsizetype>(log.size(), std::ssize(script)); ++i) {
            if (i >= log.size()) {
                problem += "missing prompt \"" + script[size_t(i)].caption.toStdString() + "\"\n";
                continue;
            }
            const auto& seen = log.at(i);
            if (i >= std::ssize(script)) {
                problem += "unexpected prompt \"" + seen.caption.toStdString() +
                           "\": " + seen.text.toStdString() + '\n';
                continue;
            }
            const model::Prompt& wanted = script[size_t(i)];
            if (seen.kind != wanted.kind || !seen.caption.startsWith(wanted.caption) ||
                !seen.text.startsWith(wanted.text))
                problem += "prompt \"" + seen.caption.toStdString() +
                           "\": " + seen.text.toStdString() + "\n  where the model expects \"" +
                           wanted.caption.toStdString() + "\": " + wanted.text.toStdString() + '\n';
        }
        m_unexpected.clear();
        m_prompts.clearLog();
        drain();
        if (!problem.empty())
            RC_FAIL(problem);
    }

    // Answers what is still queued, so the next command starts with an empty script.
    void drain() {
        const bool lenient = std::exchange(m_lenient, true);
        while (m_prompts.pending() > 0) {
            const int before = m_prompts.pending();
            m_prompts.message({}, {}, Prompts::Icon::Exclamation);
            if (m_prompts.pending() == before)
                m_prompts.question({}, {});
            if (m_prompts.pending() == before)
                m_prompts.choice({}, {}, {}, {});
            if (m_prompts.pending() == before)
                m_prompts.openFile({}, {}, {});
        }
        m_prompts.clearLog();
        m_lenient = lenient;
    }

    static CardConditions conditions(const model::Conditions& c) {
        CardConditions out;
        out.NaSE = c.NaSE;
        out.KoSE = c.KoSE;
        out.NaDat = c.NaDat;
        out.KoDat = c.KoDat;
        out.PrintNet = c.PrintNet;
        out.KUPDataN = c.KUPDataN;
        out.KUPDataPo = c.KUPDataPo;
        out.ProkOtmetka = c.ProkOtmetka;
        out.KemWines = c.KemWines;
        out.PodpUtw = c.PodpUtw;
        out.Zayavitel = c.Zayavitel;
        out.IshNomZayv = c.IshNomZayv;
        out.KlSlovo = c.KlSlovo;
        out.WhNash = c.WhNash;
        out.IshNash = c.IshNash;
        out.MotivP = c.MotivP;
        out.KUPN = c.KUPN;
        return out;
    }

    static void type(CardForm& f, const Edit& e) {
        const auto number = [&e] { return QString::number(static_cast<qint64>(e.value)); };
        switch (e.field) {
        case Field::GurN:
            f.GurN = number();
            break;
        case Field::DateOtkaza:
            f.DateOtkaza = e.value;
            break;
        case Field::KUPN:
            f.KUPN = e.text;
            break;
        case Field::KUPData:
            f.KUPData = e.value;
            break;
        case Field::FIOAvtor:
            f.FIOAvtor = e.text;
            break;
        case Field::Fabula:
            f.Fabula = e.text;
            break;
        case Field::Otmetka:
            f.Otmetka = e.text;
            break;
        case Field::PrintNet:
            f.PrintNet = static_cast<int>(e.value);
            break;
        case Field::NashaWxodDat:
            f.NashaWxodDat = e.value;
            break;
        case Field::NeNashaIshDat:
            f.NeNashaIshDat = e.value;
            break;
        case Field::KemWines:
            f.KemWines = e.text;
            break;
        case Field::PodpUtw:
            f.PodpUtw = e.text;
            break;
        case Field::Motiv:
            f.Motiv = e.text;
            break;
        case Field::ProkOtmetka:
            f.ProkOtmetka = e.text;
            break;
        case Field::Adres:
            f.Adres = e.text;
            break;
        case Field::NazwDok:
            f.NazwDok = e.text;
            break;
        case Field::NeNashIshNom:
            f.NeNashIshNom = e.text;
            break;
        case Field::NashWxodNom:
            f.NashWxodNom = e.text;
            break;
        case Field::NashIshNom:
            f.NashIshNom = e.text;
            break;
        case Field::NasheIshData:
            f.NasheIshData = e.value;
            break;
        case Field::DeloNom:
            f.DeloNom = e.text;
            break;
        case Field::DeloDat:
            f.DeloDat = e.value;
            break;
        case Field::Telefon:
            f.Telefon = e.text;
            break;
        case Field::Srok:
            f.Srok = number();
            break;
        case Field::Count:
            break;
        }
    }

    // A row drawn at random, as a row of a grid of `rows` rows (1 when there is none).
    static qint64 rowOf(int drawn, qint64 rows) { return rows == 0 ? 1 : (drawn - 1) % rows + 1; }

    // The command, as the windows run it: each handler through the command boundary.
    void perform(const Cmd& cmd, const Model& before) {
        AppState& s = state();
        PrintSelection& p = *m_print;
        const auto run = [this](auto&& command) { runCommand(m_prompts, command); };
        const auto mainRows = static_cast<qint64>(before.main.size());
        const int active = before.print.active;
        switch (cmd.kind) {
        case Kind::NewSave:
            run([&] { nNewClick(s); });
            for (const Edit& e : cmd.edits)
                type(s.form, e);
            run([&] { nSaveClick(s); });
            break;
        case Kind::Save:
            for (const Edit& e : cmd.edits)
                type(s.form, e);
            run([&] { nSaveClick(s); });
            break;
        case Kind::Copy:
            run([&] { nCopiyClick(s); });
            break;
        case Kind::Paste:
            run([&] { nVstavkaClick(s); });
            break;
        case Kind::Cancel:
            run([&] { nOtmenaClick(s); });
            break;
        case Kind::Insert:
            run([&] { nWstavitClick(s); });
            break;
        case Kind::Delete:
            run([&] { nDeleteClick(s); });
            break;
        case Kind::First:
            run([&] { SpeedButBegClick(s); });
            break;
        case Kind::Prev:
            run([&] { SpeedButPredClick(s); });
            break;
        case Kind::Next:
            run([&] { SpeedButNextClick(s); });
            break;
        case Kind::Last:
            run([&] { SpeedButEndClick(s); });
            break;
        case Kind::ClickRow:
            run([&] { SpisokMouseDown(s, rowOf(cmd.row, mainRows)); });
            break;
        case Kind::Mark:
            if (cmd.row > 0 && mainRows > 0) {
                // The keyboard selects the row; the card shown stays.
                s.SpisokRow = rowOf(cmd.row, mainRows);
                run([&] { SpisokSelectCell(s, s.SpisokRow); });
            }
            run([&] { marks::OtmDelClick(s); });
            break;
        case Kind::AddToWorking:
            run([&] { nGlRabClick(s); });
            break;
        case Kind::ClearWorking:
            run([&] { RabZeroClick(s); });
            break;
        case Kind::OpenWorking:
            run([&] { RabSpisMouseDown(s, rowOf(cmd.row, std::ssize(before.working))); });
            break;
        case Kind::Find:
            run([&] { PoiskFormActivate(s, m_search); });
            m_search.conditions = conditions(cmd.conditions);
            run([&] { WsehSrazuClick(s, m_search); });
            run([&] { FormActivate(s); });
            break;
        case Kind::Compact:
            run([&] { N20Click(s); });
            break;
        case Kind::CompactArchive:
            run([&] { N2Click(s); });
            break;
        case Kind::Restart:
            break;
        case Kind::Backup:
            run([&] { N4Click(s); });
            break;
        case Kind::Restore:
            run([&] { Bacup1Click(s); });
            break;
        case Kind::PrintOpen: {
            bool open = false;
            run([&] { open = N17Click(s); });
            if (open)
                run([&] { PrintFormActivate(s, p, true); });
            break;
        }
        case Kind::PrintTab:
            run([&] {
                cmd.table == 0   ? GlavStrShow(s, p)
                : cmd.table == 1 ? RabStrShow(s, p)
                                 : ArhStrShow(s, p);
            });
            break;
        case Kind::PrintPick: {
            const qint64 row =
                rowOf(cmd.row, before.print.tables[static_cast<size_t>(active)].rows);
            if (cmd.flag)
                run([&] { TablRowPicked(s, p, active, row); });
            else
                run([&] { TablMouseDown(s, p, active, row, cmd.column); });
            break;
        }
        case Kind::PrintSort:
            run([&] { SortirClick(s, p); });
            break;
        case Kind::PrintMark:
            if (active == 0)
                run([&] { EstNet(s, p, cmd.value); });
            else
                run([&] { RabEstNet(s, p, cmd.value); });
            break;
        case Kind::PrintAdd:
            run([&] { PlusRabClick(s, p); });
            break;
        case Kind::PrintDelete:
            run([&] { DelRabClick(s, p); });
            break;
        case Kind::PrintClear:
            run([&] { RabClearClick(s, p); });
            break;
        case Kind::PrintShow:
            run([&] { KartMatClick(s, p); });
            if (std::exchange(p.close, false))
                run([&] { FormActivate(s); });
            break;
        case Kind::PrintBook:
            run([&] { KnigaClick(s, p); });
            break;
        case Kind::PrintExport:
            p.StolbExcel = cmd.columns;
            run([&] { ExcelTClick(s, p); });
            break;
        case Kind::PrintFilter:
            run([&] { FiltrFormActivate(s, m_filter); });
            m_filter.conditions = conditions(cmd.conditions);
            m_filter.udRG = cmd.udRG;
            m_filter.PRNPost = cmd.PRNPost;
            run([&] { cmd.flag ? ArhWibClick(s, m_filter, p) : GlWibClick(s, m_filter, p); });
            run([&] { PrintFormActivate(s, p, false); });
            break;
        case Kind::PrintClearMarks:
            run([&] { FiltrFormActivate(s, m_filter); });
            m_filter.conditions.NaSE = cmd.conditions.NaSE;
            m_filter.conditions.KoSE = cmd.conditions.KoSE;
            run([&] { UdDelClick(s, m_filter, p); });
            run([&] { PrintFormActivate(s, p, false); });
            break;
        case Kind::PrintClose:
            run([&] { FormActivate(s); });
            break;
        case Kind::DiskFull:
            break;
        }
    }

    // The commands that end the program are followed by its next start.
    void afterwards(const Cmd& cmd) {
        const bool startsAgain = cmd.kind == Kind::Restart || cmd.kind == Kind::Backup ||
                                 (cmd.kind == Kind::Restore && state().exitCode);
        if (startsAgain)
            restart();
        if (cmd.kind == Kind::PrintExport) {
            QFile exported(file(QStringLiteral("L_Excel.txt")));
            const QByteArray expected = model::exportFile(m_model.working, cmd.columns);
            if (!exported.open(QIODevice::ReadOnly) || exported.readAll() != expected)
                RC_FAIL("L_Excel.txt is not the working card file's export");
        }
    }

    // A write fails (the disk is full) during the command; every file must hold what it held
    // before or what the command makes of it, nothing in between that loses a card, and the
    // program, started again, goes on with what the files hold.
    void diskFull(const Cmd& cmd) {
        const Cmd& inner = *cmd.inner;
        const Model before = m_model;
        Model after = m_model;
        model::Script script;
        model::step(after, inner, script);
        m_lenient = true;
        answer(script);
        withFileSizeLimit(cmd.limit, [&] { perform(inner, before); });
        drain();
        m_lenient = false;
        m_unexpected.clear();

        const std::vector<TAnketa> mainSeen = readCards(kMain);
        const std::vector<TAnketa> archiveSeen = readCards(kArchive);
        const std::vector<TAnketa> workingSeen = readCards(kWorking);
        std::string problem = wholeRecords();
        if (!plausible(mainSeen, before.main, after.main, false))
            problem += "the main card file is neither as before nor as after\n";
        if (!plausible(archiveSeen, before.archive, after.archive, false))
            problem += "the archive is neither as before nor as after\n";
        if (!plausible(workingSeen, before.working, after.working, true))
            problem += "the working card file is neither as before nor as after\n";
        // Cards moved between the main card file and the archive are in exactly one of them.
        if (!sameCards(before.main, after.main) && !sameCards(before.archive, after.archive) &&
            sameCards(mainSeen, after.main) != sameCards(archiveSeen, after.archive))
            problem += "a card moved to the archive is in both files or in neither\n";
        if (!problem.empty())
            RC_FAIL(problem + "after: " + describeCmd(cmd));

        m_model.main = mainSeen;
        m_model.archive = archiveSeen;
        m_model.working = workingSeen;
        if (inner.kind == Kind::Backup && QFile::exists(backupPath(m_model.lastBackup + 1))) {
            m_model.backups.push_back({++m_model.lastBackup, before.main, before.archive});
            if (m_model.backups.size() > 10)
                m_model.backups.erase(m_model.backups.begin());
        }
        // Started again: "Выход" first where the program still runs.
        m_model.ended = bool(state().exitCode);
        model::Script again;
        model::step(m_model, plain(Kind::Restart), again);
        answer(again);
        restart();
        checkPrompts(again);
        check(describeCmd(cmd));
    }

    std::string wholeRecords() {
        std::string problem;
        for (const QString& path : {kMain, kArchive, kWorking}) {
            if (readBytes(path).size() % TAnketa::Size != 0)
                problem += path.toStdString() + " does not hold whole records\n";
        }
        return problem;
    }

    std::string compareFile(const QString& path, const std::vector<TAnketa>& expected) {
        const std::vector<TAnketa> seen = readCards(path);
        std::string problem;
        const std::string name = path.toStdString();
        if (seen.size() != expected.size())
            problem += name + " holds " + std::to_string(seen.size()) + " cards, the model " +
                       std::to_string(expected.size()) + '\n';
        for (size_t i = 0; i < std::max(seen.size(), expected.size()); ++i) {
            if (i < seen.size() && i < expected.size() && seen[i].sameFields(expected[i]))
                continue;
            problem += "  record " + std::to_string(i) + ": " +
                       (i < seen.size() ? describe(seen[i]) : std::string("none")) +
                       "\n    model: " +
                       (i < expected.size() ? describe(expected[i]) : std::string("none")) + '\n';
        }
        // Keys are unique where the model's are.
        const auto unique = [](const std::vector<TAnketa>& cards) {
            std::set<int> keys;
            for (const TAnketa& c : cards)
                keys.insert(c.Klu4Form1);
            return keys.size() == cards.size();
        };
        if (unique(expected) && !unique(seen))
            problem += name + " holds a key twice\n";
        return problem;
    }

    // After every command: the files, the grids and the editor as the model has them.
    void check(const std::string& after) {
        AppState& s = state();
        std::string problem = wholeRecords();
        problem += compareFile(kMain, m_model.main);
        problem += compareFile(kArchive, m_model.archive);
        problem += compareFile(kWorking, m_model.working);
        if (bool(s.exitCode) != m_model.ended)
            problem += m_model.ended ? "the program goes on\n" : "the program ended\n";
        if (!m_model.ended) {
            const auto rows = [](qint64 grid, size_t cards, const char* name) {
                return grid == static_cast<qint64>(cards)
                           ? std::string()
                           : std::string(name) + " has " + std::to_string(grid) + " rows for " +
                                 std::to_string(cards) + " cards\n";
            };
            problem += rows(s.Spisok.rowCount(), m_model.main.size(), "Spisok");
            problem += rows(s.RabSpis.cards(), m_model.working.size(), "RabSpis");
            if (m_model.print.open) {
                problem += rows(m_print->Tabl.rows(), m_model.main.size(), "Tabl");
                const int active = m_model.print.active;
                problem += rows(m_print->grid(active).rows(), m_model.file(active).size(),
                                "the table in front");
                if (m_print->activeTable != active)
                    problem += "the print selection window has table " +
                               std::to_string(m_print->activeTable) + " in front, the model " +
                               std::to_string(active) + '\n';
            }
            if ((s.EditState == CardEditState::New) != m_model.editNew)
                problem += "the editor is in the wrong state\n";
            if (s.form.Klu4Form1 != QString::number(m_model.form.Klu4Form1))
                problem += "the editor shows key " + s.form.Klu4Form1.toStdString() +
                           ", the model " + std::to_string(m_model.form.Klu4Form1) + '\n';
            if (s.main.isOpen() && s.main.pos() != m_model.pos)
                problem += "the main card file stands at " + std::to_string(s.main.pos()) +
                           ", the model at " + std::to_string(m_model.pos) + '\n';
            if (s.SpisokRow != m_model.spisokRow)
                problem += "Spisok has row " + std::to_string(s.SpisokRow) +
                           " selected, the model " + std::to_string(m_model.spisokRow) + '\n';
        }
        if (!problem.empty())
            RC_FAIL(problem + "after: " + after);
    }

    Model m_model;
    std::unique_ptr<PrintSelection> m_print;
    SearchForm m_search;
    FilterForm m_filter;
    QString m_unexpected;
    bool m_lenient = false;
};

// One step of a sequence: the model's rule and the register's command.
struct Step : rc::state::Command<Model, CommandSequences> {
    explicit Step(Cmd c)
        : cmd(std::move(c)) {}
    void checkPreconditions(const Model& m) const override { RC_PRE(model::allowed(m, cmd)); }
    void apply(Model& m) const override {
        model::Script ignored;
        model::step(m, cmd, ignored);
    }
    void run(const Model&, CommandSequences& sequences) const override { sequences.execute(cmd); }
    void show(std::ostream& os) const override { os << cmd; }
    Cmd cmd;
};

} // namespace

RC_GTEST_FIXTURE_PROP(CommandSequences, RegisterHoldsWhatTheModelHolds, ()) {
    (void)kDefaultParams;
    begin();
    rc::state::check(Model::fresh(), static_cast<CommandSequences&>(*this), [](const Model& m) {
        return rc::gen::map(genAnyCommand(m), [](Cmd cmd) {
            return std::shared_ptr<const rc::state::Command<Model, CommandSequences>>(
                std::make_shared<const Step>(std::move(cmd)));
        });
    });
    checkIndex();
}
