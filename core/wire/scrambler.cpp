#include "scrambler.h"

#include <utility>

void scrambleFrame(uchar *b, const DeviceCode &code)
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);

    for (std::size_t i = 1; i <= 6; ++i)
        b[i] ^= code[i];

    quint64 word = 0;
    for (std::size_t i = 0; i < kScrambledSize; ++i)
        word = (word << 8) | b[i];
    word = (word << 3) | (word >> 61);
    for (std::size_t i = 0; i < kScrambledSize; ++i)
        b[i] = static_cast<uchar>(word >> (8 * (kScrambledSize - 1 - i)));

    for (std::size_t j = 0; j < kScrambledSize; ++j) {
        const auto k = static_cast<uchar>(kScrambleKey[j]);
        const auto n = static_cast<uchar>((k << 4) | (k >> 4));
        b[j] = static_cast<uchar>(b[j] + n);
    }
}
