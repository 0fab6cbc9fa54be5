#include "entry/PickerChars.h"

#include "core/Cp1252.h"
#include "core/Project.h"
#include "entry/EntryBoxText.h"
#include "entry/RichTextBox.h"

#include <algorithm>

namespace PickerChars {

QString CellText(int cell, const Project *project)
{
    if (cell < 0 || cell >= kCharacters)
        return QString();
    const int code = kFirstCode + cell;
    if (project && !project->IsCharUsed(code))
        return QString();
    return Cp1252::decode(QByteArray(1, char(code)));
}

} // namespace PickerChars

EntryBoxesOpenBox::EntryBoxesOpenBox(RichTextBox *richText, std::function<bool()> forenameVisible,
                                     std::function<void(const QString &)> forenameSpecialChar)
    : mRichText(richText),
      mForenameVisible(std::move(forenameVisible)),
      mForenameSpecialChar(std::move(forenameSpecialChar))
{
}

bool EntryBoxesOpenBox::InsertSpecialChar(const QString &character)
{
    if (mRichText && mRichText->Visible())
        return InsertIntoRichTextBox(*mRichText, character);
    if (mForenameVisible && mForenameSpecialChar && mForenameVisible()) {
        mForenameSpecialChar(character);
        return true;
    }
    return false;
}

bool InsertIntoRichTextBox(RichTextBox &box, const QString &character)
{
    if (!box.Visible())
        return false;
    bool encodable = false;
    const QByteArray bytes = Cp1252::encode(character, &encodable);
    const bool storable = encodable && !bytes.isEmpty()
                          && std::all_of(bytes.begin(), bytes.end(), [](char byte) {
                                 return IsStorableCharacter(static_cast<unsigned char>(byte));
                             });
    if (storable) {
        // Straight into the text, past the column's key rules: the picker is
        // for the letters those rules refuse from the keyboard. The Change
        // that follows writes the cell.
        const QString text = box.Text();
        const int caret = box.SelStart();
        box.setText(text.left(caret) + character + text.mid(caret));
    }
    box.setSelStart(int(box.Text().size()));
    box.SetFocus();
    return true;
}
