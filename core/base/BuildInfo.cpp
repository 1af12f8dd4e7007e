// Reads and writes the version record that the build links into a program file as an ELF note, and
// the version text the program shows.

#include "core/base/BuildInfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// The texts of this file that the user reads, in the translation context "BuildInfo".
struct BuildInfoTexts {
    Q_DECLARE_TR_FUNCTIONS(BuildInfo)
};

} // namespace

namespace buildinfo {
namespace {

constexpr quint32 kSectionNote = 7;    // SHT_NOTE
constexpr quint32 kSegmentNote = 4;    // PT_NOTE
constexpr quint64 kNoteHeader = 12;    // namesz, descsz, type
constexpr quint64 kDescWords = 8;      // the file version: two 32-bit words
constexpr quint64 kMaxNotes = 1 << 20; // larger note areas are not ours and are not read

// Where the fields of the ELF header, a section header and a program header lie, for one
// file class. Offsets and sizes in the file have the width of an address.
struct Layout {
    quint64 headerSize;
    quint64 phoff, shoff, phentsize, phnum, shentsize, shnum;
    int addressWidth;
    quint64 sectionSize, shType, shOffset, shSize, shAlign;
    quint64 segmentSize, phType, phOffset, phFilesz, phAlign;
};

constexpr Layout kElf32{52, 0x1C, 0x20, 0x2A, 0x2C, 0x2E, 0x30, 4,  40,
                        4,  16,   20,   32,   32,   0,    4,    16, 28};
constexpr Layout kElf64{64, 0x20, 0x28, 0x36, 0x38, 0x3A, 0x3C, 8,  64,
                        4,  24,   32,   48,   56,   0,    8,    32, 48};

quint64 alignUp(quint64 value, quint64 align) {
    return (value + align - 1) / align * align;
}

class ElfReader {
public:
    explicit ElfReader(QIODevice& file)
        : file_(file), size_(static_cast<quint64>(std::max<qint64>(0, file.size()))) {}

    std::optional<FileVersion> version() {
        const auto ident = read(0, 16);
        if (!ident || !ident->startsWith("\x7f"
                                         "ELF"))
            return std::nullopt;
        const char fileClass = ident->at(4);
        const char byteOrder = ident->at(5);
        if ((fileClass != 1 && fileClass != 2) || (byteOrder != 1 && byteOrder != 2))
            return std::nullopt;
        layout_ = fileClass == 1 ? &kElf32 : &kElf64;
        bigEndian_ = byteOrder == 2;
        const auto header = read(0, layout_->headerSize);
        if (!header)
            return std::nullopt;
        // A file with a section table is read through it alone, so that a damaged table
        // makes the file unreadable; the note segments serve a file stripped of its table.
        if (address(*header, layout_->shoff) != 0)
            return fromSections(*header);
        return fromSegments(*header);
    }

private:
    // Reads `length` bytes at `offset`; nothing unless they all lie inside the file.
    std::optional<QByteArray> read(quint64 offset, quint64 length) {
        if (offset > size_ || length > size_ - offset)
            return std::nullopt;
        if (!file_.seek(static_cast<qint64>(offset)))
            return std::nullopt;
        QByteArray data = file_.read(static_cast<qint64>(length));
        if (static_cast<quint64>(data.size()) != length)
            return std::nullopt;
        return data;
    }

    // An unsigned field of `width` bytes at `at` in `data`, which the caller made long enough.
    quint64 field(const QByteArray& data, quint64 at, int width) const {
        const auto* p = reinterpret_cast<const uchar*>(data.constData()) + at;
        switch (width) {
        case 2:
            return bigEndian_ ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
        case 4:
            return bigEndian_ ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
        default:
            return bigEndian_ ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
        }
    }
    quint64 address(const QByteArray& data, quint64 at) const {
        return field(data, at, layout_->addressWidth);
    }

    // A table of `count` entries of `entrySize` bytes at `offset`, all inside the file.
    std::optional<QByteArray> table(quint64 offset, quint64 count, quint64 entrySize,
                                    quint64 minimumEntry) {
        if (offset == 0 || count == 0 || entrySize < minimumEntry || count > size_ / entrySize)
            return std::nullopt;
        return read(offset, count * entrySize);
    }

