#pragma once

// The help pages: which page each help-context number opens, where the
// pages are, and opening them through the shell service. Menu items and
// widgets carry their number as the dynamic property "HelpContextID".

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class QObject;

struct HelpTopic
{
    int context;
    const char *page; // file name under the help folder
    const char *title;
};

// Help-context numbers of the two entry boxes whose number does not follow
// the column (the general box's does: HelpContextForColumn).
inline constexpr int kForenameBoxHelpContext = 6136;
inline constexpr int kDistrictBoxHelpContext = 6139;
// The contents ("Pelkar Help").
inline constexpr int kHelpContentsContext = 6002;

inline const QString kHelpIndexPage = QStringLiteral("index.html");

// Every help-context number the program's menus, boxes and forms carry,
// with its page.
const QList<HelpTopic> &HelpTopics();

// The page for a number; the index for 0 or a number without a page.
QString HelpPageFor(int context);

// The folder holding the pages (set by the start-up once it has found
// them); empty while there is none.
void SetHelpFolder(const QString &folder);
QString HelpFolder();

// Opens the number's page (the index for 0 or an unknown number) through
// the shell service. With no help folder nothing happens and nothing is
// said: the start-up has already told the transcriber that help is
// missing. A page the desktop cannot open (no program for web pages) is
// named, with its full path, in a message (HelpNotOpenedText).
void OpenHelpFile(int context = 0);
// The message naming a help page that could not be opened.
QString HelpNotOpenedText(const QString &page);
// The Help menu's contents item ("Pelkar Help", "Help Contents").
void OpenHelpContents();

// The general entry box's help-context number on a column of the batch's
// grid (surname, date of birth, age at death, mother, page, spouse), or 0
// on any other column, where the box keeps the number it has.
int HelpContextForColumn(int col);

// Every "HelpContextID" (above 0) on root and the objects under it (menu
// items, widgets), each once, in the order found.
QList<int> HelpContextsIn(const QObject *root);

// What is wrong with the help for these numbers, one line each: a number
// without a page in the table, a page missing from folder, a page under
// folder that the index does not lead to (through its links). Empty when
// all is well.
QStringList HelpProblems(const QList<int> &contexts, const QString &folder);

// The pages a page links to (relative links to .html files under the same
// folder, anchors dropped), in order, each once.
QStringList HelpLinksIn(const QString &html);
