#pragma once

// What the settings and the open batch make of the main window's menu items:
// check marks, enabled states, visibility and the captions that change
// (the save folder, the supplementary district files). Worked out without a
// window, so the rules are tested on their own; the main window applies the
// result to its items by control name.

#include <QString>

#include <optional>
#include <vector>

class Project;

// One menu item's state; a field left unset means the item keeps what it has.
struct MenuItemState
{
    QString name;
    std::optional<bool> checked;
    std::optional<bool> enabled;
    std::optional<bool> visible;
    std::optional<QString> caption;
};

class MenuState
{
public:
    // The menu states that project's settings and batch give. Reading the
    // settings changes nothing, in project or elsewhere: in particular the
    // batch's saved state is not touched.
    static MenuState FromProject(const Project &project);

    // Every item the settings set, in menu-building order of first mention.
    const std::vector<MenuItemState> &items() const { return mItems; }
    // The item of that control name; nullptr when the settings leave it as
    // it is.
    const MenuItemState *item(const QString &name) const;

    // True when neither pick list is wanted: the pick list is then emptied
    // and its window hidden.
    bool hidePickList() const { return mHidePickList; }

    // A text shown in a menu caption as written: "&" would otherwise make
    // the next letter an access key and vanish.
    static QString literalCaption(const QString &text);

    // The control name of the supplementary district file item i (1 to 4);
    // empty for any other index.
    static QString suppItemName(int i);

private:
    MenuItemState &at(const QString &name);
    void check(const QString &name, bool on) { at(name).checked = on; }
    void enable(const QString &name, bool on) { at(name).enabled = on; }
    void show(const QString &name, bool on) { at(name).visible = on; }
    // The four items of a letter-coded case submenu (Name, Upper, Lower,
    // As Typed) from its setting; a letter other than M, U, L, D leaves them.
    void caseMarks(const QString &mode, const QString &nameCase, const QString &upper,
                   const QString &lower, const QString &asTyped);

    std::vector<MenuItemState> mItems;
    bool mHidePickList = false;
};
