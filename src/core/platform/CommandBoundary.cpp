#include "core/platform/CommandBoundary.h"

#include "core/platform/Errors.h"

#include <new>

namespace zelmar {

QString errorText(const std::exception& error) {
    QString text;
    if (const auto* io = dynamic_cast<const IoError*>(&error)) {
        text = io->text();
        if (!io->path().isEmpty())
            text += QStringLiteral("\n\nФайл: ") + io->path();
    } else if (const auto* own = dynamic_cast<const ZelmarError*>(&error)) {
        text = own->text();
    } else if (dynamic_cast<const std::bad_alloc*>(&error)) {
        text = QStringLiteral("Недостаточно памяти для выполнения операции");
    } else {
        text = QString::fromLocal8Bit(error.what());
    }
    return text;
}

void reportError(Prompts& prompts, const std::exception& error) {
    prompts.message(errorText(error), QStringLiteral("Zelmar"), Prompts::Icon::Error);
}

} // namespace zelmar
