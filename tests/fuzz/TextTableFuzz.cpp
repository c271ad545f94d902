// The language table decoder on any bytes, as they come and behind each of the
// three byte-order marks it reads (UTF-8, UTF-16 little- and big-endian): every
// entry is one line's key and value, and text decoded once decodes the same when
// encoded again (unless it begins with a further mark: the decoder drops a mark
// that follows the first, so a doubled mark reads as one).
#include "i18n/TextTable.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QStringEncoder>

#include <cstddef>
#include <cstdint>

namespace {

void CheckEntries(const TextTable& table) {
    for (const TextEntry& e : table) {
        FUZZ_CHECK(!e.key.contains(u'=') && !e.key.contains(u'\r') && !e.key.contains(u'\n'));
        FUZZ_CHECK(!e.value.contains(u'\r') && !e.value.contains(u'\n'));
        FUZZ_CHECK(FindTextEntry(table, e.key, Qt::CaseSensitive) != nullptr);
    }
}

void CheckReencoded(const QByteArray& mark, QStringConverter::Encoding encoding,
                    const QByteArray& bytes) {
    const QString text = DecodeTextTable(mark + bytes);
    CheckEntries(ParseTextTable(text));
    if (text.startsWith(QChar(0xFEFF)))
        return;
    QStringEncoder encoder(encoding);
    const QByteArray reencoded = mark + QByteArray(encoder.encode(text));
    FUZZ_CHECK(DecodeTextTable(reencoded) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CheckEntries(ReadTextTable(bytes));
    CheckReencoded(QByteArray("\xEF\xBB\xBF"), QStringConverter::Utf8, bytes);
    CheckReencoded(QByteArray("\xFF\xFE"), QStringConverter::Utf16LE, bytes);
    CheckReencoded(QByteArray("\xFE\xFF"), QStringConverter::Utf16BE, bytes);
    return 0;
}
