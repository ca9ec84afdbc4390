// The goods directory window FrmSPR, driven offscreen: the ФЦ life cycle, the controls at
// their design places, search, add, the double-click copy onto the receipt tape, and the
// window's place kept in the settings store between runs.

#include "platform/directory_window.h"
#include "platform/qt_services.h"
#include "storage/data_dir.h"
#include "support/fakes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tarvel::test {
namespace {

const QString kGoods = QStringLiteral("Хлеб белый 25.00\r\nМолоко\r\nсыр\r\nХлеб ржаной");

// A register with its directory window, both over fakes, the way the program wires them.
struct DirectoryRig {
    RegisterRig panel;
    FakeSettings settings;
    int renders = 0;
    std::unique_ptr<FrmSPR> window;

    explicit DirectoryRig(const QString& goods = kGoods) {
        panel.files.writeText(kGoodsFileName, goods);
        open();
    }
    // A new directory window, as in a new run of the program.
    void open() {
        window = std::make_unique<FrmSPR>(
            *panel.reg,
            DirectoryServices{panel.regional, panel.messages, settings, panel.files.dataDir()},
            [this] { ++renders; });
        panel.reg->setGoodsWindow(window.get());
    }
    void pressFC() { panel.press("ФЦ"); }
    void closeBox() { window->close(); }

