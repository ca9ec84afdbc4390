// The header typed on the real tape: only what is touched changes, undo never takes back the
// register's lines.

#include "storage/codepage.h"
#include "support/named_rows.h"
#include "support/panel_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <functional>

namespace tarvel::test {
namespace {

// The caret at `position` of the editor, with the text up to `anchor` selected when given.
void caretAt(ReceiptTapeView& tape, int position, int anchor = -1) {
    QTextCursor cursor = tape.textCursor();
    cursor.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
    tape.setTextCursor(cursor);
}

void key(ReceiptTapeView& tape, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&tape, key, modifiers);
}
void ctrl(ReceiptTapeView& tape, Qt::Key k) {
    key(tape, k, Qt::ControlModifier);
}

using Edit = std::function<void(ReceiptTapeView&)>;
Edit typedAt(int position, const char* text) {
    return [=](ReceiptTapeView& t) { caretAt(t, position), type(&t, text); };
}
Edit keyAt(int position, Qt::Key k, int anchor = -1) {
    return [=](ReceiptTapeView& t) { caretAt(t, position, anchor), key(t, k); };
}

struct HeaderEdit : NamedRow {
    Edit edit;
    const char* tape; // the tape's text afterwards; clishe.txt gets it and CR LF
};

// clishe.txt holds "A", a lone LF, "B", CR LF: the editor shows A, B and an empty last line,
// at positions A 0, break 1, B 2, break 3, end 4.
const HeaderEdit kEdits[] = {
    {"TypedAtTheEnd", typedAt(4, "C"), "A\nB\r\nC"},
    {"TypedBeforeTheLoneLf", typedAt(1, "x"), "Ax\nB\r\n"},
    {"TypedAfterTheLoneLf", typedAt(2, "x"), "A\nxB\r\n"},
    {"EnterBeforeTheLoneLf", typedAt(1, "\r"), "A\r\n\nB\r\n"},
    {"DeleteTakesTheLoneLf", keyAt(1, Qt::Key_Delete), "AB\r\n"},
    {"BackspaceTakesTheWholeCrLf", keyAt(4, Qt::Key_Backspace), "A\nB"},
    {"SelectionToTheEndDeleted", keyAt(4, Qt::Key_Delete, 1), "A"},
    {"AllSelectedAndTypedOver", [](ReceiptTapeView& t) { ctrl(t, Qt::Key_A), type(&t, "Q"); }, "Q"},
    {"MultiLineTextPasted",
     [](ReceiptTapeView& t) {
         QGuiApplication::clipboard()->setText("x\ny\r\nz");
         caretAt(t, 2), ctrl(t, Qt::Key_V);
     },
     "A\nx\r\ny\r\nzB\r\n"},
    {"EnterUndoneAndRedone",
     [](ReceiptTapeView& t) {
         typedAt(1, "\r")(t), ctrl(t, Qt::Key_Z);
         key(t, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
     },
     "A\r\n\nB\r\n"},
    // Deleted text brought back, by undo or by pasting it where it was, keeps its lone LF.
    {"DeletionUndone",
     [](ReceiptTapeView& t) { ctrl(t, Qt::Key_A), key(t, Qt::Key_Delete), ctrl(t, Qt::Key_Z); },
     "A\nB\r\n"},
    {"AllCutPastedBackAndAgain",
     [](ReceiptTapeView& t) {
         ctrl(t, Qt::Key_A), ctrl(t, Qt::Key_X), ctrl(t, Qt::Key_V), ctrl(t, Qt::Key_V);
     },
     "A\nB\r\nA\r\nB\r\n"},
};

class HeaderEditing : public PanelFixture, public testing::WithParamInterface<HeaderEdit> {
  protected:
    void SetUp() override {
        rig.files.writeBytes(kHeaderFileName, "A\nB\r\n");
        rig.restart();
        PanelFixture::SetUp();
        expectedMessages << "Впишите новое клише";
    }
};

TEST_P(HeaderEditing, ChangesOnlyWhatTheTraineeTouched) {
    click("КР 3Т");
    GetParam().edit(*receiptTape());
    const QString tape = QString::fromLatin1(GetParam().tape);
    EXPECT_EQ(s().TxtCHL.text(), tape);
    EXPECT_EQ(receiptTape()->toPlainText(), viewTextOf(tape));
    click("КР");
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), (tape + "\r\n").toLatin1());
}

INSTANTIATE_TEST_SUITE_P(Edits, HeaderEditing, testing::ValuesIn(kEdits), rowName);

using HeaderUndo = PanelFixture;

// Lines the register drew before and while the header is open are not undone, and are saved.
TEST_F(HeaderUndo, TakesBackTheTraineesTypingOnly) {
    expectedMessages << "Впишите новое клише";
    click("1 5 0 ВВ КР 3Т");
    ReceiptTapeView& tape = *receiptTape();
    const QString sale = kDefaultHeader + "\r\n 01  150 руб";
    caretAt(tape, tape.document()->characterCount() - 1);
    type(&tape, "X");
    for (int i = 0; i < 3; ++i)
        ctrl(tape, Qt::Key_Z);
    EXPECT_EQ(s().TxtCHL.text(), sale);
    type(&tape, "Y");
    click("НЛ");
    for (int i = 0; i < 3; ++i)
        ctrl(tape, Qt::Key_Z);
    const QString typed = sale + "Y\r\n ВНЕСЕНИЕ НАЛИЧНЫХ";
    EXPECT_EQ(s().TxtCHL.text(), typed);
    EXPECT_EQ(tape.toPlainText(), viewTextOf(typed));
    click("КР");
    EXPECT_EQ(rig.files.readBytes(kHeaderFileName), encodeWindows1251(typed + "\r\n").bytes);
    EXPECT_EQ(s().receiptTotal, 150);
}

} // namespace
} // namespace tarvel::test
