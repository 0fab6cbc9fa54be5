#include "mainwindow/HelpTopics.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QSet>
#include <QVariant>

#include <algorithm>

namespace {

const QList<HelpTopic> kTopics{
    // The main window's menus.
    {6104, "file-menu.html", "The File menu"},
    {6107, "scan-viewer-menu.html", "The Scan Viewer menu"},
    {6124, "scan-image.html", "Showing a scan image"},
    {6137, "options-menu.html", "The Options menu"},
    {6162, "row-numbering.html", "Input grid row numbering"},
    {6148, "dropdown-picklist.html", "Drop-down and most-recently-used district pick lists"},
    {6114, "standard-district-picklist.html", "The standard district pick list"},
    {5242, "paste-texts.html", "Copy/Paste texts"},
    {6134, "edit-menu.html", "The Edit menu"},
    {8, "edit-forenames.html", "Editing the forename list"},
    {7, "edit-districts.html", "Editing the district list"},
    {5232, "formatting-menu.html", "The Formatting menu"},
    {6111, "help-menu.html", "The Help menu and the About box"},
    {kHelpContentsContext, "index.html", "Pelkar help"},
    {6110, "row-cell-menus.html", "The Row and Cell menus"},
    // The entry boxes over the grid.
    {6135, "surname.html", "Surname"},
    {kForenameBoxHelpContext, "forenames.html", "Forenames"},
    {kDistrictBoxHelpContext, "district.html", "District and volume"},
    {6143, "date-of-birth.html", "Date of birth"},
    {6138, "age-at-death.html", "Age at death"},
    {6140, "mother.html", "Mother's maiden name"},
    {6141, "spouse.html", "Spouse's surname"},
    {6204, "page-entries.html", "Page numbers and +PAGE lines"},
    {6113, "fill-down.html", "Fill down and fill up"},
    // The batch header form.
    {5202, "header-event.html", "Event type"},
    {5212, "header-year.html", "Year"},
    {5206, "header-quarter.html", "Quarter"},
    {5208, "header-source.html", "Source"},
    {6166, "header-page.html", "Page"},
    {6119, "header-batch.html", "Batch number"},
    {6153, "header-page-letter.html", "Page letter"},
    {6174, "header-volume-format.html", "Volume number format"},
    {6184, "header-source-ref.html", "Source or scan reference"},
    {6122, "header-comments.html", "Comments"},
    {6161, "header-credit.html", "Credit"},
    {6125, "header-name.html", "Your name"},
    {6126, "header-syndicate.html", "Syndicate"},
    {6127, "header-email.html", "E-mail address"},
    {6128, "header-submitter-id.html", "Submitter ID"},
    {6129, "header-password.html", "Password"},
    {6147, "header-menus.html", "The header form's menus"},
};

QString gHelpFolder;
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

const QList<HelpTopic> &HelpTopics()
{
    return kTopics;
}

QString HelpPageFor(int context)
{
    for (const HelpTopic &t : kTopics) {
        if (t.context == context)
            return QString::fromLatin1(t.page);
    }
    return kHelpIndexPage;
}

void SetHelpFolder(const QString &folder)
{
    gHelpFolder = folder;
}

QString HelpFolder()
{
    return gHelpFolder;
}

void OpenHelpFile(int context)
{
    if (gHelpFolder.isEmpty())
        return;
    const QString page = QDir::cleanPath(QDir(gHelpFolder).absoluteFilePath(HelpPageFor(context)));
    if (Services::shell().openUrl(QUrl::fromLocalFile(page)))
        return;
    // A desktop with no web browser (or none it knows of) opens nothing:
    // the transcriber is told where the page is, to open it another way.
    ShowMessage(HelpNotOpenedText(page), Mb::Exclamation, kProductName);
}

QString HelpNotOpenedText(const QString &page)
{
    return QStringLiteral("Pelkar could not open its help: no program on this computer "
                          "opens web pages.")
           + kCrLf + QStringLiteral("You can open the page in a web browser yourself:") + kCrLf
           + QDir::toNativeSeparators(page);
}

void OpenHelpContents()
{
    OpenHelpFile(0);
}

int HelpContextForColumn(int col)
{
    if (!gTranscription || col <= 0)
        return 0;
    // The order matters where a batch's map gives two kinds one column.
    const Transcription &t = *gTranscription;
    if (col == t.SurnameCol())
        return 6135;
    if (col == t.DoBCol())
        return 6143;
    if (col == t.AaDCol())
        return 6138;
    if (col == t.MotherCol())
        return 6140;
    if (col == t.PageCol())
        return 6204;
    if (col == t.SpouseCol())
        return 6141;
    return 0;
}

QList<int> HelpContextsIn(const QObject *root)
{
    QList<int> found;
    if (!root)
        return found;
    QList<const QObject *> objects{root};
    for (const QObject *o : root->findChildren<QObject *>())
        objects.append(o);
    for (const QObject *o : objects) {
        const int context = o->property("HelpContextID").toInt();
        if (context > 0 && !found.contains(context))
            found.append(context);
    }
    return found;
}

QStringList HelpLinksIn(const QString &html)
{
    static const QRegularExpression href(QStringLiteral(R"re(href\s*=\s*"([^"]*)")re"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (auto it = href.globalMatch(html); it.hasNext();) {
        QString target = it.next().captured(1);
        target = target.left(target.indexOf(u'#') < 0 ? target.size() : target.indexOf(u'#'));
        if (target.isEmpty() || target.contains(u':') || !target.endsWith(QLatin1String(".html")))
            continue;
        if (!links.contains(target))
            links.append(target);
    }
    return links;
}

QStringList HelpProblems(const QList<int> &contexts, const QString &folder)
{
    QStringList problems;
    const QDir dir(folder);
    for (int context : contexts) {
        const auto known = std::find_if(kTopics.cbegin(), kTopics.cend(),
                                        [context](const HelpTopic &t) { return t.context == context; });
        if (known == kTopics.cend()) {
            problems.append(QStringLiteral("help context %1 has no page").arg(context));
            continue;
        }
        if (!QFileInfo(dir.filePath(QString::fromLatin1(known->page))).isFile())
            problems.append(QStringLiteral("help context %1: page %2 is missing")
                                .arg(context)
                                .arg(QString::fromLatin1(known->page)));
    }

    // Every page must be found by following links from the index.
    QSet<QString> reached;
    QStringList queue{kHelpIndexPage};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        if (reached.contains(page))
            continue;
        reached.insert(page);
        QFile file(dir.filePath(page));
        if (!file.open(QIODevice::ReadOnly)) {
            problems.append(QStringLiteral("page %1 is linked but missing").arg(page));
            continue;
        }
        queue.append(HelpLinksIn(QString::fromUtf8(file.readAll())));
    }
    const QStringList pages = dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (const QString &page : pages) {
        if (!reached.contains(page))
            problems.append(QStringLiteral("page %1 is not reached from the index").arg(page));
    }
    return problems;
}
