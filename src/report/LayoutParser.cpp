#include "report/LayoutParser.h"

#include "platform/RegularFile.h"
#include "report/LayoutLimits.h"
#include "report/ReportError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>
#include <cmath>

namespace quillio::report {

namespace {

const QStringList styleAttributes = {"style", "font", "size", "bold", "italic", "color", "align", "valign"};

struct PaperName
{
    const char* name;
    QPageSize::PageSizeId id;
};
const PaperName paperNames[] = {
    {"A3", QPageSize::A3}, {"A4", QPageSize::A4},         {"A5", QPageSize::A5},
    {"A6", QPageSize::A6}, {"Letter", QPageSize::Letter}, {"Legal", QPageSize::Legal},
};

// Reads one layout document. Each element has its own reader; every one of them stops at the
// first fault with the position of the reader, which is where the fault lies.
class Reader
{
public:
    Reader(const QByteArray& content, const QString& path) : m_xml(content), m_path(path) {}

    LayoutFile readFile()
    {
        if (!m_xml.readNextStartElement())
            failXml();
        if (m_xml.name() != u"reports")
            fail(QStringLiteral("the root element must be <reports>, not <%1>").arg(m_xml.name()));
        LayoutFile file;
        file.path = m_path;
        const QString active = optionalText(QStringLiteral("active"));
        checkAttributes({"active"});
        while (nextChild()) {
            expectElement(u"report");
            file.reports.append(readReport());
        }
        finishDocument();
        if (file.reports.isEmpty())
            fail(QStringLiteral("the file holds no <report>"));
        file.active = activeIndex(file, active);
        return file;
    }

private:
    [[noreturn]] void fail(const QString& reason) const
    {
        throw ReportError(QStringLiteral("Invalid report layout \"%1\", line %2, column %3: %4")
                              .arg(QDir::toNativeSeparators(m_path))
                              .arg(m_xml.lineNumber())
                              .arg(m_xml.columnNumber())
                              .arg(reason));
    }

    // A value out of its range: said in the person's language, in the same place as the others.
    [[noreturn]] void refuse(const QString& reason) const
    {
        throw ReportError(QStringLiteral("Modello di stampa \"%1\" non valido, riga %2, colonna %3: %4")
                              .arg(QDir::toNativeSeparators(m_path))
                              .arg(m_xml.lineNumber())
                              .arg(m_xml.columnNumber())
                              .arg(reason));
    }

    [[noreturn]] void failXml() const
    {
        fail(m_xml.hasError() ? m_xml.errorString() : QStringLiteral("the file holds no element"));
    }

    // Moves to the next child element of the current one; false at its end tag.
    bool nextChild()
    {
        if (m_xml.readNextStartElement())
            return true;
        if (m_xml.hasError())
            failXml();
        return false;
    }

    void finishDocument()
    {
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isStartElement())
                fail(QStringLiteral("only one <reports> element is allowed"));
        }
        if (m_xml.hasError())
            failXml();
    }

    // Refuses any element but the one expected here; returns true so it can guard a branch.
    bool expectElement(QStringView name)
    {
        if (m_xml.name() != name)
            fail(QStringLiteral("unknown element <%1>").arg(m_xml.name()));
        return true;
    }

    void skipEmptyElement()
    {
        if (nextChild())
            fail(QStringLiteral("unknown element <%1>").arg(m_xml.name()));
    }

    void checkAttributes(const QStringList& allowed) const
    {
        for (const QXmlStreamAttribute& attribute : m_xml.attributes())
            if (!allowed.contains(attribute.name().toString()))
                fail(QStringLiteral("unknown attribute \"%1\" of <%2>").arg(attribute.name(), m_xml.name()));
    }

    QString optionalText(const QString& name) const { return m_xml.attributes().value(name).toString(); }

    bool has(const QString& name) const { return m_xml.attributes().hasAttribute(name); }

    QString requiredText(const QString& name) const
    {
        if (!has(name))
            fail(QStringLiteral("<%1> needs the attribute \"%2\"").arg(m_xml.name(), name));
        return optionalText(name);
    }

    qreal number(const QString& name, qreal fallback) const
    {
        return has(name) ? requiredNumber(name) : fallback;
    }

