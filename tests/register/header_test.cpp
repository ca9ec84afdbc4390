// The receipt header: reloaded by СБ and after every receipt, opened by 3Т, saved by КР.

#include "panel_snapshot.h"
#include "storage/codepage.h"
#include "support/fakes.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A reload takes clishe.txt as it is; a missing one is told and keeps the last header read.
TEST(Header, ReloadTakesTheFileAsItIsAndFallsBackToTheLastGoodHeader) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.writeText(kJournalFileName, QStringLiteral("старый чек\r\n"));
    rig.files.remove(kHeaderFileName);
    rig.restart();
    EXPECT_EQ(rig.s().TxtCHL.text(), kDefaultHeader);
    for (const char* file : {"\xcc\xe0\xe3\xe0\xe7\xe8\xed\n2\r\r\n\nend", ""}) {
        file[0] ? rig.files.writeBytes(kHeaderFileName, file) : rig.files.remove(kHeaderFileName);
        rig.reg->appendGoodsEntry("ИТОГО");
        rig.press("СБ");
        EXPECT_EQ(rig.s().TxtCHL.text(), QStringLiteral("Магазин\n2\r\n\r\n\nend\r\n"));
    }
    EXPECT_EQ(rig.s().entryFlag, 1);
    EXPECT_EQ(rig.messages.texts(), QStringList(2, kCannotFindFile));
    EXPECT_EQ(rig.s().TxtCHLK.text(), QStringLiteral("старый чек\r\n"));
}

// КР saves the open header with CR LF, or tells why not and keeps the typed text open.
TEST(Header, KrSavesTheTypedHeaderOrKeepsItOpen) {
    const struct {
        bool directoryInTheWay;
        QString typed, failure, reloaded;
    } cases[] = {
        {false, "МАГАЗИН\r\nИНН 1\r\n", "", "МАГАЗИН\r\nИНН 1\r\n\r\n"}, // two lines give three
        {false, "№ 5 €\nИНН 1", "", "№ 5 €\nИНН 1\r\n"},
        {true, "КИОСК", "clishe.txt: на этом месте стоит каталог", "КИОСК\r\n"},
        {false, "Кафе ☺ 😀", "clishe.txt: ☺😀", "КИОСК\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        RegisterRig rig;
        QDir dir(rig.files.path({}));
        dir.remove(kHeaderFileName);
        if (c.directoryInTheWay) dir.mkdir(kHeaderFileName);
        rig.press("3Т КР КР КР 3Т 3Т СБ"); // the locked tape is not saved
        rig.typeHeader(c.typed);
        rig.press("КР");
        EXPECT_EQ(rig.messages.texts().size(), c.failure.isEmpty() ? 3 : 4); // 3Т, 3Т, СБ
        if (!c.failure.isEmpty()) {
            EXPECT_TRUE(!rig.s().TxtCHL.locked && rig.s().lit(Lamp::HeaderOpen));
            EXPECT_EQ(rig.s().TxtCHL.text(), c.typed);
            EXPECT_TRUE(rig.messages.texts().last().contains(c.failure));
            EXPECT_TRUE(rig.files.readBytes(kHeaderFileName).isEmpty());
            dir.rmdir(kHeaderFileName);
            rig.typeHeader("КИОСК");
            rig.press("КР");
        }
        EXPECT_TRUE(rig.s().TxtCHL.locked && !rig.s().lit(Lamp::HeaderOpen));
        EXPECT_EQ(rig.files.readBytes(kHeaderFileName),
                  encodeWindows1251(rig.s().TxtCHL.text() + "\r\n").bytes); // the tape as typed
        rig.press("СБ");
        EXPECT_EQ(rig.s().TxtCHL.text(), c.reloaded);
    }
}

// After a failed save КР mode is off though the header is open: 3Т must not ask again.
TEST(Header, ThreeTOutsideKrAfterAFailedSaveAsksNothing) {
    RegisterRig rig;
    QDir dir(rig.files.path({}));
    dir.remove(kHeaderFileName);
    dir.mkdir(kHeaderFileName);
    rig.press("КР 3Т КР");
    ASSERT_EQ(rig.messages.texts().size(), 2); // "Впишите новое клише", the failed save
    EXPECT_EQ(litLamps(rig.s()), "LblClish");
    rig.press("3Т");
    EXPECT_EQ(rig.messages.texts().size(), 2);
    EXPECT_EQ(rig.s().TxtSEC.text(), "07");
}

} // namespace
