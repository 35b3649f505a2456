#include "CsvTable.h"

namespace tavin::lists {

namespace {

QChar separatorOf(const QString &text)
{
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u',' || c == u';' || c == u'\t'))
            return c;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
    }
    return u',';
}

class Parser {
public:
    Parser(const QString &text, CsvTable &table) : m_text(text), m_table(table) {}

    void run()
    {
        const QChar sep = m_table.separator;
        startRecord();
        while (m_at < m_text.size()) {
            const QChar c = m_text.at(m_at);
            if (c == u'"' && m_field.trimmed().isEmpty() && !m_wasQuoted) {
                m_field.clear();
                readQuoted();
            } else if (c == sep) {
                endField();
                ++m_at;
            } else if (c == u'\r' || c == u'\n') {
                endRecord();
                skipLineEnd();
                startRecord();
            } else {
                m_field += c;
                ++m_at;
            }
        }
        if (!m_record.fields.isEmpty() || !m_field.isEmpty() || m_wasQuoted)
            endRecord();
    }

private:
    void startRecord()
    {
        m_record = CsvRecord{m_line, {}};
        m_field.clear();
        m_wasQuoted = false;
    }

    void endField()
    {
        m_record.fields << (m_wasQuoted ? m_field : m_field.trimmed());
        m_field.clear();
        m_wasQuoted = false;
    }

    void endRecord()
    {
        endField();
        m_table.records.push_back(m_record);
    }

    void skipLineEnd()
    {
        if (m_text.at(m_at) == u'\r' && m_at + 1 < m_text.size() && m_text.at(m_at + 1) == u'\n')
            ++m_at;
        ++m_at;
        ++m_line;
    }

    // From an opening quote to its closing quote; "" is one quote. Text after
    // the closing quote up to the separator is kept as it stands.
    void readQuoted()
    {
        const int openedOn = m_line;
        ++m_at;
        m_wasQuoted = true;
        while (m_at < m_text.size()) {
            const QChar c = m_text.at(m_at);
            if (c == u'"') {
                if (m_at + 1 < m_text.size() && m_text.at(m_at + 1) == u'"') {
                    m_field += u'"';
                    m_at += 2;
                    continue;
                }
                ++m_at;
                return;
            }
            if (c == u'\r' || c == u'\n') {
                m_field += u'\n';
                skipLineEnd();
                continue;
            }
            m_field += c;
            ++m_at;
        }
        if (m_table.unterminatedQuoteLine == 0)
            m_table.unterminatedQuoteLine = openedOn;
    }

    const QString &m_text;
    CsvTable &m_table;
    qsizetype m_at = 0;
    int m_line = 1;
    CsvRecord m_record;
    QString m_field;
    bool m_wasQuoted = false;
};

}  // namespace

bool CsvRecord::blank() const
{
    for (const QString &field : fields) {
        if (!field.isEmpty())
            return false;
    }
    return true;
}

CsvTable parseCsv(const QString &text)
{
    CsvTable table;
    table.separator = separatorOf(text);
    Parser(text, table).run();
    return table;
}

QString csvLine(const QStringList &fields, QChar separator, const QString &lineEnd)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        QString field = fields.at(i);
        const bool quote = field.contains(separator) || field.contains(u'"') || field.contains(u'\n')
                           || field.contains(u'\r') || field != field.trimmed();
        if (quote)
            field = u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
        line += field;
    }
    return line + lineEnd;
}

}  // namespace tavin::lists
