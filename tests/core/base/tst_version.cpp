#include "core/base/BuildInfo.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

using buildinfo::FileVersion;

namespace {

const FileVersion kThisVersion{2, 4, 0, 13};

// A small ELF file built field by field: the header, one note area, then either a section
// table (a null section and one note section) or a program header table (one note segment).
class ElfImage {
public:
    ElfImage(bool wide, bool bigEndian) : wide_(wide), big_(bigEndian) {}

    void addNote(const QByteArray& owner, quint32 type, const QList<quint32>& desc, int align = 4) {
        put(4, static_cast<quint64>(owner.size()), notes_);
        put(4, static_cast<quint64>(desc.size()) * 4, notes_);
        put(4, type, notes_);
        notes_ += owner;
        pad(notes_, align);
        for (quint32 word : desc)
            put(4, word, notes_);
        pad(notes_, align);
        align_ = align;
    }

    // The file; with `sections` false the notes are reached through a note segment only.
    QByteArray build(bool sections = true) {
        const quint64 header = wide_ ? 64 : 52;
        const quint64 noteAt = 64;
        const quint64 tableAt = noteAt + static_cast<quint64>(notes_.size());
        QByteArray out;
        out += QByteArray("\x7f"
                          "ELF");
        out += static_cast<char>(wide_ ? 2 : 1);
        out += static_cast<char>(big_ ? 2 : 1);
        out += static_cast<char>(1);
        out += QByteArray(9, '\0');
        put(2, 2, out); // executable
        put(2, 62, out);
        put(4, 1, out);
        put(word(), 0, out);                      // entry
        put(word(), sections ? 0 : tableAt, out); // program header table
        put(word(), sections ? tableAt : 0, out); // section table
        put(4, 0, out);                           // flags
        put(2, header, out);
        put(2, wide_ ? 56 : 32, out);
        put(2, sections ? 0 : 1, out);
        put(2, wide_ ? 64 : 40, out);
        put(2, sections ? 2 : 0, out);
        put(2, 0, out);
        out.resize(static_cast<qsizetype>(noteAt), '\0');
        out += notes_;
        if (sections) {
            out += QByteArray(wide_ ? 64 : 40, '\0'); // the null section
            sectionAt = static_cast<quint64>(out.size());
            put(4, 0, out); // name
            put(4, 7, out); // SHT_NOTE
            put(word(), 2, out);
            put(word(), 0, out);
            put(word(), noteAt, out);
            put(word(), static_cast<quint64>(notes_.size()), out);
            put(4, 0, out);
            put(4, 0, out);
            put(word(), static_cast<quint64>(align_), out);
            put(word(), 0, out);
        } else if (wide_) {
            put(4, 4, out); // PT_NOTE
            put(4, 4, out);
            put(8, noteAt, out);
            put(8, 0, out);
            put(8, 0, out);
            put(8, static_cast<quint64>(notes_.size()), out);
            put(8, static_cast<quint64>(notes_.size()), out);
            put(8, static_cast<quint64>(align_), out);
        } else {
            put(4, 4, out);
            put(4, noteAt, out);
            put(4, 0, out);
            put(4, 0, out);
            put(4, static_cast<quint64>(notes_.size()), out);
            put(4, static_cast<quint64>(notes_.size()), out);
            put(4, 4, out);
            put(4, static_cast<quint64>(align_), out);
        }
        return out;
    }

    // Overwrites a field of `width` bytes at `at` in an image this object built.
    void patch(QByteArray& image, quint64 at, int width, quint64 value) const {
        QByteArray bytes;
        put(width, value, bytes);
        image.replace(static_cast<qsizetype>(at), width, bytes);
    }

    quint64 sectionAt = 0; // offset of the note section's header

private:
    int word() const { return wide_ ? 8 : 4; }
    void put(int width, quint64 value, QByteArray& out) const {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (big_ ? width - 1 - i : i);
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    }
    static void pad(QByteArray& out, int align) {
        while (out.size() % align != 0)
            out += '\0';
    }

    bool wide_;
    bool big_;
    int align_ = 4;
    QByteArray notes_;
};

const QByteArray kOwner("Kalvero\0", 8);

std::optional<FileVersion> readBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    return buildinfo::readFileVersion(buffer);
}

