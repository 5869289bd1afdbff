// A result label: a number people read, select and copy whole, and that a screen reader speaks
// with its caption.
#pragma once

#include <QLabel>
#include <functional>

class QMenu;

class ResultLabel : public QLabel {
  public:
    // `allResults` gives the lines that "Copy All Results" puts on the clipboard.
    ResultLabel(QString caption, std::function<QString()> allResults, QWidget* parent);

    const QString& caption() const { return caption_; }
    // Shows the value in the font, and names it with its caption for assistive technology.
    void showValue(const QString& value, const QFont& font);
    // Puts the whole number on the clipboard.
    void copy() const;
    // The menu a right click opens: "Copy", then "Copy All Results".
    QMenu* contextMenu();

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QString caption_;
    std::function<QString()> allResults_;
};
