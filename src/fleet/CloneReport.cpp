#include "CloneReport.h"

#include <QFileInfo>

#include <algorithm>

namespace tavin::fleet {

namespace {

struct Counts {
    int verified = 0;
    int failed = 0;  // everything that did not end verified
};

Counts countOf(const QList<RadioRecord> &records, const QString *port = nullptr)
{
    Counts c;
    for (const RadioRecord &r : records) {
        if (port && r.port != *port)
            continue;
        if (r.result == RadioResult::Verified)
            ++c.verified;
        else
            ++c.failed;
    }
    return c;
}

QString radios(int n)
{
    return n == 1 ? QStringLiteral("1 radio") : QStringLiteral("%1 radios").arg(n);
}

QString totals(const Counts &c)
{
    QString text = QStringLiteral("%1: %2 programmed and verified").arg(radios(c.verified + c.failed)).arg(c.verified);
    if (c.failed > 0)
        text += QStringLiteral(", %1 not").arg(c.failed);
    return text;
}

QString reason(const RadioRecord &r)
{
    QString text = resultName(r.result);
    if (!r.message.isEmpty())
        text += QStringLiteral(": ") + r.message;
    return text;
}

}  // namespace

QString runSummary(const QList<RadioRecord> &records, const QStringList &ports, const QStringList &labels)
{
    QString text = totals(countOf(records)) + QLatin1Char('\n');
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const Counts c = countOf(records, &ports.at(i));
        text += QStringLiteral("  %1: %2 verified").arg(labels.value(i, ports.at(i))).arg(c.verified);
        if (c.failed > 0)
            text += QStringLiteral(", %1 not").arg(c.failed);
        text += QLatin1Char('\n');
        for (const RadioRecord &r : records) {
            if (r.port == ports.at(i) && r.result != RadioResult::Verified)
                text += QStringLiteral("    radio %1: %2\n").arg(r.radio).arg(reason(r));
        }
    }
    return text;
}

QString logTable(const QList<RadioRecord> &records)
{
    // The port column is as wide as the longest port name (device paths can be long).
    int portWidth = 14;
    for (const RadioRecord &r : records)
        portWidth = std::max(portWidth, int(r.port.size()));
    QString text = QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                       .arg(QStringLiteral("radio"), 5)
                       .arg(QStringLiteral("port"), -portWidth)
                       .arg(QStringLiteral("start"), -19)
                       .arg(QStringLiteral("result"), -15)
                       .arg(QStringLiteral("seconds"), 7)
                       .arg(QStringLiteral("backup"));
    // By radio number; the log has them in the order they ended.
    QList<RadioRecord> sorted = records;
    std::stable_sort(sorted.begin(), sorted.end(), [](const RadioRecord &a, const RadioRecord &b) { return a.radio < b.radio; });
    for (const RadioRecord &r : sorted) {
        const double seconds = double(r.start.msecsTo(r.end)) / 1000.0;
        text += QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                    .arg(r.radio, 5)
                    .arg(r.port, -portWidth)
                    .arg(r.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), -19)
                    .arg(resultName(r.result), -15)
                    .arg(QString::number(seconds, 'f', 1), 7)
                    .arg(r.backupFile.isEmpty() ? QStringLiteral("-") : QFileInfo(r.backupFile).fileName());
        if (r.result != RadioResult::Verified && !r.message.isEmpty())
            text += QStringLiteral("       %1\n").arg(r.message);
        for (const QString &d : r.differences)
            text += QStringLiteral("         %1\n").arg(d);
    }
    return text + totals(countOf(records)) + QLatin1Char('\n');
}

LogContents readLog(const QByteArray &contents)
{
    LogContents log;
    const auto problem = [&log](int line, const QString &text) {
        if (++log.problemLines <= kLogProblemsNamed)
            log.problems += QStringLiteral("line %1: %2").arg(line).arg(text);
    };
    int lineNumber = 0;
    for (qsizetype from = 0; from < contents.size();) {
        qsizetype end = contents.indexOf('\n', from);
        if (end < 0)
            end = contents.size();
        ++lineNumber;
        const QByteArrayView line = QByteArrayView(contents).sliced(from, end - from).trimmed();
        from = end + 1;
        if (line.isEmpty())
            continue;
        if (line.size() > kLongestLogLine) {
            problem(lineNumber, QStringLiteral("%1 bytes long, not a record").arg(line.size()));
            continue;
        }
        QString error;
        if (const std::optional<RadioRecord> record = fromJsonLine(line.toByteArray(), &error))
            log.records += *record;
        else
            problem(lineNumber, error);
    }
    return log;
}

}  // namespace tavin::fleet
