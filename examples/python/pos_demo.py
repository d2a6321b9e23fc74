"""A sale on the register with okta_pos: sets a new register up when it has
to (factory number, registration, shift), sells two positions paid in cash
with change, and reads the shift's counters back.

    python3 pos_demo.py PORT        # the register's line, or DIR/host-line
"""

import sys

import okta_pos
from okta_pos import money


def main(port):
    reg = okta_pos.Register(port)
    print("register software %d.%d.%d" % tuple(reg.call(51)))
    if not reg.factory_number_set():
        reg.set_factory_number("0000000001")
        print("factory number set")
    if not reg.fiscalized():
        reg.register("7712345678", "9999078900012345",
                     ("ООО Ромашка", "г. Москва, ул. Ленина, 1", "Магазин у дома"),
                     [(1, 1, 2000, "НДС 20%")])
        print("registered")
    if not reg.shift_open():
        reg.open_shift()
        print("shift opened")

    sale = reg.sale([dict(name="Хлеб", price=4550, quantity="2"),
                     dict(name="Сыр", price=35000, quantity="0.250")],
                    cash=20000)
    print("receipt %d of shift %d, document %d: total %s, change %s" %
          (sale["receipt"], sale["shift"], sale["number"], money(sale["total"]),
           money(sale["change"])))

    counters = reg.shift_counters()
    sales = counters["kinds"]["sale"]
    print("shift %d: %d sales, %s, cash %s, tax 1 %s; drawer %s" %
          (counters["shift"], sales["count"], money(sales["total"]), money(sales["cash"]),
           money(sales["taxes"][0]), money(counters["drawer"])))
    reg.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: pos_demo.py PORT")
    try:
        main(sys.argv[1])
    except (okta_pos.Refused, okta_pos.LineError) as failure:
        sys.exit(str(failure))
