#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// The core holds no window: no file of core/ includes a header of Qt's graphical modules, in
// whatever spelling, so that everything the program does runs and is tested without a display.
namespace {

// The modules whose headers draw, paint or make windows.
const QStringList kGraphicalModules = {"QtGui", "QtWidgets",    "QtCharts", "QtPrintSupport",
                                       "QtSvg", "QtSvgWidgets", "QtOpenGL", "QtOpenGLWidgets"};

// The headers of the graphical modules as this machine's Qt installs them: each module's own
// header, its class headers (<QWidget>) and its lower-case ones (<qwidget.h>).
class GraphicalHeaders {
public:
    explicit GraphicalHeaders(const QString& qtIncludeDir) {
        for (const QString& module : kGraphicalModules) {
            modules_.insert(module);
            const QDir folder(qtIncludeDir + QLatin1Char('/') + module);
            for (const QString& name : folder.entryList(QDir::Files))
                headers_.insert(name);
        }
    }

    // The graphical header that a line of source includes; empty when it includes none.
    QString includedBy(const QString& line) const {
        static const QRegularExpression directive(
            QStringLiteral("^\\s*#\\s*include\\s*[<\"]\\s*([^>\"]+?)\\s*[>\"]"));
        const QRegularExpressionMatch match = directive.match(line);
        if (!match.hasMatch())
            return {};
        const QString name = match.captured(1);
        const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        for (const QString& part : parts)
            if (modules_.contains(part))
                return name;
        if (parts.size() == 1 && headers_.contains(name))
            return name;
        return {};
    }

private:
    QSet<QString> modules_;
    QSet<QString> headers_;
};

} // namespace

class TestCoreLayer : public QObject {
    Q_OBJECT
    const GraphicalHeaders headers{QStringLiteral(KALVERO_QT_INCLUDE_DIR)};

private slots:
    void graphicalIncludesAreFound_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("graphical");
        QTest::newRow("class header") << "#include <QWidget>" << true;
        QTest::newRow("with its module") << "#include <QtWidgets/QWidget>" << true;
        QTest::newRow("the whole module") << "#include <QtWidgets>" << true;
        QTest::newRow("gui with its module") << "#include <QtGui/QImage>" << true;
        QTest::newRow("painter") << "#include <QPainter>" << true;
        QTest::newRow("pdf writer") << "#include <QPdfWriter>" << true;
        QTest::newRow("in quotes") << "#include \"QColor\"" << true;
        QTest::newRow("spaces after the hash") << "#  include <QColor>" << true;
        QTest::newRow("tabs, lower-case file") << "\t#\tinclude\t<qwidget.h>" << true;
        QTest::newRow("no space before the bracket") << "#include<QChart>" << true;
        QTest::newRow("spaces inside the brackets") << "#include < QFont >" << true;
        QTest::newRow("charts with its module") << "#include <QtCharts/QLineSeries>" << true;
        QTest::newRow("print support") << "#include <QtPrintSupport/QPrinter>" << true;
        QTest::newRow("svg") << "#include <QtSvg/QSvgGenerator>" << true;
        QTest::newRow("opengl") << "#include <QtOpenGL>" << true;
        QTest::newRow("core with its module") << "#include <QtCore/QString>" << false;
        QTest::newRow("sql module") << "#include <QtSql>" << false;
        QTest::newRow("core class") << "#include <QString>" << false;
        QTest::newRow("sql class") << "#include \"QSqlQuery\"" << false;
        QTest::newRow("a comment naming a widget") << "// no QWidget here: <QWidget>" << false;
        QTest::newRow("project header") << "#include \"core/base/Settings.h\"" << false;
        QTest::newRow("system header") << "#include <sqlite3.h>" << false;
    }
    void graphicalIncludesAreFound() {
        QFETCH(QString, line);
        QFETCH(bool, graphical);
        QCOMPARE(!headers.includedBy(line).isEmpty(), graphical);
    }

    void coreIncludesNoGraphicalHeader() {
        const QString core = QStringLiteral(KALVERO_SOURCE_DIR "/core");
        QStringList offences;
        int files = 0;
        QDirIterator it(core, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            ++files;
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (qsizetype n = 0; n < lines.size(); ++n)
                if (const QString header = headers.includedBy(lines[n]); !header.isEmpty())
                    offences << QStringLiteral("%1:%2: %3")
                                    .arg(QDir(core).relativeFilePath(path))
                                    .arg(n + 1)
                                    .arg(header);
        }
        QVERIFY2(files > 0, qPrintable(core));
        QVERIFY2(offences.isEmpty(), qPrintable(offences.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestCoreLayer)
#include "tst_corelayer.moc"
