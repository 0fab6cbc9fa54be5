#include "core/PatternHelpers.h"

#include <QChar>

#include <algorithm>

int WildPosition(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text[i].unicode()) {
        case u'[':
        case u']':
        case u'*':
        case u'?':
        case u'_':
        case u'{':
        case u'}':
            return int(i + 1);
        default:
            break;
        }
    }
    return 0;
}

int CountOccurance(const QString &text, const QString &find)
{
    if (find.isEmpty())
        return 0;
    int count = 0;
    // Resuming one character after the start of a match lets matches overlap.
    for (qsizetype at = text.indexOf(find); at >= 0; at = text.indexOf(find, at + 1))
        ++count;
    return count;
}

LikePattern::LikePattern(const QString &pattern, LikeHyphen hyphen) : mHyphen(hyphen)
{
    const qsizetype size = pattern.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = pattern[i].unicode();
        Token token;
        switch (c) {
        case u'?':
            token.kind = Token::AnyOne;
            break;
        case u'*':
            // A run of stars is one star.
            if (!mTokens.empty() && mTokens.back().kind == Token::AnyRun)
                continue;
            token.kind = Token::AnyRun;
            break;
        case u'#':
            token.kind = Token::Digit;
            break;
        case u'[': {
            qsizetype j = i + 1;
            token.kind = Token::List;
            if (j < size && pattern[j] == u'!') {
                token.negated = true;
                ++j;
            }
            token.first = int(mRanges.size());
            bool closed = false;
            while (j < size) {
                const char16_t low = fold(pattern[j].unicode());
                if (pattern[j] == u']') {
                    closed = true;
                    break;
                }
                char16_t high = low;
                if (mHyphen == LikeHyphen::Range && j + 2 < size && pattern[j + 1] == u'-'
                    && pattern[j + 2] != u']') {
                    high = fold(pattern[j + 2].unicode());
                    if (high < low) {
                        mValid = false;
                        return;
                    }
                    j += 2;
                }
                mRanges.push_back({low, high});
                ++j;
            }
            if (!closed) {
                mValid = false;
                return;
            }
            token.count = int(mRanges.size()) - token.first;
            i = j;
            // "[]" stands for nothing, so a list just opened (and closed by
            // the filler) narrows nothing.
            if (token.count == 0 && !token.negated)
                continue;
            break;
        }
        default:
            token.kind = Token::Literal;
            token.ch = fold(c);
            break;
        }
        mTokens.push_back(token);
    }
    findNeeds();
}

char16_t LikePattern::fold(char16_t c) const
{
    if (c == u'-' && mHyphen == LikeHyphen::Plain)
        return u'%';
    return foldCase(c);
}

char16_t LikePattern::foldCase(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    return QChar::toUpper(c);
}

namespace {
constexpr quint32 kDigitBit = quint32(1) << 26;
constexpr quint32 kOtherBit = quint32(1) << 27;

quint32 characterBit(char16_t folded)
{
    if (folded >= u'A' && folded <= u'Z')
        return quint32(1) << (folded - u'A');
    return folded >= u'0' && folded <= u'9' ? kDigitBit : kOtherBit;
}

quint64 pairBit(char16_t first, char16_t second)
{
    const quint32 mixed = ((quint32(first) << 16) | second) * 0x9E3779B1u;
    return quint64(1) << (mixed >> 26);
}

// The kinds of character a folded range low..high holds.
quint32 rangeBits(char16_t low, char16_t high)
{
    quint32 bits = 0;
    for (char16_t c = std::max(low, char16_t(u'A')); c <= std::min(high, char16_t(u'Z')); ++c)
        bits |= characterBit(c);
    if (low <= u'9' && high >= u'0')
        bits |= kDigitBit;
    const bool onlyLetters = low >= u'A' && high <= u'Z';
    const bool onlyDigits = low >= u'0' && high <= u'9';
    if (!onlyLetters && !onlyDigits)
        bits |= kOtherBit;
    return bits;
}
} // namespace

void LikePattern::findNeeds()
{
    // Every token but the star takes exactly one character, so neighbouring
    // literal tokens stand for neighbouring characters of the text. Only
    // letters and digits pair: a hyphen may stand for itself or for "%".
    const auto pairs = [](const Token *token) {
        return token && token->kind == Token::Literal && characterBit(token->ch) != kOtherBit;
    };
    const Token *previous = nullptr;
    for (const Token &token : mTokens) {
        switch (token.kind) {
        case Token::Literal:
            mNeeds.characters |= characterBit(token.ch);
            if (pairs(previous) && pairs(&token))
                mNeeds.pairs |= pairBit(previous->ch, token.ch);
            break;
        case Token::Digit:
            mNeeds.characters |= kDigitBit;
            break;
        case Token::List:
            if (!token.negated) {
                quint32 any = 0;
                for (int r = token.first; r < token.first + token.count; ++r)
                    any |= rangeBits(mRanges[r].low, mRanges[r].high);
                mNeedsAnyOf.push_back(any);
            }
            break;
        case Token::AnyOne:
        case Token::AnyRun:
            break;
        }
        if (token.kind != Token::AnyRun)
            ++mNeeds.length;
        previous = &token;
    }
}

LikePattern::Traits LikePattern::traitsOf(QStringView text)
{
    Traits traits;
    traits.length = int(text.size());
    char16_t previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t folded = foldCase(text[i].unicode());
        traits.characters |= characterBit(folded);
        if (i > 0)
            traits.pairs |= pairBit(previous, folded);
        previous = folded;
    }
    return traits;
}

bool LikePattern::tokenMatches(const Token &token, char16_t folded) const
{
    switch (token.kind) {
    case Token::Literal:
        return token.ch == folded;
    case Token::AnyOne:
        return true;
    case Token::Digit:
        return folded >= u'0' && folded <= u'9';
    case Token::List: {
        bool inList = false;
        for (int r = token.first; r < token.first + token.count; ++r) {
            if (folded >= mRanges[r].low && folded <= mRanges[r].high) {
                inList = true;
                break;
            }
        }
        return inList != token.negated;
    }
    case Token::AnyRun:
        break;
    }
    return false;
}

bool LikePattern::matches(QStringView text) const
{
    if (!mValid)
        return false;
    // Every token but the star takes exactly one character, so going back
    // to the last star is enough: no earlier star needs to be revisited.
    const auto tokens = qsizetype(mTokens.size());
    const qsizetype size = text.size();
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starToken = -1;
    qsizetype starText = 0;
    while (t < size) {
        if (p < tokens && mTokens[p].kind == Token::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens && tokenMatches(mTokens[p], fold(text[t].unicode()))) {
            ++p;
            ++t;
        } else if (starToken >= 0) {
            p = starToken + 1;
            t = ++starText;
            // A literal after the star can only begin at its own character.
            if (p < tokens && mTokens[p].kind == Token::Literal) {
                while (t < size && fold(text[t].unicode()) != mTokens[p].ch)
                    ++t;
                starText = t;
            }
        } else {
            return false;
        }
    }
    while (p < tokens && mTokens[p].kind == Token::AnyRun)
        ++p;
    return p == tokens;
}

bool TextLike(const QString &text, const QString &pattern, LikeHyphen hyphen)
{
    return LikePattern(pattern, hyphen).matches(text);
}
