#include "engine/TextSortKeys.h"

#include <algorithm>
#include <unicode/ucol.h>

namespace quillio::engine {

std::unique_ptr<TextSortKeys> TextSortKeys::forLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return nullptr;
    // The settings of TextCollation's case-insensitive collator, attribute by attribute: normalized
    // texts, case ignored (secondary strength: accents still count), digits one by one, punctuation
    // and blanks compared like letters.
    const QByteArray name = locale.bcp47Name().toLatin1().replace('-', '_');
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(name.constData(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    return std::unique_ptr<TextSortKeys>(new TextSortKeys(collator));
}

TextSortKeys::TextSortKeys(UCollator* collator)
    : m_collator(collator), m_decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
{
}

TextSortKeys::~TextSortKeys()
{
    ucol_close(m_collator);
}

QStringView TextSortKeys::decoded(QByteArrayView text)
{
    m_characters.resize(size_t(m_decoder.requiredSpace(text.size())));
    // Plain ASCII, most names, is widened byte by byte, far faster than the decoder's general path.
    if (std::all_of(text.begin(), text.end(), [](char byte) { return uchar(byte) < 0x80; })) {
        std::copy(text.begin(), text.end(), m_characters.begin());
        return QStringView(m_characters.data(), text.size());
    }
    auto* const begin = reinterpret_cast<QChar*>(m_characters.data());
    return QStringView(begin, m_decoder.appendToBuffer(begin, text));
}

qsizetype TextSortKeys::write(QByteArrayView text, char* out, qsizetype room)
{
    const QStringView characters = decoded(text);
    // The size returned counts the closing zero byte.
    const int32_t size =
        ucol_getSortKey(m_collator, characters.utf16(), int32_t(characters.size()),
                        reinterpret_cast<uint8_t*>(out), int32_t(std::min<qsizetype>(room, INT32_MAX)));
    return std::max(size - 1, 0);
}

} // namespace quillio::engine
