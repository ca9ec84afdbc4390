#include "ui/directory_window.h"

#include "register/cash_register.h"
#include "ui/tape_views.h"
#include "ui/twips.h"

#include <QAbstractListModel>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWindow>
#include <limits>

namespace tarvel {

namespace {

// The window as designed, in twips: its client area and the margins the list keeps inside
// it when the window is resized.
constexpr int kDesignWidth = 4800;
constexpr int kDesignHeight = 5130;
constexpr double kListWidthMargin = 500;
constexpr double kListHeightMargin = 1500;

} // namespace

// The list box's rows: the directory's entries in the directory's own order. The view never
// sorts; every change comes from the GoodsList, announced here first.
class GoodsListModel : public QAbstractListModel {
  public:
    GoodsListModel(const GoodsList& list, QObject* parent)
        : QAbstractListModel(parent), list_(list) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) return 0;
        return int(std::min<qsizetype>(list_.count(), std::numeric_limits<int>::max()));
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= rowCount()) return {};
        // An entry is shown on one line, cut where it is too long to draw; a lone CR or LF
        // inside it is kept in the entry (and copied onto the tape) but shown as a space.
        QString text = shownLine(list_.at(index.row()));
        text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), ' ');
        return text;
    }

    template <class Change> void resetting(Change&& change) {
        beginResetModel();
        change();
        endResetModel();
    }
    template <class Change> void inserting(qsizetype row, Change&& change) {
        beginInsertRows({}, int(row), int(row));
        change();
        endInsertRows();
    }

  private:
    const GoodsList& list_;
};

DirectoryWindow::DirectoryWindow(CashRegister& panel, DirectoryServices services,
                                 std::function<void()> tapeChanged, QWidget* parent)
    : QWidget(parent, Qt::Window), panel_(panel), svc_(std::move(services)),
      tapeChanged_(std::move(tapeChanged)), list_(svc_.regional) {
    setObjectName(QStringLiteral("FrmSPR"));
    setWindowTitle(QStringLiteral("Справочник товаров"));
    // Closing the directory never ends the program; only the panel does that.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    resize(twipsToPixels(kDesignWidth, dpiX()), twipsToPixels(kDesignHeight, dpiY()));
}

DirectoryWindow::~DirectoryWindow() = default;

void DirectoryWindow::buildControls() {
    model_ = new GoodsListModel(list_, this);
    listView_ = new QListView(this);
    listView_->setObjectName(QStringLiteral("sprav"));
    listView_->setModel(model_);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView_->setUniformItemSizes(true);
    listView_->viewport()->installEventFilter(this);
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { takeViewSelection(); });

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("TxtSearch"));
    connect(search_, &QLineEdit::returnPressed, this, [this] { find(); });

    findButton_ = new QPushButton(QStringLiteral("Найти"), this);
    findButton_->setObjectName(QStringLiteral("CmdSearch"));
    connect(findButton_, &QPushButton::clicked, this, [this] { find(); });

    addButton_ = new QPushButton(QStringLiteral("Добавить"), this);
    addButton_->setObjectName(QStringLiteral("CmdDob"));
    connect(addButton_, &QPushButton::clicked, this, [this] { addEntry(); });

    placeControl(listView_, {240, 1320, 4215, 3375});
    placeControl(search_, {240, 120, 4215, 435});
    placeControl(findButton_, {3120, 720, 1455, 375});
    placeControl(addButton_, {240, 720, 1455, 375});
    setTabOrder(listView_, search_);
    setTabOrder(search_, findButton_);
    setTabOrder(findButton_, addButton_);
    listView_->setFocus();
}

void DirectoryWindow::placeControl(QWidget* control, const TwipsRect& place) {
    control->setGeometry(toPixels(place, dpiX(), dpiY()));
}

double DirectoryWindow::dpiX() const {
    return screen()->logicalDotsPerInchX();
}
double DirectoryWindow::dpiY() const {
    return screen()->logicalDotsPerInchY();
}

void DirectoryWindow::show() {
    QWidget::show(); // loads the window first when it is not loaded
    raise();
    activateWindow();
}

void DirectoryWindow::hide() {
    if (!loaded_) load();
    QWidget::hide();
}

void DirectoryWindow::setVisible(bool visible) {
    // A window that was on screen has its true frame geometry, also once hidden.
    if (!visible && isVisible()) asked_.reset();
    if (visible && !loaded_) load();
    QWidget::setVisible(visible);
}

// The window takes its stored place, then the list is filled from spravoch.txt. The list is
// read once per load: hiding and showing keep it, with its added entries and selection.
void DirectoryWindow::load() {
    loaded_ = true;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    const QChar separator = svc_.regional.decimalSeparator();
    setOuterPlace(readWindowPlace(svc_.settings, separator, outerPlace()));
    {
        const QScopedValueRollback quiet(showingSelection_, true);
        model_->resetting([&] { loadGoodsList(list_, svc_.dataDir, svc_.messages, separator); });
    }
    showSelection();
    listView_->setFocus();
}

