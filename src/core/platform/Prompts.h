#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace zelmar {

// Everything a command asks the user. The windows supply real dialogs; tests supply a script.
class Prompts {
public:
    // The message box icons, by their flag values.
    enum class Icon { Error = 16, Question = 32, Exclamation = 48, Information = 64 };

    virtual ~Prompts() = default;

    // A message box with an OK button.
    virtual void message(const QString& text, const QString& caption,
                         Icon icon = Icon::Exclamation) = 0;
    // A question box with Yes and No; true for Yes.
    virtual bool question(const QString& text, const QString& caption) = 0;
    // The three-button choice dialog: 1, 2 or 3 for the buttons left to right, 0 when it is
    // closed without a button.
    virtual int choice(const QString& caption, const QString& button1, const QString& button2,
                       const QString& button3) = 0;
    // The input box; cancelling it returns the initial text unchanged.
    virtual QString input(const QString& caption, const QString& prompt,
                          const QString& initial) = 0;
    // The open-file dialog; empty text when cancelled.
    virtual QString openFile(const QString& caption, const QString& folder,
                             const QString& filter) = 0;
    // The folder dialog; nothing when cancelled.
    virtual std::optional<QString> chooseFolder(const QString& caption, const QString& start) = 0;
    // The colour dialog, colours as 0x00BBGGRR; nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;
    // The list editor: a text box with the given text, edited by the user; what it holds when
    // the window closes is returned.
    virtual QString editText(const QString& caption, const QString& text) = 0;
};

} // namespace zelmar
