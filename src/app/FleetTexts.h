// The fleet window's words for what the fleet code reports (port states,
// results, reasons, problems): Chinese source texts through Qt's
// translation, built from the run's events and records, never from the
// English of tavin-cli and the audit log.
#pragma once

#include "CloneObserver.h"
#include "CloneRun.h"
#include "RadioRecord.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class FleetTexts
{
    Q_DECLARE_TR_FUNCTIONS(FleetTexts)

public:
    // "第 3 台：正在写入", "等待对讲机", ...
    static QString portState(const tavin::fleet::PortStatus &status);
    // The radios of one port so far: "核对无误 2 台，未成功 1 台".
    static QString portRadios(int verified, int failed);
    // "核对无误", "核对不符", "失败", "已取消".
    static QString result(tavin::fleet::RadioResult result);
    // A radio still being programmed.
    static QString inProgress();
    // Why a radio did not end verified, in a sentence; empty for a verified one.
    static QString reason(const tavin::fleet::RadioRecord &record);
    // "核对无误：3 台　未成功：1 台".
    static QString totals(int verified, int failed);
    // The end of a run, as clone --summary gives it: the totals, then per
    // port its counts and each radio that did not end verified.
    static QString summary(const QList<tavin::fleet::RadioRecord> &records, const QStringList &ports,
                           const QStringList &labels);
    // Why a run cannot start.
    static QString problem(const tavin::fleet::Problem &problem);
};
