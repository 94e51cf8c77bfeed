// Jet LIKE: * (any run), ? (one character), # (one digit), [abc], [a-z],
// [!abc]; case-insensitive, accent-sensitive. The pattern is compiled once
// into tokens of case-folded code points (jet_like keeps it for the whole
// statement); the text is decoded on the fly, without allocation.

#include "data/engine/jetruntime.h"

#include <QByteArray>

namespace vinorium::jet {
namespace detail {

LikePattern::LikePattern(std::string_view pattern) {
    const auto* p = reinterpret_cast<const unsigned char*>(pattern.data());
    const unsigned char* end = p + pattern.size();
    while (p < end) {
        const unsigned char b = *p;
        Token t;
        if (b == '*') {
            ++p;
            if (!tokens_.empty() && tokens_.back().kind == Token::AnyRun) {
                continue;
            }
            t.kind = Token::AnyRun;
        } else if (b == '?') {
            ++p;
            t.kind = Token::AnyOne;
        } else if (b == '#') {
            ++p;
            t.kind = Token::Digit;
        } else if (b == '[') {
            // Find the closing bracket; without one, '[' is a literal.
            const unsigned char* q = p + 1;
            while (q < end && *q != ']') {
                ++q;
            }
            if (q == end) {
                ++p;
                t.kind = Token::Literal;
                t.c = '[';
            } else {
                const unsigned char* s = p + 1;
                p = q + 1;
                t.kind = Token::Class;
                if (s < q && *s == '!') {
                    t.negate = true;
                    ++s;
                }
                t.first = static_cast<std::uint32_t>(ranges_.size());
                while (s < q) {
                    const char32_t lo = decodeUtf8(s, q);
                    char32_t hi = lo;
                    if (s + 1 < q && *s == '-') {
                        ++s;
                        hi = decodeUtf8(s, q);
                    }
                    char32_t flo = foldCase(lo);
                    char32_t fhi = foldCase(hi);
                    if (flo > fhi) {
                        std::swap(flo, fhi);
                    }
                    ranges_.emplace_back(flo, fhi);
                    // A range over letters of both cases: also match by the
                    // unfolded bounds (e.g. [A-z] holds the punctuation between).
                    if (lo != flo || hi != fhi) {
                        ranges_.emplace_back(std::min(lo, hi), std::max(lo, hi));
                    }
                }
                t.count = static_cast<std::uint32_t>(ranges_.size()) - t.first;
                if (t.count == 0 && !t.negate) {
                    continue;  // "[]" matches the empty text: nothing to consume
                }
            }
        } else {
            t.kind = Token::Literal;
            t.c = foldCase(decodeUtf8(p, end));
        }
        tokens_.push_back(t);
    }
}

bool LikePattern::tokenMatches(const Token& t, char32_t c) const {
    switch (t.kind) {
        case Token::Literal:
            return t.c == c;
        case Token::AnyOne:
            return true;
        case Token::Digit:
            return c >= '0' && c <= '9';
        case Token::Class: {
            bool in = false;
            for (std::uint32_t i = t.first; i < t.first + t.count && !in; ++i) {
                in = c >= ranges_[i].first && c <= ranges_[i].second;
            }
            return in != t.negate;
        }
        case Token::AnyRun:
            break;
    }
    return false;
}

bool LikePattern::matches(std::string_view text) const {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    const std::size_t n = tokens_.size();
    std::size_t ti = 0;
    std::size_t starTi = n + 1;  // none yet
    const unsigned char* starP = nullptr;
    for (;;) {
        if (ti < n && tokens_[ti].kind == Token::AnyRun) {
            starTi = ++ti;
            starP = p;
            if (ti == n) {
                return true;  // a trailing '*' takes the rest
            }
            continue;
        }
        if (p == end) {
            return ti == n;
        }
        if (ti < n) {
            const unsigned char* q = p;
            char32_t c = *q;
            if (c < 0x80) {
                ++q;
                c = (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
            } else {
                c = foldCase(decodeUtf8(q, end));
            }
            if (tokenMatches(tokens_[ti], c)) {
                p = q;
                ++ti;
                continue;
            }
        }
        // Mismatch, or text left over: let the last '*' take one more character.
        if (starTi > n) {
            return false;
        }
        decodeUtf8(starP, end);
        // Skip ahead to the next possible start of what follows the '*' when
        // that is an ASCII literal: only that byte in either case can match,
        // or the lead byte of U+017F (folds to s) or U+212A (folds to k).
        const Token& next = tokens_[starTi];
        if (next.kind == Token::Literal && next.c < 0x80) {
            const auto lc = static_cast<unsigned char>(next.c);
            const auto uc = static_cast<unsigned char>((lc >= 'a' && lc <= 'z') ? lc - 0x20 : lc);
            const unsigned char other = lc == 's' ? 0xC5 : (lc == 'k' ? 0xE2 : lc);
            while (starP < end && *starP != lc && *starP != uc && *starP != other) {
                ++starP;
            }
            if (starP == end) {
                return false;
            }
        }
        p = starP;
        ti = starTi;
    }
}

}  // namespace detail

bool like(const QString& text, const QString& pattern) {
    const QByteArray t = text.toUtf8();
    const QByteArray p = pattern.toUtf8();
    const detail::LikePattern compiled(std::string_view(p.constData(), static_cast<std::size_t>(p.size())));
    return compiled.matches(std::string_view(t.constData(), static_cast<std::size_t>(t.size())));
}

}  // namespace vinorium::jet
