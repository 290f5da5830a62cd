#pragma once

#include <QString>
#include <QStringView>

namespace zelmar {

// Where the register's files lie. The installation folder plays the part of c:\Zelmar: the
// register's relative paths ("Baza\Anketi.dat") are taken from it, an absolute c:\Zelmar\...
// path maps into it, and folder and file names are matched without regard to letter case, so
// a data folder copied from Windows (Baza or BAZA, REPORT or report) opens as it is.
class Paths {
public:
    explicit Paths(const QString& root);

    const QString& root() const { return m_root; }

    // The local absolute path of a register path: relative to the installation folder,
    // c:\Zelmar\..., or an absolute path of this system.
    QString local(QStringView registerPath) const;

    // A path as a settings file holds it: c:\Zelmar\... maps into the installation folder,
    // backslashes become slashes.
    QString fromStored(const QString& stored) const;
    // A local path as the register's files keep it: inside the installation folder in the
    // c:\Zelmar\... form, so a folder moved, restored or copied back to Windows keeps working;
    // any other path as it is.
    QString toStored(const QString& local) const;

private:
    QString m_root;
};

// Finds each component of a relative path below base, ignoring letter case; components that
// do not exist keep their given spelling.
QString resolveCaseInsensitive(const QString& base, const QString& relative);

// The register's files, as the register names them.
namespace files {
inline constexpr QStringView MainCards = u"Baza\\Anketi.dat";
inline constexpr QStringView ArchiveCards = u"Baza\\ArhAnket.dat";
inline constexpr QStringView WorkingCards = u"Temp\\RabAnket.dat";
inline constexpr QStringView Templates = u"REPORT\\Shablon.dat";
inline constexpr QStringView Officials = u"Baza\\Wines.dat";
inline constexpr QStringView Users = u"Baza\\Dostup.dat";
inline constexpr QStringView Settings = u"NoKor.krv";
inline constexpr QStringView Colours = u"baza\\CwetFona.krv";
inline constexpr QStringView Dictionary = u"Temp\\Slowar.txt";
inline constexpr QStringView ReplyFolder = u"c:\\Zelmar\\Otveti\\";
inline constexpr QStringView PictureFolder = u"c:\\Zelmar\\WhodGIF\\";
inline constexpr QStringView DocumentFolder = u"c:\\Zelmar\\WhodWord\\";
inline constexpr QStringView Help = u"c:\\Zelmar\\Help\\ReadMe.doc";
} // namespace files

} // namespace zelmar
