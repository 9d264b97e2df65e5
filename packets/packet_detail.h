#pragma once
// The sent packet and its answer of one exchange as rich text for the pane below the packet
// table: a row per field with its bytes in hex and what they mean, bad fields marked.

#include "exchange_record.h"

#include <QString>

QString packetDetailHtml(const lmx::ExchangeRecord& rec);
