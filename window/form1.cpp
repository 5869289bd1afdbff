#include "window/form1.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "caption_frame.h"
#include "controls.h"
#include "daylight/daylight.h"
#include "result_label.h"
#include "runtime/runtime.h"

namespace {

using face::Kind;
using form::Pixels;

// The layout scale the desktop's font asks for: 1 at the table's font and below.
double LayoutScale() {
    return std::max(1.0, PointsOf(QApplication::font()) / form::kDesktopPointSize);
}

constexpr double kValuePointSize = 9.75;
constexpr double kSmallestPointSize = 6;

// A plain sans-serif face for the values, with narrow digits so that fifteen of them fit.
QFont ValueFont(double scale) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kValuePointSize * scale);
    font.setWeight(QFont::Normal);
    return font;
}

// The value font for one press: the largest, down from the value size, at which every value
// fits its label whole, since a cut number reads as a different number. One size for the
// whole press, so that no value looks more or less important than another.
QFont FittingValueFont(const std::vector<std::pair<ResultLabel*, QString>>& values, double scale) {
    return ShrunkToFit(ValueFont(scale), kSmallestPointSize, [&](const QFont& font) {
        const QFontMetrics metrics(font);
        return std::all_of(values.begin(), values.end(), [&](const auto& value) {
            return metrics.horizontalAdvance(value.second) <= value.first->contentsRect().width();
        });
    });
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString TipOf(std::string_view name) {
    for (const auto& [control, tip] : face::kTips) {
        if (control == name) return Text(tip);
    }
    return {};
}

// A box's undo history keeps a record for every character typed, pasted or removed, and Qt never
// trims it: a paste of 32,767 characters costs about a megabyte for good. Once the edits since the
// last time have touched this many characters, the history is let go (a new text lets it go; the
// text, cursor and selection stay), so that memory stays flat however much is pasted.
constexpr qsizetype kCharactersBeforeTheHistoryGoes = 1 << 16;

void BoundTheUndoHistory(QLineEdit* box) {
    struct Count {
        qsizetype length = 0;   // the text's length before the next edit
        qsizetype touched = 0;  // characters removed and inserted since the history last went
    };
    const auto count = std::make_shared<Count>(Count{box->text().size(), 0});
    QObject::connect(box, &QLineEdit::textEdited, box, [box, count](const QString& text) {
        count->touched += count->length + text.size();
        if (count->touched < kCharactersBeforeTheHistoryGoes) return;
        count->touched = 0;
        const int cursor = box->cursorPosition();
        const int selectionStart = box->selectionStart();
        const qsizetype selected = box->selectedText().size();
        box->setText(text);
        box->setCursorPosition(cursor);
        if (selected > 0) box->setSelection(selectionStart, int(selected));
    });
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [count](const QString& text) { count->length = text.size(); });
}

// A straight segment from the line table: a bar as thick as the frames' borders from one end
// to the other.
void MakeLine(const face::Line& line, double scale, QWidget* form) {
    auto* rule = new RuleSegment(form);
    rule->setObjectName(QString::fromUtf8(line.name));
    const int thickness = BorderWidth(scale);
    const QPoint topLeft(Pixels(std::min(line.x1, line.x2), scale),
                         Pixels(std::min(line.y1, line.y2), scale));
    const QPoint bottomRight(Pixels(std::max(line.x1, line.x2), scale) + thickness - 1,
                             Pixels(std::max(line.y1, line.y2), scale) + thickness - 1);
    rule->setGeometry(QRect(topLeft, bottomRight));
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Daylight"));
    scale = LayoutScale();
    BuildControls();
    connect(Command1, &QPushButton::clicked, this, &Form1::ComputeDaylight);
    // Return on the focused button presses it, as Space does; in a text box it does nothing.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        new QShortcut(QKeySequence(key), Command1, Command1, &QPushButton::click,
                      Qt::WidgetShortcut);
    }
    // F6 goes from the boxes to the results and back; in the results the arrows go from one to
    // the next, for copying without a mouse.
    new QShortcut(QKeySequence(Qt::Key_F6), this, this, &Form1::MoveBetweenBoxesAndResults);
    for (ResultLabel* label : {lblMin, lblMax, lblDay, lblNight, lblFull}) {
        for (const auto& [key, step] : {std::pair{Qt::Key_Down, 1}, {Qt::Key_Up, -1}}) {
            new QShortcut(
                QKeySequence(key), label, this, [this, label, step] { FocusResult(label, step); },
                Qt::WidgetShortcut);
        }
    }

    // The table's client area, grown with the desktop's font; never smaller.
    const QSize client(Pixels(face::kFormWidth, scale), Pixels(face::kFormHeight, scale));
    setMinimumSize(client);
    resize(client);
    txtRP->setFocus();
    txtRP->selectAll();  // typing replaces the starting text
}

