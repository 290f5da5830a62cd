#pragma once

#include "core/store/Colours.h"
#include "core/store/DropDownLists.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTableView;

namespace Ui {
class TForm1;
}

namespace zelmar {

struct AppState;
class TFIO_Dolgn;
class TForm5;
class TFormNastr;
class QtProgress;
class TPoisk;
class TPrintWibor;
class TShabloniDok;
class TStatistika;

// The program's own windows that the main window opens.
struct OwnWindows {
    TForm5* form5 = nullptr;
    TFormNastr* formNastr = nullptr;
    TFIO_Dolgn* fioDolgn = nullptr;
    TPoisk* poisk = nullptr;
    TPrintWibor* printWibor = nullptr;
    TShabloniDok* shabloniDok = nullptr;
    TStatistika* statistika = nullptr;
};

// The main window: the card editor, its commands, the navigation and the two card grids. It
// binds widgets to the register's state and holds no rules: before a command the widgets are
// copied into the state's controls, after it the controls are copied back.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(AppState& state, QWidget* parent = nullptr);
    ~TForm1() override;

    Ui::TForm1& ui() { return *m_ui; }
    AppState& state() { return m_state; }

    void setOwnWindows(const OwnWindows& windows) { m_windows = windows; }

    // Runs one command of the register through the command boundary.
    void run(const std::function<void()>& command);
    // Shows one of the program's own windows modally; on return the main window is
    // activated again, as the register does.
    void showOwnWindow(QWidget& window);

signals:
    // The register asked to end the program, with this exit code.
    void leaving(int exitCode);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setupGrid(QTableView* grid, const QList<int>& widths);
    void disableNotBuilt();
    void connectCommands();
    void readControls();
    void writeControls();
    void writeGridSelection();
    void writeLists();
    void writeColours();
    // Runs a command that shows one of the register's own windows (the list editor), then
    // activates the main window again.
    void runWithOwnWindow(const std::function<void()>& command);
    void leave(int exitCode);

    AppState& m_state;
    std::unique_ptr<Ui::TForm1> m_ui;
    // The progress panel: the whole work and its current part, with a wait cursor.
    std::unique_ptr<QtProgress> m_progress;
    bool m_updating = false;
    bool m_shown = false;
    bool m_leaving = false;
    OwnWindows m_windows;

    // The drop-down lists of the card and the lists that feed them.
    struct ListBox {
        QComboBox* box;
        ListId id;
    };
    std::vector<ListBox> m_listBoxes;
    std::array<int, kListCount> m_shownRevisions;
    std::array<TColor, 3> m_shownColours{};
    bool m_coloursShown = false;
};

} // namespace zelmar
