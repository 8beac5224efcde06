#include "printing/custom_report.h"

#include "printing/slip_text.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>

namespace ts::printing {

namespace {

QString str(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Fills "[name]" fields; `answer` gives the text for a name, or nothing for
// a name it does not know.
template <class Answer>
QString fill(const QString& part, const Answer& answer)
{
    static const QRegularExpression field(QStringLiteral("\\[([^\\[\\]<>\\n]+)\\]"));
    QString out;
    qsizetype from = 0;
    for (auto it = field.globalMatch(part); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += part.mid(from, m.capturedStart() - from);
        const std::optional<QString> value = answer(m.captured(1).trimmed());
        out += value ? html(*value) : m.captured(0);
        from = m.capturedEnd();
    }
    return out + part.mid(from);
}

} // namespace

ReportTemplate parseReportTemplate(const QString& text)
{
    ReportTemplate t;
    enum { Head, Detail, Foot } part = Head;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the end of the last line
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString bare = line.trimmed();
        if (bare.startsWith(QLatin1Char('#')))
            continue;
        if (bare.startsWith(QLatin1Char('@'))) {
            const QString directive = bare.mid(1).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
            const QString value = bare.mid(1).section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty);
            bool ok = false;
            if (directive == str("纸宽") && value.toDouble(&ok) > 0 && ok)
                t.widthTenths = value.toDouble();
            else if (directive == str("明细"))
                part = Detail;
            else if (directive == str("明细完"))
                part = Foot;
            continue;
        }
        QString& into = part == Head ? t.head : part == Detail ? t.detail : t.foot;
        into += line + QLatin1Char('\n');
    }
    return t;
}

bool loadReportTemplate(const QString& path, ReportTemplate* out, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = str("找不到报表模板：") + path;
        return false;
    }
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.mid(3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gb("GB18030");
        text = gb.decode(bytes);
    }
    *out = parseReportTemplate(text);
    return true;
}

Printout customReport(const ReportTemplate& report, const OrderNote& note)
{
    QHash<QString, QString> variables;
    for (const auto& [name, value] : reportVariables(note))
        variables.insert(name, value);
    auto variable = [&](const QString& name) -> std::optional<QString> {
        const auto it = variables.constFind(name);
        return it == variables.cend() ? std::nullopt : std::optional(*it);
    };

    QString body = fill(report.head, variable);
    for (int r = 0; r < note.lines.size(); ++r) {
        body += fill(report.detail, [&](const QString& name) -> std::optional<QString> {
            if (name == str("序号"))
                return QString::number(r + 1);
            const int column = note.lines.column(name);
            if (column >= 0)
                return fieldText(note.lines.value(r, column));
            return variable(name);
        });
    }
    body += fill(report.foot, variable);

    const double height = tenthsToMm(730 + 200 * note.lines.size());
    return {str("自定义送水单"), body, QSizeF(tenthsToMm(report.widthTenths), height), 5};
}

} // namespace ts::printing
