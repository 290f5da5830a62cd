// Card files: any bytes as the main card file (a torn tail, damaged lengths, dates that are no
// dates), read by the start of the register and shown by every view of a card: the editor, the
// grids, the report data, the spreadsheet export, the administration's CSV and folder check.

#include "FuzzSupport.h"

#include "core/admin/CardCsv.h"
#include "core/admin/FolderCheck.h"
#include "core/editor/CardGridModel.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/MainWindowEvents.h"
#include "core/reports/PrintSelectionGrid.h"
#include "core/reports/ReportData.h"
#include "core/reports/ReportDataWriter.h"
#include "core/reports/SpreadsheetExport.h"

#include <QBuffer>

using namespace zelmar;

namespace {

// Enough cards to reach every view; the rest of a long input only lengthens the file.
constexpr qint64 kShownCards = 16;

void showEverywhere(AppState& s, qint64 record) {
    s.main.seek(record);
    Scatter(s);
    const TAnketa& card = s.card;
    for (int column = 0; column < CardGridModel::ColumnCount; ++column)
        (void)CardGridModel::cellText(card, column, record + 1);
    for (int column = 0; column < PrintGridModel::ColumnCount; ++column)
        (void)PrintGridModel::cellText(card, column);
    ExportColumns all;
    all.fill(true);
    (void)StrTextFil(card, all);
    for (ReportLayout layout :
         {ReportLayout::SingleCard, ReportLayout::MultiCard, ReportLayout::Numbered}) {
        QByteArray bytes;
        QBuffer device(&bytes);
        device.open(QIODevice::WriteOnly);
        ReportDataWriter writer(device, layout, QStringLiteral("data"));
        writer.add(card);
        writer.finish();
        (void)ReportData::parse(bytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    workspace.write(files::MainCards, fuzz::bytesOf(data, size));
    {
        fuzz::Session session;
        AppState& s = session.state;
        FormCreate(s);
        FormShow(s);
        FormActivate(s);
        if (s.main.isOpen()) {
            for (qint64 r = 0; r < std::min(s.main.size(), kShownCards); ++r)
                showEverywhere(s, r);
            QByteArray csv;
            QBuffer device(&csv);
            device.open(QIODevice::WriteOnly);
            writeCardsCsv(s.main, device, QStringLiteral("cards.csv"));
        }
        closeAllFiles(s);
    }
    (void)checkInstallFolder(Paths(workspace.root()));
    return 0;
}
