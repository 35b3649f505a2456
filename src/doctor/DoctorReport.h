// What the doctor found: one verdict per check, with the command that fixes
// a failure, and whether the port is ready.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tavin::doctor {

enum class Verdict { Ok, Warn, Fail, Skip };

struct Finding {
    QString check;        // "serial-ports", "brltty", "modemmanager", "permission", "in-use", "mapping", "radio"
    Verdict verdict = Verdict::Ok;
    QString summary;      // one line
    QString fix;          // the command that fixes it (empty when nothing to fix)
    QStringList details;  // further lines
};

struct DoctorReport {
    QString portName;     // as asked ("COM1" or a device path)
    QString device;       // what it stands for; empty when nothing
    bool portReady = false;
    bool probed = false;  // the radio was asked (--port)
    bool radioAnswered = false;
    bool portOpenedForProbe = true;
    QByteArray identity;  // the radio's identity reply
    QList<Finding> findings;

    // What the checks add up to: the port not ready; ready (the radio not
    // asked); ready and a radio answered; ready but no radio answered.
    enum class Conclusion { PortNotReady, PortReady, RadioAnswered, NoRadioAnswer };
    Conclusion conclusion() const;
    // The port as the conclusion names it: "COM1 (/dev/ttyUSB0)", or the name
    // alone when it is the device itself or stands for none.
    QString portText() const;

    // Verdict lines, each failure followed by its fix, then the conclusion.
    QString text() const;
    // The same as one JSON object; exitCode is included as given.
    QByteArray json(int exitCode) const;
};

QString verdictName(Verdict verdict);

}  // namespace tavin::doctor
