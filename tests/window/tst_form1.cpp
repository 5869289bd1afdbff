// The window, driven as a user drives it: offscreen, with clicks and keys.
#include <unistd.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <memory>

#include "caption_frame.h"
#include "daylight/daylight.h"
#include "window/form1.h"

namespace {

const char* const kLabels[] = {"lblMin", "lblMax", "lblDay", "lblNight", "lblFull"};

const std::pair<const char*, const char*> kLabelOfField[] = {{"min", "lblMin"},
                                                             {"max", "lblMax"},
                                                             {"day", "lblDay"},
                                                             {"night", "lblNight"},
                                                             {"full", "lblFull"}};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), text.size()); }

}  // namespace

class TstForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;

    template <typename T>
    T* Control(const char* name) {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* Box(const char* name) { return Control<QLineEdit>(name); }
    // The text box of an input: the one in the frame with the input's caption.
    QLineEdit* BoxOf(const daycalc::InputField& input) {
        for (QGroupBox* frame : form->findChildren<QGroupBox*>()) {
            if (frame->title() == Text(input.caption)) return frame->findChild<QLineEdit*>();
        }
        qFatal("no box captioned %s", input.caption.data());
    }
    QString Label(const char* name) { return Control<QLabel>(name)->text(); }
    QMessageBox* Report() { return Control<QMessageBox>("faultReport"); }
    void Press() { QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton); }
    void Type(const char* box, const QString& text) { Box(box)->setText(text); }

    void VerifyLabelsEmpty() {
        for (const char* label : kLabels) QVERIFY2(Label(label).isEmpty(), label);
    }

  private slots:
    void init() {
        form = std::make_unique<Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void freshWindowShowsStartingTextsAndEmptyLabels() {
        for (const daycalc::InputField& f : daycalc::kInputFields) {
            QCOMPARE(BoxOf(f)->text(), Text(f.start));
        }
        VerifyLabelsEmpty();
        QCOMPARE(form->windowTitle(), QStringLiteral("Daylight"));
        QCOMPARE(Control<QPushButton>("Command1")->text(), QStringLiteral("Compute"));
    }

    void clientAreaIs5070By5865Twips() { QCOMPARE(form->size(), QSize(338, 391)); }

    void controlsSitWhereTheTwipsPutThem_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("onForm");  // pixels, relative to the client area
        QTest::newRow("frame on the form") << "Frame9" << QRect(176, 72, 145, 49);
        QTest::newRow("text box in its frame") << "txtRP" << QRect(32, 32, 121, 25);
        QTest::newRow("wider text box on the right") << "txtAlpha" << QRect(184, 32, 129, 25);
        QTest::newRow("label in its frame") << "lblFull" << QRect(184, 176, 129, 25);
        QTest::newRow("button") << "Command1" << QRect(24, 344, 81, 33);
        QTest::newRow("rule under Tilt") << "Line1" << QRect(24, 200, 145, 1);
        QTest::newRow("rule's rise") << "Line2" << QRect(168, 136, 1, 65);
        QTest::newRow("rule under Length of Year") << "Line3" << QRect(168, 136, 153, 1);
    }
    void controlsSitWhereTheTwipsPutThem() {
        QFETCH(QString, control);
        QFETCH(QRect, onForm);
        QWidget* widget = form->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size()), onForm);
    }

    // At the table's desktop font and larger ones: the layout grows in proportion, never below
    // the table; every caption, value and the button's caption fits whole; nothing overlaps;
    // and the stepped rule is painted as thick as the frames' borders.
    void layoutFollowsTheDesktopFont_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<double>("scale");
        QTest::newRow("smaller than the table's") << 7.0 << 1.0;
        QTest::newRow("the table's") << 9.0 << 1.0;
        for (const double points : {10.0, 11.0, 12.0, 14.0}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 pt").arg(points))) << points << points / 9;
        }
    }
    void layoutFollowsTheDesktopFont() {
        QFETCH(double, points);
        QFETCH(double, scale);
        const QFont desktop = QApplication::font();
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), int(points)));
        form = std::make_unique<Form1>();
        QApplication::setFont(desktop);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        Type("txtLat", "-41.5");
        Press();

        const QSize table(qRound(338 * scale), qRound(391 * scale));
        QCOMPARE(form->size(), table);
        QCOMPARE(form->minimumSize(), table);
        QCOMPARE(Control<QLineEdit>("txtY")->font().pointSizeF(), 9.75 * scale);
        const QList<QWidget*> placed = form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* a : placed) {
            QVERIFY2(QRect(QPoint(), form->size()).contains(a->geometry()),
                     qPrintable(a->objectName()));
            for (QWidget* b : placed) {
                if (a != b && !a->objectName().startsWith(u"Line") &&
                    !b->objectName().startsWith(u"Line")) {
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + QStringLiteral(" overlaps ") +
                                        b->objectName()));
                }
            }
        }
        for (const auto* frame : form->findChildren<CaptionFrame*>()) {
            const QRect caption = frame->captionRect();
            QVERIFY2(caption.right() < frame->width() && caption.left() >= 0,
                     qPrintable(frame->title()));
            for (const auto* child : frame->findChildren<QWidget*>()) {
                QVERIFY2(frame->rect().contains(child->geometry()),
                         qPrintable(child->objectName()));
                QVERIFY2(caption.bottom() < child->y(),
                         qPrintable(frame->title() + QStringLiteral(" on its box")));
                if (const auto* label = qobject_cast<const QLabel*>(child)) {
                    QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                                 label->contentsRect().width(),
                             qPrintable(label->objectName()));
                }
            }
        }
        auto* button = Control<QPushButton>("Command1");
        const QFontMetrics buttonMetrics(button->font());
        QVERIFY(buttonMetrics.horizontalAdvance(button->text()) < button->width() - 8);
        QVERIFY(buttonMetrics.height() < button->height() - 4);

        // Painted: the rule under Tilt and the foot of its frame, counted in pixels.
        const QImage image = form->grab().toImage();
        const auto thickness = [&](QPoint from, QPoint step) {
            const QRgb line = image.pixel(from);
            int count = 0;
            for (QPoint at = from; image.valid(at) && image.pixel(at) == line; at += step) ++count;
            return count;
        };
        auto* rule = Control<QWidget>("Line1");
        auto* tilt = Control<QWidget>("Frame3");
        const QPoint ruleMiddle(rule->geometry().center().x(), rule->y());
        const QPoint frameFoot(tilt->geometry().center().x(), tilt->geometry().bottom());
        QCOMPARE(thickness(ruleMiddle, QPoint(0, 1)), thickness(frameFoot, QPoint(0, -1)));
        QVERIFY(thickness(ruleMiddle, QPoint(0, 1)) >= 1);
    }

    void valueFontIsPlainSansAtNineAndThreeQuarterPoints() {
        for (const char* name : {"txtTilt", "lblMin"}) {
            const QFont font = Control<QWidget>(name)->font();
            QCOMPARE(font.pointSizeF(), 9.75);
            QCOMPARE(font.weight(), QFont::Normal);
            QVERIFY(!font.italic());
        }
    }

    void boxesAndLabelsAreNamedByTheirFrames_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("box") << "txtAlpha"
                             << "Deg from Winter Solstice";
        QTest::newRow("left label") << "lblMin"
                                    << "Min Day";
        QTest::newRow("right label") << "lblFull"
                                     << "Full Daylight";
    }
    void boxesAndLabelsAreNamedByTheirFrames() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QCOMPARE(form->findChild<QWidget*>(control)->accessibleName(), name);
    }

    void focusStartsInSolarDayAndTabCrossesTheColumns() {
        QCOMPARE(QApplication::focusWidget(), Box("txtRP"));
        QStringList visited;
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited,
                 QStringList({"txtAlpha", "txtLat", "txtY", "txtTilt", "Command1", "txtRP"}));
    }

    void pressFillsTheLabelsOfItsCase() {
        Press();
        QCOMPARE(Label("lblMin"), QStringLiteral("9.35208417825225"));
        QCOMPARE(Label("lblMax"), QStringLiteral("14.6479158217478"));
        QCOMPARE(Label("lblDay"), QStringLiteral("9.35208417825225"));
        QCOMPARE(Label("lblNight"), QStringLiteral("14.6479158217478"));
        QCOMPARE(Label("lblFull"), QString());

        Type("txtLat", "70");
        Press();
        QCOMPARE(Label("lblFull"), QStringLiteral("67.302500920951"));
        QCOMPARE(Label("lblMin"), QStringLiteral("0"));
        QCOMPARE(Label("lblMax"), QStringLiteral("24"));
        QCOMPARE(Label("lblDay"), QString());
        QCOMPARE(Label("lblNight"), QString());

        Type("txtLat", "0");
        Press();
        QCOMPARE(Label("lblDay"), QStringLiteral("12"));
        QCOMPARE(Label("lblFull"), QString());
    }

    // One window through every fault kind in turn, then a good press: it stays alive, keeps
    // what was typed, shows one report a fault and fills the labels again.
    void everyFaultKindInTurnThenAGoodPress() {
        const struct {
            const char* tilt;
            const char* latitude;
            const char* year;
            const char* message;  // none for the good press
            const char* kind;
            const char* box;  // the first the report names, which has the focus once it closes
        } presses[] = {{"23.5", "66.5", "365.25", "Division by zero", "division-by-zero", "txtLat"},
                       {"23.5", "-80", "365.25", "Invalid argument", "invalid-argument", "txtLat"},
                       {"23.5", "38", "1e400", "Overflow", "overflow", "txtY"},
                       {"90", "0", "365.25", "Invalid operation", "invalid-operation", "txtTilt"},
                       {"23.5", "0", "365.25", nullptr, nullptr, nullptr}};
        QSignalSpy reports(form.get(), &Form1::faultReported);
        Press();  // fills the labels, so the first fault must empty them
        int faults = 0;
        for (const auto& press : presses) {
            Type("txtTilt", press.tilt);
            Type("txtLat", press.latitude);
            Type("txtY", press.year);
            Press();
            QVERIFY(form->isVisible());
            QCOMPARE(Box("txtTilt")->text(), QString::fromLatin1(press.tilt));
            QCOMPARE(Box("txtLat")->text(), QString::fromLatin1(press.latitude));
            QCOMPARE(Box("txtY")->text(), QString::fromLatin1(press.year));
            QCOMPARE(Box("txtRP")->text(), QStringLiteral("24"));
            if (!press.message) {
                QCOMPARE(reports.count(), faults);
                for (const char* label : {"lblMin", "lblMax", "lblDay", "lblNight"}) {
                    QCOMPARE(Label(label), QStringLiteral("12"));
                }
                continue;
            }
            QCOMPARE(reports.count(), ++faults);
            QCOMPARE(reports.last().at(0).toString(), QString::fromLatin1(press.kind));
            QVERIFY(Report()->isVisible());
            QVERIFY(!Report()->text().isEmpty());  // the cause
            QVERIFY(Report()->informativeText().contains(QString::fromLatin1(press.message)));
            VerifyLabelsEmpty();
            QTest::keyClick(Report(), Qt::Key_Escape);
            QTRY_VERIFY(!Report()->isVisible());
            QTRY_COMPARE(QApplication::focusWidget(), Box(press.box));
        }
    }

    void enterInABoxDoesNotComputeSpaceOrReturnOnTheButtonDo() {
        QTest::keyClick(Box("txtLat"), Qt::Key_Return);
        QTest::keyClick(Box("txtLat"), Qt::Key_Enter);
        VerifyLabelsEmpty();
        auto* button = Control<QPushButton>("Command1");
        QVERIFY(!button->isDefault() && !button->autoDefault());
        button->setFocus();
        for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
            form->ClearLabels();
            QTest::keyClick(button, key);
            QCOMPARE(Label("lblMin"), QStringLiteral("9.35208417825225"));
        }
    }

    // A long value is set smaller rather than cut, and the values of its press with it.
    void longResultsShowEveryDigitAtOneSizePerPress() {
        Type("txtRP", "-1e-320");
        Press();
        auto* label = Control<QLabel>("lblMin");
        QCOMPARE(label->text(), QStringLiteral("-3.89817794568744E-321"));
        QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <=
                label->contentsRect().width());
        QVERIFY(label->font().pointSizeF() < 9.75);
        for (const char* name : kLabels) QCOMPARE(Control<QLabel>(name)->font(), label->font());
        Type("txtRP", "24");
        Press();
        QCOMPARE(label->font().pointSizeF(), 9.75);
    }

    // Whole numbers to the clipboard: from the menu, by Ctrl+C, and selected by a double click;
    // a screen reader hears each result with its caption.
    void resultsAreCopiedAndSpokenWhole() {
        Press();
        auto* label = Control<QLabel>("lblMin");
        QClipboard* clipboard = QGuiApplication::clipboard();
        QCOMPARE(label->accessibleName(), QStringLiteral("Min Day: 9.35208417825225"));

        QTest::mouseDClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(label->selectedText(), label->text());
        clipboard->clear();
        QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), label->text());

        QContextMenuEvent click(QContextMenuEvent::Mouse, label->rect().center(),
                                label->mapToGlobal(label->rect().center()));
        QApplication::sendEvent(label, &click);
        auto* menu = label->findChild<QMenu*>();
        QVERIFY(menu);
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Copy"));
        clipboard->clear();
        menu->actions().at(0)->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("9.35208417825225"));
        menu->actions().at(1)->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("Min Day\t9.35208417825225\n"
                                                   "Max Day\t14.6479158217478\n"
                                                   "Daylight\t9.35208417825225\n"
                                                   "Night\t14.6479158217478\n"
                                                   "Full Daylight\t\n"));
        menu->close();
    }

    // Without a mouse: F6 goes to the first result and back, the arrows go through the results
    // with a value, and Shift+F10 or the Menu key opens the same menu.
    void resultsAreReachedAndCopiedWithTheKeyboard() {
        Type("txtLat", "70");  // Daylight and Night stay empty: the arrows pass them by
        Press();
        Box("txtLat")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("lblMin"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("lblMax"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("lblFull"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("lblFull"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), Control<QWidget>("lblMax"));
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Menu, Qt::NoModifier}}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            auto* menu = Control<QWidget>("lblMax")->findChild<QMenu*>();
            QVERIFY(menu);
            QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Copy All Results"));
            menu->close();
            delete menu;
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), Box("txtRP"));
    }

    // Four hundred pastes of the longest text a box takes leave the memory where it was: the box's
    // undo history, which keeps every character, is let go as it grows.
    void longPastesKeepTheMemoryFlat() {
        QLineEdit* box = Box("txtLat");
        const QString longest(box->maxLength(), QLatin1Char('7'));
        QGuiApplication::clipboard()->setText(longest);
        const auto resident = [] {
            std::ifstream statm("/proc/self/statm");
            long pages = 0, rss = 0;
            statm >> pages >> rss;
            return rss * sysconf(_SC_PAGESIZE);
        };
        box->setFocus();
        for (int i = 0; i < 50; ++i) {  // the allocator settles first
            box->selectAll();
            box->paste();
        }
        const long before = resident();
        for (int i = 0; i < 400; ++i) {
            box->selectAll();
            box->paste();
        }
        QCOMPARE(box->text(), longest);
        QVERIFY2(resident() - before < 16L << 20,
                 qPrintable(QStringLiteral("grew by %1 MB").arg((resident() - before) >> 20)));
    }

    void typingAtStartReplacesTheSolarDay() {
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("10"));
        QCOMPARE(Box("txtRP")->text(), QStringLiteral("10"));
    }

    // On a solar day of 24 hours a length's tip begins with it as people read it; on another day,
    // for Full Daylight and after a stop, the tip is the result's own.
    void resultTipsReadAsHours_data() {
        QTest::addColumn<QString>("solarDay");
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("begins");
        QTest::newRow("daylight") << "24"
                                  << "38"
                                  << "lblDay"
                                  << "9 h 21 min";
        QTest::newRow("min day") << "24"
                                 << "38"
                                 << "lblMin"
                                 << "9 h 21 min";
        QTest::newRow("night, 24h") << "24h"
                                    << "38"
                                    << "lblNight"
                                    << "14 h 39 min";
        QTest::newRow("another day") << "10"
                                     << "38"
                                     << "lblDay"
                                     << "";
        QTest::newRow("full daylight") << "24"
                                       << "80"
                                       << "lblFull"
                                       << "";
        QTest::newRow("a stop") << "24"
                                << "66.5"
                                << "lblDay"
                                << "";
    }
    void resultTipsReadAsHours() {
        QFETCH(QString, solarDay);
        QFETCH(QString, latitude);
        QFETCH(QString, label);
        QFETCH(QString, begins);
        // The tip each result has before any press.
        const QString own = Control<QLabel>(qPrintable(label))->toolTip();
        Box("txtRP")->setText(solarDay);
        Box("txtLat")->setText(latitude);
        Press();
        const QString tip = Control<QLabel>(qPrintable(label))->toolTip();
        if (begins.isEmpty()) {
            QCOMPARE(tip, own);
        } else {
            QVERIFY2(tip.startsWith(begins + u'\n') && tip.endsWith(own), qPrintable(tip));
        }
    }

    void goldenFile_data() {
        QTest::addColumn<QJsonObject>("input");
        QTest::addColumn<QJsonObject>("output");
        QFile golden(QStringLiteral(DAYLIGHT_GOLDEN_FILE));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        while (!golden.atEnd()) {
            const QJsonObject c = QJsonDocument::fromJson(golden.readLine()).object();
            QTest::newRow(qPrintable(c["name"].toString()))
                << c["input"].toObject() << c["output"].toObject();
        }
    }
    void goldenFile() {
        QFETCH(QJsonObject, input);
        QFETCH(QJsonObject, output);
        for (const daycalc::InputField& f : daycalc::kInputFields) {
            const QString field = Text(f.field);
            BoxOf(f)->setText(input.contains(field) ? input[field].toString() : Text(f.start));
        }
        QSignalSpy reports(form.get(), &Form1::faultReported);
        Press();
        if (output.contains("fault")) {
            QCOMPARE(reports.count(), 1);
            QCOMPARE(reports.at(0).at(0).toString(), output["fault"].toString());
            QVERIFY(Report()->informativeText().contains(output["message"].toString()));
            VerifyLabelsEmpty();
            return;
        }
        QCOMPARE(reports.count(), 0);
        for (const auto& [field, label] : kLabelOfField) {
            QCOMPARE(Label(label), output[field].toString());
        }
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"
