// Numbers: numeric text, VBA's Val, and the shortest text of a number.
// Locale-independent (std::from_chars / std::to_chars): a Qt application sets
// the C locale from the environment, so strtod and printf may expect a comma.

#include "data/engine/jetruntime.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vinorium::jet {
namespace detail {
namespace {

constexpr double kExactLimit = 9007199254740992.0;  // 2^53

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Parses [digits][.digits][e[sign]digits] already cleaned into buf (ASCII, '.' as
// the separator) with std::from_chars.
bool toDouble(const char* buf, std::size_t n, double& out) {
    const auto r = std::from_chars(buf, buf + n, out, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow gives 0; overflow is not a number Jet can hold either.
        return false;
    }
    return r.ec == std::errc() && r.ptr == buf + n;
}

}  // namespace

bool parseNumericText(std::string_view t, Number& out) {
    std::size_t i = 0;
    const std::size_t n = t.size();
    while (i < n && isBlank(t[i])) {
        ++i;
    }
    std::size_t e = n;
    while (e > i && isBlank(t[e - 1])) {
        --e;
    }
    if (i == e) {
        return false;
    }
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') {
        negative = t[i] == '-';
        ++i;
        while (i < e && isBlank(t[i])) {
            ++i;
        }
    }
    // Fast path: plain integer.
    std::uint64_t acc = 0;
    std::size_t j = i;
    bool overflow = false;
    while (j < e && t[j] >= '0' && t[j] <= '9') {
        const unsigned d = static_cast<unsigned>(t[j] - '0');
        if (acc > (UINT64_MAX - d) / 10) {
            overflow = true;
        } else {
            acc = acc * 10 + d;
        }
        ++j;
    }
    const std::size_t intDigits = j - i;
    if (j == e && intDigits > 0 && !overflow) {
        if (!negative && acc <= static_cast<std::uint64_t>(INT64_MAX)) {
            out.isInt = true;
            out.i = static_cast<std::int64_t>(acc);
            out.d = static_cast<double>(out.i);
            return true;
        }
        if (negative && acc <= static_cast<std::uint64_t>(INT64_MAX) + 1) {
            out.isInt = true;
            out.i = acc == static_cast<std::uint64_t>(INT64_MAX) + 1 ? INT64_MIN
                                                                     : -static_cast<std::int64_t>(acc);
            out.d = static_cast<double>(out.i);
            return true;
        }
    }
    // General: digits [sep digits] [exponent].
    char small[64];
    std::string big;
    char* buf = small;
    const std::size_t len = e - i;
    if (len + 1 > sizeof small) {
        big.resize(len + 1);
        buf = big.data();
    }
    std::size_t k = 0;
    std::size_t digitsSeen = intDigits;
    std::memcpy(buf, t.data() + i, intDigits);
    k = intDigits;
    if (j < e && (t[j] == ',' || t[j] == '.')) {
        buf[k++] = '.';
        ++j;
        while (j < e && t[j] >= '0' && t[j] <= '9') {
            buf[k++] = t[j++];
            ++digitsSeen;
        }
    }
    if (digitsSeen == 0) {
        return false;
    }
    if (j < e && (t[j] == 'e' || t[j] == 'E')) {
        buf[k++] = 'e';
        ++j;
        if (j < e && (t[j] == '+' || t[j] == '-')) {
            buf[k++] = t[j++];
        }
        std::size_t expDigits = 0;
        while (j < e && t[j] >= '0' && t[j] <= '9') {
            buf[k++] = t[j++];
            ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    if (j != e) {
        return false;
    }
    double v = 0.0;
    if (!toDouble(buf, k, v)) {
        return false;
    }
    if (negative) {
        v = -v;
    }
    if (v == std::trunc(v) && std::fabs(v) <= kExactLimit) {
        out.isInt = true;
        out.i = static_cast<std::int64_t>(v);
        out.d = static_cast<double>(out.i);
    } else {
        out.isInt = false;
        out.d = v;
    }
    return true;
}

double parseVal(std::string_view t) {
    // VBA Val: blanks (space, tab, line feed) are skipped anywhere; a sign,
    // digits, one point, an exponent E or D; &H / &O prefixes; stops at the
    // first other character.
    char small[128];
    std::size_t k = 0;
    std::size_t i = 0;
    const std::size_t n = t.size();
    auto skip = [&]() {
        while (i < n && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\r')) {
            ++i;
        }
    };
    skip();
    if (i + 1 < n && t[i] == '&') {
        const char kind = static_cast<char>(t[i + 1] | 0x20);
        int base = 0;
        std::size_t j = i + 1;
        if (kind == 'h') {
            base = 16;
            ++j;
        } else if (kind == 'o') {
            base = 8;
            ++j;
        } else if (t[i + 1] >= '0' && t[i + 1] <= '7') {
            base = 8;
        }
        if (base != 0) {
            std::uint64_t v = 0;
            int nd = 0;
            for (; j < n; ++j) {
                const char c = t[j];
                int d = -1;
                if (c >= '0' && c <= '9') {
                    d = c - '0';
                } else if (base == 16 && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
                    d = (c | 0x20) - 'a' + 10;
                }
                if (d < 0 || d >= base) {
                    break;
                }
                v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
                if (++nd > 16) {
                    break;
                }
            }
            // As VBA: up to 16 bits read as an Integer, up to 32 as a Long (two's complement).
            if (v <= 0xFFFF && v > 0x7FFF) {
                return static_cast<double>(static_cast<std::int64_t>(v) - 0x10000);
            }
            if (v <= 0xFFFFFFFFULL && v > 0x7FFFFFFFULL) {
                return static_cast<double>(static_cast<std::int64_t>(v) - 0x100000000LL);
            }
            return static_cast<double>(v);
        }
        return 0.0;
    }
    bool negative = false;
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    bool point = false;
    std::size_t digitsSeen = 0;
    for (;;) {
        skip();
        if (i >= n || k + 8 >= sizeof small) {
            break;
        }
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            small[k++] = c;
            ++digitsSeen;
            ++i;
        } else if (c == '.' && !point) {
            small[k++] = '.';
            point = true;
            ++i;
        } else {
            break;
        }
    }
    if (digitsSeen == 0) {
        return 0.0;
    }
    // Exponent: E or D, optional sign, digits (blanks skipped).
    if (i < n && ((t[i] | 0x20) == 'e' || (t[i] | 0x20) == 'd')) {
        std::size_t save = i;
        std::size_t saveK = k;
        ++i;
        skip();
        char expBuf[8];
        std::size_t ek = 0;
        if (i < n && (t[i] == '+' || t[i] == '-')) {
            expBuf[ek++] = t[i++];
        }
        std::size_t ed = 0;
        for (;;) {
            skip();
            if (i >= n || t[i] < '0' || t[i] > '9' || ek >= 6) {
                break;
            }
            expBuf[ek++] = t[i++];
            ++ed;
        }
        if (ed > 0) {
            small[k++] = 'e';
            std::memcpy(small + k, expBuf, ek);
            k += ek;
        } else {
            i = save;
            k = saveK;
        }
    }
    double v = 0.0;
    if (!toDouble(small, k, v)) {
        // Overflow of the exponent: VBA raises an overflow; give the largest sign.
        v = HUGE_VAL;
    }
    return negative ? -v : v;
}

std::string integerText(std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string shortestNumber(double v) {
    if (std::isnan(v)) {
        return "NaN";
    }
    if (std::isinf(v)) {
        return v > 0 ? "+Inf" : "-Inf";
    }
    if (v == std::trunc(v) && std::fabs(v) < 1e15) {
        return integerText(static_cast<std::int64_t>(v));
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string out(buf, r.ptr);
    for (char& c : out) {
        if (c == '.') {
            c = ',';
        } else if (c == 'e') {
            c = 'E';
        }
    }
    return out;
}

}  // namespace detail

std::optional<double> numericText(const QString& text) {
    const QByteArray u = text.toUtf8();
    detail::Number n;
    if (!detail::parseNumericText(std::string_view(u.constData(), static_cast<std::size_t>(u.size())), n)) {
        return std::nullopt;
    }
    return n.value();
}

double val(const QString& text) {
    const QByteArray u = text.toUtf8();
    return detail::parseVal(std::string_view(u.constData(), static_cast<std::size_t>(u.size())));
}

}  // namespace vinorium::jet
