#include "platform/vb.h"

#include <QLocale>
#include <QStringView>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace platform::vb {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads a number from the start of text[pos..] as Val does: optional sign, digits with at
// most one "." separator, an optional exponent that is taken only when it has digits.
// Returns the characters read in C form (no "+" sign) and moves pos past them; an empty
// result when no digit was found.
std::string scanNumber(const QString& text, qsizetype& pos)
{
    std::string out;
    qsizetype i = pos;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            out += '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            out += char(c.unicode());
            digits = true;
        } else if (!separator && c == QLatin1Char('.')) {
            out += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (!digits)
        return {};
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        const qsizetype firstDigit = j;
        while (j < text.size() && isDigit(text[j]))
            exponent += char(text[j++].unicode());
        if (j > firstDigit) {
            out += exponent;
            i = j;
        }
    }
    pos = i;
    return out;
}

// Blanks that group digits: the space and the no-break spaces that locales put between
// thousands.
bool isGroupBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F);
}

// The digits of an integer part, checked against its grouping: without a group character
// any run of digits; with one, a first group of one to three digits and then groups of
// exactly three, so that "1,5.25" or "1 5" is not taken for a number.
bool groupedDigits(QStringView part, QChar group, std::string& out)
{
    if (group.isNull()) {
        for (const QChar c : part) {
            if (!isDigit(c))
                return false;
            out += char(c.unicode());
        }
        return true;
    }
    qsizetype groupLength = 0;
    bool first = true;
    for (const QChar c : part) {
        if (isDigit(c)) {
            out += char(c.unicode());
            ++groupLength;
        } else if (c == group || (isGroupBlank(group) && isGroupBlank(c))) {
            if (groupLength == 0 || groupLength > 3 || (!first && groupLength != 3))
                return false;
            first = false;
            groupLength = 0;
        } else {
            return false;
        }
    }
    return groupLength == 3 || (first && groupLength > 0);
}

// The mantissa of a whole-text number (digits, "." and "," and grouping blanks, no sign, no
// exponent) in C form. Where both "." and "," appear, the last one is the decimal separator
// and the other groups digits; one "." or one "," alone is the decimal separator; several
// of the same kind group digits; blanks between digit groups group them too.
std::optional<std::string> mantissaInC(QStringView mantissa)
{
    const qsizetype dots = mantissa.count(QLatin1Char('.'));
    const qsizetype commas = mantissa.count(QLatin1Char(','));
    bool blanks = false;
    for (const QChar c : mantissa)
        blanks = blanks || isGroupBlank(c);

    QChar decimal;
    QChar group;
    if (dots > 0 && commas > 0) {
        const qsizetype last = std::max(mantissa.lastIndexOf(QLatin1Char('.')),
                                        mantissa.lastIndexOf(QLatin1Char(',')));
        decimal = mantissa[last];
        group = decimal == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        if (mantissa.count(decimal) != 1 || blanks)
            return std::nullopt;
    } else if (dots + commas == 1) {
        decimal = dots ? QLatin1Char('.') : QLatin1Char(',');
    } else if (dots + commas > 1) {
        group = dots ? QLatin1Char('.') : QLatin1Char(',');
        if (blanks)
            return std::nullopt;
    }
    if (blanks)
        group = QLatin1Char(' ');

    const qsizetype cut = decimal.isNull() ? mantissa.size() : mantissa.indexOf(decimal);
    const QStringView whole = mantissa.left(cut);
    const QStringView fraction = decimal.isNull() ? QStringView() : mantissa.mid(cut + 1);
    std::string out;
    if (!groupedDigits(whole, group, out))
        return std::nullopt;
    const size_t wholeDigits = out.size();
    out += '.';
    if (!groupedDigits(fraction, QChar(), out))
        return std::nullopt;
    if (wholeDigits == 0 && fraction.isEmpty())
        return std::nullopt; // no digit at all
    return out;
}

// The whole text, blanks around it allowed, as a number in C form; nullopt when it is not
// one.
std::optional<std::string> wholeNumberInC(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    QStringView rest = QStringView(text).mid(begin, end - begin);

    std::string out;
    if (!rest.isEmpty() && (rest[0] == QLatin1Char('+') || rest[0] == QLatin1Char('-'))) {
        if (rest[0] == QLatin1Char('-'))
            out += '-';
        rest = rest.mid(1);
    }
    qsizetype e = 0;
    while (e < rest.size() && rest[e] != QLatin1Char('e') && rest[e] != QLatin1Char('E'))
        ++e;
    const auto mantissa = mantissaInC(rest.left(e));
    if (!mantissa)
        return std::nullopt;
    out += *mantissa;
    if (e < rest.size()) {
        QStringView exponent = rest.mid(e + 1);
        out += 'e';
        if (!exponent.isEmpty() && (exponent[0] == QLatin1Char('+') || exponent[0] == QLatin1Char('-'))) {
            out += char(exponent[0].unicode());
            exponent = exponent.mid(1);
        }
        if (exponent.isEmpty())
            return std::nullopt;
        for (const QChar c : exponent) {
            if (!isDigit(c))
                return std::nullopt;
            out += char(c.unicode());
        }
    }
    return out;
}

