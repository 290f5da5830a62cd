#pragma once

#include <QString>

namespace zelmar {

// The values of the card editor's controls, one member per control, named as the controls.
// Edits and drop-down lists hold text, date pickers a day number, spin edits and the radio
// group an integer. Commands read and write this; the main window copies it to and from its
// widgets around every command.
struct CardForm {
    QString GurN;
    double DateOtkaza = 0;
    QString NashWxodNom;
    double NashaWxodDat = 0;
    QString KemWines;
    QString DolgWines;
    QString PodpUtw;
    QString DolgnPodp;
    QString LicoUN;
    QString KUPN;
    double KUPData = 0;
    QString Motiv;
    QString KemProdlen;
    QString Srok;
    QString DolgProdlen;
    QString DeloNom;
    double DeloDat = 0;
    QString Statia;
    QString MestoNah;
    QString RezPovtRasm;
    double DataProvProkur = 0;
    QString ProkOtmetka;
    int PrintNet = 0;
    QString NeNashIshNom;
    double NeNashaIshDat = 0;
    QString WidDok;
    QString DolgnAvt;
    QString FIOAvtor;
    QString Telefon;
    QString EMail;
    QString Adres;
    QString NazwDok;
    QString Fabula; // line breaks as CR LF, as stored
    QString Nositel;
    int Listov = 1;
    int Ekzem = 1;
    QString Otpravitel;
    QString NashIshNom;
    double NasheIshData = 0;
    QString Klu4Form1;
    QString AdminFIO;
    QString DaWrSozd;
    QString DWKorr;
    QString Otmetka;

    // Read-only companions.
    QString FabOstZn = QStringLiteral("200");
    QString NNaidena;
    QString WsegoZ;
    QString WRab;
    QString ZapGurN;

    // Attachment indicators.
    QString Otvet = QStringLiteral("Ответить");
    QString GifEst = QStringLiteral("Нет");
    QString WordEst = QStringLiteral("Нет");
};

// The card buttons and the menus whose state the commands decide.
struct CardButtons {
    bool nNew = true;
    bool nCopiy = true;
    bool nPoisk = true;
    bool nDelete = true;
    bool nWstavit = true;
    bool nOtmena = true;
    bool nVstavka = false; // enabled by Copy
    bool N7 = true;        // menu "Печать", as the card shown allows; the user's rights come
                           // on top (printMenuEnabled)
};

} // namespace zelmar
