#include "packet_detail.h"

#include "packet_models.h"
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "protocol/packet_fields.h"
#include "serial/exchange_reports.h"

#include <QColor>

namespace {

QString latin1(const std::string& s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())).toHtmlEscaped();
}

// Printable characters as they are, the others as a centred dot.
QString shown(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes)
        out += static_cast<unsigned char>(c) >= 0x20 && c != 0x7F ? c : '\xB7';
    return "'" + latin1(out) + "'";
}

QString hexBytes(std::string_view bytes)
{
    return bytes.empty() ? QStringLiteral("&mdash;") : latin1(lmx::normalisedHexText(bytes));
}

// What a field holds, or why it is bad.
QString meaning(const lmx::FieldSpan& span, std::string_view bytes, const lmx::DecodedPacket& d,
                const lmx::ExchangeRecord& rec, bool answer)
{
    using lmx::PacketField;
    const std::string_view field = bytes.substr(span.offset, span.size);
    if (span.size == 0)
        return QStringLiteral("missing");
    uint8_t value = 0;
    const bool hex = span.size == 2 && lmx::hexToByte(field, value);
    switch (span.field) {
    case PacketField::Noise: return QStringLiteral("not part of the packet");
    case PacketField::Start: return span.good ? QStringLiteral("SOT") : QStringLiteral("not 01");
    case PacketField::Type:
        if (span.good)
            return answer ? QStringLiteral("ACK") : QStringLiteral("packet");
        return answer ? QStringLiteral("not 06") : QStringLiteral("not 05");
    case PacketField::NetNr:
        if (!hex)
            return QStringLiteral("not hex");
        return QString::number(value) + (span.good ? QString() : QStringLiteral(", expected %1").arg(rec.netNr));
    case PacketField::InvertedNetNr:
        if (!hex)
            return QStringLiteral("not hex");
        return span.good ? QStringLiteral("matches")
                         : "expected " + QString::fromStdString(lmx::byteToHex(uint8_t(rec.netNr ^ 0xFF)));
    case PacketField::PacketNr:
        if (!hex)
            return QStringLiteral("not hex");
        return latin1(lmx::packetNumberText(value))
             + (span.good ? QString() : QStringLiteral(", expected sequence %1").arg(rec.packetNr & lmx::kSequenceMask));
    case PacketField::Length:
        if (!hex)
            return QStringLiteral("not hex");
        return QString::number(value) + (span.good ? QString() : QStringLiteral(", not 4..200"));
    case PacketField::Data:
    case PacketField::Reply:
        return shown(field) + (span.good ? QString() : QStringLiteral(", cut short or holding 04"));
    case PacketField::Result:
        if (!hex)
            return QStringLiteral("not hex");
        return QStringLiteral("0x%1 ").arg(lmx::byteToHex(value).c_str()) + latin1(lmx::resultText(value));
    case PacketField::Param:
        return span.good ? "$" + latin1(std::string(field)) : QStringLiteral("not 00 or 01");
    case PacketField::Crc:
        if (span.good)
            return QStringLiteral("good");
        if (span.size < 4)
            return QStringLiteral("bad, cut short");
        return "bad, computed " + QString::fromStdString(lmx::toHex(d.computedCrc, 4));
    case PacketField::End: return span.good ? QStringLiteral("EOT") : QStringLiteral("not 04");
    }
    return {};
}

QString fieldTable(std::string_view bytes, const lmx::DecodedPacket& d,
                   const lmx::ExchangeRecord& rec, bool answer)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\" width=\"100%\">");
    for (const lmx::FieldSpan& span : d.spans) {
        const bool bad = !span.good;
        html += bad ? QStringLiteral("<tr bgcolor=\"%1\" style=\"color:%2\">")
                              .arg(failedBackground().name(), failedText().name())
                    : QStringLiteral("<tr>");
        html += QStringLiteral("<td width=\"48\"><b>%1</b></td><td><tt>%2</tt></td><td>%3</td></tr>")
                        .arg(QString::fromLatin1(lmx::fieldName(span.field)),
                             hexBytes(bytes.substr(span.offset, span.size)),
                             meaning(span, bytes, d, rec, answer));
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString packetDetailHtml(const lmx::ExchangeRecord& rec)
{
    QString html = QStringLiteral("<b>Sent</b> %1 bytes to NetNr %2").arg(rec.sent.size()).arg(rec.netNr);
    html += fieldTable(rec.sent, rec.extended ? lmx::decodeExtended(rec.sent, lmx::sentPacket())
                                              : lmx::decodeNormal(rec.sent),
                       rec, false);

    html += QStringLiteral("<p><b>Answer</b> ");
    if (!rec.evaluated)
        return html + QStringLiteral("awaited</p>");
    if (rec.answer.empty())
        html += latin1(rec.state);
    else
        html += QStringLiteral("%1 bytes").arg(rec.answer.size());
    if (rec.rttMs)
        html += QStringLiteral(", %1 ms").arg(latin1(lmx::millisecondsText(*rec.rttMs)));
    html += rec.ok ? QStringLiteral(": OK")
                   : QStringLiteral(": <span style=\"color:%1\">%2</span>")
                             .arg(failedText().name(), latin1(rec.failure));
    html += QStringLiteral("</p>");
    if (rec.answer.empty())
        return html;
    if (!rec.extended)
        return html + QStringLiteral("<tt>%1</tt> %2").arg(hexBytes(rec.answer), shown(rec.answer));
    return html + fieldTable(rec.answer, lmx::decodeExtended(rec.answer, lmx::answerTo(rec.netNr, rec.packetNr)),
                             rec, true);
}