double parseC(const std::string& number)
{
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return number.find("e-") != std::string::npos ? 0.0 : std::numeric_limits<double>::infinity();
    return value;
}

template <typename T>
std::optional<T> wholeInRange(double value)
{
    if (std::isnan(value))
        return std::nullopt;
    const double r = RoundHalfEven(value);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return T(r);
}

QString exponentText(int exponent)
{
    const QChar sign = exponent < 0 ? QLatin1Char('-') : QLatin1Char('+');
    return QStringLiteral("E") + sign + QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
}

// Removes the time-zone part ("t") of a Qt time format, which a classic long time lacks.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

std::optional<double> CDbl(const QString& text)
{
    const auto number = wholeNumberInC(text);
    if (!number)
        return std::nullopt;
    const double value = parseC(*number);
    if (!std::isfinite(value))
        return std::nullopt;
    return value == 0 ? 0.0 : value;
}

std::optional<std::string> NumberInC(const QString& text)
{
    return wholeNumberInC(text);
}

bool IsAmbiguousNumber(const QString& text)
{
    if (!IsNumeric(text))
        return false;
    QStringView rest = QStringView(text).trimmed();
    if (!rest.isEmpty() && (rest[0] == QLatin1Char('+') || rest[0] == QLatin1Char('-')))
        rest = rest.mid(1);
    qsizetype e = 0;
    while (e < rest.size() && rest[e] != QLatin1Char('e') && rest[e] != QLatin1Char('E'))
        ++e;
    const QStringView mantissa = rest.left(e);
    const qsizetype comma = mantissa.indexOf(QLatin1Char(','));
    if (comma < 1 || comma > 3 || mantissa.size() - comma - 1 != 3)
        return false;
    for (qsizetype i = 0; i < mantissa.size(); ++i)
        if (i != comma && !isDigit(mantissa[i]))
            return false;
    return true;
}

bool IsNumeric(const QString& text)
{
    return CDbl(text).has_value();
}

double Val(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const std::string number = scanNumber(text, pos);
    if (number.empty())
        return 0;
    const double value = parseC(number);
    return value == 0 ? 0.0 : value;
}

std::optional<int32_t> CLng(double value)
{
    return wholeInRange<int32_t>(value);
}

std::optional<int16_t> CInt(double value)
{
    return wholeInRange<int16_t>(value);
}

std::optional<int32_t> CLng(const QString& text)
{
    const auto d = CDbl(text);
    return d ? CLng(*d) : std::nullopt;
}

std::optional<int16_t> CInt(const QString& text)
{
    const auto d = CDbl(text);
    return d ? CInt(*d) : std::nullopt;
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

double Int(double value)
{
    return std::floor(value);
}

QString CStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0)
        return QStringLiteral("0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    // buffer: d.dddddddddddddde[+-]xx
    const std::string text(buffer);
    const size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::stoi(text.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString out = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= 15 || exponent < -4) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1)
            out += QLatin1Char('.') + QString::fromLatin1(digits.substr(1));
        return out + exponentText(exponent);
    }
    if (exponent < 0) {
        out += QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + QString::fromLatin1(digits);
        return out;
    }
    const size_t intDigits = size_t(exponent) + 1;
    if (digits.size() <= intDigits)
        return out + QString::fromLatin1(digits) + QString(int(intDigits - digits.size()), QLatin1Char('0'));
    return out + QString::fromLatin1(digits.substr(0, intDigits)) + QLatin1Char('.')
        + QString::fromLatin1(digits.substr(intDigits));
}

int InStr(const QString& haystack, const QString& needle, int start, Qt::CaseSensitivity cs)
{
    if (start < 1)
        start = 1;
    if (haystack.isEmpty() || start > haystack.size())
        return 0;
    if (needle.isEmpty())
        return start;
    return int(haystack.indexOf(needle, start - 1, cs)) + 1;
}

int InStrRev(const QString& haystack, const QString& needle, int start, Qt::CaseSensitivity cs)
{
    if (haystack.isEmpty())
        return 0;
    if (start == -1)
        start = int(haystack.size());
    if (start < 1 || start > haystack.size())
        return 0;
    if (needle.isEmpty())
        return start;
    const qsizetype from = qsizetype(start) - needle.size(); // the match must end by start
    if (from < 0)
        return 0;
    return int(haystack.lastIndexOf(needle, from, cs)) + 1;
}

QString Mid(const QString& text, int start, int length)
{
    if (start < 1)
        start = 1;
    if (start > text.size() || length == 0)
        return QString();
    return length < 0 ? text.mid(start - 1) : text.mid(start - 1, length);
}

QString Left(const QString& text, int length)
{
    return length <= 0 ? QString() : text.left(length);
}

QString Right(const QString& text, int length)
{
    return length <= 0 ? QString() : text.right(length);
}

QString GeneralDate(const QDateTime& when)
{
    return QLocale::system().toString(when, GeneralDateFormat());
}

QString GeneralDateFormat()
{
    const QLocale locale = QLocale::system();
    return locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
        + withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
}

} // namespace platform::vb
