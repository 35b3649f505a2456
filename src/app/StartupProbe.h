// For the start-up benchmark: once the first top-level window has painted,
// prints "shown <monotonic ns> rss_kb <resident KiB>" on stdout and ends the
// event loop. Header-only so that the benchmark's bare Qt window uses the same
// measurement as the program.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

class StartupProbe : public QObject
{
public:
    static void install()
    {
        QCoreApplication *app = QCoreApplication::instance();
        app->installEventFilter(new StartupProbe(app));
    }

protected:
    explicit StartupProbe(QObject *parent) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_fired && event->type() == QEvent::Paint) {
            const auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->isWindow()) {
                m_fired = true;
                // Right after this paint has been handled.
                QTimer::singleShot(0, QCoreApplication::instance(), [] {
                    const auto now = std::chrono::steady_clock::now().time_since_epoch();
                    std::printf("shown %lld rss_kb %ld\n",
                                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                                residentKiB());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            }
        }
        return false;
    }

private:
    static long residentKiB()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
        return 0;
    }

    bool m_fired = false;
};
