#include "core/editor/ReferenceLists.h"

#include "core/editor/AppState.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

namespace zelmar {

QString* boxText(CardForm& f, ListId id) {
    switch (id) {
    case ListId::WidDok:
        return &f.WidDok;
    case ListId::Nositel:
        return &f.Nositel;
    case ListId::Otpravitel:
        return &f.Otpravitel;
    case ListId::Statia:
        return &f.Statia;
    case ListId::DolgnAvt:
        return &f.DolgnAvt;
    case ListId::FIOAvtor:
        return &f.FIOAvtor;
    case ListId::MestoNah:
        return &f.MestoNah;
    case ListId::LicoUN:
        return &f.LicoUN;
    case ListId::Motiv:
        return &f.Motiv;
    case ListId::DolgWines:
        return &f.DolgWines;
    case ListId::DolgnPodp:
        return &f.DolgnPodp;
    case ListId::DolgProdlen:
        return &f.DolgProdlen;
    case ListId::KemWines:
        return &f.KemWines;
    case ListId::PodpUtw:
        return &f.PodpUtw;
    case ListId::KemProdlen:
        return &f.KemProdlen;
    default:
        break;
    }
    return nullptr;
}

QStringList readListFile(const AppState& s, ListId id) {
    const QString path = s.local(*listFile(id));
    if (!fileExists(path))
        return {};
    return readTextLines(path);
}

void writeListFile(const AppState& s, ListId id, const QStringList& items) {
    writeTextLines(s.local(*listFile(id)), items);
}

void loadReferenceLists(AppState& s) {
    for (ListId id :
         {ListId::WidDok, ListId::Nositel, ListId::Otpravitel, ListId::Statia, ListId::DolgnAvt,
          ListId::FIOAvtor, ListId::MestoNah, ListId::LicoUN, ListId::Motiv})
        s.lists.set(id, readListFile(s, id));
}

void appendOnEnter(AppState& s, ListId id) {
    const QString* box = boxText(s.form, id);
    const QString text = box ? *box : QString();
    if (!text.isEmpty()) {
        bool present = false;
        for (const QString& item : s.lists.items(id))
            present = present || item.compare(text, Qt::CaseInsensitive) == 0;
        if (!present)
            s.lists.insertSorted(id, text);
    }
    writeTextLines(s.local(files::Dictionary), s.lists.items(id));
}

void saveReferenceLists(AppState& s) {
    for (ListId id :
         {ListId::WidDok, ListId::Nositel, ListId::Otpravitel, ListId::DolgnAvt, ListId::FIOAvtor,
          ListId::MestoNah, ListId::Statia, ListId::LicoUN, ListId::DolgWines, ListId::Motiv})
        writeListFile(s, id, s.lists.items(id));
}

QStringList editorLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

QString editorText(const QStringList& items) {
    QString text;
    for (const QString& item : items)
        text += item + QLatin1Char('\n');
    return text;
}

void editReferenceList(AppState& s, ListId id, const QString& caption) {
    const QString edited = s.prompts.editText(caption, editorText(s.lists.items(id)));
    s.lists.set(id, editorLines(edited));
    writeListFile(s, id, s.lists.items(id));
}

void MotClick(AppState& s) {
    editReferenceList(s, ListId::Motiv, QStringLiteral("Мотив отказа  Статья УПК УК РФ"));
}

void WidDokumClick(AppState& s) {
    editReferenceList(s, ListId::WidDok, QStringLiteral("Вид документа"));
}

void PredpriClick(AppState& s) {
    editReferenceList(s, ListId::Otpravitel, QStringLiteral("Список наименований предприятий"));
}

void N14Click(AppState& s) {
    editReferenceList(s, ListId::FIOAvtor, QStringLiteral("Заявитель ФИО"));
}

void N21Click(AppState& s) {
    editReferenceList(s, ListId::DolgnAvt, QStringLiteral("Заявитель Должность"));
}

} // namespace zelmar
