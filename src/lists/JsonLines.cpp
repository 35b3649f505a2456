#include "JsonLines.h"

namespace tavin::lists {

namespace {

class Scanner {
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    JsonLines run()
    {
        value(QString(), 0);
        return std::move(m_result);
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

    // A string from its opening quote, escapes decoded as a JSON reader does.
    QString string()
    {
        QString out;
        ++m_at;
        while (!atEnd() && peek() != u'"') {
            if (peek() != u'\\' || m_at + 1 >= m_text.size()) {
                out += peek();
                ++m_at;
                continue;
            }
            const QChar escaped = m_text.at(m_at + 1);
            m_at += 2;
            switch (escaped.unicode()) {
            case 'b': out += u'\b'; break;
            case 'f': out += u'\f'; break;
            case 'n': out += u'\n'; break;
            case 'r': out += u'\r'; break;
            case 't': out += u'\t'; break;
            case 'u': {
                bool ok = false;
                const char16_t unit = char16_t(m_text.mid(m_at, 4).toUShort(&ok, 16));
                if (ok) {
                    out += QChar(unit);  // a surrogate pair arrives as its two halves
                    m_at += 4;
                }
                break;
            }
            default: out += escaped; break;  // \" \\ \/
            }
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
        m_result.valueLines.insert(path, m_line);
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
        QHash<QString, int> keyLines;  // this object's keys so far
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
                const int line = m_line;
                key = string();
                if (const auto first = keyLines.constFind(key); first != keyLines.constEnd())
                    m_result.repeatedKeys.push_back({key, line, first.value()});
                else
                    keyLines.insert(key, line);
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
    JsonLines m_result;
};

}  // namespace

JsonLines scanJsonLines(const QString &text)
{
    return Scanner(text).run();
}

}  // namespace tavin::lists
