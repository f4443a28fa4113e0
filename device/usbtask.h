#pragma once

#include "deviceinfo.h"
#include "wire/frame.h"

#include <QMetaType>

#include <array>

constexpr int kFeatureLength = static_cast<int>(kFrameSize);
constexpr int kSettleDelayMs = 30; // the firmware needs this after a command before any data report
constexpr int kChunkDelayMs = 10;  // and this after each output report of a block write
// hidapi reads in blocking mode wait forever; a silent or vanished mouse must not hang the program.
constexpr int kDataReadTimeoutMs = 1000;
// Reports left on a fresh handle before a block read are stale (a chunk that missed the previous read's
// limit); more than a few means something else is talking on the interface.
constexpr int kMaxStaleReports = 16;

// One exchange with the mouse: the opened device, then the request.
struct UsbTask : DeviceOpenInfo
{
    int featureLength = kFeatureLength;
    int dataLength = 0;
    Frame frame{};
    Frame reply{};
    int replyLength = 0; // bytes the reply feature report actually carried
    std::array<uchar, kDataBufferSize> data{};
    int settleDelayMs = kSettleDelayMs;
    int chunkDelayMs = kChunkDelayMs;
};

Q_DECLARE_METATYPE(UsbTask)