QByteArray ownExecutable() {
    QFile file(QCoreApplication::applicationFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(FileVersion)

class TestVersion : public QObject {
    Q_OBJECT

private slots:
    // The record the build links into the programs, read back from their files.
    void programFilesCarryTheProjectVersion_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("this test program") << QCoreApplication::applicationFilePath();
        QTest::newRow("the program") << QStringLiteral(KALVERO_BINARY);
    }
    void programFilesCarryTheProjectVersion() {
        QFETCH(QString, path);
        if (!QFileInfo::exists(path))
            QSKIP("the program is not built yet");
        QCOMPARE(buildinfo::readFileVersion(path), std::optional(kThisVersion));
    }

    // Files without a record, or that cannot be read as far as their tables say, give
    // nothing.
    void filesWithoutRecord_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("path"); // used instead of `content` when set
        const QByteArray own = ownExecutable();
        QVERIFY(own.size() > 4096);
        QTest::newRow("text file") << QByteArray("Version 2.4.0.13\r\nKalvero\r\n") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("cut in the header") << own.left(40) << QString();
        QTest::newRow("cut after the notes") << own.left(4096) << QString();
        QTest::newRow("last byte missing") << own.chopped(1) << QString();
        QTest::newRow("system program") << QByteArray() << QStringLiteral("/bin/true");
        QTest::newRow("missing file") << QByteArray() << QStringLiteral("/nonexistent/kalvero");
        QTest::newRow("directory") << QByteArray() << QStringLiteral("/tmp");
    }
    void filesWithoutRecord() {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        QTemporaryDir dir;
        if (path.isEmpty()) {
            path = dir.filePath(QStringLiteral("file"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        QCOMPARE(buildinfo::readFileVersion(path), std::nullopt);
    }

    // Hand-made files: the record is found in every class and byte order, among other notes
    // and through a note segment; damaged or hostile fields are refused without reading
    // beyond the end.
    void craftedFiles_data() {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("found");
        const QList<quint32> desc{0x00070008, 0x0009000A, 0x00010000, 0x00000000};

        auto single = [&](bool wide, bool big, bool sections) {
            ElfImage elf(wide, big);
            elf.addNote(kOwner, 1, desc);
            return elf.build(sections);
        };
        QTest::newRow("64-bit little-endian") << single(true, false, true) << true;
        QTest::newRow("32-bit big-endian") << single(false, true, true) << true;
        QTest::newRow("note segment, 64-bit") << single(true, false, false) << true;
        QTest::newRow("note segment, 32-bit big-endian") << single(false, true, false) << true;
        {
            ElfImage elf(true, false);
            elf.addNote(QByteArray("GNU\0", 4), 3, {1, 2, 3, 4, 5});
            elf.addNote(kOwner, 1, desc);
            QTest::newRow("after another note") << elf.build() << true;
        }
        {
            ElfImage elf(true, false);
            elf.addNote(QByteArray("GNU\0", 4), 5, {0xc0000002, 4, 3, 0}, 8);
            elf.addNote(kOwner, 1, desc, 8);
            QTest::newRow("8-byte aligned notes") << elf.build() << true;
        }
        {
            ElfImage elf(true, false);
            elf.addNote(kOwner, 1, {0x00070008, 0x0009000A});
            QTest::newRow("file version only") << elf.build() << true;
        }
        auto other = [&](const QByteArray& owner, quint32 type, const QList<quint32>& words) {
            ElfImage elf(true, false);
            elf.addNote(owner, type, words);
            return elf.build();
        };
        QTest::newRow("other owner") << other(QByteArray("Kalverx\0", 8), 1, desc) << false;
        QTest::newRow("owner without its zero") << other(QByteArray("Kalvero"), 1, desc) << false;
        QTest::newRow("other type") << other(kOwner, 2, desc) << false;
        QTest::newRow("description too short") << other(kOwner, 1, {0x00070008}) << false;

        // Damage to a valid 64-bit little-endian image. Its notes start at 64.
        struct Damage {
            const char* name;
            bool inSection; // offset counts from the note section's header
            quint64 at;
            int width;
            quint64 value;
        };
        const Damage damages[] = {
            {"name size beyond the notes", false, 64, 4, 0xFFFFFFFF},
            {"description size beyond the notes", false, 68, 4, 0xFFFFFFFC},
            {"section table beyond the end", false, 0x28, 8, 0xFFFFFFFFFFFFFF00},
            {"section entries too small", false, 0x3A, 2, 16},
            {"too many sections", false, 0x3C, 2, 0xFFFF},
            {"note area beyond the end", true, 24, 8, 0xFFFFFFFFFFFFFFF0},
            {"note area of huge size", true, 32, 8, 0xFFFFFFFFFFFFFFFF},
            {"note area longer than the file", true, 32, 8, 4096},
            {"section class garbage", false, 4, 1, 9},
        };
        for (const Damage& d : damages) {
            ElfImage elf(true, false);
            elf.addNote(kOwner, 1, desc);
            QByteArray image = elf.build();
            elf.patch(image, d.inSection ? elf.sectionAt + d.at : d.at, d.width, d.value);
            QTest::newRow(d.name) << image << false;
        }
        {
            // More sections than the header can count, with a count of 2^63 in the first.
            ElfImage elf(true, false);
            elf.addNote(kOwner, 1, desc);
            QByteArray image = elf.build();
            elf.patch(image, 0x3C, 2, 0);
            elf.patch(image, elf.sectionAt - 64 + 32, 8, quint64(1) << 63);
            QTest::newRow("extended section count too large") << image << false;
            elf.patch(image, elf.sectionAt - 64 + 32, 8, 2);
            QTest::newRow("extended section count") << image << true;
        }
    }
    void craftedFiles() {
        QFETCH(QByteArray, image);
        QFETCH(bool, found);
        const auto version = readBytes(image);
        QCOMPARE(version.has_value(), found);
        if (found)
            QCOMPARE(*version, (FileVersion{7, 8, 9, 10}));
        // Every shorter piece of the file is refused or read the same, and never crashes.
        for (qsizetype n = 0; n < image.size(); ++n) {
            const auto part = readBytes(image.left(n));
            if (part)
                QCOMPARE(*part, (FileVersion{7, 8, 9, 10}));
        }
    }

    void versionText_data() {
        QTest::addColumn<FileVersion>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("this version") << kThisVersion << " 2. 4. 0.13";
        QTest::newRow("two and three digits") << FileVersion{2, 4, 10, 113} << " 2. 4.10.113";
        QTest::newRow("zeros") << FileVersion{} << " 0. 0. 0. 0";
        QTest::newRow("largest") << FileVersion{65535, 65535, 65535, 65535}
                                 << "65535.65535.65535.65535";
    }
    void versionText() {
        QFETCH(FileVersion, version);
        QFETCH(QString, text);
        QCOMPARE(buildinfo::versionText(version), text);
        QCOMPARE(buildinfo::versionMessage(version), QStringLiteral("Version: ") + text);
    }

    void messageWithoutRecord() {
        QCOMPARE(buildinfo::versionMessage(std::nullopt), QStringLiteral("Version: unbekannt"));
    }
};

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
