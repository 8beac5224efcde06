#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Documents for the operator's word processor are RTF: every word processor
// opens it, whatever the file is called (the order template keeps its old
// name 订单模板.doc), and it is plain text we can fill without driving the
// word processor. A template is any RTF with placeholders written in its
// text ("$收货人"); a word processor that saves it again may split a
// placeholder into runs, write Chinese as \uN or as code-page bytes (\'b9\'ab),
// or put formatting in between: the placeholder is still found.
namespace ts::printing {

// Whether the data is RTF at all (a Word binary .doc or a .docx is not).
bool isRtf(const QByteArray& data);

// The text a reader sees: paragraphs and line breaks as '\n', tabs and cells
// as '\t'; font tables, styles, pictures and other hidden parts left out.
QString rtfText(const QByteArray& rtf);

// Replaces every placeholder (longer names first, so "$sl1" never eats into
// "$sl10") by its value. The value keeps the formatting of the placeholder's
// first character, comes out as the text given (escaped for RTF, Chinese as
// \uN, '\n' as a line break), and an empty value leaves nothing behind.
QByteArray fillRtf(const QByteArray& rtf, const QList<std::pair<QString, QString>>& values);

// A text as RTF: a group of its own, so it reads the same wherever it goes.
QByteArray rtfGroup(const QString& text);

} // namespace ts::printing
