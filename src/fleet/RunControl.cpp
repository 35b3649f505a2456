#include "RunControl.h"

#include "DurableAppend.h"
#include "NativePath.h"

#include <algorithm>

namespace tavin::fleet {

RunControl::RunControl(int count, QString logPath) : m_count(count), m_logPath(std::move(logPath)) {}

void RunControl::cancel()
{
    QMutexLocker lock(&m_mutex);
    m_cancelled = true;
    m_changed.wakeAll();
}

void RunControl::finish()
{
    QMutexLocker lock(&m_mutex);
    m_finishing = true;
    m_changed.wakeAll();
}

bool RunControl::noNewRadios() const
{
    return m_cancelled.load() || m_finishing.load() || countReached();
}

std::optional<int> RunControl::claimRadio()
{
    int claimed = m_claimed.load();
    do {
        if (m_cancelled.load() || m_finishing.load() || (m_count > 0 && claimed >= m_count))
            return std::nullopt;
    } while (!m_claimed.compare_exchange_weak(claimed, claimed + 1));
    if (countReached()) {
        // Ports waiting for Enter have nothing more to wait for.
        QMutexLocker lock(&m_mutex);
        m_changed.wakeAll();
    }
    return claimed + 1;
}

FileResult RunControl::keep(const RadioRecord &record)
{
    QMutexLocker logLock(&m_logMutex);
    const QByteArray line = toJsonLine(record);
    const FileResult appended = appendLineDurably(platform::toNative(m_logPath),
                                                  std::string_view(line.constData(), std::size_t(line.size())), "audit log");
    QMutexLocker lock(&m_mutex);
    m_records.append(record);
    if (!appended && m_logError.isEmpty()) {
        m_logError = QString::fromStdString(appended.error);
        m_finishing = true;
        m_changed.wakeAll();
    }
    return appended;
}

QList<RadioRecord> RunControl::records() const
{
    QMutexLocker lock(&m_mutex);
    return m_records;
}

QString RunControl::logError() const
{
    QMutexLocker lock(&m_mutex);
    return m_logError;
}

bool RunControl::waitForGoAhead(int index, const std::function<void()> &waiting)
{
    QMutexLocker lock(&m_mutex);
    m_waiting.push_back(index);
    if (waiting) {
        // Told without the lock: whoever hears it may give the go-ahead at once.
        lock.unlock();
        waiting();
        lock.relock();
    }
    for (;;) {
        const auto released = std::find(m_released.begin(), m_released.end(), index);
        if (released != m_released.end()) {
            m_released.erase(released);
            return true;
        }
        if (m_cancelled.load() || m_finishing.load() || countReached()) {
            m_waiting.erase(std::remove(m_waiting.begin(), m_waiting.end(), index), m_waiting.end());
            return false;
        }
        m_changed.wait(&m_mutex);
    }
}

QList<int> RunControl::portsWaitingForEnter() const
{
    QMutexLocker lock(&m_mutex);
    return QList<int>(m_waiting.begin(), m_waiting.end());
}

bool RunControl::goAhead(int index)
{
    QMutexLocker lock(&m_mutex);
    const auto waiting = std::find(m_waiting.begin(), m_waiting.end(), index);
    if (waiting == m_waiting.end())
        return false;
    m_waiting.erase(waiting);
    m_released.push_back(index);
    m_changed.wakeAll();
    return true;
}

bool RunControl::goAhead()
{
    QMutexLocker lock(&m_mutex);
    if (m_waiting.empty())
        return false;
    m_released.push_back(m_waiting.front());
    m_waiting.pop_front();
    m_changed.wakeAll();
    return true;
}

}  // namespace tavin::fleet
