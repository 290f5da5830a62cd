#pragma once

#include "core/platform/Prompts.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>
#include <variant>

namespace zelmar {

// Prompts answered from a queue prepared by a test. Every prompt is logged; a prompt that the
// queue does not expect is reported through onUnscripted (tests make that a failure) and gets
// the answer "cancel".
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Message, Question, Choice, Input, OpenFile, Folder, Colour, EditText };

    struct Entry {
        Kind kind;
        QString caption;
        QString text;
    };

    // Queue the answers, in the order the prompts will come.
    ScriptedPrompts& ok();
    ScriptedPrompts& yes();
    ScriptedPrompts& no();
    ScriptedPrompts& choose(int button);
    ScriptedPrompts& type(const QString& answer);
    ScriptedPrompts& pickFile(const QString& path);
    ScriptedPrompts& pickFolder(std::optional<QString> folder);
    ScriptedPrompts& pickColour(std::optional<std::uint32_t> colour);
    ScriptedPrompts& edit(std::function<QString(const QString&)> editor);

    const QList<Entry>& log() const { return m_log; }
    const Entry& last() const { return m_log.last(); }
    void clearLog() { m_log.clear(); }
    bool allAnswered() const { return m_queue.empty(); }
    int pending() const { return static_cast<int>(m_queue.size()); }

    std::function<void(const QString&)> onUnscripted;

    void message(const QString& text, const QString& caption, Icon icon) override;
    bool question(const QString& text, const QString& caption) override;
    int choice(const QString& caption, const QString& button1, const QString& button2,
               const QString& button3) override;
    QString input(const QString& caption, const QString& prompt, const QString& initial) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& start) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    QString editText(const QString& caption, const QString& text) override;

private:
    using Answer =
        std::variant<std::monostate, bool, int, QString, std::optional<QString>,
                     std::optional<std::uint32_t>, std::function<QString(const QString&)>>;
    struct Scripted {
        Kind kind;
        Answer answer;
    };

    // Logs the prompt and takes the next answer if it is of this kind.
    const Answer* take(Kind kind, const QString& caption, const QString& text);

    std::deque<Scripted> m_queue;
    Scripted m_current{Kind::Message, {}};
    QList<Entry> m_log;
};

QString kindName(ScriptedPrompts::Kind kind);

} // namespace zelmar
