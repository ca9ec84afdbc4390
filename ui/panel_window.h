#pragma once
// The main window `tarvel`: the register's front panel, built from the layout table. It draws
// the register's state and delivers key clicks, typed characters and clock ticks to the
// register; it holds no state of its own beyond its widgets.
//
// The window may be made larger or maximised, for a projector or a large screen: the whole
// panel then grows with it, every control, lamp and font by one scale, as large as the window
// lets it while keeping its proportions, centred, the margins in the workspace colour. At its
// design size (8505 x 5100 twips) every control stands exactly at its twips. The size is kept
// in the settings between runs.

#include "register/cash_register.h"
#include "register/services.h"
#include "storage/settings.h"

#include <QFutureWatcher>
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
    // The window takes the size kept in `settings`, made usable on the screen, and keeps its
    // size there when it goes, if it was ever on screen.
    PanelWindow(CashRegister& reg, SettingsStore& settings, QWidget* parent = nullptr);
    ~PanelWindow() override;

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
    void resizeEvent(QResizeEvent* event) override;

  private:
    QSize designSize() const;
    void restoreSize();
    void storeSize();
    // Places every control for the window's present size, and scales the fonts to it.
    void layoutPanel();
    void scaleFonts();
    void showPickerStyle();
    QWidget* makeControl(const layout::Control& control);
    QWidget* makeField(const layout::Control& control);
    QWidget* makeTape(const layout::Control& control);
    QWidget* makeKey(const layout::Control& control);
    void showFrontTape();

    CashRegister& reg_;
    SettingsStore& settings_;
    QTimer clock_;
    // Each control's widget beside its row of the layout table.
    std::vector<std::pair<const layout::Control*, QWidget*>> controls_;
    qreal scale_ = 0; // the scale the fonts are drawn at
    QRect panelArea_; // where the panel stands in the window
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
    QFutureWatcher<void> journalRead_; // the journal read on a worker thread after the first paint
    TapeId shownFront_ = TapeId::Receipt;
};

} // namespace tarvel
