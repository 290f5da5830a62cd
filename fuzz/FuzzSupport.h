#pragma once

#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>

namespace zelmar::fuzz {

// The fuzzer's input as bytes (not copied).
QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// A scratch installation folder made once per process (removed at its end), where the targets
// whose readers take files put the file under test.
class Workspace {
public:
    static Workspace& instance();

    const QString& root() const { return m_root; }
    // The local path of a register path ("Baza\\Dostup.dat").
    QString local(QStringView registerPath) const;
    // Puts bytes in place of the file (the folder exists).
    void write(QStringView registerPath, const QByteArray& bytes) const;
    void remove(QStringView registerPath) const;
    // A fresh empty folder below the workspace, for what one input unpacks or writes.
    QString scratchFolder() const;

private:
    Workspace();
    QString m_root;
};

// A register on the workspace, as the program has one: a fixed clock, prompts that answer
// everything with "cancel" (a reader may tell the user what it could not read), a shell that
// only records what it is asked to open.
struct Session {
    Session();
    FixedClock clock;
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppState state;
};

// Takes fixed-size pieces off the front of the input.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size) {}
    std::uint8_t byte();
    // The rest of the input.
    QByteArray rest();

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

} // namespace zelmar::fuzz
