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
// file is written beside the old one, synced and renamed over it, so a failure on the way
// leaves the old main card file as it was. The main card file is reopened and reindexed.
void rebuildMainCardFile(
    AppState& s, const std::function<void(const std::function<void(const TAnketa&)>&)>& produce);

} // namespace zelmar
