-- Lmx for Wireshark: the packets an Orvanta capture holds and the displays' answers, in both
-- framings, field by field, with the CRC checked and the answer judged in the receive box's
-- words.
--
-- The captures (lmx send --capture, File > Save Capture..., the capture folder) use the link
-- type LINKTYPE_USER0 (147): every frame holds the bytes of one packet, one answer, or bytes
-- that came but made no answer, exactly as they went over the line; its direction flag tells
-- what was sent from what came. This file registers the dissector for that link type.
--
-- The package installs it in Wireshark's global Lua plug-in folder. From a build tree:
--     wireshark -X lua_script:wireshark/lmx.lua capture.pcapng
--     tshark -2 -X lua_script:wireshark/lmx.lua -r capture.pcapng
-- (or copy it into ~/.local/lib/wireshark/plugins/). Whether a packet got an answer is known
-- once the whole capture has been read: tshark needs -2 for it, Wireshark always has it.
--
-- Filters: lmx.netnr == 3, lmx.crc.status == 0 (a bad CRC), lmx.no_answer, lmx.result != 0,
-- lmx.kind == 3 (bytes that made no answer), lmx.verdict contains "CRC".

local lmx = Proto("lmx", "Lmx LED display protocol")

-- Bit operations in every Lua a Wireshark has carried.
local bits = bit32 or bit
local function bxor(a, b)
    if bits then
        return bits.bxor(a, b)
    end
    local r, p = 0, 1
    while a > 0 or b > 0 do
        if a % 2 ~= b % 2 then
            r = r + p
        end
        a, b, p = math.floor(a / 2), math.floor(b / 2), p * 2
    end
    return r
end

-- CRC-16, polynomial 0x1021, initial value 0, most significant bit first.
local function crc_step(byte, crc)
    crc = bxor(crc, byte * 256)
    for _ = 1, 8 do
        if crc >= 0x8000 then
            crc = bxor((crc * 2) % 0x10000, 0x1021)
        else
            crc = (crc * 2) % 0x10000
        end
    end
    return crc
end

local function crc16(s)
    local crc = 0
    for i = 1, #s do
        crc = crc_step(s:byte(i), crc)
    end
    return crc
end

-- Hex digits of either case as a number; nil for anything else.
local function hexval(s)
    if s and #s > 0 and s:match("^%x+$") then
        return tonumber(s, 16)
    end
    return nil
end

local RESULT_TEXTS = {
    [0x00] = "OK", [0x01] = "Time out", [0x02] = "Invalid control/hex char",
    [0x03] = "CRC error", [0x04] = "Length error", [0x05] = "Packet nr error",
    [0x10] = "Invalid control code", [0x11] = "Invalid hex/dec char",
    [0x12] = "Invalid msg/pag/lin nr", [0x13] = "Invalid command", [0x14] = "Invalid text char",
    [0x15] = "Param value out of range", [0x16] = "Memory full error",
    [0x17] = "General format error", [0x18] = "Multiple errors",
    [0x20] = "Invalid answer packet", [0x21] = "Answer has wrong netnr",
    [0x22] = "Invalid answer sequence", [0x23] = "Invalid answer packet size",
    [0x24] = "Invalid char in answer", [0x25] = "Invalid answer CRC",
    [0x26] = "Answer packet incomplete", [0x27] = "Invalid hex val in answer",
    [0x28] = "Unknown ACK Param",
}
local function result_text(code)
    return RESULT_TEXTS[code] or "Unknown Result Code"
end

local STATE_NAMES = {
    [0] = "SOT", "ACK", "Network Nr", "Inverted Network Nr", "Packet Nr", "Data Length", "Data",
    "CRC", "EOT", "Ready", "Answer", "Param",
}

