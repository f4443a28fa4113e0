#!/usr/bin/env python3
"""Writes the data files shipped in modules/: the application configuration and its defaults, the language
files and the recoil tables. They are INI text as Qt's QSettings reads it (UTF-8; a list is one line of
entries separated by ", "). Run from anywhere; the output replaces the files in the tree.

Usage: tools/gen_modules_data.py
"""
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent / "modules"

# ---------------------------------------------------------------------------------------------------------
# Application configuration

TITLE = "Vesk Mouse Configuration"
# One name per entry of device/DevInfo.ini; entry 1 is this mouse.
PRODUCT_NAMES = ["Vesk Classic", "Vesk Gaming Mouse"]
WEB_ADDRESS = "https://vesk.example.com/"

# The text colours of the global-settings page; the first is the scene's default highlight colour.
TEXT_COLOURS = [
    (0, 255, 255),  # cyan
    (255, 255, 255),  # white
    (255, 0, 0),  # red
    (255, 127, 0),  # orange
    (255, 255, 0),  # yellow
    (0, 255, 0),  # green
    (255, 0, 255),  # magenta
]
# The language menu is sorted by name: CHINESE (Simp), ENGLISH (UNITED STATES).
ENGLISH_MENU_INDEX = 1
FULL_BRIGHTNESS = 7

# The mouse stores eight lighting colours, but colours 7 and 8 always repeat colour 6.
COLOR_MAX_STAGE = 6
# LED POWER ON, STATIC, TWINKLING, BREATHING, NEON, WAVE, GLIDING, FINGER MOVING, VERTICAL FLIPPING,
# YO-YO, SPOTLIGHT: the firmware runs every one of them.
EFFECT_ENABLE = [True] * 11
# A DPI stage is stored as DPI / 50 in one byte, as the profile defaults hold it.
DPI_BASE = 50
DPI_VALUES = [400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 4000, 4800, 5000, 6000, 7200, 8000,
              10000, 12000]


def configuration_list():
    entries = [2, 0, 0, 0, ENGLISH_MENU_INDEX, False, "", 0]  # version, 0, 0, animation on, language, no
    for colour in TEXT_COLOURS:  # custom background and its source, normal size
        entries += list(colour)
    entries += [0, FULL_BRIGHTNESS, WEB_ADDRESS]
    return entries


# ---------------------------------------------------------------------------------------------------------
# Languages: font, the 167 general strings (1 … 167, in the scene's order), 7 message texts, and the names
# of the mouse's keys 0 … 15 (empty where the mouse has no key).

ENGLISH_STRINGS = [
    "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",  # 1-7
    "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",  # 8-12
    "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE", "INDUCTION BRIGHTEN",  # 13-19
    "NEON", "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE", "SPOTLIGHT", "ROTATION",  # 20-25
    "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND", "ON", "OFF", "TEXT", "SIZE", "COLOR",  # 26-35
    "BRIGHTNESS", "NORMAL", "LARGER",  # 36-38
    "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4", "SKIN 5",  # 39-43
    "MACRO", "ACTION", "KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO",  # 44-50
    "LEFT", "RIGHT", "MIDDLE", "BACKWARD", "FORWARD",  # 51-55
    "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP", "VOLUME DOWN",  # 56-62
    "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER",  # 63-66
    "WWW SEARCH", "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES",  # 67-73
    "KEY", "MACRO", "COLOR", "RESET", "CANCEL", "GAMING MODE",  # 74-79
    "DELETE", "CUT", "PASTE", "COPY", "LOAD", "SAVE", "SENSOR",  # 80-86
    "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO",  # 87-92
    "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH", "NORMAL PLAY", "TIMES", "ALWAYS REPEAT",  # 93-98
    "REPEAT ON PRESSED", "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED",  # 99-102
    "DOUBLE CLICK SPEED", "DPI LEVEL", "DPI INDICATOR LED", "DEFAULT", "APPLY",  # 103-107
    "SCROLL SWAP", "SCROLL UP", "SCROLL DOWN", "LED CONTROL", "RENAME", "ALL RESET", "ALL SAVE",  # 108-114
    "LOOP SWITCH", "TWO GUN LOOP", "THREE GUN LOOP",  # 115-117: the gun key's modes (key page)
    "",  # 118
    "PRESS GUN", "X ADJUST", "Y ADJUST", "TIMES", "SWITCH", "CURSOR RETURN", "SYSTEM", "USER",  # 119-126
    "", "",  # 127-128
    "GAME 1", "GAME 2", "GAME 3",  # 129-131: the recoil page's games
    "GUN KEY",  # 132: the key page's gun-key function
    "TYPE NAME",  # 133: an unnamed gun (recoil page)
    "GAME",  # 134: the recoil page's game chooser
    "", "", "", "", "", "",  # 135-140
    "THE LAST CHANGE DID NOT REACH THE MOUSE", "NO MOUSE FOUND: CHANGES ARE NOT SENT",  # 141-142: the device
    "THE MOUSE DOES NOT ANSWER",  # 143: notices, by kind
    "FIRMWARE",  # 144: the global-settings panel's firmware version
    "CHOOSE A FUNCTION AT THE LEFT",  # 145: the page area while no page is open
    "NEW MACRO", "DELETE THE MACRO",  # 146-147: the macro library's buttons
    "RECORD FROM THE KEYBOARD", "STOP RECORDING",  # 148-149: the macro page's tools (tips)
    "ADD THE KEY", "ADD THE MOUSE BUTTON", "ADD THE DELAY",  # 150-152
    "DELETE THE LINE", "CUT THE LINE", "COPY THE LINE", "PASTE BEFORE THE CHOSEN LINE",  # 153-156
    "RIGHT CLICK: LOAD, SAVE OR RENAME",  # 157: a macro of the library
    "RIGHT CLICK: CHOOSE ITS DPI",  # 158: a DPI stage (sensor page)
    "CLICK TO CHOOSE THE GUN",  # 159: the recoil page's picture
    "RIGHT CLICK: LOAD, SAVE OR RESET",  # 160: a profile of the profile menu
    "CLOSE", "OPEN THE WEB PAGE", "PICK ANY COLOR",  # 161-163: the close mark, the logo, the panel's palette
    "LINE", "LINES",  # 164-165: the scroll read-out, one line and more
    "KEY FUNCTION",  # 166: the key page's function menu
    "GUN",  # 167: a gun of the recoil grid without a name
]

