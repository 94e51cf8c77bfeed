// The JET collation: case-insensitive, French alphabetical order, accent-
// sensitive equality. Called for every comparison of a sort, so: an ASCII
// fast path byte by byte, UTF-8 decoded only when a byte >= 0x80 is met, a
// static table for U+0080..U+017F, no allocation, no general collator.
//
// Each character becomes one or two units (primary weight, secondary weight):
// primary = the base letter, case and accents removed; secondary = the accent
// (0 for none). Texts compare by their primary weights, and only when those
// are all equal by the first differing secondary weight: a lexicographic
// order on the key (primaries, secondaries), hence a total preorder whose
// equivalence is "same text once case-folded". One pass gives both: while the
// primaries agree, the first secondary difference is remembered.

#include "data/engine/jetruntime.h"

#include <QByteArray>
#include <QChar>

#include <sqlite3.h>

namespace vinorium::jet {
namespace detail {
namespace {

// Primary weights. Non-letters of ASCII keep their byte value (blanks,
// punctuation and digits sort before letters, in ASCII order); Latin-1
// symbols follow (0x200 + code point); letters are 0x1000 + 0 ('a') .. 25
// ('z'), 26 (thorn); code points beyond the table 0x10000 + folded code
// point; invalid bytes after all that.
constexpr std::uint32_t kLetter = 0x1000;
constexpr std::uint32_t kBeyond = 0x10000;

struct AsciiTable {
    std::uint16_t w[128];
    char32_t fold[128];
    constexpr AsciiTable() : w(), fold() {
        for (int i = 0; i < 128; ++i) {
            w[i] = static_cast<std::uint16_t>(i);
            fold[i] = static_cast<char32_t>(i);
        }
        for (int i = 'a'; i <= 'z'; ++i) {
            w[i] = static_cast<std::uint16_t>(kLetter + (i - 'a'));
            w[i - 'a' + 'A'] = w[i];
            fold[i - 'a' + 'A'] = static_cast<char32_t>(i);
        }
    }
};
constexpr AsciiTable kAscii;

// U+0080..U+017F: case-folded code point, primary weight, second primary
// weight (ligatures: œ = o e), secondary weight. Secondary weights: 1 acute,
// 2 grave, 3 circumflex, 4 diaeresis, 5 cedilla, 6 tilde, 7 ring, 8 macron,
// 9 breve, 10 dot above, 11 double acute, 12 caron, 13 ogonek, 20 stroke,
// 21 ligature (on both units), 22 variant letter (ð, ŋ, ĸ), 23 dotless i,
// 24 middle dot, 25 apostrophe (ŉ), 26 ordinal indicator, 30 no-break space
// (a blank). Generated from the Unicode character database (canonical
// decompositions), then checked by the tests for "equal iff same folded text".
struct LatinEntry {
    std::uint16_t fold;
    std::uint16_t p1;
    std::uint16_t p2;
    std::uint8_t sec;
};
constexpr LatinEntry kLatin[256] = {
    {0x0080, 0x0280, 0x0000, 0},   // U+0080 <control>
    {0x0081, 0x0281, 0x0000, 0},   // U+0081 <control>
    {0x0082, 0x0282, 0x0000, 0},   // U+0082 <control>
    {0x0083, 0x0283, 0x0000, 0},   // U+0083 <control>
    {0x0084, 0x0284, 0x0000, 0},   // U+0084 <control>
    {0x0085, 0x0285, 0x0000, 0},   // U+0085 <control>
    {0x0086, 0x0286, 0x0000, 0},   // U+0086 <control>
    {0x0087, 0x0287, 0x0000, 0},   // U+0087 <control>
    {0x0088, 0x0288, 0x0000, 0},   // U+0088 <control>
    {0x0089, 0x0289, 0x0000, 0},   // U+0089 <control>
    {0x008A, 0x028A, 0x0000, 0},   // U+008A <control>
    {0x008B, 0x028B, 0x0000, 0},   // U+008B <control>
    {0x008C, 0x028C, 0x0000, 0},   // U+008C <control>
    {0x008D, 0x028D, 0x0000, 0},   // U+008D <control>
    {0x008E, 0x028E, 0x0000, 0},   // U+008E <control>
    {0x008F, 0x028F, 0x0000, 0},   // U+008F <control>
    {0x0090, 0x0290, 0x0000, 0},   // U+0090 <control>
    {0x0091, 0x0291, 0x0000, 0},   // U+0091 <control>
    {0x0092, 0x0292, 0x0000, 0},   // U+0092 <control>
    {0x0093, 0x0293, 0x0000, 0},   // U+0093 <control>
    {0x0094, 0x0294, 0x0000, 0},   // U+0094 <control>
    {0x0095, 0x0295, 0x0000, 0},   // U+0095 <control>
    {0x0096, 0x0296, 0x0000, 0},   // U+0096 <control>
    {0x0097, 0x0297, 0x0000, 0},   // U+0097 <control>
    {0x0098, 0x0298, 0x0000, 0},   // U+0098 <control>
    {0x0099, 0x0299, 0x0000, 0},   // U+0099 <control>
    {0x009A, 0x029A, 0x0000, 0},   // U+009A <control>
    {0x009B, 0x029B, 0x0000, 0},   // U+009B <control>
    {0x009C, 0x029C, 0x0000, 0},   // U+009C <control>
    {0x009D, 0x029D, 0x0000, 0},   // U+009D <control>
    {0x009E, 0x029E, 0x0000, 0},   // U+009E <control>
    {0x009F, 0x029F, 0x0000, 0},   // U+009F <control>
    {0x00A0, 0x0020, 0x0000, 30},  // U+00A0 NO-BREAK SPACE
    {0x00A1, 0x02A1, 0x0000, 0},   // U+00A1 INVERTED EXCLAMATION MARK
    {0x00A2, 0x02A2, 0x0000, 0},   // U+00A2 CENT SIGN
    {0x00A3, 0x02A3, 0x0000, 0},   // U+00A3 POUND SIGN
    {0x00A4, 0x02A4, 0x0000, 0},   // U+00A4 CURRENCY SIGN
    {0x00A5, 0x02A5, 0x0000, 0},   // U+00A5 YEN SIGN
    {0x00A6, 0x02A6, 0x0000, 0},   // U+00A6 BROKEN BAR
    {0x00A7, 0x02A7, 0x0000, 0},   // U+00A7 SECTION SIGN
    {0x00A8, 0x02A8, 0x0000, 0},   // U+00A8 DIAERESIS
    {0x00A9, 0x02A9, 0x0000, 0},   // U+00A9 COPYRIGHT SIGN
    {0x00AA, 0x1000, 0x0000, 26},  // U+00AA FEMININE ORDINAL INDICATOR
    {0x00AB, 0x02AB, 0x0000, 0},   // U+00AB LEFT-POINTING DOUBLE ANGLE QUOTATION MARK
    {0x00AC, 0x02AC, 0x0000, 0},   // U+00AC NOT SIGN
    {0x00AD, 0x02AD, 0x0000, 0},   // U+00AD SOFT HYPHEN
    {0x00AE, 0x02AE, 0x0000, 0},   // U+00AE REGISTERED SIGN
    {0x00AF, 0x02AF, 0x0000, 0},   // U+00AF MACRON
    {0x00B0, 0x02B0, 0x0000, 0},   // U+00B0 DEGREE SIGN
    {0x00B1, 0x02B1, 0x0000, 0},   // U+00B1 PLUS-MINUS SIGN
    {0x00B2, 0x02B2, 0x0000, 0},   // U+00B2 SUPERSCRIPT TWO
    {0x00B3, 0x02B3, 0x0000, 0},   // U+00B3 SUPERSCRIPT THREE
    {0x00B4, 0x02B4, 0x0000, 0},   // U+00B4 ACUTE ACCENT
    {0x03BC, 0x02B5, 0x0000, 0},   // U+00B5 MICRO SIGN
    {0x00B6, 0x02B6, 0x0000, 0},   // U+00B6 PILCROW SIGN
    {0x00B7, 0x02B7, 0x0000, 0},   // U+00B7 MIDDLE DOT
    {0x00B8, 0x02B8, 0x0000, 0},   // U+00B8 CEDILLA
    {0x00B9, 0x02B9, 0x0000, 0},   // U+00B9 SUPERSCRIPT ONE
    {0x00BA, 0x100E, 0x0000, 26},  // U+00BA MASCULINE ORDINAL INDICATOR
    {0x00BB, 0x02BB, 0x0000, 0},   // U+00BB RIGHT-POINTING DOUBLE ANGLE QUOTATION MARK
    {0x00BC, 0x02BC, 0x0000, 0},   // U+00BC VULGAR FRACTION ONE QUARTER
    {0x00BD, 0x02BD, 0x0000, 0},   // U+00BD VULGAR FRACTION ONE HALF
    {0x00BE, 0x02BE, 0x0000, 0},   // U+00BE VULGAR FRACTION THREE QUARTERS
    {0x00BF, 0x02BF, 0x0000, 0},   // U+00BF INVERTED QUESTION MARK
    {0x00E0, 0x1000, 0x0000, 2},   // U+00C0 LATIN CAPITAL LETTER A WITH GRAVE
    {0x00E1, 0x1000, 0x0000, 1},   // U+00C1 LATIN CAPITAL LETTER A WITH ACUTE
    {0x00E2, 0x1000, 0x0000, 3},   // U+00C2 LATIN CAPITAL LETTER A WITH CIRCUMFLEX
    {0x00E3, 0x1000, 0x0000, 6},   // U+00C3 LATIN CAPITAL LETTER A WITH TILDE
    {0x00E4, 0x1000, 0x0000, 4},   // U+00C4 LATIN CAPITAL LETTER A WITH DIAERESIS
    {0x00E5, 0x1000, 0x0000, 7},   // U+00C5 LATIN CAPITAL LETTER A WITH RING ABOVE
    {0x00E6, 0x1000, 0x1004, 21},  // U+00C6 LATIN CAPITAL LETTER AE
    {0x00E7, 0x1002, 0x0000, 5},   // U+00C7 LATIN CAPITAL LETTER C WITH CEDILLA
    {0x00E8, 0x1004, 0x0000, 2},   // U+00C8 LATIN CAPITAL LETTER E WITH GRAVE
    {0x00E9, 0x1004, 0x0000, 1},   // U+00C9 LATIN CAPITAL LETTER E WITH ACUTE
    {0x00EA, 0x1004, 0x0000, 3},   // U+00CA LATIN CAPITAL LETTER E WITH CIRCUMFLEX
    {0x00EB, 0x1004, 0x0000, 4},   // U+00CB LATIN CAPITAL LETTER E WITH DIAERESIS
    {0x00EC, 0x1008, 0x0000, 2},   // U+00CC LATIN CAPITAL LETTER I WITH GRAVE
    {0x00ED, 0x1008, 0x0000, 1},   // U+00CD LATIN CAPITAL LETTER I WITH ACUTE
    {0x00EE, 0x1008, 0x0000, 3},   // U+00CE LATIN CAPITAL LETTER I WITH CIRCUMFLEX
    {0x00EF, 0x1008, 0x0000, 4},   // U+00CF LATIN CAPITAL LETTER I WITH DIAERESIS
    {0x00F0, 0x1003, 0x0000, 22},  // U+00D0 LATIN CAPITAL LETTER ETH
    {0x00F1, 0x100D, 0x0000, 6},   // U+00D1 LATIN CAPITAL LETTER N WITH TILDE
    {0x00F2, 0x100E, 0x0000, 2},   // U+00D2 LATIN CAPITAL LETTER O WITH GRAVE
    {0x00F3, 0x100E, 0x0000, 1},   // U+00D3 LATIN CAPITAL LETTER O WITH ACUTE
    {0x00F4, 0x100E, 0x0000, 3},   // U+00D4 LATIN CAPITAL LETTER O WITH CIRCUMFLEX
    {0x00F5, 0x100E, 0x0000, 6},   // U+00D5 LATIN CAPITAL LETTER O WITH TILDE
    {0x00F6, 0x100E, 0x0000, 4},   // U+00D6 LATIN CAPITAL LETTER O WITH DIAERESIS
    {0x00D7, 0x02D7, 0x0000, 0},   // U+00D7 MULTIPLICATION SIGN
    {0x00F8, 0x100E, 0x0000, 20},  // U+00D8 LATIN CAPITAL LETTER O WITH STROKE
    {0x00F9, 0x1014, 0x0000, 2},   // U+00D9 LATIN CAPITAL LETTER U WITH GRAVE
    {0x00FA, 0x1014, 0x0000, 1},   // U+00DA LATIN CAPITAL LETTER U WITH ACUTE
    {0x00FB, 0x1014, 0x0000, 3},   // U+00DB LATIN CAPITAL LETTER U WITH CIRCUMFLEX
    {0x00FC, 0x1014, 0x0000, 4},   // U+00DC LATIN CAPITAL LETTER U WITH DIAERESIS
    {0x00FD, 0x1018, 0x0000, 1},   // U+00DD LATIN CAPITAL LETTER Y WITH ACUTE
    {0x00FE, 0x101A, 0x0000, 0},   // U+00DE LATIN CAPITAL LETTER THORN
    {0x00DF, 0x1012, 0x1012, 21},  // U+00DF LATIN SMALL LETTER SHARP S
    {0x00E0, 0x1000, 0x0000, 2},   // U+00E0 LATIN SMALL LETTER A WITH GRAVE
    {0x00E1, 0x1000, 0x0000, 1},   // U+00E1 LATIN SMALL LETTER A WITH ACUTE
    {0x00E2, 0x1000, 0x0000, 3},   // U+00E2 LATIN SMALL LETTER A WITH CIRCUMFLEX
    {0x00E3, 0x1000, 0x0000, 6},   // U+00E3 LATIN SMALL LETTER A WITH TILDE
    {0x00E4, 0x1000, 0x0000, 4},   // U+00E4 LATIN SMALL LETTER A WITH DIAERESIS
    {0x00E5, 0x1000, 0x0000, 7},   // U+00E5 LATIN SMALL LETTER A WITH RING ABOVE
    {0x00E6, 0x1000, 0x1004, 21},  // U+00E6 LATIN SMALL LETTER AE
    {0x00E7, 0x1002, 0x0000, 5},   // U+00E7 LATIN SMALL LETTER C WITH CEDILLA
    {0x00E8, 0x1004, 0x0000, 2},   // U+00E8 LATIN SMALL LETTER E WITH GRAVE
    {0x00E9, 0x1004, 0x0000, 1},   // U+00E9 LATIN SMALL LETTER E WITH ACUTE
    {0x00EA, 0x1004, 0x0000, 3},   // U+00EA LATIN SMALL LETTER E WITH CIRCUMFLEX
    {0x00EB, 0x1004, 0x0000, 4},   // U+00EB LATIN SMALL LETTER E WITH DIAERESIS
    {0x00EC, 0x1008, 0x0000, 2},   // U+00EC LATIN SMALL LETTER I WITH GRAVE
    {0x00ED, 0x1008, 0x0000, 1},   // U+00ED LATIN SMALL LETTER I WITH ACUTE
    {0x00EE, 0x1008, 0x0000, 3},   // U+00EE LATIN SMALL LETTER I WITH CIRCUMFLEX
    {0x00EF, 0x1008, 0x0000, 4},   // U+00EF LATIN SMALL LETTER I WITH DIAERESIS
    {0x00F0, 0x1003, 0x0000, 22},  // U+00F0 LATIN SMALL LETTER ETH
    {0x00F1, 0x100D, 0x0000, 6},   // U+00F1 LATIN SMALL LETTER N WITH TILDE
    {0x00F2, 0x100E, 0x0000, 2},   // U+00F2 LATIN SMALL LETTER O WITH GRAVE
    {0x00F3, 0x100E, 0x0000, 1},   // U+00F3 LATIN SMALL LETTER O WITH ACUTE
    {0x00F4, 0x100E, 0x0000, 3},   // U+00F4 LATIN SMALL LETTER O WITH CIRCUMFLEX
    {0x00F5, 0x100E, 0x0000, 6},   // U+00F5 LATIN SMALL LETTER O WITH TILDE
    {0x00F6, 0x100E, 0x0000, 4},   // U+00F6 LATIN SMALL LETTER O WITH DIAERESIS
    {0x00F7, 0x02F7, 0x0000, 0},   // U+00F7 DIVISION SIGN
    {0x00F8, 0x100E, 0x0000, 20},  // U+00F8 LATIN SMALL LETTER O WITH STROKE
    {0x00F9, 0x1014, 0x0000, 2},   // U+00F9 LATIN SMALL LETTER U WITH GRAVE
    {0x00FA, 0x1014, 0x0000, 1},   // U+00FA LATIN SMALL LETTER U WITH ACUTE
    {0x00FB, 0x1014, 0x0000, 3},   // U+00FB LATIN SMALL LETTER U WITH CIRCUMFLEX
    {0x00FC, 0x1014, 0x0000, 4},   // U+00FC LATIN SMALL LETTER U WITH DIAERESIS
    {0x00FD, 0x1018, 0x0000, 1},   // U+00FD LATIN SMALL LETTER Y WITH ACUTE
    {0x00FE, 0x101A, 0x0000, 0},   // U+00FE LATIN SMALL LETTER THORN
    {0x00FF, 0x1018, 0x0000, 4},   // U+00FF LATIN SMALL LETTER Y WITH DIAERESIS
    {0x0101, 0x1000, 0x0000, 8},   // U+0100 LATIN CAPITAL LETTER A WITH MACRON
    {0x0101, 0x1000, 0x0000, 8},   // U+0101 LATIN SMALL LETTER A WITH MACRON
    {0x0103, 0x1000, 0x0000, 9},   // U+0102 LATIN CAPITAL LETTER A WITH BREVE
    {0x0103, 0x1000, 0x0000, 9},   // U+0103 LATIN SMALL LETTER A WITH BREVE
    {0x0105, 0x1000, 0x0000, 13},  // U+0104 LATIN CAPITAL LETTER A WITH OGONEK
    {0x0105, 0x1000, 0x0000, 13},  // U+0105 LATIN SMALL LETTER A WITH OGONEK
    {0x0107, 0x1002, 0x0000, 1},   // U+0106 LATIN CAPITAL LETTER C WITH ACUTE
    {0x0107, 0x1002, 0x0000, 1},   // U+0107 LATIN SMALL LETTER C WITH ACUTE
    {0x0109, 0x1002, 0x0000, 3},   // U+0108 LATIN CAPITAL LETTER C WITH CIRCUMFLEX
    {0x0109, 0x1002, 0x0000, 3},   // U+0109 LATIN SMALL LETTER C WITH CIRCUMFLEX
    {0x010B, 0x1002, 0x0000, 10},  // U+010A LATIN CAPITAL LETTER C WITH DOT ABOVE
    {0x010B, 0x1002, 0x0000, 10},  // U+010B LATIN SMALL LETTER C WITH DOT ABOVE
    {0x010D, 0x1002, 0x0000, 12},  // U+010C LATIN CAPITAL LETTER C WITH CARON
    {0x010D, 0x1002, 0x0000, 12},  // U+010D LATIN SMALL LETTER C WITH CARON
    {0x010F, 0x1003, 0x0000, 12},  // U+010E LATIN CAPITAL LETTER D WITH CARON
    {0x010F, 0x1003, 0x0000, 12},  // U+010F LATIN SMALL LETTER D WITH CARON
    {0x0111, 0x1003, 0x0000, 20},  // U+0110 LATIN CAPITAL LETTER D WITH STROKE
    {0x0111, 0x1003, 0x0000, 20},  // U+0111 LATIN SMALL LETTER D WITH STROKE
    {0x0113, 0x1004, 0x0000, 8},   // U+0112 LATIN CAPITAL LETTER E WITH MACRON
    {0x0113, 0x1004, 0x0000, 8},   // U+0113 LATIN SMALL LETTER E WITH MACRON
    {0x0115, 0x1004, 0x0000, 9},   // U+0114 LATIN CAPITAL LETTER E WITH BREVE
    {0x0115, 0x1004, 0x0000, 9},   // U+0115 LATIN SMALL LETTER E WITH BREVE
    {0x0117, 0x1004, 0x0000, 10},  // U+0116 LATIN CAPITAL LETTER E WITH DOT ABOVE
    {0x0117, 0x1004, 0x0000, 10},  // U+0117 LATIN SMALL LETTER E WITH DOT ABOVE
    {0x0119, 0x1004, 0x0000, 13},  // U+0118 LATIN CAPITAL LETTER E WITH OGONEK
    {0x0119, 0x1004, 0x0000, 13},  // U+0119 LATIN SMALL LETTER E WITH OGONEK
    {0x011B, 0x1004, 0x0000, 12},  // U+011A LATIN CAPITAL LETTER E WITH CARON
    {0x011B, 0x1004, 0x0000, 12},  // U+011B LATIN SMALL LETTER E WITH CARON
    {0x011D, 0x1006, 0x0000, 3},   // U+011C LATIN CAPITAL LETTER G WITH CIRCUMFLEX
    {0x011D, 0x1006, 0x0000, 3},   // U+011D LATIN SMALL LETTER G WITH CIRCUMFLEX
    {0x011F, 0x1006, 0x0000, 9},   // U+011E LATIN CAPITAL LETTER G WITH BREVE
    {0x011F, 0x1006, 0x0000, 9},   // U+011F LATIN SMALL LETTER G WITH BREVE
    {0x0121, 0x1006, 0x0000, 10},  // U+0120 LATIN CAPITAL LETTER G WITH DOT ABOVE
    {0x0121, 0x1006, 0x0000, 10},  // U+0121 LATIN SMALL LETTER G WITH DOT ABOVE
    {0x0123, 0x1006, 0x0000, 5},   // U+0122 LATIN CAPITAL LETTER G WITH CEDILLA
    {0x0123, 0x1006, 0x0000, 5},   // U+0123 LATIN SMALL LETTER G WITH CEDILLA
    {0x0125, 0x1007, 0x0000, 3},   // U+0124 LATIN CAPITAL LETTER H WITH CIRCUMFLEX
    {0x0125, 0x1007, 0x0000, 3},   // U+0125 LATIN SMALL LETTER H WITH CIRCUMFLEX
    {0x0127, 0x1007, 0x0000, 20},  // U+0126 LATIN CAPITAL LETTER H WITH STROKE
    {0x0127, 0x1007, 0x0000, 20},  // U+0127 LATIN SMALL LETTER H WITH STROKE
    {0x0129, 0x1008, 0x0000, 6},   // U+0128 LATIN CAPITAL LETTER I WITH TILDE
    {0x0129, 0x1008, 0x0000, 6},   // U+0129 LATIN SMALL LETTER I WITH TILDE
    {0x012B, 0x1008, 0x0000, 8},   // U+012A LATIN CAPITAL LETTER I WITH MACRON
    {0x012B, 0x1008, 0x0000, 8},   // U+012B LATIN SMALL LETTER I WITH MACRON
    {0x012D, 0x1008, 0x0000, 9},   // U+012C LATIN CAPITAL LETTER I WITH BREVE
    {0x012D, 0x1008, 0x0000, 9},   // U+012D LATIN SMALL LETTER I WITH BREVE
    {0x012F, 0x1008, 0x0000, 13},  // U+012E LATIN CAPITAL LETTER I WITH OGONEK
    {0x012F, 0x1008, 0x0000, 13},  // U+012F LATIN SMALL LETTER I WITH OGONEK
    {0x0130, 0x1008, 0x0000, 10},  // U+0130 LATIN CAPITAL LETTER I WITH DOT ABOVE
    {0x0131, 0x1008, 0x0000, 23},  // U+0131 LATIN SMALL LETTER DOTLESS I
    {0x0133, 0x1008, 0x1009, 21},  // U+0132 LATIN CAPITAL LIGATURE IJ
    {0x0133, 0x1008, 0x1009, 21},  // U+0133 LATIN SMALL LIGATURE IJ
    {0x0135, 0x1009, 0x0000, 3},   // U+0134 LATIN CAPITAL LETTER J WITH CIRCUMFLEX
    {0x0135, 0x1009, 0x0000, 3},   // U+0135 LATIN SMALL LETTER J WITH CIRCUMFLEX
    {0x0137, 0x100A, 0x0000, 5},   // U+0136 LATIN CAPITAL LETTER K WITH CEDILLA
    {0x0137, 0x100A, 0x0000, 5},   // U+0137 LATIN SMALL LETTER K WITH CEDILLA
    {0x0138, 0x100A, 0x0000, 22},  // U+0138 LATIN SMALL LETTER KRA
    {0x013A, 0x100B, 0x0000, 1},   // U+0139 LATIN CAPITAL LETTER L WITH ACUTE
    {0x013A, 0x100B, 0x0000, 1},   // U+013A LATIN SMALL LETTER L WITH ACUTE
    {0x013C, 0x100B, 0x0000, 5},   // U+013B LATIN CAPITAL LETTER L WITH CEDILLA
    {0x013C, 0x100B, 0x0000, 5},   // U+013C LATIN SMALL LETTER L WITH CEDILLA
    {0x013E, 0x100B, 0x0000, 12},  // U+013D LATIN CAPITAL LETTER L WITH CARON
    {0x013E, 0x100B, 0x0000, 12},  // U+013E LATIN SMALL LETTER L WITH CARON
    {0x0140, 0x100B, 0x0000, 24},  // U+013F LATIN CAPITAL LETTER L WITH MIDDLE DOT
    {0x0140, 0x100B, 0x0000, 24},  // U+0140 LATIN SMALL LETTER L WITH MIDDLE DOT
    {0x0142, 0x100B, 0x0000, 20},  // U+0141 LATIN CAPITAL LETTER L WITH STROKE
    {0x0142, 0x100B, 0x0000, 20},  // U+0142 LATIN SMALL LETTER L WITH STROKE
    {0x0144, 0x100D, 0x0000, 1},   // U+0143 LATIN CAPITAL LETTER N WITH ACUTE
    {0x0144, 0x100D, 0x0000, 1},   // U+0144 LATIN SMALL LETTER N WITH ACUTE
    {0x0146, 0x100D, 0x0000, 5},   // U+0145 LATIN CAPITAL LETTER N WITH CEDILLA
    {0x0146, 0x100D, 0x0000, 5},   // U+0146 LATIN SMALL LETTER N WITH CEDILLA
    {0x0148, 0x100D, 0x0000, 12},  // U+0147 LATIN CAPITAL LETTER N WITH CARON
    {0x0148, 0x100D, 0x0000, 12},  // U+0148 LATIN SMALL LETTER N WITH CARON
    {0x0149, 0x100D, 0x0000, 25},  // U+0149 LATIN SMALL LETTER N PRECEDED BY APOSTROPHE
    {0x014B, 0x100D, 0x0000, 22},  // U+014A LATIN CAPITAL LETTER ENG
    {0x014B, 0x100D, 0x0000, 22},  // U+014B LATIN SMALL LETTER ENG
    {0x014D, 0x100E, 0x0000, 8},   // U+014C LATIN CAPITAL LETTER O WITH MACRON
    {0x014D, 0x100E, 0x0000, 8},   // U+014D LATIN SMALL LETTER O WITH MACRON
    {0x014F, 0x100E, 0x0000, 9},   // U+014E LATIN CAPITAL LETTER O WITH BREVE
    {0x014F, 0x100E, 0x0000, 9},   // U+014F LATIN SMALL LETTER O WITH BREVE
    {0x0151, 0x100E, 0x0000, 11},  // U+0150 LATIN CAPITAL LETTER O WITH DOUBLE ACUTE
    {0x0151, 0x100E, 0x0000, 11},  // U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE
    {0x0153, 0x100E, 0x1004, 21},  // U+0152 LATIN CAPITAL LIGATURE OE
    {0x0153, 0x100E, 0x1004, 21},  // U+0153 LATIN SMALL LIGATURE OE
    {0x0155, 0x1011, 0x0000, 1},   // U+0154 LATIN CAPITAL LETTER R WITH ACUTE
    {0x0155, 0x1011, 0x0000, 1},   // U+0155 LATIN SMALL LETTER R WITH ACUTE
    {0x0157, 0x1011, 0x0000, 5},   // U+0156 LATIN CAPITAL LETTER R WITH CEDILLA
    {0x0157, 0x1011, 0x0000, 5},   // U+0157 LATIN SMALL LETTER R WITH CEDILLA
    {0x0159, 0x1011, 0x0000, 12},  // U+0158 LATIN CAPITAL LETTER R WITH CARON
    {0x0159, 0x1011, 0x0000, 12},  // U+0159 LATIN SMALL LETTER R WITH CARON
    {0x015B, 0x1012, 0x0000, 1},   // U+015A LATIN CAPITAL LETTER S WITH ACUTE
    {0x015B, 0x1012, 0x0000, 1},   // U+015B LATIN SMALL LETTER S WITH ACUTE
    {0x015D, 0x1012, 0x0000, 3},   // U+015C LATIN CAPITAL LETTER S WITH CIRCUMFLEX
    {0x015D, 0x1012, 0x0000, 3},   // U+015D LATIN SMALL LETTER S WITH CIRCUMFLEX
    {0x015F, 0x1012, 0x0000, 5},   // U+015E LATIN CAPITAL LETTER S WITH CEDILLA
    {0x015F, 0x1012, 0x0000, 5},   // U+015F LATIN SMALL LETTER S WITH CEDILLA
    {0x0161, 0x1012, 0x0000, 12},  // U+0160 LATIN CAPITAL LETTER S WITH CARON
    {0x0161, 0x1012, 0x0000, 12},  // U+0161 LATIN SMALL LETTER S WITH CARON
    {0x0163, 0x1013, 0x0000, 5},   // U+0162 LATIN CAPITAL LETTER T WITH CEDILLA
    {0x0163, 0x1013, 0x0000, 5},   // U+0163 LATIN SMALL LETTER T WITH CEDILLA
    {0x0165, 0x1013, 0x0000, 12},  // U+0164 LATIN CAPITAL LETTER T WITH CARON
    {0x0165, 0x1013, 0x0000, 12},  // U+0165 LATIN SMALL LETTER T WITH CARON
    {0x0167, 0x1013, 0x0000, 20},  // U+0166 LATIN CAPITAL LETTER T WITH STROKE
    {0x0167, 0x1013, 0x0000, 20},  // U+0167 LATIN SMALL LETTER T WITH STROKE
    {0x0169, 0x1014, 0x0000, 6},   // U+0168 LATIN CAPITAL LETTER U WITH TILDE
    {0x0169, 0x1014, 0x0000, 6},   // U+0169 LATIN SMALL LETTER U WITH TILDE
    {0x016B, 0x1014, 0x0000, 8},   // U+016A LATIN CAPITAL LETTER U WITH MACRON
    {0x016B, 0x1014, 0x0000, 8},   // U+016B LATIN SMALL LETTER U WITH MACRON
    {0x016D, 0x1014, 0x0000, 9},   // U+016C LATIN CAPITAL LETTER U WITH BREVE
    {0x016D, 0x1014, 0x0000, 9},   // U+016D LATIN SMALL LETTER U WITH BREVE
    {0x016F, 0x1014, 0x0000, 7},   // U+016E LATIN CAPITAL LETTER U WITH RING ABOVE
    {0x016F, 0x1014, 0x0000, 7},   // U+016F LATIN SMALL LETTER U WITH RING ABOVE
    {0x0171, 0x1014, 0x0000, 11},  // U+0170 LATIN CAPITAL LETTER U WITH DOUBLE ACUTE
    {0x0171, 0x1014, 0x0000, 11},  // U+0171 LATIN SMALL LETTER U WITH DOUBLE ACUTE
    {0x0173, 0x1014, 0x0000, 13},  // U+0172 LATIN CAPITAL LETTER U WITH OGONEK
    {0x0173, 0x1014, 0x0000, 13},  // U+0173 LATIN SMALL LETTER U WITH OGONEK
    {0x0175, 0x1016, 0x0000, 3},   // U+0174 LATIN CAPITAL LETTER W WITH CIRCUMFLEX
    {0x0175, 0x1016, 0x0000, 3},   // U+0175 LATIN SMALL LETTER W WITH CIRCUMFLEX
    {0x0177, 0x1018, 0x0000, 3},   // U+0176 LATIN CAPITAL LETTER Y WITH CIRCUMFLEX
    {0x0177, 0x1018, 0x0000, 3},   // U+0177 LATIN SMALL LETTER Y WITH CIRCUMFLEX
    {0x00FF, 0x1018, 0x0000, 4},   // U+0178 LATIN CAPITAL LETTER Y WITH DIAERESIS
    {0x017A, 0x1019, 0x0000, 1},   // U+0179 LATIN CAPITAL LETTER Z WITH ACUTE
    {0x017A, 0x1019, 0x0000, 1},   // U+017A LATIN SMALL LETTER Z WITH ACUTE
    {0x017C, 0x1019, 0x0000, 10},  // U+017B LATIN CAPITAL LETTER Z WITH DOT ABOVE
    {0x017C, 0x1019, 0x0000, 10},  // U+017C LATIN SMALL LETTER Z WITH DOT ABOVE
    {0x017E, 0x1019, 0x0000, 12},  // U+017D LATIN CAPITAL LETTER Z WITH CARON
    {0x017E, 0x1019, 0x0000, 12},  // U+017E LATIN SMALL LETTER Z WITH CARON
    {0x0073, 0x1012, 0x0000, 0},   // U+017F LATIN SMALL LETTER LONG S
};

struct Unit {
    std::uint32_t p;
    std::uint32_t s;
};

// A stream of units over one UTF-8 text.
struct Cursor {
    const unsigned char* p;
    const unsigned char* end;
    std::uint32_t pendingP = 0;  // second unit of a ligature
    std::uint32_t pendingS = 0;
    bool pending = false;

