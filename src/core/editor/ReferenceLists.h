#pragma once

#include "core/store/DropDownLists.h"

#include <QString>

namespace zelmar {

struct AppState;
struct CardForm;

// The text box of a card editor's drop-down list (none for the officials editor's positions).
QString* boxText(CardForm& form, ListId id);

// A list file's lines; a missing file reads as an empty list.
QStringList readListFile(const AppState& s, ListId id);
// Writes a list's items as its file, whole.
void writeListFile(const AppState& s, ListId id, const QStringList& items);

// The nine lists loaded at the main window's creation.
void loadReferenceLists(AppState& s);
// Enter in a drop-down list: its text joins the items unless an item equals it ignoring
// letter case; the items are written to Temp\Slowar.txt in every case.
void appendOnEnter(AppState& s, ListId id);
// The ten lists written at "Выход".
void saveReferenceLists(AppState& s);

// The list editor over one of the text lists of the menu "Справочники".
void editReferenceList(AppState& s, ListId id, const QString& caption);
void MotClick(AppState& s);      // "Мотив отказа"
void WidDokumClick(AppState& s); // "Вид документа"
void PredpriClick(AppState& s);  // "Предприятие отправитель"
void N14Click(AppState& s);      // "Заявитель ФИО"
void N21Click(AppState& s);      // "Заявитель Должность"

// The lines of the list editor's text (a last line break ends the last line, it does not
// start an empty one).
QStringList editorLines(const QString& text);
QString editorText(const QStringList& items);

} // namespace zelmar
