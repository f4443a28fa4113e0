.pragma library
.import "Conversions.js" as Conv

// The recoil tables as the page keeps them: the built-in values, and the conversion between a game's table
// and the 84 values of its file (7 per gun: name, index, X, Y, times, switch, cursor return). No view calls
// here, so the page and its tests share one reading of the files.

const gameCount = 3
const gunsPerGame = 12
const valuesPerGun = 7
const tableLength = gunsPerGame * valuesPerGun
const maxAdjust = 127 // Y ADJUST and TIMES both run 0–127
const maxNameLength = 24

const systemNames = ["VECTOR", "UZI", "TMX", "UNP9", "AKM", "M16A4", "SCAR-L_7", "M416", "TOMMY GUN", "RIFLE"]
const systemY = [27, 18, 50, 28, 43, 35, 35, 45, 25, 40]

function systemRecord(game, gun) {
    if (game === 0 && gun < systemNames.length)
        return { name: systemNames[gun], index: gun, x: 0, y: systemY[gun], times: 0, enable: true,
            cursorReturn: false }
    return { name: "", index: gun, x: 0, y: 5, times: 6, enable: true, cursorReturn: game !== 0 }
}

function builtInTables() {
    const tables = []
    for (let g = 0; g < gameCount; ++g) {
        const table = []
        for (let w = 0; w < gunsPerGame; ++w)
            table.push(systemRecord(g, w))
        tables.push(table)
    }
    return tables
}

// With cursor return the mouse moves the cursor back by Y × TIMES, which must stay within 127. Y = 0 moves
// nothing, so nothing limits TIMES then but its own range.
function timesCap(y, cursorReturn) {
    return cursorReturn && y > 0 ? Math.floor(maxAdjust / y) : maxAdjust
}

function clampAdjust(value) {
    return Conv.clampInt(value, 0, maxAdjust, 0)
}

function integerOf(value) {
    if (value === null || value === undefined || String(value).trim() === "")
        return NaN
    const n = Number(value)
    return Number.isInteger(n) ? n : NaN
}

function numberField(value, low, high, fallback, what) {
    const n = integerOf(value)
    if (isNaN(n)) {
        console.debug("recoil table:", what, "is not a whole number:", value, "- using", fallback)
        return fallback
    }
    if (n < low || n > high) {
        const kept = Math.max(low, Math.min(high, n))
        console.debug("recoil table:", what, n, "is outside", low, "to", high, "- using", kept)
        return kept
    }
    return n
}

function flagField(value, fallback, what) {
    const s = String(value).trim().toLowerCase()
    if (s === "true" || s === "false")
        return s === "true"
    const n = integerOf(value)
    if (isNaN(n)) {
        console.debug("recoil table:", what, "is not 0 or 1:", value, "- using", fallback ? 1 : 0)
        return fallback
    }
    return n !== 0
}

// One stored gun as the file holds it (texts). A value that makes no sense takes the built-in one, and
// TIMES keeps within its cap.
function recordFrom(values, game, gun) {
    const fallback = systemRecord(game, gun)
    const what = "game " + game + " gun " + gun
    const rawName = values[0] === null || values[0] === undefined ? "" : String(values[0])
    const record = {
        name: rawName.substring(0, maxNameLength),
        index: gun,
        x: numberField(values[2], 0, 255, fallback.x, what + " X"),
        y: numberField(values[3], 0, maxAdjust, fallback.y, what + " Y"),
        times: numberField(values[4], 0, maxAdjust, fallback.times, what + " TIMES"),
        enable: flagField(values[5], fallback.enable, what + " SWITCH"),
        cursorReturn: flagField(values[6], fallback.cursorReturn, what + " CURSOR RETURN")
    }
    const cap = timesCap(record.y, record.cursorReturn)
    if (record.times > cap) {
        console.debug("recoil table:", what, "TIMES", record.times, "exceeds", cap, "with cursor return")
        record.times = cap
    }
    return record
}

// A game's table from the values of its file, or null: anything but 84 values cannot be cut into the
// twelve guns.
function tableFrom(values, game) {
    if (!values || values.length !== tableLength) {
        console.debug("recoil table of game", game, "unusable:", values ? values.length : 0, "values of",
                      tableLength)
        return null
    }
    const table = []
    for (let w = 0; w < gunsPerGame; ++w)
        table.push(recordFrom(values.slice(w * valuesPerGun, (w + 1) * valuesPerGun), game, w))
    return table
}

function tableValues(table) {
    const values = []
    for (let w = 0; w < gunsPerGame; ++w) {
        const r = table[w]
        values.push(r.name, w, r.x, r.y, r.times, r.enable ? 1 : 0, r.cursorReturn ? 1 : 0)
    }
    return values
}

// The [game, gun] a fire key used last, or null when it names no gun.
function selectionFrom(values) {
    const game = values && values.length === 2 ? integerOf(values[0]) : NaN
    const gun = values && values.length === 2 ? integerOf(values[1]) : NaN
    if (game >= 0 && game < gameCount && gun >= 0 && gun < gunsPerGame)
        return { game: game, gun: gun }
    return null
}
