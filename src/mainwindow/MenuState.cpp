#include "mainwindow/MenuState.h"

#include "core/Project.h"

#include <algorithm>

namespace {

const QString kNoSuppFile = QStringLiteral("None Set Yet");

} // namespace

QString MenuState::literalCaption(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&&"));
    return escaped;
}

QString MenuState::suppItemName(int i)
{
    static const char *const names[] = {"mnuSuppPre1946Item", "mnuSupp1946Item",
                                        "mnuSupp1965OnItem", "mnuSupp1974OnItem"};
    return i >= 1 && i <= 4 ? QString::fromLatin1(names[i - 1]) : QString();
}

const MenuItemState *MenuState::item(const QString &name) const
{
    const auto found = std::find_if(mItems.begin(), mItems.end(),
                                    [&name](const MenuItemState &s) { return s.name == name; });
    return found == mItems.end() ? nullptr : &*found;
}

MenuItemState &MenuState::at(const QString &name)
{
    const auto found = std::find_if(mItems.begin(), mItems.end(),
                                    [&name](const MenuItemState &s) { return s.name == name; });
    if (found != mItems.end())
        return *found;
    mItems.push_back(MenuItemState{name, {}, {}, {}, {}});
    return mItems.back();
}

void MenuState::caseMarks(const QString &mode, const QString &nameCase, const QString &upper,
                          const QString &lower, const QString &asTyped)
{
    if (mode == QLatin1String("M")) {
        check(upper, false);
        check(lower, false);
        check(asTyped, false);
        check(nameCase, true);
    } else if (mode == QLatin1String("U") || mode == QLatin1String("L")
               || mode == QLatin1String("D")) {
        check(upper, mode == QLatin1String("U"));
        check(lower, mode == QLatin1String("L"));
        check(asTyped, mode == QLatin1String("D"));
        check(nameCase, false);
    }
}

