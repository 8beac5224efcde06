#include "printing/rtf_template.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <vector>

namespace ts::printing {

namespace {

// One character of the text a reader sees, and the bytes of the file it came
// from (a control word and the fallback that follows it, both bytes of a
// code-page pair). The second half of a surrogate pair has an empty span.
struct Glyph {
    char16_t unit;
    qsizetype begin;
    qsizetype end;
};

struct GroupState {
    int uc = 1;        // fallback characters that follow \uN
    int font = -1;     // -1: the document's default font
    bool hidden = false;
    bool fontTable = false;
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Destinations whose text is no part of the document's text.
bool hiddenDestination(const QByteArray& word)
{
    static const QByteArray words[] = {"colortbl",  "stylesheet", "info",       "pict",        "listtable",
                                       "listoverridetable",       "revtbl",     "rsidtbl",     "generator",
                                       "filetbl",   "latentstyles", "themedata", "colorschememapping",
                                       "datastore", "xmlnstbl",   "fldinst",    "objdata",     "mmathPr",
                                       "userprops", "docvar",     "template",   "bkmkstart",   "bkmkend"};
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

// Windows code page of a font's character set; 0 and the unknown ones take
// the document's own.
int codePageOfCharset(int charset, int ansi)
{
    static const QHash<int, int> pages{{128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
                                       {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
                                       {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437}};
    return pages.value(charset, ansi);
}

bool doubleByte(int codePage)
{
    return codePage == 936 || codePage == 950 || codePage == 932 || codePage == 949 || codePage == 1361;
}

QString decode(const QByteArray& bytes, int codePage)
{
    static const QHash<int, const char*> names{{936, "GB18030"},  {950, "Big5"},     {932, "Shift_JIS"},
                                               {949, "windows-949"}, {437, "IBM437"}, {65001, "UTF-8"}};
    const QByteArray name = names.contains(codePage) ? QByteArray(names.value(codePage))
                                                     : "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

class Scanner {
public:
    explicit Scanner(const QByteArray& rtf) : s_(rtf) {}

    std::vector<Glyph> run()
    {
        const qsizetype n = s_.size();
        qsizetype i = 0;
        while (i < n) {
            const char c = s_[i];
            const qsizetype b = i;
            if (c == '{' || c == '}') {
                flushLead();
                skip_ = 0;
                if (c == '{')
                    stack_.push_back(state());
                else if (stack_.size() > 1)
                    stack_.pop_back();
                ++i;
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else if (c != '\\') {
                ++i;
                if (!swallow(i))
                    byte(uchar(c), b, i);
            } else if (i + 1 < n && isLetter(s_[i + 1])) {
                qsizetype j = i + 1;
                while (j < n && isLetter(s_[j]))
                    ++j;
                const QByteArray word = s_.mid(i + 1, j - i - 1);
                bool hasParam = false;
                int param = 0;
                if (j < n && (s_[j] == '-' || isDigit(s_[j]))) {
                    const bool negative = s_[j] == '-';
                    qsizetype k = negative ? j + 1 : j;
                    const qsizetype digits = k;
                    while (k < n && isDigit(s_[k]))
                        ++k;
                    if (k > digits) {
                        hasParam = true;
                        param = s_.mid(digits, k - digits).toInt();
                        if (negative)
                            param = -param;
                        j = k;
                    }
                }
                if (j < n && s_[j] == ' ')
                    ++j;  // the delimiter belongs to the word
                i = j;
                if (word == "bin") {
                    i = std::min(n, i + std::max(0, param));
                    continue;
                }
                if (!swallow(i))
                    control(word, hasParam, param, b, i);
            } else if (i + 1 < n && s_[i + 1] == '\'') {
                bool ok = false;
                const int value = s_.mid(i + 2, 2).toInt(&ok, 16);
                i = std::min(n, i + 4);
                if (!swallow(i) && ok)
                    byte(uchar(value), b, i);
            } else {
                const char d = i + 1 < n ? s_[i + 1] : '\0';
                i = std::min(n, i + 2);
                if (swallow(i))
                    continue;
                switch (d) {
                case '\\':
                case '{':
                case '}':
                    byte(uchar(d), b, i);
                    break;
                case '~':
                    text(QString(QChar(0xA0)), b, i);
                    break;
                case '_':
                    text(QStringLiteral("-"), b, i);
                    break;
                case '*':
                    state().hidden = true;
                    break;
                case '\r':
                case '\n':
                    text(QStringLiteral("\n"), b, i);
                    break;
                default:
                    break;
                }
            }
        }
        flushLead();
        return glyphs_;
    }

private:
    GroupState& state() { return stack_.back(); }

    int codePage()
    {
        const int font = state().font >= 0 ? state().font : defaultFont_;
        const auto it = charsets_.constFind(font);
        return it == charsets_.cend() ? ansi_ : codePageOfCharset(*it, ansi_);
    }

    void text(const QString& t, qsizetype b, qsizetype e)
    {
        flushLead();
        append(t, b, e);
    }

    void append(const QString& t, qsizetype b, qsizetype e)
    {
        if (state().hidden)
            return;
        for (qsizetype k = 0; k < t.size(); ++k)
            glyphs_.push_back({t.at(k).unicode(), k == 0 ? b : e, e});
    }

    // A byte of text, from \'hh or written as it is: a lead byte of a
    // double-byte code page waits for its partner.
    void byte(uchar c, qsizetype b, qsizetype e)
    {
        const int page = codePage();
        if (lead_ >= 0) {
            QByteArray pair;
            pair += char(lead_);
            pair += char(c);
            lead_ = -1;
            append(decode(pair, page), leadBegin_, e);
        } else if (doubleByte(page) && c >= 0x81 && c <= 0xFE) {
            lead_ = c;
            leadBegin_ = b;
            leadEnd_ = e;
        } else if (c < 0x80) {
            append(QString(QChar(c)), b, e);
        } else {
            append(decode(QByteArray(1, char(c)), page), b, e);
        }
    }

    void flushLead()
    {
        if (lead_ < 0)
            return;
        const QByteArray single(1, char(lead_));
        lead_ = -1;
        append(decode(single, codePage()), leadBegin_, leadEnd_);
    }

    // The characters after \uN that stand in for it in older readers belong
    // to it.
    bool swallow(qsizetype e)
    {
        if (skip_ <= 0)
            return false;
        --skip_;
        if (owner_ >= 0)
            glyphs_[size_t(owner_)].end = e;
        return true;
    }

    void control(const QByteArray& word, bool hasParam, int param, qsizetype b, qsizetype e)
    {
        GroupState& st = state();
        if (word == "u" && hasParam) {
            flushLead();
            const size_t before = glyphs_.size();
            append(QString(QChar(char16_t(param & 0xFFFF))), b, e);
            owner_ = glyphs_.size() > before ? qsizetype(glyphs_.size() - 1) : -1;
            skip_ = st.uc;
        } else if (word == "uc") {
            st.uc = hasParam ? std::max(0, param) : 1;
        } else if (word == "ansicpg") {
            ansi_ = param;
        } else if (word == "deff") {
            defaultFont_ = param;
        } else if (word == "f") {
            if (st.fontTable)
                fontDefined_ = param;
            else
                st.font = param;
        } else if (word == "fcharset") {
            if (st.fontTable)
                charsets_.insert(fontDefined_, param);
        } else if (word == "plain") {
            st.font = -1;
        } else if (word == "fonttbl") {
            st.hidden = true;
            st.fontTable = true;
        } else if (hiddenDestination(word)) {
            st.hidden = true;
        } else if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            text(QStringLiteral("\n"), b, e);
        } else if (word == "tab" || word == "cell") {
            text(QStringLiteral("\t"), b, e);
        } else {
            static const QHash<QByteArray, char16_t> symbols{
                {"emdash", 0x2014},    {"endash", 0x2013},    {"bullet", 0x2022}, {"lquote", 0x2018},
                {"rquote", 0x2019},    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}};
            const auto it = symbols.constFind(word);
            if (it != symbols.cend())
                text(QString(QChar(*it)), b, e);
        }
    }

    const QByteArray& s_;
    std::vector<GroupState> stack_{GroupState{}};
    std::vector<Glyph> glyphs_;
    QHash<int, int> charsets_;  // font number → character set
    int ansi_ = 1252;
    int defaultFont_ = 0;
    int fontDefined_ = -1;
    int skip_ = 0;
    qsizetype owner_ = -1;
    int lead_ = -1;
    qsizetype leadBegin_ = 0;
    qsizetype leadEnd_ = 0;
};

} // namespace

bool isRtf(const QByteArray& data)
{
    QByteArray head = data.left(64);
    if (head.startsWith("\xEF\xBB\xBF"))
        head = head.mid(3);
    return head.trimmed().startsWith("{\\rtf");
}

QString rtfText(const QByteArray& rtf)
{
    QString out;
    for (const Glyph& g : Scanner(rtf).run())
        out += QChar(g.unit);
    return out;
}

QByteArray rtfGroup(const QString& text)
{
    // \uc1 inside the group: the template may have set another fallback
    // count where the value lands, and each \uN here has one fallback after
    // it, a '?' written \'3f as word processors write it (some readers take
    // a bare '?' there for the start of the text that follows).
    QByteArray out = "{\\uc1 ";
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0x80) {
            out += "\\u" + QByteArray::number(qint16(u)) + "\\'3f";
        }
    }
    out += '}';
    return out;
}

QByteArray fillRtf(const QByteArray& rtf, const QList<std::pair<QString, QString>>& values)
{
    const std::vector<Glyph> glyphs = Scanner(rtf).run();
    QString visible;
    visible.reserve(qsizetype(glyphs.size()));
    for (const Glyph& g : glyphs)
        visible += QChar(g.unit);

    QList<std::pair<QString, QString>> byLength = values;
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });

