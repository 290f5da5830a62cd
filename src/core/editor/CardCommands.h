#pragma once

namespace zelmar {

struct AppState;

// The buttons beside the editor.
void nNewClick(AppState& s);
void nCopiyClick(AppState& s);
void nVstavkaClick(AppState& s);
void nOtmenaClick(AppState& s);
void nSaveClick(AppState& s);

} // namespace zelmar
