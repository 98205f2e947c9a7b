#pragma once

#include <QByteArray>
#include <QString>

namespace quillio::einvoice {

// Limits on an electronic invoice's markup, checked before the XML parser sees it. The parser
// compares each attribute of an element with every one before it, and looks each prefix up through
// every namespace declared around it; a file within the size limit with one element of 300,000
// attributes, or thousands of declarations around many elements, would keep it busy for minutes.
// An invoice has a handful of attributes (a signed one a few dozen), and no declarations of
// attribute defaults; a file within these limits is parsed in time proportional to its size.
class MarkupLimits
{
public:
    static constexpr int maximumAttributes = 500; // in the whole file, namespace declarations included

    // Why the file is refused, as "riga N: …"; empty when it keeps the limits. Well-formedness is
    // the parser's to judge: markup this scan cannot follow is left to it.
    static QString excess(const QByteArray& content);
};

} // namespace quillio::einvoice
