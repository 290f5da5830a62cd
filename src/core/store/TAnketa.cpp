#include "core/store/TAnketa.h"

#include <cstring>

namespace zelmar {

bool TAnketa::sameFields(const TAnketa& o) const {
    // Dates compare by their bits so that two unreadable (NaN) dates count as equal.
    const auto sameDate = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    return GurN == o.GurN && sameDate(DateOtkaza, o.DateOtkaza) && sameDate(KUPData, o.KUPData) &&
           KUPN.sameText(o.KUPN) && KemWines.sameText(o.KemWines) &&
           DolgWines.sameText(o.DolgWines) && PodpUtw.sameText(o.PodpUtw) &&
           DolgnPodp.sameText(o.DolgnPodp) && Motiv.sameText(o.Motiv) &&
           LicoUN.sameText(o.LicoUN) && ProkOtmetka.sameText(o.ProkOtmetka) &&
           sameDate(DataProvProkur, o.DataProvProkur) && DeloNom.sameText(o.DeloNom) &&
           sameDate(DeloDat, o.DeloDat) && Statia.sameText(o.Statia) &&
           MestoNah.sameText(o.MestoNah) && RezPovtRasm.sameText(o.RezPovtRasm) &&
           KemProdlen.sameText(o.KemProdlen) && Srok == o.Srok &&
           DolgProdlen.sameText(o.DolgProdlen) && NeNashIshNom.sameText(o.NeNashIshNom) &&
           sameDate(NeNashaIshDat, o.NeNashaIshDat) && WidDok.sameText(o.WidDok) &&
           DolgnAvt.sameText(o.DolgnAvt) && FIOAvtor.sameText(o.FIOAvtor) &&
           Adres.sameText(o.Adres) && NazwDok.sameText(o.NazwDok) && Fabula.sameText(o.Fabula) &&
           Nositel.sameText(o.Nositel) && Otpravitel.sameText(o.Otpravitel) && Listov == o.Listov &&
           Ekzem == o.Ekzem && NashIshNom.sameText(o.NashIshNom) &&
           sameDate(NasheIshData, o.NasheIshData) && Telefon.sameText(o.Telefon) &&
           EMail.sameText(o.EMail) && NashWxodNom.sameText(o.NashWxodNom) &&
           sameDate(NashaWxodDat, o.NashaWxodDat) && Klu4Form1 == o.Klu4Form1 &&
           AdminFIO.sameText(o.AdminFIO) && sameDate(DaWrSozd, o.DaWrSozd) &&
           sameDate(DWKorr, o.DWKorr) && Otmetka.sameText(o.Otmetka) && PrintNet == o.PrintNet;
}

TAnketa zeroCard() {
    TAnketa card;
    std::memset(&card, 0, sizeof card);
    return card;
}

} // namespace zelmar
