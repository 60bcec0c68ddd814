#pragma once
// The classic number and string semantics the program's stored texts depend on, in one
// place: numeric tests and conversions, the 15-digit text form of a double, banker's
// rounding, floor-Int and the 1-based string helpers.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::vb {

// True when the whole text, blanks around it allowed, reads as a number: sign, digits,
// one decimal separator, an exponent, and digits grouped by thousands. Where both "." and
// "," appear the last one is the decimal separator and the other groups digits
// ("1,500.50", "1.500,50"); a lone "." or "," is the decimal separator ("1,5" is 1.5);
// several of one kind group digits ("1.000.000"); blanks between groups of three digits
// group them ("1 500,50"). Groups after the first hold exactly three digits. "" and "abc"
// are not numbers. Numbers are written by CStr with "." and no grouping.
bool IsNumeric(const QString& text);

// The number at the start of the text; 0 where none. Leading blanks are skipped; reading
// stops at the first character that does not continue the number.
double Val(const QString& text);

// The whole text as a double, read by the rules of IsNumeric; nullopt where it is false.
std::optional<double> CDbl(const QString& text);

// The whole text, read by the rules of IsNumeric, as a plain C number: an optional "-",
// digits, "." and digits, and an optional exponent ("-1500.5", "1.e+16"); nullopt where
// IsNumeric is false. The digits are the text's own, so that a reader can keep them exactly.
std::optional<std::string> NumberInC(const QString& text);

// A number whose meaning depends on the reader: a lone "," with one to three digits before
// it and exactly three after ("1,500", "-12,345"), which groups thousands for some and
// separates decimals for others. IsNumeric reads it as a decimal comma (1.5); "1,5",
// "1.500,50" and "1234,500" say what they mean.
bool IsAmbiguousNumber(const QString& text);

// Whole-number conversions with the classic range checks and banker's rounding; nullopt
// on overflow or a text that is not numeric.
std::optional<int32_t> CLng(double value);
std::optional<int16_t> CInt(double value);
std::optional<int32_t> CLng(const QString& text);
std::optional<int16_t> CInt(const QString& text);

// Round half to even, as every fractional-to-integer assignment does.
double RoundHalfEven(double value);
// Int(): the largest whole number not above the value.
double Int(double value);

// The general text form of a double: at most 15 significant digits, no trailing zeros,
// "." as separator, exponent form "1E+16" / "1E-05" beyond the fixed range; -0 gives "0".
QString CStr(double value);

// 1-based string helpers. Start positions below 1 are treated as 1 by InStr; a position
// past the end finds nothing (0).
int InStr(const QString& haystack, const QString& needle, int start = 1,
          Qt::CaseSensitivity cs = Qt::CaseSensitive);
int InStrRev(const QString& haystack, const QString& needle, int start = -1,
             Qt::CaseSensitivity cs = Qt::CaseSensitive);
QString Mid(const QString& text, int start, int length = -1);
QString Left(const QString& text, int length);
QString Right(const QString& text, int length);

// The "general date" text of a date and time: the system locale's short date and long time.
QString GeneralDate(const QDateTime& when);
// The pattern GeneralDate writes with, in QDateTime::toString's notation, so that a date
// shown elsewhere (a spreadsheet cell, say) can read the same.
QString GeneralDateFormat();

} // namespace platform::vb