    QListView* sprav() const { return window->findChild<QListView*>("sprav"); }
    QLineEdit* search() const { return window->findChild<QLineEdit*>("TxtSearch"); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QString selectedText() const { return window->list().selectedText(); }
    bool lamp() { return panel.s().lit(Lamp::Lbd1); }
};

TEST(DirectoryWindow, FcLifeCycleThroughTheRealWindow) {
    DirectoryRig rig;
    ASSERT_FALSE(rig.window->isLoaded());

    // Start-up: the first press loads (settings, file) and shows.
    rig.pressFC();
    EXPECT_TRUE(rig.lamp());
    EXPECT_TRUE(rig.window->isLoaded());
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_EQ(rig.window->list().count(), 4);

    // Shown: the press hides it, keeping the list, an added entry and the selection.
    rig.search()->setText("Яблоки");
    rig.button("CmdDob")->click();
    rig.pressFC();
    EXPECT_FALSE(rig.lamp());
    EXPECT_TRUE(rig.window->isLoaded());
    EXPECT_FALSE(rig.window->isVisible());

    // Hidden: shown again without reading the file, which meanwhile changed.
    rig.panel.files.writeText(kGoodsFileName, "Кефир");
    rig.pressFC();
    EXPECT_TRUE(rig.lamp());
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_EQ(rig.window->list().count(), 5);
    EXPECT_EQ(rig.selectedText(), "Яблоки");

    // The close box unloads it (settings stored, list gone) and leaves the lamp lit.
    rig.closeBox();
    EXPECT_TRUE(rig.lamp());
    EXPECT_FALSE(rig.window->isLoaded());
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_EQ(rig.window->list().count(), 0);
    EXPECT_EQ(rig.settings.values.size(), 4);

    // So the next press puts the lamp out and loads the window hidden, from the file anew,
    rig.pressFC();
    EXPECT_FALSE(rig.lamp());
    EXPECT_TRUE(rig.window->isLoaded());
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_EQ(rig.window->list().entries(), QList<QString>{"Кефир"});
    EXPECT_EQ(rig.search()->text(), "");

    // and the press after that shows it.
    rig.pressFC();
    EXPECT_TRUE(rig.lamp());
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_TRUE(rig.panel.messages.shown.isEmpty());

    // The panel's close sequence unloads it.
    rig.settings.values.clear();
    rig.panel.reg->Form_Unload();
    EXPECT_FALSE(rig.window->isLoaded());
    EXPECT_EQ(rig.settings.values.size(), 4);
}

TEST(DirectoryWindow, ControlsAtTheirDesignPlacesAt96Dpi) {
    DirectoryRig rig;
    ASSERT_EQ(rig.window->screen()->logicalDotsPerInchX(), 96);
    EXPECT_EQ(rig.window->windowTitle(), "Справочник товаров");
    EXPECT_EQ(rig.window->objectName(), "FrmSPR");
    // The design client area, 4800 x 5130 twips, at 15 twips to the pixel.
    EXPECT_EQ(rig.window->size(), QSize(320, 342));
    EXPECT_EQ(rig.sprav()->geometry(), QRect(16, 88, 281, 225));
    EXPECT_EQ(rig.search()->geometry(), QRect(16, 8, 281, 29));
    EXPECT_EQ(rig.button("CmdSearch")->geometry(), QRect(208, 48, 97, 25));
    EXPECT_EQ(rig.button("CmdDob")->geometry(), QRect(16, 48, 97, 25));
    EXPECT_EQ(rig.button("CmdSearch")->text(), "Найти");
    EXPECT_EQ(rig.button("CmdDob")->text(), "Добавить");

    // Tab order: sprav, TxtSearch, CmdSearch, CmdDob (the list's own parts in between).
    const QStringList controls{"sprav", "TxtSearch", "CmdSearch", "CmdDob"};
    QStringList order;
    QWidget* w = rig.sprav();
    do {
        if (controls.contains(w->objectName())) order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != rig.sprav());
    EXPECT_EQ(order, controls);

    // Shown, the list follows the window and never gets a negative size.
    rig.pressFC();
    rig.window->resize(320, 342);
    EXPECT_EQ(rig.sprav()->geometry(), QRect(16, 88, 287, 242));
    rig.window->resize(600, 500);
    EXPECT_EQ(rig.sprav()->geometry(), QRect(16, 88, 567, 400));
    rig.window->resize(20, 50);
    EXPECT_EQ(rig.sprav()->size(), QSize(0, 0));
}

TEST(DirectoryWindow, OpensAtTheDefaultPlaceAndTheListFollows) {
    DirectoryRig rig;
    rig.pressFC();
    // No settings yet: outer corner at 1000, 1000 twips, outer size 6500 x 6500 twips.
    EXPECT_EQ(rig.window->frameGeometry(), QRect(67, 67, 433, 433));
    const QSize inner = rig.window->size();
    EXPECT_EQ(rig.sprav()->size(), QSize(inner.width() - 33, inner.height() - 100));
}

TEST(DirectoryWindow, PlaceSurvivesARestartAndBadValuesKeepTheirMeasure) {
    DirectoryRig rig;
    rig.pressFC();
    rig.window->move(200, 150);
    rig.window->resize(400, 300);
    const QRect outer = rig.window->frameGeometry();
    rig.closeBox();
    EXPECT_EQ(rig.settings.values.value("MainLeft"), "3000");
    EXPECT_EQ(rig.settings.values.value("MainTop"), "2250");
    EXPECT_EQ(rig.settings.values.value("MainWidth"), QString::number(outer.width() * 15));
    EXPECT_EQ(rig.settings.values.value("MainHeight"), QString::number(outer.height() * 15));

    // A new run opens the window where it was closed.
    rig.panel.restart();
    rig.open();
    rig.pressFC();
    EXPECT_EQ(rig.window->frameGeometry(), outer);

    // A stored value that is no number leaves its measure as it was.
    rig.closeBox();
    rig.settings.values["MainTop"] = "верх";
    rig.settings.values["MainWidth"] = "";
    rig.panel.restart();
    rig.open();
    const QRect before = rig.window->frameGeometry();
    rig.pressFC();
    rig.pressFC();
    const QRect after = rig.window->frameGeometry();
    EXPECT_EQ(after.left(), 200);
    EXPECT_EQ(after.top(), before.top());
    EXPECT_EQ(after.width(), before.width());
    EXPECT_EQ(after.height(), outer.height());
}

TEST(DirectoryWindow, WindowLoadedHiddenKeepsItsPlaceExactly) {
    DirectoryRig rig;
    rig.pressFC();
    // Under a window manager the frame comes a moment after the window (offscreen, never).
    (void)QTest::qWaitFor([&] { return rig.window->frameGeometry() != rig.window->geometry(); },
                          300);
    rig.window->move(200, 150);
    rig.closeBox();
    const auto stored = rig.settings.values;
    // The lamp stayed lit: ФЦ loads the window hidden, and the end of the program unloads it
    // without its ever being on screen.
    rig.pressFC();
    ASSERT_TRUE(rig.window->isLoaded());
    ASSERT_FALSE(rig.window->isVisible());
    rig.settings.values.clear();
    rig.panel.reg->Form_Unload();
    EXPECT_EQ(rig.settings.values, stored);
}

TEST(DirectoryWindow, MinimizedWindowStoresNothing) {
    DirectoryRig rig;
    rig.pressFC();
    rig.window->showMinimized();
    ASSERT_TRUE(rig.window->isMinimized());
    rig.panel.reg->Form_Unload();
    EXPECT_TRUE(rig.settings.values.isEmpty());
    EXPECT_FALSE(rig.window->isLoaded());
}

TEST(DirectoryWindow, SettingsRoundTripThroughQSettings) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    // Later suites get the per-user place back.
    const auto restore = qScopeGuard([] {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    });
    {
        QtSettingsStore store;
        EXPECT_EQ(store.read("MainLeft", "1000"), "1000");
        store.write("MainLeft", "1234,5");
        store.write("MainHeight", "7000");
        EXPECT_EQ(store.read("MainLeft", "1000"), "1234,5");
    }
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Tarvel", "Tarvel");
    EXPECT_EQ(raw.value("Settings/MainHeight").toString(), "7000");

