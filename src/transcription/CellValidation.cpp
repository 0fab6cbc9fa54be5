// The verdict on one grid cell, the surname column's row kinds, the page
// letter of the first entry, page numbers of "+PAGE" lines, the "+CREDIT"
// line and the per-row re-check behind "Find Next Warning".

#include "transcription/Transcription.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/TextHelpers.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/EntryBoxes.h"

#include <QDir>

#include <limits>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A run of digits as a page number; -1 when it does not fit 32 bits, so
// that an overlong number is never read as a smaller one.
int digitsValue(QStringView digits)
{
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    if (!ok || value > std::numeric_limits<int>::max())
        return -1;
    return int(value);
}

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}
} // namespace

QString Transcription::CellText(int row, int col) const
{
    return mGrid ? mGrid->TextMatrix(row, col) : QString();
}

void Transcription::SetCellQuietly(int row, int col, const QString &text)
{
    if (!mGrid)
        return;
    EventsOffGuard quiet;
    mGrid->setTextMatrix(row, col, text);
}

bool Transcription::ValidateBox(int col, int row)
{
    StatusBar().ShowMsg(QString(), false, false);
    bool valid = true;

    if (IsKind(col, SurnameCol())) {
        CheckSequence(row);
        if (!ValidateSurName(col, row))
            valid = false;
        Check_PageLetter(col, row, false);
    } else if (IsKind(col, AaDCol())) {
        valid = ValidateAaD(col, row);
    } else if (IsKind(col, DoBCol())) {
        // Its findings are warnings only.
        ValidateDoB(col, row);
    } else if (IsKind(col, SpouseCol())) {
        valid = ValidateSpouse(col, row);
    } else if (IsKind(col, MotherCol())) {
        valid = ValidateMother(col, row);
    } else if (IsKind(col, DistrictCol())) {
        if (Boxes().DistrictBoxVisible() && !Boxes().DistrictValidate()) {
            Boxes().FocusDistrictBox(false);
            valid = false;
        }
    } else if (IsKind(col, ForenamesCol())) {
        CheckSequence(row);
        if (Boxes().ForenameBoxVisible() && !Boxes().ForenameValidate()) {
            Boxes().FocusForenameBox(false);
            valid = false;
        }
    } else if (IsKind(col, PageCol())) {
        valid = ValidatePage(col, row);
    }

    // The district and forename boxes apply the character rules themselves.
    if (valid && !IsKind(col, DistrictCol()) && !IsKind(col, ForenamesCol()))
        valid = CheckString(CellText(row, col), row, col);

    if (gProject)
        gProject->setInvalid(!valid);
    return valid;
}

