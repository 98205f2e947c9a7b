#include "engine/LocalSql.h"

#include "engine/EngineError.h"

#include <QSet>

namespace quillio::engine {

namespace {

constexpr int MaxQuotedLength = 255;
constexpr int MaxCharWidth = 255;
constexpr int MaxColumns = 1000;
constexpr int MaxShownStatement = 200;

struct Token
{
    enum class Kind { Word, Quoted, Symbol, End };
    Kind kind = Kind::End;
    QString text;
    int position = 0;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'-' || c == u'~' || c == u'#';
}

class Parser
{
public:
    explicit Parser(const QString& text) : m_text(text) {}

    LocalStatement parse()
    {
        tokenize();
        LocalStatement statement;
        if (acceptKeyword("CREATE")) {
            expectKeyword("TABLE");
            statement.kind = LocalStatement::Kind::CreateTable;
            statement.fileName = fileName();
            statement.columns = columnList();
        } else if (acceptKeyword("SELECT")) {
            statement.kind = LocalStatement::Kind::Select;
            expectSymbol(u'*', "expected * after SELECT");
            expectKeyword("FROM");
            statement.fileName = fileName();
            if (acceptKeyword("ORDER")) {
                expectKeyword("BY");
                statement.orderBy = columnName();
                if (acceptKeyword("DESC"))
                    statement.descending = true;
                else
                    acceptKeyword("ASC");
            }
        } else {
            fail(QStringLiteral("only CREATE TABLE and SELECT statements are supported"));
        }
        acceptSymbol(u';');
        if (current().kind != Token::Kind::End)
            fail(QStringLiteral("unexpected text at position %1").arg(current().position + 1));
        return statement;
    }

private:
    [[noreturn]] void fail(const QString& reason) const
    {
        throw EngineError(
            QStringLiteral("Invalid SQL statement \"%1\": %2.").arg(LocalSql::shown(m_text), reason));
    }

