#!/usr/bin/env python3
"""Writes a virtual-mouse state file (tests/virtual-mouse/README.md) holding the profiles of a profile store,
so that the program meets a mouse that stores what the shipped profiles describe.

    tools/vmouse_state.py modules/setting/p_Vesk.bin > mouse.state
"""
import configparser
import sys


def values(text):
    return [int(v) for v in text.replace(" ", "").split(",") if v != ""]


def block(numbers):
    data = bytes(n & 0xFF for n in numbers[:128])
    return (data + bytes(128 - len(data))).hex()


def main(path):
    store = configparser.ConfigParser(interpolation=None)
    store.read(path, encoding="utf-8")
    current = store.get("common", "curProfile", fallback="1")
    out = ["[device]", "plugged=1", "current_profile=%s" % current]
    other0 = values(store.get("other_fw", "0", fallback="1, 1, 0"))
    out.append("twinkle=%d" % (other0[2] if len(other0) > 2 else 0))
    for p in range(6):
        other = values(store.get("other_fw", str(p), fallback="1, 1, 0"))
        out += ["", "[profile%d]" % p,
                "stage=%d" % (other[0] if other else 1),
                "rate=%d" % (other[1] if len(other) > 1 else 1),
                "block=" + block(values(store.get("profile_fw", str(p), fallback=""))),
                "matrix=" + block(values(store.get("matrix_fw", str(p), fallback="")))]
    print("\n".join(out))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
