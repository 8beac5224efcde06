#include "storage/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace ts {

namespace {

constexpr char kCodePage[] = "GB18030";

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QStringView> sectionOf(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = line.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return line.sliced(1, close - 1).trimmed();
}

struct Entry {
    QStringView key;
    QStringView value;
};

std::optional<Entry> entryOf(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || sectionOf(line))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    Entry e{line.first(eq).trimmed(), line.sliced(eq + 1).trimmed()};
    if (e.key.isEmpty())
        return std::nullopt;
    // Hand-edited files sometimes quote a value that has blanks at its ends.
    if (e.value.size() >= 2 && (e.value.front() == u'"' || e.value.front() == u'\'')
        && e.value.back() == e.value.front())
        e.value = e.value.sliced(1, e.value.size() - 2);
    return e;
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString IniFile::defaultText()
{
    return QStringLiteral("default");
}

IniFile IniFile::load(const QString& path)
{
    IniFile ini;
    ini.path_ = path;
    if (!QFileInfo::exists(path))
        return ini;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ini.error_ = QStringLiteral("无法读取设置文件“%1”：%2").arg(shown(path), file.errorString());
        return ini;
    }
    QByteArray bytes = file.readAll();

    // Notepad saves "UTF-8" with a byte-order mark; such a file is taken as
    // UTF-8 when all of it decodes so, and is written back in GB18030. Without
    // the mark, UTF-8 is never guessed: GB18030 bytes often pass as UTF-8 too.
    bool utf8 = false;
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        QStringDecoder probe(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        [[maybe_unused]] const QString whole = probe(QByteArrayView(bytes).sliced(bom.size()));
        if (!probe.hasError()) {
            utf8 = true;
            bytes.remove(0, bom.size());
        }
    }

    // Neither CR nor LF can occur inside a GB18030 multi-byte sequence, so
    // the file is split into lines before decoding. That keeps a bad byte
    // from swallowing a line end and lets the error name its line.
    QList<QByteArray> pieces = bytes.split('\n');
    if (!pieces.isEmpty() && pieces.back().isEmpty())
        pieces.removeLast();  // the final line end, not an extra blank line
    ini.lines_.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray& raw = pieces[i];
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder decode = utf8
            ? QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless)
            : QStringDecoder(kCodePage, QStringDecoder::Flag::Stateless);
        QString text = decode(raw);
        if ((decode.hasError() || !decode.isValid()) && ini.error_.isEmpty())
            ini.error_ = QStringLiteral("设置文件“%1”第%2行含有无法识别的字符")
                             .arg(shown(path))
                             .arg(i + 1);
        ini.lines_.append(Line{std::move(text), utf8 ? QByteArray() : raw});
    }
    return ini;
}

std::pair<qsizetype, qsizetype> IniFile::sectionRange(const QString& section) const
{
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const auto name = sectionOf(lines_[i].text);
        if (!name)
            continue;
        if (first >= 0)
            return {first, i};
        if (sameName(*name, section))
            first = i;
    }
    return {first, lines_.size()};
}

qsizetype IniFile::findKey(qsizetype first, qsizetype end, const QString& key) const
{
    for (qsizetype i = first + 1; i < end; ++i) {
        const auto e = entryOf(lines_[i].text);
        if (e && sameName(e->key, key))
            return i;
    }
    return -1;
}

QString IniFile::value(const QString& section, const QString& key) const
{
    const auto [first, end] = sectionRange(section);
    if (first < 0)
        return defaultText();
    const qsizetype at = findKey(first, end, key);
    if (at < 0)
        return defaultText();
    return entryOf(lines_[at].text)->value.toString();
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(u'\r', u' ');
    flat.replace(u'\n', u' ');

    const auto [first, end] = sectionRange(section);
    if (first < 0) {
        lines_.append(Line{u'[' + section + u']', {}});
        lines_.append(Line{key + u'=' + flat, {}});
        return;
    }
    const qsizetype at = findKey(first, end, key);
    if (at >= 0) {
        // Keep the key as the file spells it; only the value is ours to change.
        const QString spelled = entryOf(lines_[at].text)->key.toString();
        lines_[at] = Line{spelled + u'=' + flat, {}};
        return;
    }
    // After the section's last entry or comment, so that the blank line that
    // separates it from the next section stays a separator.
    qsizetype pos = first + 1;
    for (qsizetype i = first + 1; i < end; ++i)
        if (!lines_[i].text.trimmed().isEmpty())
            pos = i + 1;
    lines_.insert(pos, Line{key + u'=' + flat, {}});
}

bool IniFile::save(QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!isValid())
        return fail(QStringLiteral("%1，为免丢失原有内容，未写入。").arg(error_));

    QStringEncoder encode(kCodePage, QStringEncoder::Flag::Stateless);
    if (!encode.isValid())
        return fail(QStringLiteral("本机不支持GB18030编码，无法写入设置文件“%1”。").arg(shown(path_)));

    QByteArray bytes;
    QList<QByteArray> encoded;
    encoded.reserve(lines_.size());
    for (const Line& line : std::as_const(lines_)) {
        QByteArray raw = line.raw.isEmpty() ? QByteArray(encode(line.text)) : line.raw;
        if (encode.hasError())
            return fail(QStringLiteral("设置文件“%1”的内容无法以GB18030编码写入。").arg(shown(path_)));
        bytes += raw;
        bytes += "\r\n";
        encoded.append(std::move(raw));
    }

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("无法写入设置文件“%1”：%2").arg(shown(path_), file.errorString()));

    for (qsizetype i = 0; i < lines_.size(); ++i)
        lines_[i].raw = encoded[i];
    return true;
}

} // namespace ts