    qreal requiredNumber(const QString& name) const
    {
        const QString text = requiredText(name);
        bool ok = false;
        const qreal value = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            fail(QStringLiteral("\"%1\" is not a number (attribute \"%2\")").arg(text, name));
        return value;
    }

    qreal positive(const QString& name, qreal value) const
    {
        if (value <= 0)
            fail(QStringLiteral("the attribute \"%1\" must be greater than zero").arg(name));
        return value;
    }

    qreal bounded(const QString& name, qreal value, qreal minimum, qreal maximum, const QString& unit) const
    {
        if (value < minimum || value > maximum)
            refuse(QStringLiteral("l'attributo \"%1\" vale %2, ma deve essere tra %3 e %4 %5")
                       .arg(name, has(name) ? optionalText(name).trimmed() : QString::number(value),
                            QString::number(minimum), QString::number(maximum), unit));
        return value;
    }

    // A position or a length across the page, or down it: within the page.
    qreal across(const QString& name, qreal value) const
    {
        return bounded(name, value, 0, m_page.width(), QStringLiteral("mm (la larghezza della pagina)"));
    }
    qreal down(const QString& name, qreal value) const
    {
        return bounded(name, value, 0, m_page.height(), QStringLiteral("mm (l'altezza della pagina)"));
    }
    qreal thickness(const QString& name, qreal value) const
    {
        return bounded(name, value, 0, LayoutLimits::thickestLine, QStringLiteral("mm"));
    }

    int wholeNumber(const QString& name, int fallback, int minimum, int maximum) const
    {
        if (!has(name))
            return fallback;
        const QString text = optionalText(name);
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (!ok)
            fail(QStringLiteral("\"%1\" is not a whole number (attribute \"%2\")").arg(text, name));
        if (value < minimum || value > maximum)
            fail(QStringLiteral("the attribute \"%1\" must lie between %2 and %3")
                     .arg(name)
                     .arg(minimum)
                     .arg(maximum));
        return value;
    }

    bool flag(const QString& name, bool fallback) const
    {
        if (!has(name))
            return fallback;
        const QString text = optionalText(name).trimmed().toLower();
        if (text == u"true" || text == u"yes" || text == u"1")
            return true;
        if (text == u"false" || text == u"no" || text == u"0")
            return false;
        fail(QStringLiteral("\"%1\" is not true or false (attribute \"%2\")").arg(optionalText(name), name));
    }

    QColor color(const QString& name, const QColor& fallback) const
    {
        if (!has(name))
            return fallback;
        const QString text = optionalText(name).trimmed();
        if (text == u"none")
            return {};
        const QColor value = QColor::fromString(text);
        if (!value.isValid())
            fail(QStringLiteral("\"%1\" is not a colour (attribute \"%2\")").arg(text, name));
        return value;
    }

    QRectF box() const
    {
        return {across(QStringLiteral("x"), requiredNumber(QStringLiteral("x"))),
                down(QStringLiteral("y"), requiredNumber(QStringLiteral("y"))),
                across(QStringLiteral("width"),
                       positive(QStringLiteral("width"), requiredNumber(QStringLiteral("width")))),
                down(QStringLiteral("height"),
                     positive(QStringLiteral("height"), requiredNumber(QStringLiteral("height"))))};
    }

    ReportDefinition readReport()
    {
        checkAttributes({"name", "paper", "width", "height", "orientation"});
        ReportDefinition report;
        report.name = requiredText(QStringLiteral("name"));
        report.pageSize = pageSize();
        report.orientation = orientation();
        m_page = report.pageSize.size(QPageSize::Millimeter);
        if (report.orientation == QPageLayout::Landscape)
            m_page.transpose();
        m_styles.clear();
        while (nextChild()) {
            if (m_xml.name() == u"style")
                readStyle();
            else if (expectElement(u"page"))
                report.pages.append(readPage());
        }
        if (report.pages.isEmpty())
            fail(QStringLiteral("the report \"%1\" has no <page>").arg(report.name));
        return report;
    }

