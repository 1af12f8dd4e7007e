#include "core/measure/ResultDecoder.h"

#include <QtTest>

namespace {

// Bytes that have arrived; a wait beyond them runs out.
class Bytes : public ByteSource {
public:
    explicit Bytes(QByteArray bytes) : bytes_(std::move(bytes)) {}
    std::optional<quint8> nextByte() override {
        if (position_ >= bytes_.size())
            return std::nullopt;
        return static_cast<quint8>(bytes_[position_++]);
    }
    qsizetype left() const { return bytes_.size() - position_; }

private:
    QByteArray bytes_;
    qsizetype position_ = 0;
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A result as text: "end" (the unit ended the run), "timeout", or "SZ[ marker] FZ" with "-"
// for a flight part that is not read.
QString decode(const QByteArray& result) {
    Bytes source(result.mid(1));
    const auto contact = decoding::readContactPart(static_cast<quint8>(result[0]), source);
    if (!contact)
        return QStringLiteral("timeout");
    if (contact->unitEnded)
        return QStringLiteral("end");
    QString text = QString::number(contact->contactMs);
    if (contact->endMarker)
        return text + QStringLiteral(" marker -");
    const auto flight = decoding::readFlightTime(source);
    if (!flight)
        return text + QStringLiteral(" timeout");
    text += QLatin1Char(' ') + QString::number(*flight);
    if (source.left() > 0)
        text += QStringLiteral(" +%1").arg(source.left());
    return text;
}

} // namespace

class TestResultDecoder : public QObject {
    Q_OBJECT
private slots:
    void results_data() {
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("complete jump") << bytes({0, 200, 1, 244}) << "200 500";
        QTest::newRow("contact not measured") << bytes({254, 1, 244}) << "-1 500";
        QTest::newRow("flight not measured") << bytes({0, 200, 253}) << "200 -1";
        QTest::newRow("both not measured") << bytes({254, 253}) << "-1 -1";
        QTest::newRow("closing contact") << bytes({253, 0, 180}) << "180 marker -";
        QTest::newRow("closing contact not measured") << bytes({253, 254}) << "-1 marker -";
        QTest::newRow("253 after the marker is a high byte")
            << bytes({253, 253, 0}) << "64768 marker -";
        QTest::newRow("largest contact time") << bytes({249, 255, 0, 1}) << "63999 1";
        QTest::newRow("high flight bytes are ordinary")
            << bytes({0, 1, 254, 255}) << QString("1 %1").arg(254 * 256 + 255);
        QTest::newRow("flight high byte 250") << bytes({0, 1, 250, 0}) << "1 64000";
        QTest::newRow("bytes after the result wait") << bytes({0, 1, 0, 2, 9}) << "1 2 +1";
        for (const int end : {250, 251, 252, 255})
            QTest::addRow("end byte %d", end) << bytes({end, 0, 200}) << "end";
        QTest::newRow("low byte missing") << bytes({0}) << "timeout";
        QTest::newRow("nothing after the marker") << bytes({253}) << "timeout";
        QTest::newRow("marker without its low byte") << bytes({253, 0}) << "timeout";
        QTest::newRow("flight missing") << bytes({0, 200}) << "200 timeout";
        QTest::newRow("flight low byte missing") << bytes({0, 200, 1}) << "200 timeout";
    }
    void results() {
        QFETCH(QByteArray, result);
        QFETCH(QString, decoded);
        QCOMPARE(decode(result), decoded);
    }
};

QTEST_GUILESS_MAIN(TestResultDecoder)
#include "tst_resultdecoder.moc"
