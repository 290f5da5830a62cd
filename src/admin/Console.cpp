#include "admin/Console.h"

#include "core/platform/Errors.h"

#include <cstdio>
#include <new>

namespace zelmar::admin {

void say(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const QString& text) {
    std::fprintf(stderr, "zelmar-admin: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString failureMessage(const std::exception& error) {
    if (const auto* io = dynamic_cast<const IoError*>(&error))
        return io->path().isEmpty() ? ioReason(*io)
                                    : QStringLiteral("%1: %2").arg(io->path(), ioReason(*io));
    if (const auto* own = dynamic_cast<const ZelmarError*>(&error))
        return own->text();
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("не хватает памяти");
    return QString::fromLocal8Bit(error.what());
}

void ConsolePrompts::message(const QString& text, const QString&, Icon) {
    complain(text);
}

bool ConsolePrompts::question(const QString& text, const QString& caption) {
    complain(caption + QStringLiteral(": ") + text + QStringLiteral(" — нет"));
    return false;
}

int ConsolePrompts::choice(const QString&, const QString&, const QString&, const QString&) {
    return 0;
}

QString ConsolePrompts::input(const QString&, const QString&, const QString& initial) {
    return initial;
}

QString ConsolePrompts::openFile(const QString&, const QString&, const QString&) {
    return {};
}

std::optional<QString> ConsolePrompts::chooseFolder(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<std::uint32_t> ConsolePrompts::chooseColour(std::uint32_t) {
    return std::nullopt;
}

QString ConsolePrompts::editText(const QString&, const QString& text) {
    return text;
}

} // namespace zelmar::admin
