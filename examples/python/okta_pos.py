"""A small POS module for the register OKTA-80-F, on pyserial.

Written from docs/protocol.md alone: the frame and its check sum, request
identifiers with ENQ recovery, the cashier prefix, tagged values, a receipt
and the counters. Nothing here comes from the register's program or the C++
host kit.

    import okta_pos
    reg = okta_pos.Register("/dev/ttyACM0")          # or DIR/host-line
    reg.call(51)                                     # -> b"\\x00\\x01\\x00"
"""

import os
import struct
import time

import serial

START = 0x04
ENQ = 0x05

# Result codes a POS meets most (docs/protocol.md lists them all).
MEANINGS = {
    0: "success",
    13: "factory data not valid",
    16: "the cashier lacks the right",
    18: "wrong cashier password",
    26: "a shift is open",
    27: "no shift is open",
    28: "a document is already open",
    29: "no document is open",
    37: "a required tagged value is missing",
    47: "payments below the receipt total",
    53: "printer not answering",
    54: "paper out",
}


def crc16(data, crc=0xFFFF):
    """CRC-16/CCITT-FALSE: polynomial 0x1021, start 0xFFFF, no reflection."""
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else (crc << 1)
            crc &= 0xFFFF
    return crc


def frame(payload):
    """A whole frame: start byte, length, payload, check sum (both LE)."""
    body = struct.pack("<H", len(payload)) + payload
    return bytes([START]) + body + struct.pack("<H", crc16(body))


class Refused(Exception):
    """The register answered with a result code other than 0."""

    def __init__(self, command, code, data):
        self.command, self.code, self.data = command, code, data
        text = MEANINGS.get(code, "see the result codes")
        if code == 37 and len(data) == 2:
            text += " (tag %d)" % struct.unpack("<H", data)[0]
        super().__init__("command %d refused with code %d: %s" % (command, code, text))


class LineError(Exception):
    """No answer that could be read, even after asking again with ENQ."""


# Tagged values: tag (u16 LE), length (u16 LE), value.
def tlv(tag, value):
    return struct.pack("<HH", tag, len(value)) + value


def var_int(n):
    """A signed 64-bit number, little-endian, high zero bytes dropped."""
    raw = struct.pack("<q", n).rstrip(b"\x00")
    return raw or b"\x00"


def var_decimal(text):
    """A quantity such as "1.5" or "0.250": digits after the point, then VarInt."""
    whole, _, fraction = text.partition(".")
    return bytes([len(fraction)]) + var_int(int(whole + fraction))


def text(s):
    return s.encode("cp866")


def cashier_prefix(number, password):
    """Cashier number (1 byte), password (u32 LE): the head of authorised requests."""
    return struct.pack("<BI", number, password)


