#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class QIODevice;

// The version record of a program file. On ELF systems the build links it into the program
// as a note: owner "Kalvero", type kNoteType, a description of four 32-bit words in the
// file's byte order: the file version as major << 16 | minor and release << 16 | build, then
// the product version in the same form.
namespace buildinfo {

inline constexpr char kNoteOwner[] = "Kalvero";
inline constexpr quint32 kNoteType = 1;

struct FileVersion {
    quint16 major = 0;
    quint16 minor = 0;
    quint16 release = 0;
    quint16 build = 0;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The file version from the version record of the ELF file (32 or 64 bit, either byte order)
// at `path`, found among its note sections, or its note segments when it has no section
// table. Nothing for a file that cannot be opened, is no ELF file, carries no record or whose
// tables do not fit in it (a truncated file); nothing is ever read beyond the file's end.
std::optional<FileVersion> readFileVersion(const QString& path);
// The same for an open, seekable device.
std::optional<FileVersion> readFileVersion(QIODevice& file);

// The four numbers as "%2d.%2d.%2d.%2d": " 2. 4. 0.13", " 2. 4.10.113".
QString versionText(const FileVersion& version);

// The text of the version message: "Version: " followed by the version text, or
// "Version: unbekannt" when the program file carries no record.
QString versionMessage(const std::optional<FileVersion>& version);

} // namespace buildinfo
