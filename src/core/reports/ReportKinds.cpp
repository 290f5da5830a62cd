#include "core/reports/ReportKinds.h"

namespace zelmar {

const QStringList& reportTags() {
    static const QStringList list = {
        QStringLiteral("nn"),       QStringLiteral("N_KP"),       QStringLiteral("D_KP"),
        QStringLiteral("gn"),       QStringLiteral("D_w"),        QStringLiteral("N_whod"),
        QStringLiteral("D_whod"),   QStringLiteral("Zaywitel"),   QStringLiteral("Motiw_otk"),
        QStringLiteral("Statia"),   QStringLiteral("un"),         QStringLiteral("Fabula"),
        QStringLiteral("Adres"),    QStringLiteral("Kem_w_Post"), QStringLiteral("Dol_Kem"),
        QStringLiteral("Podpisal"), QStringLiteral("Dol_Podp"),   QStringLiteral("Srok_R"),
        QStringLiteral("Kem_Prod"), QStringLiteral("Dol_Prod"),   QStringLiteral("D_Prokur"),
        QStringLiteral("N_UD"),     QStringLiteral("D_UD"),       QStringLiteral("N_Tom"),
        QStringLiteral("RPowR"),    QStringLiteral("n_is_n"),     QStringLiteral("n_is_d"),
    };
    return list;
}

int reportTagIndex(QStringView tag) {
    const QStringList& list = reportTags();
    for (int i = 0; i < list.size(); ++i) {
        if (tag.compare(list[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace zelmar