class Register:
    """One register on a serial line; requests one at a time."""

    def __init__(self, port, cashier=20, password=271828, timeout=30.0):
        self.line = serial.Serial(port, 115200, timeout=0.05, exclusive=True)
        self.prefix = cashier_prefix(cashier, password)
        self.timeout = timeout
        self.last_id = 0

    def close(self):
        self.line.close()

    def fresh_id(self):
        """A non-zero identifier unlike the last one, so a stale answer is known."""
        while True:
            ident = struct.unpack("<I", os.urandom(4))[0]
            if ident not in (0, self.last_id):
                self.last_id = ident
                return ident

    def read_frame(self, deadline):
        """One answer frame (code, identifier, data), or None at the deadline
        or when the frame is garbled."""
        while time.monotonic() < deadline:
            b = self.line.read(1)
            if b and b[0] == START:
                break
        else:
            return None
        head = self._read_exactly(2, deadline)
        if head is None:
            return None
        (length,) = struct.unpack("<H", head)
        rest = self._read_exactly(length + 2, deadline)
        if rest is None or length < 1:
            return None
        payload, check = rest[:length], struct.unpack("<H", rest[length:])[0]
        if crc16(head + payload) != check:
            return None
        ident = struct.unpack("<I", payload[1:5])[0] if length >= 5 else 0
        return payload[0], ident, payload[5:]

    def _read_exactly(self, count, deadline):
        got = b""
        while len(got) < count and time.monotonic() < deadline:
            got += self.line.read(count - len(got))
        return got if len(got) == count else None

    def exchange(self, command, data=b"", timeout=None):
        """Sends one request and returns (code, data) of its answer.

        Answers that carry another identifier are left over from an earlier
        request and dropped. Silence or a garbled answer is asked for again
        with ENQ (the register resends its last answer, byte for byte); the
        request itself is never sent twice, so a document is never made twice.
        """
        ident = self.fresh_id()
        wait = timeout or self.timeout
        self.line.reset_input_buffer()
        self.line.write(frame(bytes([command]) + struct.pack("<I", ident) + data))
        deadline = time.monotonic() + wait
        asks = 0
        while True:
            answer = self.read_frame(min(deadline, time.monotonic() + wait / 4))
            if answer is not None and answer[1] == ident:
                return answer[0], answer[2]
            if answer is not None:
                continue  # an earlier request's answer
            if time.monotonic() >= deadline or asks == 3:
                raise LineError("command %d: no answer" % command)
            asks += 1
            self.line.write(bytes([ENQ]))

    def call(self, command, data=b"", timeout=None):
        """exchange, raising Refused unless the answer is code 0."""
        code, answer = self.exchange(command, data, timeout)
        if code != 0:
            raise Refused(command, code, answer)
        return answer

    def authorised(self, command, payload=b"", timeout=None):
        """A request that carries the cashier prefix."""
        return self.call(command, self.prefix + payload, timeout)

    # The register's identity and state.
    def factory_number_set(self):
        code, _ = self.exchange(16)
        return code == 0

    def shift_open(self):
        return self.call(16)[0] == 1

    def fiscalized(self):
        flags = struct.unpack("<H", self.call(48)[-21:][0:2])[0]
        return bool(flags & 0x0002)

    # Setting a new register up.
    def set_factory_number(self, digits):
        self.authorised(63, digits.encode("ascii"))

    def register(self, inn, storage_number, texts, taxes):
        """A registration report: open (8), the three texts and the taxes
        (7 each), close (9) with the taxpayer and storage numbers.
        taxes: list of (number 1..5, kind, rate in hundredths of a percent, name)."""
        self.authorised(8)
        try:
            for tag, value in zip((11048, 11187, 11009), texts):
                self.call(7, tlv(tag, text(value)))
            for number, kind, rate, name in taxes:
                inner = tlv(13102, bytes([kind])) + tlv(13103, struct.pack("<H", rate))
                self.call(7, tlv(13104 + number, inner + tlv(13104, text(name))))
            # 12 and 16 bytes: a 10-digit taxpayer number ends in zero bytes.
            numbers = (inn.encode("ascii").ljust(12, b"\0") +
                       storage_number.encode("ascii").ljust(16, b"\0"))
            return self.call(9, numbers, 120)
        except Refused:
            self.exchange(6)  # a refused close keeps the report open
            raise

    def open_shift(self):
        self.authorised(17)
        return self.call(18, b"", 60)

    # A receipt.
    def sale(self, positions, cash, non_cash=0, kind=0):
        """Opens a receipt (21), adds each position (7), closes it (22).

        positions: dicts with name, price (kopecks), quantity ("2", "0.5"),
        and optionally tax (1..5, default 1) and section (1..20, default 1).
        Returns the close answer as a dict: number, sign, time, shift,
        receipt, total and change (kopecks)."""
        self.authorised(21, bytes([kind]))
        # A refused position drops the whole receipt on the register's side.
        for p in positions:
            item = (tlv(11030, text(p["name"])) +
                    tlv(11079, var_int(p["price"])) +
                    tlv(11023, var_decimal(p["quantity"])) +
                    tlv(11199, bytes([p.get("tax", 1)])) +
                    tlv(11301, bytes([p.get("section", 1)])))
            self.call(7, tlv(11059, item))
        reply = self.call(22, struct.pack("<qq", cash, non_cash), 120)
        number, sign, when, shift, receipt, total, change = struct.unpack("<IIIHHqq", reply)
        return dict(number=number, sign=sign, time=when, shift=shift, receipt=receipt,
                    total=total, change=change)

    # Counters.
    def shift_counters(self):
        """Command 54: the 406-byte counter set of the current shift."""
        return parse_counters(self.call(54))


KINDS = ("sale", "purchase", "return of sale", "return of purchase")


def parse_counters(data):
    """The 406-byte counter set: top fields, then four 93-byte kind entries."""
    if len(data) != 406:
        raise ValueError("a counter set is 406 bytes, not %d" % len(data))
    shift, ins, outs, in_sum, out_sum, receipts, drawer = struct.unpack_from("<HHHqqIq", data)
    counters = dict(shift=shift, cash_in_count=ins, cash_out_count=outs, cash_in=in_sum,
                    cash_out=out_sum, receipts=receipts, drawer=drawer, kinds={})
    for i, name in enumerate(KINDS):
        base = 34 + 93 * i
        _, count, total = struct.unpack_from("<BIq", data, base)
        payments = struct.unpack_from("<5q", data, base + 13)
        taxes = struct.unpack_from("<5q", data, base + 53)
        counters["kinds"][name] = dict(count=count, total=total, cash=payments[0],
                                       non_cash=payments[1], taxes=list(taxes))
    return counters


def money(kopecks):
    sign = "-" if kopecks < 0 else ""
    return "%s%d.%02d" % (sign, abs(kopecks) // 100, abs(kopecks) % 100)
