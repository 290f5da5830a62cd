#pragma once

#include <QDate>
#include <QString>

namespace zelmar {

struct AppState;
struct TAnketa;

// The four routines through which every command moves a card between the main card file, the
// card buffer and the editor's controls.

// Card buffer -> controls; copies the buffer into SavedCard; sets the attachment indicators.
void ShowRecord(AppState& s);
// Reads the card at the main card file's position into the buffer and shows it; on an empty
// file puts a blank card in the "New" state.
void Scatter(AppState& s);
// A blank card into the controls (the card buffer is not touched).
void ClearOkna(AppState& s);
// The position and count fields.
void Kakay(AppState& s);
// The counter of characters left for the content text.
void FabulaChange(AppState& s);

// The controls -> the card buffer, each text cut to its field; the integers of GurN, Srok and
// Klu4Form1 are given already converted. Stamps and AdminFIO are the caller's.
void gatherCard(AppState& s, int gurN, int srok, int key);

// The attachment indicators of the card key.
void showAttachmentIndicators(AppState& s, int key);

// The card buttons' visibility table.
void hideAllCardButtons(AppState& s);
void hideCardButtonsForNew(AppState& s);
void showAllCardButtons(AppState& s);
void showCardButtonsForCancel(AppState& s);

// A date the user picked in a date picker: unchanged when the day is the one the control
// held (the stored time of day stays), else the whole day, so no time of day of another card
// reaches it.
double pickedDate(double current, const QDate& picked);

// Leading and trailing characters of code 0..32 removed.
QString trimControl(const QString& text);

} // namespace zelmar
