#include "einvoice/MarkupLimits.h"

#include <QStringConverter>
#include <QStringDecoder>

namespace quillio::einvoice {

namespace {

// The file as the parser reads it: UTF-16 and UTF-32 are told by their byte-order mark or their
// first '<'; anything else keeps its markup in ASCII bytes, which UTF-8 decoding leaves as they are.
QString decoded(const QByteArray& content)
{
    const std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForData(content, u'<');
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder(content);
}

// Walks the markup once, counting the attributes of start tags (an '=' outside quoted values) and
// skipping comments, character data sections, processing instructions and end tags.
class Scan
{
public:
    explicit Scan(const QString& text) : m_text(text) {}

    QString excess()
    {
        while ((m_at = m_text.indexOf(u'<', m_at)) >= 0) {
            const qsizetype start = m_at;
            if (startsWith(u"<!--"))
                skipPast(u"-->");
            else if (startsWith(u"<![CDATA["))
                skipPast(u"]]>");
            else if (startsWith(u"<?"))
                skipPast(u"?>");
            else if (startsWith(u"<!DOCTYPE")) {
                if (!skipDocumentType())
                    return atLine(start,
                                  QStringLiteral("il file dichiara attributi predefiniti (ATTLIST), che "
                                                 "una fattura elettronica non ha: non viene letto"));
            } else if (startsWith(u"</") || startsWith(u"<!"))
                skipPast(u">");
            else if (!countAttributes())
                return atLine(start, QStringLiteral("il file ha più di %1 attributi XML, troppi per una "
                                                    "fattura elettronica: non viene letto")
                                         .arg(MarkupLimits::maximumAttributes));
        }
        return {};
    }

private:
    bool startsWith(QStringView prefix) const { return QStringView(m_text).mid(m_at).startsWith(prefix); }

    void skipPast(QStringView end)
    {
        const qsizetype found = m_text.indexOf(end, m_at + 1);
        m_at = found < 0 ? m_text.size() : found + end.size();
    }

    // Moves past the document type at m_at, whose internal declarations may hold quotes, brackets
    // and '>' inside literals and comments; false when it declares attribute defaults, which the
    // parser would add to every element named, each compared with all the others.
    bool skipDocumentType()
    {
        const qsizetype start = m_at;
        int depth = 0;
        for (m_at += 2; m_at < m_text.size(); ++m_at) {
            const QChar c = m_text[m_at];
            if (startsWith(u"<!--")) {
                skipPast(u"-->");
                --m_at;
            } else if (startsWith(u"<?")) {
                skipPast(u"?>");
                --m_at;
            } else if (c == u'"' || c == u'\'') {
                const qsizetype end = m_text.indexOf(c, m_at + 1);
                m_at = end < 0 ? m_text.size() : end;
            } else if (c == u'[') {
                ++depth;
            } else if (c == u']') {
                --depth;
            } else if (c == u'>' && depth <= 0) {
                break;
            }
        }
        return !QStringView(m_text).mid(start, m_at - start).contains(QLatin1String("<!ATTLIST"));
    }

    // Counts the attributes of the start tag at m_at and moves past it; false past the limit.
    bool countAttributes()
    {
        QChar quote;
        for (++m_at; m_at < m_text.size(); ++m_at) {
            const QChar c = m_text[m_at];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'=') {
                if (++m_attributes > MarkupLimits::maximumAttributes)
                    return false;
            } else if (c == u'>' || c == u'<') {
                break;
            }
        }
        return true;
    }

    QString atLine(qsizetype position, const QString& what) const
    {
        const qsizetype line = QStringView(m_text).left(position).count(u'\n') + 1;
        return QStringLiteral("riga %1: %2").arg(line).arg(what);
    }

    const QString& m_text;
    qsizetype m_at = 0;
    int m_attributes = 0;
};

} // namespace

QString MarkupLimits::excess(const QByteArray& content)
{
    return Scan(decoded(content)).excess();
}

} // namespace quillio::einvoice
