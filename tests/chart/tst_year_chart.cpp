// The chart: files that readers accept, and a small chart painted offscreen whose shading
// follows the polar spans.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "chart/year_chart.h"

namespace {

daycalc::YearView Year(const char* latitude, const char* tilt = "23.5", const char* solarDay = "24",
                       const char* year = "365.25") {
    return std::get<daycalc::YearView>(daycalc::ComputeYear(
        {.tilt = tilt, .latitude = latitude, .solarDay = solarDay, .year = year}, 1));
}

// How many pixels of the image are near the colour, whatever the antialiasing left.
int PixelsNear(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - colour.red()) +
                                 std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue());
            if (distance < 24) ++count;
        }
    }
    return count;
}

}  // namespace

class TstYearChart : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString Written(const char* name, const daycalc::YearView& year) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        const std::string problem = chart::WriteYearChart(year, path.toStdString());
        if (!problem.empty()) qWarning("%s", problem.c_str());
        return problem.empty() ? path : QString();
    }

  private slots:
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

    // Painted small: the curve is there, and each span is shaded only where the year has it.
    void smallChartShadesOnlyThePolarSpans_data() {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("tilt");
        QTest::addColumn<bool>("polar");
        QTest::newRow("38N") << "38"
                             << "23.5" << false;
        QTest::newRow("80N") << "80"
                             << "23.5" << true;
        QTest::newRow("80S") << "-80"
                             << "23.5" << true;
        QTest::newRow("pole") << "90"
                              << "23.5" << true;
        QTest::newRow("tilt 90") << "38"
                                 << "90" << true;
        QTest::newRow("no tilt") << "60"
                                 << "0" << false;
    }
    void smallChartShadesOnlyThePolarSpans() {
        QFETCH(QString, latitude);
        QFETCH(QString, tilt);
        QFETCH(bool, polar);
        QImage image(400, 250, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        chart::PaintYearChart(painter, image.width(), image.height(),
                              Year(latitude.toUtf8().constData(), tilt.toUtf8().constData()));
        painter.end();
        // The polar day's gold and the polar night's slate over white, and the curve's blue.
        const int day = PixelsNear(image, QColor(249, 230, 156));
        const int night = PixelsNear(image, QColor(200, 204, 211));
        QVERIFY(PixelsNear(image, QColor(31, 95, 168)) > 100);
        QCOMPARE(day > 1000, polar);
        QCOMPARE(night > 1000, polar);
    }

    void badFileNamesAreRefusedWithAReason() {
        QVERIFY(!chart::WriteYearChart(Year("38"), dir.filePath("year.txt").toStdString()).empty());
        QVERIFY(!chart::WriteYearChart(Year("38"), "/nonexistent/dir/year.png").empty());
        QVERIFY(!chart::WriteYearChart(Year("38"), "/nonexistent/dir/year.svg").empty());
        QVERIFY(chart::FormatOf("a.Png") == chart::Format::Png);
        QVERIFY(!chart::FormatOf("a.png.txt"));
    }
};

QTEST_MAIN(TstYearChart)
#include "tst_year_chart.moc"
