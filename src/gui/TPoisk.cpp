#include "gui/TPoisk.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/texts/DayNumber.h"
#include "gui/TForm1.h"
#include "gui/WidgetValues.h"
#include "gui/WindowKeys.h"

#include "ui_TForm1.h"
#include "ui_TPoisk.h"

#include <QShowEvent>

namespace zelmar {

TPoisk::TPoisk(AppState& state, TForm1* main, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_main(main)
    , m_ui(std::make_unique<Ui::TPoisk>()) {
    m_ui->setupUi(this);
    const auto command = [this](QPushButton* button, void (*handler)(AppState&, SearchForm&)) {
        connect(button, &QPushButton::clicked, this, [this, handler] { run(handler); });
    };
    command(m_ui->sBegin, &sBeginClick);
    command(m_ui->sNext, &sNextClick);
    command(m_ui->sPred, &sPredClick);
    command(m_ui->sEnd, &sEndClick);
    command(m_ui->WsehSrazu, &WsehSrazuClick);
    command(m_ui->PoslPok, &PoslPokClick);
    command(m_ui->RabZero, &RabZeroClick);
    command(m_ui->Obnovit, &PoiskFormActivate);
    plainKeys(*this);
    writeControls();
}

TPoisk::~TPoisk() = default;

void TPoisk::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Every opening starts a new search (not the window coming back from being minimised).
    if (!event->spontaneous())
        run(&PoiskFormActivate);
}

void TPoisk::run(void (*command)(AppState&, SearchForm&)) {
    readControls();
    const auto body = [this, command] { command(m_state, m_form); };
    if (m_main)
        m_main->run(body);
    else
        runCommand(m_state.prompts, body);
    writeControls();
    if (m_form.showWorkingTab) {
        m_form.showWorkingTab = false;
        if (m_main)
            m_main->ui().Zakl1->setCurrentWidget(m_main->ui().RaTS);
    }
    if (m_form.close) {
        m_form.close = false;
        accept();
    }
}

void TPoisk::readControls() {
    CardConditions& c = m_form.conditions;
    Ui::TPoisk& u = *m_ui;
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
    c.IshNomZayv = u.IshNomZayv->text();
    c.KlSlovo = u.KlSlovo->text();
    c.WhNash = u.WhNash->text();
    c.IshNash = u.IshNash->text();
    c.KUPN = u.KUPN->text();
    c.MotivP = u.MotivP->text();
    m_form.PosNai = u.PosNai->text();
}

void TPoisk::writeControls() {
    const CardConditions& c = m_form.conditions;
    Ui::TPoisk& u = *m_ui;
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
    setText(u.IshNomZayv, c.IshNomZayv);
    setText(u.KlSlovo, c.KlSlovo);
    setText(u.WhNash, c.WhNash);
    setText(u.IshNash, c.IshNash);
    setText(u.KUPN, c.KUPN);
    setText(u.MotivP, c.MotivP);
    setText(u.nKRab, m_form.nKRab);
    setText(u.PosNai, m_form.PosNai);
}

} // namespace zelmar
