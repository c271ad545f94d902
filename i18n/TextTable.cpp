#include "i18n/TextTable.h"

#include "core/Log.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

QString DecodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

} // namespace

QString DecodeTextTable(const QByteArray& raw) {
    const QByteArrayView bytes(raw);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return DecodeWith(QStringConverter::Utf8, bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return DecodeWith(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return DecodeWith(QStringConverter::Utf16BE, bytes.sliced(2));
    return QString::fromLocal8Bit(raw);
}

TextTable ParseTextTable(const QString& text) {
    TextTable table;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = QStringView(text).sliced(start, end - start);
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0)
            table.append({line.first(eq).toString(), line.sliced(eq + 1).toString()});
        // CR LF is one line end; a lone CR or LF is one too.
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return table;
}

TextTable ReadTextTable(const QByteArray& raw) {
    return ParseTextTable(DecodeTextTable(raw));
}

QString FindTableResource(const QString& name) {
    if (name.isEmpty())
        return {};
    const QString exact = QStringLiteral(":/") + name;
    if (QFile::exists(exact))
        return exact;
    const QStringList entries = QDir(QStringLiteral(":/")).entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return QStringLiteral(":/") + entry;
    }
    return {};
}

bool ReadTextTableResource(const QString& name, TextTable& out) {
    out.clear();
    const QString path = FindTableResource(name);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        WriteLog(QStringLiteral("Error"), QStringLiteral("text table not found: ") + name);
        return false;
    }
    out = ReadTextTable(file.readAll());
    return true;
}

const TextEntry* FindTextEntry(const TextTable& table, const QString& key, Qt::CaseSensitivity cs) {
    for (const TextEntry& entry : table) {
        if (entry.key.compare(key, cs) == 0)
            return &entry;
    }
    return nullptr;
}
