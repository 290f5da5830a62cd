#pragma once

// What the register must hold after any sequence of a clerk's commands, kept plainly: the
// three card files as vectors of cards, the editor's state, the print selection window's
// tables, the backups, and one rule per command. The property test runs the same commands on
// the register and compares after every one.

#include "core/platform/ScriptedPrompts.h"
#include "core/store/TAnketa.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace zelmar::model {

// The fixed moment of the tests (07.12.2026 10:30) and what follows from it.
inline constexpr double kNow = 46363.4375;
inline constexpr double kToday = 46363;
// The clock's key: the moment in units of 1/100000 day without its leading digit.
inline constexpr int kClockKey = 636343750;
inline constexpr double kEmptyDate = 367;
inline constexpr int kKeys = 1'000'000'000;
inline constexpr int kColumns = 18;

// The controls a clerk types into.
enum class Field {
    GurN,
    DateOtkaza,
    KUPN,
    KUPData,
    FIOAvtor,
    Fabula,
    Otmetka,
    PrintNet,
    NashaWxodDat,
    NeNashaIshDat,
    KemWines,
    PodpUtw,
    Motiv,
    ProkOtmetka,
    Adres,
    NazwDok,
    NeNashIshNom,
    NashWxodNom,
    NashIshNom,
    NasheIshData,
    DeloNom,
    DeloDat,
    Telefon,
    Srok,
    Count
};

struct Edit {
    Field field;
    QString text;     // text fields
    double value = 0; // numbers and dates
};

// The conditions of the search and filter windows.
struct Conditions {
    int NaSE = 1;
    int KoSE = 9999;
    double NaDat = 0;
    double KoDat = 0;
    int PrintNet = 2;
    double KUPDataN = 0;
    double KUPDataPo = 0;
    QString ProkOtmetka, KemWines, PodpUtw, Zayavitel, IshNomZayv, KlSlovo, WhNash, IshNash, MotivP,
        KUPN;
};

enum class Kind {
    // The main window.
    NewSave,      // "Новая", the edits, "Запомнить"
    Save,         // the edits, "Запомнить"
    Copy,         // "Копия"
    Paste,        // "Вставить из буфера"
    Cancel,       // "Отмена"
    Insert,       // "Ins", answer yes/no
    Delete,       // "Del", choice 0..3
    First,        // navigation
    Prev,         //
    Next,         //
    Last,         //
    ClickRow,     // a press on a row of the main grid
    Mark,         // "уд" on the selected row (row 0: the row selected already)
    AddToWorking, // "Из Главной добавить в Рабочую"
    ClearWorking, // "Очистить Рабочую картотеку"
    OpenWorking,  // a press on a row of the working grid
    Find,         // the search window: "Найти" with conditions
    Compact,      // "Сжать Главную Картотеку": choice, renumber
    CompactArchive,
    Restart, // "Выход" without a backup, then the program started again
    Backup,  // "Выход" with a backup, then started again
    Restore, // "Восстановить базу из архива Backup" (a backup by number), started again
    // The print selection window.
    PrintOpen,
    PrintTab,
    PrintPick,
    PrintSort,
    PrintMark,   // "Есть" / "Нет" on the table in front
    PrintAdd,    // "Скопировать в Рабочую"
    PrintDelete, // "Из Рабочей удалить"
    PrintClear,  // "Очистить Рабочую"
    PrintShow,   // "Показать эту карточку" (the window closes)
    PrintBook,   // "Книга", then the marking question
    PrintExport, // "в Excel"
    PrintFilter, // the filter window: "Главная" or "Архив" with conditions and actions
    PrintClearMarks, // the filter window: the marks of positions NaSE..KoSE cleared
    PrintClose,
    // A write that fails (the disk full) during another command; the program is started
    // again after it.
    DiskFull,
};

struct Cmd {
    Kind kind = Kind::Save;
    std::vector<Edit> edits;
    int answer = 0;    // the choice dialog's button, or 1 for Yes
    bool flag = false; // renumber; a pick by keyboard; the archive as the filter's source
    int row = 0;       // a grid row, 1.. (taken modulo the rows there are); 0: none
    int column = 0;    // the column picked
    int table = 0;     // the tab brought to the front
    int value = 0;     // "Есть" 1 / "Нет" 0; the backup's number
    int udRG = 2, PRNPost = 2;
    Conditions conditions;
    std::array<bool, kColumns> columns{};
    long limit = 0; // DiskFull: the bytes a file may reach
    std::shared_ptr<const Cmd> inner;
};

std::ostream& operator<<(std::ostream& os, const Cmd& cmd);

struct Buttons {
    bool nNew = true, nCopiy = true, nPoisk = true, nDelete = true, nWstavit = true, nOtmena = true,
         nVstavka = false;
};

// A table of the print selection window: its rows as last filled, the order a sort gave
// (record of each row; empty: file order) and its current row.
struct Table {
    qint64 rows = 0;
    std::vector<qint64> order;
    qint64 row = 0;
};

struct PrintWindow {
    bool open = false;
    int active = 0; // 0 main, 1 working, 2 archive
    int sortColumn = 0;
    std::array<Table, 3> tables;
    TAnketa card = zeroCard();
    int cardTable = 0;
    qint64 cardRecord = -1;
    QString panelGurN;
    double panelDate = 0;
};

struct BackupCopy {
    int number;
    std::vector<TAnketa> main, archive;
};

struct Model {
    std::vector<TAnketa> main, archive, working;
    // The editor: its controls as Save gathers them, the card buffer, the remembered card.
    TAnketa form = zeroCard();
    TAnketa buffer = zeroCard();
    std::optional<TAnketa> clip;
    bool editNew = false;
    qint64 pos = 0; // the main card file's position
    qint64 curNo = 0, navIndex = 0, spisokRow = 0, rabSpisRow = 0;
    Buttons buttons;
    bool ended = false; // the program asked to be started again
    PrintWindow print;
    std::vector<BackupCopy> backups;
    int lastBackup = 0;

    // A new installation folder, the program started.
    static Model fresh();
    std::vector<TAnketa>& file(int table);
    const std::vector<TAnketa>& file(int table) const;
};

// A prompt the command must show, and the answer the clerk gives.
struct Prompt {
    ScriptedPrompts::Kind kind;
    QString caption{}; // what the caption starts with
    QString text{};    // what the text starts with
    int answer = 0;    // a question: 1 Yes; a choice: the button
    QString file{};    // the open-file dialog's answer
};
using Script = std::vector<Prompt>;

// Whether the clerk can give the command now (a window open, a button shown).
bool allowed(const Model& m, const Cmd& cmd);
// What the command does to the model, and the prompts it shows.
void step(Model& m, const Cmd& cmd, Script& script);

// The card as the search and the filter test it.
bool passes(const TAnketa& card, const Conditions& c);
// The register's own texts: the print selection window's cell, the export's line.
QString cellText(const TAnketa& card, int column, bool blankDates);
QByteArray exportFile(const std::vector<TAnketa>& working,
                      const std::array<bool, kColumns>& columns);
QByteArray cp1251(const QString& text);
bool marked(const TAnketa& card);
QString backupName(int number);

} // namespace zelmar::model
