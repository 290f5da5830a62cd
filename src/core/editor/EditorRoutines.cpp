#include "core/editor/EditorRoutines.h"

#include "core/editor/AppState.h"
#include "core/editor/CardKeys.h"
#include "core/platform/Clock.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

namespace zelmar {

namespace {

QString keyFile(const AppState& s, QStringView folder, int key, QStringView extension) {
    return s.local(folder.toString() + QString::number(key) + extension.toString());
}

} // namespace

QString trimControl(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

void showAttachmentIndicators(AppState& s, int key) {
    s.form.Otvet = fileExists(keyFile(s, files::ReplyFolder, key, u".doc"))
                       ? QStringLiteral("Есть ответ")
                       : QStringLiteral("Ответить");
    s.form.GifEst = fileExists(keyFile(s, files::PictureFolder, key, u".gif"))
                        ? QStringLiteral("Есть")
                        : QStringLiteral("Нет");
    s.form.WordEst = fileExists(keyFile(s, files::DocumentFolder, key, u".doc"))
                         ? QStringLiteral("Есть")
                         : QStringLiteral("Нет");
}

void ShowRecord(AppState& s) {
    const TAnketa& c = s.card;
    CardForm& f = s.form;
    f.GurN = QString::number(c.GurN);
    f.Klu4Form1 = QString::number(c.Klu4Form1);
    f.NeNashIshNom = c.NeNashIshNom.text();
    f.NeNashaIshDat = c.NeNashaIshDat;
    f.WidDok = c.WidDok.text();
    f.DolgnAvt = c.DolgnAvt.text();
    f.FIOAvtor = c.FIOAvtor.text();
    f.Adres = c.Adres.text();
    f.NazwDok = c.NazwDok.text();
    f.Fabula = c.Fabula.text();
    FabulaChange(s);
    f.NashWxodNom = c.NashWxodNom.text();
    f.NashaWxodDat = c.NashaWxodDat;
    f.Statia = c.Statia.text();
    f.DolgWines = c.DolgWines.text();
    f.DateOtkaza = c.DateOtkaza;
    f.KemWines = c.KemWines.text();
    f.Motiv = c.Motiv.text();
    f.PodpUtw = c.PodpUtw.text();
    f.DolgnPodp = c.DolgnPodp.text();
    f.LicoUN = c.LicoUN.text();
    f.ProkOtmetka = c.ProkOtmetka.text();
    f.DataProvProkur = c.DataProvProkur;
    f.Nositel = c.Nositel.text();
    f.KemProdlen = c.KemProdlen.text();
    f.Srok = QString::number(c.Srok);
    f.DolgProdlen = c.DolgProdlen.text();
    f.Otpravitel = c.Otpravitel.text();
    f.KUPData = c.KUPData;
    f.MestoNah = c.MestoNah.text();
    f.RezPovtRasm = c.RezPovtRasm.text();
    f.Listov = c.Listov;
    f.Ekzem = c.Ekzem;
    f.NashIshNom = c.NashIshNom.text();
    f.NasheIshData = c.NasheIshData;
    f.Telefon = c.Telefon.text();
    f.EMail = c.EMail.text();
    f.AdminFIO = c.AdminFIO.text();
    f.DaWrSozd = DateTimeText(c.DaWrSozd);
    f.DWKorr = DateTimeText(c.DWKorr);
    f.Otmetka = c.Otmetka.text();
    f.KUPN = c.KUPN.text();
    f.DeloNom = c.DeloNom.text();
    f.DeloDat = c.DeloDat;
    f.PrintNet = c.PrintNet;
    s.SavedCard = s.card;
    showAttachmentIndicators(s, c.Klu4Form1);
}

void Scatter(AppState& s) {
    s.CurNo = s.main.pos();
    s.CardCount = s.main.size();
    if (s.main.eof() && s.CardCount > 0)
        s.main.seek(s.CardCount - 1);
    if (s.CardCount == 0) {
        ClearOkna(s);
        s.EditState = CardEditState::New;
        hideAllCardButtons(s);
        return;
    }
    const qint64 position = s.main.pos();
    s.main.read(s.card);
    s.main.seek(position);
    ShowRecord(s);
    s.EditState = CardEditState::Korr;
}

void ClearOkna(AppState& s) {
    CardForm& f = s.form;
    const int key = newCardKey(s);
    const QString today = dateOf(s.clock.today()).toString(QStringLiteral("dd.MM.yyyy"));
    f.GurN = QStringLiteral("0");
    f.Srok = QStringLiteral("0");
    f.Klu4Form1 = QString::number(key);
    f.DateOtkaza = s.clock.today();
    f.NeNashaIshDat = EmptyDate;
    f.NashaWxodDat = EmptyDate;
    f.DataProvProkur = EmptyDate;
    f.KUPData = EmptyDate;
    f.NasheIshData = EmptyDate;
    f.DeloDat = EmptyDate;
    f.Listov = 1;
    f.Ekzem = 1;
    f.AdminFIO = s.currentUserName();
    f.DaWrSozd = today;
    f.DWKorr = today;
    f.PrintNet = 0;
    for (QString* text :
         {&f.NashWxodNom,  &f.KemWines,   &f.DolgWines, &f.PodpUtw,     &f.DolgnPodp,
          &f.LicoUN,       &f.KUPN,       &f.Motiv,     &f.KemProdlen,  &f.DolgProdlen,
          &f.DeloNom,      &f.Statia,     &f.MestoNah,  &f.RezPovtRasm, &f.ProkOtmetka,
          &f.NeNashIshNom, &f.WidDok,     &f.DolgnAvt,  &f.FIOAvtor,    &f.Telefon,
          &f.EMail,        &f.Adres,      &f.NazwDok,   &f.Fabula,      &f.Nositel,
          &f.Otpravitel,   &f.NashIshNom, &f.Otmetka})
        text->clear();
    FabulaChange(s);
}

void Kakay(AppState& s) {
    s.CardCount = s.main.size();
    if (s.CardCount == 0) {
        s.form.NNaidena = QStringLiteral("0");
        s.form.WsegoZ = QStringLiteral("0");
        return;
    }
    s.CurNo = s.main.pos() + 1;
    s.form.NNaidena = QString::number(s.CurNo);
    s.form.WsegoZ = QString::number(s.CardCount);
}

void FabulaChange(AppState& s) {
    s.form.FabOstZn = QString::number(200 - trimControl(s.form.Fabula).size());
}

void gatherCard(AppState& s, int gurN, int srok, int key) {
    TAnketa& c = s.card;
    const CardForm& f = s.form;
    c.GurN = gurN;
    c.NeNashIshNom = f.NeNashIshNom;
    c.NeNashaIshDat = f.NeNashaIshDat;
    c.WidDok = f.WidDok;
    c.DolgnAvt = f.DolgnAvt;
    c.FIOAvtor = f.FIOAvtor;
    c.Adres = f.Adres;
    c.NazwDok = f.NazwDok;
    c.Fabula = f.Fabula;
    c.NashWxodNom = f.NashWxodNom;
    c.NashaWxodDat = f.NashaWxodDat;
    c.Statia = f.Statia;
    c.DolgWines = f.DolgWines;
    c.DateOtkaza = f.DateOtkaza;
    c.KemWines = f.KemWines;
    c.Motiv = f.Motiv;
    c.PodpUtw = f.PodpUtw;
    c.DolgnPodp = f.DolgnPodp;
    c.LicoUN = f.LicoUN;
    c.ProkOtmetka = f.ProkOtmetka;
    c.DataProvProkur = f.DataProvProkur;
    c.Nositel = f.Nositel;
    c.KemProdlen = f.KemProdlen;
    c.Srok = srok;
    c.DolgProdlen = f.DolgProdlen;
    c.Otpravitel = f.Otpravitel;
    c.KUPData = f.KUPData;
    c.MestoNah = f.MestoNah;
    c.RezPovtRasm = f.RezPovtRasm;
    c.Listov = f.Listov;
    c.Ekzem = f.Ekzem;
    c.NashIshNom = f.NashIshNom;
    c.NasheIshData = f.NasheIshData;
    c.Telefon = f.Telefon;
    c.EMail = f.EMail;
    c.Otmetka = f.Otmetka;
    c.Klu4Form1 = key;
    c.KUPN = f.KUPN;
    c.DeloNom = f.DeloNom;
    c.DeloDat = f.DeloDat;
    c.PrintNet = f.PrintNet;
}

void hideAllCardButtons(AppState& s) {
    CardButtons& b = s.buttons;
    b.nNew = b.nCopiy = b.nPoisk = b.nDelete = b.nWstavit = b.nOtmena = false;
    b.N7 = false;
}

void hideCardButtonsForNew(AppState& s) {
    CardButtons& b = s.buttons;
    b.nNew = b.nCopiy = b.nPoisk = b.nDelete = b.nWstavit = false;
    b.N7 = false;
}

void showAllCardButtons(AppState& s) {
    CardButtons& b = s.buttons;
    b.nNew = b.nCopiy = b.nPoisk = b.nDelete = b.nWstavit = b.nOtmena = true;
    b.N7 = true;
}

void showCardButtonsForCancel(AppState& s) {
    CardButtons& b = s.buttons;
    b.nNew = b.nCopiy = b.nPoisk = b.nDelete = b.nWstavit = true;
    b.N7 = true;
}

double pickedDate(double current, const QDate& picked) {
    if (dateOf(current) == picked)
        return current;
    return dayNumber(picked);
}

} // namespace zelmar