// Builds every control of the table into its container and the member it fills, gives the text
// boxes and labels their frame's caption as accessible name, and chains the focus through the
// focusable ones by tab index.
void Form1::BuildControls() {
    std::map<std::string_view, QWidget*> built{{"Form1", this}};
    std::map<int, QWidget*> focusOrder;
    Form1Controls& members = *this;
    for (const face::Control& c : face::kControls) {
        QWidget* container = built.at(c.container);
        QWidget* widget = nullptr;
        switch (c.kind) {
            case Kind::Frame:
                widget = new CaptionFrame(Text(c.caption), scale, container);
                break;
            case Kind::TextBox: {
                auto* box = new QLineEdit(Text(c.caption), container);
                box->setFont(ValueFont(scale));
                BoundTheUndoHistory(box);
                const QString caption = qobject_cast<QGroupBox*>(container)->title();
                for (const daycalc::InputField& f : daycalc::kInputFields) {
                    if (Text(f.caption) == caption) inputBoxes.emplace_back(f.text, box);
                }
                members.*std::get<QLineEdit * Form1Controls::*>(form::SlotOf(c.name)) = box;
                focusOrder[c.tabIndex] = widget = box;
                break;
            }
            case Kind::Label: {
                auto* label = new ResultLabel(
                    qobject_cast<QGroupBox*>(container)->title(), [this] { return AllResults(); },
                    container);
                label->setFont(ValueFont(scale));
                members.*std::get<ResultLabel * Form1Controls::*>(form::SlotOf(c.name)) = label;
                widget = label;
                break;
            }
            case Kind::Button: {
                auto* button = new QPushButton(Text(c.caption), container);
                button->setAutoDefault(false);
                button->setDefault(false);
                members.*std::get<QPushButton * Form1Controls::*>(form::SlotOf(c.name)) = button;
                focusOrder[c.tabIndex] = widget = button;
                break;
            }
        }
        widget->setObjectName(Text(c.name));
        widget->setGeometry(QRect(
            QPoint(Pixels(c.left, scale), Pixels(c.top, scale)),
            QPoint(Pixels(c.left + c.width, scale) - 1, Pixels(c.top + c.height, scale) - 1)));
        if (c.kind == Kind::TextBox) {
            widget->setAccessibleName(qobject_cast<QGroupBox*>(container)->title());
        }
        widget->setToolTip(TipOf(c.name));
        built[c.name] = widget;
    }
    for (auto it = focusOrder.begin(); std::next(it) != focusOrder.end(); ++it) {
        QWidget::setTabOrder(it->second, std::next(it)->second);
    }
    for (const face::Line& line : face::kLines) MakeLine(line, scale, this);
}

// The results in the order they are read: the window's columns, left then right.
std::vector<ResultLabel*> Form1::Results() const {
    return {lblMin, lblMax, lblFull, lblDay, lblNight};
}