    QPageSize pageSize() const
    {
        if (has(QStringLiteral("width")) || has(QStringLiteral("height"))) {
            const QSizeF size(paperSide(QStringLiteral("width")), paperSide(QStringLiteral("height")));
            return QPageSize(size, QPageSize::Millimeter);
        }
        const QString paper = optionalText(QStringLiteral("paper"));
        if (paper.isEmpty())
            return QPageSize(QPageSize::A4);
        for (const PaperName& known : paperNames)
            if (paper.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
                return QPageSize(known.id);
        fail(QStringLiteral("unknown paper \"%1\"").arg(paper));
    }

    qreal paperSide(const QString& name) const
    {
        return bounded(name, positive(name, requiredNumber(name)), LayoutLimits::smallestPaper,
                       LayoutLimits::largestPaper, QStringLiteral("mm"));
    }

    QPageLayout::Orientation orientation() const
    {
        const QString text = optionalText(QStringLiteral("orientation"));
        if (text.isEmpty() || text == u"portrait")
            return QPageLayout::Portrait;
        if (text == u"landscape")
            return QPageLayout::Landscape;
        fail(QStringLiteral("unknown orientation \"%1\"").arg(text));
    }

    void readStyle()
    {
        QStringList allowed = styleAttributes;
        allowed.replace(0, QStringLiteral("name"));
        allowed.append(QStringLiteral("base"));
        checkAttributes(allowed);
        const QString name = requiredText(QStringLiteral("name"));
        TextStyle base =
            has(QStringLiteral("base")) ? namedStyle(optionalText(QStringLiteral("base"))) : TextStyle{};
        m_styles.insert(name, styleOver(base));
        skipEmptyElement();
    }

    TextStyle namedStyle(const QString& name) const
    {
        const auto found = m_styles.constFind(name);
        if (found == m_styles.constEnd())
            fail(QStringLiteral("unknown style \"%1\"").arg(name));
        return *found;
    }

    // The style named by the element (or the default one) with the element's own attributes over it.
    TextStyle elementStyle() const
    {
        return styleOver(has(QStringLiteral("style")) ? namedStyle(optionalText(QStringLiteral("style")))
                                                      : TextStyle{});
    }

    TextStyle styleOver(TextStyle style) const
    {
        if (has(QStringLiteral("font")))
            style.family = optionalText(QStringLiteral("font"));
        style.size = bounded(QStringLiteral("size"),
                             positive(QStringLiteral("size"), number(QStringLiteral("size"), style.size)),
                             LayoutLimits::smallestFont, LayoutLimits::largestFont, QStringLiteral("punti"));
        style.bold = flag(QStringLiteral("bold"), style.bold);
        style.italic = flag(QStringLiteral("italic"), style.italic);
        style.color = color(QStringLiteral("color"), style.color);
        style.horizontal = horizontalAlignment(style.horizontal);
        style.vertical = verticalAlignment(style.vertical);
        return style;
    }

    Qt::Alignment horizontalAlignment(Qt::Alignment fallback) const
    {
        const QString text = optionalText(QStringLiteral("align"));
        if (text.isEmpty())
            return fallback;
        if (text == u"left")
            return Qt::AlignLeft;
        if (text == u"center")
            return Qt::AlignHCenter;
        if (text == u"right")
            return Qt::AlignRight;
        fail(QStringLiteral("unknown alignment \"%1\"").arg(text));
    }

    Qt::Alignment verticalAlignment(Qt::Alignment fallback) const
    {
        const QString text = optionalText(QStringLiteral("valign"));
        if (text.isEmpty())
            return fallback;
        if (text == u"top")
            return Qt::AlignTop;
        if (text == u"middle")
            return Qt::AlignVCenter;
        if (text == u"bottom")
            return Qt::AlignBottom;
        fail(QStringLiteral("unknown vertical alignment \"%1\"").arg(text));
    }

    TextFit fit() const
    {
        const QString text = optionalText(QStringLiteral("fit"));
        if (text.isEmpty() || text == u"wrap")
            return TextFit::Wrap;
        if (text == u"shrink")
            return TextFit::Shrink;
        fail(QStringLiteral("unknown fit \"%1\"").arg(text));
    }

    PageDefinition readPage()
    {
        checkAttributes({});
        PageDefinition page;
        bool flowing = false;
        while (nextChild()) {
            const QStringView name = m_xml.name();
            if (name == u"text")
                page.elements.append(readText());
            else if (name == u"line")
                page.elements.append(readLine());
            else if (name == u"rect")
                page.elements.append(readRect());
            else if (name == u"image")
                page.elements.append(readImage());
            else if (expectElement(u"table")) {
                TableRows table = readTable();
                if (table.flow && flowing)
                    fail(QStringLiteral("a page holds one flowing table at most"));
                flowing = flowing || table.flow;
                page.elements.append(std::move(table));
            }
        }
        return page;
    }

    TextBox readText()
    {
        checkAttributes(styleAttributes + QStringList{"x", "y", "width", "height", "fit", "skipBlank"});
        TextBox text{box(), elementStyle(), {}, fit(), flag(QStringLiteral("skipBlank"), false)};
        text.text = readContent();
        return text;
    }

    // The element's text: runs of blanks and line ends are one blank, <br/> is a line break.
    TextTemplate readContent()
    {
        const qint64 line = m_xml.lineNumber();
        QString content;
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isCharacters()) {
                content += collapsed(m_xml.text().toString());
            } else if (m_xml.isStartElement()) {
                expectElement(u"br");
                checkAttributes({});
                content += u'\n';
            } else if (m_xml.isEndElement() && m_xml.name() != u"br") {
                break;
            }
        }
        if (m_xml.hasError())
            failXml();
        QString error;
        TextTemplate text = TextTemplate::parse(trimmedLines(content), &error);
        if (!error.isEmpty())
            fail(QStringLiteral("in the text starting at line %1, %2").arg(line).arg(error));
        return text;
    }

    static QString collapsed(const QString& text)
    {
        QString result;
        bool blank = false;
        for (const QChar c : text) {
            if (c.isSpace()) {
                blank = true;
                continue;
            }
            if (blank)
                result += u' ';
            blank = false;
            result += c;
        }
        if (blank)
            result += u' ';
        return result;
    }

    static QString trimmedLines(const QString& text)
    {
        QStringList lines = text.split(u'\n');
        for (QString& line : lines)
            line = line.trimmed();
        return lines.join(u'\n');
    }

    LineShape readLine()
    {
        checkAttributes({"x1", "y1", "x2", "y2", "width", "color"});
        LineShape line;
        line.line = QLineF(across(QStringLiteral("x1"), requiredNumber(QStringLiteral("x1"))),
                           down(QStringLiteral("y1"), requiredNumber(QStringLiteral("y1"))),
                           across(QStringLiteral("x2"), requiredNumber(QStringLiteral("x2"))),
                           down(QStringLiteral("y2"), requiredNumber(QStringLiteral("y2"))));
        line.width =
            thickness(QStringLiteral("width"),
                      positive(QStringLiteral("width"), number(QStringLiteral("width"), line.width)));
        line.color = color(QStringLiteral("color"), line.color);
        skipEmptyElement();
        return line;
    }

    RectShape readRect()
    {
        checkAttributes({"x", "y", "width", "height", "border", "color", "fill"});
        RectShape rect;
        rect.box = box();
        rect.border = number(QStringLiteral("border"), rect.border);
        if (rect.border < 0)
            fail(QStringLiteral("the attribute \"border\" must not be negative"));
        thickness(QStringLiteral("border"), rect.border);
        rect.borderColor = color(QStringLiteral("color"), rect.borderColor);
        rect.fill = color(QStringLiteral("fill"), rect.fill);
        skipEmptyElement();
        return rect;
    }

    ImageShape readImage()
    {
        checkAttributes({"x", "y", "width", "height", "src", "optional"});
        ImageShape image{box(), {}};
        const QString source = requiredText(QStringLiteral("src"));
        const QString file = QFileInfo(m_path).dir().filePath(source);
        if (!QFileInfo::exists(file)) {
            if (!flag(QStringLiteral("optional"), false))
                fail(QStringLiteral("the image \"%1\" does not exist").arg(QDir::toNativeSeparators(file)));
        } else {
            image.image = picture(file);
        }
        skipEmptyElement();
        return image;
    }

    // Read as bytes first: a FIFO or a device put in the picture's place is refused, never opened.
    QImage picture(const QString& file) const
    {
        const RegularFile::Content content = RegularFile::read(file, LayoutLimits::largestImage);
        if (!content.error.isEmpty())
            refuse(QStringLiteral("l'immagine \"%1\" %2").arg(QDir::toNativeSeparators(file), content.error));
        if (content.bytes.size() > LayoutLimits::largestImage)
            refuse(QStringLiteral("l'immagine \"%1\" supera i %2 MB")
                       .arg(QDir::toNativeSeparators(file))
                       .arg(LayoutLimits::largestImage / (1024 * 1024)));
        const QByteArray suffix = QFileInfo(file).suffix().toLatin1();
        QImage picture;
        if (!picture.loadFromData(content.bytes, suffix.isEmpty() ? nullptr : suffix.constData()))
            fail(QStringLiteral("the image \"%1\" cannot be read").arg(QDir::toNativeSeparators(file)));
        return picture;
    }

    TableRows readTable()
    {
        checkAttributes({"y", "height", "rowHeight", "first", "last", "rowsFrom", "flow", "digits",
                         "skipBlank", "rule", "ruleColor", "stripe", "stripeX", "stripeWidth"});
        TableRows table;
        table.sourceLine = int(m_xml.lineNumber());
        table.top = down(QStringLiteral("y"), requiredNumber(QStringLiteral("y")));
        table.height = down(QStringLiteral("height"),
                            positive(QStringLiteral("height"), requiredNumber(QStringLiteral("height"))));
        table.rowHeight =
            bounded(QStringLiteral("rowHeight"),
                    positive(QStringLiteral("rowHeight"), requiredNumber(QStringLiteral("rowHeight"))),
                    LayoutLimits::lowestRow, m_page.height(), QStringLiteral("mm"));
        table.rowsFrom = optionalText(QStringLiteral("rowsFrom"));
        if (table.rowsFrom.isEmpty())
            requiredText(QStringLiteral("last"));
        table.first = wholeNumber(QStringLiteral("first"), 1, 0, 9999);
        table.last = wholeNumber(QStringLiteral("last"), table.first, table.first, 9999);
        table.flow = flag(QStringLiteral("flow"), false);
        table.digits = wholeNumber(QStringLiteral("digits"), 2, 0, 9);
        table.skipBlank = flag(QStringLiteral("skipBlank"), true);
        readTableDecoration(table);
        while (nextChild()) {
            expectElement(u"cell");
            table.cells.append(readCell(table.rowHeight));
        }
        return table;
    }

    void readTableDecoration(TableRows& table) const
    {
        table.rule.width = thickness(QStringLiteral("rule"), number(QStringLiteral("rule"), 0));
        table.rule.color = table.rule.width > 0 ? color(QStringLiteral("ruleColor"), Qt::black) : QColor();
        table.stripe = color(QStringLiteral("stripe"), QColor());
        table.stripeLeft = across(QStringLiteral("stripeX"), number(QStringLiteral("stripeX"), 0));
        table.stripeWidth = across(QStringLiteral("stripeWidth"), number(QStringLiteral("stripeWidth"), 0));
        if (table.stripe.isValid() && table.stripeWidth <= 0)
            fail(QStringLiteral("a striped table needs \"stripeWidth\""));
    }

    TextBox readCell(qreal rowHeight)
    {
        checkAttributes(styleAttributes + QStringList{"x", "y", "width", "height", "fit"});
        const QRectF cell(
            across(QStringLiteral("x"), requiredNumber(QStringLiteral("x"))),
            down(QStringLiteral("y"), number(QStringLiteral("y"), 0)),
            across(QStringLiteral("width"),
                   positive(QStringLiteral("width"), requiredNumber(QStringLiteral("width")))),
            down(QStringLiteral("height"),
                 positive(QStringLiteral("height"), number(QStringLiteral("height"), rowHeight))));
        TextBox text{cell, elementStyle(), {}, fit()};
        text.text = readContent();
        return text;
    }

    qsizetype activeIndex(const LayoutFile& file, const QString& active) const
    {
        if (active.isEmpty())
            return 0;
        for (qsizetype i = 0; i < file.reports.size(); ++i)
            if (file.reports[i].name == active)
                return i;
        fail(QStringLiteral("the active report \"%1\" is not in the file").arg(active));
    }

    QXmlStreamReader m_xml;
    QString m_path;
    QHash<QString, TextStyle> m_styles;
    QSizeF m_page; // mm, of the report being read
};

} // namespace

LayoutFile LayoutParser::parse(const QByteArray& content, const QString& path)
{
    return Reader(content, path).readFile();
}

LayoutFile LayoutParser::parseFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("The report layout \"%1\" cannot be read: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    return parse(file.readAll(), path);
}

} // namespace quillio::report
