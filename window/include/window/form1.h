// The one window: five boxes to type into, "Compute", and five result labels.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace daycalc {
struct DaylightResults;
}
namespace rt {
class Fault;
}

class Form1 : public QWidget {
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
    void WriteResults(const daycalc::DaylightResults& results);
    void ReportFault(const rt::Fault& fault);

    QLineEdit* txtRP;
    QLineEdit* txtLat;
    QLineEdit* txtTilt;
    QLineEdit* txtAlpha;
    QLineEdit* txtY;
    QLabel* lblMin;
    QLabel* lblMax;
    QLabel* lblDay;
    QLabel* lblNight;
    QLabel* lblFull;
    QPushButton* Command1;
    QMessageBox* report = nullptr;
};
