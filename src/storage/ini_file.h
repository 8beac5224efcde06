#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace ts {

// A Windows INI file in GB18030, the code page our settings files have always
// been written in (GB2312 files are a subset and read unchanged). QSettings
// cannot read that encoding, and it would also reorder and drop what a person
// wrote into the file by hand, so the file is kept as its list of lines and
// only the lines we change are rewritten.
//
// Lookups follow GetPrivateProfileString, which wrote these files first:
// section and key names ignore case and surrounding blanks, a value
// loses its surrounding blanks and one pair of enclosing quotes, ';' starts a
// comment line, and the first of duplicated sections or keys wins.
class IniFile {
public:
    // What a missing file, section or key reads as. Callers swap it for their
    // own default, so a value literally written as "default" means the same.
    static QString defaultText();

    // A missing file loads as an empty, valid file: saving it creates it.
    static IniFile load(const QString& path);

    QString path() const { return path_; }

    // False when the file exists but could not be read, or holds bytes that
    // are not GB18030. The lines still load, each undecodable sequence read
    // as U+FFFD (one cut short by the line end is dropped), so the rest of the
    // settings keep working; errorString() names the first bad line so the
    // operator can be told which file to fix.
    bool isValid() const { return error_.isEmpty(); }
    QString errorString() const { return error_; }

    QString value(const QString& section, const QString& key) const;

    // Replaces the key in place, or adds it at the end of its section, or adds
    // the section at the end of the file. A line break in the value would
    // split the entry in two, so it is written as a blank.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes GB18030 with CRLF line ends, replacing the file atomically. Lines
    // that were not changed keep their original bytes, so an untouched CRLF
    // file is written back byte for byte. A file that loaded with errors is
    // never written: its unreadable bytes would be lost for good.
    bool save(QString* error = nullptr);

private:
    struct Line {
        QString text;
        QByteArray raw;  // bytes as loaded; empty once the line is changed
    };

    // [first, end) of the lines of the first section so named, first being
    // the header; first is -1 when the section does not exist.
    std::pair<qsizetype, qsizetype> sectionRange(const QString& section) const;
    qsizetype findKey(qsizetype first, qsizetype end, const QString& key) const;

    QString path_;
    QString error_;
    QList<Line> lines_;
};

} // namespace ts
