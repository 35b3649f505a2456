#include "FakeCable.h"

namespace tavin::test {

namespace {

class FakeWorkerPort final : public fleet::WorkerPort, public link::SerialLink {
public:
    explicit FakeWorkerPort(const FakeBench &bench) : m_bench(bench) {}

    link::SerialLink &link() override { return *this; }
    QString device() const override { return m_name; }
    fleet::PortProblem problem() const override
    {
        return m_cable ? m_cable->problem() : fleet::PortProblem::NoDevice;
    }
    QString errorString() const override { return QStringLiteral("no such device"); }

    bool open(const QString &portName) override
    {
        m_name = portName;
        m_cable = m_bench.cable(portName);
        return m_cable && m_cable->open();
    }
    void clear() override { if (m_cable) m_cable->clear(); }
    void clearAndAbort() override { clear(); }
    link::ReadResult read(int count) override { return m_cable ? m_cable->read(count) : link::ReadResult{}; }
    bool write(const QByteArray &bytes) override { return m_cable && m_cable->write(bytes); }
    void close() override { if (m_cable) m_cable->close(); }
    bool isOpen() const override { return m_cable && m_cable->isOpen(); }

private:
    const FakeBench &m_bench;
    FakeCable *m_cable = nullptr;
    QString m_name;
};

}  // namespace

fleet::WorkerPortFactory FakeBench::factory()
{
    return [this] { return std::make_unique<FakeWorkerPort>(*this); };
}

FakeCable::FakeCable(QList<ScriptedRadio> radios, int gapOpens, int pulledOpens)
    : m_script(std::move(radios)), m_gapOpens(gapOpens), m_pulledOpens(pulledOpens)
{
    plugInNext();
}

QByteArray FakeCable::memoryOf(const FakeRadioLink &radio) const
{
    return QByteArray(reinterpret_cast<const char *>(radio.m_memory.data()), int(radio.m_memory.size()));
}

void FakeCable::plugInNext()
{
    m_emptyOpens = 0;
    if (m_next >= m_script.size())
        return;
    const ScriptedRadio &scripted = m_script.at(m_next);
    m_radio = std::make_unique<FakeRadioLink>(m_trace, scripted.config);
    // A memory of its own.
    for (std::size_t i = 0; i < m_radio->m_memory.size(); ++i)
        m_radio->m_memory[i] = static_cast<std::uint8_t>(i * 5 + 17 * (m_next + 1));
    m_opensSinceBlocks = 0;
    m_radioStarted = false;
    m_history.append({memoryOf(*m_radio), {}, 0});
    ++m_next;
}

void FakeCable::unplug()
{
    m_history.last().final = memoryOf(*m_radio);
    m_radio.reset();
    m_emptyOpens = 0;
    m_trace.clear();
}

bool FakeCable::open()
{
    ++m_opensSeen;
    if (m_pulled) {
        if (++m_emptyOpens <= m_pulledOpens)
            return false;
        m_pulled = false;
        plugInNext();
    }
    if (m_radio) {
        const int stays = m_script.at(m_next - 1).staysForOpens;
        if (m_radioStarted && stays >= 0 && ++m_opensSinceBlocks > stays)
            unplug();
    }
    if (!m_radio && ++m_emptyOpens > m_gapOpens)
        plugInNext();
    m_open = true;
    if (m_radio)
        m_radio->open(QStringLiteral("cable"));
    return true;
}

void FakeCable::clear()
{
    if (m_radio && !m_pulled)
        m_radio->clear();
}

link::ReadResult FakeCable::read(int count)
{
    if (m_pulled || !m_open)
        return {};
    if (!m_radio)
        return {true, {}};  // an empty line: nothing ever comes
    return m_radio->read(count);
}

bool FakeCable::write(const QByteArray &bytes)
{
    if (m_pulled || !m_open)
        return false;
    if (!m_radio)
        return true;
    const bool blockCommand = bytes.size() == 4 && (bytes.at(0) == 0x52 || bytes.at(0) == 0x57);
    if (blockCommand) {
        m_radioStarted = true;
        m_opensSinceBlocks = 0;
    }
    if (blockCommand && bytes.at(0) == 0x57) {
        const int block = (static_cast<std::uint8_t>(bytes.at(1)) * 256 + static_cast<std::uint8_t>(bytes.at(2))) / 8;
        if (block == m_script.at(m_next - 1).pulledAtWriteBlock) {
            m_pulled = true;
            m_emptyOpens = 0;
            unplug();
            return false;
        }
        ++m_history.last().writeCommands;
    }
    return m_radio->write(bytes);
}

void FakeCable::close()
{
    m_open = false;
    if (m_radio)
        m_radio->close();
}

QList<RadioHistory> FakeCable::histories() const
{
    QList<RadioHistory> out = m_history;
    if (m_radio)
        out.last().final = memoryOf(*m_radio);
    return out;
}

}  // namespace tavin::test
