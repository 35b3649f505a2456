// Asks the radio on a port who it is: the handshake up to the identity reply,
// no memory read or written.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavin::doctor {

struct ProbeResult {
    bool opened = false;    // the port could be opened
    bool answered = false;  // a radio gave its identity
    QByteArray identity;
    QString error;          // why the port could not be opened
};

class RadioProber {
public:
    virtual ~RadioProber() = default;
    virtual ProbeResult probe(const QString &portName) = 0;
};

// Over the serial port, as a transfer would open it; one round of probes,
// no retries.
class SerialRadioProber final : public RadioProber {
public:
    ProbeResult probe(const QString &portName) override;
};

}  // namespace tavin::doctor
