#pragma once

#include "core/store/Colours.h"

namespace zelmar {

struct AppState;

// The colours of the main window's three areas and of its pages.
struct WindowColours {
    TColor Form1 = clSilver;
    TColor NashiOtm = 0x00E4E8E9;
    TColor WhodInfo = 0x00FFFF79;
    // Set when the colour file exists: the page control and its two pages get fixed colours.
    bool pages = false;
    static constexpr TColor Zakl1 = 0x00FF0000;
    static constexpr TColor GlTS = 0x00FFFF80;
    static constexpr TColor RaTS = 0x0080FF80;
};

// Reads the colour file at start, or makes it empty.
void loadColours(AppState& s);
// "Цвет фона": choose and store one area's colour.
void N25Click(AppState& s); // the main window
void N26Click(AppState& s); // "Наши отметки"
void N27Click(AppState& s); // "Входящая информация"

} // namespace zelmar