    // Next unit; false at the end.
    bool next(Unit& u) {
        if (pending) {
            pending = false;
            u.p = pendingP;
            u.s = pendingS;
            return true;
        }
        if (p >= end) {
            return false;
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            u.p = kAscii.w[b];
            u.s = 0;
            return true;
        }
        const char32_t c = decodeUtf8(p, end);
        if (c < 0x180) {
            const LatinEntry& e = kLatin[c - 0x80];
            u.p = e.p1;
            u.s = e.sec;
            if (e.p2 != 0) {
                pendingP = e.p2;
                pendingS = e.sec;
                pending = true;
            }
        } else if (c < 0x110000) {
            u.p = kBeyond + static_cast<std::uint32_t>(QChar::toCaseFolded(c));
            u.s = 0;
        } else {
            u.p = kBeyond + c;  // invalid byte: 0x110000 + byte, after every code point
            u.s = 0;
        }
        return true;
    }
};

}  // namespace

char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b0 = *p;
    if (b0 < 0x80) {
        ++p;
        return b0;
    }
    auto cont = [&](std::ptrdiff_t i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
        const char32_t c = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        p += 2;
        return c;
    }
    if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
        const char32_t c = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
            p += 3;
            return c;
        }
    } else if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
        const char32_t c = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
                           (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        if (c >= 0x10000 && c < 0x110000) {
            p += 4;
            return c;
        }
    }
    ++p;
    return 0x110000 + b0;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c >= 0x110000) {  // an invalid byte kept as it was
        out.push_back(static_cast<char>(c - 0x110000));
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

char32_t foldCase(char32_t c) {
    if (c < 0x80) {
        return kAscii.fold[c];
    }
    if (c < 0x180) {
        return kLatin[c - 0x80].fold;
    }
    if (c < 0x110000) {
        return QChar::toCaseFolded(c);
    }
    return c;
}

}  // namespace detail

