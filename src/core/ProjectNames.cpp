// Batch file names made from the header, and the upload's shorter name.

#include "core/Project.h"

#include "core/VbHelpers.h"

namespace {

QString quarterDigit(int quarter)
{
    return quarter > 0 ? QString::number(quarter) : QString();
}

} // namespace

QString Project::BuildBatchName() const
{
    if (bLumivark())
        return BuildLumivarkName();

    QString name;
    if (iYear() > 0)
        name += QString::number(iYear()).right(4);
    if (EventType() > 0)
        name += ZelLetter();
    name += quarterDigit(iQtr());
    // The "0" of a blank letter stays, so that the page keeps its place.
    name += PageLetter();
    name += VbTrim(Page()).rightJustified(4, u'0');
    return name + QStringLiteral(".ZEL");
}

QString Project::BuildLumivarkName() const
{
    const QString year = iYear() > 0 ? QString::number(iYear()).right(2) : QString();
    const QString event = EventType() > 0 ? ZelLetter() : QString();
    const QString quarter = quarterDigit(iQtr());
    QString letter = VbTrim(PageLetter());
    if (letter == QLatin1String("0") || bLumivarkNoLetter())
        letter.clear();
    // Always four digits: a longer page keeps only its last four.
    const QString page = (QStringLiteral("0000") + VbTrim(Page())).right(4);

    if (SourceType() == SourceType::Scan)
        return year + event + quarter + letter + page + QStringLiteral(".SCA");
    if (SourceType() >= 1) {
        // The extension is always three digits: batches below 100 are
        // numbered from 100 on.
        const int batch = Batchnumber() < 100 ? Batchnumber() + 100 : Batchnumber();
        return QStringLiteral("P") + event + page + u'.' + QString::number(batch);
    }
    return year + event + quarter;
}

QString Project::UploadName() const
{
    QString name = BatchName();
    const qsizetype dot = name.indexOf(u'.');
    // A name that starts with "." has nothing before it to keep.
    if (dot >= 1)
        name.truncate(dot);
    if (SourceType() != SourceType::Scan && bLumivark()) {
        const int batch = Batchnumber();
        const QString digits = QString::number(qAbs(batch)).rightJustified(3, u'0');
        name += u'_' + (batch < 0 ? QStringLiteral("-") : QString()) + digits;
    }
    return name;
}

bool Project::IsPlainFileName(const QString &name)
{
    // The name comes from files written elsewhere and goes into save and
    // delete paths: nothing in it may lead out of the folder.
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\')
           && !name.contains(u':') && !name.contains(QLatin1String(".."));
}

QString Project::EventToString(int eventType)
{
    switch (eventType) {
    case EventType::Births: return QStringLiteral("B");
    case EventType::Deaths: return QStringLiteral("D");
    case EventType::Marriages: return QStringLiteral("M");
    default: return QStringLiteral("?");
    }
}
