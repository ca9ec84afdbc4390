// The goods directory window (FrmSPR) with the real front panel, offscreen at 96 DPI.

#include "qt/qt_services.h"
#include "support/named_rows.h"
#include "support/panel_fixture.h"
#include "ui/directory_window.h"
#include "ui/window_place.h"

#include <QListView>
#include <QPushButton>
#include <QSettings>

namespace tarvel::test {

class DirectoryWindowTest : public PanelFixture {
  protected:
    void SetUp() override {
        rig.files.writeText(kGoodsFileName, "Хлеб белый 25.00\r\nМолоко\r\nсыр\r\nХлеб ржаной");
        PanelFixture::SetUp();
        openDirectory(settings);
    }
    void openDirectory(SettingsStore& store) {
        directory = std::make_unique<DirectoryWindow>(
            *rig.reg, DirectoryServices{rig.regional, rig.messages, store, rig.files.dataDir()},
            [this] { window->render(); });
        rig.reg->setGoodsWindow(directory.get());
    }
    template <class W = QWidget> W* child(const char* n) { return directory->findChild<W*>(n); }

    FakeSettings settings;
    std::unique_ptr<DirectoryWindow> directory;
};

TEST_F(DirectoryWindowTest, FcLifeCycleThroughTheRealWindows) {
    // Each row: by the close box or by ФЦ, then Lbd1 lit, loaded, visible, the entries listed.
    using State = std::tuple<bool, bool, bool, qsizetype>;
    const std::pair<bool, State> table[] = {
        {false, {true, true, true, 4}},   // not loaded: loaded and shown
        {false, {false, true, false, 5}}, // shown: hidden, the added entry kept
        {false, {true, true, true, 5}},   // hidden: shown again without reading the file
        {true, {true, false, false, 0}},  // close box: unloaded, the lamp stays lit
        {false, {false, true, false, 1}}, // so ФЦ loads it (from the file) but keeps it hidden
        {false, {true, true, true, 1}}};  // and the next press shows it
    for (int row = 0; row < 6; ++row) {
        table[row].first ? void(directory->close()) : click("ФЦ");
        EXPECT_EQ(State(control(u"Lbd1")->isVisibleTo(window.get()), directory->isLoaded(),
                        directory->isVisible(), child<QListView>("sprav")->model()->rowCount()),
                  table[row].second)
            << row;
        if (row == 0) child<QLineEdit>("TxtSearch")->setText("Яблоки");
        if (row == 0) child<QPushButton>("CmdDob")->click();
        if (row == 1) rig.files.writeText(kGoodsFileName, "Кефир");
    }
    settings.values.clear();
    window->close(); // the panel's close unloads the window, which stores its place
    EXPECT_EQ(settings.values.size(), 4);
}

// Stored at unloading: loaded hidden, the place as given (not Qt's guess); minimized, nothing.
TEST_F(DirectoryWindowTest, PlaceRoundTripsThroughQSettings) {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    // Windows keeps them in the registry, where setPath does not reach: emptied first there.
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Tarvel", "Tarvel").clear();
    QtSettingsStore store;
    openDirectory(store);
    click("ФЦ");
    EXPECT_EQ(directory->frameGeometry(), QRect(67, 67, 433, 433));
    directory->move(300, 90);
    const QRect outer = directory->frameGeometry();
    directory->close();
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Tarvel", "Tarvel");
    EXPECT_EQ(raw.value("Settings/MainLeft").toString() + store.read("MainTop", ""), "45001350");
    openDirectory(store); // a new run
    click("ФЦ");
    directory->unload();
    EXPECT_EQ(store.read("MainLeft", "") + store.read("MainTop", ""), "45001350");
    click("ФЦ");
    EXPECT_EQ(directory->frameGeometry(), outer);
    directory->showMinimized();
    store.write("MainLeft", "0");
    directory->unload();
    EXPECT_EQ(store.read("MainLeft", ""), "0");
}

// Stored places off screen or too small: opens wholly on screen, at least 200 x 200, stores that.
struct BadPlace : NamedRow {
    QStringList values; // MainLeft, MainTop, MainWidth, MainHeight
};

class DirectoryPlaceTest : public DirectoryWindowTest,
                           public testing::WithParamInterface<BadPlace> {};

TEST_P(DirectoryPlaceTest, OpensUsableOnAScreenAndStoresWhatItHas) {
    const QStringList names = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i)
        settings.values[names[i]] = GetParam().values[i];
    click("ФЦ");
    const QRect screen = directory->screen()->availableGeometry();
    const QRect outer = directory->frameGeometry();
    EXPECT_TRUE(screen.contains(outer))
        << outer.x() << "," << outer.y() << " " << outer.width() << "x" << outer.height();
    EXPECT_GE(outer.width(), 200);
    EXPECT_GE(outer.height(), 200);
    directory->close();
    const QMap<QString, QString> stored = settings.values;
    openDirectory(settings); // the next run
    click("ФЦ");
    EXPECT_EQ(directory->frameGeometry(), outer);
    directory->close();
    EXPECT_EQ(settings.values, stored);
}