    void tokenize()
    {
        int i = 0;
        const int n = int(m_text.size());
        while (i < n) {
            const QChar c = m_text.at(i);
            if (c.isSpace()) {
                ++i;
            } else if (c == u'"') {
                Token token{Token::Kind::Quoted, {}, i};
                ++i;
                bool closed = false;
                while (i < n) {
                    if (m_text.at(i) == u'"') {
                        if (i + 1 < n && m_text.at(i + 1) == u'"') {
                            token.text += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    token.text += m_text.at(i++);
                }
                if (!closed)
                    fail(QStringLiteral("a quoted name is not closed"));
                m_tokens.append(token);
            } else if (isWordChar(c)) {
                Token token{Token::Kind::Word, {}, i};
                while (i < n && isWordChar(m_text.at(i)))
                    token.text += m_text.at(i++);
                m_tokens.append(token);
            } else if (c == u'(' || c == u')' || c == u',' || c == u'*' || c == u';') {
                m_tokens.append(Token{Token::Kind::Symbol, QString(c), i});
                ++i;
            } else {
                fail(QStringLiteral("unexpected character at position %1").arg(i + 1));
            }
        }
        m_tokens.append(Token{Token::Kind::End, {}, int(n)});
    }

    const Token& current() const { return m_tokens.at(m_index); }
    void advance()
    {
        if (m_index + 1 < m_tokens.size())
            ++m_index;
    }

    bool isKeyword(const Token& token, const char* keyword) const
    {
        return token.kind == Token::Kind::Word &&
               token.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }

    bool acceptKeyword(const char* keyword)
    {
        if (!isKeyword(current(), keyword))
            return false;
        advance();
        return true;
    }

    void expectKeyword(const char* keyword)
    {
        if (!acceptKeyword(keyword))
            fail(QStringLiteral("expected %1").arg(QLatin1String(keyword)));
    }

    bool acceptSymbol(QChar symbol)
    {
        if (current().kind != Token::Kind::Symbol || current().text.at(0) != symbol)
            return false;
        advance();
        return true;
    }

    void expectSymbol(QChar symbol, const char* reason)
    {
        if (!acceptSymbol(symbol))
            fail(QString::fromLatin1(reason));
    }

    static bool hasControlCharacters(const QString& text)
    {
        for (const QChar c : text) {
            if (c.category() == QChar::Other_Control)
                return true;
        }
        return false;
    }

    QString fileName()
    {
        const Token token = current();
        if (token.kind != Token::Kind::Word && token.kind != Token::Kind::Quoted)
            fail(QStringLiteral("expected a file name"));
        QString name = token.text;
        if (name.isEmpty() || name.trimmed().isEmpty())
            fail(QStringLiteral("the file name is empty"));
        if (name.size() > MaxQuotedLength || hasControlCharacters(name))
            fail(QStringLiteral("the file name is not valid"));
        if (name.contains(u'/') || name.contains(u'\\') || name.contains(u':') ||
            name == QLatin1String(".") || name == QLatin1String(".."))
            fail(QStringLiteral("the file name %1 must not name a directory").arg(name));
        advance();
        return name;
    }

    QString columnName()
    {
        const Token token = current();
        if (token.kind == Token::Kind::Word) {
            const QString& name = token.text;
            bool valid = name.at(0).isLetter() || name.at(0) == u'_';
            for (const QChar c : name)
                valid = valid && (c.isLetterOrNumber() || c == u'_');
            if (!valid)
                fail(QStringLiteral("%1 is not a valid column name").arg(name));
        } else if (token.kind == Token::Kind::Quoted) {
            if (token.text.trimmed().isEmpty() || token.text.size() > MaxQuotedLength ||
                hasControlCharacters(token.text))
                fail(QStringLiteral("a quoted column name is not valid"));
        } else {
            fail(QStringLiteral("expected a column name"));
        }
        advance();
        return token.text;
    }

    int smallNumber()
    {
        const Token token = current();
        bool ok = token.kind == Token::Kind::Word && !token.text.isEmpty() && token.text.size() <= 6;
        for (const QChar c : token.text)
            ok = ok && c >= u'0' && c <= u'9';
        if (!ok)
            fail(QStringLiteral("expected a number"));
        advance();
        return token.text.toInt();
    }

    FieldType columnType(FieldDef& column)
    {
        if (acceptKeyword("AUTOINC"))
            return FieldType::AutoInc;
        if (acceptKeyword("NUMERIC"))
            return FieldType::Numeric;
        if (acceptKeyword("DATE"))
            return FieldType::Date;
        if (acceptKeyword("BOOLEAN"))
            return FieldType::Boolean;
        if (acceptKeyword("CHAR")) {
            expectSymbol(u'(', "expected ( after CHAR");
            const int width = smallNumber();
            if (width < 1 || width > MaxCharWidth)
                fail(QStringLiteral("the width of CHAR column %1 must be from 1 to %2")
                         .arg(column.name)
                         .arg(MaxCharWidth));
            expectSymbol(u')', "expected ) after the CHAR width");
            column.width = width;
            return FieldType::Char;
        }
        if (acceptKeyword("BLOB")) {
            expectSymbol(u'(', "expected ( after BLOB");
            const int size = smallNumber();
            expectSymbol(u',', "expected , in BLOB(1,1)");
            const int subtype = smallNumber();
            expectSymbol(u')', "expected ) after BLOB(1,1");
            if (size != 1 || subtype != 1)
                fail(QStringLiteral("only the memo type BLOB(1,1) is supported"));
            return FieldType::Memo;
        }
        fail(QStringLiteral("column %1 has no valid type").arg(column.name));
    }

    FieldDefs columnList()
    {
        expectSymbol(u'(', "expected ( before the column list");
        FieldDefs columns;
        QSet<QString> seen;
        bool hasAutoInc = false;
        do {
            if (columns.size() >= MaxColumns)
                fail(QStringLiteral("a table has at most %1 columns").arg(MaxColumns));
            FieldDef column;
            column.name = columnName();
            const QString key = column.name.toCaseFolded();
            if (seen.contains(key))
                fail(QStringLiteral("column %1 is declared twice").arg(column.name));
            if (LocalSql::isReservedColumnName(column.name))
                fail(QStringLiteral("the column name %1 is reserved").arg(column.name));
            seen.insert(key);
            column.type = columnType(column);
            if (column.type == FieldType::AutoInc) {
                if (hasAutoInc)
                    fail(QStringLiteral("a table has at most one AUTOINC column"));
                hasAutoInc = true;
            }
            columns.append(column);
        } while (acceptSymbol(u','));
        expectSymbol(u')', "expected , or ) in the column list");
        return columns;
    }

    const QString& m_text;
    QList<Token> m_tokens;
    qsizetype m_index = 0;
};

} // namespace

LocalStatement LocalSql::parse(const QString& text)
{
    return Parser(text).parse();
}

QString LocalSql::shown(const QString& text)
{
    QString shown = text.simplified();
    if (shown.size() > MaxShownStatement)
        shown = shown.left(MaxShownStatement) + QStringLiteral("...");
    return shown;
}

bool LocalSql::isReservedColumnName(const QString& name)
{
    static const QStringList reserved = {QStringLiteral("rowid"), QStringLiteral("oid"),
                                         QStringLiteral("_rowid_"), QStringLiteral("quillio_version"),
                                         QStringLiteral("quillio_rowid")};
    return reserved.contains(name, Qt::CaseInsensitive);
}

} // namespace quillio::engine
