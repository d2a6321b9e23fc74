"""Tests of okta_pos without a register: the frame, the check sum, the value
forms, and how an exchange recovers with ENQ and drops stale answers (on a
scripted line)."""

import struct
import unittest

import okta_pos
from okta_pos import frame, crc16, var_int, var_decimal, tlv


class ScriptedLine:
    """Stands for the serial line: hands out the bytes of each scripted
    answer only after the write that the script expects, and records the
    writes."""

    def __init__(self, answers):
        self.answers = list(answers)  # per write: the bytes the register sends back
        self.pending = b""
        self.writes = []

    def write(self, data):
        self.writes.append(bytes(data))
        if self.answers:
            self.pending += self.answers.pop(0)

    def read(self, n):
        out, self.pending = self.pending[:n], self.pending[n:]
        return out

    def reset_input_buffer(self):
        self.pending = b""


def answer(code, ident, data=b""):
    return frame(bytes([code]) + struct.pack("<I", ident) + data)


def register_on(line, ident):
    reg = okta_pos.Register.__new__(okta_pos.Register)
    reg.line, reg.timeout, reg.last_id = line, 0.6, 0
    reg.prefix = okta_pos.cashier_prefix(20, 271828)
    reg.fresh_id = lambda: ident
    return reg


class FrameTest(unittest.TestCase):
    def test_check_sum_and_the_worked_example(self):
        self.assertEqual(crc16(b"123456789"), 0x29B1)
        self.assertEqual(frame(b"\x33"), bytes.fromhex("040100339CFD"))

    def test_value_forms(self):
        self.assertEqual(var_int(0), b"\x00")
        self.assertEqual(var_int(255), b"\xff")
        self.assertEqual(var_int(256), b"\x00\x01")
        self.assertEqual(var_int(-1), b"\xff" * 8)
        self.assertEqual(var_decimal("1.500"), bytes.fromhex("03DC05"))
        self.assertEqual(var_decimal("2"), bytes.fromhex("0002"))
        self.assertEqual(tlv(11301, b"\x05"), bytes.fromhex("252C010005"))
        self.assertEqual(okta_pos.cashier_prefix(20, 271828), bytes.fromhex("14D4250400"))

    def test_a_counter_set_is_406_bytes(self):
        with self.assertRaises(ValueError):
            okta_pos.parse_counters(b"\x00" * 405)
        data = bytearray(406)
        struct.pack_into("<HHHqqIq", data, 0, 3, 1, 0, 50000, 0, 2, 64116)
        struct.pack_into("<BIq", data, 34, 0, 2, 24116)
        struct.pack_into("<q", data, 34 + 53, 1517)
        c = okta_pos.parse_counters(bytes(data))
        self.assertEqual((c["shift"], c["receipts"], c["drawer"]), (3, 2, 64116))
        self.assertEqual(c["kinds"]["sale"]["total"], 24116)
        self.assertEqual(c["kinds"]["sale"]["taxes"][0], 1517)


class ExchangeTest(unittest.TestCase):
    def test_an_answer_to_an_earlier_request_is_dropped(self):
        line = ScriptedLine([answer(0, 7, b"old") + answer(0, 8, b"\x00\x01\x00")])
        self.assertEqual(register_on(line, 8).call(51), b"\x00\x01\x00")
        self.assertEqual(line.writes, [frame(b"\x33" + struct.pack("<I", 8))])

    def test_a_garbled_answer_is_asked_for_again_with_enq_not_resent(self):
        good = answer(0, 9, b"\x00\x01\x00")
        garbled = good[:-1] + bytes([good[-1] ^ 0xFF])
        line = ScriptedLine([garbled, good])
        self.assertEqual(register_on(line, 9).call(51), b"\x00\x01\x00")
        self.assertEqual(line.writes[1:], [b"\x05"])

    def test_silence_is_asked_for_again_with_enq(self):
        line = ScriptedLine([b"", answer(0, 10, b"\x00\x01\x00")])
        self.assertEqual(register_on(line, 10).call(51), b"\x00\x01\x00")
        self.assertEqual(line.writes[1:], [b"\x05"])

    def test_a_refusal_names_the_missing_tag(self):
        line = ScriptedLine([answer(37, 11, struct.pack("<H", 11081))])
        with self.assertRaises(okta_pos.Refused) as refused:
            register_on(line, 11).call(22, b"\x00" * 21)
        self.assertEqual(refused.exception.code, 37)
        self.assertIn("tag 11081", str(refused.exception))

    def test_no_answer_at_all_is_a_line_error(self):
        line = ScriptedLine([])
        with self.assertRaises(okta_pos.LineError):
            register_on(line, 12).call(51)
        self.assertEqual(line.writes[1:], [b"\x05"] * 3)


if __name__ == "__main__":
    unittest.main()
