#pragma once

#include <QLocale>
#include <QStringConverter>
#include <QStringView>
#include <memory>
#include <vector>

struct UCollator;

namespace quillio::engine {

// Writes the collation keys of TextCollation's order as plain bytes, so that comparing two keys
// byte by byte (a shorter key that is the start of a longer one first) orders their texts exactly as
// TextCollation's collator compares them. These are the bytes that collator's own sort keys hold;
// making them here lets a sort keep every key in one buffer instead of one allocation per text.
// One object serves one thread.
class TextSortKeys
{
public:
    // Keys for `locale`'s order; none for the C locale, whose order compares texts rather than keys,
    // or when the locale has no collation.
    static std::unique_ptr<TextSortKeys> forLocale(const QLocale& locale);
    ~TextSortKeys();
    TextSortKeys(const TextSortKeys&) = delete;
    TextSortKeys& operator=(const TextSortKeys&) = delete;

    // Writes the key of the UTF-8 `text` (read as QString::fromUtf8 reads it) into `out` when it
    // fits in `room` bytes, and returns its size in bytes either way: a size of `room` or more did
    // not fit (the collator also writes a closing zero byte).
    qsizetype write(QByteArrayView text, char* out, qsizetype room);

private:
    explicit TextSortKeys(UCollator* collator);
    QStringView decoded(QByteArrayView text);

    UCollator* m_collator;
    QStringDecoder m_decoder;
    std::vector<char16_t> m_characters;
};

} // namespace quillio::engine
