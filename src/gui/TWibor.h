#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TWibor;
}

namespace zelmar {

// The three-button choice dialog: caption and button captions set by the caller; result()
// is 1, 2 or 3 for the buttons left to right, 0 when closed without a button.
class TWibor : public QDialog {
    Q_OBJECT

public:
    explicit TWibor(QWidget* parent = nullptr);
    ~TWibor() override;

    int ask(const QString& caption, const QString& button1, const QString& button2,
            const QString& button3);
    int choice() const { return m_choice; }

private:
    std::unique_ptr<Ui::TWibor> m_ui;
    int m_choice = 0;
};

} // namespace zelmar