CHINESE_STRINGS = [
    "选项", "循环", "速度", "亮度", "方向", "绘制", "灯效",  # 1-7
    "自定义 1", "自定义 2", "自定义 3", "自定义 4", "自定义 5",  # 8-12
    "常亮", "呼吸", "波浪", "感应渐暗", "跑马灯", "涟漪", "感应渐亮",  # 13-19
    "霓虹", "彩色跑马灯", "雨滴", "环形跑马灯", "聚光灯", "旋转",  # 20-25
    "皮肤", "声音", "动画", "语言", "背景", "开", "关", "文字", "大小", "颜色",  # 26-35
    "亮度", "正常", "较大",  # 36-38
    "皮肤 1", "皮肤 2", "皮肤 3", "皮肤 4", "皮肤 5",  # 39-43
    "宏", "动作", "键盘", "鼠标", "多媒体", "组合键", "宏",  # 44-50
    "左键", "右键", "中键", "后退", "前进",  # 51-55
    "下一曲", "上一曲", "停止", "播放 / 暂停", "静音", "音量加", "音量减",  # 56-62
    "媒体选择", "邮件", "计算器", "我的电脑",  # 63-66
    "网页搜索", "网页主页", "网页后退", "网页前进", "网页停止", "网页刷新", "网页收藏夹",  # 67-73
    "按键", "宏", "灯光", "重置", "取消", "游戏模式",  # 74-79
    "删除", "剪切", "粘贴", "复制", "载入", "保存", "传感器",  # 80-86
    "开机灯效", "闪烁", "滑行", "手指移动", "垂直翻转", "溜溜球",  # 87-92
    "连发键", "三连击", "DPI 切换", "普通播放", "次数", "一直重复",  # 93-98
    "按住重复", "回报率", "指针速度", "垂直滚动速度",  # 99-102
    "双击速度", "DPI 档位", "DPI 指示灯", "默认", "应用",  # 103-107
    "滚轮反转", "滚轮向上", "滚轮向下", "灯光控制", "重命名", "全部重置", "全部保存",  # 108-114
    "循环切换", "双枪循环", "三枪循环",  # 115-117
    "",  # 118
    "压枪", "X 调整", "Y 调整", "次数", "开关", "光标复位", "系统", "用户",  # 119-126
    "", "",  # 127-128
    "游戏 1", "游戏 2", "游戏 3",  # 129-131
    "枪键",  # 132
    "输入名称",  # 133
    "游戏",  # 134
    "", "", "", "", "", "",  # 135-140
    "最近的更改未能送达鼠标", "未找到鼠标：更改不会发送", "鼠标没有响应",  # 141-143
    "固件",  # 144
    "请从左侧选择一项功能",  # 145
    "新建宏", "删除宏",  # 146-147
    "从键盘录制", "停止录制",  # 148-149
    "添加按键", "添加鼠标按键", "添加延时",  # 150-152
    "删除该行", "剪切该行", "复制该行", "粘贴到所选行之前",  # 153-156
    "右键：载入、保存或重命名",  # 157
    "右键：选择该档 DPI",  # 158
    "点击选择枪械",  # 159
    "右键：载入、保存或重置",  # 160
    "关闭", "打开网页", "选择任意颜色",  # 161-163
    "行", "行",  # 164-165
    "按键功能",  # 166
    "枪械",  # 167
]

