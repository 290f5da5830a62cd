#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFormNastr;
}

namespace zelmar {

struct AppState;

// The settings window: the Office version and the backup folder.
class TFormNastr : public QDialog {
    Q_OBJECT

public:
    explicit TFormNastr(AppState& state, QWidget* parent = nullptr);
    ~TFormNastr() override;

    Ui::TFormNastr& ui() { return *m_ui; }

private:
    // True when the command ran to its end.
    bool run(const std::function<void()>& command);
    void printWindow();

    AppState& m_state;
    std::unique_ptr<Ui::TFormNastr> m_ui;
};

} // namespace zelmar
