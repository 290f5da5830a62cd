#include "core/platform/ScriptedPrompts.h"

namespace zelmar {

QString kindName(ScriptedPrompts::Kind kind) {
    switch (kind) {
    case ScriptedPrompts::Kind::Message:
        return QStringLiteral("message");
    case ScriptedPrompts::Kind::Question:
        return QStringLiteral("question");
    case ScriptedPrompts::Kind::Choice:
        return QStringLiteral("choice");
    case ScriptedPrompts::Kind::Input:
        return QStringLiteral("input");
    case ScriptedPrompts::Kind::OpenFile:
        return QStringLiteral("open file");
    case ScriptedPrompts::Kind::Folder:
        return QStringLiteral("folder");
    case ScriptedPrompts::Kind::Colour:
        return QStringLiteral("colour");
    case ScriptedPrompts::Kind::EditText:
        return QStringLiteral("edit text");
    }
    return {};
}

ScriptedPrompts& ScriptedPrompts::ok() {
    m_queue.push_back({Kind::Message, std::monostate{}});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::yes() {
    m_queue.push_back({Kind::Question, true});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::no() {
    m_queue.push_back({Kind::Question, false});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::choose(int button) {
    m_queue.push_back({Kind::Choice, button});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::type(const QString& answer) {
    m_queue.push_back({Kind::Input, answer});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::pickFile(const QString& path) {
    m_queue.push_back({Kind::OpenFile, path});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::pickFolder(std::optional<QString> folder) {
    m_queue.push_back({Kind::Folder, std::move(folder)});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::pickColour(std::optional<std::uint32_t> colour) {
    m_queue.push_back({Kind::Colour, colour});
    return *this;
}

ScriptedPrompts& ScriptedPrompts::edit(std::function<QString(const QString&)> editor) {
    m_queue.push_back({Kind::EditText, std::move(editor)});
    return *this;
}

const ScriptedPrompts::Answer* ScriptedPrompts::take(Kind kind, const QString& caption,
                                                     const QString& text) {
    m_log.append({kind, caption, text});
    if (m_queue.empty() || m_queue.front().kind != kind) {
        const QString expected =
            m_queue.empty() ? QStringLiteral("nothing") : kindName(m_queue.front().kind);
        if (onUnscripted)
            onUnscripted(QStringLiteral("unscripted %1 \"%2\" / \"%3\" (script expects %4)")
                             .arg(kindName(kind), caption, text, expected));
        return nullptr;
    }
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    return &m_current.answer;
}

void ScriptedPrompts::message(const QString& text, const QString& caption, Icon) {
    take(Kind::Message, caption, text);
}

bool ScriptedPrompts::question(const QString& text, const QString& caption) {
    const Answer* answer = take(Kind::Question, caption, text);
    return answer && std::get<bool>(*answer);
}

int ScriptedPrompts::choice(const QString& caption, const QString& button1, const QString& button2,
                            const QString& button3) {
    const QString buttons = button1 + QLatin1Char('|') + button2 + QLatin1Char('|') + button3;
    const Answer* answer = take(Kind::Choice, caption, buttons);
    return answer ? std::get<int>(*answer) : 0;
}

QString ScriptedPrompts::input(const QString& caption, const QString& prompt,
                               const QString& initial) {
    const Answer* answer = take(Kind::Input, caption, prompt);
    return answer ? std::get<QString>(*answer) : initial;
}

QString ScriptedPrompts::openFile(const QString& caption, const QString& folder, const QString&) {
    const Answer* answer = take(Kind::OpenFile, caption, folder);
    return answer ? std::get<QString>(*answer) : QString();
}

std::optional<QString> ScriptedPrompts::chooseFolder(const QString& caption, const QString& start) {
    const Answer* answer = take(Kind::Folder, caption, start);
    return answer ? std::get<std::optional<QString>>(*answer) : std::nullopt;
}

std::optional<std::uint32_t> ScriptedPrompts::chooseColour(std::uint32_t initial) {
    const Answer* answer = take(Kind::Colour, QString(), QString::number(initial, 16));
    return answer ? std::get<std::optional<std::uint32_t>>(*answer) : std::nullopt;
}

QString ScriptedPrompts::editText(const QString& caption, const QString& text) {
    const Answer* answer = take(Kind::EditText, caption, text);
    if (!answer)
        return text;
    return std::get<std::function<QString(const QString&)>>(*answer)(text);
}

} // namespace zelmar
