#pragma once

#include <QUrl>
#include <optional>

namespace quillio::customers {

// What the address book's two link buttons hand to the shell. Only web addresses and mail links
// leave the program: a stored text must never start a program or add parts to a message.
class LinkTargets
{
public:
    // The text without its surrounding blanks, with "http://" in front when it has no scheme; a
    // scheme other than http or https, or a blank text, gives nothing.
    static std::optional<QUrl> webSite(const QString& stored);
    // "mailto:" followed by the address, with the characters that would start or separate link
    // parameters percent-encoded.
    static QUrl mailTo(const QString& stored);
};

} // namespace quillio::customers
