// The goods directory with the real front panel, wired as the program wires them: the
// panel's ФЦ key and close box, the directory's close box, and its double-click drawn on the
// receipt tape.

#include "panel_fixture.h"
#include "platform/directory_window.h"
#include "platform/tape_views.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace tarvel::test {
namespace {

const QString kGoods = QStringLiteral("Хлеб белый 25.00\r\nМолоко\r\nсыр\r\nХлеб ржаной");

class DirectoryWithPanel : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        rig.files.writeText(kGoodsFileName, kGoods);
        directory = std::make_unique<FrmSPR>(
            *rig.reg, DirectoryServices{rig.regional, rig.messages, settings, rig.files.dataDir()},
            [this] { window->render(); });
        rig.reg->setGoodsWindow(directory.get());
    }
    void TearDown() override {
        rig.reg->setGoodsWindow(nullptr);
        directory.reset();
        PanelFixture::TearDown();
    }
    bool lampShown() const { return control("Lbd1")->isVisibleTo(window.get()); }

    FakeSettings settings;
    std::unique_ptr<FrmSPR> directory;
};

TEST_F(DirectoryWithPanel, FcLifeCycleTable) {
    enum class Act { ClickFC, CloseBox };
    struct Row {
        Act act;
        bool lamp;
        bool loaded;
        bool visible;
        qsizetype entries;
    };
    const Row table[] = {
        {Act::ClickFC, true, true, true, 4},    // not loaded: loaded and shown
        {Act::ClickFC, false, true, false, 5},  // shown: hidden, the added entry kept
        {Act::ClickFC, true, true, true, 5},    // hidden: shown without reading the file
        {Act::CloseBox, true, false, false, 0}, // close box: unloaded, the lamp stays lit
        {Act::ClickFC, false, true, false, 4},  // loaded from the file but kept hidden
        {Act::ClickFC, true, true, true, 4},    // and shown by the next press
    };
    int row = 0;
    for (const Row& r : table) {
        SCOPED_TRACE(row++);
        if (r.act == Act::ClickFC)
            click("FC");
        else
            directory->close();
        EXPECT_EQ(lampShown(), r.lamp);
        EXPECT_EQ(directory->isLoaded(), r.loaded);
        EXPECT_EQ(directory->isVisible(), r.visible);
        EXPECT_EQ(directory->list().count(), r.entries);
        if (row == 1) {
            directory->findChild<QLineEdit*>("TxtSearch")->setText("Яблоки");
            directory->findChild<QPushButton*>("CmdDob")->click();
        }
    }
    EXPECT_EQ(settings.values.size(), 4);

    // The panel's close box ends the program and unloads the directory, storing its place.
    settings.values.clear();
    window->close();
    EXPECT_FALSE(directory->isLoaded());
    EXPECT_EQ(settings.values.size(), 4);
}

TEST_F(DirectoryWithPanel, DoubleClickShowsTheEntryOnTheTapeWhileTheHeaderIsEdited) {
    expectMessage("Впишите новое клише");
    click("FC KR Btn3T");
    ASSERT_TRUE(s().lit(Lamp::LblClish));
    const QString shownBefore = receiptTape()->toPlainText();
    auto* list = directory->findChild<QListView*>("sprav");
    const QModelIndex row = list->model()->index(2, 0);
    ASSERT_EQ(row.data().toString(), "Хлеб белый 25.00");
    const QPoint at = list->visualRect(row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(receiptTape()->toPlainText(), shownBefore + "\nХлеб белый 25.00");
    EXPECT_TRUE(s().TxtCHL.text().endsWith("\r\nХлеб белый 25.00"));
    EXPECT_TRUE(s().lit(Lamp::LblClish));
}

} // namespace
} // namespace tarvel::test
