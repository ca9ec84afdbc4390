// The goods directory window FrmSPR with the real front panel, offscreen at 96 DPI: ФЦ life
// cycle, controls, the place kept between runs, search, the double-click copy onto the tape.

#include "panel_fixture.h"
#include "platform/directory_window.h"
#include "platform/qt_services.h"

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
    // A new directory window, as in a new run of the program.
    void openDirectory(SettingsStore& store) {
        directory = std::make_unique<FrmSPR>(
            *rig.reg, DirectoryServices{rig.regional, rig.messages, store, rig.files.dataDir()},
            [this] { window->render(); });
        rig.reg->setGoodsWindow(directory.get());
    }
    template <class W = QWidget> W* child(const char* n) { return directory->findChild<W*>(n); }

    FakeSettings settings;
    std::unique_ptr<FrmSPR> directory;
};

TEST_F(DirectoryWindowTest, FcLifeCycleThroughTheRealWindows) {
    const struct {
        bool closeBox, lamp, loaded, visible;
        qsizetype entries;
    } table[] = {
        {false, true, true, true, 4},   // not loaded: loaded and shown
        {false, false, true, false, 5}, // shown: hidden, the added entry kept
        {false, true, true, true, 5},   // hidden: shown again without reading the file
        {true, true, false, false, 0},  // close box: unloaded, the lamp stays lit
        {false, false, true, false, 1}, // so ФЦ loads it (from the file) but keeps it hidden
        {false, true, true, true, 1}};  // and the next press shows it
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        table[row].closeBox ? void(directory->close()) : click("FC");
        EXPECT_EQ(control("Lbd1")->isVisibleTo(window.get()), table[row].lamp);
        EXPECT_EQ(directory->isLoaded(), table[row].loaded);
        EXPECT_EQ(directory->isVisible(), table[row].visible);
        EXPECT_EQ(directory->list().count(), table[row].entries);
        if (row == 0) child<QLineEdit>("TxtSearch")->setText("Яблоки");
        if (row == 0) child<QPushButton>("CmdDob")->click();
        if (row == 1) rig.files.writeText(kGoodsFileName, "Кефир");
    }
    settings.values.clear();
    window->close(); // the panel's close unloads the window, which stores its place
    EXPECT_EQ(settings.values.size(), 4);
}

TEST_F(DirectoryWindowTest, ProgramEndWithTheWindowNeverLoadedStoresNothing) {
    window->close();
    EXPECT_TRUE(settings.values.isEmpty());
}

// No settings yet: the outer corner at 1000, 1000 twips, the outer size 6500 x 6500; the list
// keeps 500 twips of the width and 1500 of the height, and never gets a negative size.
TEST_F(DirectoryWindowTest, OpensAtTheDefaultPlaceWithItsControlsInPlace) {
    ASSERT_EQ(directory->logicalDpiX(), 96);
    EXPECT_EQ(directory->windowTitle(), "Справочник товаров");
    click("FC");
    EXPECT_EQ(directory->frameGeometry(), QRect(67, 67, 433, 433));
    EXPECT_EQ(child("sprav")->geometry(),
              QRect(16, 88, directory->width() - 33, directory->height() - 100));
    EXPECT_EQ(child("TxtSearch")->geometry(), QRect(16, 8, 281, 29));
    EXPECT_EQ(child("CmdSearch")->geometry(), QRect(208, 48, 97, 25));
    EXPECT_EQ(child("CmdDob")->geometry(), QRect(16, 48, 97, 25));
    EXPECT_EQ(child<QPushButton>("CmdSearch")->text(), "Найти");
    EXPECT_EQ(child<QPushButton>("CmdDob")->text(), "Добавить");
    directory->resize(20, 50);
    EXPECT_EQ(child("sprav")->size(), QSize(0, 0));
}

TEST_F(DirectoryWindowTest, PlaceIsStoredInTwipsAndTakenAtTheNextLoad) {
    click("FC");
    directory->move(200, 150);
    directory->resize(400, 300);
    const QRect outer = directory->frameGeometry();
    directory->close();
    EXPECT_EQ(settings.values.value("MainLeft"), "3000");
    EXPECT_EQ(settings.values.value("MainTop"), "2250");
    const auto stored = settings.values;
    // A new run; the lamp stayed lit, so ФЦ loads the window hidden: it stores its place as it
    // was given, not Qt's guess of a frame it never had.
    openDirectory(settings);
    click("FC");
    directory->unload();
    EXPECT_EQ(settings.values, stored);
    click("FC");
    EXPECT_EQ(directory->frameGeometry(), outer);
    directory->showMinimized(); // a minimized window stores nothing
    settings.values.clear();
    directory->unload();
    EXPECT_TRUE(settings.values.isEmpty());
    // A stored value that is no number leaves its measure as it was.
    settings.values = {{"MainLeft", "1500"}, {"MainTop", "верх"}, {"MainWidth", ""}};
    openDirectory(settings);
    const QRect before = directory->frameGeometry();
    click("FC FC");
    EXPECT_EQ(directory->frameGeometry(), QRect(100, before.top(), before.width(), 433));
}

TEST_F(DirectoryWindowTest, PlaceRoundTripsThroughQSettings) {
    QTemporaryDir config; // the user's own settings stay untouched by this test binary
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QtSettingsStore store;
    store.write("MainLeft", "1500");
    store.write("MainTop", "1200");
    openDirectory(store);
    click("FC");
    EXPECT_EQ(directory->frameGeometry(), QRect(100, 80, 433, 433));
    directory->move(300, 90);
    directory->close();
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Tarvel", "Tarvel");
    EXPECT_EQ(raw.value("Settings/MainLeft"), "4500");
    EXPECT_EQ(store.read("MainTop", ""), "1350");
}

// Typed keys, then "Найти" or Enter; no match keeps the selection, "" finds the first entry.
TEST_F(DirectoryWindowTest, SearchByButtonAndByEnter) {
    click("FC");
    // Sorted: Молоко, сыр, Хлеб белый 25.00, Хлеб ржаной.
    const std::pair<const char*, int> cases[] = {
        {"хлеб", 2}, {"ЛЕБ", 2}, {"РЖАН", 3}, {"кефир", 3}, {"", 0}};
    for (const bool byEnter : {false, true}) {
        for (const auto& [text, selected] : cases) {
            child<QLineEdit>("TxtSearch")->clear();
            type(child("TxtSearch"), QString::fromUtf8(text) + (byEnter ? "\r" : ""));
            if (!byEnter) child<QPushButton>("CmdSearch")->click();
            EXPECT_EQ(directory->list().selected(), selected) << text << byEnter;
            EXPECT_EQ(child<QListView>("sprav")->currentIndex().row(), selected);
        }
    }
}

// In any mode, here with the header open for editing; no lamp changes and the caret stays.
TEST_F(DirectoryWindowTest, DoubleClickCopiesTheEntryOntoTheTape) {
    expectMessage("Впишите новое клише");
    click("FC KR Btn3T");
    const QString before = s().TxtCHL.text();
    const auto lamps = s().lamps;
    auto* list = child<QListView>("sprav");
    const QPoint at = list->visualRect(list->model()->index(2, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(s().TxtCHL.text(), before + "\r\nХлеб белый 25.00");
    EXPECT_TRUE(receiptTape()->toPlainText().endsWith("\nХлеб белый 25.00"));
    EXPECT_FALSE(s().TxtCHL.caretToEnd);
    EXPECT_EQ(s().lamps, lamps);
}

} // namespace tarvel::test
