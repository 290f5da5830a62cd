#include "core/admin/CardFields.h"

namespace zelmar {

namespace {

template <auto Member>
QString text(const TAnketa& card) {
    return (card.*Member).text();
}

const CardField kFields[] = {
    {"GurN", &TAnketa::GurN},
    {"DateOtkaza", &TAnketa::DateOtkaza},
    {"KUPData", &TAnketa::KUPData},
    {"KUPN", &text<&TAnketa::KUPN>},
    {"KemWines", &text<&TAnketa::KemWines>},
    {"DolgWines", &text<&TAnketa::DolgWines>},
    {"PodpUtw", &text<&TAnketa::PodpUtw>},
    {"DolgnPodp", &text<&TAnketa::DolgnPodp>},
    {"Motiv", &text<&TAnketa::Motiv>},
    {"LicoUN", &text<&TAnketa::LicoUN>},
    {"ProkOtmetka", &text<&TAnketa::ProkOtmetka>},
    {"DataProvProkur", &TAnketa::DataProvProkur},
    {"DeloNom", &text<&TAnketa::DeloNom>},
    {"DeloDat", &TAnketa::DeloDat},
    {"Statia", &text<&TAnketa::Statia>},
    {"MestoNah", &text<&TAnketa::MestoNah>},
    {"RezPovtRasm", &text<&TAnketa::RezPovtRasm>},
    {"KemProdlen", &text<&TAnketa::KemProdlen>},
    {"Srok", &TAnketa::Srok},
    {"DolgProdlen", &text<&TAnketa::DolgProdlen>},
    {"NeNashIshNom", &text<&TAnketa::NeNashIshNom>},
    {"NeNashaIshDat", &TAnketa::NeNashaIshDat},
    {"WidDok", &text<&TAnketa::WidDok>},
    {"DolgnAvt", &text<&TAnketa::DolgnAvt>},
    {"FIOAvtor", &text<&TAnketa::FIOAvtor>},
    {"Adres", &text<&TAnketa::Adres>},
    {"NazwDok", &text<&TAnketa::NazwDok>},
    {"Fabula", &text<&TAnketa::Fabula>},
    {"Nositel", &text<&TAnketa::Nositel>},
    {"Otpravitel", &text<&TAnketa::Otpravitel>},
    {"Listov", &TAnketa::Listov},
    {"Ekzem", &TAnketa::Ekzem},
    {"NashIshNom", &text<&TAnketa::NashIshNom>},
    {"NasheIshData", &TAnketa::NasheIshData},
    {"Telefon", &text<&TAnketa::Telefon>},
    {"EMail", &text<&TAnketa::EMail>},
    {"NashWxodNom", &text<&TAnketa::NashWxodNom>},
    {"NashaWxodDat", &TAnketa::NashaWxodDat},
    {"Klu4Form1", &TAnketa::Klu4Form1},
    {"AdminFIO", &text<&TAnketa::AdminFIO>},
    {"DaWrSozd", &TAnketa::DaWrSozd, true},
    {"DWKorr", &TAnketa::DWKorr, true},
    {"Otmetka", &text<&TAnketa::Otmetka>},
    {"PrintNet", &TAnketa::PrintNet},
};

} // namespace

std::span<const CardField> cardFields() {
    return kFields;
}

} // namespace zelmar
