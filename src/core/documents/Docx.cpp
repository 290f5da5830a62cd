#include "core/documents/Docx.h"

#include "core/documents/DocumentError.h"

#include <QByteArray>
#include <QRegularExpression>

#include <pugixml.hpp>
#include <zip.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelmar {

namespace {

// The parts of a document that hold its text.
bool isTextPart(const QString& name) {
    static const QRegularExpression parts(
        QStringLiteral("^word/(document|header[0-9]*|footer[0-9]*)\\.xml$"));
    return parts.match(name).hasMatch();
}

bool isNameChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

// Text that XML 1.0 can hold: control characters other than tab are left out.
QString xmlText(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 32 || c == u'\t')
            clean.append(c);
    }
    return clean;
}

void setText(pugi::xml_node t, const QString& text) {
    t.text().set(xmlText(text).toUtf8().constData());
    if (!t.attribute("xml:space"))
        t.append_attribute("xml:space") = "preserve";
}

// Splits the paragraph that holds `node` before it: the node and all that follows it, at every
// level up to the paragraph, go into copies of their elements after the originals, with the
// same properties (w:pPr, w:rPr), so the new paragraph is formatted as the old one. A section
// break in the paragraph's properties goes with the new paragraph, which now ends the section.
void splitParagraphBefore(pugi::xml_node node) {
    pugi::xml_node child = node;
    for (pugi::xml_node parent = child.parent(); parent; parent = parent.parent()) {
        pugi::xml_node copy = parent.parent().insert_child_after(parent.name(), parent);
        for (pugi::xml_attribute attribute : parent.attributes())
            copy.append_copy(attribute);
        for (pugi::xml_node property = parent.first_child(); property && property != child;
             property = property.next_sibling()) {
            const std::string_view name = property.name();
            if (name.size() > 2 && name.substr(name.size() - 2) == "Pr")
                copy.append_copy(property);
        }
        for (pugi::xml_node moved = child; moved;) {
            const pugi::xml_node next = moved.next_sibling();
            copy.append_move(moved);
            moved = next;
        }
        if (std::string_view(parent.name()) == "w:p") {
            parent.child("w:pPr").remove_child("w:sectPr");
            return;
        }
        child = copy;
    }
}

// Puts a value in place of a tag in one paragraph: into the text node where the tag begins, the
// rest of the tag taken out of the following text nodes. Each further line of the value starts
// a paragraph of its own with the formatting of this one.
void replaceTag(std::vector<pugi::xml_node>& nodes, std::vector<QString>& texts, int firstNode,
                int firstOffset, int lastNode, int lastOffset, const QString& value) {
    const QString prefix = texts[static_cast<size_t>(firstNode)].left(firstOffset);
    const QString suffix = texts[static_cast<size_t>(lastNode)].mid(lastOffset + 1);
    for (int n = firstNode + 1; n <= lastNode; ++n) {
        texts[static_cast<size_t>(n)] = n == lastNode ? suffix : QString();
        setText(nodes[static_cast<size_t>(n)], texts[static_cast<size_t>(n)]);
    }
    QString flat = value;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), u'\n');
    const QStringList lines = flat.split(QLatin1Char('\n'));
    const bool sameNode = firstNode == lastNode;
    pugi::xml_node t = nodes[static_cast<size_t>(firstNode)];
    QString first = prefix + lines.first();
    if (lines.size() == 1 && sameNode)
        first += suffix;
    texts[static_cast<size_t>(firstNode)] = first;
    setText(t, first);
    pugi::xml_node after = t;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        pugi::xml_node line = after.parent().insert_child_after("w:t", after);
        QString text = lines[i];
        if (i == lines.size() - 1 && sameNode)
            text += suffix;
        setText(line, text);
        splitParagraphBefore(line);
        after = line;
    }
}

// The text nodes of every paragraph, in document order, each in its innermost paragraph (a
// text box's paragraphs lie inside a paragraph of the body). One walk over the part, however
// deep paragraphs are nested.
std::vector<std::vector<pugi::xml_node>> paragraphTexts(pugi::xml_document& part) {
    struct Walker : pugi::xml_tree_walker {
        std::vector<std::vector<pugi::xml_node>> paragraphs;
        std::vector<std::pair<int, size_t>> open; // depth and index of enclosing paragraphs
        bool for_each(pugi::xml_node& node) override {
            while (!open.empty() && open.back().first >= depth())
                open.pop_back();
            const pugi::char_t* name = node.name();
            if (std::strcmp(name, "w:p") == 0) {
                open.emplace_back(depth(), paragraphs.size());
                paragraphs.emplace_back();
            } else if (std::strcmp(name, "w:t") == 0 && !open.empty()) {
                paragraphs[open.back().second].push_back(node);
            }
            return true;
        }
    } walker;
    part.traverse(walker);
    return std::move(walker.paragraphs);
}

