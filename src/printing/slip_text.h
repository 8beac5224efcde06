#pragma once

#include <QString>
#include <QVariant>

namespace ts::printing {

// Bytes a character takes in GB2312, the code page the slips were always
// measured in: one for ASCII, two for anything else (a Chinese character,
// full-width punctuation).
int gb2312Bytes(char32_t c);

// Breaks a long address or product name for a narrow slip: a line break goes
// in before each character that would follow a line already `limit` bytes
// long (GB2312), so a Chinese character is never split and a line may end
// one byte over when an ASCII run reaches the limit. Breaks already in the
// text start a new count.
//   wrapGb2312("北京市海淀区中关村大街二十七号院") → 15 characters, "\n", "院"
QString wrapGb2312(const QString& text, int limit = 30);

// Plain text as HTML for the layouts: escaped, line breaks kept.
QString html(const QString& text);

// A value of an order line as a slip shows it: money in its shortest form,
// dates in the stored form, yes/no as 是/否, null as nothing.
QString fieldText(const QVariant& value);

} // namespace ts::printing
