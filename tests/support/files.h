#pragma once

// Files of the program's data tree in the tests: relative paths are taken from the current folder (a
// TestRunFolder), shipped ones from the source tree's modules/.

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace support {

// The bytes of a file; empty when it is missing or cannot be read.
QByteArray readFile(const QString &path);

// The bytes of a file, or "<missing>" where there is none: for a comparison in which an empty file is a case
// of its own.
QByteArray readFileOrMissing(const QString &path);

// Replaces the file with the bytes, creating its folder first; false when that fails.
bool writeFile(const QString &path, const QByteArray &bytes);

// A file as the program ships it, by its path under modules/ ("setting/p_Vesk.bin").
QString shippedPath(const QString &relative);
QByteArray shippedFile(const QString &relative);

// The raw text of "key=" in [section] of an INI file: what actually reached the disk. Null when absent.
QString iniText(const QByteArray &file, const QString &section, const QString &key);

// Owner, group and other bits: what "ls -l" shows (the "user" bits describe whoever runs the test).
QFileDevice::Permissions modeBits(const QString &path);
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QStringList texts(const QVariantList &values);

} // namespace support
