#include "entry/EntryGhost.h"

#include "entry/RichTextBox.h"

#include <algorithm>

namespace EntryGhost {

int typedLength(const RichTextBox &box, int caret)
{
    const int length = int(box.Text().size());
    int end = 0;
    while (end < length && box.colorAt(end) != RichTextBox::GhostColour)
        ++end;
    return std::max(end, std::min(caret, length));
}

void makeTyped(RichTextBox &box, int n, int caret)
{
    box.setSelStart(0);
    box.setSelLength(n);
    box.setSelColor(RichTextBox::TypedColour);
    box.setSelStart(caret);
}

void append(RichTextBox &box, const QString &ghost)
{
    if (ghost.isEmpty())
        return;
    const int caret = box.SelStart();
    const int length = int(box.Text().size());
    box.setText(box.Text() + ghost);
    box.setSelStart(length);
    box.setSelLength(int(ghost.size()));
    box.setSelColor(RichTextBox::GhostColour);
    box.setSelStart(caret);
}

} // namespace EntryGhost
