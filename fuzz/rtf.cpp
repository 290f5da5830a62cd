// RTF templates and blanks: any bytes through the tokenizer, the report merge (bands of cards)
// and the letter fill. Every byte belongs to one token, and what a merge writes is RTF again.

#include "FuzzSupport.h"

#include "core/documents/DocumentError.h"
#include "core/documents/RtfTemplate.h"
#include "core/documents/RtfTokens.h"
#include "core/reports/ReportKinds.h"

#include <QBuffer>

#include <cstdlib>

using namespace zelmar;

namespace {

// Values with what RTF must escape: braces, backslashes, line breaks, letters beyond ASCII.
const QString kValues[] = {
    QString(),
    QStringLiteral("Иванов И.И."),
    QStringLiteral("{\\b }\\par #gn# \r\nё"),
    QStringLiteral("\\u1234? \\'e9 €"),
};

class Values : public MergeValues {
public:
    qsizetype records() const override { return 3; }
    void write(qsizetype record, int field, RtfWriter& out) const override {
        const QString& value =
            kValues[static_cast<size_t>(record + 1 + field) % std::size(kValues)];
        if (field % 2)
            out.text(value);
        else
            out.cp1251(value.toUtf8());
    }
};

void tokens(const QByteArray& rtf) {
    const std::vector<RtfToken> all = tokenizeRtf(rtf, QStringLiteral("template"));
    qsizetype at = 0;
    for (const RtfToken& token : all) {
        if (token.begin != at || token.end <= token.begin)
            std::abort();
        at = token.end;
    }
    if (at != rtf.size())
        std::abort();
}

// A merged document is read again as the word processor will.
void isRtf(const QByteArray& merged) {
    try {
        (void)tokenizeRtf(merged, QStringLiteral("result"));
    } catch (const DocumentError&) {
        std::abort();
    }
}

void report(const QByteArray& rtf) {
    const RtfTemplate document(rtf, QStringLiteral("template"),
                               [](QStringView name) { return reportTagIndex(name); });
    QByteArray merged;
    QBuffer device(&merged);
    device.open(QIODevice::WriteOnly);
    RtfWriter out(device, QStringLiteral("result"));
    document.write(out, Values());
    isRtf(merged);
}

void letter(const QByteArray& rtf) {
    QList<std::pair<QString, QString>> fields;
    for (const QString& tag : reportTags())
        fields.append({tag, kValues[static_cast<size_t>(fields.size()) % std::size(kValues)]});
    isRtf(fillRtf(rtf, QStringLiteral("blank"), fields));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray rtf = fuzz::bytesOf(data, size);
    try {
        tokens(rtf);
    } catch (const DocumentError&) {
        return 0;
    }
    try {
        report(rtf);
    } catch (const DocumentError&) {
    }
    try {
        letter(rtf);
    } catch (const DocumentError&) {
    }
    return 0;
}
