#pragma once

#include <functional>

namespace zelmar {

struct AppState;
struct TAnketa;

// Delete ("Del"): the shown card taken out of the main card file, erased or moved to the
// archive (chief administrator only).
void nDeleteClick(AppState& s);
// Insert after ("Ins"): a blank card stored directly behind the shown card.
void nWstavitClick(AppState& s);

// Rewrites the main card file as a whole: produce(output) gives the new cards in order. The new
// file is written beside the old one, synced and renamed over it, and the main card file goes
// on with it without being opened anew. A failure (thrown) therefore always leaves the old
// main card file in place, open and as it was; once this returns, nothing is left to fail.
void rebuildMainCardFile(
    AppState& s, const std::function<void(const std::function<void(const TAnketa&)>&)>& produce);

} // namespace zelmar
