#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

namespace zelmar {

struct TAnketa;

// The conditions of the search and filter windows, joined by AND: the values of their
// controls. Ranges include both bounds, compare whole days of dates and cannot be switched off;
// an empty text passes every card, a text with a letter no card can hold passes none.
struct CardConditions {
    int NaSE = 1;         // register number from
    int KoSE = 9999;      // register number to
    double NaDat = 0;     // decision date from (with the picker's time of day)
    double KoDat = 0;     // decision date to
    int PrintNet = 2;     // printed flag: 0 or 1 must equal the card's; 2 passes every card
    double KUPDataN = 0;  // register-entry date from
    double KUPDataPo = 0; // register-entry date to

    // Contained anywhere in the field.
    QString ProkOtmetka; // ProkOtmetka
    QString KemWines;    // KemWines
    QString PodpUtw;     // PodpUtw
    QString Zayavitel;   // FIOAvtor
    QString IshNomZayv;  // NeNashIshNom
    QString KlSlovo;     // Fabula
    QString WhNash;      // NashWxodNom
    QString IshNash;     // NashIshNom
    QString MotivP;      // Motiv
    // Equal to the trimmed field.
    QString KUPN; // KUPN
};

// A date picker's value once the user picked a date: the picked day at the time of day the
// picker carries.
double pickerValue(double current, const QDate& picked);

// The conditions made ready for a pass over a card file: the texts folded once into the file's
// own bytes, the cheap tests first. Testing a card reads its bytes in place.
class CardTest {
public:
    explicit CardTest(const CardConditions& conditions);
    bool operator()(const TAnketa& card) const;

private:
    struct Text {
        int offset;   // of the field's length byte in the card
        int capacity; // the field's size
        QByteArray folded;
        bool equals;
    };

    bool m_nothing = false;
    int m_naSE;
    int m_koSE;
    double m_naDat;
    double m_koDat;
    int m_printNet;
    double m_kupDataN;
    double m_kupDataPo;
    std::vector<Text> m_texts;
};

} // namespace zelmar
