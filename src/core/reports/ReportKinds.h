#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zelmar {

// How the cards of a report lie in its data file.
enum class ReportLayout {
    SingleCard, // one "|0:" piece per line, then two empty lines
    MultiCard,  // one card per line of "|1:" pieces, then one empty line
    Numbered,   // as MultiCard, each line beginning with "nn:" and ending with our outgoing number
};

// A report: its prefix names its data file, its template and its result in the report folder.
struct ReportKind {
    QStringView prefix;
    ReportLayout layout;

    QString dataFile() const { return prefix.toString() + QStringLiteral("Dat.txt"); }
    QString templateFile() const { return prefix.toString() + QStringLiteral("Pic.rtf"); }
    QString resultFile() const { return prefix.toString() + QStringLiteral("Rep.rtf"); }
    // The data file as the register names it.
    QString dataPath() const { return QStringLiteral("report\\") + dataFile(); }
};

namespace reports {
inline constexpr ReportKind FullCard{u"Poln", ReportLayout::SingleCard};
inline constexpr ReportKind StandardCard{u"KUGiZ", ReportLayout::SingleCard};
inline constexpr ReportKind Receipts{u"KartS", ReportLayout::MultiCard};
inline constexpr ReportKind RegisterBook{u"Otkaz", ReportLayout::MultiCard};
inline constexpr ReportKind Cancelled{u"Dela", ReportLayout::Numbered};
inline constexpr ReportKind Prosecutor{u"Prok", ReportLayout::Numbered};
} // namespace reports

// The folder of the report files, as the register names it.
inline constexpr QStringView ReportFolder = u"report";

// The tags of the data file, without their colons, in the order of a card's pieces: "nn" first
// (numbered layout only), the 24 card fields, then "n_is_n" and "n_is_d" (numbered only).
const QStringList& reportTags();
// The index of a tag in reportTags() (letter case ignored), or -1.
int reportTagIndex(QStringView tag);
// Indexes into reportTags().
namespace tags {
inline constexpr int Nn = 0;
inline constexpr int SrokR = 17;
inline constexpr int RPowR = 24;
inline constexpr int NIsD = 26;
inline constexpr int Count = 27;
} // namespace tags

} // namespace zelmar
