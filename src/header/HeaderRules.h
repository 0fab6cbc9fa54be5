#pragma once

// The batch header form's rules that need no window: which keys each box
// takes, the year and its volume format, the page check, when the header is
// complete enough for OK, the batch-name preview and the warnings shown when
// an open batch is turned into another event type or period. The form
// (frmHeader) reads its controls into a HeaderFields and asks these.

#include "core/HeaderFields.h"

#include <QString>

#include <cstdint>

namespace HeaderRules {

inline constexpr int kFirstYear = 1837;

// Backgrounds, stored form 0x00BBGGRR. A required field is light red at all
// times (a marking, not a verdict); the focused box is light cyan.
inline constexpr std::uint32_t kLightRed = 0xC0C0FF;
inline constexpr std::uint32_t kLightCyan = 0xFFFFC0;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// OK's captions.
inline const QString kIncompleteCaption = QStringLiteral("Some details are incomplete or invalid");
inline const QString kMissingCaption = QStringLiteral("Some Values are missing");
inline const QString kContinueCaption = QStringLiteral("Continue Transcribing");
inline const QString kStartCaption = QStringLiteral("Ok - Start Transcribing");
inline const QString kSaveContinueCaption = QStringLiteral("Save and Continue Transcribing");

// Messages of the fields.
inline const QString kInvalidYear = QStringLiteral("Invalid Year");
inline const QString kPageFirstNumeric = QStringLiteral("The first character must be numeric");
inline const QString kBatchAtLeastOne = QStringLiteral("Batch number must be at least 1");
inline const QString kPre1852Warning =
    QStringLiteral("Warning - Pre 1852 the format should normally be XX or 99");
inline const QString kOnly9zMessage =
    QStringLiteral("From 1852 until 1974 the only allowable format is 9z");
inline const QString k1974Warning = QStringLiteral("In Qtr2 1974 the format changed to 99");
inline const QString kSubmitterIdMessage =
    QStringLiteral("SubmitterId can only contain the characters A to Z, a to z, 0 to 9, -_");

// The boxes' key filters.
enum class KeyField {
    Year,        // digits; control codes up to 10 pass; Enter refused
    Batch,       // digits; control codes up to 13 pass (Enter too)
    Page,        // digits, A-Z, a-z, backspace
    PageLetter,  // A-Z, a-z turned upper case, backspace
    SubmitterID, // A-Z, a-z, 0-9, "-", "_", backspace
    NoQuote,     // anything but a double quote
};

// The character code a typed key becomes in that box, or 0 when the box
// refuses it (the caller drops the key and beeps). keyAscii is the code the
// key produces (8 backspace, 13 Enter, printable characters).
int FilterKey(KeyField field, int keyAscii);

// A year the header can hold: exactly four digits (as given, spaces count)
// from 1837 to currentYear.
bool IsValidYear(const QString &text, int currentYear);

// The whole-number value of a text of digits (spaces around it allowed),
// 0 for anything else.
int YearValue(const QString &text);

// The volume format a year presets: 0 none up to 1851, 1 ("9z") from 1852 to
// 1974, 2 ("99") after.
int PresetVnf(int year);

// What choosing a volume format by hand for a year says and does.
struct VnfChoice
{
    QString message; // empty: nothing to say
    bool beep = false;
    bool backTo9z = false; // the list is set back to "9z"
};
VnfChoice CheckVnfChoice(int year, int chosenVnf);

// The page check: the message for a trimmed page whose first character is
// not a digit; empty for an accepted or empty page.
QString PageCheck(const QString &page);

// Whether every character of the upper-cased id is a letter A-Z, a digit,
// "-" or "_". An empty id passes.
bool CheckSubmitterIdChars(const QString &id);

// The credit: none, all three given, or some (which keeps OK disabled).
bool AnyCredit(const HeaderFields &f);
bool CreditPartial(const HeaderFields &f);

// The first failing step of the completeness rule (1 to 15, in the order
// the form tests them), 0 when the header is complete. fields.batchVisible
// tells whether the batch box takes part. Texts are trimmed before they
// are measured.
int FirstIncompleteStep(const HeaderFields &fields, int currentYear);
inline bool IsComplete(const HeaderFields &fields, int currentYear)
{
    return FirstIncompleteStep(fields, currentYear) == 0;
}
// OK's caption for a complete header.
inline QString CompleteCaption(bool keepGrid)
{
    return keepGrid ? kSaveContinueCaption : kStartCaption;
}

// The batch-name preview from the fields as they stand: the program's own
// style, or the sibling style when lumivark is on (noLetter leaves the page
// letter out of it).
QString PreviewBatchId(const HeaderFields &fields, bool lumivark, bool noLetter);

// The open batch as it stands in the header (before the edit): what the
// warnings compare with.
struct StoredBatch
{
    QString zelLetter; // "B", "D", "M" or ""
    int year = 0;
    bool mother = false; // the batch has the mother's-name column
    bool spouse = false; // the batch has the spouse's-name column
    int momsQtr = 3;
    int spouseQtr = 1;
    int dobQtr = 2;
};

// The warning for turning the stored batch into newType (1 Births, 2 Deaths,
// 3 Marriages); empty when there is nothing to say (or no type chosen).
QString EventTypeWarning(int newType, const StoredBatch &stored);

// The warning for moving the stored batch to newYearText with eventType
// chosen; empty when both years lie on the same side of the year the
// event's optional column begins, or no type is chosen. A year text that is
// not a number counts as 0.
QString YearRangeWarning(int eventType, const QString &newYearText, const StoredBatch &stored);

// The page a new batch starts on after one that ended on page: one more,
// left-padded with zeros to length; a longer number makes length its own
// size. Empty when page is not a whole number.
QString NextPageNumber(const QString &page, int &length);

} // namespace HeaderRules
