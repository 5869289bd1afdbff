#include "result_label.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <utility>

ResultLabel::ResultLabel(QString caption, std::function<QString()> allResults, QWidget* parent)
    : QLabel(parent), caption_(std::move(caption)), allResults_(std::move(allResults)) {
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A click or F6 gives it the focus for Ctrl+C and the menu; Tab passes it by, so that Tab
    // goes through the boxes and Compute only.
    setFocusPolicy(Qt::ClickFocus);
    setAccessibleName(caption_);
}

void ResultLabel::showValue(const QString& value, const QFont& font) {
    setFont(font);
    setText(value);
    // The name carries the value, so that a screen reader says "Min Day: 9.35…"; changing it
    // tells the reader that the value changed.
    setAccessibleName(value.isEmpty() ? caption_ : caption_ + QStringLiteral(": ") + value);
}

void ResultLabel::copy() const {
    if (!text().isEmpty()) QGuiApplication::clipboard()->setText(text());
}

// A number is one word: a double click selects all of it, also for the primary selection.
void ResultLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (text().isEmpty()) return QLabel::mouseDoubleClickEvent(event);
    setSelection(0, int(text().size()));
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection()) clipboard->setText(text(), QClipboard::Selection);
    event->accept();
}

// Ctrl+C copies what is selected, or the whole number when nothing is; Shift+F10 and the Menu key
// open the menu at the label.
void ResultLabel::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        contextMenu()->popup(mapToGlobal(rect().center()));
    } else if (event->matches(QKeySequence::Copy)) {
        if (hasSelectedText()) {
            QGuiApplication::clipboard()->setText(selectedText());
        } else {
            copy();
        }
    } else {
        return QLabel::keyPressEvent(event);
    }
    event->accept();
}

QMenu* ResultLabel::contextMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copyOne = menu->addAction(tr("Copy"), this, &ResultLabel::copy);
    copyOne->setEnabled(!text().isEmpty());
    menu->addAction(tr("Copy All Results"),
                    [this] { QGuiApplication::clipboard()->setText(allResults_()); });
    return menu;
}

void ResultLabel::contextMenuEvent(QContextMenuEvent* event) {
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    contextMenu()->popup(keyboard ? mapToGlobal(rect().center()) : event->globalPos());
    event->accept();
}
