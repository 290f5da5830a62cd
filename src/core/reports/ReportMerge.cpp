#include "core/reports/ReportMerge.h"

#include "core/documents/AtomicFile.h"
#include "core/documents/DocumentError.h"
#include "core/documents/RtfTemplate.h"
#include "core/platform/Errors.h"
#include "core/reports/ReportData.h"
#include "core/reports/StatisticsReport.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace zelmar {

namespace {

constexpr int kCount = tags::Count;
constexpr int kToday = tags::Count + 1;

QByteArray readWhole(const QString& path, const QString& missing) {
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw DocumentError(missing.arg(QFileInfo(path).fileName()));
    if (!file.open(QIODevice::ReadOnly))
        IoError::throwErrno(errno ? errno : EACCES, path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        IoError::throwErrno(errno ? errno : EIO, path);
    return bytes;
}

class ReportValues : public MergeValues {
public:
    ReportValues(const ReportData& data, const QDate& today)
        : m_data(data)
        , m_today(today.toString(QStringLiteral("dd.MM.yyyy")).toLatin1())
        , m_count(QByteArray::number(data.cards())) {}

    qsizetype records() const override { return m_data.cards(); }

    void write(qsizetype record, int field, RtfWriter& out) const override {
        if (field == kCount)
            return out.cp1251(m_count);
        if (field == kToday)
            return out.cp1251(m_today);
        // Outside the band a card's fields are those of the first card.
        const qsizetype card = record < 0 ? 0 : record;
        if (card < m_data.cards())
            out.cp1251(m_data.value(card, field));
    }

private:
    const ReportData& m_data;
    QByteArray m_today;
    QByteArray m_count;
};

} // namespace

void mergeReport(const QString& dataPath, const QString& templatePath, const QString& resultPath,
                 const QDate& today) {
    QByteArray bytes = readWhole(dataPath, QStringLiteral("Нет файла данных отчёта «%1»."));
    // The statistics have a data file of their own.
    if (isStatisticsData(bytes))
        return mergeStatistics(bytes, QFileInfo(dataPath).fileName(),
                               readWhole(templatePath, QStringLiteral("Нет шаблона отчёта «%1».")),
                               QFileInfo(templatePath).fileName(), resultPath, today);
    const ReportData data = ReportData::parse(std::move(bytes));
    if (!data.multiCard() && data.cards() == 0)
        throw DocumentError(QStringLiteral("Файл данных «%1» неполон: в нём нет целой карточки.")
                                .arg(QFileInfo(dataPath).fileName()));
    const QByteArray rtf = readWhole(templatePath, QStringLiteral("Нет шаблона отчёта «%1»."));
    const RtfTemplate document(rtf, QFileInfo(templatePath).fileName(), [](QStringView name) {
        if (name.compare(u"count", Qt::CaseInsensitive) == 0)
            return kCount;
        if (name.compare(u"today", Qt::CaseInsensitive) == 0)
            return kToday;
        return reportTagIndex(name);
    });
    AtomicFile result(resultPath);
    RtfWriter out(result, resultPath);
    document.write(out, ReportValues(data, today));
    result.commit();
}

} // namespace zelmar
