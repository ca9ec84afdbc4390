#include "ui/line_index.h"

#include <algorithm>

namespace tarvel {

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';

bool isBreak(QChar c) {
    return c == kCr || c == kLf;
}

// Whether a line ends at `i`: a break character that is not the CR of a CR LF pair.
bool breakEndsAt(QStringView text, qsizetype i) {
    if (!isBreak(text[i])) return false;
    return !(text[i] == kCr && i + 1 < text.size() && text[i + 1] == kLf);
}

} // namespace

qsizetype lineEnd(QStringView text, qsizetype start) {
    const QChar* p = text.data();
    const qsizetype n = text.size();
    for (qsizetype i = start; i < n; ++i)
        if (isBreak(p[i])) return i;
    return n;
}

qsizetype lineAfter(QStringView text, qsizetype end) {
    if (end >= text.size()) return -1;
    return text[end] == kCr && end + 1 < text.size() && text[end + 1] == kLf ? end + 2 : end + 1;
}

qsizetype lineStartAt(QStringView text, qsizetype position) {
    for (qsizetype i = std::min(position, text.size()) - 1; i >= 0; --i)
        if (breakEndsAt(text, i)) return i + 1;
    return 0;
}

qsizetype lineBefore(QStringView text, qsizetype start) {
    // Step back over the break that ends the line before, both characters of a CR LF.
    qsizetype end = start - 1;
    if (end > 0 && text[end] == kLf && text[end - 1] == kCr) --end;
    return lineStartAt(text, end);
}

// ---- LineIndex

void LineIndex::clear() {
    checkpoints_.assign(1, 0);
    count_ = 1;
    lastStart_ = 0;
    indexed_ = 0;
    longest_ = 0;
}

void LineIndex::startLine(qsizetype start) {
    lastStart_ = start;
    if (checkpointed(count_)) checkpoints_.push_back(start);
    ++count_;
}

bool LineIndex::extend(QStringView text, qsizetype budget) {
    if (text.size() < indexed_) clear(); // not an append: start again
    const qsizetype end = text.size() - indexed_ > budget ? indexed_ + budget : text.size();
    const QChar* p = text.data();
    for (qsizetype i = indexed_; i < end; ++i) {
        const QChar c = p[i];
        if (!isBreak(c)) continue;
        // The LF of a CR LF pair: the break was counted at the CR, the line starts after LF.
        if (c == kLf && i > 0 && p[i - 1] == kCr && lastStart_ == i) {
            lastStart_ = i + 1;
            if (checkpointed(count_ - 1)) checkpoints_.back() = i + 1;
            continue;
        }
        longest_ = std::max(longest_, i - lastStart_);
        startLine(i + 1);
    }
    indexed_ = end;
    return complete(text);
}

qsizetype LineIndex::startOf(QStringView text, qsizetype i) const {
    if (i >= count_ - 1) return lastStart_;
    qsizetype start = checkpoints_[std::size_t(i / kStride)];
    for (qsizetype k = i / kStride * kStride; k < i; ++k)
        start = lineAfter(text, lineEnd(text, start));
    return start;
}

qsizetype LineIndex::lineAt(QStringView text, qsizetype position) const {
    if (position >= lastStart_) return count_ - 1;
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), position);
    qsizetype i = qsizetype(after - checkpoints_.begin() - 1) * kStride;
    for (qsizetype start = checkpoints_[std::size_t(i / kStride)];; ++i) {
        const qsizetype next = lineAfter(text, lineEnd(text, start));
        if (i + 1 >= count_ - 1 || next > position) return next > position ? i : i + 1;
        start = next;
    }
}

QStringView LineIndex::line(QStringView text, qsizetype i) const {
    const qsizetype start = startOf(text, i);
    const qsizetype end = i + 1 < count_ ? lineEnd(text, start) : indexed_;
    return text.sliced(start, end - start);
}

qsizetype LineIndex::longestLine() const {
    return std::max(longest_, indexed_ - lastStart_);
}

} // namespace tarvel
