// prtview: the report runner. Started by the register in its report folder with
//   DATA TEMPLATE RESULT - /m | /p    or    DATA TEMPLATE
// (see core/reports/Prtview.h). Every failure is a message box and an exit status other than 0.

#include "core/documents/Office.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/reports/Prtview.h"
#include "core/store/FileRights.h"
#include "core/store/FileSync.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QUrl>

#include <cstdio>
#include <memory>

using namespace zelmar;

namespace {

// A screen to show a message on: a desktop session, and not a platform without one.
bool haveScreen() {
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform == u"offscreen" || platform == u"minimal")
        return false;
    return !platform.isEmpty() || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// Messages as boxes when there is a screen, and always on the error stream.
class RunnerPrompts : public Prompts {
public:
    explicit RunnerPrompts(bool boxes)
        : m_boxes(boxes) {}

    void message(const QString& text, const QString& caption, Icon icon) override {
        std::fprintf(stderr, "prtview: %s\n", text.toLocal8Bit().constData());
        if (!m_boxes)
            return;
        QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                        text, QMessageBox::Ok);
        box.exec();
    }
    bool question(const QString&, const QString&) override { return false; }
    int choice(const QString&, const QString&, const QString&, const QString&) override {
        return 0;
    }
    QString input(const QString&, const QString&, const QString& initial) override {
        return initial;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return {}; }
    QString editText(const QString&, const QString& text) override { return text; }

private:
    bool m_boxes;
};

// Documents open with the desktop's program for them.
class RunnerShell : public Shell {
public:
    explicit RunnerShell(bool desktop)
        : m_desktop(desktop) {}
    bool openDocument(const QString& path) override {
        return m_desktop &&
               (QDesktopServices::openUrl(QUrl::fromLocalFile(path)) || openInOffice(path));
    }
    bool openUrl(const QString& url) override {
        return m_desktop && QDesktopServices::openUrl(QUrl(url));
    }
    bool startProgram(const QString&, const QStringList&, const QString&) override { return false; }

private:
    bool m_desktop;
};

} // namespace

int main(int argc, char** argv) {
    failWritesBeyondFileSizeLimit();
    const bool screen = haveScreen();
    std::unique_ptr<QCoreApplication> app;
    if (screen)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prtview"));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    // Results get the rights the report folder gives, as every file of the register does.
    useRightsOfFolder(QDir::currentPath());
    RunnerPrompts prompts(screen);
    RunnerShell shell(screen);
    return runPrtview(arguments, QDate::currentDate(), shell, prompts);
}