const BadPlace kBadPlaces[] = {
    {"FarOffTheLeft", {"-1000000", "1000", "6500", "6500"}},
    {"OnAMonitorThatIsGone", {"40000", "30000", "6500", "6500"}},
    {"NegativeZeroSize", {"1000", "1000", "-0", "-0"}},
    {"OnePixel", {"1000", "1000", "15", "15"}},
    {"HugeSize", {"1000", "1000", "1000000", "1000000"}},
    {"LargestWindow", {"0", "0", "491505", "491505"}}, // 32767 pixels
};

INSTANTIATE_TEST_SUITE_P(Settings, DirectoryPlaceTest, testing::ValuesIn(kBadPlaces), rowName);

// The list never takes a negative size. Search by "Найти" or Enter; no match keeps the selection.
TEST_F(DirectoryWindowTest, ControlsInPlaceAndSearchByButtonOrEnter) {
    click("ФЦ"); // sorted: Молоко, сыр, Хлеб белый 25.00, Хлеб ржаной
    EXPECT_EQ(child("sprav")->geometry(),
              QRect(16, 88, directory->width() - 33, directory->height() - 100));
    const std::pair<const char*, int> cases[] = {
        {"хлеб", 2}, {"ЛЕБ", 2}, {"РЖАН", 3}, {"кефир", 3}, {"", 0}};
    for (const bool byEnter : {false, true})
        for (const auto& [text, selected] : cases) {
            child<QLineEdit>("TxtSearch")->clear();
            type(child("TxtSearch"), QString::fromUtf8(text) + (byEnter ? "\r" : ""));
            if (!byEnter) child<QPushButton>("CmdSearch")->click();
            const QModelIndexList chosen =
                child<QListView>("sprav")->selectionModel()->selectedIndexes();
            EXPECT_EQ(chosen.isEmpty() ? -1 : chosen.first().row(), selected) << text << byEnter;
            EXPECT_EQ(child<QListView>("sprav")->currentIndex().row(), selected);
        }
    directory->resize(20, 50);
    EXPECT_EQ(child("sprav")->size(), QSize(0, 0));
}

// In any mode, here with the header open for editing; below the last entry a double-click neither
// copies nor drops the selection; on an entry it copies it and the caret stays where it was.
TEST_F(DirectoryWindowTest, DoubleClickCopiesTheEntryOntoTheTape) {
    expectedMessages << "Впишите новое клише";
    click("ФЦ КР 3Т");
    const QString before = s().TxtCHL.text();
    const std::uint64_t caretMoves = s().TxtCHL.caretMovesToEnd;
    auto* list = child<QListView>("sprav");
    const QPoint at = list->visualRect(list->model()->index(2, 0)).center();
    const QPoint below(at.x(), list->visualRect(list->model()->index(3, 0)).bottom() + 20);
    ASSERT_LT(below.y(), list->viewport()->height());
    for (const QPoint& p : {at, below}) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
    }
    EXPECT_EQ(list->currentIndex().row(), 2);
    EXPECT_EQ(s().TxtCHL.text(), before + "\r\nХлеб белый 25.00");
    EXPECT_TRUE(receiptTape()->toPlainText().endsWith("\nХлеб белый 25.00"));
    EXPECT_EQ(s().TxtCHL.caretMovesToEnd, caretMoves);
}

// The place as the settings keep it, without a window.
TEST(WindowPlace, DefaultsNumbersInEitherSeparatorAndBadValuesKeepTheirMeasure) {
    FakeSettings settings;
    EXPECT_EQ(readWindowPlace(settings, '.', {10, 20, 30, 40}),
              (TwipsRect{1000, 1000, 6500, 6500}));
    storeWindowPlace(settings, ',', {-150, 1305, 6480.5f, 5000});
    EXPECT_EQ(settings.values.value("MainWidth"), "6480,5");
    EXPECT_EQ(readWindowPlace(settings, ',', {}), (TwipsRect{-150, 1305, 6480.5f, 5000}));
    settings.values = {{"MainTop", "верх"}, {"MainWidth", ""}, {"MainHeight", "-5"}};
    EXPECT_EQ(readWindowPlace(settings, '.', {10, 20, 30, 40}), (TwipsRect{1000, 20, 30, 40}));
}

} // namespace tarvel::test