    struct Edit {
        qsizetype begin;
        qsizetype end;
        QByteArray with;
    };
    std::vector<Edit> edits;
    std::vector<bool> taken(glyphs.size(), false);
    for (const auto& [name, value] : byLength) {
        if (name.isEmpty())
            continue;
        for (qsizetype at = visible.indexOf(name); at >= 0; at = visible.indexOf(name, at + 1)) {
            const qsizetype last = at + name.size();
            if (std::any_of(taken.begin() + at, taken.begin() + last, [](bool t) { return t; }))
                continue;
            std::fill(taken.begin() + at, taken.begin() + last, true);
            edits.push_back({glyphs[size_t(at)].begin, glyphs[size_t(at)].end, rtfGroup(value)});
            // The rest of the name goes; an empty group in its place keeps a
            // control word before it from running into the text after it.
            for (qsizetype k = at + 1; k < last; ++k)
                if (glyphs[size_t(k)].begin < glyphs[size_t(k)].end)
                    edits.push_back({glyphs[size_t(k)].begin, glyphs[size_t(k)].end, QByteArrayLiteral("{}")});
        }
    }
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
    QByteArray out = rtf;
    for (const Edit& e : edits)
        out.replace(e.begin, e.end - e.begin, e.with);
    return out;
}

} // namespace ts::printing
