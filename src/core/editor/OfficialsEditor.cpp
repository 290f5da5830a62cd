#include "core/editor/OfficialsEditor.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/ReferenceLists.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompts.h"
#include "core/store/Cp1251.h"
#include "core/store/SafeFile.h"

#include <QSet>

namespace zelmar {

namespace {

void copyNamesAndPositions(AppState& s) {
    s.lists.set(ListId::PodpUtw, s.lists.items(ListId::KemWines));
    s.lists.set(ListId::KemProdlen, s.lists.items(ListId::KemWines));
    s.lists.set(ListId::DolgnPodp, s.lists.items(ListId::DolgWines));
    s.lists.set(ListId::DolgProdlen, s.lists.items(ListId::DolgWines));
}

void readOfficialsIntoTable(AppState& s) {
    s.officials.rows.clear();
    s.officialsFile.seek(0);
    while (!s.officialsFile.eof()) {
        const TWinesRec record = s.officialsFile.read();
        s.officials.rows.append({record.name.text(), record.position.text()});
    }
}

// The names of the table as the officials file keeps them.
QStringList officialNames(const AppState& s) {
    QStringList names;
    for (const Official& row : s.officials.rows)
        names.append(row.name.left(30));
    return names;
}

void pick(AppState& s, const QString& name, QString& position) {
    const QString wanted = name.trimmed();
    for (const Official& row : s.officials.rows) {
        if (row.name.trimmed() == wanted) {
            position = row.position;
            return;
        }
    }
}

} // namespace

bool cp1251Less(const QString& a, const QString& b) {
    const QByteArray x = toCp1251(a);
    const QByteArray y = toCp1251(b);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
}

void openOfficialsTable(AppState& s) {
    const QString path = s.local(files::Officials);
    if (fileExists(path)) {
        s.officialsFile.openForUpdate(path);
        return;
    }
    s.officialsFile.create(path);
    if (s.main.size() > 0) {
        // Every official of the last year's cards, once, in order of first appearance.
        const double since = s.clock.today() - 365;
        QSet<QString> known;
        std::vector<TWinesRec> found;
        s.main.forEach([&](qint64, const char* bytes) {
            const auto& card = *std::launder(reinterpret_cast<const TAnketa*>(bytes));
            if (!(card.DateOtkaza > since))
                return;
            const QString name = card.KemWines.text().trimmed();
            if (known.contains(name))
                return;
            known.insert(name);
            found.push_back(officialRecord(name, card.DolgWines.text()));
        });
        for (const TWinesRec& record : found)
            s.officialsFile.write(record);
    } else {
        s.officialsFile.write(
            officialRecord(QStringLiteral("Иванов И.И."), QStringLiteral("Начальник ОМВД")));
        s.officialsFile.write(
            officialRecord(QStringLiteral("Петров П.П."), QStringLiteral("Зам.начальника ОМВД")));
        s.officialsFile.write(
            officialRecord(QStringLiteral("Сидоров С.С."), QStringLiteral("Зам.начальника ОМВД")));
    }
    s.officialsFile.sync();
}

void loadOfficials(AppState& s) {
    const QStringList positions = readListFile(s, ListId::DolgWines);
    s.lists.set(ListId::Dolgnost1, positions);
    readOfficialsIntoTable(s);
    s.lists.set(ListId::KemWines, officialNames(s));
    s.lists.set(ListId::DolgWines, positions);
    copyNamesAndPositions(s);
}

void TFIO_DolgnFormShow(AppState& s) {
    s.lists.set(ListId::Dolgnost1, readListFile(s, ListId::Dolgnost1));
    readOfficialsIntoTable(s);
}

void Tab_F_DClick(AppState& s, int row) {
    OfficialsEditor& e = s.officials;
    if (row < 1 || row > e.rows.size())
        return;
    const Official& official = e.rows.at(row - 1);
    e.Nomer = QString::number(row);
    e.FIO = official.name;
    e.Dolgnost1 = official.position;
    e.selected = row;
    e.cursorRow = row;
}

void BitBtn2Click(AppState& s) {
    OfficialsEditor& e = s.officials;
    if (e.selected < 1 || e.selected > e.rows.size())
        return;
    e.rows[e.selected - 1] = {e.FIO, e.Dolgnost1};
}

void PlusRabClick(AppState& s) {
    OfficialsEditor& e = s.officials;
    // With no row selected (an empty table too) the new row goes first.
    const int below = std::clamp(e.selected, 0, static_cast<int>(e.rows.size()));
    e.rows.insert(below, {e.FIO, e.Dolgnost1});
    e.cursorRow = below + 1;
}

void OtmDelClick(AppState& s) {
    OfficialsEditor& e = s.officials;
    if (e.selected < 1 || e.selected > e.rows.size())
        return;
    e.rows.removeAt(e.selected - 1);
}

void BitBtn1Click(AppState& s) {
    // For k from the last row down: the greatest name among rows 1..k (the first one found
    // wins a tie) changes places with row k.
    OfficialsEditor& e = s.officials;
    QList<Official>& rows = e.rows;
    // The selected official keeps being selected in his new row, so the edit boxes, which show
    // him, and a following Replace or Delete go on meaning him.
    qsizetype selected = e.selected - 1;
    for (qsizetype k = rows.size() - 1; k > 0; --k) {
        qsizetype greatest = 0;
        for (qsizetype i = 1; i <= k; ++i) {
            if (cp1251Less(rows[greatest].name, rows[i].name))
                greatest = i;
        }
        std::swap(rows[k], rows[greatest]);
        if (selected == k)
            selected = greatest;
        else if (selected == greatest)
            selected = k;
    }
    if (e.selected >= 1 && e.selected <= rows.size()) {
        e.selected = static_cast<int>(selected + 1);
        e.cursorRow = e.selected;
        e.Nomer = QString::number(e.selected);
    }
}

void SaveClick(AppState& s) {
    const QString path = s.local(files::Officials);
    std::vector<TWinesRec> records;
    for (const Official& row : s.officials.rows)
        records.push_back(officialRecord(row.name, row.position));
    replaceRecords(s.officialsFile, path, records);
    s.lists.set(ListId::KemWines, officialNames(s));
    copyNamesAndPositions(s);
}

void DolgWinClick(AppState& s) {
    const QString edited = s.prompts.editText(QStringLiteral("Список должностей"),
                                              editorText(s.lists.items(ListId::Dolgnost1)));
    const QStringList lines = editorLines(edited);
    s.lists.set(ListId::Dolgnost1, lines);
    s.lists.set(ListId::DolgWines, lines);
    writeListFile(s, ListId::DolgWines, s.lists.items(ListId::DolgWines));
    s.lists.set(ListId::DolgnPodp, s.lists.items(ListId::DolgWines));
    s.lists.set(ListId::DolgProdlen, s.lists.items(ListId::DolgWines));
}

void Tabl_BoxClick(AppState& s) {
    QStringList merged;
    QSet<QString> seen;
    const auto add = [&](const QString& position) {
        const QString folded = position.toCaseFolded();
        if (seen.contains(folded))
            return;
        seen.insert(folded);
        merged.append(position);
    };
    for (const QString& position : s.lists.items(ListId::Dolgnost1))
        add(position);
    for (const Official& row : s.officials.rows)
        add(row.position);
    s.lists.set(ListId::Dolgnost1, merged);
}

void KemWinesChange(AppState& s) {
    pick(s, s.form.KemWines, s.form.DolgWines);
}

void PodpUtwChange(AppState& s) {
    pick(s, s.form.PodpUtw, s.form.DolgnPodp);
}

void KemProdlenChange(AppState& s) {
    pick(s, s.form.KemProdlen, s.form.DolgProdlen);
}

} // namespace zelmar
