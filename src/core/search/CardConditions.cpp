#include "core/search/CardConditions.h"

#include "core/search/TextFold.h"
#include "core/store/Cp1251.h"
#include "core/store/TAnketa.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <cmath>

namespace zelmar {

namespace {

template <int N>
int offsetOf(ShortString<N> TAnketa::*field) {
    static const TAnketa probe = zeroCard();
    return static_cast<int>(reinterpret_cast<const char*>(&(probe.*field)) -
                            reinterpret_cast<const char*>(&probe));
}

} // namespace

double pickerValue(double current, const QDate& picked) {
    if (dateOf(current) == picked)
        return current;
    const double time = current - std::floor(current);
    return dayNumber(picked) + (std::isfinite(time) ? time : 0.0);
}

CardTest::CardTest(const CardConditions& c)
    : m_naSE(c.NaSE)
    , m_koSE(c.KoSE)
    , m_naDat(c.NaDat)
    , m_koDat(c.KoDat)
    , m_printNet(c.PrintNet)
    , m_kupDataN(c.KUPDataN)
    , m_kupDataPo(c.KUPDataPo) {
    const auto add = [this](auto field, const QString& text, bool equals) {
        // No card holds a letter the code page lacks: such a condition finds nothing (its
        // '?' would match every stored question mark).
        if (!outsideCp1251(text).isEmpty())
            m_nothing = true;
        QByteArray folded = foldedCondition(text);
        if (folded.isEmpty())
            return;
        using Field = std::remove_reference_t<decltype(std::declval<TAnketa>().*field)>;
        m_texts.push_back({offsetOf(field), Field::capacity, std::move(folded), equals});
    };
    // The exact test first: it rejects most cards after a few bytes.
    add(&TAnketa::KUPN, c.KUPN, true);
    add(&TAnketa::ProkOtmetka, c.ProkOtmetka, false);
    add(&TAnketa::KemWines, c.KemWines, false);
    add(&TAnketa::PodpUtw, c.PodpUtw, false);
    add(&TAnketa::FIOAvtor, c.Zayavitel, false);
    add(&TAnketa::NeNashIshNom, c.IshNomZayv, false);
    add(&TAnketa::NashWxodNom, c.WhNash, false);
    add(&TAnketa::NashIshNom, c.IshNash, false);
    add(&TAnketa::Motiv, c.MotivP, false);
    add(&TAnketa::Fabula, c.KlSlovo, false);
}

bool CardTest::operator()(const TAnketa& card) const {
    if (m_nothing || card.GurN < m_naSE || card.GurN > m_koSE)
        return false;
    // Dates are compared by whole days at both ends: a card stored at 00:00:00 (a day picked
    // in the editor) and one stored at another time of that day are both inside a range that
    // names the day, whatever time of day the pickers carry.
    if (!dayInRange(card.DateOtkaza, m_naDat, m_koDat))
        return false;
    if (m_printNet != 2 && card.PrintNet != m_printNet)
        return false;
    if (!dayInRange(card.KUPData, m_kupDataN, m_kupDataPo))
        return false;
    const char* bytes = reinterpret_cast<const char*>(&card);
    for (const Text& text : m_texts) {
        const int size =
            std::min<int>(static_cast<std::uint8_t>(bytes[text.offset]), text.capacity);
        const char* chars = bytes + text.offset + 1;
        if (text.equals ? !equalsFoldedTrimmed(chars, size, text.folded)
                        : !containsFolded(chars, size, text.folded))
            return false;
    }
    return true;
}

} // namespace zelmar
