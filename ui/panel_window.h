#pragma once
// The main window `tarvel`: the register's front panel, built from the layout table. It draws
// the register's state and delivers key clicks, typed characters and clock ticks to the
// register; it holds no state of its own beyond its widgets.

#include "register/cash_register.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <vector>

class QLabel;

namespace tarvel {

namespace layout {
struct Control;
}
class IndicatorEdit;
class JournalView;
class ReceiptTapeView;

class PanelWindow : public QWidget {
  public:
    explicit PanelWindow(CashRegister& reg, QWidget* parent = nullptr);

    // Draws what changed in the register: fields, tapes, lamps, marker, clock, the ВВ key and
    // which tape lies in front. Run after every operation, also by the goods directory window
    // after it wrote to the receipt tape.
    void render();
    // One tick of the clock Timer1.
    void clockTick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // After the panel is first on screen, the journal read in the background is taken in.
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* makeControl(const layout::Control& control);
    QWidget* makeField(const layout::Control& control);
    QWidget* makeTape(const layout::Control& control);
    QWidget* makeKey(const layout::Control& control);
    void showFrontTape();

    CashRegister& reg_;
    QTimer clock_;
    std::vector<IndicatorEdit*> fields_;
    IndicatorEdit* indicator_ = nullptr;
    ReceiptTapeView* receipt_ = nullptr;
    JournalView* journal_ = nullptr;
    std::array<QWidget*, kLampCount> lamps_{};
    QWidget* marker_ = nullptr;
    QLabel* picker_ = nullptr;
    QWidget* commandVV_ = nullptr;
    bool haveFront_ = false;
    bool painted_ = false;
    TapeId shownFront_ = TapeId::Receipt;
};

} // namespace tarvel
