#pragma once

#include "core/access/Settings.h"
#include "core/access/Users.h"
#include "core/editor/CardForm.h"
#include "core/editor/CardGridModel.h"
#include "core/editor/CardKeys.h"
#include "core/editor/ColourCommands.h"
#include "core/editor/MainCardFile.h"
#include "core/editor/OfficialsEditor.h"
#include "core/platform/Progress.h"
#include "core/store/DropDownLists.h"
#include "core/store/Officials.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <optional>

namespace zelmar {

class Clock;
class Prompts;
class Shell;

using CardFile = TypedFile<TAnketa>;

enum class CardEditState { New, Korr };

// What every window of the register shares: the open card files and their positions, the card
// buffer, the editor's state and controls, the grids. Created once at start and handed to
// every window; every command works on it.
struct AppState {
    AppState(const Paths& paths, const Clock& clock, Prompts& prompts, Shell& shell);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Paths paths;
    const Clock& clock;
    Prompts& prompts;
    Shell& shell;
    // The meters of the window that runs the current command; none outside a window.
    Progress* progress = &m_noProgress;

    // The card files. The main card file's position is the shown card.
    MainCardFile main;
    CardFile archive;
    CardFile working;
    RecordFile templates{448};
    TypedFile<TDostupRec> usersFile;
    TypedFile<TWinesRec> officialsFile;
    // The archive's keys, so that a new card's key is found free at once.
    FileKeys archiveKeys{archive};

    // The users and who is working; the settings.
    Access access;
    Settings settings;

    // The drop-down lists, the officials editor, the window's colours.
    DropDownLists lists;
    OfficialsEditor officials;
    WindowColours colours;

    // The card buffer: the card last read from a file or gathered from the editor.
    TAnketa card;
    TAnketa SavedCard;
    TAnketa ClipCard;

    CardEditState EditState = CardEditState::Korr;
    qint64 CardCount = 0;
    qint64 CurNo = 0;
    qint64 NavIndex = 0;

    CardForm form;
    CardButtons buttons;

    // The grids and their selected rows, numbered as the grid rows: 1 is the first card, 0
    // the heading (nothing selected).
    CardGridModel Spisok;
    CardGridModel RabSpis;
    qint64 SpisokRow = 0;
    qint64 RabSpisRow = 0;

    // The control that should take the input focus after the command ("" for none).
    QString focus;

    // The register number picked in the print selection window.
    int printSelectedGurN = 0;

    // Set when the program must end (with this exit code) after the command.
    std::optional<int> exitCode;

    QString local(QStringView registerPath) const { return paths.local(registerPath); }
    QString currentUserName() const;

private:
    NoProgress m_noProgress;
};

} // namespace zelmar
