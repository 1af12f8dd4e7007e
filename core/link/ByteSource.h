#pragma once

#include <QtGlobal>

#include <optional>

// Where the bytes of one result of the timing unit come from: the next byte, or nothing when
// it is not there.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::optional<quint8> nextByte() = 0;
};
