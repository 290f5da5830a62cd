#pragma once

#include "core/reports/TShablonRec.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zelmar {

struct AppState;

// One template of the list: its name, its file as the list stores it and a comment.
struct TemplateRow {
    QString name;
    QString path;
    QString comment;
    bool operator==(const TemplateRow&) const = default;
};

// The template window "Шаблоны печатных документов": the list REPORT\Shablon.dat as the grid
// SpPrDok and the fields of one template. The window copies its widgets into this before a
// command and back after it.
struct TemplatesWindow {
    // The grid's data rows: grid row r (1..) shows SpPrDok[r - 1], record r - 1 of the file.
    std::vector<TemplateRow> SpPrDok;
    // The grid's selected data row (1..), 0 for none.
    qint64 row = 0;
    QString ImaDok; // name
    QString PutFil; // path of the file
    QString SodFil; // comment
};

// The list written for the spreadsheet; the instructions for editing report templates.
inline constexpr QStringView TemplateListText = u"Temp\\Shabl.txt";
inline constexpr QStringView TemplateInstructions = u"c:\\Zelmar\\Report\\Rep_Instr.doc";

const QStringList& templateHeadings();
TemplateRow templateRow(const TShablonRec& record);
// The record of a row, its texts cut to their places, the reserved bytes zero.
TShablonRec templateRecord(const TemplateRow& row);
// The report prefix of a runner's picture ("PolnPic.rtf" -> "Poln"): the file name's part
// before "pic." (found in any letter case, kept as typed); empty when the name has none.
QString pictureTemplatePrefix(const QString& path);

// Each opening: the grid filled from the file, the fields cleared.
void ShablonFormActivate(AppState& s, TemplatesWindow& t);
// A press on a data row (1..): its template in the fields.
void SpPrDokMouseDown(AppState& s, TemplatesWindow& t, qint64 row);
// Choose the file of a new template.
void PlusClick(AppState& s, TemplatesWindow& t);
// Remember the template of the fields: replaces the entry of the same file, else adds one.
void SavesClick(AppState& s, TemplatesWindow& t);
// Remove the entry of the file in PutFil.
void MinusClick(AppState& s, TemplatesWindow& t);
// Open the template in the program that edits it.
void dxfColorButton1Click(AppState& s, TemplatesWindow& t);
// The list as Temp\Shabl.txt, opened in the spreadsheet.
void PrintClick(AppState& s, TemplatesWindow& t);
// The instructions for report templates.
void pRezKopClick(AppState& s);

// What the buttons can act on, so that a button that cannot is disabled: "Удалить" a listed
// template whose file PutFil names, "Открыть шаблон" a file of a kind it opens (a runner's
// picture, a workbook, a document).
bool canRemoveTemplate(const AppState& s, const TemplatesWindow& t);
bool canOpenTemplate(const TemplatesWindow& t);

} // namespace zelmar
