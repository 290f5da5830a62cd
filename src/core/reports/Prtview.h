#pragma once

#include <QDate>
#include <QStringList>

namespace zelmar {

class Prompts;
class Shell;

// The report runner, run in the report folder:
//   DATA TEMPLATE RESULT - /m   merges the data into the template, giving the result;
//   DATA TEMPLATE RESULT - /p   the same when the result is missing or older than the data or
//                               the template, then opens it in the word processor;
//   DATA TEMPLATE               opens the template for editing.
// The two starts of one report run at the same time: each merges under a lock beside the
// result, which is replaced whole. Every failure is a message; returns the exit status.
int runPrtview(const QStringList& arguments, const QDate& today, Shell& shell, Prompts& prompts);

} // namespace zelmar