# 0, 1: the over-long macro box; 2, 3: the unreadable background picture (the path follows 3 directly);
# 4, 5: taking the left-button function from the last key that has it; 6: a general notice title.
ENGLISH_MESSAGES = [
    "MACRO",
    "Out of memory,\nsome command line has been cut.",
    "BACKGROUND",
    "This picture cannot be opened:\n",
    "WARNING",
    "No other key will work as the left button.\nDo you want to go on?",
    "NOTICE",
]
CHINESE_MESSAGES = [
    "宏",
    "内存不足，\n部分命令行已被截断。",
    "背景",
    "无法打开此图片：\n",
    "警告",
    "将没有其他按键作为左键使用。\n确定要继续吗？",
    "提示",
]

# The mouse's keys 0-6, 14 and 15 (the default key matrix: left, right, middle, forward, backward, DPI
# switch, gun key, scroll up, scroll down); 7-13 do not exist on this mouse.
ENGLISH_KEYS = ["LEFT BUTTON", "RIGHT BUTTON", "MIDDLE BUTTON", "FORWARD BUTTON", "BACKWARD BUTTON",
                "DPI SWITCH", "GUN KEY"] + [""] * 7 + ["SCROLL UP", "SCROLL DOWN"]
CHINESE_KEYS = ["左键", "右键", "中键", "前进键", "后退键", "DPI 切换键", "枪键"] + [""] * 7 + ["滚轮向上", "滚轮向下"]

LANGUAGES = {
    "031225": ("Arial", ENGLISH_STRINGS, ENGLISH_MESSAGES, ENGLISH_KEYS),  # English, United States
    "025044": ("Noto Sans CJK SC", CHINESE_STRINGS, CHINESE_MESSAGES, CHINESE_KEYS),  # Chinese, China
}
GENERAL_STRINGS = 167
MESSAGES = 7
PRODUCT_KEYS = 16

# ---------------------------------------------------------------------------------------------------------
# Recoil tables: per game twelve guns of [name, index, X, Y, times, switch, cursor return], the page's
# built-in system values; the selection of each fire-key slot is [game, gun].

GAMES = 3
GUNS = 12
FIRE_KEY_SLOTS = 3
NAMED_GUNS = [("VECTOR", 27), ("UZI", 18), ("TMX", 50), ("UNP9", 28), ("AKM", 43), ("M16A4", 35),
              ("SCAR-L_7", 35), ("M416", 45), ("TOMMY GUN", 25), ("RIFLE", 40)]


def gun_record(game, gun):
    if game == 0 and gun < len(NAMED_GUNS):
        name, y = NAMED_GUNS[gun]
        return [name, gun, 0, y, 0, 1, 0]
    return ["", gun, 0, 5, 6, 1, 0 if game == 0 else 1]


# ---------------------------------------------------------------------------------------------------------
# INI text


def ini_scalar(value):
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    text = str(value)
    special = any(c in text for c in ',;"\\\n=') or text != text.strip() or text.startswith("@")
    if not special:
        return text
    escaped = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")
    return f'"{escaped}"'


def ini_value(value):
    if isinstance(value, list):
        return ", ".join(ini_scalar(v) for v in value)
    return ini_scalar(value)


def ini_text(groups):
    sections = []
    for group, keys in groups.items():
        lines = [f"[{group}]"] + [f"{key}={ini_value(value)}" for key, value in keys.items()]
        sections.append("\n".join(lines) + "\n")
    return "\n".join(sections)


def write(relative, groups):
    path = ROOT / relative
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(ini_text(groups), encoding="utf-8", newline="\n")


def main():
    entries = configuration_list()
    assert len(entries) == 32 and len(set(TEXT_COLOURS)) == 7
    assert len(EFFECT_ENABLE) == 11 and len(DPI_VALUES) == 18
    assert all(v % DPI_BASE == 0 and v // DPI_BASE <= 255 for v in DPI_VALUES)
    common = {"name": TITLE, "product_name": PRODUCT_NAMES, "total": len(entries)}
    common.update({str(i): value for i, value in enumerate(entries)})
    configuration = {
        "common": common,
        "Vesk": {"colorMaxStage": COLOR_MAX_STAGE, "effectEnable": EFFECT_ENABLE, "dpiBase": DPI_BASE,
                 "dpiValue": DPI_VALUES},
    }
    write("setting/apConfig.bin", configuration)
    write("setting/apConfigD.bin", configuration)

    for code, (font, strings, messages, keys) in LANGUAGES.items():
        assert len(strings) == GENERAL_STRINGS and len(messages) == MESSAGES and len(keys) == PRODUCT_KEYS
        write(f"i18n/lang_{code}.ini", {
            "font": {"family": font, "total": GENERAL_STRINGS},
            "strings": {str(i + 1): text for i, text in enumerate(strings)},
            "msg": {str(i): text for i, text in enumerate(messages)},
            "Vesk_133C6AA": {str(i): text for i, text in enumerate(keys)},
        })

    for game in range(GAMES):
        write(f"gun/gunData{game}.bin", {"gunData": {str(gun): gun_record(game, gun) for gun in range(GUNS)}})
    write("gun/selGunData.bin", {"gunData": {str(slot): [0, 0] for slot in range(FIRE_KEY_SLOTS)}})


if __name__ == "__main__":
    main()
