#pragma once

#include "core/platform/Errors.h"

namespace zelmar {

// A document or template that cannot be used as it is: not RTF, broken, a band that is not a
// whole row. The text says what is wrong, in the user's words.
class DocumentError : public ZelmarError {
public:
    using ZelmarError::ZelmarError;
};

} // namespace zelmar
