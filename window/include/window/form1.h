// The one window: five boxes to type into, "Compute", and five result labels.
#pragma once

#include <QWidget>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QMessageBox;
class QPushButton;
class ResultLabel;

namespace daycalc {
struct DaylightInputs;
struct DaylightResults;
struct Problem;
}  // namespace daycalc

// The controls the window's code works with, typed, filled in as the control table is built.
struct Form1Controls {
    QLineEdit* txtRP = nullptr;
    QLineEdit* txtLat = nullptr;
    QLineEdit* txtTilt = nullptr;
    QLineEdit* txtAlpha = nullptr;
    QLineEdit* txtY = nullptr;
    ResultLabel* lblMin = nullptr;
    ResultLabel* lblMax = nullptr;
    ResultLabel* lblDay = nullptr;
    ResultLabel* lblNight = nullptr;
    ResultLabel* lblFull = nullptr;
    QPushButton* Command1 = nullptr;
};

class Form1 : public QWidget, private Form1Controls {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);

    // Empties the five result labels.
    void ClearLabels();
    // Reads the five boxes, computes, and fills the labels or reports the fault.
    void ComputeDaylight();

  signals:
    // A press stopped at a fault; the report names it. The kind is the fault's stable name.
    void faultReported(const QString& kind);

  private:
    void BuildControls();
    void WriteResults(const daycalc::DaylightResults& results);
    // Whether the solar day reads as 24 hours, so that lengths have a clock's hours.
    bool DayOf24Hours() const;
    // The five results as lines "Caption<TAB>text", for the clipboard.
    QString AllResults() const;
    void ReportStop(const daycalc::Problem& problem);
    QLineEdit* BoxOf(std::string daycalc::DaylightInputs::*input) const;
    std::vector<ResultLabel*> Results() const;
    // The focus to the next result with a value, `step` on from `from` (or from the start).
    void FocusResult(ResultLabel* from, int step);
    void MoveBetweenBoxesAndResults();

    // Each text box with the input it holds, as building finds them by their frames' captions.
    std::vector<std::pair<std::string daycalc::DaylightInputs::*, QLineEdit*>> inputBoxes;
    double scale = 1;  // the layout's, from the desktop's font
    QMessageBox* report = nullptr;
};
