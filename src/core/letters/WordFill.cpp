#include "core/letters/WordFill.h"

#include "core/documents/AtomicFile.h"
#include "core/documents/DocumentError.h"
#include "core/documents/Docx.h"
#include "core/documents/Office.h"
#include "core/documents/RtfTemplate.h"
#include "core/documents/RtfTokens.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Errors.h"
#include "core/texts/DateTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zelmar {

namespace {

QByteArray readBlank(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw DocumentError(QStringLiteral("Нет бланка «%1».").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(IoError::AccessDenied, path);
    return file.readAll();
}

bool looksLikeWord97(const QByteArray& bytes) {
    return bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

void writeRtf(const QByteArray& rtf, const QString& what, const QString& target,
              const QList<std::pair<QString, QString>>& fields) {
    const QByteArray filled = fillRtf(rtf, what, fields);
    AtomicFile file(target);
    writeOrThrow(file, filled, target);
    file.commit(false);
}

} // namespace

QList<std::pair<QString, QString>> letterFields(const AppState& s) {
    const TAnketa& c = s.card;
    const CardForm& f = s.form;
    const auto pair = [](const char* tag, const QString& value) {
        return std::pair<QString, QString>(QString::fromLatin1(tag), value);
    };
    return {
        pair("dolgnost", f.DolgnAvt),
        pair("firma", f.Otpravitel),
        pair("Zaywitel", c.FIOAvtor.text()),
        pair("Adres", c.Adres.text()),
        pair("ihish", f.NeNashIshNom),
        pair("ihdat", ShortDateOrBlank(f.NeNashaIshDat)),
        pair("N_KP", c.KUPN.text()),
        pair("D_KP", ShortDateOrBlank(c.KUPData)),
        pair("gn", QString::number(c.GurN)),
        pair("D_w", ShortDate(c.DateOtkaza)),
        pair("N_whod", c.NashWxodNom.text()),
        pair("D_whod", ShortDateOrBlank(c.NashaWxodDat)),
        pair("Motiw_otk", c.Motiv.text()),
        pair("Statia", c.Statia.text()),
        pair("un", c.LicoUN.text()),
        pair("Fabula", trimControl(c.Fabula.text())),
        pair("Kem_w_Post", c.KemWines.text()),
        pair("Dol_Kem", c.DolgWines.text()),
        pair("Podpisal", c.PodpUtw.text()),
        pair("Dol_Podp", c.DolgnPodp.text()),
        pair("Srok_R", c.Srok > 0 ? QString::number(c.Srok) : QString()),
        pair("Kem_Prod", c.KemProdlen.text()),
        pair("Dol_Prod", c.DolgProdlen.text()),
        pair("D_Prokur", ShortDateOrBlank(c.DataProvProkur)),
        pair("N_UD", c.DeloNom.text()),
        pair("D_UD", ShortDateOrBlank(c.DeloDat)),
        pair("N_Tom", trimControl(c.MestoNah.text())),
        pair("RPowR", trimControl(c.RezPovtRasm.text())),
    };
}

void makeFilledDocument(const QString& blank, const QString& target, const QString& tempFolder,
                        const QList<std::pair<QString, QString>>& fields) {
    if (QFileInfo::exists(target))
        throw DocumentError(
            QStringLiteral("Файл «%1» уже есть.").arg(QDir::toNativeSeparators(target)));
    const QByteArray bytes = readBlank(blank);
    const QString what = QFileInfo(blank).fileName();
    if (looksLikeRtf(bytes)) {
        writeRtf(bytes, what, target, fields);
    } else if (looksLikeZip(bytes)) {
        const QString temp = target + QStringLiteral(".new");
        QFile::remove(temp);
        try {
            fillDocx(blank, temp, what, fields);
            publishNew(temp, target);
        } catch (...) {
            QFile::remove(temp);
            throw;
        }
    } else if (looksLikeWord97(bytes)) {
        QTemporaryDir converted(tempFolder + QStringLiteral("/word-XXXXXX"));
        if (!converted.isValid())
            throw IoError(IoError::AccessDenied, tempFolder);
        // LibreOffice names its result after the blank; a copy with a plain name keeps it simple.
        const QString source = converted.filePath(QStringLiteral("blank.doc"));
        if (!QFile::copy(blank, source))
            throw IoError(IoError::AccessDenied, source);
        convertWithOffice({source}, QStringLiteral("rtf"), converted.path());
        QFile rtf(converted.filePath(QStringLiteral("blank.rtf")));
        if (!rtf.open(QIODevice::ReadOnly))
            throw IoError(IoError::FileNotFound, rtf.fileName());
        writeRtf(rtf.readAll(), what, target, fields);
    } else {
        throw DocumentError(QStringLiteral("Бланк «%1» не является документом RTF, DOCX или Word.")
                                .arg(QDir::toNativeSeparators(blank)));
    }
}

} // namespace zelmar
