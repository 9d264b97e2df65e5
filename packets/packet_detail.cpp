#include "packet_detail.h"

#include "exchange_reports.h"
#include "packet_models.h"
#include "protocol/answer.h"
#include "protocol/framing.h"
#include "protocol/hex.h"
#include "protocol/packet_fields.h"

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
        return QString::number(value)
             + (span.good ? QString() : QStringLiteral(", expected %1").arg(rec.netNr));
    case PacketField::InvertedNetNr:
        if (!hex)
            return QStringLiteral("not hex");
        if (span.good)
            return QStringLiteral("matches");
        return "expected " + QString::fromStdString(lmx::byteToHex(uint8_t(rec.netNr ^ 0xFF)));
    case PacketField::PacketNr:
        if (!hex)
            return QStringLiteral("not hex");
        return latin1(lmx::packetNumberText(value))
             + (span.good ? QString()
                          : QStringLiteral(", expected sequence %1")
                                    .arg(rec.packetNr & lmx::kSequenceMask));
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
        return QStringLiteral("0x%1 ").arg(lmx::byteToHex(value).c_str())
             + latin1(lmx::resultText(value));
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

// Each kind of field has its own background, so the fields stand apart in the hex.
QColor fieldColour(lmx::PacketField field)
{
    using lmx::PacketField;
    switch (field) {
    case PacketField::Noise: return QColor(225, 225, 225);
    case PacketField::Start:
    case PacketField::End: return QColor(210, 210, 235);
    case PacketField::Type: return QColor(230, 210, 240);
    case PacketField::NetNr:
    case PacketField::InvertedNetNr: return QColor(205, 228, 250);
    case PacketField::PacketNr: return QColor(210, 240, 210);
    case PacketField::Length: return QColor(245, 240, 200);
    case PacketField::Data:
    case PacketField::Reply: return QColor(Qt::white);
    case PacketField::Result:
    case PacketField::Param: return QColor(250, 225, 200);
    case PacketField::Crc: return QColor(200, 240, 240);
    }
    return QColor(Qt::white);
}

QString chip(lmx::PacketField field, const QString& text, bool good)
{
    const QColor background = good ? fieldColour(field) : failedBackground();
    return QStringLiteral("<span style=\"background:%1;%2\">%3</span>")
            .arg(background.name(),
                 good ? QString()
                      : QStringLiteral("color:%1;font-weight:bold;").arg(failedText().name()),
                 text);
}

// Fields whose meaning goes without saying are named only when they are bad.
bool alwaysNamed(lmx::PacketField field)
{
    using lmx::PacketField;
    return field != PacketField::Start && field != PacketField::Type && field != PacketField::End
        && field != PacketField::Noise && field != PacketField::InvertedNetNr;
}

// The bytes in hex, each field on its own background, then what the fields hold.
QString fieldBlock(std::string_view bytes, const lmx::DecodedPacket& d,
                   const lmx::ExchangeRecord& rec, bool answer)
{
    QStringList hex;
    QStringList meanings;
    for (const lmx::FieldSpan& span : d.spans) {
        if (span.size > 0)
            hex << chip(span.field, hexBytes(bytes.substr(span.offset, span.size)), span.good);
        if (!span.good || alwaysNamed(span.field))
            meanings << chip(span.field, QString::fromLatin1(lmx::fieldName(span.field)), span.good)
                            + " " + meaning(span, bytes, d, rec, answer);
    }
    return QStringLiteral("<tt>%1</tt><br>%2")
            .arg(hex.join(' '), meanings.join(QStringLiteral("; ")));
}

} // namespace

QString packetDetailHtml(const lmx::ExchangeRecord& rec)
{
    QString html = QStringLiteral("<p style=\"margin:0 0 4px 0\"><b>Sent</b> ");
    html += fieldBlock(rec.sent, rec.extended ? lmx::decodeExtended(rec.sent, lmx::sentPacket())
                                              : lmx::decodeNormal(rec.sent),
                       rec, false);

    html += QStringLiteral("</p><p style=\"margin:0\"><b>Answer</b> ");
    if (!rec.evaluated)
        return html + QStringLiteral("awaited</p>");
    const bool silent = rec.answer.empty();
    html += silent ? QStringLiteral("none") : QStringLiteral("%1 bytes").arg(rec.answer.size());
    if (rec.rttMs)
        html += QStringLiteral(", %1 ms").arg(latin1(lmx::millisecondsText(*rec.rttMs)));
    if (rec.ok)
        html += silent ? QStringLiteral(", none needed from NetNr 0") : QStringLiteral(": OK");
    else if (!silent || rec.failure != rec.state)
        html += QStringLiteral(": <span style=\"color:%1\">%2</span>")
                        .arg(failedText().name(), latin1(rec.failure));
    if (rec.answer.empty())
        return html + QStringLiteral("</p>");
    if (!rec.extended)
        return html + QStringLiteral("<br><tt>%1</tt> %2</p>")
                              .arg(hexBytes(rec.answer), shown(rec.answer));
    return html + "<br>"
         + fieldBlock(rec.answer,
                      lmx::decodeExtended(rec.answer, lmx::answerTo(rec.netNr, rec.packetNr)), rec,
                      true)
         + "</p>";
}
