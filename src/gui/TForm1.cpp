#include "gui/TForm1.h"

#include "core/access/Users.h"
#include "core/backup/Compaction.h"
#include "core/backup/DeletionMarks.h"
#include "core/backup/Restore.h"
#include "core/editor/AppState.h"
#include "core/editor/CardCommands.h"
#include "core/editor/ColourCommands.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/editor/OfficialsEditor.h"
#include "core/editor/ReferenceLists.h"
#include "core/editor/WorkingFile.h"
#include "core/letters/Attachments.h"
#include "core/platform/CommandBoundary.h"
#include "core/reports/CardReports.h"
#include "core/reports/PrintSelection.h"
#include "core/texts/DayNumber.h"
#include "gui/InputRules.h"
#include "gui/QtColours.h"
#include "gui/QtProgress.h"
#include "gui/TFIO_Dolgn.h"
#include "gui/TForm5.h"
#include "gui/TFormNastr.h"
#include "gui/TPoisk.h"
#include "gui/TPrintWibor.h"
#include "gui/TShabloniDok.h"
#include "gui/TStatistika.h"
#include "gui/WidgetValues.h"

#include "ui_TForm1.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace zelmar {

namespace {

void setDate(QDateEdit* edit, double day) {
    // A stored date outside the calendar shows as the empty date, and is stored so unless
    // the user picks another.
    QDate date = dateOf(day);
    if (!date.isValid() || date < edit->minimumDate())
        date = dateOf(EmptyDate);
    if (edit->date() != date)
        edit->setDate(date);
}

// The memo shows line breaks as the editor does; the card stores them as CR LF.
QString storedText(const QString& shown) {
    QString text = shown;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString shownText(const QString& stored) {
    QString text = stored;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// An entry of a closed menu does nothing, however it is triggered.
bool reachable(const QAction* entry) {
    for (const QObject* container : entry->associatedObjects()) {
        const auto* menu = qobject_cast<const QMenu*>(container);
        if (menu && (!menu->menuAction()->isEnabled() || !reachable(menu->menuAction())))
            return false;
    }
    return true;
}

} // namespace

TForm1::TForm1(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TForm1>()) {
    m_ui->setupUi(this);
    m_progress = std::make_unique<QtProgress>(m_ui->AbMeter2, m_ui->AbMeter1, m_ui->Progress);
    // No close box: the window is left through "Выход".
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinMaxButtonsHint);
    // What is typed is what the files store.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (!qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            storedTextOnly(edit);
    }
    for (QLineEdit* edit : {m_ui->GurN, m_ui->Srok, m_ui->Klu4Form1})
        integerOnly(edit);
    // The drop-down lists give and take width with the window, whatever their items; their
    // lists open wide enough for the items (writeLists).
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(4);
    }
    // The card buttons keep their places while hidden: the hand finds each where it was.
    for (QWidget* button :
         {static_cast<QWidget*>(m_ui->nNew), static_cast<QWidget*>(m_ui->nCopiy),
          static_cast<QWidget*>(m_ui->nPoisk), static_cast<QWidget*>(m_ui->nDelete),
          static_cast<QWidget*>(m_ui->nWstavit), static_cast<QWidget*>(m_ui->nOtmena)}) {
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
    }
    m_ui->Motiv->lineEdit()->setMaxLength(60);
    for (QComboBox* box : {m_ui->KemWines, m_ui->PodpUtw, m_ui->KemProdlen})
        box->lineEdit()->setMaxLength(30);
    for (QComboBox* box :
         {m_ui->DolgWines, m_ui->DolgnPodp, m_ui->DolgProdlen, m_ui->LicoUN, m_ui->ProkOtmetka,
          m_ui->Statia, m_ui->MestoNah, m_ui->WidDok, m_ui->Nositel})
        box->lineEdit()->setMaxLength(20);
    m_ui->DolgnAvt->lineEdit()->setMaxLength(30);
    m_ui->FIOAvtor->lineEdit()->setMaxLength(40);
    m_ui->Otpravitel->lineEdit()->setMaxLength(50);

    m_shownRevisions.fill(-1);
    m_listBoxes = {
        {m_ui->WidDok, ListId::WidDok},         {m_ui->Nositel, ListId::Nositel},
        {m_ui->Otpravitel, ListId::Otpravitel}, {m_ui->Statia, ListId::Statia},
        {m_ui->DolgnAvt, ListId::DolgnAvt},     {m_ui->FIOAvtor, ListId::FIOAvtor},
        {m_ui->MestoNah, ListId::MestoNah},     {m_ui->LicoUN, ListId::LicoUN},
        {m_ui->Motiv, ListId::Motiv},           {m_ui->DolgWines, ListId::DolgWines},
        {m_ui->DolgnPodp, ListId::DolgnPodp},   {m_ui->DolgProdlen, ListId::DolgProdlen},
        {m_ui->KemWines, ListId::KemWines},     {m_ui->PodpUtw, ListId::PodpUtw},
        {m_ui->KemProdlen, ListId::KemProdlen},
    };

    m_ui->Spisok->setModel(&m_state.Spisok);
    m_ui->RabSpis->setModel(&m_state.RabSpis);
    setupGrid(m_ui->Spisok, {28, 30, 37, 50, 63, 51, 131, 16, 64});
    setupGrid(m_ui->RabSpis, {36, 30, 37, 50, 63, 51, 131, 16, 64});

    disableNotBuilt();

    connectCommands();

    // The create event.
    Progress* const before = std::exchange(m_state.progress, m_progress.get());
    FormCreate(m_state);
    m_state.progress = before;
    writeControls();
}

