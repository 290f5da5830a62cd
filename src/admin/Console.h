#pragma once

#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"

#include <QString>

#include <exception>

namespace zelmar::admin {

// A result for the caller (the archive made, the report written): a line on standard output.
void say(const QString& text);
// A message for the administrator: "zelmar-admin: text" on standard error.
void complain(const QString& text);
// The text of a failure, in Russian, with the file it concerns.
QString failureMessage(const std::exception& error);

// Whatever the register's code would show in a message box goes to standard error; it asks
// nothing, so every question is answered No and every choice cancelled.
class ConsolePrompts : public Prompts {
public:
    void message(const QString& text, const QString& caption, Icon icon) override;
    bool question(const QString& text, const QString& caption) override;
    int choice(const QString&, const QString&, const QString&, const QString&) override;
    QString input(const QString&, const QString&, const QString& initial) override;
    QString openFile(const QString&, const QString&, const QString&) override;
    std::optional<QString> chooseFolder(const QString&, const QString&) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override;
    QString editText(const QString&, const QString& text) override;
};

// The command line opens nothing on a desktop: the report runner's merge is called in
// process, and the commands open no documents.
class NoShell : public Shell {
public:
    bool openDocument(const QString&) override { return false; }
    bool openUrl(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&, const QString&) override { return true; }
};

} // namespace zelmar::admin
