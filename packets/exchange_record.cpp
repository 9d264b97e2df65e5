#include "exchange_record.h"

#include "protocol/answer.h"

#include <algorithm>

namespace lmx {

namespace {

constexpr const char* kNoAnswer = "no answer";

void evaluateExtended(ExchangeRecord& rec)
{
    if (rec.answer.empty()) {
        rec.state = kNoAnswer;
        rec.ok = rec.netNr == 0;
        rec.resultText = normalResultText(rec.ok ? '/' : '.');
        return;
    }
    const AnswerParse packet = parseExtendedAnswer(rec.answer, static_cast<uint8_t>(rec.netNr),
                                                   rec.packetNr);
    if (!packet.ok) {
        rec.state = errorText(packet) + " at " + stateName(packet.state);
        return;
    }
    const AnswerParse data = parseAnswerData(packet.data);
    if (data.paramText.size() == 3)
        rec.param = data.paramText;
    if (!data.ok) {
        rec.state = errorText(data) + " at " + stateName(data.state);
        return;
    }
    rec.state = "OK";
    rec.result = data.errorCode;
    rec.resultText = resultText(data.errorCode);
    rec.ok = data.errorCode == 0;
}

void evaluateNormal(ExchangeRecord& rec)
{
    const NormalAnswer answer = parseNormalAnswer(rec.answer, static_cast<uint8_t>(rec.netNr));
    rec.resultChar = answer.resultChar;
    rec.resultText = normalResultText(answer.resultChar);
    rec.ok = answer.ok && answer.answerOk();
    rec.state = rec.answer.empty() ? kNoAnswer : rec.ok ? "OK" : "Error";
}

} // namespace

void evaluateAnswer(ExchangeRecord& rec)
{
    rec.evaluated = true;
    rec.ok = false;
    rec.result.reset();
    rec.resultChar = '\0';
    rec.resultText.clear();
    rec.param.clear();
    if (rec.extended)
        evaluateExtended(rec);
    else
        evaluateNormal(rec);
    if (rec.ok)
        rec.failure.clear();
    else if (rec.state == "OK" || rec.state == "Error")
        rec.failure = rec.resultText; // a well-formed answer that reports a failure
    else
        rec.failure = rec.state;
}

void markStopped(ExchangeRecord& rec)
{
    rec.evaluated = true;
    rec.ok = false;
    rec.state = "stopped";
    rec.failure = "stopped before the answer came";
    rec.rttMs.reset();
}

void markPortLost(ExchangeRecord& rec, const std::string& why)
{
    rec.evaluated = true;
    rec.ok = false;
    rec.state = "port lost";
    rec.failure = why;
    rec.rttMs.reset();
}

void markLineFailed(ExchangeRecord& rec, const std::string& state, const std::string& detail)
{
    rec.evaluated = true;
    rec.ok = false;
    rec.state = state;
    rec.failure = detail.empty() ? state : state + ": " + detail;
}

ExchangeSummary summarize(const std::vector<ExchangeRecord>& records)
{
    ExchangeSummary s;
    for (const ExchangeRecord& r : records) {
        if (!r.evaluated)
            continue;
        auto d = std::find_if(s.displays.begin(), s.displays.end(),
                              [&](const DisplaySummary& x) { return x.netNr == r.netNr; });
        if (d == s.displays.end()) {
            s.displays.push_back(DisplaySummary{});
            d = s.displays.end() - 1;
            d->netNr = r.netNr;
        }
        ++s.packets;
        ++d->packets;
        if (r.ok) {
            ++s.ok;
            ++d->ok;
        } else {
            ++s.failed;
            ++d->failed;
            d->lastFailure = r.failure;
        }
        if (r.rttMs) {
            ++d->timed;
            d->rttSumMs += *r.rttMs;
            d->rttMaxMs = std::max(d->rttMaxMs, *r.rttMs);
        }
    }
    return s;
}

} // namespace lmx
