#include "core/editor/ColourCommands.h"

#include "core/editor/AppState.h"
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
        // A colour that cannot be read leaves the area as it was.
        if (area) {
            if (const std::optional<TColor> colour = textToColor(text))
                *area = *colour;
        }
    }
    s.colours.pages = true;
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
