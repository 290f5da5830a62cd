"""Writes the RTF documents the program ships (the template guide, the user guide) from a small
markdown: "# " title, "## " section, "### " subsection, "- " list item, tables of "|" rows,
"![caption](name)" picture, any other line a paragraph; backticks are dropped. In a book the
separator row under a table's heading gives its columns' widths by the number of dashes. The documents
are Windows-1251 RTF, as the program's other documents, and open in Writer and Word."""
import re
import struct

TEXT_WIDTH = 9600  # twips between the margins of an A4 page
TWIPS_PER_PIXEL = 11  # a picture narrower than the text keeps about this scale (131 dpi)

BORDER = r"\brdrs\brdrw10"
CELL = (r"\clvertalt\clbrdrt" + BORDER + r"\clbrdrl" + BORDER + r"\clbrdrb" + BORDER
        + r"\clbrdrr" + BORDER)
ROW = (r"\trowd\trgaph85\trleft0\trbrdrt" + BORDER + r"\trbrdrl" + BORDER + r"\trbrdrb"
       + BORDER + r"\trbrdrr" + BORDER + r"\trbrdrh" + BORDER + r"\trbrdrv" + BORDER)
SEPARATOR = re.compile(r"\|[-| ]+\|")
PICTURE = re.compile(r"!\[(.*)\]\(([^)]*)\)")


def rtf_text(text):
    text = text.replace("`", "")
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1251")[0])
            except UnicodeEncodeError:
                # A sign the code page lacks (an arrow, a triangle of a button) by its number.
                out.append("\\u%d?" % (ord(ch) if ord(ch) < 32768 else ord(ch) - 65536))
    return "".join(out)


def cells_of(line):
    return [cell.strip() for cell in line.strip().strip("|").split("|")]


def column_edges(columns, separator, proportional):
    dashes = [cell.count("-") for cell in cells_of(separator)] if separator else []
    if proportional and len(dashes) == columns:
        # Columns as wide as the separator's dashes say.
        total = sum(dashes)
        edges, reached = [], 0
        for count in dashes:
            reached += count
            edges.append(TEXT_WIDTH * reached // total)
        return edges
    # The first column holds short names, the others share the rest.
    first = 2000 if columns == 2 else 1400
    rest = (TEXT_WIDTH - first) // (columns - 1)
    edges = [first + rest * i for i in range(columns)]
    edges[-1] = TEXT_WIDTH
    return edges


def table(rows, separator=None, book=False):
    edges = column_edges(len(rows[0]), separator, book)
    layout = ROW + "".join(CELL + r"\cellx%d" % edge for edge in edges)
    out = []
    for number, row in enumerate(rows):
        out.append(layout + (r"\trhdr" if number == 0 and book else ""))
        for cell in row:
            style = r"\qc\f0\fs22\b " if number == 0 else r"\ql\f0\fs22 "
            out.append(r"\pard\plain\intbl" + style + rtf_text(cell) + r"\cell")
        out.append(r"\row")
    out.append(r"\pard\plain\sa100\par")
    return out


def png_size(png):
    if png[:8] != b"\x89PNG\r\n\x1a\n" or png[12:16] != b"IHDR":
        raise ValueError("not a PNG picture")
    return struct.unpack(">II", png[16:24])


def picture(png, caption):
    width, height = png_size(png)
    scale = min(TWIPS_PER_PIXEL, TEXT_WIDTH / width)
    data = png.hex()
    lines = [data[i:i + 128] for i in range(0, len(data), 128)]
    return [
        r"\pard\plain\qc\keepn\sb120\sa60{\pict\pngblip\picw%d\pich%d\picwgoal%d\pichgoal%d"
        % (width, height, round(width * scale), round(height * scale)),
        *lines,
        r"}\par",
        r"\pard\plain\qc\sb0\sa200\f0\fs20\i " + rtf_text(caption) + r"\par",
    ]


def convert(markdown, pictures=None, book=False):
    """The RTF text of a document. `pictures` gives the PNG bytes of a picture by its name; a
    document without pictures needs none. A `book` is laid out to be read on paper: each
    section on a new page, headings kept with what follows them, table headings repeated on
    every page, the pages numbered."""
    out = [
        r"{\rtf1\ansi\ansicpg1251\deff0\deflang1049\uc1",
        r"{\fonttbl{\f0\froman\fprq2\fcharset204 Times New Roman;}"
        r"{\f1\fswiss\fprq2\fcharset204 Arial;}}",
        r"{\colortbl;\red0\green0\blue0;\red128\green128\blue128;}",
        r"{\stylesheet{\ql\f0\fs24\lang1049 \snext0 Normal;}}",
    ]
    lines = markdown.splitlines()
    title = lines[0].lstrip("# ").strip()
    out.append(r"{\info{\title " + rtf_text(title) + "}}")
    out.append(r"\paperw11906\paperh16838\margl1418\margr851\margt1134\margb1134"
               r"\deftab708\widowctrl")
    out.append(r"\sectd\pgwsxn11906\pghsxn16838\marglsxn1418\margrsxn851\margtsxn1134"
               r"\margbsxn1134")
    if book:
        out.append(r"{\footer\pard\plain\qc\f0\fs20 \chpgn\par}")
    rows = []
    separator = None
    first_section = True
    for line in lines + [""]:
        if line.startswith("|"):
            if SEPARATOR.fullmatch(line.strip()):
                separator = line
            else:
                rows.append(cells_of(line))
            continue
        if rows:
            out.extend(table(rows, separator, book))
            rows = []
            separator = None
        if not line.strip():
            continue
        shown = PICTURE.fullmatch(line.strip()) if pictures else None
        if shown:
            out.extend(picture(pictures(shown.group(2)), shown.group(1)))
        elif line.startswith("### "):
            out.append(r"\pard\plain\ql\keepn\sb200\sa100\f0\fs24 \b " + rtf_text(line[4:])
                       + r"\par")
        elif line.startswith("## "):
            layout = ""
            if book:
                layout = (r"\keepn" if first_section else r"\pagebb\keepn")
                first_section = False
            out.append(r"\pard\plain\ql" + layout + r"\sb240\sa120\f0\fs26 \b "
                       + rtf_text(line[3:]) + r"\par")
        elif line.startswith("# "):
            out.append(r"\pard\plain\qc\sb0\sa240\f0\fs32 \b " + rtf_text(line[2:]) + r"\par")
        elif line.startswith("- ") and book:
            # The dash hangs in the margin of the item, apart from its text.
            out.append(r"\pard\plain\qj\sb0\sa60\li567\fi-283\tx567\f0\fs24 "
                       + rtf_text("\u2013") + r"\tab " + rtf_text(line[2:]) + r"\par")
        elif line.startswith("- "):
            out.append(r"\pard\plain\qj\sb0\sa60\li567\fi-283\f0\fs24 "
                       + rtf_text("\u2013 " + line[2:]) + r"\par")
        else:
            out.append(r"\pard\plain\qj\sb0\sa100\f0\fs24 " + rtf_text(line) + r"\par")
    out.append("}")
    return "\r\n".join(out) + "\r\n"