int collate(const char* a, int lenA, const char* b, int lenB) {
    using namespace detail;
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    const unsigned char* ea = pa + (lenA > 0 ? lenA : 0);
    const unsigned char* eb = pb + (lenB > 0 ? lenB : 0);

    // Fast path: ASCII on both sides, no decoding, one table look-up per byte.
    while (pa < ea && pb < eb) {
        const unsigned char x = *pa;
        const unsigned char y = *pb;
        if ((x | y) >= 0x80) {
            break;
        }
        if (x != y) {
            const std::uint16_t wx = kAscii.w[x];
            const std::uint16_t wy = kAscii.w[y];
            if (wx != wy) {
                return wx < wy ? -1 : 1;
            }
        }
        ++pa;
        ++pb;
    }
    if (pa == ea || pb == eb) {
        // One side is exhausted within ASCII: every unit so far had secondary 0.
        if (pa == ea && pb == eb) {
            return 0;
        }
        return pa == ea ? -1 : 1;
    }

    // General path, from the first non-ASCII byte on.
    Cursor ca{pa, ea};
    Cursor cb{pb, eb};
    int secondary = 0;
    Unit ua{};
    Unit ub{};
    for (;;) {
        // Back to bytes while both sides are plain ASCII and nothing is pending.
        if (!ca.pending && !cb.pending) {
            while (ca.p < ca.end && cb.p < cb.end) {
                const unsigned char x = *ca.p;
                const unsigned char y = *cb.p;
                if ((x | y) >= 0x80) {
                    break;
                }
                if (x != y) {
                    const std::uint16_t wx = kAscii.w[x];
                    const std::uint16_t wy = kAscii.w[y];
                    if (wx != wy) {
                        return wx < wy ? -1 : 1;
                    }
                }
                ++ca.p;
                ++cb.p;
            }
        }
        const bool ha = ca.next(ua);
        const bool hb = cb.next(ub);
        if (!ha || !hb) {
            if (ha) {
                return 1;
            }
            if (hb) {
                return -1;
            }
            return secondary;
        }
        if (ua.p != ub.p) {
            return ua.p < ub.p ? -1 : 1;
        }
        if (secondary == 0 && ua.s != ub.s) {
            secondary = ua.s < ub.s ? -1 : 1;
        }
    }
}

int collate(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return collate(ua.constData(), static_cast<int>(ua.size()), ub.constData(), static_cast<int>(ub.size()));
}

}  // namespace vinorium::jet