void Form1::FocusResult(ResultLabel* from, int step) {
    const std::vector<ResultLabel*> results = Results();
    const auto at = std::find(results.begin(), results.end(), from);
    const auto count = std::ptrdiff_t(results.size());
    std::ptrdiff_t i = at == results.end() ? (step > 0 ? -1 : count) : at - results.begin();
    for (i += step; i >= 0 && i < count; i += step) {
        if (!results[std::size_t(i)]->text().isEmpty()) {
            results[std::size_t(i)]->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void Form1::MoveBetweenBoxesAndResults() {
    const std::vector<ResultLabel*> results = Results();
    QWidget* focused = QApplication::focusWidget();
    if (std::find(results.begin(), results.end(), focused) != results.end()) {
        txtRP->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    FocusResult(nullptr, 1);
}

void Form1::ClearLabels() {
    for (ResultLabel* label : {lblMin, lblMax, lblDay, lblNight, lblFull}) {
        label->showValue(QString(), ValueFont(scale));
        label->setToolTip(TipOf(label->objectName().toStdString()));
    }
}

void Form1::ComputeDaylight() {
    ClearLabels();
    daycalc::DaylightInputs inputs;
    for (const auto& [input, box] : inputBoxes) inputs.*input = box->text().toStdString();
    const daycalc::DaylightOutcome outcome = daycalc::ComputeDaylight(inputs);
    if (const auto* problem = std::get_if<daycalc::Problem>(&outcome)) return ReportStop(*problem);
    WriteResults(std::get<daycalc::DaylightResults>(outcome));
}

void Form1::WriteResults(const daycalc::DaylightResults& r) {
    std::vector<std::pair<ResultLabel*, QString>> values;
    const auto add = [&](ResultLabel* label, const std::string& text) {
        values.emplace_back(label, QString::fromStdString(text));
    };
    if (r.polar) {
        add(lblFull, r.fullDaylight);
    } else {
        add(lblDay, r.daylight);
        add(lblNight, r.night);
    }
    add(lblMin, r.minDay);
    add(lblMax, r.maxDay);
    const QFont font = FittingValueFont(values, scale);
    for (ResultLabel* label : {lblMin, lblMax, lblDay, lblNight, lblFull}) label->setFont(font);
    for (const auto& [label, text] : values) label->showValue(text, font);
    // On a solar day of 24 hours, each length of a day as people read it ("9 h 21 min") in its
    // tip; the result keeps its own text.
    if (!DayOf24Hours()) return;
    for (const auto& [label, text] : values) {
        const std::optional<double> hours = rt::StrictNumber(text.toStdString());
        if (label == lblFull || !hours) continue;
        const QString tip = TipOf(label->objectName().toStdString());
        label->setToolTip(QString::fromStdString(rt::LengthWords(*hours)) +
                          (tip.isEmpty() ? QString() : u'\n' + tip));
    }
}

bool Form1::DayOf24Hours() const {
    try {
        return rt::ValFromText(txtRP->text().toStdString()) == 24;
    } catch (const rt::Fault&) {
        return false;
    }
}

QString Form1::AllResults() const {
    QString lines;
    for (const std::string_view name : face::kResultsInOrder) {
        const auto* label = findChild<const ResultLabel*>(QString::fromLatin1(name));
        lines += label->caption() + u'\t' + label->text() + u'\n';
    }
    return lines;
}

QLineEdit* Form1::BoxOf(std::string daycalc::DaylightInputs::*input) const {
    for (const auto& [held, box] : inputBoxes) {
        if (held == input) return box;
    }
    return txtRP;
}

// The press stops with the labels empty; the window, the typed texts and the next press go on.
// The report leads with the cause and says what to change; closing it puts the focus in the
// first box it names.
void Form1::ReportStop(const daycalc::Problem& problem) {
    if (!report) {  // made on the first fault: most sessions never need it, and start-up is faster
        report =
            new QMessageBox(QMessageBox::Warning, tr("Daylight"), QString(), QMessageBox::Ok, this);
        report->setObjectName(QStringLiteral("faultReport"));
    }
    const QString kind = Text(problem.kindName());
    const std::string year = daycalc::WhereTheYearIs(problem, daycalc::FrontEnd::Desktop);
    report->setText(QString::fromStdString(problem.cause));
    report->setInformativeText(
        QString::fromStdString(problem.hint + (year.empty() ? "" : " " + year)) +
        QStringLiteral("\n\n") +
        tr("The calculation stopped with: %1.").arg(Text(problem.message)));
    const daycalc::InputField* field =
        daycalc::InputFieldNamed(problem.fields.empty() ? "latitude" : problem.fields.front());
    QLineEdit* first = BoxOf(field ? field->text : &daycalc::DaylightInputs::latitude);
    report->disconnect(this);
    connect(report, &QMessageBox::finished, this, [first] {
        first->setFocus();
        first->selectAll();
    });
    report->open();  // modal over the window, without a nested event loop
    emit faultReported(kind);
}
