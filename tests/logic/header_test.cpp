#include "support/fakes.h"

#include "storage/codepage.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

namespace {

// A reload takes clishe.txt as it is now; a missing one is told and leaves the last header read
// (the built-in one if none ever was), never the finished receipt, and costs no journal.
TEST(Header, ReloadTakesTheFileAsItIsAndFallsBackToTheLastGoodHeader) {
    RegisterRig rig(QLatin1Char('.'), false);
    rig.files.writeText(kJournalFileName, QStringLiteral("старый чек\r\n"));
    rig.files.remove(kHeaderFileName);
    rig.restart();
    const QString shop = QStringLiteral("Магазин\n2\r\n\r\n\nend\r\n");
    for (const auto& [file, header] : {std::pair<const char*, QString>{nullptr, kDefaultHeader},
                                       {"\xcc\xe0\xe3\xe0\xe7\xe8\xed\n2\r\r\n\nend", shop},
                                       {nullptr, shop}}) {
        rig.files.remove(kHeaderFileName);
        if (file) rig.files.writeBytes(kHeaderFileName, file);
        rig.s().TxtCHL.append(u"\r\nИТОГО");
        rig.press(QStringLiteral("СБ"));
        EXPECT_EQ(rig.s().TxtCHL.text(), header);
        EXPECT_EQ(rig.s().entryFlag, 1);
    }
    EXPECT_EQ(rig.messages.texts(), QStringList(3, kCannotFindFile));
    rig.reg->Form_Unload();
    EXPECT_EQ(rig.files.readText(kJournalFileName), QStringLiteral("старый чек\r\n\r\n"));
}

// 3Т opens the header only in КР mode and asks every time; СБ reloads the header but leaves it
// open; КР saves the tape and CR LF, which at once also stands in for a missing file.
TEST(Header, SavedHeaderRoundTripsThroughTheFile) {
    const std::pair<QString, QString> tapes[] = {
        {"МАГАЗИН\r\nИНН 1\r\n", "МАГАЗИН\r\nИНН 1\r\n\r\n"}, // two lines give three
        {"МАГАЗИН\r\nИНН 1", "МАГАЗИН\r\nИНН 1\r\n"},
        {"№ 5 €\na", "№ 5 €\na\r\n"}};
    for (const auto& [tape, reloaded] : tapes) {
        RegisterRig rig;
        rig.press(QStringLiteral("3Т"));
        EXPECT_TRUE(rig.s().TxtCHL.locked && !rig.s().lit(Lamp::LblClish));
        rig.press(QStringLiteral("КР 3Т 3Т СБ"));
        EXPECT_EQ(rig.messages.texts(), QStringList(2, QStringLiteral("Впишите новое клише")));
        rig.s().TxtCHL.adoptViewText(tape);
        rig.press(QStringLiteral("КР"));
        EXPECT_TRUE(rig.s().TxtCHL.locked && !rig.s().lit(Lamp::LblClish));
        EXPECT_EQ(rig.s().TxtCHL.text(), tape); // as typed until the next reload
        const QByteArray saved = rig.files.readBytes(kHeaderFileName);
        EXPECT_EQ(saved, encodeWindows1251(tape + "\r\n").bytes);
        rig.files.remove(kHeaderFileName);
        rig.press(QStringLiteral("СБ"));
        EXPECT_EQ(rig.s().TxtCHL.text(), reloaded);
        rig.files.writeBytes(kHeaderFileName, saved);
        rig.press(QStringLiteral("СБ"));
        EXPECT_EQ(rig.s().TxtCHL.text(), reloaded);
    }
}

// A failed save names the file and the reason, or the characters windows-1251 lacks, writes
// nothing and keeps the typed header open until КР is pressed again.
TEST(Header, FailedSaveKeepsTheTypedHeaderOpen) {
    for (const bool directoryInTheWay : {true, false}) {
        RegisterRig rig;
        rig.files.remove(kHeaderFileName);
        if (directoryInTheWay) QDir(rig.files.path({})).mkdir(kHeaderFileName);
        const QString typed = directoryInTheWay ? "КИОСК" : "Кафе ☺ 😀";
        rig.press(QStringLiteral("КР 3Т"));
        rig.s().TxtCHL.adoptViewText(typed);
        rig.press(QStringLiteral("КР"));
        EXPECT_EQ(rig.s().TxtCHL.text(), typed);
        EXPECT_TRUE(!rig.s().TxtCHL.locked && rig.s().lit(Lamp::LblClish));
        EXPECT_TRUE(rig.messages.texts().join(u' ').contains(
            directoryInTheWay ? "clishe.txt: на этом месте стоит каталог" : "clishe.txt: ☺😀"));
        EXPECT_TRUE(rig.files.readBytes(kHeaderFileName).isEmpty());
        QDir(rig.files.path({})).rmdir(kHeaderFileName);
        rig.s().TxtCHL.adoptViewText(QStringLiteral("КИОСК"));
        rig.press(QStringLiteral("КР"));
        EXPECT_EQ(rig.files.readText(kHeaderFileName), QStringLiteral("КИОСК\r\n"));
    }
}

} // namespace
