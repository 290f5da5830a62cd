#pragma once

#include <QString>

namespace zelmar {

struct AppState;
struct CardForm;

// The files of a card: its reply letter, picture and document, named by the card's key. Each
// button offers to open or delete an existing file, or makes a new one: a letter or document
// filled from its blank, a picture copied from the blank picture; then opens it.

// "Ответить" / "Есть ответ".
void OtvetClick(AppState& s);
// The picture: "Нет" / "Есть".
void GifEstClick(AppState& s);
// The document: "Нет" / "Есть".
void WordEstClick(AppState& s);

// "Письмо послать": a new message to the applicant in the mail program.
void PoslatEMailClick(AppState& s);
// The mailto: link of the editor's boxes, each part percent-encoded (UTF-8), so a blank, &, ?
// or # in a box stays text of the message.
QString mailLink(const CardForm& f);

// "Помощь", "Приказ № 140 от 01.03.2012", "Приложения к приказу № 140".
void N10Click(AppState& s);
void N9851Click(AppState& s);
void N9581Click(AppState& s);

} // namespace zelmar
