#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace zelmar {

// One lexical piece of an RTF document. Every byte of the document belongs to exactly one
// token, so the tokens written back in order give the document unchanged.
struct RtfToken {
    enum Kind : unsigned char {
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \name, \nameN, with its delimiting blank if there is one
        ControlSymbol, // \ and one character that is not a letter: \~ \- \_ \* \\ \{ \}
        Hex,           // \'xx, one byte of the document's code page
        Text,          // plain bytes
        Newline,       // CR and LF, which RTF ignores
        Binary,        // the data of \binN
    };

    Kind kind;
    // A control word without its blank: text following it must not run into its name.
    bool open = false;
    bool hasParam = false;
    // The character of a control symbol, or the byte of \'xx.
    unsigned char byte = 0;
    int param = 0;
    qsizetype begin = 0;
    qsizetype end = 0;
    // The letters of a control word.
    QByteArrayView name;

    QByteArrayView raw(const QByteArray& source) const {
        return QByteArrayView(source.constData() + begin, end - begin);
    }
    bool is(const char* word) const { return kind == ControlWord && name == word; }
};

// Splits an RTF document into tokens. Throws DocumentError when the bytes are not an RTF
// document ("{\rtf" first) or its braces do not balance; `what` names the file in the message.
std::vector<RtfToken> tokenizeRtf(const QByteArray& rtf, const QString& what);

// True for bytes that look like the start of an RTF document.
bool looksLikeRtf(QByteArrayView bytes);

} // namespace zelmar