    std::optional<FileVersion> fromSections(const QByteArray& header) {
        const quint64 offset = address(header, layout_->shoff);
        const quint64 entry = field(header, layout_->shentsize, 2);
        quint64 count = field(header, layout_->shnum, 2);
        if (count == 0 && offset != 0) {
            // More sections than the header can count: the first entry holds the number.
            const auto first = table(offset, 1, entry, layout_->sectionSize);
            if (!first)
                return std::nullopt;
            count = address(*first, layout_->shSize);
        }
        const auto sections = table(offset, count, entry, layout_->sectionSize);
        if (!sections)
            return std::nullopt;
        for (quint64 i = 0; i < count; ++i) {
            const quint64 at = i * entry;
            if (field(*sections, at + layout_->shType, 4) != kSectionNote)
                continue;
            if (auto found = fromNotes(address(*sections, at + layout_->shOffset),
                                       address(*sections, at + layout_->shSize),
                                       address(*sections, at + layout_->shAlign)))
                return found;
        }
        return std::nullopt;
    }

    std::optional<FileVersion> fromSegments(const QByteArray& header) {
        const quint64 entry = field(header, layout_->phentsize, 2);
        const quint64 count = field(header, layout_->phnum, 2);
        const auto segments =
            table(address(header, layout_->phoff), count, entry, layout_->segmentSize);
        if (!segments)
            return std::nullopt;
        for (quint64 i = 0; i < count; ++i) {
            const quint64 at = i * entry;
            if (field(*segments, at + layout_->phType, 4) != kSegmentNote)
                continue;
            if (auto found = fromNotes(address(*segments, at + layout_->phOffset),
                                       address(*segments, at + layout_->phFilesz),
                                       address(*segments, at + layout_->phAlign)))
                return found;
        }
        return std::nullopt;
    }

    // Walks the notes of one note area and picks the version record out of them.
    std::optional<FileVersion> fromNotes(quint64 offset, quint64 length, quint64 alignment) {
        if (length > kMaxNotes)
            return std::nullopt;
        const auto area = read(offset, length);
        if (!area)
            return std::nullopt;
        const quint64 align = alignment == 8 ? 8 : 4;
        const quint64 size = static_cast<quint64>(area->size());
        quint64 pos = 0;
        while (pos <= size && size - pos >= kNoteHeader) {
            const quint64 nameSize = field(*area, pos, 4);
            const quint64 descSize = field(*area, pos + 4, 4);
            const quint64 type = field(*area, pos + 8, 4);
            const quint64 name = pos + kNoteHeader;
            const quint64 desc = pos + alignUp(kNoteHeader + nameSize, align);
            if (desc > size || descSize > size - desc)
                return std::nullopt;
            if (type == kNoteType && nameSize == sizeof(kNoteOwner) &&
                std::memcmp(area->constData() + name, kNoteOwner, sizeof(kNoteOwner)) == 0 &&
                descSize >= kDescWords) {
                const quint64 high = field(*area, desc, 4);
                const quint64 low = field(*area, desc + 4, 4);
                return FileVersion{
                    static_cast<quint16>(high >> 16), static_cast<quint16>(high & 0xFFFF),
                    static_cast<quint16>(low >> 16), static_cast<quint16>(low & 0xFFFF)};
            }
            pos = desc + alignUp(descSize, align);
        }
        return std::nullopt;
    }

    QIODevice& file_;
    quint64 size_;
    const Layout* layout_ = nullptr;
    bool bigEndian_ = false;
};

} // namespace

std::optional<FileVersion> readFileVersion(QIODevice& file) {
    if (!file.isOpen() || !file.isReadable() || file.isSequential())
        return std::nullopt;
    return ElfReader(file).version();
}

std::optional<FileVersion> readFileVersion(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readFileVersion(file);
}

QString versionText(const FileVersion& version) {
    return QString::asprintf("%2d.%2d.%2d.%2d", version.major, version.minor, version.release,
                             version.build);
}

QString versionMessage(const std::optional<FileVersion>& version) {
    return BuildInfoTexts::tr("Version: ") +
           (version ? versionText(*version) : BuildInfoTexts::tr("unbekannt"));
}

} // namespace buildinfo

namespace {

#if defined(__ELF__)

// The program's own version record as an ELF note. It lives in this file, beside the reader,
// so that every program that can show a version carries one.
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
