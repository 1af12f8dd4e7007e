// Jump height and efficiency from the times, and the metric texts that round them.

#include "core/measure/Metrics.h"

#include "core/base/Texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace metrics {
namespace {

constexpr int kSignificantDigits = 3;
constexpr int kMaxDecimals = 15;

// A finite decimal number: sign, digit string without leading zeros ("0" for zero) and
// decimal exponent; the value is digits × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits == "0"; }
    // Number of digits before the decimal point (0 for values below 1).
    int integerDigits() const {
        return isZero() ? 0 : std::max(0, static_cast<int>(digits.size()) + exponent);
    }
};

void stripLeadingZeros(Decimal& d) {
    const auto first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.assign(1, '0');
        d.exponent = 0;
        d.negative = false; // never "-0"
    } else {
        d.digits.erase(0, first);
    }
}

// The shortest decimal that reads back as `value`, so that 4.075 computed as
// 4.07499999999999973 is rounded as the 4.075 it stands for.
Decimal shortestDecimal(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    // Form: [-]d[.ddd]e(+|-)xx
    Decimal d;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        d.negative = true;
        ++pos;
    }
    const std::size_t e = text.find('e', pos);
    for (std::size_t i = pos; i < e; ++i) {
        if (text[i] != '.')
            d.digits += text[i];
    }
    const int scientificExponent = std::stoi(text.substr(e + 1));
    d.exponent = scientificExponent - static_cast<int>(d.digits.size()) + 1;
    stripLeadingZeros(d); // only a zero has any: "0e+00", "-0e+00"
    return d;
}

// Rounds to a multiple of 10^place, halves away from zero.
void roundToPlace(Decimal& d, int place) {
    if (d.isZero() || d.exponent >= place)
        return;
    const int drop = place - d.exponent;
    if (drop > static_cast<int>(d.digits.size()))
        d.digits.insert(0, static_cast<std::size_t>(drop) - d.digits.size(), '0');
    const std::size_t keep = d.digits.size() - static_cast<std::size_t>(drop);
    const bool up = d.digits[keep] >= '5';
    d.digits.erase(keep);
    d.digits.insert(0, 1, '0'); // room for a carry
    if (up) {
        std::size_t i = d.digits.size();
        while (i-- > 0) {
            if (d.digits[i] == '9') {
                d.digits[i] = '0';
            } else {
                ++d.digits[i];
                break;
            }
        }
    }
    d.exponent = place;
    stripLeadingZeros(d);
}

Decimal roundedMetric(double value, int decimals) {
    Decimal d = shortestDecimal(value);
    if (d.isZero())
        return d;
    const int leadingPlace = static_cast<int>(d.digits.size()) - 1 + d.exponent;
    roundToPlace(d, std::max(leadingPlace - (kSignificantDigits - 1), -decimals));
    return d;
}

QString exponentForm(const Decimal& d, int decimals, QChar separator) {
    const int exponent = static_cast<int>(d.digits.size()) - 1 + d.exponent;
    std::string significant = d.digits;
    significant.erase(significant.find_last_not_of('0') + 1);
    QString text;
    if (d.negative)
        text += QLatin1Char('-');
    text += QLatin1Char(significant[0]);
    if (significant.size() > 1) {
        text += separator;
        text += QString::fromLatin1(significant.data() + 1,
                                    static_cast<qsizetype>(significant.size()) - 1);
    }
    // Only values of 1000 and more get here, so the exponent is at least 3.
    text += QLatin1Char('E');
    text += QString::number(exponent).rightJustified(std::max(2, decimals), QLatin1Char('0'));
    return text;
}

QString fixedForm(const Decimal& d, int decimals, QChar separator) {
    // All digits of value × 10^decimals; the rounding left exponent >= -decimals.
    std::string scaled = d.digits;
    if (!d.isZero())
        scaled.append(static_cast<std::size_t>(d.exponent + decimals), '0');
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');
    const std::size_t integerLength = scaled.size() - static_cast<std::size_t>(decimals);
    QString text;
    if (d.negative && !d.isZero())
        text += QLatin1Char('-');
    text += QString::fromLatin1(scaled.data(), static_cast<qsizetype>(integerLength));
    if (decimals > 0) {
        text += separator;
        text += QString::fromLatin1(scaled.data() + integerLength, decimals);
    }
    return text;
}

int clampedDecimals(int decimals) {
    return std::clamp(decimals, 0, kMaxDecimals);
}

} // namespace

double heightMetres(double flightSeconds) {
    const double t = flightSeconds / 2;
    const double v = t * 9.81;
    return t * v - 4.905 * std::pow(t, 2.0);
}

double heightCm(double flightMs) {
    return heightMetres(flightMs / 1000.0) * 100;
}

double heightCm(qint32 flightMs) {
    return heightCm(static_cast<double>(flightMs));
}

double efficiency(qint32 flightMs, qint32 contactMs) {
    if (contactMs == 0)
        return 0;
    const qint64 square = static_cast<qint64>(flightMs) * flightMs;
    return static_cast<double>(square) / contactMs / 10 / 100;
}

double efficiency(double flightMs, double contactMs) {
    const auto whole = [](double ms) {
        return std::isfinite(ms) && std::trunc(ms) == ms &&
               ms >= std::numeric_limits<qint32>::min() && ms <= std::numeric_limits<qint32>::max();
    };
    if (whole(flightMs) && whole(contactMs))
        return efficiency(static_cast<qint32>(flightMs), static_cast<qint32>(contactMs));
    if (contactMs == 0)
        return 0;
    return flightMs * flightMs / contactMs / 10 / 100;
}

QString heightText(double heightCm) {
    return fixedText(heightCm, 2);
}

QString efficiencyText(double flightMs, double contactMs) {
    return fixedText(efficiency(flightMs, contactMs), 2);
}

QString metricText(double value, int decimals, QChar separator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = clampedDecimals(decimals);
    const Decimal d = roundedMetric(value, decimals);
    if (d.integerDigits() > kSignificantDigits)
        return exponentForm(d, decimals, separator);
    return fixedForm(d, decimals, separator);
}

QString metricText(double value, int decimals) {
    return metricText(value, decimals, texts::decimalSeparator());
}

QString fixedText(double value, int decimals, QChar separator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = clampedDecimals(decimals);
    Decimal d = shortestDecimal(value);
    roundToPlace(d, -decimals);
    return fixedForm(d, decimals, separator);
}

QString fixedText(double value, int decimals) {
    return fixedText(value, decimals, texts::decimalSeparator());
}

double metricValue(double value, int decimals) {
    // Written and read with the same separator, so the point serves for every setting.
    const QString text = metricText(value, decimals, QLatin1Char('.'));
    const QByteArray latin = text.toLatin1();
    double parsed = 0;
    const auto result =
        std::from_chars(latin.constData(), latin.constData() + latin.size(), parsed);
    if (result.ec != std::errc())
        return value; // NAN and INF have no digits to round
    return parsed;
}

double heightFieldValue(double flightMs) {
    return metricValue(heightCm(flightMs), 3);
}

} // namespace metrics
