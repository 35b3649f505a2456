#include "CellText.h"

#include "Frequency.h"
#include "FrequencyEntry.h"

namespace tavin::lists {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits after the point beyond the first `decimals` that are not all zero.
bool finerThan(const QString &decimal, int decimals)
{
    const qsizetype point = decimal.indexOf(u'.');
    if (point < 0)
        return false;
    const QString fraction = decimal.mid(point + 1);
    for (qsizetype i = decimals; i < fraction.size(); ++i) {
        if (fraction.at(i) != u'0')
            return true;
    }
    return false;
}

}  // namespace

std::optional<QString> plainDecimal(const QString &text, bool decimalComma)
{
    QString t = text.trimmed();
    if (decimalComma)
        t.replace(u',', u'.');
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        ++i;
    int digits = 0;
    int points = 0;
    for (; i < t.size(); ++i) {
        if (isDigit(t.at(i)))
            ++digits;
        else if (t.at(i) == u'.' && points == 0)
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return t;
}

FrequencyCell frequencyCell(const QString &text, bool decimalComma)
{
    FrequencyCell cell;
    if (text.trimmed().isEmpty())
        return cell;
    const std::optional<QString> decimal = plainDecimal(text, decimalComma);
    if (!decimal) {
        cell.problem = std::string(entryMessageText(EntryMessage::Format)) + " ('" + text.toStdString() +
                       "' is not a number of megahertz)";
        return cell;
    }
    if (finerThan(*decimal, 5)) {
        cell.problem = std::string(entryMessageText(EntryMessage::Format)) + " ('" + text.toStdString() +
                       "' has more than five decimals; the radio keeps frequencies to 10 Hz)";
        return cell;
    }
    cell.text = decimal->toStdString();
    return cell;
}

std::optional<long long> tenthsOfHertz(const QString &text, bool decimalComma)
{
    const std::optional<QString> decimal = plainDecimal(text, decimalComma);
    if (!decimal || finerThan(*decimal, 1))
        return std::nullopt;
    const std::optional<std::int64_t> tenths = scaledDecimalPrefix(decimal->toStdString(), 1);
    if (!tenths)
        return std::nullopt;
    return *tenths;
}

std::string toneCell(const QString &text, bool decimalComma)
{
    const std::optional<long long> tenths = tenthsOfHertz(text, decimalComma);
    if (!tenths || *tenths <= 0)
        return text.trimmed().toStdString();
    return std::to_string(*tenths / 10) + '.' + std::to_string(*tenths % 10);
}

}  // namespace tavin::lists