bool Transcription::ValidateSurName(int col, int row)
{
    const QString t = VbTrim(Compact(CellText(row, col)));
    SetCellQuietly(row, col, t);
    if (t.isEmpty())
        return true;
    if (!ValidateWildCards(t, row))
        return false;

    if (t.size() > 1 && t.indexOf(u'+', 1) > 0) {
        StatusBar().ShowMsg(QStringLiteral("Invalid Surname: + Must be 1st char"), true, false);
        Boxes().GiveFocusBack();
        BeepIfEnabled();
        return false;
    }

    if (t.startsWith(u'+')) {
        const QString upper = VbUCase(t);
        if (t.size() > 4 && upper.startsWith(QLatin1String("+PAGE"))) {
            int page = -1;
            QString suffix;
            PageAbove(row - 1, page, suffix);
            if (upper == QLatin1String("+PAGE,")) {
                if (page < 1) {
                    ShowMessage(QStringLiteral("Cannot use this format when there are +PAGE lines "
                                               "in your file with no page number"),
                                Mb::Exclamation, kProductName);
                    Boxes().GiveFocusBack();
                } else {
                    SetCellQuietly(row, col,
                                   QStringLiteral("+PAGE,") + QString::number(qint64(page) + 1));
                }
            }
            if (!Saver().StartofPage(row)) {
                BeepIfEnabled();
                StatusBar().ShowMsg(QStringLiteral("Incorrect Page number"), false, true);
            }
            return true;
        }

        if (t.size() > 6 && upper.startsWith(QLatin1String("+CREDIT"))) {
            QString line = t;
            if (!ValidateCredit(line, true)) {
                EventsOffGuard quiet;
                if (mGrid)
                    mGrid->setRow(row);
                return false;
            }
            SetCellQuietly(row, col, line);
            const int answer = ShowMessage(
                    QStringLiteral("The +Credit line should be entered via the Header Form.")
                            + kCrLf
                            + QStringLiteral("Would you like me to move this line to the "
                                             "correct place?"),
                    Mb::YesNo | Mb::Question, kProductName);
            if (answer == Mb::Yes && t.size() > 7 && gProject) {
                QString name;
                QString email;
                QString type;
                SplitCsvFields(line, name, email, type);
                gProject->setCreditName(name);
                gProject->setCreditEmail(email);
                gProject->setCreditType(type);
            }
            {
                EventsOffGuard quiet;
                if (mGrid)
                    mGrid->setRowCol(row, 1);
            }
            Boxes().ClearRichTextbox();
            // The line stays in the cell until it is deleted; the header
            // carries it from now on.
            return false;
        }

        if (t.size() == 1) {
            Boxes().GiveFocusBack();
            return false;
        }
        if (QStringLiteral("CBUF").contains(upper.at(1)))
            return true;
        StatusBar().ShowMsg(QStringLiteral("Invalid char after +"), true, false);
        Boxes().GiveFocusBack();
        return false;
    }

    if (t.startsWith(u'#')) {
        if (!ValidateComment(row))
            StatusBar().ShowMsg(QStringLiteral("Likely invalid #Comment or #Theory"), false, true);
        return true;
    }

    // Capitals typed by the transcriber are kept as typed.
    if (t == VbLCase(t))
        SetCellQuietly(row, col, ConvertName(t, col));
    return true;
}

void Transcription::Check_PageLetter(int col, int row, bool force)
{
    if (!gProject || !IsKind(col, SurnameCol()) || !(row == 2 || force))
        return;
    const QString cell = CellText(row, col);
    const QString letter = VbUCase(cell.left(1));
    if (letter.isEmpty())
        return;

    const QString pageLetter = gProject->PageLetter();
    if (!pageLetter.isEmpty()) {
        if (letter == pageLetter) {
            gProject->setWrongPageletter(false);
        } else if (!gProject->WrongPageletter()) {
            if (::WildPosition(letter) == 1 || letter == u'+' || letter == u'#')
                return;
            ShowMessage(QStringLiteral("The Page Letter does not agree with the first letter of "
                                       "the first surname.")
                                + kCrLf + QStringLiteral("The first surname is ") + cell
                                + QStringLiteral(" but the Page Letter field is set to ")
                                + pageLetter + kCrLf
                                + QStringLiteral("You need to change one of them."),
                        Mb::Exclamation, kProductName);
            gProject->setWrongPageletter(true);
        }
        return;
    }

    const QChar l = letter.at(0);
    if (l < u'A' || l > u'Z')
        return;
    const QString oldName = gProject->BatchName();
    gProject->setPageLetter(letter);
    StatusBar().ShowMsg(QStringLiteral("PageLetter set to ") + letter, false, true);
    const QString newName = gProject->BuildBatchName();
    gProject->setBatchName(newName);
    StatusBar().ShowFile();

    // Another batch may already have the new name: it is never saved over
    // without the transcriber's say.
    if (newName != oldName && FileExists(QDir(gProject->SavePath()).filePath(newName))) {
        ShowMessage(QStringLiteral("This batch is now named ") + newName
                            + QStringLiteral(", but a file of that name already exists in your "
                                             "save folder.")
                            + kCrLf
                            + QStringLiteral("It has not been saved over - please check which "
                                             "batch is which before you save."),
                    Mb::Exclamation, kProductName);
        return;
    }
    // The batch is saved under its new name before anything of the old
    // name may go: a failed save keeps the old file as the only copy.
    const bool saved = Saver().SaveSilently();
    if (!saved || oldName.isEmpty() || newName == oldName)
        return;
    const int answer = ShowMessage(
            QStringLiteral("I have added a Page Letter of ") + letter
                    + QStringLiteral(" to this file and this has changed the output filename to ")
                    + newName + kCrLf + QStringLiteral("A file with the old name of ") + oldName
                    + QStringLiteral(" exists.") + kCrLf
                    + QStringLiteral("Would you like me to delete the old file?") + kCrLf
                    + QStringLiteral("You should normally answer Yes as otherwise you will have "
                                     "two files with very similar names."),
            Mb::YesNo | Mb::Question, kProductName);
    if (answer == Mb::Yes)
        DeleteFileIfExists(QDir(gProject->SavePath()).filePath(oldName));
}

