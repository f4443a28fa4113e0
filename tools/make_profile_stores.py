#!/usr/bin/env python3
"""Writes the shipped profile stores: the factory defaults modules/setting/pD_Vesk.bin and the fresh working
store modules/setting/p_Vesk.bin (the defaults plus the current profile and the three dirty lists).

Both are INI text as QSettings writes it: sections and keys in sorted order, lists as "a, b, c".

    tools/make_profile_stores.py [output folder, default: modules/setting beside this script's parent]
"""

import pathlib
import sys

PROFILES = range(6)
BLOCK_SIZE = 128

# The sensor page shows a stage value times "dpiBase" of the application configuration.
DPI_BASE = 50
DPI_STAGES = [400, 800, 1600, 2400, 3200, 4800, 6400, 8000]

# The indicator's fixed palette, in palette-index order 0..7: red, green, blue, magenta, cyan, yellow, white,
# orange. Dpi8Io uses the indices, Dpi8Color the colours themselves.
PALETTE = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 0),
           (255, 255, 255), (255, 127, 0)]

# Six distinct lighting colours; the mouse repeats colour 6 in slots 7 and 8.
LIGHTING = [(255, 0, 0), (255, 127, 0), (255, 255, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255)]
LIGHTING += [LIGHTING[5], LIGHTING[5]]

EFFECT_BREATHING = 3
BRIGHTNESS = 255
SPEED = 5  # breathing takes 1..10; 5 is a step of the page's speed slider

# Recoil compensation: the marker the press-gun setter writes, times, x and y offset; switched off (byte 65).
GUN_MARKER = 0xF0
RECOIL_TIMES, RECOIL_X, RECOIL_Y = 6, 0, 5

# The key matrix: keys 0..15, four bytes each, the scene's own fallback defaults.
KEY_MATRIX = [
    (0x01, 0x00, 0xF0, 0x00),  # 0 left button
    (0x01, 0x00, 0xF1, 0x00),  # 1 right button
    (0x01, 0x00, 0xF2, 0x00),  # 2 middle button
    (0x01, 0x00, 0xF4, 0x00),  # 3 forward
    (0x01, 0x00, 0xF3, 0x00),  # 4 backward
    (0x07, 0x00, 0x03, 0x00),  # 5 DPI stage switch
    (0x0B, 0x00, 0x00, 0x00),  # 6
    (0x07, 0x00, 0x03, 0x00),  # 7 DPI stage switch
    (0x05, 0x00, 0x03, 0x00),  # 8
    (0x03, 0x00, 0x8A, 0x01),  # 9 mail
    (0x03, 0x00, 0x23, 0x02),  # 10 WWW home
    (0x03, 0x00, 0x94, 0x01),  # 11 my computer
    (0x00, 0x00, 0x00, 0x00),  # 12 nothing
    (0x00, 0x00, 0x00, 0x00),  # 13 nothing
    (0x04, 0x00, 0x01, 0x00),  # 14 scroll up
    (0x04, 0x00, 0x02, 0x00),  # 15 scroll down
]

OTHER = [2, 1, 0]  # DPI stage 2, report rate 1 (1000 Hz), twinkle type 0 (palette indices)
PROFILE_SW = ["false", 5, 2, 5]  # no acceleration, cursor speed 5, scroll lines 2, double-click speed 5


def profile_block():
    block = [0] * BLOCK_SIZE
    block[16:24] = range(8)
    block[24:48] = [c for colour in LIGHTING for c in colour]
    block[70] = len(DPI_STAGES)
    block[71:74] = [EFFECT_BREATHING, BRIGHTNESS, SPEED]
    block[78:82] = [GUN_MARKER, RECOIL_TIMES, RECOIL_X, RECOIL_Y]
    stages = [dpi // DPI_BASE for dpi in DPI_STAGES]
    block[84:100] = stages + stages
    block[104:128] = [c for colour in PALETTE for c in colour]
    assert len(block) == BLOCK_SIZE and all(0 <= b <= 255 for b in block)
    return block


def ini_list(values):
    return ", ".join(str(v) for v in values)


def groups():
    block = profile_block()
    matrix = [b for key in KEY_MATRIX for b in key]
    assert len(matrix) == 64
    per_profile = {
        "matrix_fw": matrix,
        "other_fw": OTHER,
        "profile_fw": block,
        "profile_sw": PROFILE_SW,
    }
    return {group: {str(p): ini_list(values) for p in PROFILES} for group, values in per_profile.items()}


def write_ini(path, sections):
    lines = []
    for section in sorted(sections):
        if lines:
            lines.append("")
        lines.append(f"[{section}]")
        for key in sorted(sections[section]):
            lines.append(f"{key}={sections[section][key]}")
    path.write_text("\n".join(lines) + "\n", encoding="ascii")


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / "modules" / "setting"
    folder.mkdir(parents=True, exist_ok=True)

    defaults = groups()
    write_ini(folder / "pD_Vesk.bin", defaults)

    working = groups()
    working["common"] = {"curProfile": "1"}
    clean = ini_list(["false"] * len(PROFILES))
    for group in ("matrix_fw", "other_fw", "profile_fw"):
        working[group]["dirty"] = clean
    write_ini(folder / "p_Vesk.bin", working)


if __name__ == "__main__":
    main()
