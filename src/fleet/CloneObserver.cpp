#include "CloneObserver.h"

namespace tavin::fleet {

namespace {

QString radioOn(const PortStatus &s)
{
    return QStringLiteral("radio %1 on %2").arg(s.radio).arg(s.label);
}

QString counts(const PortStatus &s)
{
    if (s.verified == 0 && s.failed == 0)
        return {};
    QString text = QStringLiteral("  [%1 verified").arg(s.verified);
    if (s.failed > 0)
        text += QStringLiteral(", %1 failed").arg(s.failed);
    return text + QLatin1Char(']');
}

}  // namespace

QString statusLine(const PortStatus &s, bool withBlock)
{
    const QString block = withBlock && s.block > 0 ? QStringLiteral(", block %1 of %2").arg(s.block).arg(s.blocks)
                                                     : QString();
    QString line;
    switch (s.state) {
    case PortState::Waiting:
        line = QStringLiteral("waiting for a radio on %1").arg(s.label);
        break;
    case PortState::Backup:
        line = radioOn(s) + QStringLiteral(": reading the backup") + block;
        break;
    case PortState::Writing:
        line = radioOn(s) + QStringLiteral(": writing") + block;
        break;
    case PortState::ReadingBack:
        line = radioOn(s) + QStringLiteral(": reading back") + block;
        break;
    case PortState::RadioDone:
        line = radioOn(s) + QStringLiteral(": %1 — connect the next radio").arg(s.note);
        break;
    case PortState::Confirm:
        line = radioOn(s) + QStringLiteral(": %1 — connect the next radio and press Enter").arg(s.note);
        break;
    case PortState::PortMissing:
        line = QStringLiteral("%1: %2; trying again").arg(s.label, s.note);
        break;
    case PortState::Stopped:
        line = QStringLiteral("%1: stopped").arg(s.label);
        break;
    }
    return line + counts(s);
}

}  // namespace tavin::fleet
