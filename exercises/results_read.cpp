// results.csv read back for the instructor, while registers may still be appending to it.
//
// A row ends at a line break outside quotes; a quoted field may hold line breaks, ";" and
// doubled quotes. The last line is only a row once its line break is there: before that a
// register is still writing it. A row that does not read is skipped, and so that one stray
// quote (a line cut by a power failure inside a quoted name, then closed by the next append)
// cannot swallow the rows after it, a broken row spanning several lines gives up only its
// first line: reading starts again on the next one.

#include "exercises/results_file.h"

#include "storage/text_files.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarvel {
namespace {

constexpr int kOldFieldCount = 10; // before the mistakes' column
// A quoted field with more line breaks than this is taken for a stray quote. It keeps the
// reading linear: a stray quote is followed at most this far before reading starts again.
constexpr int kMostLineBreaksInARow = 16;

struct Record {
    QList<QByteArray> fields;
    qsizetype end = 0;           // just past its line break, or the end of the bytes
    bool ended = false;          // by a line break outside quotes
    qsizetype firstLineEnd = -1; // just past its first line break inside quotes, -1: none
};

Record scanRecord(QByteArrayView bytes, qsizetype from) {
    Record r;
    QByteArray field;
    bool quoted = false;
    int breaksInside = 0;
    qsizetype i = from;
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
                if (c != '\n') continue;
                if (r.firstLineEnd < 0) r.firstLineEnd = i + 1;
                if (++breaksInside > kMostLineBreaksInARow) break;
            }
        } else if (c == '"' && field.isEmpty()) {
            quoted = true;
        } else if (c == ';') {
            r.fields << std::exchange(field, {});
        } else if (c == '\n') {
            if (field.endsWith('\r')) field.chop(1);
            r.ended = true;
            ++i;
            break;
        } else {
            field += c;
        }
    }
    r.fields << field;
    r.end = i;
    return r;
}

// "2026-12-05 21:30:15" and nothing else.
QDateTime timeOf(QStringView text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' ||
        text[13] != u':' || text[16] != u':')
        return {};
    std::array<int, 6> n{};
    const std::array<std::pair<int, int>, 6> at{
        {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}}};
    for (std::size_t k = 0; k < at.size(); ++k) {
        const QStringView part = text.sliced(at[k].first, at[k].second);
        if (!std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); })) return {};
        n[k] = part.toInt();
    }
    const QDate date(n[0], n[1], n[2]);
    const QTime time(n[3], n[4], n[5]);
    return date.isValid() && time.isValid() ? QDateTime(date, time) : QDateTime();
}

std::optional<int> countOf(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || text.startsWith(u'+')) return std::nullopt;
    return n;
}

std::optional<ResultRowProblem> fillRow(const QStringList& f, ResultRow& row) {
    if (f.size() < kOldFieldCount) return ResultRowProblem::FieldCount;
    row.when = timeOf(f[0]);
    if (!row.when.isValid()) return ResultRowProblem::BadTime;
    row.trainee = fromSpreadsheetSafe(f[1]);
    row.title = fromSpreadsheetSafe(f[2]);
    ExerciseResult& r = row.result;
    int* const counts[] = {&r.right, &r.total, &r.keyPresses, &r.clearPresses, &r.faults};
    const int columns[] = {3, 4, 6, 7, 8};
    for (std::size_t k = 0; k < std::size(columns); ++k) {
        const std::optional<int> n = countOf(f[columns[k]]);
        if (!n) return ResultRowProblem::BadNumber;
        *counts[k] = *n;
    }
    const std::optional<int> seconds = countOf(f[5]);
    if (!seconds) return ResultRowProblem::BadNumber;
    r.seconds = *seconds;
    const QString timeUp = QStringLiteral("прервано: время вышло");
    if (f[9] != QStringLiteral("выполнено") && f[9] != QStringLiteral("прервано") && f[9] != timeUp)
        return ResultRowProblem::BadOutcome;
    r.completed = f[9] == QStringLiteral("выполнено");
    r.timeUp = f[9] == timeUp;
    if (f.size() > kOldFieldCount) r.mistakes = parseMistakeSummary(fromSpreadsheetSafe(f[10]));
    // An exam's verdict: "да" in Экзамен, then "да" or "нет" in Сдан. Anything else tells nothing.
    const QString yes = QStringLiteral("да"), no = QStringLiteral("нет");
    if (f.size() > 12 && f[11] == yes && (f[12] == yes || f[12] == no))
        row.examPassed = f[12] == yes;
    return std::nullopt;
}

std::optional<ResultRowProblem> decode(const Record& record, QStringList& out) {
    for (const QByteArray& field : record.fields) {
        if (!QByteArrayView(field).isValidUtf8()) return ResultRowProblem::NotUtf8;
        out << QString::fromUtf8(field);
    }
    return std::nullopt;
}

bool isHeader(const QStringList& fields) {
    return fields.first() == QStringLiteral("Дата и время");
}

bool isBlank(const Record& record) {
    return record.fields.size() == 1 && record.fields.first().trimmed().isEmpty();
}

// Line numbers of a position, counted as the reading moves forward only.
class LineCounter {
  public:
    explicit LineCounter(QByteArrayView bytes) : bytes_(bytes) {}
    int at(qsizetype pos) {
        for (; pos_ < pos; ++pos_)
            line_ += bytes_[pos_] == '\n';
        return line_;
    }

  private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

} // namespace

ResultsRead parseResults(QByteArrayView bytes) {
    ResultsRead out;
    LineCounter lines(bytes);
    // Lines of a quoted field the bytes ended in: broken when a whole row comes after them,
    // otherwise the row a register is writing.
    QList<BrokenResultRow> unsure;
    qsizetype pos = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (pos < bytes.size()) {
        const int line = lines.at(pos);
        const Record record = scanRecord(bytes, pos);
        if (!record.ended && record.firstLineEnd < 0) {
            out.lastLineOpen = !isBlank(record);
            break;
        }
        if (!record.ended) {
            unsure << BrokenResultRow{line, ResultRowProblem::UnclosedQuote};
            pos = record.firstLineEnd;
            continue;
        }
        QStringList fields;
        std::optional<ResultRowProblem> problem = decode(record, fields);
        if (!problem && (isBlank(record) || isHeader(fields))) {
            pos = record.end;
            continue;
        }
        ResultRow row;
        if (!problem) problem = fillRow(fields, row);
        out.broken += std::exchange(unsure, {});
        if (!problem) {
            out.rows << row;
            pos = record.end;
        } else {
            out.broken << BrokenResultRow{line, *problem};
            pos = record.firstLineEnd >= 0 ? record.firstLineEnd : record.end;
        }
    }
    if (!unsure.isEmpty()) out.lastLineOpen = true;
    return out;
}

ResultsRead readResults(const QString& path) {
    FileBytes file = readFileBytes(path);
    if (file.error && file.error->reason == FileProblem::FileMissing) return {};
    if (file.error) return {{}, {}, file.error, false};
    return parseResults(file.bytes);
}

} // namespace tarvel