    // The window's place through the real store.
    RegisterRig panel;
    panel.files.writeText(kGoodsFileName, kGoods);
    QtSettingsStore store;
    store.write("MainLeft", "1500");
    store.write("MainTop", "1200");
    store.write("MainWidth", "6000");
    auto window = std::make_unique<FrmSPR>(
        *panel.reg, DirectoryServices{panel.regional, panel.messages, store, panel.files.dataDir()},
        nullptr);
    window->show();
    EXPECT_EQ(window->frameGeometry(), QRect(100, 80, 400, 467));
    window->move(300, 90);
    window->unload();
    EXPECT_EQ(QtSettingsStore().read("MainLeft", ""), "4500");
    EXPECT_EQ(QtSettingsStore().read("MainTop", ""), "1350");
    EXPECT_EQ(QtSettingsStore().read("MainWidth", ""), "6000");
    EXPECT_EQ(QtSettingsStore().read("MainHeight", ""), "7005");
}

// Types characters as the keyboard does (QTest::keyClicks knows only ASCII).
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

TEST(DirectoryWindow, SearchByButtonAndByEnter) {
    DirectoryRig rig;
    rig.pressFC();
    struct Case {
        const char* text;
        const char* selected;
    };
    const Case cases[] = {
        {"хлеб", "Хлеб белый 25.00"}, {"ХЛЕБ", "Хлеб белый 25.00"}, {"ЛЕБ", "Хлеб белый 25.00"},
        {"РЖАН", "Хлеб ржаной"},      {"кефир", "Хлеб ржаной"},     {"", "Молоко"},
    };
    for (const bool byEnter : {false, true}) {
        for (const Case& c : cases) {
            rig.search()->clear();
            typeText(rig.search(), QString::fromUtf8(c.text));
            if (byEnter)
                QTest::keyClick(rig.search(), Qt::Key_Return);
            else
                rig.button("CmdSearch")->click();
            EXPECT_EQ(rig.selectedText(), c.selected) << c.text << (byEnter ? " Enter" : "");
            // The list box shows the same selection.
            const QModelIndexList shown = rig.sprav()->selectionModel()->selectedIndexes();
            ASSERT_EQ(shown.size(), 1);
            EXPECT_EQ(shown[0].row(), rig.window->list().selected());
        }
        EXPECT_EQ(rig.search()->text(), "");
    }
}

TEST(DirectoryWindow, DoubleClickCopiesTheEntryOntoTheTape) {
    DirectoryRig rig;
    rig.pressFC();
    rig.panel.press("КР 3Т"); // the header open for editing: the copy works in every mode
    ASSERT_TRUE(rig.panel.s().lit(Lamp::LblClish));
    const auto lamps = rig.panel.s().lamps;
    const QString tape = rig.panel.s().TxtCHL.text();
    rig.panel.s().TxtCHL.caretToEnd = false;

    // A click picks the entry, the double-click copies it.
    QListView* list = rig.sprav();
    const QModelIndex row = list->model()->index(2, 0);
    ASSERT_EQ(row.data().toString(), "Хлеб белый 25.00");
    const QPoint at = list->visualRect(row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(rig.panel.s().TxtCHL.text(), tape + "\r\nХлеб белый 25.00");
    EXPECT_FALSE(rig.panel.s().TxtCHL.caretToEnd);
    EXPECT_EQ(rig.panel.s().lamps, lamps);
    EXPECT_EQ(rig.renders, 1);
}

TEST(DirectoryWindow, LoadMessagesAndTheStartEntry) {
    {
        DirectoryRig rig(QStringLiteral("2\r\nв\r\nб\r\nа"));
        rig.pressFC();
        EXPECT_EQ(rig.selectedText(), "б");
        EXPECT_EQ(rig.sprav()->currentIndex().row(), 2);
    }
    {
        DirectoryRig rig{QString()};
        rig.pressFC();
        EXPECT_EQ(rig.panel.messages.texts(), QStringList{"Файл пуст!"});
        EXPECT_TRUE(rig.window->isVisible());
        // Searching an empty list selects nothing.
        rig.button("CmdSearch")->click();
        EXPECT_EQ(rig.window->list().selected(), -1);
    }
    {
        DirectoryRig rig;
        rig.panel.files.remove(kGoodsFileName);
        rig.pressFC();
        EXPECT_EQ(rig.panel.messages.texts(), QStringList{"Не могу найти File"});
        EXPECT_EQ(rig.sprav()->model()->rowCount(), 0);
    }
}

TEST(DirectoryWindow, SystemCollationIgnoresCaseAndPlacesYo) {
    const SystemRegional russian(QLocale(QLocale::Russian, QLocale::Russia));
    GoodsList list(russian);
    list.addAll({"жир", "Ёлка", "ель", "ЕЖ", "Яблоки", "абрикос", "Арбуз", "ёж"});
    EXPECT_EQ(QStringList(list.entries()),
              (QStringList{"абрикос", "Арбуз", "ЕЖ", "ёж", "Ёлка", "ель", "жир", "Яблоки"}));
    EXPECT_EQ(russian.toUpper("хлеб ёлка"), "ХЛЕБ ЁЛКА");
}

} // namespace
} // namespace tarvel::test
