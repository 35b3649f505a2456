#include "JsonLines.h"

namespace tavin::lists {

namespace {

class Scanner {
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    QHash<QString, int> run()
    {
        value(QString(), 0);
        return std::move(m_lines);
    }

private:
    static constexpr int kDepthLimit = 64;

    bool atEnd() const { return m_at >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_at); }

    void skipSpace()
    {
        while (!atEnd() && peek().isSpace()) {
            if (peek() == u'\n')
                ++m_line;
            ++m_at;
        }
    }

    // A string from its opening quote; its text with escapes left as written.
    QString string()
    {
        QString out;
        ++m_at;
        while (!atEnd() && peek() != u'"') {
            if (peek() == u'\\' && m_at + 1 < m_text.size()) {
                out += m_text.at(m_at + 1);
                m_at += 2;
                continue;
            }
            out += peek();
            ++m_at;
        }
        ++m_at;
        return out;
    }

    static QString join(const QString &path, const QString &part)
    {
        return path.isEmpty() ? part : path + u'/' + part;
    }

    bool value(const QString &path, int depth)
    {
        skipSpace();
        if (atEnd() || depth > kDepthLimit)
            return false;
        m_lines.insert(path, m_line);
        const QChar c = peek();
        if (c == u'{')
            return container(path, depth, u'}', true);
        if (c == u'[')
            return container(path, depth, u']', false);
        if (c == u'"') {
            string();
            return true;
        }
        while (!atEnd() && !peek().isSpace() && peek() != u',' && peek() != u']' && peek() != u'}')
            ++m_at;
        return true;
    }

    bool container(const QString &path, int depth, QChar close, bool object)
    {
        ++m_at;
        for (int index = 0;; ++index) {
            skipSpace();
            if (atEnd())
                return false;
            if (peek() == close) {
                ++m_at;
                return true;
            }
            QString key = QString::number(index);
            if (object) {
                if (peek() != u'"')
                    return false;
                key = string();
                skipSpace();
                if (peek() != u':')
                    return false;
                ++m_at;
            }
            if (!value(join(path, key), depth + 1))
                return false;
            skipSpace();
            if (peek() == u',')
                ++m_at;
            else if (peek() != close)
                return false;
        }
    }

    const QString &m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    QHash<QString, int> m_lines;
};

}  // namespace

QHash<QString, int> jsonValueLines(const QString &text)
{
    return Scanner(text).run();
}

}  // namespace tavin::lists