TForm1::~TForm1() = default;

void TForm1::disableNotBuilt() {
    // The controls whose commands are not part of the register yet, one a line: a line goes
    // when its command is built.
    // clang-format off
    const QList<QObject*> notBuilt = {
        m_ui->N8,          // Копия экрана
    };
    // clang-format on
    for (QObject* control : notBuilt) {
        if (auto* widget = qobject_cast<QWidget*>(control))
            widget->setEnabled(false);
        else if (auto* entry = qobject_cast<QAction*>(control))
            entry->setEnabled(false);
    }
}

void TForm1::setupGrid(QTableView* grid, const QList<int>& widths) {
    QHeaderView* rows = grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(18, grid->fontMetrics().height() + 4));
    QHeaderView* columns = grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    // The register's widths, widened where a heading or a date would not fit.
    const int dateWidth = grid->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00")) + 12;
    for (int column = 0; column < widths.size(); ++column) {
        const QString heading = CardGridModel::headings().at(column);
        int needed = columns->fontMetrics().horizontalAdvance(heading) + 16;
        if (column == CardGridModel::Date || column == CardGridModel::KusDate)
            needed = std::max(needed, dateWidth);
        columns->resizeSection(column, std::max(widths.at(column), needed));
    }
    grid->viewport()->installEventFilter(this);
    // The row numbers and register numbers of a large register must stay readable.
    const auto fitNumbers = [grid] {
        const QString widest =
            QString(QString::number(grid->model()->rowCount()).size() + 1, QLatin1Char('0'));
        const int needed = grid->fontMetrics().horizontalAdvance(widest) + 12;
        for (int column : {int(CardGridModel::Pp), int(CardGridModel::GurN)}) {
            if (grid->horizontalHeader()->sectionSize(column) < needed)
                grid->horizontalHeader()->resizeSection(column, needed);
        }
    };
    connect(grid->model(), &QAbstractItemModel::modelReset, grid, fitNumbers);
    fitNumbers();
}

