#pragma once

// The text form of the mouse state (INI-like, byte arrays as hex strings; README.md describes it).

#include "firmware.h"

#include <optional>
#include <string>

namespace vmouse {

std::string formatState(const MouseState &state);

// Overlays the keys found in text on state. Missing keys keep their value; malformed lines and values are
// logged and skipped. Returns the number of lines that were skipped.
int parseState(const std::string &text, MouseState &state);

// Only the "plugged" key of section [device], if present and valid.
std::optional<bool> parsePlugged(const std::string &text);

std::optional<std::string> readTextFile(const std::string &path);
// Writes beside the target and renames, so a reader never sees half a file.
bool writeTextFileAtomically(const std::string &path, const std::string &text);

} // namespace vmouse