local NORMAL_TEXTS = {
    [0x2E] = "No Answer received. NetNr ?",
    [0x2F] = "No Answer received. Transmission done via NetNr 0. (RS485)",
    [0x30] = "OK.", [0x31] = "Time out.", [0x32] = "Invalid/unexpected control code.",
    [0x33] = "Invalid hex or decimal character.", [0x34] = "Invalid message/page/line number.",
    [0x35] = "Invalid command.", [0x36] = "Invalid text command.",
    [0x37] = "Parameter value out of range.", [0x38] = "Insufficient memory error.",
    [0x39] = "General format error.", [0x41] = "Other error, multiple errors.",
}
for c = 0x3A, 0x40 do
    NORMAL_TEXTS[c] = ""
end
local function normal_text(c)
    return NORMAL_TEXTS[c] or "Unknown Result Code"
end

local ESCAPE_NAMES = {
    [0x80] = "ESC Delete", [0xA0] = "ESC Font", [0xA1] = "ESC Color", [0xA2] = "ESC Hor.Size",
    [0xA3] = "ESC OutLine", [0xA4] = "ESC Flash", [0xA5] = "ESC Enable",
    [0xA7] = "ESC Vert.Size", [0xC0] = "ESC Appear", [0xC1] = "ESC DisAppear",
    [0xC4] = "ESC Vert. Pos.", [0xC6] = "ESC Pause", [0xC7] = "ESC Sound", [0xE0] = "ESC BTable",
    [0xE1] = "ESC WatchDog", [0xE2] = "ESC Hor. Pos.", [0xE4] = "ESC Conf.Display",
    [0xE5] = "ESC LedTest", [0xE6] = "ESC Time/Date",
}
local BLOCK_STARTS = { [0x01] = "SOT", [0x02] = "STX", [0x0E] = "SOP", [0x0A] = "SOL" }
local BLOCK_ENDS = { [0x04] = "EOT", [0x03] = "ETX", [0x0F] = "EOP", [0x0D] = "EOL", [0x1E] = "SEP" }
local BREAKS = { [0x07] = "FPACK", [0x08] = "NPACK" }

local KIND_PACKET, KIND_ANSWER, KIND_STRAY = 1, 2, 3

local frametype_request = frametype and frametype.REQUEST or nil
local frametype_response = frametype and frametype.RESPONSE or nil

local f = {
    kind = ProtoField.uint8("lmx.kind", "Kind", base.DEC,
        { [KIND_PACKET] = "Packet", [KIND_ANSWER] = "Answer",
          [KIND_STRAY] = "Bytes that made no answer" }),
    framing = ProtoField.string("lmx.framing", "Framing"),
    start = ProtoField.uint8("lmx.start", "Start", base.HEX),
    type = ProtoField.uint8("lmx.type", "Type", base.HEX,
        { [0x05] = "Packet", [0x06] = "Acknowledge (answer)" }),
    netnr = ProtoField.uint8("lmx.netnr", "Network number", base.DEC),
    inverse = ProtoField.uint8("lmx.netnr.inverse", "Inverted network number", base.HEX),
    packet = ProtoField.uint8("lmx.packet", "Packet number", base.HEX),
    position = ProtoField.uint8("lmx.packet.position", "Place in its series", base.DEC,
        { [0] = "only packet", [1] = "first", [3] = "middle", [2] = "last" }, 0xC0),
    sequence = ProtoField.uint8("lmx.packet.sequence", "Sequence", base.DEC, nil, 0x3F),
    length = ProtoField.uint8("lmx.length", "Data length", base.DEC),
    data = ProtoField.bytes("lmx.data", "Data"),
    command = ProtoField.string("lmx.command", "Command"),
    result = ProtoField.uint8("lmx.result", "Result", base.HEX, RESULT_TEXTS),
    param = ProtoField.uint8("lmx.param", "Acknowledge parameter", base.HEX,
        { [0] = "no data", [1] = "data follows" }),
    reply = ProtoField.bytes("lmx.reply", "Answer data"),
    result_char = ProtoField.uint8("lmx.result_char", "Result character", base.HEX, NORMAL_TEXTS),
    crc = ProtoField.uint16("lmx.crc", "CRC", base.HEX),
    crc_computed = ProtoField.uint16("lmx.crc.computed", "Computed CRC", base.HEX),
    crc_status = ProtoField.uint8("lmx.crc.status", "CRC status", base.DEC,
        { [0] = "Bad", [1] = "Good", [2] = "Unverified" }),
    finish = ProtoField.uint8("lmx.end", "End", base.HEX),
    noise = ProtoField.bytes("lmx.noise", "Not part of the packet"),
    verdict = ProtoField.string("lmx.verdict", "Verdict"),
    answer_in = ProtoField.framenum("lmx.answer_in", "Answer in", base.NONE, frametype_response),
    request_in = ProtoField.framenum("lmx.request_in", "Answer to the packet in", base.NONE,
                                     frametype_request),
    time = ProtoField.relative_time("lmx.time", "Time since the packet was written"),
    no_answer = ProtoField.bool("lmx.no_answer", "No answer"),
}
lmx.fields = {}
for _, field in pairs(f) do
    table.insert(lmx.fields, field)
