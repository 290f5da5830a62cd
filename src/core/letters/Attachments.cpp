#include "core/letters/Attachments.h"

#include "core/documents/DocumentError.h"
#include "core/editor/AppState.h"
#include "core/letters/WordFill.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/store/FileRights.h"
#include "core/store/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace zelmar {

namespace {

const QString kCaption = QStringLiteral("Zelmar");

// The key of the card the editor shows; a card without one has no files of its own.
QString cardKey(const AppState& s) {
    bool ok = false;
    const int key = s.form.Klu4Form1.trimmed().toInt(&ok);
    if (!ok || key <= 0)
        throw DocumentError(QStringLiteral("У карточки нет уникального номера: её файлы "
                                           "появятся, когда карточка будет сохранена."));
    return QString::number(key);
}

QString cardFile(const AppState& s, QStringView folder, QStringView extension) {
    return s.local(folder.toString() + cardKey(s) + extension.toString());
}

void open(AppState& s, const QString& path) {
    if (!s.shell.openDocument(path))
        s.prompts.message(QStringLiteral("Не удалось открыть «%1»: не найдена программа для "
                                         "этого файла.")
                              .arg(QDir::toNativeSeparators(path)),
                          kCaption);
}

// The choice for an existing file: true when it was deleted.
bool offerExisting(AppState& s, const QString& path, const QString& caption) {
    switch (s.prompts.choice(caption, QStringLiteral("Редактировать"), QStringLiteral("Удалить"),
                             QStringLiteral("Ничего не делать"))) {
    case 1:
        open(s, path);
        return false;
    case 2:
        if (!QFile::remove(path) && QFileInfo::exists(path))
            throw IoError(IoError::AccessDenied, path);
        return true;
    default:
        return false;
    }
}

void fillOrOffer(AppState& s, QStringView folder, QStringView blank, const QString& caption,
                 QString& indicator, const QString& yes, const QString& no) {
    const QString path = cardFile(s, folder, u".doc");
    if (QFileInfo::exists(path)) {
        if (offerExisting(s, path, caption))
            indicator = no;
        return;
    }
    makeFilledDocument(s.local(blank), path, s.local(u"Temp"), letterFields(s));
    indicator = yes;
    open(s, path);
}

void openSupplied(AppState& s, QStringView document) {
    const QString path = s.local(document);
    if (!QFileInfo(path).isFile()) {
        s.prompts.message(QStringLiteral("Нет документа «%1».").arg(QDir::toNativeSeparators(path)),
                          kCaption);
        return;
    }
    open(s, path);
}

} // namespace

void OtvetClick(AppState& s) {
    fillOrOffer(s, files::ReplyFolder, u"c:\\Zelmar\\Otveti\\BlankFirma.doc",
                QStringLiteral("Действие с Ответом к Карточке"), s.form.Otvet,
                QStringLiteral("Есть ответ"), QStringLiteral("Ответить"));
}

void WordEstClick(AppState& s) {
    fillOrOffer(s, files::DocumentFolder, u"c:\\Zelmar\\WhodWord\\Blank.doc",
                QStringLiteral("Действие с Документом к Карточке"), s.form.WordEst,
                QStringLiteral("Есть"), QStringLiteral("Нет"));
}

void GifEstClick(AppState& s) {
    const QString path = cardFile(s, files::PictureFolder, u".gif");
    if (QFileInfo::exists(path)) {
        if (offerExisting(s, path, QStringLiteral("Действие с Картинкой к Карточке")))
            s.form.GifEst = QStringLiteral("Нет");
        return;
    }
    const QString blank = s.local(u"c:\\Zelmar\\WhodGIF\\Blank.gif");
    if (!QFileInfo(blank).isFile())
        throw DocumentError(
            QStringLiteral("Нет бланка картинки «%1».").arg(QDir::toNativeSeparators(blank)));
    // Copied beside and then given its name, so a failed copy leaves no half picture.
    const QString temp = path + QStringLiteral(".new");
    QFile::remove(temp);
    if (!QFile::copy(blank, temp))
        throw IoError(IoError::AccessDenied, path);
    QFile::setPermissions(temp, newFilePermissions());
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        throw IoError(IoError::AccessDenied, path);
    }
    s.form.GifEst = QStringLiteral("Есть");
    open(s, path);
}

QString mailLink(const CardForm& f) {
    const auto part = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text.trimmed()));
    };
    const QString body = f.DolgnAvt.trimmed() + QLatin1Char(' ') + f.Otpravitel.trimmed() +
                         QStringLiteral(" Уважаемый(ая) ") + f.FIOAvtor.trimmed();
    return QStringLiteral("mailto:") +
           QString::fromLatin1(QUrl::toPercentEncoding(f.EMail.trimmed(), "@")) +
           QStringLiteral("?Subject=") + part(f.NazwDok) + QStringLiteral("&Body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(body));
}

void PoslatEMailClick(AppState& s) {
    if (!s.shell.openUrl(mailLink(s.form)))
        s.prompts.message(QStringLiteral("Не удалось открыть программу электронной почты."),
                          kCaption);
}

void N10Click(AppState& s) {
    openSupplied(s, files::Help);
}

void N9851Click(AppState& s) {
    openSupplied(s, u"c:\\Zelmar\\WhodWord\\Prikaz140.doc");
}

void N9581Click(AppState& s) {
    openSupplied(s, u"c:\\Zelmar\\WhodWord\\Pril140.doc");
}

} // namespace zelmar