// Closing stores the place (a minimized window stores nothing, so the place of the last
// normal close stays) and drops the list with everything added to it.
void DirectoryWindow::unload() {
    if (!loaded_) return;
    if (!isMinimized())
        storeWindowPlace(svc_.settings, svc_.regional.decimalSeparator(), outerPlace());
    {
        const QScopedValueRollback quiet(showingSelection_, true);
        model_->resetting([&] { list_.clear(); });
    }
    search_->clear();
    loaded_ = false;
    QWidget::hide();
}

void DirectoryWindow::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void DirectoryWindow::fitList() {
    listView_->resize(fittedListPixels(width(), kListWidthMargin, dpiX()),
                      fittedListPixels(height(), kListHeightMargin, dpiY()));
}

void DirectoryWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitList();
}

void DirectoryWindow::find() {
    list_.search(search_->text());
    showSelection();
}

void DirectoryWindow::addEntry() {
    const QString text = search_->text();
    {
        const QScopedValueRollback quiet(showingSelection_, true);
        model_->inserting(list_.insertPosition(text), [&] { list_.addSearchText(text); });
    }
    showSelection();
}

// The directory's one write into the panel: CR LF and the entry at the end of the receipt
// tape, in whatever mode the panel is. The tape's caret stays where it was.
void DirectoryWindow::copyEntryToTape() {
    panel_.appendGoodsEntry(list_.selectedText());
    if (tapeChanged_) tapeChanged_();
}

// A click below the last entry neither changes the selection nor copies anything: only a
// double-click on an entry puts it on the tape.
bool DirectoryWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != listView_->viewport() ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
         type != QEvent::MouseButtonRelease))
        return QWidget::eventFilter(watched, event);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (!listView_->indexAt(at).isValid()) return true;
    if (type == QEvent::MouseButtonDblClick) copyEntryToTape();
    return false;
}

void DirectoryWindow::showSelection() {
    const QScopedValueRollback quiet(showingSelection_, true);
    QItemSelectionModel* selection = listView_->selectionModel();
    if (list_.selected() < 0) {
        selection->clearSelection();
        selection->clearCurrentIndex();
        return;
    }
    const QModelIndex index = model_->index(int(list_.selected()));
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    listView_->scrollTo(index);
}

void DirectoryWindow::takeViewSelection() {
    if (showingSelection_) return;
    const QModelIndexList selected = listView_->selectionModel()->selectedIndexes();
    list_.select(selected.isEmpty() ? -1 : selected.first().row());
}

// The frame the window system puts around the client area; empty until it is known.
QSize DirectoryWindow::frameExtra() const {
    return frameGeometry().size() - geometry().size();
}

TwipsRect DirectoryWindow::outerPlace() const {
    QRect outer = frameGeometry();
    if (asked_ && !isVisible())
        outer = asked_->outer;
    else if (asked_ && size() == asked_->client)
        outer.setSize(asked_->outer.size());
    return {pixelsToTwips(outer.x(), dpiX()), pixelsToTwips(outer.y(), dpiY()),
            pixelsToTwips(outer.width(), dpiX()), pixelsToTwips(outer.height(), dpiY())};
}

// A stored place off every screen, or of no size or a huge one, would hide the window or
// cover the panel (and the close would store it again): it is brought onto a screen first.
void DirectoryWindow::setOuterPlace(const TwipsRect& place) {
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.append(s->availableGeometry());
    const QSize smallest(twipsToPixels(kSmallestWidthTwips, dpiX()),
                         twipsToPixels(kSmallestHeightTwips, dpiY()));
    const QRect outer = placeOnScreens(
        QRect(twipsToPixels(place.left, dpiX()), twipsToPixels(place.top, dpiY()),
              twipsToPixels(place.width, dpiX()), twipsToPixels(place.height, dpiY())),
        screens, smallest);
    // A top-level window's position is that of its frame.
    move(outer.topLeft());
    resize((outer.size() - frameExtra()).expandedTo(QSize(1, 1)));
    asked_ = AskedOuter{outer, size()};
}

void DirectoryWindow::settleAskedOuter() {
    if (!asked_ || !isVisible()) return;
    // Once the trainee or the window system has resized the window, its own size counts.
    if (size() != asked_->client) {
        asked_.reset();
        return;
    }
    const QSize extra = frameExtra();
    if (extra.isNull()) return;
    const QSize client = (asked_->outer.size() - extra).expandedTo(QSize(1, 1));
    asked_.reset();
    if (size() != client) resize(client);
}

bool DirectoryWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        settleAskedOuter();
        break;
    default:
        break;
    }
    return handled;
}

} // namespace tarvel