end

local e = {
    bad_crc = ProtoExpert.new("lmx.crc.bad", "Bad CRC", expert.group.CHECKSUM, expert.severity.ERROR),
    malformed = ProtoExpert.new("lmx.malformed", "Malformed field", expert.group.MALFORMED,
                                expert.severity.ERROR),
    failed = ProtoExpert.new("lmx.failed", "The answer reports a failure",
                             expert.group.RESPONSE_CODE, expert.severity.WARN),
    no_answer = ProtoExpert.new("lmx.no_answer.expert", "No answer", expert.group.SEQUENCE,
                                expert.severity.WARN),
    stray = ProtoExpert.new("lmx.stray", "Bytes that made no answer", expert.group.SEQUENCE,
                            expert.severity.NOTE),
}
lmx.experts = { e.bad_crc, e.malformed, e.failed, e.no_answer, e.stray }

-- The writer marks bytes that made no answer in the frame's comment.
local comment_field
for _, name in ipairs({ "frame.comment", "pkt_comment" }) do
    local ok, field = pcall(Field.new, name)
    if ok then
        comment_field = field
        break
    end
end

-- Latin-1 to UTF-8, for the texts shown.
local function utf8(s)
    return (s:gsub("[\128-\255]", function(c)
        local b = c:byte()
        return string.char(0xC0 + math.floor(b / 64), 0x80 + b % 64)
    end))
end

local function hex_bytes(s)
    return (s:gsub(".", function(c) return string.format("%02X ", c:byte()) end))
end

-- What the first pass learnt about every frame: its kind, the packet an answer belongs to,
-- the answer a packet got, the command cut at a packet's end.
local frames = {}
local last_packet = nil

function lmx.init()
    frames = {}
    last_packet = nil
end

