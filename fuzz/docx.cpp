// DOCX blanks of the letters: any bytes as the blank, filled with a card's values; a blank
// that is filled is a blank that can be filled again.

#include "FuzzSupport.h"

#include "core/documents/DocumentError.h"
#include "core/documents/Docx.h"
#include "core/reports/ReportKinds.h"

#include <QFile>

#include <cstdlib>

using namespace zelmar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    const QString folder = workspace.scratchFolder();
    const QString blank = folder + QStringLiteral("/blank.docx");
    const QString filled = folder + QStringLiteral("/filled.docx");
    const QString again = folder + QStringLiteral("/again.docx");
    {
        QFile file(blank);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(fuzz::bytesOf(data, size)) != qint64(size))
            std::abort();
    }
    QList<std::pair<QString, QString>> fields;
    for (const QString& tag : reportTags())
        fields.append({tag, fields.size() % 2 ? QStringLiteral("Иванов\r\nИ.И. <&>")
                                              : QStringLiteral("\x01#gn#\t")});
    try {
        fillDocx(blank, filled, QStringLiteral("blank.docx"), fields);
    } catch (const DocumentError&) {
        return 0;
    }
    try {
        fillDocx(filled, again, QStringLiteral("filled.docx"), fields);
    } catch (const DocumentError&) {
        std::abort();
    }
    return 0;
}
