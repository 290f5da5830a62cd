#pragma once

#include "core/store/ShortString.h"

#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>

namespace zelmar {

static_assert(std::endian::native == std::endian::little,
              "stored records are little-endian and read in place");

// The card: one material of the register, a fixed record of 1208 bytes. Dates are day numbers
// (days since 30.12.1899, fraction = time of day). The pads and the reserved tail are never
// written field by field; they travel with whole-record copies.
struct TAnketa {
    std::int32_t GurN;            // register number
    std::uint8_t pad4[4];         //
    double DateOtkaza;            // date of the refusal decision
    double KUPData;               // date of the entry in the register of reports
    ShortString<20> KUPN;         // number of that entry
    ShortString<30> KemWines;     // official who issued the decision
    ShortString<20> DolgWines;    // his position
    ShortString<30> PodpUtw;      // who signed / approved
    ShortString<20> DolgnPodp;    // signer's position
    ShortString<60> Motiv;        // motive of refusal and article
    ShortString<20> LicoUN;       // person established or not
    ShortString<20> ProkOtmetka;  // prosecutor's mark
    std::uint8_t pad252[4];       //
    double DataProvProkur;        // date of the prosecutor's check
    ShortString<20> DeloNom;      // criminal case number
    std::uint8_t pad285[3];       //
    double DeloDat;               // date of the criminal case
    ShortString<20> Statia;       // article of the criminal code
    ShortString<20> MestoNah;     // volume and page of the nomenclature file
    ShortString<100> RezPovtRasm; // result of the repeated examination
    ShortString<30> KemProdlen;   // who extended the term
    std::uint8_t pad470[2];       //
    std::int32_t Srok;            // term
    ShortString<20> DolgProdlen;  // position of who extended it
    ShortString<20> NeNashIshNom; // sender's outgoing number
    std::uint8_t pad518[2];       //
    double NeNashaIshDat;         // sender's outgoing date
    ShortString<20> WidDok;       // kind of document
    ShortString<30> DolgnAvt;     // applicant's position
    ShortString<40> FIOAvtor;     // applicant's name
    ShortString<50> Adres;        // applicant's address
    ShortString<50> NazwDok;      // title of the document
    ShortString<200> Fabula;      // content of the document
    ShortString<20> Nositel;      // medium of the document
    ShortString<50> Otpravitel;   // sending organisation
    std::int32_t Listov;          // sheets
    std::int32_t Ekzem;           // copies
    ShortString<20> NashIshNom;   // our outgoing number
    std::uint8_t pad1025[7];      //
    double NasheIshData;          // our outgoing date
    ShortString<20> Telefon;      // applicant's telephone
    ShortString<20> EMail;        // applicant's e-mail
    ShortString<20> NashWxodNom;  // our incoming number
    std::uint8_t pad1103[1];      //
    double NashaWxodDat;          // our incoming date
    std::int32_t Klu4Form1;       // unique key
    ShortString<20> AdminFIO;     // user who stored the card last
    std::uint8_t pad1137[7];      //
    double DaWrSozd;              // creation stamp
    double DWKorr;                // stamp of the last change
    ShortString<2> Otmetka;       // two-character mark
    std::uint8_t pad1163[1];      //
    std::int32_t PrintNet;        // 0 = not yet in the register book, 1 = printed
    std::uint8_t reserved[40];    // never read or written by any operation

    static constexpr int Size = 1208;

    // Field by field: the texts behind each length, never the bytes behind them.
    bool sameFields(const TAnketa& other) const;
};

// A card of all-zero bytes: what a new installation's card buffer holds.
TAnketa zeroCard();

// The deletion mark.
inline const QString DeletionMark = QStringLiteral("уд");

static_assert(sizeof(TAnketa) == TAnketa::Size);
static_assert(std::is_trivially_copyable_v<TAnketa>);
static_assert(std::is_standard_layout_v<TAnketa>);
static_assert(offsetof(TAnketa, GurN) == 0);
static_assert(offsetof(TAnketa, DateOtkaza) == 8);
static_assert(offsetof(TAnketa, KUPData) == 16);
static_assert(offsetof(TAnketa, KUPN) == 24);
static_assert(offsetof(TAnketa, KemWines) == 45);
static_assert(offsetof(TAnketa, DolgWines) == 76);
static_assert(offsetof(TAnketa, PodpUtw) == 97);
static_assert(offsetof(TAnketa, DolgnPodp) == 128);
static_assert(offsetof(TAnketa, Motiv) == 149);
static_assert(offsetof(TAnketa, LicoUN) == 210);
static_assert(offsetof(TAnketa, ProkOtmetka) == 231);
static_assert(offsetof(TAnketa, DataProvProkur) == 256);
static_assert(offsetof(TAnketa, DeloNom) == 264);
static_assert(offsetof(TAnketa, DeloDat) == 288);
static_assert(offsetof(TAnketa, Statia) == 296);
static_assert(offsetof(TAnketa, MestoNah) == 317);
static_assert(offsetof(TAnketa, RezPovtRasm) == 338);
static_assert(offsetof(TAnketa, KemProdlen) == 439);
static_assert(offsetof(TAnketa, Srok) == 472);
static_assert(offsetof(TAnketa, DolgProdlen) == 476);
static_assert(offsetof(TAnketa, NeNashIshNom) == 497);
static_assert(offsetof(TAnketa, NeNashaIshDat) == 520);
static_assert(offsetof(TAnketa, WidDok) == 528);
static_assert(offsetof(TAnketa, DolgnAvt) == 549);
static_assert(offsetof(TAnketa, FIOAvtor) == 580);
static_assert(offsetof(TAnketa, Adres) == 621);
static_assert(offsetof(TAnketa, NazwDok) == 672);
static_assert(offsetof(TAnketa, Fabula) == 723);
static_assert(offsetof(TAnketa, Nositel) == 924);
static_assert(offsetof(TAnketa, Otpravitel) == 945);
static_assert(offsetof(TAnketa, Listov) == 996);
static_assert(offsetof(TAnketa, Ekzem) == 1000);
static_assert(offsetof(TAnketa, NashIshNom) == 1004);
static_assert(offsetof(TAnketa, NasheIshData) == 1032);
static_assert(offsetof(TAnketa, Telefon) == 1040);
static_assert(offsetof(TAnketa, EMail) == 1061);
static_assert(offsetof(TAnketa, NashWxodNom) == 1082);
static_assert(offsetof(TAnketa, NashaWxodDat) == 1104);
static_assert(offsetof(TAnketa, Klu4Form1) == 1112);
static_assert(offsetof(TAnketa, AdminFIO) == 1116);
static_assert(offsetof(TAnketa, DaWrSozd) == 1144);
static_assert(offsetof(TAnketa, DWKorr) == 1152);
static_assert(offsetof(TAnketa, Otmetka) == 1160);
static_assert(offsetof(TAnketa, PrintNet) == 1164);
static_assert(offsetof(TAnketa, reserved) == 1168);

} // namespace zelmar
