// The chart: files that readers accept, and a small chart painted offscreen whose shading
// follows the polar spans.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <csignal>
#include <fstream>

#include "chart/whole_file.h"
#include "chart/year_chart.h"

namespace {

daycalc::YearView Year(const char* latitude, const char* tilt = "23.5", const char* solarDay = "24",
                       const char* year = "365.25") {
    return std::get<daycalc::YearView>(daycalc::ComputeYear(
        {.tilt = tilt, .latitude = latitude, .solarDay = solarDay, .year = year}, 1));
}

QImage Painted(const daycalc::YearView& year) {
    QImage image(400, 250, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    chart::PaintYearChart(painter, image.width(), image.height(), year);
    return image;
}

// How many pixels a span's shading (and its legend entry) changes: the chart painted with it
// against the same chart without it.
int ShadedBy(daycalc::YearView year, std::optional<daycalc::PolarSpan> daycalc::YearView::*span) {
    const QImage with = Painted(year);
    year.*span = std::nullopt;
    const QImage without = Painted(year);
    int count = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) count += with.pixel(x, y) != without.pixel(x, y);
    }
    return count;
}

bool Write(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    return bool(file << text);
}

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

}  // namespace

class TstYearChart : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir;  // made when tests run, not when they are listed

    QString Written(const char* name, const daycalc::YearView& year) {
        const QString path = dir->filePath(QString::fromLatin1(name));
        const std::string problem = chart::WriteYearChart(year, path.toStdString());
        if (!problem.empty()) qWarning("%s", problem.c_str());
        return problem.empty() ? path : QString();
    }

  private slots:
    void initTestCase() { dir.emplace(); }
    void pngHasItsSignatureAndSize() {
        const QString path = Written("year.png", Year("70"));
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(chart::kWidth, chart::kHeight));
    }

    void svgParsesWithItsTitleLegendAndCurve_data() {
        QTest::addColumn<QByteArray>("latitude");
        QTest::addColumn<QByteArray>("solarDay");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("north of the circle")
            << QByteArray("70") << QByteArray("24")
            << QStringList{"Polar day", "Polar night", "70°"} << QStringList{};
        QTest::newRow("south of the circle")
            << QByteArray("-80") << QByteArray("24")
            << QStringList{"Polar day", "Polar night", "-80°"} << QStringList{};
        QTest::newRow("mid-latitude") << QByteArray("38") << QByteArray("24")
                                      << QStringList{"latitude 38°", "summer solstice"}
                                      << QStringList{"Polar day", "Polar night"};
        QTest::newRow("largest numbers")
            << QByteArray("80") << QByteArray("1.7e308")
            << QStringList{"solar day 1.7E+308, year 1.7E+308", "4.25E+307"}
            << QStringList{"Infinity", "inf", "nan"};
    }
    void svgParsesWithItsTitleLegendAndCurve() {
        QFETCH(QByteArray, latitude);
        QFETCH(QByteArray, solarDay);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, absent);
        const char* year = solarDay == "24" ? "365.25" : solarDay.constData();
        const QString path =
            Written("year.SVG", Year(latitude.constData(), "23.5", solarDay.constData(), year));
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList seen;
        int paths = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == u"svg") {
                QCOMPARE(xml.attributes().value(QStringLiteral("viewBox")).toString(),
                         QString("0 0 800 500"));
            }
            if (xml.name() == u"path") ++paths;
            if (xml.name() == u"text") seen << xml.readElementText();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(paths > 0);
        const QString all = seen.join(u'\n');
        QVERIFY(all.contains(QStringLiteral("Daylight through the year")));
        for (const QString& text : texts) QVERIFY2(all.contains(text), qPrintable(text));
        for (const QString& text : absent) QVERIFY2(!all.contains(text), qPrintable(text));
    }

    // A span around the winter solstice is shaded in two pieces, one at each end of the plot;
    // together they must cover what the same span around the summer solstice covers in one.
    void aWrappedSpanShadesAsMuchAsItsMirror_data() {
        QTest::addColumn<QByteArray>("latitude");
        QTest::addColumn<QByteArray>("tilt");
        QTest::newRow("80") << QByteArray("80") << QByteArray("23.5");
        QTest::newRow("near the circle") << QByteArray("67") << QByteArray("23.5");
        QTest::newRow("steep tilt") << QByteArray("38") << QByteArray("70");
    }
    void aWrappedSpanShadesAsMuchAsItsMirror() {
        QFETCH(QByteArray, latitude);
        QFETCH(QByteArray, tilt);
        const daycalc::YearView north = Year(latitude.constData(), tilt.constData());
        const daycalc::YearView south = Year(("-" + latitude).constData(), tilt.constData());
        using View = daycalc::YearView;
        // The north's polar day and the south's polar night lie around the summer solstice.
        for (const auto& [around, wrapped] :
             {std::pair{ShadedBy(north, &View::polarDay), ShadedBy(south, &View::polarDay)},
              std::pair{ShadedBy(south, &View::polarNight), ShadedBy(north, &View::polarNight)}}) {
            QVERIFY2(around > 400, qPrintable(QString::number(around)));
            QVERIFY2(std::abs(wrapped - around) <= around / 20,
                     qPrintable(QStringLiteral("%1 against %2").arg(wrapped).arg(around)));
        }
    }

    void badFileNamesAreRefusedWithAReason() {
        QVERIFY(
            !chart::WriteYearChart(Year("38"), dir->filePath("year.txt").toStdString()).empty());
        QCOMPARE(chart::WriteYearChart(Year("38"), "/nonexistent/dir/year.png"),
                 std::string("No such file or directory"));
        QVERIFY(chart::FormatOf("a.Png") == chart::Format::Png);
        QVERIFY(!chart::FormatOf("a.png.txt"));
    }

    // Labels for the largest numbers are set smaller, never cut at the chart's edges.
    void axisLabelsAreNeverCut_data() {
        QTest::addColumn<QByteArray>("solarDay");
        QTest::newRow("largest") << QByteArray("1.7e308");
        QTest::newRow("largest negative") << QByteArray("-1.7e308");
    }
    void axisLabelsAreNeverCut() {
        QFETCH(QByteArray, solarDay);
        QImage image(chart::kWidth, chart::kHeight, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        chart::PaintYearChart(painter, image.width(), image.height(),
                              Year("80", "23.5", solarDay.constData(), solarDay.constData()));
        painter.end();
        for (const int x : {0, 1, image.width() - 2, image.width() - 1}) {
            for (int y = 0; y < image.height(); ++y) {
                QVERIFY2(image.pixel(x, y) == qRgb(255, 255, 255),
                         qPrintable(QStringLiteral("ink at the edge, %1, %2").arg(x).arg(y)));
            }
        }
    }

    // Files are replaced whole or not at all, and only regular ones.
    void replacesAFileWholeKeepingItsMode() {
        const std::string path = dir->filePath("whole.svg").toStdString();
        QVERIFY(Write(path, "old"));
        chmod(path.c_str(), 0640);
        QCOMPARE(chart::ReplaceWhole(path, "new"), std::string());
        QCOMPARE(Read(path), std::string("new"));
        struct stat after {};
        stat(path.c_str(), &after);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Hidden | QDir::Files).filter(".daylight"),
                 QStringList());
    }

    void refusesWhatIsNotARegularFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("points");  // where a link points, or nothing
        QTest::newRow("a folder") << "folder" << QString();
        QTest::newRow("a device") << "/dev/null" << QString();
        QTest::newRow("a link to a device") << "device-link"
                                            << "/dev/null";
        QTest::newRow("a link to a folder") << "folder-link" << dir->path();
    }
    void refusesWhatIsNotARegularFile() {
        QFETCH(QString, name);
        QFETCH(QString, points);
        const std::string path =
            name.startsWith(u'/') ? name.toStdString() : dir->filePath(name).toStdString();
        if (name == u"folder") QVERIFY(QDir(dir->path()).mkpath(name));
        if (!points.isEmpty()) QVERIFY(QFile::link(points, QString::fromStdString(path)));
        struct stat before {
        }, after{};
        lstat(path.c_str(), &before);
        QVERIFY(!chart::ReplaceWhole(path, "chart").empty());
        lstat(path.c_str(), &after);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    void aLinkToAFileReplacesTheFile() {
        const std::string file = dir->filePath("linked.png").toStdString();
        const std::string link = dir->filePath("link.png").toStdString();
        QVERIFY(Write(file, "old"));
        QVERIFY(symlink(file.c_str(), link.c_str()) == 0);
        QCOMPARE(chart::ReplaceWhole(link, "new"), std::string());
        QCOMPARE(Read(file), std::string("new"));
        QVERIFY(QFileInfo(QString::fromStdString(link)).isSymLink());
    }

    // A disk that fills part-way: the old file stays as it was, and no temporary file is left.
    void aFullDiskLeavesTheOldFile() {
        const std::string path = dir->filePath("full.svg").toStdString();
        QVERIFY(Write(path, "old"));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{100, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        const std::string reason = chart::ReplaceWhole(path, std::string(1000, 'x'));
        setrlimit(RLIMIT_FSIZE, &limit);
        QCOMPARE(reason, std::string("File too large"));
        QCOMPARE(Read(path), std::string("old"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::Hidden | QDir::Files).filter(".daylight"),
                 QStringList());
    }

    // The name is used byte for byte, also where it is not UTF-8.
    void aNameThatIsNotUtf8IsKeptByteForByte() {
        const std::string path = dir->path().toStdString() + "/year-\xff.svg";
        QCOMPARE(chart::WriteYearChart(Year("38"), path), std::string());
        struct stat seen {};
        QCOMPARE(stat(path.c_str(), &seen), 0);
    }
};

QTEST_MAIN(TstYearChart)
#include "tst_year_chart.moc"
