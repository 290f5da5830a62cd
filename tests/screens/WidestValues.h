#pragma once

#include "screens/CutTexts.h"

#include "ui_TForm1.h"

#include <utility>

namespace zelmar::test {

// Puts into the card editor the widest value each box must show whole: the widest item of a
// drop-down list that has items, and for the other boxes a usual value of their kind at its
// widest (a phone number, a register number, a criminal case number, a stamp ...).
inline void showWidestValues(Ui::TForm1& ui) {
    const std::pair<QLineEdit*, QString> usual[] = {
        {ui.GurN, QStringLiteral("12345")},
        {ui.NashWxodNom, QStringLiteral("12-34/5678")},
        {ui.KUPN, QStringLiteral("12345")},
        {ui.Srok, QStringLiteral("30")},
        {ui.DeloNom, QStringLiteral("12401040001000123")},
        {ui.NashIshNom, QStringLiteral("12-34/5678")},
        {ui.NeNashIshNom, QStringLiteral("12-34/5678")},
        {ui.Telefon, QStringLiteral("8-905-123-45-67")},
        {ui.EMail, QStringLiteral("ivan.petrov@mail.ru")},
        {ui.Adres, QStringLiteral("г. Энск, ул. Гагарина, д. 64, кв. 71")},
        {ui.NazwDok, QStringLiteral("Заявление о краже")},
        {ui.RezPovtRasm, QStringLiteral("Отменено, материал направлен на проверку")},
        {ui.Klu4Form1, QStringLiteral("636173745")},
        {ui.AdminFIO, QStringLiteral("Пользователь 1")},
        {ui.DaWrSozd, QStringLiteral("28.12.26 17:48")},
        {ui.DWKorr, QStringLiteral("28.12.26 17:48")},
        {ui.Otmetka, QStringLiteral("уд")},
        {ui.FabOstZn, QStringLiteral("200")},
        {ui.NNaidena, QStringLiteral("1000000")},
        {ui.WsegoZ, QStringLiteral("1000000")},
        {ui.WRab, QStringLiteral("1000000")},
        {ui.ZapGurN, QStringLiteral("12345")},
    };
    for (const auto& [edit, text] : usual)
        edit->setText(text);
    for (QComboBox* box : ui.EditorPanel->findChildren<QComboBox*>()) {
        if (box->count() > 0)
            box->setEditText(widestItem(*box));
    }
    // The officials and the applicant by a long name of their kind.
    const std::pair<QComboBox*, QString> names[] = {
        {ui.KemWines, QStringLiteral("Преображенский А.В.")},
        {ui.PodpUtw, QStringLiteral("Преображенский А.В.")},
        {ui.KemProdlen, QStringLiteral("Преображенский А.В.")},
        {ui.FIOAvtor, QStringLiteral("Щербакова Ёлка Владимировна")},
    };
    for (const auto& [box, text] : names)
        box->setEditText(text);
    // Each box shows its text from the start.
    for (QLineEdit* edit : ui.EditorPanel->findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
    for (QLineEdit* edit : ui.GlTSSide->findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
}

} // namespace zelmar::test
