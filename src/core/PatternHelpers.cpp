#include "core/PatternHelpers.h"

#include <QChar>

int WildPosition(const QString &text)
{
    static const QString wild = QStringLiteral("[]*?_{}");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (wild.contains(text[i]))
            return int(i + 1);
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
}

char16_t LikePattern::fold(char16_t c) const
{
    if (c == u'-' && mHyphen == LikeHyphen::Plain)
        return u'%';
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    return QChar::toUpper(c);
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
