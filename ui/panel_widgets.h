#pragma once
// The small widgets the front panel is made of, besides the two tapes: the indicator with its
// keyboard filter, the keys, and the keyboard-entry marker.

#include "register/cash_register.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <functional>
#include <optional>

namespace tarvel {

// The indicator TxtIND (and, read-only, the department field TxtSEC). Every typed character
// goes through the register's keyboard filter; one that passes is inserted at the caret and
// the register's field takes the widget's text. Keys without a character (Delete, the arrows)
// edit as usual; Backspace, control characters and every way of pasting are refused.
//
// The two fields stand side by side on one green window. A text too long for its field is cut
// at the field's left margin, so a long amount never reads as one with the department number;
// the department field draws a text that does not fit (a return mark behind the number)
// smaller, and shows it from its start, so the number stays in sight.
class IndicatorEdit : public QLineEdit {
  public:
    IndicatorEdit(const TextField& field, QWidget* parent = nullptr);
    // Turns on the keyboard filter: `filter` is the register's keyboardCharacter, `edited` hands it
    // the widget's text after an edit (indicatorEdited), `typed` runs after each character that
    // reached the field.
    void setKeyFilter(std::function<int(int)> filter, std::function<void(const QString&)> edited,
                      std::function<void()> typed);
    // Shows the field's text when it changed.
    void render();
    // The field drawn `scale` times its design size, in the font it has now: its margin and the
    // smallest size of a fitted text follow.
    void setScale(qreal scale);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void typeCharacter(char32_t code);
    void adoptText();
    void fitText();

    const TextField& field_;
    TextField::Seen seen_;
    std::optional<QFont> designFont_;
    qreal scale_ = 1;
    std::function<int(int)> filter_;
    std::function<void(const QString&)> edited_;
    std::function<void()> typed_;
};

// A key of the panel: a raised button in its own face colour with a centred caption that
// wraps at spaces, drawn without the style's padding so every caption fits its small key.
class PanelKey : public QAbstractButton {
  public:
    PanelKey(const QString& caption, QColor face, QColor ink, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor face_;
    QColor ink_;
};

// The keyboard-entry marker Shap1: an upright bar with rounded corners.
class MarkerBar : public QWidget {
  public:
    MarkerBar(QColor colour, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor colour_;
};

} // namespace tarvel
