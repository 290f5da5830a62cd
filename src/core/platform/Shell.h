#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// What a command hands to other programs: documents and links opened with the desktop's
// associations, and programs started without waiting.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document with its associated program; false when the desktop refused.
    virtual bool openDocument(const QString& path) = 0;
    // Opens a link (web address, mailto:) with its associated program.
    virtual bool openUrl(const QString& url) = 0;
    // Starts a program with arguments in a working folder, without waiting for it.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder) = 0;
    // Opens a file as a workbook in the spreadsheet program; a text file is read with the text
    // import's options (separator, text delimiter, character set, first line, column formats),
    // empty options for a workbook. Without a spreadsheet program the file goes to the
    // desktop's program for it. False when nothing could open it.
    virtual bool openSpreadsheet(const QString& path, const QString& importOptions) {
        (void)importOptions;
        return openDocument(path);
    }
};

// A shell that only records what it was asked; for tests.
class RecordingShell : public Shell {
public:
    struct Call {
        QString what;
        QString target;
        QStringList arguments;
        QString workingFolder;
    };

    bool openDocument(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder) override;
    // Recorded as "spreadsheet", the options as the only argument.
    bool openSpreadsheet(const QString& path, const QString& importOptions) override;

    QList<Call> calls;
    bool answer = true;
};

} // namespace zelmar
