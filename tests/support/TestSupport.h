#pragma once

#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/store/TAnketa.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zelmar::test {

// 07.12.2026 10:30, the moment the tests live in.
inline constexpr double kTestNow = 46363.4375;

// Every test of the register's behaviour runs in a fresh installation folder with a fixed clock,
// scripted prompts (an unexpected prompt fails the test) and a recording shell.
class RegisterTest : public ::testing::Test {
protected:
    RegisterTest();
    ~RegisterTest() override;
    void TearDown() override;

    QString root() const { return m_dir.path(); }
    QString file(const QString& relative) const;
    // A fresh AppState on the installation folder (dropping the previous one).
    AppState& newState();
    AppState& state() { return *m_state; }
    // Creates the folder tree and the built-in files.
    void prepareFolder();
    // Starts the register as the main window's creation does.
    AppState& start();

    void writeCards(const QString& relative, const std::vector<TAnketa>& cards);
    std::vector<TAnketa> readCards(const QString& relative) const;
    // The keys of the cards of a card file, in record order.
    std::vector<int> keys(const QString& relative) const;
    QByteArray readBytes(const QString& relative) const;
    void writeBytes(const QString& relative, const QByteArray& bytes);

    QTemporaryDir m_dir;
    FixedClock m_clock{kTestNow};
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;
    std::unique_ptr<AppState> m_state;
};

// A text without the blanks and control characters at its ends, as a clerk's condition and a
// card's field are compared: the tests' own reading, not the register's code.
QString trimmedText(const QString& text);

// A card with the given register number, refusal date, key and printed flag, other fields
// filled with plain texts.
TAnketa makeCard(int gurN, double dateOtkaza, int key, int printNet = 1,
                 const QString& applicant = QString());

} // namespace zelmar::test
