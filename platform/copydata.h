#pragma once

#include <QString>

#include <optional>

// One copy-data message as another process hands it to the program: on Windows a COPYDATASTRUCT that came
// with WM_COPYDATA, on Linux the same three fields read from the program's local socket.
struct CopyDataRecord
{
    quintptr dwData = 0;
    quint32 cbData = 0;
    const void *lpData = nullptr; // cbData bytes, not necessarily zero-terminated
};

// Only messages carrying this tag are texts for the user.
constexpr quintptr CopyDataTextTag = 0x250F;
// Longer messages are refused before they are read: the box is for short notices, and the sender is
// untrusted.
constexpr quint32 CopyDataMaxBytes = 4096;

using CopyDataCallback = void (*)(const CopyDataRecord &record, void *context);

// The text a copy-data message asks the program to show, or nothing when the message is not such a text:
// another tag, or a length that does not match the UTF-8 text (a sender that counted the terminating zero
// shows nothing).
std::optional<QString> copyDataText(const CopyDataRecord &record);
