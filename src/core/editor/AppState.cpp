#include "core/editor/AppState.h"

namespace zelmar {

AppState::AppState(const Paths& paths_, const Clock& clock_, Prompts& prompts_, Shell& shell_)
    : paths(paths_)
    , clock(clock_)
    , prompts(prompts_)
    , shell(shell_)
    , card(zeroCard())
    , SavedCard(zeroCard())
    , ClipCard(zeroCard())
    , Spisok(main)
    , RabSpis(working) {
    RabSpis.setBlankRowWhenEmpty(true);
}

AppState::~AppState() = default;

QString AppState::currentUserName() const {
    return access.CurUserName;
}

} // namespace zelmar
