#include "gui/TFiltrOkno.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/texts/DayNumber.h"
#include "gui/TPrintWibor.h"
#include "gui/WidgetValues.h"
#include "gui/WindowKeys.h"

#include "ui_TFiltrOkno.h"

#include <QShowEvent>

namespace zelmar {

namespace {

int checkedAction(QRadioButton* set, QRadioButton* remove) {
    return set->isChecked()      ? FilterForm::Set
           : remove->isChecked() ? FilterForm::Remove
                                 : FilterForm::Leave;
}

} // namespace

TFiltrOkno::TFiltrOkno(AppState& state, TPrintWibor* print, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_print(print)
    , m_ui(std::make_unique<Ui::TFiltrOkno>()) {
    m_ui->setupUi(this);
    const auto command = [this](QPushButton* button,
                                void (*handler)(AppState&, FilterForm&, PrintSelection&)) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            run([this, handler] { handler(m_state, m_form, m_print->selection()); });
        });
    };
    if (m_print) {
        command(m_ui->GlWib, &GlWibClick);
        command(m_ui->ArhWib, &ArhWibClick);
        command(m_ui->UdDel, &UdDelClick);
    }
    connect(m_ui->Obnovit, &QPushButton::clicked, this,
            [this] { run([this] { FiltrFormActivate(m_state, m_form); }); });
    plainKeys(*this);
    writeControls();
}

TFiltrOkno::~TFiltrOkno() = default;

void TFiltrOkno::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        run([this] { FiltrFormActivate(m_state, m_form); });
}

void TFiltrOkno::run(const std::function<void()>& command) {
    readControls();
    if (m_print)
        m_print->run(command);
    else
        runCommand(m_state.prompts, command);
    writeControls();
}

void TFiltrOkno::readControls() {
    CardConditions& c = m_form.conditions;
    Ui::TFiltrOkno& u = *m_ui;
    c.NaSE = u.NaSE->value();
    c.KoSE = u.KoSE->value();
    c.NaDat = pickerValue(c.NaDat, u.NaDat->date());
    c.KoDat = pickerValue(c.KoDat, u.KoDat->date());
    c.KUPDataN = pickerValue(c.KUPDataN, u.KUPDataN->date());
    c.KUPDataPo = pickerValue(c.KUPDataPo, u.KUPDataPo->date());
    c.ProkOtmetka = u.ProkOtmetka->currentText();
    c.PrintNet = u.PrintNetNo->isChecked() ? 0 : u.PrintNetDa->isChecked() ? 1 : 2;
    c.KemWines = u.KemWines->currentText();
    c.PodpUtw = u.PodpUtw->currentText();
    c.Zayavitel = u.Zayavitel->currentText();
    c.KlSlovo = u.KlSlovo->text();
    c.KUPN = u.KUPN->text();
    c.MotivP = u.MotivP->text();
    m_form.udRG = checkedAction(u.udRGSet, u.udRGRemove);
    m_form.PRNPost = checkedAction(u.PRNPostSet, u.PRNPostRemove);
}

void TFiltrOkno::writeControls() {
    const CardConditions& c = m_form.conditions;
    Ui::TFiltrOkno& u = *m_ui;
    u.NaSE->setValue(c.NaSE);
    u.KoSE->setValue(c.KoSE);
    u.NaDat->setDate(dateOf(c.NaDat));
    u.KoDat->setDate(dateOf(c.KoDat));
    u.KUPDataN->setDate(dateOf(c.KUPDataN));
    u.KUPDataPo->setDate(dateOf(c.KUPDataPo));
    setItems(u.ProkOtmetka, m_form.lists.ProkOtmetka);
    setItems(u.KemWines, m_form.lists.KemWines);
    setItems(u.PodpUtw, m_form.lists.PodpUtw);
    setItems(u.Zayavitel, m_form.lists.Zayavitel);
    setText(u.ProkOtmetka, c.ProkOtmetka);
    setText(u.KemWines, c.KemWines);
    setText(u.PodpUtw, c.PodpUtw);
    setText(u.Zayavitel, c.Zayavitel);
    u.PrintNetNo->setChecked(c.PrintNet == 0);
    u.PrintNetDa->setChecked(c.PrintNet == 1);
    u.PrintNetAny->setChecked(c.PrintNet != 0 && c.PrintNet != 1);
    setText(u.KlSlovo, c.KlSlovo);
    setText(u.KUPN, c.KUPN);
    setText(u.MotivP, c.MotivP);
    const auto check = [](int action, QRadioButton* set, QRadioButton* remove,
                          QRadioButton* leave) {
        (action == FilterForm::Set      ? set
         : action == FilterForm::Remove ? remove
                                        : leave)
            ->setChecked(true);
    };
    check(m_form.udRG, u.udRGSet, u.udRGRemove, u.udRGLeave);
    check(m_form.PRNPost, u.PRNPostSet, u.PRNPostRemove, u.PRNPostLeave);
}

} // namespace zelmar