MenuState MenuState::FromProject(const Project &p)
{
    MenuState s;

    // District pick list: which kind, and whether it is wanted at all.
    s.check(QStringLiteral("mnuStdDistPicklist"), p.DistPickStd());
    s.check(QStringLiteral("mnuMRUDistPicklist"), !p.DistPickStd());
    s.enable(QStringLiteral("mnuChangePickRows"), true);
    s.check(QStringLiteral("mnuDistrictPicklist"), p.DistPick());
    for (const char *kind : {"mnuStdDistPicklist", "mnuMRUDistPicklist", "mnuDistSep"})
        s.show(QString::fromLatin1(kind), p.DistPick());
    if (!p.ForePick() && !p.DistPick()) {
        s.mHidePickList = true;
        s.enable(QStringLiteral("mnuChangePickRows"), false);
    }

    // Age at death exists only in a deaths batch.
    s.show(QStringLiteral("mnuAaDIgnore"), p.bDeath());
    if (p.bDeath())
        s.check(QStringLiteral("mnuAaDIgnore"), p.IgnoreAaD());
    s.enable(QStringLiteral("mnuDoB"), p.DoB());

    // Row numbering: a stored style the program does not know leaves all
    // three unchecked.
    const QString numbering = p.RowNumbering();
    s.check(QStringLiteral("mnuNumberPelkar"), numbering == QLatin1String("P"));
    s.check(QStringLiteral("mnuNumberQuorvel"), numbering == QLatin1String("Q"));
    s.check(QStringLiteral("mnuNumberData"), numbering == QLatin1String("D"));

    // Formatting: the columns a batch does not have cannot be formatted.
    s.caseMarks(p.MotherNameCase(), QStringLiteral("mnuNameCaseMother"),
                QStringLiteral("mnuUpCaseMother"), QStringLiteral("mnuLowCaseMother"),
                QStringLiteral("mnuLeaveCaseMother"));
    s.enable(QStringLiteral("mnuMother"), p.Mother());
    s.caseMarks(p.SpouseNameCase(), QStringLiteral("mnuNameCaseSpouse"),
                QStringLiteral("mnuUpCaseSpouse"), QStringLiteral("mnuLowCaseSpouse"),
                QStringLiteral("mnuLeaveCaseSpouse"));
    s.enable(QStringLiteral("mnuSpouse"), p.Spouse());
    s.check(QStringLiteral("mnuUpCaseDistricts"), p.DistrictUpper());
    s.check(QStringLiteral("mnuLowCaseDistricts"), p.DistrictLower());
    s.check(QStringLiteral("mnuLeaveCaseDistricts"), p.DistrictLeave());
    s.check(QStringLiteral("mnuNameCaseDistrict"), p.DistrictName());
    s.check(QStringLiteral("mnuUppercaseDoB"), p.DoBUpper());
    s.check(QStringLiteral("mnuLowercaseDoB"), p.DoBLower());
    s.check(QStringLiteral("mnuLeavecaseDoB"), p.DoBLeave());
    s.caseMarks(p.ForenameCase(), QStringLiteral("mnuNameCaseForename"),
                QStringLiteral("mnuUpCaseForename"), QStringLiteral("mnuLowcaseForename"),
                QStringLiteral("mnuLeaveCaseForename"));
    s.caseMarks(p.SurnameCase(), QStringLiteral("mnuNameCaseSurnames"),
                QStringLiteral("mnuUpCaseSurnames"), QStringLiteral("mnuLowCaseSurnames"),
                QStringLiteral("mnuLeaveCaseSurnames"));

    // The plain options.
    const std::pair<const char *, bool> toggles[] = {
        {"mnuHidePassword", p.HidePassword()},
        {"mnuBeep", p.Beepit()},
        {"mnuDontReformatPaste", p.DontformatPaste()},
        {"mnuDontReformatPicklist", p.DontformatPick()},
        {"mnuIgnoreEnter", p.IgnoreEnter()},
        {"mnu1letterwarn", p.SingleLetterWarning()},
        {"mnuChangeWarning", p.ChangeWarning()},
        {"mnuDropDownPicklist", p.DropDownPick()},
        {"mnuOsDrop", p.OversizedDrop()},
        {"mnuAutoComplete", p.bForeGhost()},
        {"mnuDistAuto", p.bDistGhost()},
        {"mnuWarnNewForename", p.ForenameWarning()},
        {"mnuForenamePicklist", p.ForePick()},
        {"mnuOversizeBoxes", p.OverSize()},
        {"mnuKeepPickVisible", p.KeepPickListVisible()},
        {"mnuSkipSurname", p.Skip()},
        {"mnuMovePicklist", p.MovePick()},
        {"mnuShowCopyPaste", p.CopyPaste()},
        {"mnuIgnoreOdd", p.IgnoreOdd()},
        {"mnuAutotab", p.AutoTab()},
        {"mnuColWidths", p.RestoreColWidth()},
        {"mnuVertical", p.VerticalTab()},
        {"mnuShowStripes", p.Stripes()},
        {"mnuPeriodSpace", p.PeriodSpace()},
        {"mnuShowFullPath", p.ShowFullPath()},
    };
    for (const auto &[name, on] : toggles)
        s.check(QString::fromLatin1(name), on);

    // File naming: "no page letter" only means something under the sibling
    // naming; otherwise it is off and unchecked, its setting kept.
    s.check(QStringLiteral("mnuLumivarkNaming"), p.bLumivark());
    s.enable(QStringLiteral("mnuNoLumivarkLetter"), p.bLumivark());
    s.check(QStringLiteral("mnuNoLumivarkLetter"), p.bLumivark() && p.bLumivarkNoLetter());

    const QString savePath = p.SavePath();
    if (!savePath.isEmpty())
        s.at(QStringLiteral("mnuDefPath")).caption =
            QStringLiteral("&Define Save Path (") + literalCaption(savePath) + QStringLiteral(")");

    for (int i = 1; i <= 4; ++i) {
        const QString path = p.SuppPath(i);
        s.at(suppItemName(i)).caption =
            path.isEmpty() ? kNoSuppFile
                           : literalCaption(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
    }
    return s;
}