// Fills one XML part; true when something was replaced.
bool fillPart(pugi::xml_document& part, const QList<std::pair<QString, QString>>& fields) {
    bool changed = false;
    for (std::vector<pugi::xml_node>& nodes : paragraphTexts(part)) {
        if (nodes.empty())
            continue;
        std::vector<QString> texts;
        QString whole;
        struct Place {
            int node;
            int offset;
        };
        std::vector<Place> places;
        for (size_t n = 0; n < nodes.size(); ++n) {
            texts.push_back(QString::fromUtf8(nodes[n].text().get()));
            for (qsizetype i = 0; i < texts.back().size(); ++i)
                places.push_back({static_cast<int>(n), static_cast<int>(i)});
            whole += texts.back();
        }
        struct Tag {
            qsizetype from;
            qsizetype to;
            int field;
        };
        std::vector<Tag> tags;
        for (qsizetype i = 0; i < whole.size();) {
            if (whole[i] != u'#') {
                ++i;
                continue;
            }
            qsizetype j = i + 1;
            while (j < whole.size() && isNameChar(whole[j]))
                ++j;
            if (j >= whole.size() || whole[j] != u'#' || j == i + 1) {
                i = j;
                continue;
            }
            const QStringView name = QStringView(whole).sliced(i + 1, j - i - 1);
            int field = -1;
            for (qsizetype f = 0; f < fields.size(); ++f) {
                if (name.compare(fields[f].first, Qt::CaseInsensitive) == 0)
                    field = static_cast<int>(f);
            }
            if (field < 0) {
                i = j;
                continue;
            }
            tags.push_back({i, j, field});
            i = j + 1;
        }
        // From the last tag to the first, so the places of the earlier ones stay true.
        for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag) {
            const Place& from = places[static_cast<size_t>(tag->from)];
            const Place& to = places[static_cast<size_t>(tag->to)];
            replaceTag(nodes, texts, from.node, from.offset, to.node, to.offset,
                       fields[tag->field].second);
            changed = true;
        }
    }
    return changed;
}

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

// A letter's parts are small. A blank whose parts would unpack to more than this is damaged, or
// made to fill the memory, and is refused before anything is unpacked.
constexpr zip_uint64_t kMaxUnpacked = 64 << 20;

// The sizes the blank declares for its parts, added up, against the bound.
void checkUnpackedSize(zip_t* archive, const QString& what) {
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        const bool known = zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0 &&
                           (stat.valid & ZIP_STAT_SIZE);
        if (known && stat.size <= kMaxUnpacked - total) {
            total += stat.size;
            continue;
        }
        throw DocumentError(
            QStringLiteral("Бланк «%1» повреждён: распакованный, он занял бы больше %2 МБ, а "
                           "бланк письма столько занимать не может. Замените бланк.")
                .arg(what)
                .arg(kMaxUnpacked >> 20));
    }
}

// Reads a part piece by piece, never beyond the size it declares (which the bound checked):
// data that runs longer, or stops short, is a damaged part.
std::optional<std::string> readPart(zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.size > kMaxUnpacked)
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file)
        return std::nullopt;
    const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closing(file, zip_fclose);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0 || static_cast<zip_uint64_t>(n) > stat.size - bytes.size())
            return std::nullopt;
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    if (bytes.size() != stat.size)
        return std::nullopt;
    return bytes;
}

} // namespace

bool looksLikeZip(const QByteArray& bytes) {
    return bytes.startsWith("PK\x03\x04");
}

void fillDocx(const QString& templatePath, const QString& output, const QString& what,
              const QList<std::pair<QString, QString>>& fields) {
    const auto broken = [&](const QString& reason) {
        return DocumentError(
            QStringLiteral("Документ «%1» не удаётся прочитать как DOCX: %2.").arg(what, reason));
    };
    int error = 0;
    Zip in(zip_open(templatePath.toLocal8Bit().constData(), ZIP_RDONLY, &error));
    if (!in)
        throw broken(QStringLiteral("это не архив DOCX"));
    checkUnpackedSize(in.get(), what);
    // The text of the letter: without it there is nothing to fill (and an archive of no parts
    // would make no file at all).
    if (zip_name_locate(in.get(), "word/document.xml", 0) < 0)
        throw broken(QStringLiteral("в нём нет текста документа (word/document.xml)"));
    Zip out(zip_open(output.toLocal8Bit().constData(), ZIP_CREATE | ZIP_EXCL, &error));
    if (!out)
        throw DocumentError(QStringLiteral("Не удаётся создать файл «%1».").arg(output));
    // Filled parts live until the archive is written.
    std::vector<std::unique_ptr<std::string>> filled;
    const zip_int64_t entries = zip_get_num_entries(in.get(), 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const char* rawName = zip_get_name(in.get(), static_cast<zip_uint64_t>(i), 0);
        if (!rawName)
            throw broken(QStringLiteral("повреждён список файлов"));
        const QString name = QString::fromUtf8(rawName);
        zip_source_t* source = nullptr;
        if (isTextPart(name)) {
            const std::optional<std::string> xml = readPart(in.get(), static_cast<zip_uint64_t>(i));
            if (!xml)
                throw broken(name);
            pugi::xml_document part;
            const unsigned options = pugi::parse_default | pugi::parse_declaration |
                                     pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi |
                                     pugi::parse_doctype;
            if (!part.load_buffer(xml->data(), xml->size(), options, pugi::encoding_utf8))
                throw broken(name);
            if (fillPart(part, fields)) {
                StringWriter writer;
                part.save(writer, "", pugi::format_raw | pugi::format_no_declaration,
                          pugi::encoding_utf8);
                filled.push_back(std::make_unique<std::string>(std::move(writer.bytes)));
                source =
                    zip_source_buffer(out.get(), filled.back()->data(), filled.back()->size(), 0);
            }
        }
        if (!source)
            source = zip_source_zip(out.get(), in.get(), static_cast<zip_uint64_t>(i), 0, 0, -1);
        if (!source || zip_file_add(out.get(), rawName, source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source)
                zip_source_free(source);
            throw DocumentError(QStringLiteral("Не удаётся записать «%1».").arg(output));
        }
    }
    zip_t* written = out.release();
    if (zip_close(written) != 0) {
        zip_discard(written);
        throw DocumentError(QStringLiteral("Не удаётся записать «%1».").arg(output));
    }
}

} // namespace zelmar