void TForm1::connectCommands() {
    const auto command = [this](QAbstractButton* button, void (*handler)(AppState&)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { run([this, handler] { handler(m_state); }); });
    };
    command(m_ui->nNew, &nNewClick);
    command(m_ui->nCopiy, &nCopiyClick);
    command(m_ui->nVstavka, &nVstavkaClick);
    command(m_ui->nOtmena, &nOtmenaClick);
    command(m_ui->nSave, &nSaveClick);
    command(m_ui->SpeedButBeg, &SpeedButBegClick);
    command(m_ui->SpeedButPred, &SpeedButPredClick);
    command(m_ui->SpeedButNext, &SpeedButNextClick);
    command(m_ui->SpeedButEnd, &SpeedButEndClick);
    command(m_ui->nDelete, &nDeleteClick);
    command(m_ui->nWstavit, &nWstavitClick);
    command(m_ui->nGlRab, &nGlRabClick);
    command(m_ui->RabZero, &RabZeroClick);
    connect(m_ui->Zakl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == m_ui->Zakl1->indexOf(m_ui->RaTS))
            run([this] { RaTSShow(m_state); });
    });

    // Enter in a drop-down list adds its text to the list (not in the medium's list).
    for (const ListBox& list : m_listBoxes) {
        if (list.id == ListId::Nositel)
            continue;
        connect(list.box->lineEdit(), &QLineEdit::returnPressed, this,
                [this, id = list.id] { run([this, id] { appendOnEnter(m_state, id); }); });
    }
    // Choosing or typing an official fills his position.
    const auto picker = [this](QComboBox* box, void (*handler)(AppState&)) {
        connect(box, &QComboBox::editTextChanged, this, [this, handler] {
            if (!m_updating)
                run([this, handler] { handler(m_state); });
        });
    };
    picker(m_ui->KemWines, &KemWinesChange);
    picker(m_ui->PodpUtw, &PodpUtwChange);
    picker(m_ui->KemProdlen, &KemProdlenChange);

    const auto listEditor = [this](QAction* entry, void (*handler)(AppState&)) {
        connect(entry, &QAction::triggered, this, [this, entry, handler] {
            if (reachable(entry))
                runWithOwnWindow([this, handler] { handler(m_state); });
        });
    };
    listEditor(m_ui->N32, &MotClick);
    listEditor(m_ui->N12, &WidDokumClick);
    listEditor(m_ui->N13, &PredpriClick);
    listEditor(m_ui->N14, &N14Click);
    listEditor(m_ui->N21, &N21Click);
    const auto entry = [this](QAction* action, void (*handler)(AppState&)) {
        connect(action, &QAction::triggered, this, [this, action, handler] {
            if (reachable(action))
                run([this, handler] { handler(m_state); });
        });
    };
    entry(m_ui->N4, &N4Click);
    entry(m_ui->N25, &N25Click);
    entry(m_ui->N26, &N26Click);
    entry(m_ui->N27, &N27Click);
    // Deletion marks, compaction, clearing and restore.
    command(m_ui->OtmDel, &marks::OtmDelClick);
    entry(m_ui->N20, &N20Click);
    entry(m_ui->N2, &N2Click);
    entry(m_ui->N18, &N18Click);
    entry(m_ui->N19, &N19Click);
    entry(m_ui->Bacup1, &Bacup1Click);
    entry(m_ui->N35, &WriteFullCard);
    entry(m_ui->N16, &WriteStandardCard);
    entry(m_ui->N10, &N10Click);
    entry(m_ui->N9851, &N9851Click);
    entry(m_ui->N9581, &N9581Click);
    command(m_ui->Otvet, &OtvetClick);
    command(m_ui->GifEst, &GifEstClick);
    command(m_ui->WordEst, &WordEstClick);
    command(m_ui->PoslatEMail, &PoslatEMailClick);

    const auto ownWindow = [this](QAction* action, auto OwnWindows::*window) {
        connect(action, &QAction::triggered, this, [this, action, window] {
            QWidget* shown = m_windows.*window;
            if (shown && reachable(action))
                showOwnWindow(*shown);
        });
    };
    ownWindow(m_ui->N5, &OwnWindows::form5);
    ownWindow(m_ui->N6, &OwnWindows::formNastr);
    ownWindow(m_ui->N9, &OwnWindows::fioDolgn);
    ownWindow(m_ui->N11, &OwnWindows::shabloniDok);
    ownWindow(m_ui->NStatistika, &OwnWindows::statistika);
    connect(m_ui->nPoisk, &QAbstractButton::clicked, this, [this] {
        if (m_windows.poisk)
            showOwnWindow(*m_windows.poisk);
    });
    connect(m_ui->N17, &QAction::triggered, this, [this] {
        bool open = false;
        run([this, &open] { open = N17Click(m_state); });
        if (open && m_windows.printWibor)
            showOwnWindow(*m_windows.printWibor);
    });

    connect(m_ui->Fabula, &QPlainTextEdit::textChanged, this, [this] {
        if (m_updating)
            return;
        // The memo holds what the card stores: at most 200 characters, a line break counting
        // as two, and only those of the code page.
        const QString shown = m_ui->Fabula->toPlainText();
        QString text = storedText(storableText(shown, m_ui->Fabula));
        if (text.size() > 200) {
            text.truncate(200);
            if (text.endsWith(QLatin1Char('\r')))
                text.chop(1);
        }
        if (shownText(text) != shown) {
            const int cursor = m_ui->Fabula->textCursor().position();
            m_updating = true;
            m_ui->Fabula->setPlainText(shownText(text));
            QTextCursor moved = m_ui->Fabula->textCursor();
            moved.setPosition(std::clamp(cursor - int(shown.size() - shownText(text).size()), 0,
                                         int(shownText(text).size())));
            m_ui->Fabula->setTextCursor(moved);
            m_updating = false;
        }
        m_state.form.Fabula = text;
        FabulaChange(m_state);
        setText(m_ui->FabOstZn, m_state.form.FabOstZn);
    });

    // Moving the selection of a grid moves no card: only the counters follow.
    const auto selection = [this](QTableView* grid, qint64 AppState::*selected) {
        connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, selected](const QModelIndex& current) {
                    if (m_updating || !current.isValid())
                        return;
                    m_state.*selected = current.row() + 1;
                    run([this, row = current.row() + 1] { SpisokSelectCell(m_state, row); });
                });
    };
    selection(m_ui->Spisok, &AppState::SpisokRow);
    selection(m_ui->RabSpis, &AppState::RabSpisRow);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // A press on a grid row opens its card; the grids tell the row (0: none) to the register.
    if (event->type() == QEvent::MouseButtonPress) {
        for (auto [grid, handler] : {std::pair{m_ui->Spisok, &SpisokMouseDown},
                                     std::pair{m_ui->RabSpis, &RabSpisMouseDown}}) {
            if (watched != grid->viewport())
                continue;
            const auto* press = static_cast<QMouseEvent*>(event);
            const QModelIndex index = grid->indexAt(press->position().toPoint());
            const qint64 row = index.isValid() ? index.row() + 1 : 0;
            run([this, handler, row] { handler(m_state, row); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::run(const std::function<void()>& command) {
    if (m_leaving)
        return;
    readControls();
    // The main window's commands report to its progress panel.
    Progress* const before = std::exchange(m_state.progress, m_progress.get());
    runCommand(m_state.prompts, command);
    m_state.progress = before;
    writeControls();
    if (m_state.exitCode)
        leave(*m_state.exitCode);
}

void TForm1::runWithOwnWindow(const std::function<void()>& command) {
    run(command);
    run([this] { FormActivate(m_state); });
}

void TForm1::showOwnWindow(QWidget& window) {
    readControls();
    window.setWindowModality(Qt::ApplicationModal);
    if (auto* dialog = qobject_cast<QDialog*>(&window))
        dialog->exec();
    writeControls();
    run([this] { FormActivate(m_state); });
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The show event, then the first activation once the window is on the screen.
    run([this] { FormShow(m_state); });
    QTimer::singleShot(0, this, [this] { run([this] { FormActivate(m_state); }); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_leaving)
        event->accept();
    else
        event->ignore();
}

void TForm1::leave(int exitCode) {
    m_leaving = true;
    close();
    emit leaving(exitCode);
}

void TForm1::readControls() {
    CardForm& f = m_state.form;
    Ui::TForm1& u = *m_ui;
    f.GurN = u.GurN->text();
    f.DateOtkaza = pickedDate(f.DateOtkaza, u.DateOtkaza->date());
    f.NashWxodNom = u.NashWxodNom->text();
    f.NashaWxodDat = pickedDate(f.NashaWxodDat, u.NashaWxodDat->date());
    f.KemWines = u.KemWines->currentText();
    f.DolgWines = u.DolgWines->currentText();
    f.PodpUtw = u.PodpUtw->currentText();
    f.DolgnPodp = u.DolgnPodp->currentText();
    f.LicoUN = u.LicoUN->currentText();
    f.KUPN = u.KUPN->text();
    f.KUPData = pickedDate(f.KUPData, u.KUPData->date());
    f.Motiv = u.Motiv->currentText();
    f.KemProdlen = u.KemProdlen->currentText();
    f.Srok = u.Srok->text();
    f.DolgProdlen = u.DolgProdlen->currentText();
    f.DeloNom = u.DeloNom->text();
    f.DeloDat = pickedDate(f.DeloDat, u.DeloDat->date());
    f.Statia = u.Statia->currentText();
    f.MestoNah = u.MestoNah->currentText();
    f.RezPovtRasm = u.RezPovtRasm->text();
    f.DataProvProkur = pickedDate(f.DataProvProkur, u.DataProvProkur->date());
    f.ProkOtmetka = u.ProkOtmetka->currentText();
    if (u.PrintNetNo->isChecked())
        f.PrintNet = 0;
    else if (u.PrintNetDa->isChecked())
        f.PrintNet = 1;
    f.NeNashIshNom = u.NeNashIshNom->text();
    f.NeNashaIshDat = pickedDate(f.NeNashaIshDat, u.NeNashaIshDat->date());
    f.WidDok = u.WidDok->currentText();
    f.DolgnAvt = u.DolgnAvt->currentText();
    f.FIOAvtor = u.FIOAvtor->currentText();
    f.Telefon = u.Telefon->text();
    f.EMail = u.EMail->text();
    f.Adres = u.Adres->text();
    f.NazwDok = u.NazwDok->text();
    f.Fabula = storedText(u.Fabula->toPlainText());
    f.Nositel = u.Nositel->currentText();
    f.Listov = u.Listov->value();
    f.Ekzem = u.Ekzem->value();
    f.Otpravitel = u.Otpravitel->currentText();
    f.NashIshNom = u.NashIshNom->text();
    f.NasheIshData = pickedDate(f.NasheIshData, u.NasheIshData->date());
    f.AdminFIO = u.AdminFIO->text();
    f.Otmetka = u.Otmetka->text();
}

void TForm1::writeControls() {
    m_updating = true;
    writeLists();
    writeColours();
    const CardForm& f = m_state.form;
    Ui::TForm1& u = *m_ui;
    setText(u.GurN, f.GurN);
    setDate(u.DateOtkaza, f.DateOtkaza);
    setText(u.NashWxodNom, f.NashWxodNom);
    setDate(u.NashaWxodDat, f.NashaWxodDat);
    setText(u.KemWines, f.KemWines);
    setText(u.DolgWines, f.DolgWines);
    setText(u.PodpUtw, f.PodpUtw);
    setText(u.DolgnPodp, f.DolgnPodp);
    setText(u.LicoUN, f.LicoUN);
    setText(u.KUPN, f.KUPN);
    setDate(u.KUPData, f.KUPData);
    setText(u.Motiv, f.Motiv);
    setText(u.KemProdlen, f.KemProdlen);
    setText(u.Srok, f.Srok);
    setText(u.DolgProdlen, f.DolgProdlen);
    setText(u.DeloNom, f.DeloNom);
    setDate(u.DeloDat, f.DeloDat);
    setText(u.Statia, f.Statia);
    setText(u.MestoNah, f.MestoNah);
    setText(u.RezPovtRasm, f.RezPovtRasm);
    setDate(u.DataProvProkur, f.DataProvProkur);
    setText(u.ProkOtmetka, f.ProkOtmetka);
    // A flag other than 0 or 1 checks neither item.
    u.PrintNetNo->setAutoExclusive(false);
    u.PrintNetDa->setAutoExclusive(false);
    u.PrintNetNo->setChecked(f.PrintNet == 0);
    u.PrintNetDa->setChecked(f.PrintNet == 1);
    u.PrintNetNo->setAutoExclusive(true);
    u.PrintNetDa->setAutoExclusive(true);
    setText(u.NeNashIshNom, f.NeNashIshNom);
    setDate(u.NeNashaIshDat, f.NeNashaIshDat);
    setText(u.WidDok, f.WidDok);
    setText(u.DolgnAvt, f.DolgnAvt);
    setText(u.FIOAvtor, f.FIOAvtor);
    setText(u.Telefon, f.Telefon);
    setText(u.EMail, f.EMail);
    setText(u.Adres, f.Adres);
    setText(u.NazwDok, f.NazwDok);
    if (storedText(u.Fabula->toPlainText()) != f.Fabula) {
        u.Fabula->setPlainText(shownText(f.Fabula));
        u.Fabula->moveCursor(QTextCursor::End);
    }
    setText(u.FabOstZn, f.FabOstZn);
    setText(u.Nositel, f.Nositel);
    u.Listov->setValue(f.Listov);
    u.Ekzem->setValue(f.Ekzem);
    setText(u.Otpravitel, f.Otpravitel);
    setText(u.NashIshNom, f.NashIshNom);
    setDate(u.NasheIshData, f.NasheIshData);
    setText(u.Klu4Form1, f.Klu4Form1);
    setText(u.AdminFIO, f.AdminFIO);
    setText(u.DaWrSozd, f.DaWrSozd);
    setText(u.DWKorr, f.DWKorr);
    setText(u.Otmetka, f.Otmetka);
    setText(u.NNaidena, f.NNaidena);
    setText(u.WsegoZ, f.WsegoZ);
    setText(u.WRab, f.WRab);
    setText(u.ZapGurN, f.ZapGurN);
    u.Otvet->setText(f.Otvet);
    u.GifEst->setText(f.GifEst);
    u.WordEst->setText(f.WordEst);

    const CardButtons& b = m_state.buttons;
    u.nNew->setVisible(b.nNew);
    u.nCopiy->setVisible(b.nCopiy);
    u.nPoisk->setVisible(b.nPoisk);
    u.nDelete->setVisible(b.nDelete);
    u.nWstavit->setVisible(b.nWstavit);
    u.nOtmena->setVisible(b.nOtmena);
    u.nVstavka->setEnabled(b.nVstavka);
    u.N7->menuAction()->setEnabled(printMenuEnabled(m_state));
    u.N3->menuAction()->setEnabled(serviceMenuEnabled(m_state));

    writeGridSelection();

    if (!m_state.focus.isEmpty()) {
        if (auto* target = findChild<QWidget*>(m_state.focus))
            target->setFocus();
        m_state.focus.clear();
    }
    m_updating = false;
}

void TForm1::writeLists() {
    for (const ListBox& list : m_listBoxes) {
        const auto index = static_cast<size_t>(list.id);
        const int revision = m_state.lists.revision(list.id);
        if (m_shownRevisions[index] == revision)
            continue;
        m_shownRevisions[index] = revision;
        const QString text = list.box->currentText();
        list.box->clear();
        list.box->addItems(m_state.lists.items(list.id));
        list.box->setEditText(text);
        QAbstractItemView* items = list.box->view();
        items->setMinimumWidth(std::min(items->sizeHintForColumn(0) + 24, 640));
    }
}

void TForm1::writeColours() {
    const WindowColours& c = m_state.colours;
    const std::array<TColor, 3> colours = {c.Form1, c.NashiOtm, c.WhodInfo};
    if (m_coloursShown && colours == m_shownColours)
        return;
    m_coloursShown = true;
    m_shownColours = colours;
    const auto paint = [](QWidget* widget, TColor colour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, toQColor(colour));
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    };
    paint(m_ui->centralwidget, c.Form1);
    paint(m_ui->NashiOtm, c.NashiOtm);
    paint(m_ui->WhodInfo, c.WhodInfo);
    if (c.pages) {
        paint(m_ui->Zakl1, WindowColours::Zakl1);
        paint(m_ui->GlTS, WindowColours::GlTS);
        paint(m_ui->RaTS, WindowColours::RaTS);
    }
}

void TForm1::writeGridSelection() {
    const auto select = [](QTableView* grid, qint64 row) {
        if (row < 1 || row > grid->model()->rowCount())
            return;
        const QModelIndex index = grid->model()->index(static_cast<int>(row - 1), 0);
        // Only a moved selection scrolls the grid, so a command run while the user looks
        // elsewhere in the grid leaves it where it is.
        if (grid->currentIndex().row() == index.row() && grid->selectionModel()->hasSelection())
            return;
        grid->setCurrentIndex(index);
        grid->selectRow(index.row());
        grid->scrollTo(index);
    };

    select(m_ui->Spisok, m_state.SpisokRow);
    select(m_ui->RabSpis, m_state.RabSpisRow);
}

} // namespace zelmar
