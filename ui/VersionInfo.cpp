// The version message, and the version record it reads from the program file.

#include "core/base/BuildInfo.h"
#include "core/base/MessageService.h"
#include "ui/MainForm.h"

#include <QCoreApplication>

namespace {

#if defined(__ELF__)

// The version record as an ELF note. It lives in this file, beside the message that reads
// it, so that every program with the main window carries it.
struct VersionNote {
    quint32 nameSize;
    quint32 descSize;
    quint32 type;
    char name[sizeof(buildinfo::kNoteOwner)];
    quint32 fileVersion[2];
    quint32 productVersion[2];
};
static_assert(sizeof(buildinfo::kNoteOwner) % 4 == 0, "the owner name must keep the words aligned");

constexpr quint32 packed(quint32 high, quint32 low) {
    return high << 16 | low;
}

[[gnu::section(".note.kalvero.version"), gnu::used,
  gnu::aligned(4)]] const VersionNote kVersionRecord{
    sizeof(buildinfo::kNoteOwner),
    sizeof(VersionNote::fileVersion) + sizeof(VersionNote::productVersion),
    buildinfo::kNoteType,
    {'K', 'a', 'l', 'v', 'e', 'r', 'o', '\0'},
    {packed(KALVERO_VERSION_MAJOR, KALVERO_VERSION_MINOR),
     packed(KALVERO_VERSION_PATCH, KALVERO_VERSION_TWEAK)},
    {packed(KALVERO_VERSION_MAJOR, KALVERO_VERSION_MINOR),
     packed(KALVERO_VERSION_PATCH, KALVERO_VERSION_TWEAK)}};

#endif

} // namespace

void TForm1::Action15Execute() {
    buildinfo::FileVersion version;
    const bool found = GetBuildInfo(QCoreApplication::applicationFilePath(), version.major,
                                    version.minor, version.release, version.build);
    boxes::plain(ctx_.ui, buildinfo::versionMessage(found ? std::optional(version) : std::nullopt));
}

bool TForm1::GetBuildInfo(const QString& path, quint16& major, quint16& minor, quint16& release,
                          quint16& build) {
    const auto version = buildinfo::readFileVersion(path);
    if (!version)
        return false;
    major = version->major;
    minor = version->minor;
    release = version->release;
    build = version->build;
    return true;
}
