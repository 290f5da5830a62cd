// The small files of an installation folder, any bytes in each: a reference list, the users
// file Dostup.dat, the officials Wines.dat, the colours CwetFona.krv, the settings NoKor.krv
// and the list of templates Shablon.dat. The first byte chooses the file.

#include "FuzzSupport.h"

#include "core/access/Settings.h"
#include "core/access/Users.h"
#include "core/access/UsersEditor.h"
#include "core/editor/ColourCommands.h"
#include "core/editor/OfficialsEditor.h"
#include "core/editor/ReferenceLists.h"
#include "core/platform/Errors.h"
#include "core/reports/Templates.h"
#include "core/store/SafeFile.h"

#include <cstdlib>

using namespace zelmar;

namespace {

void referenceList(AppState& s) {
    loadReferenceLists(s);
    const QStringList loaded = s.lists.items(ListId::WidDok);
    // Leaving the program writes the lists back: they must read as they were loaded.
    saveReferenceLists(s);
    loadReferenceLists(s);
    if (s.lists.items(ListId::WidDok) != loaded)
        std::abort();
    (void)editorLines(editorText(loaded));
    s.form.WidDok = loaded.value(0) + QStringLiteral("х");
    appendOnEnter(s, ListId::WidDok);
}

void users(AppState& s) {
    loadAccessTable(s);
    UsersGrid grid;
    TForm5FormShow(s, grid);
    for (int row = 0; row < s.access.UserCount; ++row) {
        logInAs(s, row);
        (void)userWithPassword(s.access, s.access.AccessTable[static_cast<size_t>(row)].password);
    }
}

void officials(AppState& s) {
    openOfficialsTable(s);
    loadOfficials(s);
    TFIO_DolgnFormShow(s);
    for (int row = 1; row <= s.officials.rows.size() && row <= 16; ++row) {
        Tab_F_DClick(s, row);
        s.form.KemWines = s.officials.rows[row - 1].name;
        KemWinesChange(s);
    }
    BitBtn1Click(s);
}

void colours(AppState& s, fuzz::Session& session) {
    loadColours(s);
    session.prompts.pickColour(0x00123456);
    N26Click(s);
    loadColours(s);
}

void settings(AppState& s) {
    loadSettings(s);
    TFormNastrFormCreate(s);
    (void)backupFolderPath(s);
    (void)s.paths.toStored(backupFolderPath(s));
}

void templates(AppState& s) {
    s.templates.openForUpdate(s.local(files::Templates));
    TemplatesWindow t;
    ShablonFormActivate(s, t);
    for (qint64 row = 1; row <= std::ssize(t.SpPrDok) && row <= 16; ++row) {
        SpPrDokMouseDown(s, t, row);
        (void)pictureTemplatePrefix(t.PutFil);
        dxfColorButton1Click(s, t);
    }
    PrintClick(s, t);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    fuzz::Input input(data, size);
    const int kind = input.byte() % 6;
    static constexpr QStringView kFiles[] = {u"Baza\\WidDoc.txt", files::Users,
                                             files::Officials,    files::Colours,
                                             files::Settings,     files::Templates};
    const QStringView file = kFiles[kind];
    workspace.write(file, input.rest());
    {
        fuzz::Session session;
        AppState& s = session.state;
        try {
            switch (kind) {
            case 0:
                referenceList(s);
                break;
            case 1:
                users(s);
                break;
            case 2:
                officials(s);
                break;
            case 3:
                colours(s, session);
                break;
            case 4:
                settings(s);
                break;
            default:
                templates(s);
                break;
            }
        } catch (const ZelmarError&) {
            // A file the register refuses, with a message: what a reader may do.
        }
    }
    workspace.remove(file);
    return 0;
}
