#pragma once

// Wildcards and patterns in names, districts and pages.

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <vector>

// Position (from 1) of the first wildcard character ("[", "]", "*", "?",
// "_", "{", "}") of text; 0 when there is none or the text is empty.
int WildPosition(QStringView text);

// The number of occurrences of find in text, compared exactly; overlapping
// matches count ("ll" occurs twice in "lll"). 0 when find is empty.
int CountOccurance(const QString &text, const QString &find);

// How a "-" is read by the list matchers.
enum class LikeHyphen {
    // Inside a character list, a "-" between two characters is a range
    // ("[a-z]"); at the start or end of a list, and outside lists, it is an
    // ordinary character. The forename list matches so.
    Range,
    // Every "-", in the pattern and in the text, is an ordinary character
    // and there are no ranges. The district list matches so, since district
    // names hold hyphens.
    Plain,
};

// A list pattern read once and matched against many texts:
// "?" any one character, "*" any run (also none), "#" one digit 0 to 9,
// "[...]" one character of the list ("[!...]" one character not in it;
// "[]" stands for nothing), any other character itself. Letters are
// compared without regard to case, and the whole text must be consumed.
// A pattern that cannot be read (an unclosed "[", a reversed range such as
// "[Z-A]") matches nothing; it is never an error.
class LikePattern
{
public:
    explicit LikePattern(const QString &pattern, LikeHyphen hyphen = LikeHyphen::Range);

    bool isValid() const { return mValid; }
    bool matches(QStringView text) const;

    // What a text holds, for ruling out cheaply the texts a pattern cannot
    // match. Letters are read in any case, as matches() reads them.
    struct Traits
    {
        // Bits 0 to 25 the letters A to Z, 26 a digit, 27 any other
        // character; bits 28 to 31 are never set, so callers may keep flags
        // there.
        quint32 characters = 0;
        // Each pair of neighbouring characters, hashed to one of 64 bits.
        quint64 pairs = 0;
        int length = 0;
    };
    static Traits traitsOf(QStringView text);
    // False when no text with these traits can match: it lacks a literal
    // character, a pair of neighbouring literals, a digit for "#" or any
    // character of a list, or is shorter than the pattern. A test of a few
    // instructions that rules out most texts of a long list before
    // matches() reads them; true says nothing.
    bool mayMatch(const Traits &text) const
    {
        if (!mValid || text.length < mNeeds.length
            || (text.characters & mNeeds.characters) != mNeeds.characters
            || (text.pairs & mNeeds.pairs) != mNeeds.pairs)
            return false;
        for (const quint32 any : mNeedsAnyOf) {
            if ((text.characters & any) == 0)
                return false;
        }
        return true;
    }

private:
    struct Token
    {
        enum Kind { Literal, AnyOne, AnyRun, Digit, List } kind = Literal;
        char16_t ch = 0;      // Literal: the folded character
        bool negated = false; // List
        int first = 0;        // List: its ranges in mRanges
        int count = 0;
    };
    struct Range
    {
        char16_t low;
        char16_t high;
    };
    bool tokenMatches(const Token &token, char16_t folded) const;
    char16_t fold(char16_t c) const;
    static char16_t foldCase(char16_t c);
    void findNeeds();

    std::vector<Token> mTokens;
    std::vector<Range> mRanges;
    LikeHyphen mHyphen;
    bool mValid = true;
    // What mayMatch asks of a text: every bit and at least the length of
    // mNeeds, and one character of each list of mNeedsAnyOf.
    Traits mNeeds;
    std::vector<quint32> mNeedsAnyOf;
};

// One text against one pattern, as LikePattern matches. Callers that match
// many texts against the same pattern keep a LikePattern instead.
bool TextLike(const QString &text, const QString &pattern, LikeHyphen hyphen = LikeHyphen::Range);
