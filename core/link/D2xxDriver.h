#pragma once

#include "core/link/DeviceFileProblem.h"

#include <QtGlobal>

#include <functional>
#include <optional>

// The ten calls of the FTDI D2XX access library that the link needs, as a seam: the serial
// driver (Linux tty), the simulated timing unit and the test drivers stand behind it. The
// calls keep the library's shape: status codes as results, outputs through pointers.
namespace d2xx {

// A device handle is an opaque non-zero number; 0 means "no device".
using Handle = quint64;
using Status = quint32;

inline constexpr Status FT_OK = 0;
inline constexpr Status FT_INVALID_HANDLE = 1;
inline constexpr Status FT_DEVICE_NOT_FOUND = 2;
inline constexpr Status FT_DEVICE_NOT_OPENED = 3;
inline constexpr Status FT_IO_ERROR = 4;
inline constexpr Status FT_INSUFFICIENT_RESOURCES = 5;
inline constexpr Status FT_INVALID_PARAMETER = 6;
inline constexpr Status FT_INVALID_BAUD_RATE = 7;
inline constexpr Status FT_INVALID_ARGS = 16;
inline constexpr Status FT_NOT_SUPPORTED = 17;
inline constexpr Status FT_OTHER_ERROR = 18;

// Flags of ListDevices: arg1 points to a 32-bit count, arg2 is unused.
inline constexpr quint32 FT_LIST_NUMBER_ONLY = 0x80000000u;
// Flags of OpenEx: arg is a NUL-terminated device description.
inline constexpr quint32 FT_OPEN_BY_DESCRIPTION = 2;

inline constexpr quint8 FT_BITS_7 = 7;
inline constexpr quint8 FT_BITS_8 = 8;
inline constexpr quint8 FT_STOP_BITS_1 = 0;
inline constexpr quint8 FT_STOP_BITS_2 = 2;
inline constexpr quint8 FT_PARITY_NONE = 0;
inline constexpr quint8 FT_PARITY_ODD = 1;
inline constexpr quint8 FT_PARITY_EVEN = 2;
inline constexpr quint8 FT_PARITY_MARK = 3;
inline constexpr quint8 FT_PARITY_SPACE = 4;

// Whether the three codes of SetDataCharacteristics are ones the library knows.
inline constexpr bool validDataCharacteristics(quint8 wordLength, quint8 stopBits, quint8 parity) {
    return (wordLength == FT_BITS_7 || wordLength == FT_BITS_8) &&
           (stopBits == FT_STOP_BITS_1 || stopBits == FT_STOP_BITS_2) && parity <= FT_PARITY_SPACE;
}

} // namespace d2xx

class D2xxDriver {
public:
    virtual ~D2xxDriver() = default;

    // FT_ListDevices. Only FT_LIST_NUMBER_ONLY is supported: *arg1 (a quint32) receives
    // the number of FTDI devices present.
    virtual d2xx::Status listDevices(void* arg1, void* arg2, quint32 flags) = 0;
    // FT_OpenEx. Only FT_OPEN_BY_DESCRIPTION is supported: arg is the NUL-terminated
    // description. *handle is written on success only.
    virtual d2xx::Status openEx(const void* arg, quint32 flags, d2xx::Handle* handle) = 0;
    // FT_Close.
    virtual d2xx::Status close(d2xx::Handle handle) = 0;
    // FT_ResetDevice.
    virtual d2xx::Status resetDevice(d2xx::Handle handle) = 0;
    // FT_SetBaudRate.
    virtual d2xx::Status setBaudRate(d2xx::Handle handle, quint32 baudRate) = 0;
    // FT_SetDataCharacteristics, with the FT_BITS_*, FT_STOP_BITS_* and FT_PARITY_* codes.
    virtual d2xx::Status setDataCharacteristics(d2xx::Handle handle, quint8 wordLength,
                                                quint8 stopBits, quint8 parity) = 0;
    // FT_SetTimeouts, both in ms; they bound every later read and write.
    virtual d2xx::Status setTimeouts(d2xx::Handle handle, quint32 readTimeoutMs,
                                     quint32 writeTimeoutMs) = 0;
    // FT_GetQueueStatus: *rxBytes receives the number of bytes waiting to be read.
    virtual d2xx::Status getQueueStatus(d2xx::Handle handle, quint32* rxBytes) = 0;
    // FT_Write: sends up to `count` bytes; *written tells how many went out before the
    // write time-out.
    virtual d2xx::Status write(d2xx::Handle handle, const void* buffer, quint32 count,
                               quint32* written) = 0;
    // FT_Read: waits until `count` bytes arrived or the read time-out passed; *read tells
    // how many were stored at the start of buffer.
    virtual d2xx::Status read(d2xx::Handle handle, void* buffer, quint32 count, quint32* read) = 0;

    // Not a library call: why the last openEx failed when it found the device but could not
    // open its device file (no permission, held by another program, gone, no tty). Nothing
    // after any other outcome, and always nothing for a driver without device files.
    virtual std::optional<DeviceFileProblem> lastOpenProblem() const { return std::nullopt; }

    // Not a library call: from now on `arrived` is called from the event loop when bytes have
    // come in on the open device, until the device is closed or this is called again with an
    // empty function. Returns false for a driver that cannot tell (nothing is called then);
    // its users look at the receive queue on a timer.
    virtual bool notifyArrival(d2xx::Handle handle, std::function<void()> arrived) {
        Q_UNUSED(handle);
        Q_UNUSED(arrived);
        return false;
    }
};
