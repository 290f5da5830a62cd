#include "core/editor/ColourCommands.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

namespace zelmar {

namespace {

void chooseAndStore(AppState& s, TColor& area, const QString& name) {
    const std::optional<TColor> chosen = s.prompts.chooseColour(area);
    if (!chosen)
        return;
    area = *chosen;
    const QString path = s.local(files::Colours);
    const QStringList lines = fileExists(path) ? readTextLines(path) : QStringList();
    writeTextLines(path, storeColourLine(lines, name, colorToText(area)));
}

} // namespace

void loadColours(AppState& s) {
    const QString path = s.local(files::Colours);
    if (!fileExists(path)) {
        writeTextLines(path, {});
        return;
    }
    QStringList unreadable;
    for (const QString& line : readTextLines(path)) {
        TColor* area = nullptr;
        QString text;
        if (line.startsWith(QLatin1String("Form1"))) {
            area = &s.colours.Form1;
            text = line.mid(6, 20);
        } else if (line.startsWith(QLatin1String("NashiOtm"))) {
            area = &s.colours.NashiOtm;
            text = line.mid(9, 20);
        } else if (line.startsWith(QLatin1String("WhodInfo"))) {
            area = &s.colours.WhodInfo;
            text = line.mid(9, 20);
        }
        // A colour that cannot be read leaves the area its default colour, and is told.
        if (area) {
            if (const std::optional<TColor> colour = textToColor(text))
                *area = *colour;
            else
                unreadable.append(ConvertError::notInteger(text.trimmed()).text());
        }
    }
    s.colours.pages = true;
    if (!unreadable.isEmpty()) {
        s.prompts.message(unreadable.join(QLatin1Char('\n')), QStringLiteral("Zelmar"),
                          Prompts::Icon::Error);
    }
}

void N25Click(AppState& s) {
    chooseAndStore(s, s.colours.Form1, QStringLiteral("Form1"));
}

void N26Click(AppState& s) {
    chooseAndStore(s, s.colours.NashiOtm, QStringLiteral("NashiOtm"));
}

void N27Click(AppState& s) {
    chooseAndStore(s, s.colours.WhodInfo, QStringLiteral("WhodInfo"));
}

} // namespace zelmar
