#include "RadioRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <utility>
#include <vector>

namespace tavin::fleet {

namespace {

constexpr std::pair<RadioResult, const char *> kResultNames[] = {
    {RadioResult::Verified, "verified"},
    {RadioResult::VerifyMismatch, "verify-mismatch"},
    {RadioResult::Failed, "failed"},
    {RadioResult::Cancelled, "cancelled"},
};
constexpr std::pair<RadioStep, const char *> kStepNames[] = {
    {RadioStep::Backup, "backup"},
    {RadioStep::Write, "write"},
    {RadioStep::ReadBack, "read-back"},
};
constexpr std::pair<FailureKind, const char *> kFailureNames[] = {
    {FailureKind::File, "file"},
    {FailureKind::PortOpen, "port"},
    {FailureKind::NoAnswer, "no-answer"},
    {FailureKind::Transfer, "transfer"},
    {FailureKind::Unverified, "unverified"},
};

template <typename Enum, std::size_t N>
std::optional<Enum> lookUp(const std::pair<Enum, const char *> (&names)[N], const QString &text)
{
    for (const auto &[value, name] : names) {
        if (text == QLatin1String(name))
            return value;
    }
    return std::nullopt;
}

template <typename Enum, std::size_t N>
QString nameOf(const std::pair<Enum, const char *> (&names)[N], Enum value)
{
    for (const auto &[v, name] : names) {
        if (v == value)
            return QString::fromLatin1(name);
    }
    return {};
}

QString timeText(const QDateTime &t)
{
    // Local time with its offset from UTC, to the millisecond.
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

// Seconds to the millisecond, so the log shows 7.62 rather than 7.6199999.
double roundedSeconds(double seconds)
{
    return std::round(seconds * 1000.0) / 1000.0;
}

// JSON objects keep their keys sorted; the log keeps its own order, so that a
// person reading it finds the radio's number first.
class OrderedObject {
public:
    void add(const char *key, const QJsonValue &value) { m_fields.emplace_back(QString::fromLatin1(key), value); }
    QByteArray line() const
    {
        QByteArray out("{");
        for (const auto &[key, value] : m_fields) {
            if (out.size() > 1)
                out += ',';
            out += scalar(QJsonValue(key)) + ':' + scalar(value);
        }
        return out + '}';
    }

private:
    static QByteArray scalar(const QJsonValue &value)
    {
        // QJsonDocument writes arrays and objects only: wrap and unwrap.
        const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        return wrapped.mid(1, wrapped.size() - 2);
    }
    std::vector<std::pair<QString, QJsonValue>> m_fields;
};

}  // namespace

QString resultName(RadioResult result)
{
    return nameOf(kResultNames, result);
}

QString stepName(RadioStep step)
{
    return nameOf(kStepNames, step);
}

QByteArray toJsonLine(const RadioRecord &r)
{
    OrderedObject o;
    o.add("radio", r.radio);
    o.add("port", r.port);
    o.add("device", r.device);
    o.add("start", timeText(r.start));
    o.add("end", timeText(r.end));
    o.add("result", resultName(r.result));
    if (r.failure != FailureKind::None)
        o.add("failure", nameOf(kFailureNames, r.failure));
    if (r.step)
        o.add("step", stepName(*r.step));
    if (r.block >= 0)
        o.add("block", r.block);
    if (!r.message.isEmpty())
        o.add("message", r.message);
    if (!r.differences.isEmpty())
        o.add("differences", QJsonArray::fromStringList(r.differences));
    o.add("identity", QString::fromLatin1(r.identity.toHex()));
    o.add("backup", r.backupFile);
    o.add("backupSha256", QString::fromLatin1(r.backupSha256));
    o.add("file", r.file);
    o.add("writtenSha256", QString::fromLatin1(r.writtenSha256));
    QJsonObject durations;
    if (r.times.backupSeconds)
        durations.insert(QStringLiteral("backup"), roundedSeconds(*r.times.backupSeconds));
    if (r.times.writeSeconds)
        durations.insert(QStringLiteral("write"), roundedSeconds(*r.times.writeSeconds));
    if (r.times.readBackSeconds)
        durations.insert(QStringLiteral("readBack"), roundedSeconds(*r.times.readBackSeconds));
    durations.insert(QStringLiteral("total"), roundedSeconds(double(r.start.msecsTo(r.end)) / 1000.0));
    o.add("seconds", durations);
    return o.line();
}

std::optional<RadioRecord> fromJsonLine(const QByteArray &line, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
    if (doc.isNull() || !doc.isObject()) {
        *error = doc.isNull() ? parseError.errorString() : QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    RadioRecord r;
    r.radio = o.value(QLatin1String("radio")).toInt(0);
    const std::optional<RadioResult> result = lookUp(kResultNames, o.value(QLatin1String("result")).toString());
    r.start = QDateTime::fromString(o.value(QLatin1String("start")).toString(), Qt::ISODateWithMs);
    r.end = QDateTime::fromString(o.value(QLatin1String("end")).toString(), Qt::ISODateWithMs);
    if (r.radio <= 0 || !result || !r.start.isValid() || !r.end.isValid()) {
        *error = QStringLiteral("not a radio record (radio, result, start or end missing)");
        return std::nullopt;
    }
    r.result = *result;
    r.port = o.value(QLatin1String("port")).toString();
    r.device = o.value(QLatin1String("device")).toString();
    r.failure = lookUp(kFailureNames, o.value(QLatin1String("failure")).toString()).value_or(FailureKind::None);
    r.step = lookUp(kStepNames, o.value(QLatin1String("step")).toString());
    r.block = o.value(QLatin1String("block")).toInt(-1);
    r.message = o.value(QLatin1String("message")).toString();
    for (const QJsonValue &d : o.value(QLatin1String("differences")).toArray())
        r.differences += d.toString();
    r.identity = QByteArray::fromHex(o.value(QLatin1String("identity")).toString().toLatin1());
    r.backupFile = o.value(QLatin1String("backup")).toString();
    r.backupSha256 = o.value(QLatin1String("backupSha256")).toString().toLatin1();
    r.file = o.value(QLatin1String("file")).toString();
    r.writtenSha256 = o.value(QLatin1String("writtenSha256")).toString().toLatin1();
    const QJsonObject durations = o.value(QLatin1String("seconds")).toObject();
    const auto seconds = [&](const char *key) -> std::optional<double> {
        const QJsonValue v = durations.value(QLatin1String(key));
        return v.isDouble() ? std::optional<double>(v.toDouble()) : std::nullopt;
    };
    r.times = {seconds("backup"), seconds("write"), seconds("readBack")};
    return r;
}

}  // namespace tavin::fleet
