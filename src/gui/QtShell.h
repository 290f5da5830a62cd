#pragma once

#include "core/platform/Shell.h"

namespace zelmar {

// Documents and links through the desktop's associations; programs started detached.
class QtShell : public Shell {
public:
    bool openDocument(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingFolder) override;
    // LibreOffice Calc, else the desktop's program for the file.
    bool openSpreadsheet(const QString& path, const QString& importOptions) override;
};

} // namespace zelmar
