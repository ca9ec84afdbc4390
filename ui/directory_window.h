#pragma once
// The goods directory window "Справочник товаров" (FrmSPR): the list of spravoch.txt (sprav), a
// search box (TxtSearch) with "Найти" and "Добавить", and a double-click that copies an entry
// onto the receipt tape. The panel's ФЦ key shows and hides it through the GoodsWindow interface;
// the window remembers its outer position and size in twips between runs.

#include "goods/goods_list.h"
#include "register/services.h"
#include "storage/data_dir.h"
#include "ui/window_place.h"

#include <QWidget>
#include <functional>
#include <optional>

class QLineEdit;
class QListView;
class QPushButton;

namespace tarvel {

class CashRegister;
class GoodsListModel;

// What the directory window needs of the platform. All references outlive the window.
struct DirectoryServices {
    const RegionalSettings& regional;
    MessageBoxes& messages;
    SettingsStore& settings;
    DataDir dataDir;
};

class DirectoryWindow : public QWidget, public GoodsWindow {
    Q_OBJECT

  public:
    // `tapeChanged` runs after a double-click has put an entry on the panel's receipt tape,
    // so that the panel window draws it.
    DirectoryWindow(CashRegister& panel, DirectoryServices services,
                    std::function<void()> tapeChanged, QWidget* parent = nullptr);
    ~DirectoryWindow() override;

    // The panel's view of the window (ФЦ and the close sequence).
    bool isLoaded() const override { return loaded_; }
    void show() override;
    void hide() override;
    void unload() override;

    // The window's operations: loading, the list fitted to the window, the two buttons and the
    // double-click.
    void load();
    void fitList();
    void find();
    void addEntry();
    void copyEntryToTape();

    // The outer position and size as the window stores them, in twips.
    TwipsRect outerPlace() const;

  protected:
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void placeControl(QWidget* control, const TwipsRect& place);
    void setOuterPlace(const TwipsRect& place);
    void settleAskedOuter();
    QSize frameExtra() const;
    double dpiX() const;
    double dpiY() const;
    void showSelection();
    void takeViewSelection();

    CashRegister& panel_;
    DirectoryServices svc_;
    std::function<void()> tapeChanged_;
    GoodsList list_;
    GoodsListModel* model_ = nullptr;
    bool loaded_ = false;
    bool showingSelection_ = false;
    // The outer place asked for at the load, and the client size given for it, until the
    // window is on screen with a known frame. Until then Qt knows neither the frame's size nor
    // where a hidden window's frame will be, so the place is stored as asked (a window loaded
    // hidden and never shown keeps its place exactly), and the outer size is applied as soon
    // as the frame is known (the stored size does not grow by a frame on every run).
    struct AskedOuter {
        QRect outer;
        QSize client;
    };
    std::optional<AskedOuter> asked_;

    QListView* listView_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
};

} // namespace tarvel
