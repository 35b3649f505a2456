#include "DoctorReport.h"

#include "NativePath.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavin::doctor {

QString verdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Ok:
        return QStringLiteral("ok");
    case Verdict::Warn:
        return QStringLiteral("warn");
    case Verdict::Fail:
        return QStringLiteral("fail");
    case Verdict::Skip:
        break;
    }
    return QStringLiteral("skip");
}

QString DoctorReport::text() const
{
    QString out;
    const QString indent(6, QLatin1Char(' '));
    for (const Finding &f : findings) {
        const QString mark = f.verdict == Verdict::Fail ? QStringLiteral("FAIL") : verdictName(f.verdict);
        out += mark.leftJustified(6) + f.summary + QLatin1Char('\n');
        for (const QString &d : f.details)
            out += indent + d + QLatin1Char('\n');
        if (!f.fix.isEmpty() && f.verdict != Verdict::Ok)
            out += indent + QStringLiteral("fix: ") + f.fix + QLatin1Char('\n');
    }
    const QString port = portText();
    switch (conclusion()) {
    case Conclusion::PortNotReady:
        out += QStringLiteral("\nThe port %1 is not ready.\n").arg(port);
        break;
    case Conclusion::PortReady:
        out += QStringLiteral("\nThe port %1 is ready. Add --port %2 to ask the radio too.\n").arg(port, portName);
        break;
    case Conclusion::RadioAnswered:
        out += QStringLiteral("\nThe port %1 is ready and a radio answered.\n").arg(port);
        break;
    case Conclusion::NoRadioAnswer:
        out += QStringLiteral("\nThe port %1 is ready, but no radio answered.\n").arg(port);
        break;
    }
    return out;
}

DoctorReport::Conclusion DoctorReport::conclusion() const
{
    if (!portReady)
        return Conclusion::PortNotReady;
    if (!probed)
        return Conclusion::PortReady;
    return radioAnswered ? Conclusion::RadioAnswered : Conclusion::NoRadioAnswer;
}

QString DoctorReport::portText() const
{
    return device.isEmpty() || device == portName ? portName : QStringLiteral("%1 (%2)").arg(portName, device);
}

QByteArray DoctorReport::json(int exitCode) const
{
    QJsonArray checks;
    for (const Finding &f : findings) {
        QStringList details;
        for (const QString &d : f.details)
            details << platform::shown(d);
        QJsonObject o{{QStringLiteral("check"), f.check},
                      {QStringLiteral("verdict"), verdictName(f.verdict)},
                      {QStringLiteral("summary"), platform::shown(f.summary)},
                      {QStringLiteral("details"), QJsonArray::fromStringList(details)}};
        o.insert(QStringLiteral("fix"),
                 f.fix.isEmpty() || f.verdict == Verdict::Ok ? QJsonValue() : QJsonValue(platform::shown(f.fix)));
        checks.append(o);
    }
    QJsonObject root{{QStringLiteral("port"), platform::shown(portName)},
                     {QStringLiteral("device"), device.isEmpty() ? QJsonValue() : QJsonValue(platform::shown(device))},
                     {QStringLiteral("ready"), portReady},
                     {QStringLiteral("checks"), checks},
                     {QStringLiteral("exitCode"), exitCode}};
    if (probed) {
        root.insert(QStringLiteral("radioAnswered"), radioAnswered);
        root.insert(QStringLiteral("identity"),
                    identity.isEmpty() ? QJsonValue() : QJsonValue(QString::fromLatin1(identity.toHex(' '))));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace tavin::doctor
