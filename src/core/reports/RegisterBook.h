#pragma once

#include <QtGlobal>

namespace zelmar {

struct AppState;
struct PrintSelection;

// The report buttons of the print selection window's working tab ("Печать"). The reports of
// the working card file leave its last card in the window's card buffer; "Полная" and
// "Стандарт" print the window's card buffer, the card last picked in a table.
void KwitkiClick(AppState& s, PrintSelection& p);  // receipts
void BitBtn2Click(AppState& s, PrintSelection& p); // cancelled decisions, numbered
void BitBtn3Click(AppState& s, PrintSelection& p); // for the prosecutor's check, numbered
void BitBtn1Click(AppState& s, PrintSelection& p); // the full card
void BitBtn4Click(AppState& s, PrintSelection& p); // the standard card
// The register book; then, when the user agrees, every card of the main card file that a card
// of the working card file stands for is marked as entered in the book.
void KnigaClick(AppState& s, PrintSelection& p);

// Marks as entered in the register book (PrintNet 1) every card of the main card file with the
// register number and decision day of a card of the working card file: one pass over the
// working card file, the main card file's cards found through its index. The working card
// file keeps its own marks. Returns the number of main-file cards that stand for a working
// card (marked now or before).
qint64 markRegisterBookPrinted(AppState& s);

} // namespace zelmar
