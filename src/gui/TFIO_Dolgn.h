#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TFIO_Dolgn;
}

namespace zelmar {

struct AppState;

// The officials editor: the table of Baza\Wines.dat and the list of positions.
class TFIO_Dolgn : public QDialog {
    Q_OBJECT

public:
    explicit TFIO_Dolgn(AppState& state, QWidget* parent = nullptr);
    ~TFIO_Dolgn() override;

    Ui::TFIO_Dolgn& ui() { return *m_ui; }
    void run(const std::function<void()>& command);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readControls();
    void writeControls();

    AppState& m_state;
    std::unique_ptr<Ui::TFIO_Dolgn> m_ui;
    bool m_updating = false;
};

} // namespace zelmar
