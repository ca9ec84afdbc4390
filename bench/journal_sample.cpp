#include "journal_sample.h"

#include "numbers/numbers.h"
#include "register/panel_state.h"

namespace tarvel::bench {
namespace {

const QChar kPoint = QLatin1Char('.');

// An amount as a trainee keys it: whole roubles mostly, sometimes with kopecks.
QString keyedAmount(std::mt19937& random, float& total) {
    const int roubles = int(random() % 2000) + 1;
    const int kopecks = random() % 3 == 0 ? int(random() % 100) : 0;
    total += float(roubles) + float(kopecks) / 100.0f;
    if (kopecks == 0) return QString::number(roubles);
    return QStringLiteral("%1.%2").arg(roubles).arg(kopecks, 2, 10, QLatin1Char('0'));
}

} // namespace

QString sampleReceiptPiece(std::mt19937& random) {
    QString piece = kCrLf.toString() + kDefaultHeader;
    float total = 0;
    for (int sales = int(random() % 6) + 1; sales > 0; --sales) {
        const QString department = QStringLiteral("0%1").arg(random() % 8 + 1);
        piece += QStringLiteral("\r\n %1  %2 руб").arg(department, keyedAmount(random, total));
    }
    piece += QStringLiteral("\r\nИТОГО\r\n%1руб\r\nКАССИР ______\r\n          /_______/\r\n"
                            "******************\r\n05.12.2026 21:30:15\r\n******************")
                 .arg(displayText(total, kPoint));
    if (random() % 2) { // paid in cash, with change
        const int tendered = (int(total) / 500 + 1) * 500;
        piece += QStringLiteral("\r\n ВНЕСЕНИЕ НАЛИЧНЫХ\r\n %1 руб\r\n СДАЧА  %2 руб")
                     .arg(tendered)
                     .arg(displayText(roundHalfEven2(tendered - double(total)), kPoint));
    }
    return piece;
}

QString sampleJournal(qsizetype characters, unsigned seed) {
    std::mt19937 random(seed);
    QString journal;
    journal.reserve(characters + 4096);
    float shift = 0;
    while (journal.size() < characters) {
        journal += sampleReceiptPiece(random);
        shift += float(random() % 3000);
        if (random() % 40 == 0)
            journal += QStringLiteral("\r\n ИС  %1 руб").arg(displayText(shift, kPoint));
    }
    return journal;
}

} // namespace tarvel::bench