void Transcription::GetLastPageNumber(int &page, QString &suffix, int startRow) const
{
    PageAbove(startRow > 0 ? startRow : gCurrentRow - 1, page, suffix);
}

void Transcription::PageAbove(int fromRow, int &page, QString &suffix) const
{
    page = -1;
    suffix.clear();
    if (!mGrid)
        return;
    for (int r = fromRow; r >= 1; --r) {
        const QString &line = mGrid->textRef(r, 1);
        // Without a copy of every row's text: the save asks this for every
        // page line.
        if (!VbUCaseStartsWith(line, QLatin1String("+PAGE")))
            continue;
        if (line.size() >= 7) {
            const QString x = VbTrim(line.mid(6));
            if (allDigits(x))
                page = digitsValue(x);
            else
                SplitPageNumber(x, page, suffix);
        }
        return;
    }
}

void Transcription::SplitPageNumber(const QString &text, int &page, QString &suffix)
{
    page = -1;
    suffix.clear();
    const QString t = VbTrim(text);
    if (t.isEmpty())
        return;
    qsizetype p = 0;
    while (p < t.size() && isAsciiDigit(t.at(p)))
        ++p;
    if (p == 0) {
        suffix = t;
        return;
    }
    const int value = digitsValue(QStringView(t).left(p));
    if (value < 0) {
        suffix = t;
        return;
    }
    page = value;
    suffix = t.mid(p);
}

Transcription::RowFinding Transcription::CheckRow(int row, int &startCol)
{
    RowFinding finding;
    const int entryCol = startCol;
    if (startCol > gLastCol)
        return finding;
    const bool ignoreEmptyAge = gProject && gProject->bDeath() && gProject->IgnoreAaD();

    for (int c = startCol; c <= gLastCol; ++c) {
        const QString text = VbTrim(CellText(row, c));

        if (text.isEmpty() && !(ignoreEmptyAge && IsKind(c, AaDCol()))) {
            finding.col = c;
            startCol = c + 1;
            return finding;
        }

        if (!CheckQM(text, true, row, c)) {
            finding.questionMark = true;
            finding.col = c;
            startCol = entryCol + 1;
            return finding;
        }

        if (IsKind(c, DistrictCol())) {
            if (text.contains(QLatin1String("(*)"))) {
                finding.text = QStringLiteral("Error: (*) not allowed in District.");
                finding.col = c;
                startCol = entryCol + 1;
                return finding;
            }
            QString message;
            if (!text.isEmpty() && gDistricts
                && !gDistricts->ValidateDistrict(text, true, !IsDistrictValidated(row),
                                                 &message)) {
                finding.text = message;
                finding.col = c;
                startCol = entryCol + 1;
                return finding;
            }
        }

        if (c == 1 && !text.startsWith(u'#') && !text.startsWith(u'+') && !InSequence(row)) {
            finding.sequence = true;
            finding.col = 1;
            startCol = 2;
            return finding;
        }
    }
    startCol = entryCol + 1;
    return finding;
}

bool Transcription::ValidateCredit(QString &line, bool showMessages)
{
    if (line.contains(u'"')) {
        if (showMessages)
            ShowMessage(QStringLiteral("Quotes are not allowed in Credit strings"), Mb::Critical);
        return false;
    }
    QStringList fields = line.split(u',');
    if (fields.size() == 4
        && fields.first().compare(QLatin1String("+CREDIT"), Qt::CaseInsensitive) == 0) {
        fields.first() = QStringLiteral("+CREDIT");
        line = fields.join(u',');
        return true;
    }
    if (showMessages)
        ShowMessage(QStringLiteral("+CREDIT entries must have the format:") + kCrLf
                            + QStringLiteral("+CREDIT,name,email,credit"),
                    Mb::Critical);
    return false;
}