-- The extended answer check, as the program's receive box runs it: the walk starts again at
-- every start byte, reads the header fields against the packet's network number and packet
-- number, the data by its length, and the CRC over the acknowledge byte, the header and the
-- data. Returns the error code (0), the state it stopped in and the data.
local function parse_answer(s, netnr, packet)
    local len = math.min(#s, 255)
    local code, state, data = 0, 0, ""
    local crc, accumulate, data_length = 0, false, 0
    local i = 1
    while len > 0 do
        local c = s:byte(i)
        if c == 0x01 then
            state, crc, accumulate, data = 0, 0, false, ""
        end
        local stop = false
        if state == 0 then
            if c == 0x01 then
                state = 1
            end
        elseif state == 1 then
            if c == 0x06 then
                state, accumulate = 2, true
            else
                code = 0x20
            end
        elseif state >= 2 and state <= 5 then
            local v = i + 1 <= len and hexval(s:sub(i, i + 1)) or nil
            if i + 1 > len then
                stop = true
            elseif not v then
                code, stop = 0x27, true
            else
                crc = crc_step(s:byte(i), crc)
                i = i + 1
                local good, err
                if state == 2 then
                    good, err = v == netnr, 0x21
                elseif state == 3 then
                    good, err = v == bxor(netnr, 0xFF), 0x21
                elseif state == 4 then
                    good, err = v % 64 == packet % 64, 0x22
                else
                    data_length = v
                    good, err = v >= 4 and v <= 200, 0x23
                end
                if good then
                    state = state + 1
                else
                    code = err
                end
            end
        elseif state == 6 then
            if c == 0x04 then
                code, stop = 0x20, true
            else
                data = data .. string.char(c)
                if #data == data_length then
                    state = 7
                end
            end
        elseif state == 7 then
            accumulate = false
            local v = i + 3 <= len and hexval(s:sub(i, i + 3)) or nil
            if i + 3 > len then
                stop = true
            elseif not v then
                code, stop = 0x27, true
            else
                i = i + 3
                if v == crc then
                    state = 8
                else
                    code = 0x25
                end
            end
        elseif state == 8 then
            if c == 0x04 then
                state = 9
            else
                code, stop = 0x20, true
            end
        end
        if stop or i >= len or code ~= 0 or state == 9 then
            break
        end
        if accumulate then
            crc = crc_step(s:byte(i), crc)
        end
        i = i + 1
    end
    if code == 0 and state ~= 9 then
        code = 0x26
    end
    return code, state, data
end

-- The receive box's words for an extended answer, and whether it passed.
local function answer_verdict(s, netnr, packet)
    local code, state, data = parse_answer(s, netnr, packet)
    if code ~= 0 then
        return "Error " .. result_text(code) .. " at " .. STATE_NAMES[state], false
    end
    if #data < 4 then
        return "Error " .. result_text(0x23) .. " at Answer", false
    end
    local param = "$" .. data:sub(3, 4)
    local result = hexval(data:sub(1, 2))
    if not result then
        return "Error " .. result_text(0x27) .. " at Answer", false
    end
    if result ~= 0 then
        return "Answer: " .. result_text(result) .. " Param : " .. param, false
    end
    local p = hexval(data:sub(3, 4))
    if not p then
        return "Error " .. result_text(0x27) .. " at Param", false
    end
    if p > 1 then
        return "Error " .. result_text(0x28) .. " at Param", false
    end
    if p == 1 then
        return "OK", true, "Param: " .. param .. " Data: " .. hex_bytes(data:sub(5))
    end
    return "OK", true, "Param: " .. param .. " (No Data)"
end

-- The commands of a packet's data: block starts and ends, packet breaks, escape commands,
-- texts and other bytes, each with its place in the data. `carry` is the start of a command
-- the packet before cut off; the command's part here is shown as its continuation. Returns
-- the commands and what this packet leaves cut off at its end.
local function commands(data, carry)
    local s = carry .. data
    local out = {}
    local i = 1
    local function add(length, text)
        local from = i - 1 - #carry
        local to = from + length
        if from < 0 then
            text = text .. " (begun in the packet before)"
            from = 0
        end
        if to > from then
            table.insert(out, { from = from, length = to - from, text = text })
        end
        i = i + length
    end
    while i <= #s do
        local c = s:byte(i)
        local rest = #s - i
        if c == 0x1B then
            if rest < 1 then
                break
            end
            local cmd = s:byte(i + 1)
            local name = ESCAPE_NAMES[cmd] or string.format("ESC $%02X", cmd)
            if cmd < 0x80 then
                add(2, name .. " (not a command)")
            elseif cmd < 0xA0 then
                add(2, name)
            elseif cmd < 0xE0 then
                local n = cmd < 0xC0 and 1 or 2
                if rest < 1 + n then
                    break
                end
                local param = s:sub(i + 2, i + 1 + n)
                if cmd == 0xA6 and param:match("^[1-4]$") then
                    add(3, "ESC Inquiry" .. param)
                else
                    add(2 + n, name .. " '" .. utf8(param) .. "'")
                end
            else
                local eoc = s:find("\012", i + 2, true)
                if not eoc then
                    break
                end
                add(eoc - i + 1, name .. " '" .. utf8(s:sub(i + 2, eoc - 1)) .. "' EOC")
            end
        elseif BLOCK_STARTS[c] then
            if rest < 2 then
                break
            end
            add(3, BLOCK_STARTS[c] .. " '" .. utf8(s:sub(i + 1, i + 2)) .. "'")
        elseif BLOCK_ENDS[c] then
            add(1, BLOCK_ENDS[c])
        elseif BREAKS[c] then
            if rest < 5 then
                break
            end
            add(6, BREAKS[c] .. " '" .. s:sub(i + 1, i + 5) .. "'")
        elseif (c >= 0x20 and c < 0x7F) or c >= 0xA0 then
            local text = s:match("^[\032-\126\160-\255]+", i)
            add(#text, "'" .. utf8(text) .. "'")
        else
            add(1, string.format("byte 0x%02X", c))
        end
    end
    return out, s:sub(i)
end

-- The header of an extended packet or answer: network number, packet number, data length
-- (nil where a field is missing or not hex).
local function extended_header(s)
    return hexval(s:sub(3, 4)), hexval(s:sub(7, 8)), hexval(s:sub(9, 10))
end

local function is_outbound(pinfo, s)
    if pinfo.p2p_dir == 0 then
        return true
    elseif pinfo.p2p_dir == 1 then
        return false
    end
    -- Without the direction flag: a packet has type 05, or is a normal packet (start byte,
    -- two hex digits).
    return s:byte(1) == 0x01 and (s:byte(2) == 0x05 or hexval(s:sub(2, 3)) ~= nil)
end

-- The first pass: what the frame is, and which packet an answer belongs to.
local function learn(s, pinfo)
    local info = { time = pinfo.abs_ts }
    if is_outbound(pinfo, s) then
        info.kind = KIND_PACKET
        info.extended = s:byte(2) == 0x05
        if info.extended then
            info.netnr, info.packet = extended_header(s)
            local before = last_packet and frames[last_packet]
            -- A middle or last packet goes on with the command the packet before cut off.
            if info.packet and info.packet >= 0x80 and before and before.extended
                and before.netnr == info.netnr then
                info.carry = before.carry_out
            end
            local length = hexval(s:sub(9, 10)) or 0
            info.carry_out = select(2, commands(s:sub(11, 10 + length), info.carry or ""))
        else
            info.netnr = hexval(s:sub(2, 3))
        end
        last_packet = pinfo.number
        return info
    end
    local request = last_packet and frames[last_packet]
    info.request = last_packet
    info.extended = request and request.extended
    if info.extended == nil then
        info.extended = #s > 1
    end
    local comment = comment_field and comment_field()
    local said_stray = comment and tostring(comment):find("made no answer", 1, true)
    local answer_like = info.extended and s:byte(1) == 0x01 and s:byte(2) ~= 0x05
        or (not info.extended and #s == 1)
    if said_stray or not answer_like or (request and request.answer) then
        info.kind = KIND_STRAY
    else
        info.kind = KIND_ANSWER
        if request then
            request.answer = pinfo.number
        end
    end
    return info
end

-- The fields of an extended packet or answer, in the order they came; what is missing at the
-- end is said so.
local function extended_fields(tvb, tree, s, answer, expect)
    local n = #s
    local function range(from, length)
        if from >= n then
            return nil
        end
        return tvb(from, math.min(length, n - from))
    end
    tree:add(f.start, range(0, 1))
    local t = range(1, 1)
    if not t then
        tree:add_proto_expert_info(e.malformed, "The packet ends after its start byte")
        return
    end
    local type_item = tree:add(f.type, t)
    if s:byte(2) ~= (answer and 0x06 or 0x05) then
        type_item:add_proto_expert_info(e.malformed, answer and "Not 06" or "Not 05")
    end
    local netnr, packet, length = extended_header(s)
    local header = { { f.netnr, 2, netnr }, { f.inverse, 4, hexval(s:sub(5, 6)) },
                     { f.packet, 6, packet }, { f.length, 8, length } }
    for _, h in ipairs(header) do
        local r = range(h[2], 2)
        if not r or r:len() < 2 then
            return tree:add_proto_expert_info(e.malformed, "The packet ends inside its header")
        end
        if not h[3] then
            tree:add(h[1], r, 0):append_text(" (not hex: " .. utf8(r:raw()) .. ")")
            tree:add_proto_expert_info(e.malformed, "A header field is not hex")
        else
            local item = tree:add(h[1], r, h[3])
            if h[1] == f.netnr and expect.netnr and h[3] ~= expect.netnr then
                item:append_text(", expected " .. expect.netnr)
                item:add_proto_expert_info(e.malformed, "Not the network number of the packet")
            elseif h[1] == f.inverse and netnr and h[3] ~= bxor(expect.netnr or netnr, 0xFF) then
                item:append_text(" (does not match)")
                item:add_proto_expert_info(e.malformed, "Not the inverse of the network number")
            elseif h[1] == f.packet then
                item:add(f.position, r, h[3])
                item:add(f.sequence, r, h[3])
                if expect.packet and h[3] % 64 ~= expect.packet % 64 then
                    item:append_text(", expected sequence " .. expect.packet % 64)
                    item:add_proto_expert_info(e.malformed, "Not the packet number of the packet")
                end
            elseif h[1] == f.length and answer and (h[3] < 4 or h[3] > 200) then
                item:append_text(" (not 4..200)")
                item:add_proto_expert_info(e.malformed, "Answer data length outside 4..200")
            end
        end
    end
    local data_length = length or 0
    local data = range(10, data_length)
    if data then
        local item = tree:add(f.data, data)
        if answer then
            local d = data:raw()
            local result = hexval(d:sub(1, 2))
            if #d >= 2 then
                local r = data:range(0, 2)
                if result then
                    local result_item = item:add(f.result, r, result)
                    if result ~= 0 then
                        result_item:add_proto_expert_info(e.failed, "The display answered: "
                                                          .. result_text(result))
                    end
                else
                    item:add(f.result, r, 0):append_text(" (not hex)")
                end
            end
            if #d >= 4 then
                item:add(f.param, data:range(2, 2), hexval(d:sub(3, 4)) or 0)
            end
            if #d > 4 then
                item:add(f.reply, data:range(4))
            end
        end
        if data:len() < data_length then
            return tree:add_proto_expert_info(e.malformed, "The data is cut short")
        end
    end
    local crc_at = 10 + data_length
    local crc_range = range(crc_at, 4)
    if not crc_range or crc_range:len() < 4 then
        return tree:add_proto_expert_info(e.malformed, "The packet ends before its CRC")
    end
    local computed = crc16(s:sub(2, crc_at))
    local value = hexval(crc_range:raw())
    local crc_item = tree:add(f.crc, crc_range, value or 0)
    crc_item:add(f.crc_computed, crc_range, computed):set_generated()
    local good = value == computed
    crc_item:append_text(good and " [good]" or " [bad, computed " .. string.format("0x%04x", computed) .. "]")
    crc_item:add(f.crc_status, crc_range, good and 1 or 0):set_generated()
    if not good then
        crc_item:add_proto_expert_info(e.bad_crc, value and "Bad CRC" or "The CRC is not hex")
    end
    local end_range = range(crc_at + 4, 1)
    if not end_range then
        return tree:add_proto_expert_info(e.malformed, "The packet has no end byte")
    end
    local end_item = tree:add(f.finish, end_range)
    if s:byte(crc_at + 5) ~= 0x04 then
        end_item:add_proto_expert_info(e.malformed, "Not 04")
    end
    local after = range(crc_at + 5, n)
    if after then
        tree:add(f.noise, after)
    end
end

local function add_commands(tvb, tree, offset, data, carry)
    if #data == 0 then
        return
    end
    local list, rest = commands(data, carry or "")
    local sub = tree:add(lmx, tvb(offset, #data), "Commands")
    for _, c in ipairs(list) do
        sub:add(f.command, tvb(offset + c.from, c.length), c.text)
    end
    if #rest > 0 then
        sub:add(lmx, tvb(offset + #data - math.min(#rest, #data), math.min(#rest, #data)),
                "A command cut off here (goes on in the next packet)")
    end
end

function lmx.dissector(tvb, pinfo, tree)
    local s = tvb:raw()
    local number = pinfo.number
    pinfo.cols.protocol = "Lmx"
    if #s == 0 then
        pinfo.cols.info = "Empty frame"
        return
    end
    if not pinfo.visited or not frames[number] then
        frames[number] = learn(s, pinfo)
    end
    local info = frames[number]
    local request = info.request and frames[info.request]
    local root = tree:add(lmx, tvb(), "Lmx")
    root:add(f.kind, info.kind):set_generated()
    root:add(f.framing, info.extended and "extended" or "normal"):set_generated()

    if info.kind == KIND_PACKET then
        local netnr = info.netnr or 0
        if info.extended then
            local packet = info.packet or 0
            pinfo.cols.info = string.format("NetNr: %d Transmitted Packet Number: %d", netnr,
                                            packet % 64)
            extended_fields(tvb, root, s, false, {})
            local length = hexval(s:sub(9, 10)) or 0
            add_commands(tvb, root, 10, s:sub(11, 10 + math.min(length, #s - 10)), info.carry)
        else
            pinfo.cols.info = string.format("NetNr: %d Transmit Normal LMX", netnr)
            root:add(f.start, tvb(0, 1))
            if #s >= 3 then
                root:add(f.netnr, tvb(1, 2), info.netnr or 0)
            end
            local ended = s:byte(#s) == 0x04 and #s > 3
            local data = s:sub(4, ended and #s - 1 or #s)
            if #data > 0 then
                root:add(f.data, tvb(3, #data))
                add_commands(tvb, root, 3, data)
            end
            if ended then
                root:add(f.finish, tvb(#s - 1, 1))
            else
                root:add_proto_expert_info(e.malformed, "The packet has no end byte")
            end
        end
        if info.answer then
            root:add(f.answer_in, info.answer):set_generated()
        elseif pinfo.visited then
            -- The whole capture has been read: nothing came for it.
            local broadcast = netnr == 0
            root:add(f.no_answer, true):set_generated()
            if broadcast then
                pinfo.cols.info:append(" [no answer needed: NetNr 0]")
            else
                root:add_proto_expert_info(e.no_answer, "No answer to this packet")
                pinfo.cols.info:append(" [no answer]")
            end
        end
        return
    end

    local expect = {}
    if request then
        expect.netnr, expect.packet = request.netnr, request.packet
        root:add(f.request_in, info.request):set_generated()
        local delta = pinfo.abs_ts - request.time
        local seconds = math.floor(delta)
        root:add(f.time, tvb(0, 0), NSTime.new(seconds, math.floor((delta - seconds) * 1e9 + 0.5)))
            :set_generated()
    end
    if info.kind == KIND_STRAY then
        root:add(f.noise, tvb())
        root:add_proto_expert_info(e.stray, "Bytes that made no answer")
        pinfo.cols.info = string.format("NetNr: %s %d byte%s that made no answer",
            expect.netnr or "?", #s, #s == 1 and "" or "s")
        return
    end
    if info.extended then
        local netnr, packet = extended_header(s)
        expect.netnr = expect.netnr or netnr or 0
        expect.packet = expect.packet or packet or 0
        local verdict, ok, detail = answer_verdict(s, expect.netnr, expect.packet)
        root:add(f.verdict, verdict):set_generated()
        extended_fields(tvb, root, s, true, expect)
        pinfo.cols.info = string.format("NetNr: %d Received Packet Number: %d %s", expect.netnr,
                                        expect.packet % 64, ok and detail or verdict)
    else
        local c = s:byte(1)
        local ok = c == 0x30 or c == 0x2F
        local verdict = ok and normal_text(c) or "Error: " .. normal_text(c)
        root:add(f.result_char, tvb(0, 1))
        root:add(f.verdict, verdict):set_generated()
        if not ok then
            root:add_proto_expert_info(e.failed, "The display answered: " .. normal_text(c))
        end
        pinfo.cols.info = string.format("NetNr: %d %s", expect.netnr or 0,
                                        ok and "Answer Normal LMX: " .. verdict or verdict)
    end
end

local encap = (wtap_encaps and wtap_encaps.USER0) or (wtap and wtap.USER0) or 45
DissectorTable.get("wtap_encap"):add(encap, lmx)
