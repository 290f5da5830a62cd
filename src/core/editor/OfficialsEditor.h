#pragma once

#include <QList>
#include <QString>

namespace zelmar {

struct AppState;

// One row of the officials editor's table.
struct Official {
    QString name;
    QString position;
};

// The officials editor's state: its table (rows numbered from 1, as the grid shows them), the
// selected row (0 = none; kept while the window is closed), the edit boxes of the row.
struct OfficialsEditor {
    QList<Official> rows;
    int selected = 0;
    int cursorRow = 0;
    QString Nomer;
    QString FIO;
    QString Dolgnost1;
};

// Whether Replace and Delete have a row to act on; without one they are disabled.
inline bool hasSelectedRow(const OfficialsEditor& e) {
    return e.selected >= 1 && e.selected <= e.rows.size();
}

// The officials table at start: opened, or made from the cards of the last 365 days (or the
// three default officials when there are no cards).
void openOfficialsTable(AppState& s);
// The show event's part: positions, officials into the table and the name lists.
void loadOfficials(AppState& s);

// The officials editor window.
void TFIO_DolgnFormShow(AppState& s);
void Tab_F_DClick(AppState& s, int row);
void BitBtn2Click(AppState& s);  // replace the selected row
void PlusRabClick(AppState& s);  // insert a row below the selected one
void OtmDelClick(AppState& s);   // delete the selected row
void BitBtn1Click(AppState& s);  // sort by name
void SaveClick(AppState& s);     // write the table
void DolgWinClick(AppState& s);  // edit the positions list
void Tabl_BoxClick(AppState& s); // positions of the table into the list

// The pickers: a name chosen or typed fills its position box.
void KemWinesChange(AppState& s);
void PodpUtwChange(AppState& s);
void KemProdlenChange(AppState& s);

// Names compared byte by byte in Windows-1251, as the table's sort compares them.
bool cp1251Less(const QString& a, const QString& b);

} // namespace zelmar
