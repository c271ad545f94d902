// Reader of the key=value text tables compiled into the program (menu texts,
// wizard tips, label dictionaries).
//
// Usage:
//   TextTable table;
//   if (ReadTextTableResource("Menu_DE", table)) {     // name in any letter case
//       const TextEntry* e = FindTextEntry(table, "filemenu");  // first match, any case
//       if (e) use(e->value);
//   }
//   TextTable t = ReadTextTable(rawBytes);              // from bytes already in memory
//
// A table is a text of lines "key=value". The key is everything before the first
// "=", the value everything after it, untrimmed (it may be empty or one blank).
// Lines end with CR LF, LF or CR; the last line may lack its end; lines without
// "=" carry no entry and are skipped. The bytes start with a UTF-8 mark
// (EF BB BF), a UTF-16 little-endian mark (FF FE) or a big-endian one (FE FF);
// without a mark they are read in the system's 8-bit encoding.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct TextEntry {
    QString key;
    QString value;
};

// The entries in the order of their lines; keys are kept as stored.
using TextTable = QList<TextEntry>;

// Decodes a table's bytes by its byte-order mark (the mark itself is dropped).
QString DecodeTextTable(const QByteArray& raw);

// Splits decoded text into entries.
TextTable ParseTextTable(const QString& text);

// DecodeTextTable + ParseTextTable.
TextTable ReadTextTable(const QByteArray& raw);

// The resource path (":/Menu_DE") of a table named without regard to letter case,
// or an empty string when the program holds no such resource.
QString FindTableResource(const QString& name);

// Reads the named table resource. Returns false (and logs an error) when the
// resource does not exist; `out` is then left empty.
bool ReadTextTableResource(const QString& name, TextTable& out);

// The first entry whose key equals `key` under the given comparison, or nullptr.
const TextEntry* FindTextEntry(const TextTable& table, const QString& key,
                               Qt::CaseSensitivity cs = Qt::CaseInsensitive);
